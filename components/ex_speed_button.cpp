#include "components/ex_speed_button.h"

#include "platform/gui/timer.h"

QM_CLASS_INFO(TExSpeedButton, TGlyphButton, [](TClassBuilder<TExSpeedButton>& b) {
  using C = TExSpeedButton;
  b.Boolean("AllowTimer", &C::AllowTimer, &C::SetAllowTimer)
      .Enum<TExDropDownMenuPos>("MenuPosition", {"dmpBottom", "dmpRight"}, &C::MenuPosition, &C::SetMenuPosition)
      .Boolean("MarkDropDown", &C::MarkDropDown, &C::SetMarkDropDown);
})

TExSpeedButton::TExSpeedButton(TComponent* owner) : TGlyphButton(owner) {
  SetBounds(0, 0, 25, 25);
  SetShowHint(true);
  timer_ = new TTimer(this);
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { RepeatTick(); };
}

void TExSpeedButton::SetAllowTimer(bool v) {
  allowTimer_ = v;
  if (!v) timer_->SetEnabled(false);
}

unsigned TExSpeedButton::RepeatInterval() const { return timer_->Enabled() ? timer_->Interval() : 0; }

void TExSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGlyphButton::MouseDown(button, shift, x, y);
  held_ = button == mbLeft && Enabled() && State() == bsDown;
  if (held_ && allowTimer_) {
    timer_->SetInterval(500);
    timer_->SetEnabled(true);
  }
}

void TExSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  timer_->SetEnabled(false);
  held_ = false;
  TGlyphButton::MouseUp(button, shift, x, y);
}

void TExSpeedButton::RepeatTick() {
  if (timer_->Interval() != 100) timer_->SetInterval(100);
  if (!held_ || State() != bsDown) return;
  // A click handler may run a dialog: the timer waits for it rather than clicking again.
  timer_->SetEnabled(false);
  Click();
  if (held_ && allowTimer_) timer_->SetEnabled(true);
}

TPoint TExSpeedButton::MenuPoint(bool& alignRight) const {
  alignRight = false;
  auto* self = const_cast<TExSpeedButton*>(this);
  return menuPosition_ == dmpRight ? self->ClientToScreen(Point(Width(), 0)) : self->ClientToScreen(Point(0, Height()));
}
