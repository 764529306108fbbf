#include "shell/hand_off_window.h"

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/read_watch.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/program_start.h"
#include "shell/single_instance.h"
#include "textcore/win_registry.h"

QM_CLASS_INFO(THandOffWindow, TComponent, [](TClassBuilder<THandOffWindow>&) {})

namespace {

// How often a message that arrived during an operation is tried again.
constexpr unsigned kRetryInterval = 100;

}  // namespace

THandOffWindow::THandOffWindow(TComponent* owner) : TComponent(owner) {
  endpoint_ = std::make_unique<TWindowEndpoint>(kWindowClass, [](unsigned msg, uintptr_t, intptr_t) {
    if (msg == WM_OPENNOW) WMOpenNow();
    return intptr_t(0);
  });
  poll_ = new TTimer(this);
  poll_->SetEnabled(false);
  poll_->SetInterval(kRetryInterval);
  poll_->OnTimer = [this](TObject*) { HandOff(); };
  if (endpoint_->Listening()) watch_ = std::make_unique<TReadWatch>(endpoint_->Handle(), [this] { HandOff(); });
}

THandOffWindow::~THandOffWindow() = default;

void THandOffWindow::HandOff() {
  // A hand-off waits while an operation runs (opening a file then would pull the text from
  // under it) and while an earlier hand-off is still being handled (its save question runs
  // the message loop, and this watch with it).
  if (polling_ || (MainForm && MainForm->Busy())) {
    watch_->SetEnabled(false);
    poll_->SetEnabled(true);
    return;
  }
  poll_->SetEnabled(false);
  polling_ = true;
  try {
    endpoint_->Poll();
  } catch (...) {
    polling_ = false;
    watch_->SetEnabled(true);
    throw;
  }
  polling_ = false;
  watch_->SetEnabled(true);
}

void THandOffWindow::WMOpenNow() {
  if (!MainForm) return;
  Application->Restore();
  MainForm->Show();
  MainForm->BringToFront();
  const std::string fileName = TWinRegistry(kProductKey).ReadString("General", "OpenNow", "");
  if (!fileName.empty()) MainForm->OS->OpenFile(ExpandFileName(fileName));
}
