// The controls of a toolbar: TFlatToolbarButton (a flat glyph button that can drop a menu down
// from all of it or from an arrow part 11 pixels wide), TFlatToolbarSep (a separator that also
// breaks a floating toolbar into lines) and TFlatEdit (a flat edit framed only while in use).
#pragma once

#include "components/glyph_button.h"
#include "platform/gui/std_controls.h"

enum TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };
inline constexpr int kDropdownArrowWidth = 11;

class TFlatToolbarButton : public TGlyphButton {
  QM_CLASS(TFlatToolbarButton, TGlyphButton)
public:
  explicit TFlatToolbarButton(TComponent* owner);
  // Only the arrow part at the right opens the menu; switching it on widens the button by 11,
  // off narrows it by 11 (at least to 1); setting the value it has changes nothing.
  bool DropdownCombo() const { return dropdownCombo_; }
  void SetDropdownCombo(bool v);
  bool DropdownArrow() const { return dropdownArrow_; }
  void SetDropdownArrow(bool v);
  TButtonDisplayMode DisplayMode() const { return displayMode_; }
  void SetDisplayMode(TButtonDisplayMode v);
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool v);
  bool OldDisabledStyle() const { return ButtonGlyph().OldDisabledStyle(); }
  void SetOldDisabledStyle(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // Follows the action; with no glyph of its own the button takes the action's image.
  void ActionChanged() override;
  // The caption's accelerator clicks the button while its caption is shown.
  bool ClicksOnAccelerator() const override;
  // One of the program's own glyphs by name (see toolbar_glyphs.h), drawn when the button is
  // first painted or its glyph is asked for.
  const std::string& GlyphName() const { return glyphName_; }
  void SetGlyphName(const std::string& name);
  TBitmap* Glyph();
  void SetGlyph(const TBitmap& bitmap);
  // Where the menu opens: below at the left edge; on a toolbar docked right, left of the button
  // (right-aligned at its top-left); docked left, at its top-right.
  TPoint MenuPoint(bool& alignRight) const override;

protected:
  bool InMenuPart(int x) const override;
  TRect ButtonRect() const override;
  bool ShowsGlyph() const override { return displayMode_ != dmTextOnly; }
  bool ShowsText() const override { return displayMode_ != dmGlyphOnly; }
  bool WrapsText() const override { return wordWrap_; }
  void Paint() override;

private:
  const TButtonGlyph& ButtonGlyph() const { return const_cast<TFlatToolbarButton*>(this)->TGlyphButton::ButtonGlyph(); }
  bool dropdownCombo_ = false, dropdownArrow_ = true, opaque_ = true, wordWrap_ = false;
  TButtonDisplayMode displayMode_ = dmBoth;
  // Draws the named glyph once it is needed.
  void DrawNamedGlyph();
  std::string glyphName_;
  bool glyphPending_ = false;
};

class TFlatToolbarSep : public TGraphicControl {
  QM_CLASS(TFlatToolbarSep, TGraphicControl)
public:
  explicit TFlatToolbarSep(TComponent* owner);
  int SizeHorz() const { return sizeHorz_; }
  void SetSizeHorz(int v);
  int SizeVert() const { return sizeVert_; }
  void SetSizeVert(int v);
  bool Blank() const { return blank_; }
  void SetBlank(bool v);
  void SetParent(TWinControl* parent) override;

protected:
  void Paint() override;

private:
  void Relayout();
  int sizeHorz_ = 6, sizeVert_ = 6;
  bool blank_ = false;
};

class TFlatEdit : public TEdit {
  QM_CLASS(TFlatEdit, TEdit)
public:
  explicit TFlatEdit(TComponent* owner);
  // The font's text height + 6.
  int FittingHeight() const;
  // Whether the border shows the edit in use: focused, or under the mouse while no other flat
  // edit has the focus.
  bool InUse() const;

protected:
  void Loaded() override;
  void FontChanged() override;
  void EnabledChanged() override;
  void WndProc(TMessage& message) override;
  void DoEnter() override;
  void DoExit() override;
  // Three pixels: flat (two button-face rings, a window-colour ring) or, in use, a sunken edge,
  // a button-face ring and a window-colour ring.
  void PaintBorder(TCanvas& canvas) override;

private:
  bool mouseIn_ = false;
};
