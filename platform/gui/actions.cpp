#include "platform/gui/actions.h"

#include <algorithm>

#include "platform/gui/image_list.h"

QM_CLASS_INFO(TBasicAction, TComponent, [](TClassBuilder<TBasicAction>& c) {
  c.Event("OnExecute", &TBasicAction::OnExecute);
  c.Event("OnUpdate", &TBasicAction::OnUpdate);
})

QM_CLASS_INFO(TAction, TBasicAction, [](TClassBuilder<TAction>& c) {
  c.String("Caption", &TAction::Caption, &TAction::SetCaption);
  c.String("Hint", &TAction::Hint, &TAction::SetHint);
  c.String("Category", &TAction::Category, &TAction::SetCategory);
  c.Integer("ShortCut", &TAction::ShortCut, [](TAction& a, int v) { a.SetShortCut(TShortCut(v)); });
  c.Boolean("Checked", &TAction::Checked, &TAction::SetChecked);
  c.Boolean("Enabled", &TAction::Enabled, &TAction::SetEnabled);
  c.Boolean("Visible", &TAction::Visible, &TAction::SetVisible);
  c.Integer("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex);
  c.Integer("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex);
  c.Integer("HelpContext", &TAction::HelpContext, &TAction::SetHelpContext);
})

QM_CLASS_INFO(TActionList, TComponent, [](TClassBuilder<TActionList>& c) {
  c.Component<TImageList>("Images", &TActionList::Images, &TActionList::SetImages);
  c.Event("OnUpdate", &TActionList::OnUpdate);
})

// --- TActionClient ---

void TActionClient::LinkAction(TComponent* self, TBasicAction*& link, TBasicAction* action) {
  if (action == link) return;
  if (link) {
    link->UnregisterClient(this);
    link->RemoveFreeNotification(self);
  }
  link = action;
  if (link) {
    link->RegisterClient(this);
    link->FreeNotification(self);
    ActionChanged();
  }
}

// --- TBasicAction ---

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() = default;

bool TBasicAction::Execute() {
  if (!CommandAllowedNow(this)) return false;
  Update();
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterClient(TActionClient* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TBasicAction::UnregisterClient(TActionClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TBasicAction::Change() {
  for (TActionClient* client : std::vector<TActionClient*>(clients_)) client->ActionChanged();
}

// --- TAction ---

TAction::TAction(TComponent* owner) : TBasicAction(owner) {}

TAction::~TAction() { SetActionList(nullptr); }

void TAction::SetCaption(const std::string& v) {
  if (v != caption_) { caption_ = v; Change(); }
}
void TAction::SetHint(const std::string& v) {
  if (v != hint_) { hint_ = v; Change(); }
}
void TAction::SetShortCut(TShortCut v) {
  if (v != shortCut_) { shortCut_ = v; Change(); }
}
void TAction::SetEnabled(bool v) {
  if (v != enabled_) { enabled_ = v; Change(); }
}
void TAction::SetVisible(bool v) {
  if (v != visible_) { visible_ = v; Change(); }
}
void TAction::SetImageIndex(int v) {
  if (v != imageIndex_) { imageIndex_ = v; Change(); }
}

void TAction::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  // Checking one action of a group unchecks the others of its list.
  if (v && groupIndex_ > 0 && actionList_)
    for (TAction* other : actionList_->actions_)
      if (other != this && other->groupIndex_ == groupIndex_ && other->checked_) {
        other->checked_ = false;
        other->Change();
      }
  Change();
}

void TAction::SetActionList(TActionList* list) {
  if (list == actionList_) return;
  if (actionList_) {
    auto& v = actionList_->actions_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  actionList_ = list;
  if (list) list->actions_.push_back(this);
}

void TAction::SetParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
  else TComponent::SetParentComponent(parent);
}

bool TAction::Execute() {
  Update();
  if (!enabled_) return false;
  return TBasicAction::Execute();
}

// --- TActionList ---

namespace {

std::vector<TActionList*>& ActionLists() {
  static std::vector<TActionList*> lists;
  return lists;
}

}  // namespace

TActionList::TActionList(TComponent* owner) : TComponent(owner) { ActionLists().push_back(this); }

TActionList::~TActionList() {
  auto& lists = ActionLists();
  lists.erase(std::remove(lists.begin(), lists.end(), this), lists.end());
  for (TAction* a : actions_) a->actionList_ = nullptr;
  actions_.clear();
}

const std::vector<TActionList*>& TActionList::All() { return ActionLists(); }

void TActionList::SetImages(TImageList* images) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
}

void TActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

bool TActionList::IsShortCut(TShortCut shortCut) {
  if (!shortCut) return false;
  for (TAction* a : std::vector<TAction*>(actions_))
    if (a->ShortCut() == shortCut) {
      a->Update();
      if (!a->Enabled()) return false;
      a->Execute();
      return true;
    }
  return false;
}

void TActionList::UpdateActions() {
  if (OnUpdate) OnUpdate(this);
  for (TAction* a : std::vector<TAction*>(actions_)) a->Update();
}
