// TAdvSpinner: a small panel that steps through a range or a list of named values with its own
// buttons (first, prior, value, next, last); the value button opens a popup of the offered values
// or, in the bar styles, shows the range as cells that a press picks from.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "tools/spinner_rules.h"

class TAdvSpinner;
class TPopupMenu;
class TTimer;

using TSpinButtonSet = unsigned;  // bit (1 << TAdvSpinBtn)
using ESpinClick = std::function<void(TObject* Sender, TAdvSpinBtn Button)>;
using ESetValue = std::function<void(TObject* Sender, int Pos, std::string& Value, bool& Offered)>;
using EOnDraw = std::function<void(TObject* Sender, TCanvas* Canvas, int Pos, const TRect& Rect)>;

// One button of the spinner; the value button paints the position (its text or the bar cells).
class TAdvSpinButton : public TSpeedButton {
public:
  TAdvSpinButton(TAdvSpinner* spinner, TAdvSpinBtn kind);
  TAdvSpinBtn Kind() const { return kind_; }
  // The spinner's range as of its last refresh (what the button paints).
  const TSpinRange& Range() const { return range_; }
  void SetRange(const TSpinRange& r);
  // Held down, the button clicks again after 400 ms, then every 100 ms.
  bool Repeat() const { return repeat_; }
  void SetRepeat(bool v);
  // One tick of the repeat timer.
  void RepeatTick();
  // Where the value button puts its text.
  TAlignment TextAlign() const { return align_; }
  void SetTextAlign(TAlignment a);

protected:
  bool PaintsContent() const override { return kind_ == sbValue; }
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  TAdvSpinner* spinner_;
  TAdvSpinBtn kind_;
  TSpinRange range_;
  bool repeat_ = false;
  TAlignment align_ = taCenter;
  TTimer* timer_ = nullptr;
};

class TAdvSpinner : public TPanel {
  QM_CLASS(TAdvSpinner, TPanel)
public:
  explicit TAdvSpinner(TComponent* owner);
  ~TAdvSpinner() override;

  int Min() const { return range_.Min; }
  void SetMin(int v);
  int Max() const { return range_.Max; }
  void SetMax(int v);
  int Position() const { return range_.Position; }
  // Clamped to Min, then Max.
  void SetPosition(int v);
  // Names of the positions; Max becomes their count - 1, Min and Position 0.
  const std::vector<std::string>& ValueList() const { return valueList_; }
  void SetValueList(const std::vector<std::string>& v);
  // Keeps the value list sorted (in the locale's order, case ignored).
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  bool ValueLoop() const { return valueLoop_; }
  void SetValueLoop(bool v) { valueLoop_ = v; }
  // Columns of the value popup: every Break-th offered item starts a new one (0: one column).
  int Break() const { return break_; }
  void SetBreak(int v) { break_ = v; }
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  TSpinButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TSpinButtonSet v);
  TSpinValueStyle ValueStyle() const { return style_; }
  void SetValueStyle(TSpinValueStyle v);
  // Where the value button's text sits: left, right or centred.
  TAlignment ValueAlign() const { return valueAlign_; }
  void SetValueAlign(TAlignment v);
  // Colours of the bar styles' cells and of the current one.
  TColor BarColor() const { return barColor_; }
  void SetBarColor(TColor v);
  TColor ThumbColor() const { return thumbColor_; }
  void SetThumbColor(TColor v);
  bool ShowModify() const { return showModify_; }
  void SetShowModify(bool v) { showModify_ = v; }
  TColor ChangedColor() const { return changedColor_; }
  void SetChangedColor(TColor v) { changedColor_ = v; }
  bool AutoRun() const { return autoRun_; }
  void SetAutoRun(bool v);
  // Kept in form layouts only; it changes nothing.
  bool DesignBorder() const { return true; }
  void SetDesignBorder(bool) {}
  void SetEnabled(bool enabled) override;
  void SetBounds(int left, int top, int width, int height) override;

  // The text of a position and whether the popup offers it.
  TSpinValueText ValueText(int position) const;
  // The value popup's items as they would be listed now.
  std::vector<TSpinPopupItem> PopupItems() const;
  // The value popup as last built (empty before the value button was first used).
  TPopupMenu* ValuePopup() const { return popup_; }
  // What a button does: steps (or opens the popup for sbValue), then fires OnSpinClick.
  void Act(TAdvSpinBtn button);
  // Chooses a position from the popup.
  void ChooseValue(int position);
  // A press at x on the value button of a bar style: picks the cell's position.
  void PressValueAt(int x);
  TAdvSpinButton* Button(TAdvSpinBtn kind) const { return buttons_[kind]; }

  ESpinClick OnSpinClick;
  ESetValue OnSetValue;
  EOnDraw OnDraw;

protected:
  void Loaded() override;
  void FontChanged() override;

private:
  friend class TAdvSpinButton;
  void Refresh();
  void Arrange();
  void SortValues();
  void PaintValue(TAdvSpinButton* button);

  TSpinRange range_;
  std::vector<std::string> valueList_;
  bool valueLoop_ = false, showModify_ = false, autoRun_ = true, sorted_ = false;
  int break_ = 0, buttonWidth_ = 12, minValueWidth_ = 0;
  TSpinButtonSet visible_ = (1u << sbPrior) | (1u << sbValue) | (1u << sbNext);
  TSpinValueStyle style_ = vsPopup;
  TAlignment valueAlign_ = taCenter;
  TColor barColor_ = TColor(0xC08080), thumbColor_ = TColor(10877688);
  TColor changedColor_ = TColor(0x8080FF), restoreColor_ = clBtnFace;
  std::array<TAdvSpinButton*, 5> buttons_{};
  TPopupMenu* popup_ = nullptr;
};
