#include "shell/single_instance_window.h"

#include "platform/code_pages.h"
#include "platform/gui/actions.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/key_send.h"
#include "platform/gui/menus.h"
#include "shell/main_form.h"
#include "textcore/rich_edit.h"
#include "tools/keyboard.h"

TVirtualKbd* VirtualKbd = nullptr;

QM_CLASS_INFO(TVirtualKbd, TForm, [](TClassBuilder<TVirtualKbd>&) {})

namespace {

// The status-bar panel of the main window that names the keyboard layout.
constexpr int kLayoutPanel = 7;

}  // namespace

TVirtualKbd::TVirtualKbd(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TVirtualKbd::FormCreate);
  Handler("FormKeyDown", &TVirtualKbd::FormKeyDown);
  Handler("FormKeyPress", &TVirtualKbd::FormKeyPress);
  Field("Keyboard1", Keyboard1);
  ReadForm();
}

TVirtualKbd::~TVirtualKbd() {
  if (VirtualKbd == this) VirtualKbd = nullptr;
}

void TVirtualKbd::FormCreate(TObject*) {
  VirtualKbd = this;
  // Made during an operation, it types nowhere until the operation ends.
  if (MainForm) Keyboard1->SetLinkedControl(MainForm->Busy() ? nullptr : MainForm->Editor);
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
