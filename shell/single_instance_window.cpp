#include "shell/single_instance_window.h"

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/key_send.h"
#include "platform/gui/menus.h"
#include "platform/gui/read_watch.h"
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

// How often a message that arrived during an operation is tried again.
constexpr unsigned kRetryInterval = 100;
// The status-bar panel of the main window that names the keyboard layout.
constexpr int kLayoutPanel = 7;

}  // namespace

TVirtualKbd::TVirtualKbd(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TVirtualKbd::FormCreate);
  Handler("FormKeyDown", &TVirtualKbd::FormKeyDown);
  Handler("FormKeyPress", &TVirtualKbd::FormKeyPress);
  Field("Keyboard1", Keyboard1);
  ReadForm();
  endpoint_ = std::make_unique<TWindowEndpoint>(WindowClassName(), [this](unsigned msg, uintptr_t, intptr_t) {
    if (msg == WM_OPENNOW) WMOpenNow();
    return intptr_t(0);
  });
  poll_ = new TTimer(this);
  poll_->SetEnabled(false);
  poll_->SetInterval(kRetryInterval);
  poll_->OnTimer = [this](TObject* sender) { PollTimer(sender); };
  if (endpoint_->Listening())
    watch_ = std::make_unique<TReadWatch>(endpoint_->Handle(), [this] { HandOff(); });
}

TVirtualKbd::~TVirtualKbd() {
  if (VirtualKbd == this) VirtualKbd = nullptr;
}

void TVirtualKbd::FormCreate(TObject*) {
  VirtualKbd = this;
  if (MainForm) Keyboard1->SetLinkedControl(MainForm->Editor);
  Keyboard1->OnMapKey = [](TObject*, std::string& key) { key = MapKeyCaption(key, LayoutIndicator()); };
  // The main window's four keyboard layouts, one of them checked.
  if (!MainForm) return;
  PopupMenu1 = new TPopupMenu(this);
  for (TAction* layout : {MainForm->EditKbdEnglish, MainForm->EditKbdRussian, MainForm->EditKbdEmulated,
                          MainForm->EditKbdFonetic}) {
    if (!layout) continue;
    auto* item = new TMenuItem(PopupMenu1);
    item->SetAction(layout);
    item->SetRadioItem(true);
    PopupMenu1->Items()->Add(item);
  }
  SetPopupMenu(PopupMenu1);
  Keyboard1->SetPopupMenu(PopupMenu1);
}

std::string TVirtualKbd::LayoutIndicator() {
  if (!MainForm || !MainForm->StatusBar) return {};
  const auto* panels = MainForm->StatusBar->Panels();
  return panels->Count() > kLayoutPanel ? panels->Items(kLayoutPanel)->Text() : std::string();
}

void TVirtualKbd::FormKeyDown(TObject*, uint16_t& key, TShiftState shift) {
  // A key pressed while the keyboard has the focus goes to the editor, as if pressed there (not
  // while the editor takes no typing, under an operation): keys that type a character wait for
  // their character (FormKeyPress), the others go now.
  if (!MainForm || !MainForm->Editor || !MainForm->Editor->Enabled() || key == VK_SHIFT || key == VK_CONTROL ||
      key == VK_MENU)
    return;
  const bool typing = !(shift & (ssCtrl | ssAlt)) &&
                      (key == VK_SPACE || (key >= '0' && key <= 'Z') || (key >= 0xBA && key <= 0xE2));
  if (typing) return;
  MainForm->Editor->SetFocus();
  SendKeyTo(MainForm->Editor, key, shift);
  key = 0;
}

void TVirtualKbd::FormKeyPress(TObject*, char& key) {
  if (!MainForm || !MainForm->Editor || !MainForm->Editor->Enabled() || key == 0) return;
  MainForm->Editor->SetFocus();
  TypeTextTo(MainForm->Editor, AnsiToWide(std::string(1, key)));
  key = 0;
}

void TVirtualKbd::HandOff() {
  // A hand-off waits while an operation runs (opening a file then would pull the text from
  // under it) and while an earlier hand-off is still being handled (its save question runs
  // the message loop, and this window's watch with it).
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

void TVirtualKbd::PollTimer(TObject*) { HandOff(); }

void TVirtualKbd::WMOpenNow() {
  if (!MainForm) return;
  Application->Restore();
  MainForm->Show();
  MainForm->BringToFront();
  const std::string fileName = TWinRegistry(kProductKey).ReadString("General", "OpenNow", "");
  if (!fileName.empty()) MainForm->OS->OpenFile(ExpandFileName(fileName));
}
