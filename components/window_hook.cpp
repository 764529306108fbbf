#include "components/window_hook.h"

#include <algorithm>
#include <map>
#include <vector>

QM_CLASS_INFO(TExWindowHook, TComponent, [](TClassBuilder<TExWindowHook>& b) {
  b.Boolean("Active", &TExWindowHook::Active, &TExWindowHook::SetActive)
      .Component<TWinControl>("WinControl", &TExWindowHook::WinControl, &TExWindowHook::SetWinControl)
      .Event("BeforeMessage", &TExWindowHook::BeforeMessage)
      .Event("AfterMessage", &TExWindowHook::AfterMessage);
})

// The hooks of one control and the message handling they were put in front of. The control's
// WindowProc holds the record, so it stays valid as long as anything can call it.
struct TExWindowHook::Record {
  std::function<void(TMessage&)> previous;
  std::vector<TExWindowHook*> hooks;

  void Dispatch(TMessage& m) {
    const std::vector<TExWindowHook*> current = hooks;
    bool handled = false;
    for (auto it = current.rbegin(); it != current.rend() && !handled; ++it)
      if ((*it)->BeforeMessage) (*it)->BeforeMessage(*it, m, handled);
    if (handled && m.Msg != WM_DESTROY) return;
    if (previous) previous(m);
    handled = false;
    for (auto it = current.rbegin(); it != current.rend() && !handled; ++it)
      if ((*it)->AfterMessage) (*it)->AfterMessage(*it, m, handled);
  }
};

namespace {

// The procedure put in front of a hooked control's own handling.
struct HookProc {
  std::shared_ptr<TExWindowHook::Record> record;
  void operator()(TMessage& m) const { record->Dispatch(m); }
};

// The record of each hooked control.
std::map<TWinControl*, std::weak_ptr<TExWindowHook::Record>>& Records() {
  static std::map<TWinControl*, std::weak_ptr<TExWindowHook::Record>> records;
  return records;
}

}  // namespace

TExWindowHook::TExWindowHook(TComponent* owner) : TComponent(owner) {}

TExWindowHook::~TExWindowHook() { Detach(); }

void TExWindowHook::SetActive(bool v) {
  if (v == active_) return;
  active_ = v;
  if (active_) Attach();
  else Detach();
}

void TExWindowHook::SetWinControl(TWinControl* control) {
  if (control == control_) return;
  Detach();
  if (control_) control_->RemoveFreeNotification(this);
  control_ = control;
  if (control_) control_->FreeNotification(this);
  Attach();
}

void TExWindowHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == control_) {
    Detach();
    control_ = nullptr;
  }
}

void TExWindowHook::Attach() {
  if (!active_ || !control_ || record_) return;
  auto& slot = Records()[control_];
  record_ = slot.lock();
  if (!record_) {
    record_ = std::make_shared<Record>();
    record_->previous = control_->WindowProc;
    slot = record_;
    control_->WindowProc = HookProc{record_};
  }
  record_->hooks.push_back(this);
}

void TExWindowHook::Detach() {
  if (!record_) return;
  auto& hooks = record_->hooks;
  hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
  if (hooks.empty() && control_) {
    // The control's own handling comes back, unless another procedure was put over ours: then
    // ours stays in the chain, passing every message on. A control being destroyed is told
    // last, when its handling is gone already: it is not touched.
    if (!(control_->ComponentState() & csDestroying)) {
      const HookProc* ours = control_->WindowProc.target<HookProc>();
      if (ours && ours->record == record_) control_->WindowProc = record_->previous;
    }
    Records().erase(control_);
  }
  record_.reset();
}
