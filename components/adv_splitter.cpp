#include "components/adv_splitter.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/graphics.h"

QM_CLASS_INFO(TAdvPane, TPanel, [](TClassBuilder<TAdvPane>& b) {
  b.Enum<TFrameStyle>("FrameStyle", {"ftNone", "ftRaised", "ftLowered", "ftCarved", "ftBump"}, &TAdvPane::FrameStyle,
                      &TAdvPane::SetFrameStyle)
      .Integer("MinSize", &TAdvPane::MinSize, &TAdvPane::SetMinSize);
})

QM_CLASS_INFO(TAdvSplitter, TCustomControl, [](TClassBuilder<TAdvSplitter>& b) {
  using C = TAdvSplitter;
  b.Enum<TSplitterOrientation>("Orientation", {"soHorizontal", "soVertical"}, &C::Orientation, &C::SetOrientation)
      .Integer("Position", &C::Position, &C::SetPosition)
      .Integer("Thickness", &C::Thickness, &C::SetThickness)
      .Boolean("AllowResize", &C::AllowResize, &C::SetAllowResize)
      .Boolean("AutoUpdate", &C::AutoUpdate, &C::SetAutoUpdate)
      .Boolean("ProportionalResize", &C::ProportionalResize, &C::SetProportionalResize)
      .Color("SplitterColor", &C::SplitterColor, &C::SetSplitterColor)
      .Enum<TSplitterStyle>("SplitterStyle", {"ssCheckered", "ssSolid"}, &C::SplitterStyle, &C::SetSplitterStyle)
      .Object("Pane1", &C::Pane1)
      .Object("Pane2", &C::Pane2)
      .Event("OnPaneResize", &C::OnPaneResize);
})

int ClampSplitPosition(int position, int length, const TSplitLimits& l) {
  const int lower = l.Min1 + 4 * l.Frame1;
  const int upper = l.Frame2 > 0 ? length - l.Thickness - l.Min2 - 4 * l.Frame2 : length - l.Thickness - l.Min2 - 1;
  return std::min(upper, std::max(lower, position));
}

TSplitRects SplitLayout(TSplitterOrientation o, int width, int height, int position, int thickness) {
  if (o == soHorizontal)
    return {Bounds(0, 0, width, position), Bounds(0, position + thickness, width, height - position - thickness)};
  return {Bounds(0, 0, position, height), Bounds(position + thickness, 0, width - position - thickness, height)};
}

// --- TAdvPane ----------------------------------------------------------------------------------

TAdvPane::TAdvPane(TComponent* owner) : TPanel(owner) {
  SetCaption("");
  SetFrameStyle(ftLowered);
}

void TAdvPane::SetFrameStyle(TFrameStyle v) {
  frameStyle_ = v;
  static const TPanelBevel inner[] = {bvNone, bvRaised, bvLowered, bvRaised, bvLowered};
  static const TPanelBevel outer[] = {bvNone, bvRaised, bvLowered, bvLowered, bvRaised};
  SetBevelInner(inner[v]);
  SetBevelOuter(outer[v]);
  if (OnSettingChanged) OnSettingChanged();
}

void TAdvPane::SetMinSize(int v) {
  minSize_ = std::max(0, v);
  if (OnSettingChanged) OnSettingChanged();
}

// --- TAdvSplitter ------------------------------------------------------------------------------

TAdvSplitter::TAdvSplitter(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 100, 100);
  for (int slot = 0; slot < 2; ++slot) AdoptPane(new TAdvPane(this), slot);
  dragLine_ = new TPanel(this);
  dragLine_->SetCaption("");
  dragLine_->SetBevelOuter(bvNone);
  dragLine_->SetColor(clBtnShadow);
  dragLine_->SetVisible(false);
  dragLine_->SetParent(this);
}

void TAdvSplitter::AdoptPane(TAdvPane* pane, int slot) {
  TAdvPane* old = panes_[slot];
  panes_[slot] = pane;
  pane->SetTag(slot + 1);
  pane->SetParent(this);
  pane->FreeNotification(this);
  pane->OnSettingChanged = [this] { LayoutPanes(); };
  if (old && old != pane) {
    old->OnSettingChanged = nullptr;
    Free(old);
  }
}

void TAdvSplitter::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  for (auto& pane : panes_)
    if (pane == component) pane = nullptr;
}

void TAdvSplitter::Loaded() {
  TCustomControl::Loaded();
  // Panes of a layout take the slot of their Tag.
  for (int i = 0; i < ControlCount(); ++i) {
    auto* pane = dynamic_cast<TAdvPane*>(Controls(i));
    if (pane && pane != panes_[0] && pane != panes_[1] && (pane->Tag() == 1 || pane->Tag() == 2)) {
      AdoptPane(pane, pane->Tag() - 1);
      i = -1;  // the list changed
    }
  }
  LayoutPanes();
}

TAdvPane* TAdvSplitter::GetPane(int index) const { return index == 1 || index == 2 ? panes_[index - 1] : nullptr; }

TSplitLimits TAdvSplitter::Limits() const {
  TSplitLimits l;
  l.Thickness = thickness_;
  if (panes_[0]) { l.Min1 = panes_[0]->MinSize(); l.Frame1 = panes_[0]->FrameWidth(); }
  if (panes_[1]) { l.Min2 = panes_[1]->MinSize(); l.Frame2 = panes_[1]->FrameWidth(); }
  return l;
}

bool TAdvSplitter::SaneLength(int length) const {
  const TSplitLimits l = Limits();
  return length > 0 && length >= l.Min1 + 4 * l.Frame1 + thickness_ + l.Min2 + 4 * l.Frame2 + 1;
}

bool TAdvSplitter::BothPanesShown() const {
  return panes_[0] && panes_[1] && panes_[0]->Visible() && panes_[1]->Visible();
}

void TAdvSplitter::SetOrientation(TSplitterOrientation v) {
  orientation_ = v;
  if (!(ComponentState() & csLoading)) LayoutPanes();
}

void TAdvSplitter::SetPosition(int v) {
  position_ = v;
  if (ComponentState() & csLoading) return;
  const int length = ClientLength();
  // Until the control shows with a size the panes fit in, the wanted place is kept as it is (a
  // hidden splitter's size is not the one it will show with).
  if (Visible() && SaneLength(length)) {
    position_ = ClampSplitPosition(v, length, Limits());
    ratio_ = double(position_) / length;
  }
  LayoutPanes();
}

void TAdvSplitter::SetThickness(int v) {
  thickness_ = std::max(1, v);
  LayoutPanes();
}

void TAdvSplitter::SetSplitterColor(TColor c) {
  splitterColor_ = c;
  Invalidate();
}

void TAdvSplitter::CenterPanes() { SetPosition((ClientLength() - thickness_) / 2); }

void TAdvSplitter::SwapPanes() {
  std::swap(panes_[0], panes_[1]);
  if (panes_[0]) panes_[0]->SetTag(1);
  if (panes_[1]) panes_[1]->SetTag(2);
  LayoutPanes();
}

void TAdvSplitter::LayoutPanes() {
  if (ComponentState() & csLoading) return;
  const int w = ClientWidth(), h = ClientHeight();
  if (BothPanesShown()) {
    const int length = ClientLength();
    // The wanted place stays as it is: a size the control has only for a while (before the
    // form has its own) must not move the bar for good.
    shown_ = SaneLength(length) ? ClampSplitPosition(position_, length, Limits())
                                : std::max(0, std::min(position_, length - thickness_));
    const TSplitRects r = SplitLayout(orientation_, w, h, shown_, thickness_);
    panes_[0]->SetBoundsRect(r.Pane1);
    panes_[1]->SetBoundsRect(r.Pane2);
  } else {
    for (TAdvPane* pane : panes_)
      if (pane && pane->Visible()) pane->SetBoundsRect(Rect(0, 0, w, h));
  }
  Invalidate();
  if (OnPaneResize) OnPaneResize(this);
}

void TAdvSplitter::Resize() {
  const int length = ClientLength();
  if (proportional_ && ratio_ && SaneLength(length)) position_ = int(std::lround(length * *ratio_));
  else if (SaneLength(length) && position_ == shown_) ratio_ = double(position_) / length;
  LayoutPanes();
  TCustomControl::Resize();
}

void TAdvSplitter::Paint() {
  TCanvas* c = Canvas();
  if (!panes_[0] && !panes_[1]) {
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    return;
  }
  if (!BothPanesShown()) return;
  c->Brush()->SetColor(splitterColor_);
  c->FillRect(orientation_ == soHorizontal ? Bounds(0, shown_, ClientWidth(), thickness_)
                                           : Bounds(shown_, 0, thickness_, ClientHeight()));
}

void TAdvSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const int coordinate = orientation_ == soHorizontal ? y : x;
  if (button != mbLeft || !allowResize_ || !BothPanesShown() || !OverSplitBar(shown_, coordinate, thickness_)) return;
  dragging_ = true;
  position_ = shown_;
  if (!autoUpdate_) MoveDragLine(shown_);
}

void TAdvSplitter::MoveDragLine(int coordinate) {
  dragLine_->SetBoundsRect(orientation_ == soHorizontal ? Bounds(0, coordinate, ClientWidth(), thickness_)
                                                        : Bounds(coordinate, 0, thickness_, ClientHeight()));
  dragLine_->SetVisible(true);
  dragLine_->BringToFront();
}

void TAdvSplitter::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  const int coordinate = orientation_ == soHorizontal ? y : x;
  const bool over = BothPanesShown() && allowResize_ && OverSplitBar(shown_, coordinate, thickness_);
  SetCursor(dragging_ || over ? (orientation_ == soHorizontal ? crVSplit : crHSplit) : crDefault);
  if (!dragging_) return;
  const int length = ClientLength();
  const TSplitLimits l = Limits();
  if (coordinate < l.Min1 || coordinate > length - l.Min2 || coordinate == position_) return;
  const int clamped = ClampSplitPosition(coordinate, length, l);
  if (autoUpdate_) {
    SetPosition(clamped);
  } else {
    position_ = clamped;
    MoveDragLine(clamped);
  }
}

void TAdvSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  dragLine_->SetVisible(false);
  SetPosition(position_);
}
