// TExSpeedButton: a glyph button that repeats its click while held (500 ms, then every 100 ms)
// and opens a drop-down menu at its bottom or right edge.
#pragma once

#include "components/glyph_button.h"

class TTimer;

enum TExDropDownMenuPos { dmpBottom, dmpRight };

class TExSpeedButton : public TGlyphButton {
  QM_CLASS(TExSpeedButton, TGlyphButton)
public:
  explicit TExSpeedButton(TComponent* owner);
  bool AllowTimer() const { return allowTimer_; }
  void SetAllowTimer(bool v);
  TExDropDownMenuPos MenuPosition() const { return menuPosition_; }
  void SetMenuPosition(TExDropDownMenuPos v) { menuPosition_ = v; }
  bool MarkDropDown() const { return markDropDown_; }
  void SetMarkDropDown(bool v) { markDropDown_ = v; }
  // One tick of the repeat timer: the first switches it to 100 ms; each clicks while the button
  // is still held and under the mouse.
  void RepeatTick();
  unsigned RepeatInterval() const;

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  TPoint MenuPoint(bool& alignRight) const override;

private:
  bool allowTimer_ = false, markDropDown_ = true, held_ = false;
  TExDropDownMenuPos menuPosition_ = dmpBottom;
  TTimer* timer_ = nullptr;
};
