#include "components/flat_dock.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/float_window.h"
#include "platform/gui/form.h"
#include "platform/registry.h"
#include "textcore/win_registry.h"

QM_CLASS_INFO(TFlatDock, TCustomControl, [](TClassBuilder<TFlatDock>& b) {
  using C = TFlatDock;
  b.Enum<TDockPosition>("Position", {"dpTop", "dpBottom", "dpLeft", "dpRight"}, &C::Position, &C::SetPosition)
      .Boolean("AllowDrag", &C::AllowDrag, &C::SetAllowDrag)
      .Set<TDockBoundLines>("BoundLines", {"blTop", "blBottom", "blLeft", "blRight"}, &C::BoundLines, &C::SetBoundLines)
      .Boolean("FixAlign", &C::FixAlign, &C::SetFixAlign)
      .Boolean("LimitToOneRow", &C::LimitToOneRow, &C::SetLimitToOneRow)
      .Event("OnInsertRemoveBar", &C::OnInsertRemoveBar);
})

QM_CLASS_INFO(TFlatToolbar, TCustomControl, [](TClassBuilder<TFlatToolbar>& b) {
  using C = TFlatToolbar;
  b.Component<TFlatDock>("DockedTo", &C::DockedTo, &C::SetDockedTo)
      .Integer("DockRow", &C::DockRow, &C::SetDockRow)
      .Integer("DockPos", &C::DockPos, &C::SetDockPos)
      .Component<TFlatDock>("DefaultDock", &C::DefaultDock, &C::SetDefaultDock)
      .Boolean("CanDockTopBottom", &C::CanDockTopBottom, &C::SetCanDockTopBottom)
      .Boolean("CanDockLeftRight", &C::CanDockLeftRight, &C::SetCanDockLeftRight)
      .Boolean("CloseButton", &C::CloseButton, &C::SetCloseButton)
      .Integer("FloatRightX", &C::FloatRightX, &C::SetFloatRightX)
      .Event("OnDockChanging", &C::OnDockChanging)
      .Event("OnDockChanged", &C::OnDockChanged)
      .Event("OnClose", &C::OnClose);
})

namespace {

bool IsSeparator(const TControl* c) { return c->ClassInfo().Name == "TFlatToolbarSep"; }

}  // namespace

// --- TFlatDock ---------------------------------------------------------------------------------

TFlatDock::TFlatDock(TComponent* owner) : TCustomControl(owner) {
  if (owner && !dynamic_cast<TCustomForm*>(owner)) throw EInvalidOperation("TFlatDock must be owned by a form");
  SetColor(clBtnFace);
  SetAlign(alTop);
  SetBounds(0, 0, 100, 0);
}

TFlatDock::~TFlatDock() {
  for (TFlatToolbar* bar : bars_) bar->dock_ = nullptr;
  bars_.clear();
}

void TFlatDock::SetParentComponent(TComponent* parent) {
  if (dynamic_cast<TFlatDock*>(parent) || dynamic_cast<TFlatToolbar*>(parent))
    throw EInvalidOperation("A TFlatDock control cannot be placed inside a TFlatToolbar or another TFlatDock");
  TCustomControl::SetParentComponent(parent);
}

void TFlatDock::SetPosition(TDockPosition v) {
  if (v == position_) return;
  if (!bars_.empty()) throw EInvalidOperation("Cannot change Position of a TFlatDock if it already contains controls");
  position_ = v;
  static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
  SetAlign(aligns[v]);
  ArrangeToolbars();
}

void TFlatDock::SetVisible(bool visible) {
  if (!visible && Visible() && !(ComponentState() & (csDestroying | csLoading)))
    throw EInvalidOperation("Cannot hide a TFlatDock");
  TCustomControl::SetVisible(visible);
}

void TFlatDock::SetAllowDrag(bool v) {
  allowDrag_ = v;
  for (TFlatToolbar* bar : bars_) bar->ArrangeControls();
  ArrangeToolbars();
}

void TFlatDock::SetBoundLines(TDockBoundLines v) {
  boundLines_ = v;
  Invalidate();
}

void TFlatDock::SetFixAlign(bool v) {
  fixAlign_ = v;
  ArrangeToolbars();
}

void TFlatDock::SetLimitToOneRow(bool v) {
  limitToOneRow_ = v;
  ArrangeToolbars();
}

void TFlatDock::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0) ArrangeToolbars();
}

void TFlatDock::Loaded() {
  TCustomControl::Loaded();
  ArrangeToolbars();
}

void TFlatDock::Resize() {
  TCustomControl::Resize();
  if (!arranging_) ArrangeToolbars();
}

void TFlatDock::InsertBar(TFlatToolbar* bar) {
  if (std::find(bars_.begin(), bars_.end(), bar) != bars_.end()) return;
  bars_.push_back(bar);
  if (OnInsertRemoveBar) OnInsertRemoveBar(this, true, bar);
}

void TFlatDock::RemoveBar(TFlatToolbar* bar) {
  auto it = std::find(bars_.begin(), bars_.end(), bar);
  if (it == bars_.end()) return;
  bars_.erase(it);
  if (OnInsertRemoveBar && !(ComponentState() & csDestroying)) OnInsertRemoveBar(this, false, bar);
}

void TFlatDock::ArrangeToolbars() {
  if (updating_ > 0 || arranging_ || (ComponentState() & (csLoading | csDestroying))) return;
  arranging_ = true;
  const bool vertical = DockType() == dtLeftRight;
  std::vector<TFlatToolbar*> shown;
  std::vector<TDockedBar> bars;
  for (TFlatToolbar* bar : bars_) {
    if (!bar->Visible()) continue;
    const TBarLayout layout = bar->LayoutFor(DockType());
    shown.push_back(bar);
    bars.push_back({bar->dockRow_, bar->dockPos_, vertical ? layout.Height : layout.Width,
                    vertical ? layout.ThicknessV : layout.ThicknessH});
  }
  const int length = vertical ? ClientHeight() : ClientWidth();
  const TDockArrangement a = ArrangeDock(bars, length, limitToOneRow_, fixAlign_);
  rowSizes_ = a.RowSizes;
  for (size_t i = 0; i < shown.size(); ++i) {
    TFlatToolbar* bar = shown[i];
    bar->dockRow_ = a.Bars[i].Row;
    // A row pushed back for a dock too short keeps its wanted places: the dock may be short
    // only until its form has its size.
    bar->dockPos_ = a.Wanted[i];
    const int rowSize = a.RowSizes[size_t(a.Bars[i].Row)];
    if (vertical) bar->SetBounds(a.Offsets[i], a.Bars[i].Pos, rowSize, a.Bars[i].Length);
    else bar->SetBounds(a.Bars[i].Pos, a.Offsets[i], a.Bars[i].Length, rowSize);
  }
  if (vertical) SetWidth(a.Thickness);
  else SetHeight(a.Thickness);
  arranging_ = false;
}

void TFlatDock::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  const int w = Width(), h = Height();
  if (w <= 1 || h <= 1) return;
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  if (boundLines_ & blTop) line(clBtnShadow, 0, 0, w, 0);
  if (boundLines_ & blLeft) line(clBtnShadow, 0, 0, 0, h);
  if (boundLines_ & blBottom) line(clBtnHighlight, 0, h - 1, w, h - 1);
  if (boundLines_ & blRight) line(clBtnHighlight, w - 1, 0, w - 1, h);
}

// --- TFlatToolbar ------------------------------------------------------------------------------

TFlatToolbar::TFlatToolbar(TComponent* owner) : TCustomControl(owner) {
  if (owner && !dynamic_cast<TCustomForm*>(owner)) throw EInvalidOperation("TFlatToolbar must be owned by a form");
  SetBounds(0, 0, 100, 26);
}

TFlatToolbar::~TFlatToolbar() {
  if (dock_) dock_->RemoveBar(this);
  SetDefaultDock(nullptr);
}

TCustomForm* TFlatToolbar::OwnerForm() const { return dynamic_cast<TCustomForm*>(Owner()); }

void TFlatToolbar::SetParentComponent(TComponent* parent) {
  if (!dynamic_cast<TFlatDock*>(parent) && !dynamic_cast<TCustomForm*>(parent))
    throw EInvalidOperation("TFlatToolbar can only be placed on a TFlatDock or directly on the form");
  TCustomControl::SetParentComponent(parent);
  if (auto* dock = dynamic_cast<TFlatDock*>(parent)) {
    dock_ = dock;
    dock->InsertBar(this);
  }
}

void TFlatToolbar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == defaultDock_) defaultDock_ = nullptr;
  if (component == dock_) dock_ = nullptr;
}

void TFlatToolbar::SetDefaultDock(TFlatDock* dock) {
  if (defaultDock_) defaultDock_->RemoveFreeNotification(this);
  defaultDock_ = dock;
  if (defaultDock_) defaultDock_->FreeNotification(this);
}

void TFlatToolbar::Loaded() {
  TCustomControl::Loaded();
  if (dock_) {
    ArrangeControls();
    dock_->ArrangeToolbars();
  } else if (Parent()) {
    // Designed floating: its place on the form becomes a place on the screen.
    const TPoint p = Parent()->ClientToScreen(Point(Left(), Top()));
    floatRect_ = Bounds(p.X, p.Y, Width(), Height());
    MakeFloating();
    MoveOnScreen(false);
  }
}

std::vector<TBarItem> TFlatToolbar::BarItems() const {
  std::vector<TBarItem> items;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    TBarItem item{c->Width(), c->Height(), IsSeparator(c), c->Visible()};
    if (item.Separator) {
      item.SizeHorz = GetOrdProp(*c, "SizeHorz");
      item.SizeVert = GetOrdProp(*c, "SizeVert");
    }
    items.push_back(item);
  }
  return items;
}

TBarLayout TFlatToolbar::LayoutFor(TDockType type) const {
  const bool handle = type == dtNotDocked || (dock_ && dock_->AllowDrag());
  return LayoutBar(BarItems(), type, handle, type == dtNotDocked ? floatRightX_ : 0);
}

TPoint TFlatToolbar::ControlOrigin() const {
  return Floating() ? Point(FloatFrameWidth(), FloatFrameWidth() + FloatCaptionHeight()) : Point(0, 0);
}

void TFlatToolbar::ArrangeControls() {
  if (arranging_ || (ComponentState() & (csLoading | csDestroying))) return;
  arranging_ = true;
  const TDockType type = dock_ ? dock_->DockType() : dtNotDocked;
  const TBarLayout layout = LayoutFor(type);
  const TPoint origin = ControlOrigin();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    const TRect& r = layout.Places[size_t(i)];
    if (r.Width() > 0 || r.Height() > 0) c->SetBounds(r.Left + origin.X, r.Top + origin.Y, r.Width(), r.Height());
    else if (IsSeparator(c)) c->SetBounds(c->Left(), c->Top(), 0, 0);
  }
  // Floating, the window holds the frame and caption around the controls; docked, the length
  // along the row is the layout's at once (the dock sets the thickness when it arranges).
  if (!dock_) SetBounds(Left(), Top(), layout.Width + 2 * origin.X, layout.Height + origin.Y + origin.X);
  else if (type == dtLeftRight) SetBounds(Left(), Top(), Width(), layout.Height);
  else SetBounds(Left(), Top(), layout.Width, Height());
  Invalidate();
  arranging_ = false;
}

void TFlatToolbar::SetFloatRightX(int v) {
  floatRightX_ = std::max(0, v);
  if (!dock_) ArrangeControls();
}

void TFlatToolbar::SetDockRow(int v) {
  dockRow_ = v;
  if (dock_) dock_->ArrangeToolbars();
}

void TFlatToolbar::SetDockPos(int v) {
  dockPos_ = v;
  if (dock_) dock_->ArrangeToolbars();
}

void TFlatToolbar::SetVisible(bool visible) {
  TCustomControl::SetVisible(visible);
  if (dock_) dock_->ArrangeToolbars();  // a hidden toolbar leaves its row; the others close up
}

void TFlatToolbar::MakeFloating() {
  TCustomForm* form = OwnerForm();
  if (!form) return;
  if (Parent() != form) SetParent(form);
  floating_ = true;
  ArrangeControls();
  if (floatRect_.Width() > 0 && floatRect_.Height() > 0)
    SetBounds(floatRect_.Left - FloatFrameWidth(), floatRect_.Top, Width(), Height());
  SetFloatingWindow(*this, *form, true, Caption(), [this] { CloseFloating(); });
}

void TFlatToolbar::CloseFloating() {
  Hide();
  if (OnClose) OnClose(this);
}

void TFlatToolbar::SetDockedTo(TFlatDock* dock) {
  if (dock == dock_ && (dock || floating_)) return;
  if (ComponentState() & csLoading) {
    // The layout reader puts the toolbar in its parent dock by itself.
    return;
  }
  if (OnDockChanging) OnDockChanging(this);
  TFlatDock* old = dock_;
  if (old) old->RemoveBar(this);
  if (dock) {
    if (floating_) {
      floatRect_ = RemoveFloatFrame(BoundsRect(), FloatFrameWidth(), FloatCaptionHeight());
      if (TCustomForm* form = OwnerForm()) SetFloatingWindow(*this, *form, false, Caption());
      floating_ = false;
    }
    dock_ = dock;
    SetParent(dock);
    dock->InsertBar(this);
    ArrangeControls();
    dock->ArrangeToolbars();
  } else {
    if (floatRect_.Width() <= 0 || floatRect_.Height() <= 0) {
      const TPoint p = Parent() ? Parent()->ClientToScreen(Point(Left(), Top())) : Point(Left(), Top());
      floatRect_ = Bounds(p.X, p.Y, Width(), Height());
    }
    dock_ = nullptr;
    MakeFloating();
  }
  if (old) old->ArrangeToolbars();
  if (OnDockChanged) OnDockChanged(this);
}

void TFlatToolbar::MoveOnScreen(bool onlyIfOff) {
  if (dock_) return;
  const TRect r = MoveRectOnScreen(BoundsRect(), Screen->WorkAreaRect(), onlyIfOff);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  if (floating_) floatRect_ = RemoveFloatFrame(r, FloatFrameWidth(), FloatCaptionHeight());
}

void TFlatToolbar::ToggleDocking() {
  if (dock_) {
    SetDockedTo(nullptr);
    MoveOnScreen(true);
  } else if (defaultDock_) {  // no default dock: nothing to dock into
    dockRow_ = 0;
    dockPos_ = -8;
    SetDockedTo(defaultDock_);
  }
}

TFlatDock* TFlatToolbar::DropTarget(TPoint p, bool floating) const {
  if (floating || !Owner()) return nullptr;
  for (int pass = 0; pass < 2; ++pass) {
    if ((pass == 0 && !canTopBottom_) || (pass == 1 && !canLeftRight_)) continue;
    for (int i = 0; i < Owner()->ComponentCount(); ++i) {
      auto* dock = dynamic_cast<TFlatDock*>(Owner()->Components(i));
      if (!dock || !dock->AllowDrag() || !dock->Showing()) continue;
      if ((dock->DockType() == dtTopBottom) != (pass == 0)) continue;
      const TPoint origin = dock->ClientToScreen(Point(0, 0));
      const double gx = Width() > 0 ? double(grip_.X) / Width() : 0, gy = Height() > 0 ? double(grip_.Y) / Height() : 0;
      if (DockTakes(Bounds(origin.X, origin.Y, dock->Width(), dock->Height()), dock->DockType(), p, gx, gy,
                    DragOutline(p, dock)))
        return dock;
    }
  }
  return nullptr;
}

void TFlatToolbar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || mouseMode_ != mmNone) return;
  const TFloatPart part =
      Floating() ? FloatHitTest(Point(x, y), Width(), Height(), FloatFrameWidth(), FloatCaptionHeight(), closeButton_)
                 : fpClient;
  if (part == fpClose) {
    mouseMode_ = mmClosing;
    closePushed_ = true;
    Invalidate();
  } else if (part != fpClient) {
    BeginSizing(part, ClientToScreen(Point(x, y)));
  } else if (!dock_ || dock_->AllowDrag()) {
    mouseMode_ = mmMoving;
    grip_ = Point(x, y);
  }
}

void TFlatToolbar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (mouseMode_ == mmSizing) {
    TrackSizing(ClientToScreen(Point(x, y)));
  } else if (mouseMode_ == mmClosing) {
    const bool on = FloatCloseRect(Width(), FloatFrameWidth(), FloatCaptionHeight()).Contains(Point(x, y));
    if (on != closePushed_) {
      closePushed_ = on;
      Invalidate();
    }
  } else if (mouseMode_ == mmMoving) {
    const TPoint p = ClientToScreen(Point(x, y));
    ShowDragOutline(DragOutline(p, DropTarget(p, shift & ssCtrl)), Floating() ? FloatFrameWidth() : 1);
  }
}

void TFlatToolbar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const TMouseMode mode = mouseMode_;
  mouseMode_ = mmNone;
  HideDragOutline();
  if (mode == mmClosing) {
    closePushed_ = false;
    Invalidate();
    if (FloatCloseRect(Width(), FloatFrameWidth(), FloatCaptionHeight()).Contains(Point(x, y))) CloseFloating();
  } else if (mode == mmSizing) {
    sizes_.clear();
  } else if (mode == mmMoving && (x != grip_.X || y != grip_.Y)) {  // a click is no move
    EndMoving(ClientToScreen(Point(x, y)), shift & ssCtrl);
  }
}

TRect TFlatToolbar::DragOutline(TPoint p, TFlatDock* target) const {
  int w = Width(), h = Height();
  if (target) {
    const TBarLayout l = LayoutBar(BarItems(), target->DockType(), target->AllowDrag(), 0);
    w = l.Width;
    h = l.Height;
  } else if (!Floating()) {
    const TBarLayout l = LayoutFor(dtNotDocked);
    w = l.Width + 2 * FloatFrameWidth();
    h = l.Height + 2 * FloatFrameWidth() + FloatCaptionHeight();
  }
  // The grip keeps its proportional place in the new size.
  const int gx = Width() > 0 ? grip_.X * w / Width() : 0, gy = Height() > 0 ? grip_.Y * h / Height() : 0;
  TRect r = Bounds(p.X - gx, p.Y - gy, w, h);
  if (!target) {
    const TRect work = Screen->WorkAreaRect();
    const int inset = FloatFrameWidth() + 4;
    r = MoveRectOnScreen(r, Rect(work.Left - w + inset, work.Top, work.Right + w - inset, work.Bottom + h - inset), false);
  }
  return r;
}

void TFlatToolbar::EndMoving(TPoint p, bool floating) {
  TFlatDock* target = DropTarget(p, floating);
  const TRect outline = DragOutline(p, target);
  if (target) {
    const TPoint local = target->ScreenToClient(Point(outline.Left, outline.Top));
    const bool vertical = target->DockType() == dtLeftRight;
    const int middle = vertical ? local.X + outline.Width() / 2 : local.Y + outline.Height() / 2;
    bool newRow = false;
    const int row = DropRow(target->RowSizes(), middle, newRow);
    if (newRow)
      for (TFlatToolbar* bar : target->Toolbars())
        if (bar != this && bar->dockRow_ >= row) ++bar->dockRow_;
    dockRow_ = row;
    dockPos_ = std::max(0, vertical ? local.Y : local.X);
    if (target == dock_) target->ArrangeToolbars();
    else SetDockedTo(target);
  } else {
    floatRect_ = RemoveFloatFrame(outline, FloatFrameWidth(), FloatCaptionHeight());
    if (dock_) {
      SetDockedTo(nullptr);
    } else {
      SetBounds(outline.Left, outline.Top, Width(), Height());
    }
    MoveOnScreen(true);
  }
}

void TFlatToolbar::BeginSizing(TFloatPart edge, TPoint p) {
  mouseMode_ = mmSizing;
  sizingEdge_ = edge;
  sizingStart_ = BoundsRect();
  grip_ = p;
  sizes_ = FloatSizes(BarItems());
}

void TFlatToolbar::TrackSizing(TPoint p) {
  const bool horizontal = sizingEdge_ == fpLeft || sizingEdge_ == fpRight;
  const int frameW = 2 * FloatFrameWidth(), frameH = 2 * FloatFrameWidth() + FloatCaptionHeight();
  int wanted = horizontal ? sizingStart_.Width() - frameW : sizingStart_.Height() - frameH;
  const int moved = horizontal ? p.X - grip_.X : p.Y - grip_.Y;
  wanted += sizingEdge_ == fpLeft || sizingEdge_ == fpTop ? -moved : moved;
  const TFloatSize size = NearestFloatSize(sizes_, horizontal, wanted);
  if (size.Wrap == floatRightX_ || sizes_.empty()) return;
  SetFloatRightX(size.Wrap);
  // The edge that is not dragged stays.
  const int left = sizingEdge_ == fpLeft ? sizingStart_.Right - Width() : sizingStart_.Left;
  const int top = sizingEdge_ == fpTop ? sizingStart_.Bottom - Height() : sizingStart_.Top;
  SetBounds(left, top, Width(), Height());
  floatRect_ = RemoveFloatFrame(BoundsRect(), FloatFrameWidth(), FloatCaptionHeight());
}

void TFlatToolbar::DblClick() {
  TCustomControl::DblClick();
  if (mouseMode_ != mmNone && mouseMode_ != mmMoving) return;
  mouseMode_ = mmNone;
  HideDragOutline();
  ToggleDocking();
}

void TFlatToolbar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  if (Floating()) PaintFloating();
  if (!dock_) return;
  TRect r = ClientRect();
  Frame3D(*c, r, clBtnHighlight, clBtnShadow, 1);
  if (!dock_->AllowDrag()) return;
  // The drag handle: two raised bars three pixels thick.
  const bool vertical = dock_->DockType() == dtLeftRight;
  for (int bar = 0; bar < 2; ++bar) {
    const int a = 4 + 3 * bar;
    TRect h = vertical ? Rect(2, a, Width() - 2, a + 3) : Rect(a, 2, a + 3, Height() - 2);
    Frame3D(*c, h, clBtnHighlight, clBtnShadow, 1);
  }
}

// The floating window's own frame, caption bar, close button and the lines between the rows a
// collapsed separator broke.
void TFlatToolbar::PaintFloating() {
  TCanvas* c = Canvas();
  const int frame = FloatFrameWidth(), caption = FloatCaptionHeight();
  TRect r = ClientRect();
  Frame3D(*c, r, clBtnHighlight, clBtnShadow, 1);
  TRect bar = Rect(frame, frame, Width() - frame, frame + caption - 1);
  c->Brush()->SetColor(clActiveCaption);
  c->FillRect(bar);
  TRect close = FloatCloseRect(Width(), frame, caption);
  if (closeButton_) {
    bar.Right = close.Left - 1;
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(close);
    TRect edge = close;
    Frame3D(*c, edge, closePushed_ ? clBtnShadow : clBtnHighlight, closePushed_ ? clBtnHighlight : clBtnShadow, 1);
    const int d = closePushed_ ? 1 : 0, inset = close.Height() / 4;
    c->Pen()->SetColor(clBtnText);
    for (int k = 0; k < 2; ++k) {  // the cross, two pixels thick
      c->MoveTo(close.Left + inset + k + d, close.Top + inset + d);
      c->LineTo(close.Right - inset + k + d, close.Bottom - inset + d);
      c->MoveTo(close.Left + inset + k + d, close.Bottom - inset - 1 + d);
      c->LineTo(close.Right - inset + k + d, close.Top + inset - 1 + d);
    }
  }
  c->Font()->SetColor(clCaptionText);
  c->Brush()->SetStyle(bsClear);
  TRect text = Rect(bar.Left + 2, bar.Top, bar.Right, bar.Bottom);
  c->DrawText(FitCaption(Caption(), text.Width(), [c](const std::string& t) { return c->TextWidth(t); }), text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  c->Brush()->SetStyle(bsSolid);
  const TPoint origin = ControlOrigin();
  for (int line : LayoutFor(dtNotDocked).BreakLines) {
    const int y = origin.Y + line;
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(frame, y - 4);
    c->LineTo(Width() - frame, y - 4);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(frame, y - 3);
    c->LineTo(Width() - frame, y - 3);
  }
}

// --- saving and loading ------------------------------------------------------------------------

namespace {

TFlatDock* FindDockByName(TComponent& form, const std::string& name) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* dock = dynamic_cast<TFlatDock*>(form.Components(i)); dock && dock->Name() == name) return dock;
  return nullptr;
}

}  // namespace

void LoadToolbarPositions(TComponent& form, const TPositionReadInt& readInt, const TPositionReadString& readString) {
  std::vector<TFlatDock*> docks;
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* dock = dynamic_cast<TFlatDock*>(form.Components(i))) {
      dock->BeginUpdate();
      docks.push_back(dock);
    }
  try {
    for (int i = 0; i < form.ComponentCount(); ++i) {
      auto* bar = dynamic_cast<TFlatToolbar*>(form.Components(i));
      if (!bar) continue;
      const std::string& section = bar->Name();
      if (section.empty()) throw Exception("Name property not set");
      bar->SetVisible(readInt(section, "Visible", bar->Visible() ? 1 : 0) != 0);
      const std::string dockName = readString(section, "DockedTo", "");
      if (dockName.empty()) continue;
      TFlatDock* dock = dockName == "nil" ? nullptr : FindDockByName(form, dockName);
      if (dockName != "nil" && (!dock || !dock->AllowDrag())) continue;  // stays where the form put it
      const int row = readInt(section, "DockRow", bar->DockRow());
      const int pos = readInt(section, "DockPos", bar->DockPos());
      const TRect fr = Rect(readInt(section, "FloatLeft", 0), readInt(section, "FloatTop", 0),
                            readInt(section, "FloatRight", 0), readInt(section, "FloatBottom", 0));
      bar->SetFloatRightX(readInt(section, "FloatRightX", 0));
      bar->dockRow_ = row;
      bar->dockPos_ = pos;
      bar->SetFloatingRect(fr);
      bar->SetDockedTo(dock);
      if (!dock) bar->MoveOnScreen(false);
    }
  } catch (...) {
    for (auto it = docks.rbegin(); it != docks.rend(); ++it) (*it)->EndUpdate();
    throw;
  }
  for (auto it = docks.rbegin(); it != docks.rend(); ++it) (*it)->EndUpdate();
}

void SaveToolbarPositions(TComponent& form, const TPositionWriteInt& writeInt, const TPositionWriteString& writeString) {
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* bar = dynamic_cast<TFlatToolbar*>(form.Components(i));
    if (!bar) continue;
    const std::string& section = bar->Name();
    if (section.empty()) throw Exception("Name property not set");
    TFlatDock* dock = bar->DockedTo();
    if (dock && dock->Name().empty()) throw Exception("DockTo's Name property not set");
    writeInt(section, "Visible", bar->Visible() ? 1 : 0);
    if (dock && !dock->AllowDrag()) continue;
    writeString(section, "DockedTo", dock ? dock->Name() : "nil");
    writeInt(section, "DockRow", bar->DockRow());
    writeInt(section, "DockPos", bar->DockPos());
    // The real place, whether the window is shown or not; an empty one writes zeros, so that no
    // stale place of an earlier save stays behind.
    const TRect r = dock ? bar->FloatingRect() : RemoveFloatFrame(bar->BoundsRect(), FloatFrameWidth(), FloatCaptionHeight());
    writeInt(section, "FloatLeft", r.Left);
    writeInt(section, "FloatTop", r.Top);
    writeInt(section, "FloatRight", r.Right);
    writeInt(section, "FloatBottom", r.Bottom);
    writeInt(section, "FloatRightX", bar->FloatRightX());
  }
}

void LoadToolbarPositionsFromRegistry(TComponent& form, const std::string& keyPath) {
  TWinRegistry reg(keyPath);
  LoadToolbarPositions(
      form,
      [&](const std::string& s, const std::string& n, int def) {
        try { return reg.ReadInteger(s, n, def); } catch (const std::exception&) { return def; }
      },
      [&](const std::string& s, const std::string& n, const std::string& def) {
        try { return reg.ReadString(s, n, def); } catch (const std::exception&) { return def; }
      });
}

void SaveToolbarPositionsToRegistry(TComponent& form, const std::string& keyPath) {
  TWinRegistry reg(keyPath);
  SaveToolbarPositions(
      form, [&](const std::string& s, const std::string& n, int v) { reg.WriteInteger(s, n, v); },
      [&](const std::string& s, const std::string& n, const std::string& v) { reg.WriteString(s, n, v); });
}
