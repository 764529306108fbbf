#include "shell/single_instance_window.h"

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/program_start.h"
#include "shell/single_instance.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"
#include "tools/keyboard.h"

TVirtualKbd* VirtualKbd = nullptr;

QM_CLASS_INFO(TVirtualKbd, TForm, [](TClassBuilder<TVirtualKbd>&) {})

namespace {

// How often waiting messages from other processes are looked at.
constexpr unsigned kPollInterval = 100;
// The status-bar panel of the main window that names the keyboard layout.
constexpr int kLayoutPanel = 7;

}  // namespace

TVirtualKbd::TVirtualKbd(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TVirtualKbd::FormCreate);
  Handler("FormKeyDown", &TVirtualKbd::FormKeyDown);
  Field("Keyboard1", Keyboard1);
  ReadForm();
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

void TVirtualKbd::FormCreate(TObject*) {
  VirtualKbd = this;
  if (MainForm) Keyboard1->SetLinkedControl(MainForm->Editor);
  Keyboard1->OnMapKey = [](TObject*, std::string& key) { key = MapKeyCaption(key, LayoutIndicator()); };
}

std::string TVirtualKbd::LayoutIndicator() {
  if (!MainForm || !MainForm->StatusBar) return {};
  const auto* panels = MainForm->StatusBar->Panels();
  return panels->Count() > kLayoutPanel ? panels->Items(kLayoutPanel)->Text() : std::string();
}

void TVirtualKbd::FormKeyDown(TObject*, uint16_t& key, TShiftState shift) {
  // A key typed while the keyboard has the focus goes to the editor instead (not while the
  // editor takes no typing, under an operation).
  if (!MainForm || !MainForm->Editor || !MainForm->Editor->Enabled()) return;
  MainForm->Editor->SetFocus();
  MainForm->Editor->Perform(WM_KEYDOWN, key, intptr_t(shift));
  key = 0;
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
