// Spin edits: TExSpinEdit, a one-line edit holding a number (integer, floating or hexadecimal)
// with up and down buttons, limits and arrow keys; TExUpDown, the standard button pair that
// always rests at 0 so that every press is one step; TExSpinButton, the diagonal pair of arrow
// halves that repeats while held (400 ms, then every 100 ms).
#pragma once

#include <string>

#include "components/spin_value.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/control.h"
#include "platform/gui/std_controls.h"

class TTimer;
class TExSpinEdit;

enum TSpinButtonKind { bkStandard, bkDiagonal };
enum TSpinButtonState { sbNotDown, sbTopDown, sbBottomDown };

// The standard buttons: vertical, Min -1, Max 1, back at 0 after every click, 15 pixels wide.
class TExUpDown : public TUpDown {
  QM_CLASS(TExUpDown, TUpDown)
public:
  explicit TExUpDown(TComponent* owner);
  void SetBounds(int left, int top, int width, int height) override;
};

// Two arrow halves; pressing one clicks it and repeats while it stays pressed.
class TExSpinButton : public TCustomControl {
  QM_CLASS(TExSpinButton, TCustomControl)
public:
  explicit TExSpinButton(TComponent* owner);
  ~TExSpinButton() override;
  // The edit that takes the focus when a half is pressed.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);
  TSpinButtonState Down() const { return down_; }
  // The half under `y` (top or bottom).
  TSpinButtonState HalfAt(int y) const { return y < Height() / 2 ? sbTopDown : sbBottomDown; }
  // One tick of the repeat timer: the first switches it to 100 ms; each clicks the pressed half.
  void RepeatTick();
  unsigned RepeatInterval() const;

  TNotifyEvent OnTopClick, OnBottomClick;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;
  void EnabledChanged() override;

private:
  void ClickHalf(TSpinButtonState half);
  TSpinButtonState down_ = sbNotDown;
  TWinControl* focusControl_ = nullptr;
  TTimer* repeat_ = nullptr;
};

class TExSpinEdit : public TEdit {
  QM_CLASS(TExSpinEdit, TEdit)
public:
  explicit TExSpinEdit(TComponent* owner);
  ~TExSpinEdit() override;

  // The number the text holds (MinValue when it holds none); not clamped.
  double Value() const;
  // Writes the clamped value as text.
  void SetValue(double value);
  int AsInteger() const { return int(Value() < 0 ? Value() - 0.5 : Value() + 0.5); }
  TValueType ValueType() const { return format_.Type; }
  void SetValueType(TValueType type);
  double Increment() const { return increment_; }
  void SetIncrement(double v) { increment_ = v; }
  // Equal limits mean none.
  double MinValue() const { return minValue_; }
  void SetMinValue(double v) { minValue_ = v; }
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double v) { maxValue_ = v; }
  // Digits after the decimal separator of floating values; the value is written again.
  int Decimal() const { return format_.Decimal; }
  void SetDecimal(int v);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool v) { arrowKeys_ = v; }
  TSpinButtonKind ButtonKind() const { return buttonKind_; }
  void SetButtonKind(TSpinButtonKind kind);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  // False: cut and paste do nothing.
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v) { editorEnabled_ = v; }
  // The separator of floating values (the thread locale's unless set).
  char DecimalSeparator() const { return format_.DecimalSeparator; }
  void SetDecimalSeparator(char c);

  // Whether typing `key` keeps the text a number of the value type.
  virtual bool IsValidChar(char key);
  // Value ± Increment (a beep when read-only); the change event once; then OnTopClick or
  // OnBottomClick.
  virtual void UpClick();
  virtual void DownClick();
  // The button control (a TExUpDown or a TExSpinButton).
  TControl* Button() const { return button_; }

  void CutToClipboard() override;
  void PasteFromClipboard() override;

  TNotifyEvent OnTopClick, OnBottomClick;

protected:
  void InitWidget() override;
  void Resize() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DoExit() override;
  void Change() override;
  void EnabledChanged() override;
  void WndProc(TMessage& message) override;

private:
  void Step(double delta);
  // Writes the clamped value back when the text holds another one.
  void CheckText();
  void MakeButton();
  void PlaceButton();
  int ButtonWidth() const;
  // Properties in layouts: numbers as text with ".".
  std::string ValueText() const;
  void SetValueText(const std::string& text);

  TSpinFormat format_;
  double increment_ = 1, minValue_ = 0, maxValue_ = 0;
  bool arrowKeys_ = true, editorEnabled_ = true, changing_ = false;
  TSpinButtonKind buttonKind_ = bkDiagonal;
  TAlignment alignment_ = taLeftJustify;
  TControl* button_ = nullptr;
};
