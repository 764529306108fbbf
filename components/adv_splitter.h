// TAdvSplitter: a control holding exactly two panes (TAdvPane) separated by a bar the user
// drags; the panes fill the control and share its length. Position and Orientation are what
// form storage keeps.
#pragma once

#include <optional>

#include "platform/gui/ext_controls.h"

enum TSplitterOrientation { soHorizontal, soVertical };
enum TSplitterStyle { ssCheckered, ssSolid };
enum TFrameStyle { ftNone, ftRaised, ftLowered, ftCarved, ftBump };

// The limits of the bar: pane 1's MinSize (+ 4 × its frame width) up to the length less the
// thickness and pane 2's MinSize (less 1, or 4 × its frame width); the upper limit wins.
struct TSplitLimits {
  int Thickness = 2;
  int Min1 = 10, Frame1 = 0;  // frame width 0: no frame
  int Min2 = 10, Frame2 = 0;
};
int ClampSplitPosition(int position, int length, const TSplitLimits& limits);
// The two panes' rectangles in a client of width × height.
struct TSplitRects {
  TRect Pane1, Pane2;
};
TSplitRects SplitLayout(TSplitterOrientation o, int width, int height, int position, int thickness);
// Whether `coordinate` is over a bar at `position`.
inline bool OverSplitBar(int position, int coordinate, int thickness) {
  return (position > coordinate ? position - coordinate : coordinate - position) <= thickness;
}

class TAdvPane : public TPanel {
  QM_CLASS(TAdvPane, TPanel)
public:
  explicit TAdvPane(TComponent* owner);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle v);
  int MinSize() const { return minSize_; }
  void SetMinSize(int v);
  // The frame's width in pixels (0 without a frame).
  int FrameWidth() const { return frameStyle_ == ftNone ? 0 : BevelWidth(); }
  // Tells the splitter that a setting changed.
  std::function<void()> OnSettingChanged;

private:
  TFrameStyle frameStyle_ = ftLowered;
  int minSize_ = 10;
};

class TAdvSplitter : public TCustomControl {
  QM_CLASS(TAdvSplitter, TCustomControl)
public:
  explicit TAdvSplitter(TComponent* owner);

  TSplitterOrientation Orientation() const { return orientation_; }
  void SetOrientation(TSplitterOrientation v);
  // The wanted place of the bar; it is shown within the limits of the present size.
  int Position() const { return position_; }
  void SetPosition(int v);
  int Thickness() const { return thickness_; }
  void SetThickness(int v);
  bool AllowResize() const { return allowResize_; }
  void SetAllowResize(bool v) { allowResize_ = v; }
  bool AutoUpdate() const { return autoUpdate_; }
  void SetAutoUpdate(bool v) { autoUpdate_ = v; }
  bool ProportionalResize() const { return proportional_; }
  void SetProportionalResize(bool v) { proportional_ = v; }
  TColor SplitterColor() const { return splitterColor_; }
  void SetSplitterColor(TColor c);
  TSplitterStyle SplitterStyle() const { return splitterStyle_; }
  void SetSplitterStyle(TSplitterStyle s) { splitterStyle_ = s; }

  // Pane 1 or 2; nullptr for any other index.
  TAdvPane* GetPane(int index) const;
  TAdvPane* Pane1() const { return panes_[0]; }
  TAdvPane* Pane2() const { return panes_[1]; }
  // The bar in the middle: (client length - Thickness) div 2.
  void CenterPanes();
  // Exchanges the two panes.
  void SwapPanes();
  // Places the panes and fires OnPaneResize.
  void LayoutPanes();
  // The client length along the orientation.
  int ClientLength() const { return orientation_ == soHorizontal ? ClientHeight() : ClientWidth(); }
  bool Dragging() const { return dragging_; }

  TNotifyEvent OnPaneResize;

protected:
  void Loaded() override;
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TSplitLimits Limits() const;
  bool BothPanesShown() const;
  // A length the panes fit in: only such sizes move the bar for good and set the ratio.
  bool SaneLength(int length) const;
  void MoveDragLine(int coordinate);
  void AdoptPane(TAdvPane* pane, int slot);

  TSplitterOrientation orientation_ = soVertical;
  int position_ = 50, thickness_ = 2;
  int shown_ = 50;  // where the bar is drawn: Position within the limits of the present size
  bool allowResize_ = true, autoUpdate_ = false, proportional_ = false, dragging_ = false;
  TColor splitterColor_ = clBtnFace;
  TSplitterStyle splitterStyle_ = ssCheckered;
  TAdvPane* panes_[2] = {nullptr, nullptr};
  TPanel* dragLine_ = nullptr;  // the line shown while dragging without AutoUpdate
  std::optional<double> ratio_;
};
