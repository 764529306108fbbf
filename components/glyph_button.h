// TGlyphButton: the graphic button the toolbar button and the speed button share: glyph strip
// and caption placed by Layout, Margin and Spacing; toggle groups among the buttons of one
// parent; a flat look lit while the mouse is over it (only while the application is active);
// a drop-down menu opened on the press.
#pragma once

#include "components/button_glyph.h"
#include "platform/gui/control.h"

class TPopupMenu;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the glyph and the text go inside `r`: centred with Margin -1, else Margin pixels from
// the edge; Spacing pixels between them.
struct TButtonContent {
  TPoint Glyph;
  TRect Text;
};
TButtonContent ButtonContentLayout(const TRect& r, int glyphW, int glyphH, int textW, int textH, TButtonLayout layout,
                                   int margin, int spacing);

class TGlyphButton : public TGraphicControl {
  QM_CLASS(TGlyphButton, TGraphicControl)
public:
  explicit TGlyphButton(TComponent* owner);
  ~TGlyphButton() override;

  TBitmap* Glyph() { return &glyph_.Glyph(); }
  void SetGlyph(const TBitmap& bitmap);
  int NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  // Pixels from the edge, -1 centred; values below -1 are refused.
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TPopupMenu* DropdownMenu() const { return menu_; }
  void SetDropdownMenu(TPopupMenu* menu);
  TButtonState State() const { return state_; }
  bool MouseInControl() const { return mouseIn_; }
  TButtonGlyph& ButtonGlyph() { return glyph_; }

  void Click() override;
  // What a mouse click on the button does: a grouped button toggles (as its group allows), then Click.
  void Press();

  TNotifyEvent OnMouseEnter, OnMouseExit;

protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void EnabledChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  bool ClickOnMouseUp() const override { return false; }
  // Whether a press at x opens the menu (with a menu: everywhere, by default).
  virtual bool InMenuPart(int x) const;
  // Where the menu opens, in screen coordinates, and its alignment.
  virtual TPoint MenuPoint(bool& alignRight) const;
  // Opens the drop-down menu.
  void ShowMenu();
  virtual void MouseEnter();
  virtual void MouseExit();
  // Whether the glyph and the caption are shown (both by default).
  virtual bool ShowsGlyph() const { return true; }
  virtual bool ShowsText() const { return true; }
  // The part of the client the frame and content use (the whole client by default).
  virtual TRect ButtonRect() const { return ClientRect(); }
  // Whether the caption breaks into lines at word ends (one line by default).
  virtual bool WrapsText() const { return false; }
  bool pressedInMenu_ = false;

private:
  // Tells the other buttons of the parent that this one went down (or changed its group).
  void NotifyGroup();
  void GroupChanged(TGlyphButton* sender);

  TButtonGlyph glyph_;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1, spacing_ = 4, groupIndex_ = 0;
  bool down_ = false, allowAllUp_ = false, flat_ = true, mouseIn_ = false, dragging_ = false;
  TButtonState state_ = bsUp;
  TPopupMenu* menu_ = nullptr;
};
