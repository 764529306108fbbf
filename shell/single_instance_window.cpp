#include "shell/single_instance_window.h"

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/program_start.h"
#include "shell/single_instance.h"
#include "textcore/win_registry.h"

TVirtualKbd* VirtualKbd = nullptr;

QM_CLASS_INFO(TVirtualKbd, TForm, [](TClassBuilder<TVirtualKbd>&) {})

namespace {

// How often waiting messages from other processes are looked at.
constexpr unsigned kPollInterval = 100;

}  // namespace

TVirtualKbd::TVirtualKbd(TComponent* owner) : TForm(owner) {
  SetCaption("Virtual Keyboard");
  endpoint_ = std::make_unique<TWindowEndpoint>(WindowClassName(), [this](unsigned msg, uintptr_t, intptr_t) {
    if (msg == WM_OPENNOW) WMOpenNow();
    return intptr_t(0);
  });
  poll_ = new TTimer(this);
  poll_->SetInterval(kPollInterval);
  poll_->OnTimer = [this](TObject* sender) { PollTimer(sender); };
}

TVirtualKbd::~TVirtualKbd() {
  if (VirtualKbd == this) VirtualKbd = nullptr;
}

void TVirtualKbd::PollTimer(TObject*) {
  // A hand-off waits while an operation runs (opening a file then would pull the text from
  // under it) and while an earlier hand-off is still being handled (its save question runs
  // the message loop, and this timer with it).
  if (polling_ || (MainForm && MainForm->Busy())) return;
  polling_ = true;
  try {
    endpoint_->Poll();
  } catch (...) {
    polling_ = false;
    throw;
  }
  polling_ = false;
}

void TVirtualKbd::WMOpenNow() {
  if (!MainForm) return;
  Application->Restore();
  MainForm->Show();
  MainForm->BringToFront();
  const std::string fileName = TWinRegistry(kProductKey).ReadString("General", "OpenNow", "");
  if (!fileName.empty()) MainForm->OS->OpenFile(ExpandFileName(fileName));
}
