// TKeyboard: a panel of key buttons that types into a linked control: alphanumeric (with or
// without the function row), calculator and numeric pads; Shift and Caps Lock change the
// captions and the case of typed letters.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/ext_controls.h"
#include "tools/keyboard_layout.h"

class TSpeedButton;

using TKbOptions = unsigned;  // bits in the order below
inline constexpr TKbOptions DisableTab = 1, DisableCaps = 2, DisableLeftShift = 4, DisableRightShift = 8,
    DisableSpace = 16, DisableEnter = 32, DisableBackspace = 64, DisableEscape = 128, HideTab = 256, HideCaps = 512,
    HideLeftShift = 1024, HideRightShift = 2048, HideSpace = 4096, HideEnter = 8192, HideBackspace = 16384,
    HideEscape = 32768, BoldShiftIndicator = 65536;

class TKeyboard : public TPanel {
  QM_CLASS(TKeyboard, TPanel)
public:
  explicit TKeyboard(TComponent* owner);
  ~TKeyboard() override;

  TKbMode KeyboardMode() const { return mode_; }
  // Builds the keys of the mode.
  void SetKeyboardMode(TKbMode mode);
  TKbCharCase CharCase() const { return charCase_; }
  void SetCharCase(TKbCharCase v) { charCase_ = v; }
  TColor HighlightColor() const { return highlight_; }
  void SetHighlightColor(TColor v);
  bool BeepOnKeyPressed() const { return beep_; }
  void SetBeepOnKeyPressed(bool v) { beep_ = v; }
  bool FlatKeys() const { return flat_; }
  void SetFlatKeys(bool v);
  TKbOptions Options() const { return options_; }
  void SetOptions(TKbOptions v);
  // The control that receives the keys (a rich editor also gets the text typed in).
  TWinControl* LinkedControl() const { return linked_; }
  void SetLinkedControl(TWinControl* control);
  bool Shift() const { return shift_; }
  bool Caps() const { return caps_; }

  // The key buttons with their layout entries, in building order.
  int KeyCount() const { return int(buttons_.size()); }
  TSpeedButton* KeyButton(int index) const { return buttons_.at(size_t(index)); }
  const TKbKey& KeyLayout(int index) const { return keys_.at(size_t(index)); }
  // The first key of a kind (with that unshifted caption for character keys); -1 when none.
  int FindKey(TKbKeyKind kind, const std::string& caption = "") const;
  // What pressing key `index` does.
  void Press(int index);
  // Shows the captions for the current Shift and Caps Lock state.
  void RefreshCaptions();

  std::function<void(TObject* Sender, std::string& Key)> OnMapKey;
  std::function<void(TObject* Sender, char Key)> OnKey;
  std::function<void(TObject* Sender, int SpecialKey)> OnSpecialKey;
  std::function<void(TObject* Sender, bool ShiftOn)> OnShiftStateChange;
  std::function<void(TObject* Sender, bool CapsOn)> OnCapsStateChange;

protected:
  void Resize() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void BuildKeys();
  void PlaceKeys();
  void ApplyOptions();
  std::string Caption(int index) const;
  void SendChar(char ch);
  void SendSpecial(char code, bool keyDown);
  void SetShift(bool on);

  TKbMode mode_ = kbmAlphaNumeric;
  TKbCharCase charCase_ = ecNormal;
  TColor highlight_ = clRed;
  bool beep_ = false, flat_ = false, shift_ = false, caps_ = false;
  TKbOptions options_ = 0;
  TWinControl* linked_ = nullptr;
  std::vector<TKbKey> keys_;
  std::vector<TSpeedButton*> buttons_;
};
