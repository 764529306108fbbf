// TExSplitter: a thin bar between two sibling controls; dragging it resizes the first control
// (and so moves the second) within limits kept free at the parent's edges. Esc cancels a drag.
#pragma once

#include "platform/gui/ext_controls.h"

using TSplitterMoveEvent = std::function<void(TObject* Sender, int X, int Y, bool& AllowChange)>;

// The point kept inside `area`.
TPoint ClampToArea(TPoint p, const TRect& area);
// The first control's new size after the bar moved by `delta` towards the second control
// (negative: towards the first): at least 1 and leaving the second control at least 1 pixel.
int SplitResize(int firstSize, int secondSize, int delta);
// The alignment that follows from where the first control sits next to the second (alNone
// when they do not sit side by side).
TAlign SplitAlignOf(const TRect& first, const TRect& second);

class TExSplitter : public TPanel {
  QM_CLASS(TExSplitter, TPanel)
public:
  explicit TExSplitter(TComponent* owner);
  ~TExSplitter() override;

  TControl* ControlFirst() const { return first_; }
  void SetControlFirst(TControl* c);
  TControl* ControlSecond() const { return second_; }
  void SetControlSecond(TControl* c);
  int TopLeftLimit() const { return topLeft_; }
  void SetTopLeftLimit(int v) { topLeft_ = v; }
  int BottomRightLimit() const { return bottomRight_; }
  void SetBottomRightLimit(int v) { bottomRight_ = v; }
  // Older layouts: one value for both limits.
  void SetLimitOffset(int v) { topLeft_ = bottomRight_ = v; }
  // The splitter's own alignment, else the one the two controls' places give.
  TAlign EffectiveAlign() const;
  bool Dragging() const { return dragging_; }
  // Ends a drag without changing anything (Esc).
  void CancelDrag();

  TSplitterMoveEvent OnPosChanging;
  TNotifyEvent OnPosChanged;

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TControl* CheckedControl(TControl* c);
  void EndDrag();
  bool Vertical() const;  // a bar between controls side by side (left/right)
  TPoint ParentPoint(int x, int y) const { return {Left() + x, Top() + y}; }
  void MoveLine(TPoint p);

  TControl *first_ = nullptr, *second_ = nullptr;
  int topLeft_ = 20, bottomRight_ = 20;
  bool dragging_ = false, savedShowHint_ = true;
  TPoint start_, last_;
  TRect area_;
  TPanel* line_ = nullptr;
  TKeyEvent savedKeyDown_;
};
