// TVirtualKbd: the "Virtual Keyboard" window. Its keyboard types into the main editor, mapping
// the keys through the keyboard layout the main window shows. It is made when first shown; a
// second start finds the running copy by its window class through THandOffWindow.
#pragma once

#include <string>

#include "platform/gui/form.h"

class TKeyboard;
class TPopupMenu;

class TVirtualKbd : public TForm {
  QM_CLASS(TVirtualKbd, TForm)
public:
  explicit TVirtualKbd(TComponent* owner);
  ~TVirtualKbd() override;

  TKeyboard* Keyboard1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;  // the main window's keyboard layouts

  // The main window's keyboard-layout indicator ("EMU", "RUS", "FON" or another).
  static std::string LayoutIndicator();

private:
  void FormCreate(TObject* Sender);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormKeyPress(TObject* Sender, char& Key);
};

extern TVirtualKbd* VirtualKbd;
