#include "components/toolbar_controls.h"

#include <algorithm>

#include "components/flat_dock.h"
#include "components/toolbar_glyphs.h"
#include "platform/exceptions.h"
#include "platform/gui/form.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"

QM_CLASS_INFO(TFlatToolbarButton, TGlyphButton, [](TClassBuilder<TFlatToolbarButton>& b) {
  using C = TFlatToolbarButton;
  b.Boolean("DropdownCombo", &C::DropdownCombo, &C::SetDropdownCombo)
      .Boolean("DropdownArrow", &C::DropdownArrow, &C::SetDropdownArrow)
      .Enum<TButtonDisplayMode>("DisplayMode", {"dmBoth", "dmGlyphOnly", "dmTextOnly"}, &C::DisplayMode,
                                &C::SetDisplayMode)
      .Boolean("Opaque", &C::Opaque, &C::SetOpaque)
      .Boolean("OldDisabledStyle", &C::OldDisabledStyle, &C::SetOldDisabledStyle)
      .Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap)
      .String("GlyphName", &C::GlyphName, &C::SetGlyphName);
})

QM_CLASS_INFO(TFlatToolbarSep, TGraphicControl, [](TClassBuilder<TFlatToolbarSep>& b) {
  using C = TFlatToolbarSep;
  b.Integer("SizeHorz", &C::SizeHorz, &C::SetSizeHorz)
      .Integer("SizeVert", &C::SizeVert, &C::SetSizeVert)
      .Boolean("Blank", &C::Blank, &C::SetBlank);
})

QM_CLASS_INFO(TFlatEdit, TEdit, [](TClassBuilder<TFlatEdit>&) {})

// --- TFlatToolbarButton ------------------------------------------------------------------------

TFlatToolbarButton::TFlatToolbarButton(TComponent* owner) : TGlyphButton(owner) { SetBounds(0, 0, 23, 22); }

void TFlatToolbarButton::SetDropdownCombo(bool v) {
  if (v == dropdownCombo_) return;
  dropdownCombo_ = v;
  SetWidth(v ? Width() + kDropdownArrowWidth : std::max(1, Width() - kDropdownArrowWidth));
}

void TFlatToolbarButton::SetDropdownArrow(bool v) {
  dropdownArrow_ = v;
  Invalidate();
}

void TFlatToolbarButton::SetDisplayMode(TButtonDisplayMode v) {
  displayMode_ = v;
  Invalidate();
}

void TFlatToolbarButton::SetOpaque(bool v) {
  opaque_ = v;
  Invalidate();
}

void TFlatToolbarButton::SetWordWrap(bool v) {
  wordWrap_ = v;
  Invalidate();
}

void TFlatToolbarButton::ActionChanged() {
  TGlyphButton::ActionChanged();
  auto* action = dynamic_cast<TAction*>(Action());
  TImageList* images = action && action->ActionList() ? action->ActionList()->Images() : nullptr;
  if (!images || glyphPending_ || !Glyph()->Empty() || action->ImageIndex() < 0 || action->ImageIndex() >= images->Count()) return;
  // The image on fuchsia, the colour a glyph shows through.
  TBitmap bitmap(images->Width(), images->Height());
  bitmap.Canvas()->Brush()->SetColor(clFuchsia);
  bitmap.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
  images->Draw(bitmap.Canvas(), 0, 0, action->ImageIndex());
  SetGlyph(bitmap);
}

bool TFlatToolbarButton::ClicksOnAccelerator() const { return displayMode_ != dmGlyphOnly; }

void TFlatToolbarButton::SetOldDisabledStyle(bool v) {
  TGlyphButton::ButtonGlyph().SetOldDisabledStyle(v);
  Invalidate();
}

void TFlatToolbarButton::SetGlyphName(const std::string& name) {
  const auto& names = ToolbarGlyphNames();
  if (std::find(names.begin(), names.end(), name) == names.end())
    throw EInvalidOperation("No toolbar glyph is named '" + name + "'");
  glyphName_ = name;
  glyphPending_ = true;
  Invalidate();
}

void TFlatToolbarButton::DrawNamedGlyph() {
  if (!glyphPending_) return;
  glyphPending_ = false;
  TBitmap bitmap;
  DrawToolbarGlyph(glyphName_, bitmap);
  TGlyphButton::ButtonGlyph().SetGlyph(bitmap);
}

TBitmap* TFlatToolbarButton::Glyph() {
  DrawNamedGlyph();
  return TGlyphButton::Glyph();
}

void TFlatToolbarButton::SetGlyph(const TBitmap& bitmap) {
  glyphPending_ = false;
  TGlyphButton::SetGlyph(bitmap);
}

bool TFlatToolbarButton::InMenuPart(int x) const {
  if (!DropdownMenu()) return false;
  return !dropdownCombo_ || x >= Width() - kDropdownArrowWidth;
}

TRect TFlatToolbarButton::ButtonRect() const {
  TRect r = ClientRect();
  if (dropdownCombo_ && DropdownMenu()) r.Right -= kDropdownArrowWidth;
  return r;
}

TPoint TFlatToolbarButton::MenuPoint(bool& alignRight) const {
  auto* self = const_cast<TFlatToolbarButton*>(this);
  alignRight = false;
  auto* bar = dynamic_cast<TFlatToolbar*>(Parent());
  TFlatDock* dock = bar ? bar->DockedTo() : nullptr;
  if (dock && dock->Position() == dpRight) {
    alignRight = true;
    return self->ClientToScreen(Point(0, 0));
  }
  if (dock && dock->Position() == dpLeft) return self->ClientToScreen(Point(Width(), 0));
  return self->ClientToScreen(Point(0, Height()));
}

void TFlatToolbarButton::Paint() {
  DrawNamedGlyph();
  TGlyphButton::Paint();
  TCanvas* c = Canvas();
  if (dropdownCombo_ && DropdownMenu()) {
    TRect part = Rect(Width() - kDropdownArrowWidth, 0, Width(), Height());
    if (MouseInControl() || !Flat()) Frame3D(*c, part, clBtnHighlight, clBtnShadow, 1);
  }
  if (DropdownMenu() && (dropdownArrow_ || dropdownCombo_)) {
    const int x = dropdownCombo_ ? Width() - 8 : Width() - 7, y = Height() / 2;
    c->Pen()->SetColor(Enabled() ? clBtnText : clBtnShadow);
    for (int k = 0; k < 3; ++k) {
      c->MoveTo(x - 2 + k, y - 1 + k);
      c->LineTo(x + 3 - k, y - 1 + k);
    }
  }
}

// --- TFlatToolbarSep ---------------------------------------------------------------------------

TFlatToolbarSep::TFlatToolbarSep(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 6, 22);
  SetMouseTransparent(true);  // a press on a separator is its toolbar's: it starts a drag
}

void TFlatToolbarSep::SetParent(TWinControl* parent) {
  if (parent && !dynamic_cast<TFlatToolbar*>(parent))
    throw EInvalidOperation("TFlatToolbarSep can only be placed on a TFlatToolbar");
  TGraphicControl::SetParent(parent);
}

void TFlatToolbarSep::Relayout() {
  if (auto* bar = dynamic_cast<TFlatToolbar*>(Parent())) {
    bar->ArrangeControls();
    if (bar->DockedTo()) bar->DockedTo()->ArrangeToolbars();
  }
}

void TFlatToolbarSep::SetSizeHorz(int v) {
  sizeHorz_ = std::max(0, v);
  Relayout();
}

void TFlatToolbarSep::SetSizeVert(int v) {
  sizeVert_ = std::max(0, v);
  Relayout();
}

void TFlatToolbarSep::SetBlank(bool v) {
  blank_ = v;
  Invalidate();
}

void TFlatToolbarSep::Paint() {
  if (blank_) return;
  TCanvas* c = Canvas();
  auto* bar = dynamic_cast<TFlatToolbar*>(Parent());
  const bool across = bar && bar->DockedTo() && bar->DockedTo()->DockType() == dtLeftRight;
  if (across) {
    const int y = Height() / 2 - 1;
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(0, y);
    c->LineTo(Width(), y);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(0, y + 1);
    c->LineTo(Width(), y + 1);
  } else {
    const int x = Width() / 2 - 1;
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(x, 0);
    c->LineTo(x, Height());
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(x + 1, 0);
    c->LineTo(x + 1, Height());
  }
}

// --- TFlatEdit ---------------------------------------------------------------------------------

TFlatEdit::TFlatEdit(TComponent* owner) : TEdit(owner) {
  SetHeight(19);
  SetOwnBorder(3);
}

bool TFlatEdit::InUse() const {
  if (Focused()) return true;
  if (!mouseIn_) return false;
  TCustomForm* form = ParentForm();
  return !form || !dynamic_cast<TFlatEdit*>(form->ActiveControl()) || !form->ActiveControl()->Focused();
}

void TFlatEdit::WndProc(TMessage& message) {
  if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
    mouseIn_ = message.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TEdit::WndProc(message);
}

void TFlatEdit::DoEnter() {
  TEdit::DoEnter();
  Invalidate();
}

void TFlatEdit::DoExit() {
  TEdit::DoExit();
  Invalidate();
}

void TFlatEdit::PaintBorder(TCanvas& canvas) {
  TRect r = Rect(0, 0, Width(), Height());
  if (InUse()) Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
  else Frame3D(canvas, r, clBtnFace, clBtnFace, 1);
  Frame3D(canvas, r, clBtnFace, clBtnFace, 1);
  Frame3D(canvas, r, clWindow, clWindow, 1);
}

int TFlatEdit::FittingHeight() const {
  TBitmap measure(1, 1);
  measure.Canvas()->Font()->Assign(*Font());
  return measure.Canvas()->TextHeight("Wg") + 6;
}

void TFlatEdit::Loaded() {
  TEdit::Loaded();
  SetHeight(FittingHeight());
}

void TFlatEdit::FontChanged() {
  TEdit::FontChanged();
  if (!(ComponentState() & csLoading)) SetHeight(FittingHeight());
}

void TFlatEdit::EnabledChanged() {
  TEdit::EnabledChanged();
  SetColor(Enabled() ? clWindow : clBtnFace);
}
