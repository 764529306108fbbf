// TAdvSpinner: a small panel that steps through a range or a list of named values with its own
// buttons (first, prior, value, next, last); the value button opens a popup of the offered values.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/ext_controls.h"
#include "tools/spinner_rules.h"

class TPopupMenu;
class TSpeedButton;
class TTimer;

using TSpinButtonSet = unsigned;  // bit (1 << TAdvSpinBtn)
enum TSpinValueStyle { vsPopup, vsText, vsScrollBar, vsGauge, vsVolumeGauge, vsOwnerDraw };
using ESpinClick = std::function<void(TObject* Sender, TAdvSpinBtn Button)>;
using ESetValue = std::function<void(TObject* Sender, int Pos, std::string& Value, bool& Offered)>;

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
  bool ValueLoop() const { return valueLoop_; }
  void SetValueLoop(bool v) { valueLoop_ = v; }
  int Break() const { return break_; }
  void SetBreak(int v) { break_ = v; }
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  TSpinButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TSpinButtonSet v);
  TSpinValueStyle ValueStyle() const { return style_; }
  void SetValueStyle(TSpinValueStyle v) { style_ = v; }
  bool ShowModify() const { return showModify_; }
  void SetShowModify(bool v) { showModify_ = v; }
  TColor ChangedColor() const { return changedColor_; }
  void SetChangedColor(TColor v) { changedColor_ = v; }
  bool AutoRun() const { return autoRun_; }
  void SetAutoRun(bool v) { autoRun_ = v; }
  void SetBounds(int left, int top, int width, int height) override;

  // The text of a position and whether the popup offers it.
  TSpinValueText ValueText(int position) const;
  // The value popup's items as they would be listed now.
  std::vector<TSpinPopupItem> PopupItems() const;
  // What a button does: steps (or opens the popup for sbValue), then fires OnSpinClick.
  void Act(TAdvSpinBtn button);
  // Chooses a position from the popup.
  void ChooseValue(int position);
  TSpeedButton* Button(TAdvSpinBtn kind) const { return buttons_[kind]; }
  // One tick of the held button's repeat timer.
  void RepeatTick();

  ESpinClick OnSpinClick;
  ESetValue OnSetValue;

protected:
  void Loaded() override;

private:
  void Refresh();
  void Arrange();
  void ButtonClick(TObject* sender);
  void ButtonMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ButtonMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void PopupItemClick(TObject* sender);

  TSpinRange range_;
  std::vector<std::string> valueList_;
  bool valueLoop_ = false, showModify_ = false, autoRun_ = true;
  int break_ = 0, buttonWidth_ = 12, minValueWidth_ = 0;
  TSpinButtonSet visible_ = (1u << sbPrior) | (1u << sbValue) | (1u << sbNext);
  TSpinValueStyle style_ = vsPopup;
  TColor changedColor_ = TColor(0x8080FF), restoreColor_ = clBtnFace;
  std::array<TSpeedButton*, 5> buttons_{};
  TPopupMenu* popup_ = nullptr;
  TTimer* repeat_ = nullptr;
  TAdvSpinBtn held_ = sbValue;
};
