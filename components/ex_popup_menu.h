// TExPopupMenu: a popup menu whose items the component draws itself (styles with button-like
// selection, pictures from an image list or per item, a margin strip at the left) or lets the
// owner draw through events. Used as the base of the colour menu.
#pragma once

#include "platform/gui/graphics.h"
#include "platform/gui/menus.h"

enum TExMenuStyle { msStandard, msOwnerDraw, msBtnLowered, msBtnRaised };

class TExPopupMenu;
using TDrawMenuItemEvent = std::function<void(TObject* Sender, TMenuItem* Item, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureMenuItemEvent = std::function<void(TObject* Sender, TMenuItem* Item, int& Width, int& Height)>;
using TDrawMarginEvent = std::function<void(TObject* Sender, const TRect& Rect)>;
using TItemParamsEvent = std::function<void(TObject* Sender, TMenuItem* Item, TOwnerDrawState State, TFont* Font,
                                            TColor& Color, TBitmap*& Graphic, int& NumGlyphs)>;
using TItemImageEvent = std::function<void(TObject* Sender, TMenuItem* Item, TOwnerDrawState State, int& ImageIndex)>;

// Whether a menu of that style and image count needs owner drawing.
bool IsOwnerDrawMenu(TExMenuStyle style, int imageCount);
// The height of a menu line (the system's menu-bar height, less 2) and of a separator.
int MenuItemHeight();
int MenuSeparatorHeight(int dashTextHeight);
// The colours of the default margin: 32 bands from blue to a quarter of it.
inline constexpr TColor kMarginBegin = 0xFF0000, kMarginEnd = 0x3F0000;

class TExPopupMenu : public TPopupMenu {
  QM_CLASS(TExPopupMenu, TPopupMenu)
public:
  explicit TExPopupMenu(TComponent* owner);

  TExMenuStyle Style() const { return style_; }
  void SetStyle(TExMenuStyle s);
  int LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(int v) { leftMargin_ = std::max(0, v); }
  int MinTextOffset() const { return minTextOffset_; }
  void SetMinTextOffset(int v) { minTextOffset_ = std::max(0, v); }
  bool ShowCheckMarks() const { return showCheckMarks_; }
  void SetShowCheckMarks(bool v) { showCheckMarks_ = v; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c) { cursor_ = c; }
  bool IsOwnerDraw() const;
  // Owner drawing on exactly when the menu needs it.
  virtual void SetOwnerDrawMode();
  void Popup(int x, int y) override;

  // The item's parameters (OnGetItemParams; a separator never gets a graphic) and image index
  // (OnGetImageIndex, only with Images and for items that are no separator).
  void GetItemParams(TMenuItem* item, TOwnerDrawState state, TFont* font, TColor& color, TBitmap*& graphic,
                     int& numGlyphs);
  int GetImageIndex(TMenuItem* item, TOwnerDrawState state);

  void DrawMenuItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) override;
  void MeasureMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) override;

  TDrawMenuItemEvent OnDrawItem;
  TMeasureMenuItemEvent OnMeasureItem;
  TDrawMarginEvent OnDrawMargin;
  TItemParamsEvent OnGetItemParams;
  TItemImageEvent OnGetImageIndex;

protected:
  void Loaded() override;
  // Draws one item into `rect` (the margin already left out); the canvas is set up.
  virtual void DrawItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
  virtual void DrawMargin(TCanvas* canvas, const TRect& rect);
  // The default picture of an item: check mark, picture, caption and shortcut, or a separator.
  void DefaultDrawItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state, int imageIndex,
                       TBitmap* graphic);

private:
  bool TopLevel(TMenuItem* item) const { return item->Parent() == Items(); }
  TExMenuStyle style_ = msStandard;
  int leftMargin_ = 0, minTextOffset_ = 0;
  bool showCheckMarks_ = true;
  TCursor cursor_ = crDefault;
};
