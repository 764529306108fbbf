// TVirtualKbd: the "Virtual Keyboard" window. Its keyboard types into the main editor, mapping
// the keys through the keyboard layout the main window shows. The window exists hidden in every
// running copy: a second start finds the copy by the window class "TVirtualKbd" and hands its
// command line over.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/form.h"

class TKeyboard;
class TPopupMenu;
class TReadWatch;
class TTimer;
class TWindowEndpoint;

class TVirtualKbd : public TForm {
  QM_CLASS(TVirtualKbd, TForm)
public:
  explicit TVirtualKbd(TComponent* owner);
  ~TVirtualKbd() override;

  TKeyboard* Keyboard1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;  // the main window's keyboard layouts

  // WM_USER+100 from a second start: shows the main window and opens the file named by
  // "OpenNow" under "General" of the product key, when there is one.
  void WMOpenNow();
  // The main window's keyboard-layout indicator ("EMU", "RUS", "FON" or another).
  static std::string LayoutIndicator();

private:
  void FormCreate(TObject* Sender);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormKeyPress(TObject* Sender, char& Key);
  // Handles the messages other processes sent, or waits for the operation under way to end.
  void HandOff();
  void PollTimer(TObject* Sender);

  std::unique_ptr<TWindowEndpoint> endpoint_;
  std::unique_ptr<TReadWatch> watch_;  // wakes the window when a message arrives
  TTimer* poll_ = nullptr;             // retries a hand-off that had to wait
  bool polling_ = false;
};

extern TVirtualKbd* VirtualKbd;
