#include "textcore/ruler.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/gui/ext_controls.h"
#include "platform/gui/graphics.h"

QM_CLASS_INFO(TanlRuler, TCustomControl, [](TClassBuilder<TanlRuler>& b) {
  using C = TanlRuler;
  b.Integer("RulerTab", &C::RulerTab, &C::SetRulerTab)
      .Integer("MinIndentDist", &C::MinIndentDist, &C::SetMinIndentDist)
      .Integer("Factor", &C::Factor, &C::SetFactor)
      .Integer("TabDist", &C::TabDist, &C::SetTabDist)
      .Integer("MarginLeft", &C::MarginLeft, &C::SetMarginLeft)
      .Integer("MarginRight", &C::MarginRight, &C::SetMarginRight)
      .Integer("BorderLeft", &C::BorderLeft, &C::SetBorderLeft)
      .Integer("BorderUp", &C::BorderUp, &C::SetBorderUp)
      .Integer("BorderRight", &C::BorderRight, &C::SetBorderRight)
      .Integer("BorderDown", &C::BorderDown, &C::SetBorderDown)
      .Integer("IndentFirst", &C::IndentFirst, &C::SetIndentFirst)
      .Integer("IndentLeft", &C::IndentLeft, &C::SetIndentLeft)
      .Integer("IndentRight", &C::IndentRight, &C::SetIndentRight)
      .Boolean("ShowSmallLines", &C::ShowSmallLines, &C::SetShowSmallLines)
      .Boolean("ShowLargeLines", &C::ShowLargeLines, &C::SetShowLargeLines)
      .Boolean("ShowIndents", &C::ShowIndents, &C::SetShowIndents)
      .Boolean("ShowNumbers", &C::ShowNumbers, &C::SetShowNumbers)
      .Boolean("ShowMarginHandlers", &C::ShowMarginHandlers, &C::SetShowMarginHandlers)
      .Event("OnIndentChange", &C::OnIndentChange)
      .Event("OnIndentDrag", &C::OnIndentDrag)
      .Event("OnIndentClick", &C::OnIndentClick)
      .Event("OnIndentDblClick", &C::OnIndentDblClick)
      .Event("OnMarginChange", &C::OnMarginChange)
      .Event("OnMarginDrag", &C::OnMarginDrag)
      .Event("OnMarginClick", &C::OnMarginClick);
})

namespace {

constexpr int kMarkerWidth = 9;  // the guide line runs through the middle: left edge + 4
constexpr int kHandlerReach = 3;

}  // namespace

std::vector<TRulerMark> RulerMarks(int origin, int limit, int tabDist, int factor, bool numbers) {
  std::vector<TRulerMark> marks;
  if (tabDist < 1) return marks;
  for (int x = origin, step = 0; x < limit; x += tabDist, ++step) {
    if (step % 4 == 0 && numbers && step > 0)
      marks.push_back({TRulerMark::Number, x, step / 4 * factor});
    else
      marks.push_back({step % 2 == 0 ? TRulerMark::Large : TRulerMark::Small, x, 0});
  }
  return marks;
}

int SnapDown(int value, int step) {
  if (step < 1) return value;
  const int q = value / step;
  return (value < 0 && value % step != 0 ? q - 1 : q) * step;
}

bool TRulerIndents::Allows(int id, int value, int width, int minDist) const {
  if (value < 0 || value >= width - 4) return false;
  switch (id) {
    case iiFirst:
    case iiLeft: return Right - value > minDist;
    case iiRight: return value - Left > minDist && value - First > minDist;
    default: return false;
  }
}

TanlRuler::TanlRuler(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 300, 25);
  SetColor(clWindow);
}

TanlRuler::~TanlRuler() {
  if (richedit_) richedit_->RemoveFreeNotification(this);
  delete guide_;  // owned by the editor's parent, which may outlive the ruler
}

void TanlRuler::SetRichedit(TControl* v) {
  if (v == richedit_) return;
  PlaceGuide(-1);
  if (richedit_) richedit_->RemoveFreeNotification(this);
  richedit_ = v;
  if (v) v->FreeNotification(this);
}

void TanlRuler::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == richedit_) richedit_ = nullptr;
  if (component == guide_) guide_ = nullptr;
}

void TanlRuler::SetRulerTab(int v) { rulerTab_ = std::clamp(v, 1, 255); }

void TanlRuler::SetFactor(int v) {
  factor_ = std::clamp(v, 1, 30000);
  Invalidate();
}

void TanlRuler::SetTabDist(int v) {
  tabDist_ = std::clamp(v, 1, 30000);
  Invalidate();
}

void TanlRuler::SetBorder(int index, int v) {
  border_[index] = v;
  Invalidate();
}

void TanlRuler::SetShow(int index, bool v) {
  show_[index] = v;
  Invalidate();
}

void TanlRuler::SetMargin(int id, int v) {
  int& margin = id == miLeft ? marginLeft_ : marginRight_;
  const int other = id == miLeft ? marginRight_ : marginLeft_;
  if (v == margin || v < 0 || v > Width() - other - BorderLeft() - BorderRight()) return;
  margin = v;
  Invalidate();
  if (dragMargin_ == id && OnMarginDrag) OnMarginDrag(this, id);
}

void TanlRuler::FireIndent(const TIndentEvent& event, int id) {
  if (event) event(this, id);
}

void TanlRuler::SetIndent(int id, int v) {
  int& indent = id == iiFirst ? indents_.First : id == iiLeft ? indents_.Left : indents_.Right;
  if (v == indent || !indents_.Allows(id, v, Width(), minIndentDist_)) return;
  indent = v;
  Invalidate();
  if (dragIndent_ == id) FireIndent(OnIndentDrag, id);
}

bool TanlRuler::MoveBox(int delta) {
  if (delta == 0) return false;
  const int left = indents_.Left + delta, first = indents_.First + delta;
  if (!indents_.Allows(iiLeft, left, Width(), minIndentDist_) ||
      !indents_.Allows(iiFirst, first, Width(), minIndentDist_))
    return false;
  indents_.Left = left;
  indents_.First = first;
  Invalidate();
  if (dragIndent_ == iiBox) FireIndent(OnIndentDrag, iiBox);
  return true;
}

void TanlRuler::ShiftIndents(int delta) {
  if (MoveBox(delta)) FireIndent(OnIndentChange, iiBox);
}

TRect TanlRuler::MarkerRect(int id) const {
  const int h = Height();
  switch (id) {
    case iiFirst: return Bounds(indents_.First, 0, kMarkerWidth, h / 3 + 1);
    case iiLeft: return Bounds(indents_.Left, h / 3 + 1, kMarkerWidth, h / 3);
    case iiRight: return Bounds(indents_.Right, h / 3 + 1, kMarkerWidth, h / 3);
    default: return Bounds(indents_.Left, 2 * h / 3 + 1, kMarkerWidth, h - 2 * h / 3 - 1);
  }
}

int TanlRuler::MarkerAt(int x, int y) const {
  if (!ShowIndents()) return -1;
  for (int id : {iiBox, iiLeft, iiFirst, iiRight})
    if (MarkerRect(id).Contains({x, y})) return id;
  return -1;
}

int TanlRuler::MarginX(int id) const {
  return id == miLeft ? BorderLeft() + marginLeft_ : Width() - marginRight_ - BorderRight();
}

void TanlRuler::PlaceGuide(int x) {
  TWinControl* host = richedit_ ? richedit_->Parent() : nullptr;
  if (x < 0 || !host) {
    if (guide_) guide_->SetVisible(false);
    return;
  }
  if (!guide_ || guide_->Parent() != host) {
    delete guide_;
    guide_ = new TPanel(host);
    guide_->FreeNotification(this);
    guide_->SetCaption("");
    guide_->SetBevelOuter(bvNone);
    guide_->SetColor(clWindowText);
    guide_->SetParent(host);
  }
  // Ruler x into the coordinates of the editor's parent, where the line is placed.
  const TPoint screen = ClientToScreen({x, 0});
  const TPoint at = host->ScreenToClient(screen);
  guide_->SetBounds(at.X, richedit_->Top(), 1, richedit_->Height());
  guide_->SetVisible(true);
  guide_->BringToFront();
}

void TanlRuler::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;  // a disabled ruler takes no drags
  const int marker = MarkerAt(x, y);
  if (marker >= 0) {
    if (shift & ssDouble) {
      // The press of a double click starts no drag.
      FireIndent(OnIndentDblClick, marker);
      return;
    }
    FireIndent(OnIndentClick, marker);
    dragIndent_ = marker;
    grabOffset_ = x - MarkerRect(marker).Left;
    PlaceGuide(MarkerRect(marker).Left + kMarkerWidth / 2);
    return;
  }
  if (!ShowMarginHandlers() || (shift & ssDouble)) return;
  for (int id : {miLeft, miRight}) {
    if (std::abs(x - MarginX(id)) > kHandlerReach) continue;
    dragMargin_ = id;
    if (OnMarginClick) OnMarginClick(this, id);
    PlaceGuide(MarginX(id));
    return;
  }
}

void TanlRuler::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (dragIndent_ >= 0) {
    const int target = SnapDown(x - grabOffset_, rulerTab_);
    if (dragIndent_ == iiBox)
      MoveBox(target - indents_.Left);
    else
      SetIndent(dragIndent_, target);
    PlaceGuide(MarkerRect(dragIndent_).Left + kMarkerWidth / 2);
  } else if (dragMargin_ >= 0) {
    SetMargin(dragMargin_, dragMargin_ == miLeft ? x - BorderLeft() : Width() - BorderRight() - x);
    PlaceGuide(MarginX(dragMargin_));
  }
}

void TanlRuler::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  PlaceGuide(-1);
  if (dragIndent_ >= 0) {
    const int id = dragIndent_;
    dragIndent_ = -1;
    FireIndent(OnIndentChange, id);
  } else if (dragMargin_ >= 0) {
    const int id = dragMargin_;
    dragMargin_ = -1;
    if (OnMarginChange) OnMarginChange(this, id);
  }
}

void TanlRuler::Paint() {
  TCanvas& c = *Canvas();
  const int w = Width(), h = Height();
  const int top = BorderUp(), bottom = h - BorderDown();
  const int pageLeft = MarginX(miLeft), pageRight = MarginX(miRight);
  c.Pen()->SetColor(clBtnShadow);
  c.Brush()->SetColor(clBtnFace);
  c.FillRect({0, 0, w, h});
  c.Brush()->SetColor(clBtnShadow);
  c.FillRect({BorderLeft(), top, pageLeft, bottom});
  c.FillRect({pageRight, top, w - BorderRight(), bottom});
  // A disabled ruler shows a grey page, a grey scale and no markers.
  const bool enabled = Enabled();
  c.Brush()->SetColor(enabled ? Color() : clBtnFace);
  c.FillRect({pageLeft, top, pageRight, bottom});
  if (enabled && ShowMarginHandlers()) {
    c.Brush()->SetColor(marginLeft_ ? clBtnFace : clBtnShadow);
    c.FillRect({pageLeft - 1, top, pageLeft + 1, bottom});
    c.Brush()->SetColor(marginRight_ ? clBtnFace : clBtnShadow);
    c.FillRect({pageRight - 1, top, pageRight + 1, bottom});
  }
  // The scale, from the left margin to the right border.
  c.Pen()->SetColor(enabled ? clWindowText : clGrayText);
  c.Brush()->SetStyle(bsClear);
  c.Font()->Assign(*Font());
  if (!enabled) c.Font()->SetColor(clGrayText);
  const int middle = (top + bottom) / 2;
  for (const TRulerMark& m : RulerMarks(pageLeft, w - BorderRight(), tabDist_, factor_, ShowNumbers())) {
    if (m.Kind == TRulerMark::Number) {
      TRect r{m.X - 20, top, m.X + 20, bottom};
      c.DrawText(std::to_string(m.Value), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else if (m.Kind == TRulerMark::Large ? ShowLargeLines() : ShowSmallLines()) {
      const int half = m.Kind == TRulerMark::Large ? 3 : 1;
      c.MoveTo(m.X, middle - half);
      c.LineTo(m.X, middle + half + 1);
    }
  }
  if (!enabled || !ShowIndents()) return;
  c.Pen()->SetColor(clWindowText);
  c.Brush()->SetColor(clBtnFace);
  for (int id : {iiFirst, iiLeft, iiRight, iiBox}) {
    const TRect r = MarkerRect(id);
    const int mid = r.Left + kMarkerWidth / 2;
    if (id == iiBox)
      c.Rectangle(r);
    else if (id == iiFirst)
      c.Polygon({{r.Left, r.Top}, {r.Right - 1, r.Top}, {mid, r.Bottom - 1}});
    else
      c.Polygon({{mid, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}});
  }
}
