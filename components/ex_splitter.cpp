#include "components/ex_splitter.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/form.h"

QM_CLASS_INFO(TExSplitter, TPanel, [](TClassBuilder<TExSplitter>& b) {
  using C = TExSplitter;
  b.Component<TControl>("ControlFirst", &C::ControlFirst, &C::SetControlFirst)
      .Component<TControl>("ControlSecond", &C::ControlSecond, &C::SetControlSecond)
      .Integer("TopLeftLimit", &C::TopLeftLimit, &C::SetTopLeftLimit)
      .Integer("BottomRightLimit", &C::BottomRightLimit, &C::SetBottomRightLimit)
      .Integer("LimitOffset", &C::TopLeftLimit, &C::SetLimitOffset)
      .Event("OnPosChanging", &C::OnPosChanging)
      .Event("OnPosChanged", &C::OnPosChanged);
})

TPoint ClampToArea(TPoint p, const TRect& area) {
  return {std::clamp(p.X, area.Left, std::max(area.Left, area.Right)),
          std::clamp(p.Y, area.Top, std::max(area.Top, area.Bottom))};
}

int SplitResize(int firstSize, int secondSize, int delta) {
  const int most = firstSize + std::max(0, secondSize - 1);
  return std::clamp(firstSize + delta, 1, std::max(1, most));
}

TAlign SplitAlignOf(const TRect& first, const TRect& second) {
  if (first.Right <= second.Left) return alLeft;
  if (first.Left >= second.Right) return alRight;
  if (first.Bottom <= second.Top) return alTop;
  if (first.Top >= second.Bottom) return alBottom;
  return alNone;
}

TExSplitter::TExSplitter(TComponent* owner) : TPanel(owner) {
  SetBounds(0, 0, 185, 3);
  SetCaption("");
  SetBevelOuter(bvNone);
}

TExSplitter::~TExSplitter() {
  if (dragging_) CancelDrag();
}

TControl* TExSplitter::CheckedControl(TControl* c) {
  if (c == this || dynamic_cast<TCustomForm*>(c)) return nullptr;
  return c;
}

void TExSplitter::SetControlFirst(TControl* c) {
  if (first_) first_->RemoveFreeNotification(this);
  first_ = CheckedControl(c);
  if (first_) first_->FreeNotification(this);
}

void TExSplitter::SetControlSecond(TControl* c) {
  if (second_) second_->RemoveFreeNotification(this);
  second_ = CheckedControl(c);
  if (second_) second_->FreeNotification(this);
}

void TExSplitter::Notification(TComponent* component, TOperation operation) {
  TPanel::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == first_) first_ = nullptr;
  if (component == second_) second_ = nullptr;
  if (component == line_) line_ = nullptr;
}

TAlign TExSplitter::EffectiveAlign() const {
  if (Align() != alNone && Align() != alClient) return Align();
  if (!first_ || !second_) return alNone;
  return SplitAlignOf(first_->BoundsRect(), second_->BoundsRect());
}

bool TExSplitter::Vertical() const {
  const TAlign a = EffectiveAlign();
  return a == alLeft || a == alRight;
}

void TExSplitter::MoveLine(TPoint p) {
  if (!line_) {
    line_ = new TPanel(this);
    line_->SetCaption("");
    line_->SetBevelOuter(bvNone);
    line_->SetColor(clBtnShadow);
    line_->FreeNotification(this);
    line_->SetParent(Parent());
  }
  const int w = std::max(2, (Vertical() ? Width() : Height()) - 2);
  if (Vertical()) line_->SetBounds(p.X, Top(), w, Height());
  else line_->SetBounds(Left(), p.Y, Width(), w);
  line_->SetVisible(true);
  line_->BringToFront();
}

void TExSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TPanel::MouseDown(button, shift, x, y);
  if (button != mbLeft || EffectiveAlign() == alNone || !Parent() || !first_ || !second_) return;
  dragging_ = true;
  start_ = last_ = ParentPoint(x, y);
  const TRect client = Parent()->ClientRect();
  area_ = Rect(client.Left + topLeft_, client.Top + topLeft_, client.Right - bottomRight_, client.Bottom - bottomRight_);
  savedShowHint_ = Application->ShowHint();
  Application->SetShowHint(false);
  if (TCustomForm* form = ParentForm()) {
    savedKeyDown_ = form->OnKeyDown;
    form->OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState s) {
      if (key == VK_ESCAPE) {
        CancelDrag();
        key = 0;
      } else if (savedKeyDown_) {
        savedKeyDown_(sender, key, s);
      }
    };
  }
  MoveLine(ClampToArea(start_, area_));
}

void TExSplitter::MouseMove(TShiftState shift, int x, int y) {
  TPanel::MouseMove(shift, x, y);
  if (!dragging_) return;
  const TPoint p = ParentPoint(x, y);
  bool allow = true;
  if (OnPosChanging) OnPosChanging(this, p.X, p.Y, allow);
  if (!allow) {
    SetCursor(crNoDrop);
    return;
  }
  const TPoint clamped = ClampToArea(p, area_);
  const bool beyond = Vertical() ? clamped.X != p.X : clamped.Y != p.Y;
  SetCursor(beyond ? crNoDrop : (Vertical() ? crHSplit : crVSplit));
  last_ = clamped;
  MoveLine(clamped);
}

void TExSplitter::EndDrag() {
  dragging_ = false;
  if (line_) line_->SetVisible(false);
  Application->SetShowHint(savedShowHint_);
  if (TCustomForm* form = ParentForm()) form->OnKeyDown = savedKeyDown_;
  savedKeyDown_ = nullptr;
  SetCursor(crDefault);
}

void TExSplitter::CancelDrag() {
  if (dragging_) EndDrag();
}

void TExSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TPanel::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  const TPoint p = last_;
  bool allow = true;
  if (OnPosChanging) OnPosChanging(this, p.X, p.Y, allow);
  EndDrag();
  if (!allow || !first_ || !second_) return;
  const bool vertical = Vertical();
  int delta = vertical ? p.X - start_.X : p.Y - start_.Y;
  // A first control right of or below the bar grows when the bar moves the other way.
  const TAlign a = SplitAlignOf(first_->BoundsRect(), second_->BoundsRect());
  if (a == alRight || a == alBottom) delta = -delta;
  if (vertical) first_->SetWidth(SplitResize(first_->Width(), second_->Width(), delta));
  else first_->SetHeight(SplitResize(first_->Height(), second_->Height(), delta));
  if (OnPosChanged) OnPosChanged(this);
}
