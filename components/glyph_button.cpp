#include "components/glyph_button.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/menus.h"

QM_CLASS_INFO(TGlyphButton, TGraphicControl, [](TClassBuilder<TGlyphButton>& b) {
  using C = TGlyphButton;
  b.Object("Glyph", &C::Glyph)
      .Integer("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
      .Enum<TButtonLayout>("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, &C::Layout,
                           &C::SetLayout)
      .Integer("Margin", &C::Margin, &C::SetMargin)
      .Integer("Spacing", &C::Spacing, &C::SetSpacing)
      .Integer("GroupIndex", &C::GroupIndex, &C::SetGroupIndex)
      .Boolean("Down", &C::Down, &C::SetDown)
      .Boolean("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp)
      .Boolean("Flat", &C::Flat, &C::SetFlat)
      .Component<TPopupMenu>("DropdownMenu", &C::DropdownMenu, &C::SetDropdownMenu)
      .Event("OnMouseEnter", &C::OnMouseEnter)
      .Event("OnMouseExit", &C::OnMouseExit);
})

TButtonContent ButtonContentLayout(const TRect& r, int glyphW, int glyphH, int textW, int textH, TButtonLayout layout,
                                   int margin, int spacing) {
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  if (glyphW == 0 || textW == 0) spacing = 0;
  const int totalW = horizontal ? glyphW + spacing + textW : std::max(glyphW, textW);
  const int totalH = horizontal ? std::max(glyphH, textH) : glyphH + spacing + textH;
  int x = r.Left + (r.Width() - totalW) / 2, y = r.Top + (r.Height() - totalH) / 2;
  if (margin >= 0) {
    if (layout == blGlyphLeft) x = r.Left + margin;
    else if (layout == blGlyphRight) x = r.Right - margin - totalW;
    else if (layout == blGlyphTop) y = r.Top + margin;
    else y = r.Bottom - margin - totalH;
  }
  TButtonContent c;
  switch (layout) {
    case blGlyphLeft:
      c.Glyph = {x, r.Top + (r.Height() - glyphH) / 2};
      c.Text = Bounds(x + glyphW + spacing, r.Top + (r.Height() - textH) / 2, textW, textH);
      break;
    case blGlyphRight:
      c.Text = Bounds(x, r.Top + (r.Height() - textH) / 2, textW, textH);
      c.Glyph = {x + textW + spacing, r.Top + (r.Height() - glyphH) / 2};
      break;
    case blGlyphTop:
      c.Glyph = {r.Left + (r.Width() - glyphW) / 2, y};
      c.Text = Bounds(r.Left + (r.Width() - textW) / 2, y + glyphH + spacing, textW, textH);
      break;
    case blGlyphBottom:
      c.Text = Bounds(r.Left + (r.Width() - textW) / 2, y, textW, textH);
      c.Glyph = {r.Left + (r.Width() - glyphW) / 2, y + textH + spacing};
      break;
  }
  return c;
}

TGlyphButton::TGlyphButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

TGlyphButton::~TGlyphButton() { SetDropdownMenu(nullptr); }

void TGlyphButton::SetGlyph(const TBitmap& bitmap) {
  glyph_.SetGlyph(bitmap);
  Invalidate();
}

void TGlyphButton::SetNumGlyphs(int v) {
  glyph_.SetNumGlyphs(v);
  Invalidate();
}

void TGlyphButton::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}

void TGlyphButton::SetMargin(int v) {
  if (v < -1) throw EInvalidOperation("Margin must be -1 or more");
  margin_ = v;
  Invalidate();
}

void TGlyphButton::SetSpacing(int v) {
  spacing_ = v;
  Invalidate();
}

void TGlyphButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TGlyphButton::SetDropdownMenu(TPopupMenu* menu) {
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  Invalidate();
}

void TGlyphButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == menu_) menu_ = nullptr;
}

void TGlyphButton::SetGroupIndex(int v) {
  groupIndex_ = v;
  if (groupIndex_ == 0) down_ = false;
  NotifyGroup();
}

void TGlyphButton::SetAllowAllUp(bool v) {
  allowAllUp_ = v;
  NotifyGroup();
}

void TGlyphButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  if (down_ && !allowAllUp_) return;  // the down button of a group stays down
  down_ = v;
  state_ = v ? bsExclusive : (Enabled() ? bsUp : bsDisabled);
  Invalidate();
  if (v) NotifyGroup();
}

void TGlyphButton::NotifyGroup() {
  if (groupIndex_ == 0 || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TGlyphButton*>(Parent()->Controls(i)); other && other != this)
      other->GroupChanged(this);
}

void TGlyphButton::GroupChanged(TGlyphButton* sender) {
  if (sender->groupIndex_ != groupIndex_) return;
  if (sender->down_ && down_) {
    down_ = false;
    state_ = Enabled() ? bsUp : bsDisabled;
    Invalidate();
  }
  allowAllUp_ = sender->allowAllUp_;
}

void TGlyphButton::EnabledChanged() {
  TGraphicControl::EnabledChanged();
  state_ = Enabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
  if (!Enabled()) mouseIn_ = false;
  Invalidate();
}

void TGlyphButton::WndProc(TMessage& message) {
  if (message.Msg == CM_MOUSEENTER) MouseEnter();
  else if (message.Msg == CM_MOUSELEAVE) MouseExit();
  TGraphicControl::WndProc(message);
}

void TGlyphButton::MouseEnter() {
  // An inactive application lights nothing up.
  if (mouseIn_ || !Enabled() || !Application->Active()) return;
  mouseIn_ = true;
  if (state_ == bsUp) state_ = bsMouseIn;
  Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TGlyphButton::MouseExit() {
  if (!mouseIn_) return;
  mouseIn_ = false;
  if (state_ == bsMouseIn) state_ = bsUp;
  Invalidate();
  if (OnMouseExit) OnMouseExit(this);
}

bool TGlyphButton::InMenuPart(int) const { return menu_ != nullptr; }

TPoint TGlyphButton::MenuPoint(bool& alignRight) const {
  alignRight = false;
  return const_cast<TGlyphButton*>(this)->ClientToScreen(Point(0, Height()));
}

void TGlyphButton::ShowMenu() {
  if (!menu_) return;
  bool right = false;
  const TPoint p = MenuPoint(right);
  const TPopupAlignment saved = menu_->Alignment();
  menu_->SetAlignment(right ? TPopupAlignment::paRight : TPopupAlignment::paLeft);
  menu_->SetPopupComponent(this);
  Application->SetHint("");
  menu_->Popup(p.X, p.Y);
  menu_->SetAlignment(saved);
}

void TGlyphButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (!mouseIn_) MouseEnter();
  pressedInMenu_ = InMenuPart(x);
  if (!down_) state_ = bsDown;
  Invalidate();
  if (pressedInMenu_) {
    // The menu opens on the press; the press ends there.
    Click();
    state_ = down_ ? bsExclusive : (mouseIn_ ? bsMouseIn : bsUp);
    pressedInMenu_ = false;
    Invalidate();
    return;
  }
  dragging_ = true;
}

void TGlyphButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  const bool inside = ClientRect().Contains(Point(x, y));
  const TButtonState s = down_ ? bsExclusive : inside ? bsDown : bsUp;
  if (s != state_) {
    state_ = s;
    Invalidate();
  }
}

void TGlyphButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !dragging_) return;
  dragging_ = false;
  const bool inside = ClientRect().Contains(Point(x, y));
  if (inside && groupIndex_ != 0) SetDown(!down_);
  state_ = down_ ? bsExclusive : (mouseIn_ ? bsMouseIn : bsUp);
  if (!Enabled()) state_ = bsDisabled;
  Invalidate();
  if (inside) Click();
}

void TGlyphButton::Click() {
  // With a menu a click opens it, unless the button has an arrow part of its own and the
  // press was elsewhere.
  if (menu_ && (pressedInMenu_ || InMenuPart(-1))) {
    ShowMenu();
    return;
  }
  TGraphicControl::Click();
}

void TGlyphButton::Press() {
  if (groupIndex_ != 0) SetDown(!down_);
  Click();
}

void TGlyphButton::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ButtonRect();
  const bool pressed = state_ == bsDown || state_ == bsExclusive;
  const bool framed = !flat_ || pressed || (mouseIn_ && state_ != bsDisabled);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  TRect inner = r;
  if (framed) Frame3D(*c, inner, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow, 1);
  if (pressed) {
    inner.Left += 1;
    inner.Top += 1;
  }
  const std::string caption = ShowsText() ? StripHotkey(Caption()) : std::string();
  const bool glyph = ShowsGlyph() && !glyph_.Empty();
  const unsigned textFlags = WrapsText() ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE;
  int tw = 0, th = 0;
  if (!caption.empty() && WrapsText()) {
    // Measured with word breaks in the room the glyph leaves beside it.
    const bool beside = glyph && (layout_ == blGlyphLeft || layout_ == blGlyphRight);
    TRect measure = Rect(0, 0, std::max(1, inner.Width() - 4 - (beside ? glyph_.GlyphWidth() + spacing_ : 0)), 0);
    c->DrawText(caption, measure, textFlags | DT_CALCRECT);
    tw = measure.Width();
    th = measure.Height();
  } else if (!caption.empty()) {
    tw = c->TextWidth(caption);
    th = c->TextHeight(caption);
  }
  const TButtonContent content =
      ButtonContentLayout(inner, glyph ? glyph_.GlyphWidth() : 0, glyph ? glyph_.GlyphHeight() : 0, tw, th, layout_,
                          margin_, spacing_);
  if (glyph) glyph_.Draw(*c, content.Glyph.X, content.Glyph.Y, Enabled() ? state_ : bsDisabled);
  if (!caption.empty()) {
    c->Brush()->SetStyle(bsClear);
    TRect text = content.Text;
    if (!Enabled()) {
      c->Font()->SetColor(clBtnHighlight);
      TRect shadow = Bounds(text.Left + 1, text.Top + 1, text.Width(), text.Height());
      c->DrawText(caption, shadow, textFlags);
      c->Font()->SetColor(clBtnShadow);
    } else {
      c->Font()->SetColor(Font() ? Font()->Color() : clBtnText);
    }
    c->DrawText(caption, text, textFlags);
    c->Brush()->SetStyle(bsSolid);
  }
}
