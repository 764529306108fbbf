#include "components/ex_popup_menu.h"

#include <algorithm>

#include "components/draw_utils.h"
#include "platform/gui/image_list.h"

QM_CLASS_INFO(TExPopupMenu, TPopupMenu, [](TClassBuilder<TExPopupMenu>& b) {
  using C = TExPopupMenu;
  b.Enum<TExMenuStyle>("Style", {"msStandard", "msOwnerDraw", "msBtnLowered", "msBtnRaised"}, &C::Style, &C::SetStyle)
      .Integer("LeftMargin", &C::LeftMargin, &C::SetLeftMargin)
      .Integer("MinTextOffset", &C::MinTextOffset, &C::SetMinTextOffset)
      .Boolean("ShowCheckMarks", &C::ShowCheckMarks, &C::SetShowCheckMarks)
      .Integer("Cursor", &C::Cursor, &C::SetCursor)
      .Event("OnDrawItem", &C::OnDrawItem)
      .Event("OnMeasureItem", &C::OnMeasureItem)
      .Event("OnDrawMargin", &C::OnDrawMargin)
      .Event("OnGetItemParams", &C::OnGetItemParams)
      .Event("OnGetImageIndex", &C::OnGetImageIndex);
})

namespace {

constexpr int kCheckWidth = 15;                      // the check mark's width
constexpr int kGap = (kCheckWidth * 3 + 5) / 10;     // 0.3 of it, rounded
constexpr int kMenuBarHeight = 20;                   // the system's menu-bar height

}  // namespace

bool IsOwnerDrawMenu(TExMenuStyle style, int imageCount) { return style != msStandard || imageCount > 0; }

int MenuItemHeight() { return kMenuBarHeight - 2; }

int MenuSeparatorHeight(int dashTextHeight) { return std::max(dashTextHeight / 2, 9); }

TExPopupMenu::TExPopupMenu(TComponent* owner) : TPopupMenu(owner) {}

bool TExPopupMenu::IsOwnerDraw() const { return IsOwnerDrawMenu(style_, Images() ? Images()->Count() : 0); }

void TExPopupMenu::SetOwnerDrawMode() { SetOwnerDraw(IsOwnerDraw()); }

void TExPopupMenu::SetStyle(TExMenuStyle s) {
  style_ = s;
  SetOwnerDrawMode();
}

void TExPopupMenu::Loaded() {
  TPopupMenu::Loaded();
  SetOwnerDrawMode();
}

void TExPopupMenu::Popup(int x, int y) {
  SetOwnerDrawMode();
  TPopupMenu::Popup(x, y);
}

void TExPopupMenu::GetItemParams(TMenuItem* item, TOwnerDrawState state, TFont* font, TColor& color,
                                 TBitmap*& graphic, int& numGlyphs) {
  color = clNone;
  graphic = nullptr;
  numGlyphs = 1;
  if (OnGetItemParams) OnGetItemParams(this, item, state, font, color, graphic, numGlyphs);
  if (item->IsLine()) graphic = nullptr;
}

int TExPopupMenu::GetImageIndex(TMenuItem* item, TOwnerDrawState state) {
  int index = item->ImageIndex();
  if (Images() && !item->IsLine() && OnGetImageIndex) OnGetImageIndex(this, item, state, index);
  return index;
}

void TExPopupMenu::DrawMargin(TCanvas* canvas, const TRect& rect) {
  if (OnDrawMargin) {
    OnDrawMargin(this, rect);
    return;
  }
  TRect bands = rect;
  bands.Right -= 3;
  FillGradientBands(*canvas, bands, kMarginBegin, kMarginEnd, gdTopToBottom, 32);
  canvas->Pen()->SetColor(clBtnShadow);
  canvas->MoveTo(rect.Right - 2, rect.Top);
  canvas->LineTo(rect.Right - 2, rect.Bottom);
  canvas->Pen()->SetColor(clBtnHighlight);
  canvas->MoveTo(rect.Right - 1, rect.Top);
  canvas->LineTo(rect.Right - 1, rect.Bottom);
}

void TExPopupMenu::DrawMenuItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  TRect r = rect;
  if (TopLevel(item) && leftMargin_ > 0) {
    DrawMargin(canvas, Rect(rect.Left, rect.Top, rect.Left + leftMargin_, rect.Bottom));
    r.Left += leftMargin_ + 1;
  }
  canvas->Font()->SetColor(clMenuText);
  canvas->Brush()->SetColor(clMenu);
  if (item->Default()) canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
  if ((state & odSelected) && style_ != msBtnLowered && style_ != msBtnRaised) {
    canvas->Brush()->SetColor(clHighlight);
    canvas->Font()->SetColor(clHighlightText);
  }
  DrawItem(item, canvas, r, state);
}

void TExPopupMenu::DrawItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  TColor color = clNone;
  TBitmap* graphic = nullptr;
  int numGlyphs = 1;
  GetItemParams(item, state, canvas->Font(), color, graphic, numGlyphs);
  if (color != clNone) canvas->Brush()->SetColor(color);
  canvas->FillRect(rect);
  if (OnDrawItem) OnDrawItem(this, item, rect, state);
  else DefaultDrawItem(item, canvas, rect, state, GetImageIndex(item, state), graphic);
}

void TExPopupMenu::DefaultDrawItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state,
                                   int imageIndex, TBitmap* graphic) {
  if (item->IsLine()) {
    const int y = (rect.Top + rect.Bottom) / 2 - 1;
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->MoveTo(rect.Left, y);
    canvas->LineTo(rect.Right, y);
    canvas->Pen()->SetColor(clBtnHighlight);
    canvas->MoveTo(rect.Left, y + 1);
    canvas->LineTo(rect.Right, y + 1);
    return;
  }
  const bool selected = state & odSelected;
  if (selected && (style_ == msBtnLowered || style_ == msBtnRaised)) {
    TRect frame = rect;
    Frame3D(*canvas, frame, style_ == msBtnLowered ? clBtnShadow : clBtnHighlight,
            style_ == msBtnLowered ? clBtnHighlight : clBtnShadow, 1);
  }
  int x = rect.Left + 2 * kGap + (showCheckMarks_ ? kCheckWidth : 2);
  if (item->Checked() && showCheckMarks_) {
    TRect mark = Rect(rect.Left + kGap, rect.Top, rect.Left + kGap + kCheckWidth, rect.Bottom);
    TRect text = mark;
    canvas->DrawText(item->RadioItem() ? "\x95" : "v", text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (Images() && imageIndex >= 0 && imageIndex < Images()->Count()) {
    Images()->Draw(canvas, x, rect.Top + (rect.Height() - Images()->Height()) / 2, imageIndex, !(state & odDisabled));
    x += Images()->Width() + kGap;
  } else if (graphic && !graphic->Empty()) {
    canvas->Draw(x, rect.Top + (rect.Height() - graphic->Height()) / 2, *graphic);
    x += graphic->Width() + kGap;
  } else if (minTextOffset_ > 0) {
    x += minTextOffset_ + kGap;
  }
  const TColor textColor = canvas->Font()->Color();
  canvas->Brush()->SetStyle(bsClear);
  TRect textRect = Rect(x, rect.Top, rect.Right - 4, rect.Bottom);
  if (state & odDisabled) {
    canvas->Font()->SetColor(clBtnHighlight);
    TRect shadow = Rect(x + 1, rect.Top + 1, rect.Right - 3, rect.Bottom + 1);
    if (!selected) canvas->DrawText(item->Caption(), shadow, DT_SINGLELINE | DT_VCENTER);
    canvas->Font()->SetColor(selected ? clGrayText : clBtnShadow);
  }
  canvas->DrawText(item->Caption(), textRect, DT_SINGLELINE | DT_VCENTER);
  if (item->ShortCut() && item->Count() == 0) {
    TRect sc = textRect;
    canvas->DrawText(ShortCutToText(item->ShortCut()), sc, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  canvas->Font()->SetColor(textColor);
  canvas->Brush()->SetStyle(bsSolid);
}

void TExPopupMenu::MeasureMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
  if (item->Default()) canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
  TColor color = clNone;
  TBitmap* graphic = nullptr;
  int numGlyphs = 1;
  GetItemParams(item, 0, canvas->Font(), color, graphic, numGlyphs);
  const int imageIndex = GetImageIndex(item, 0);
  height = MenuItemHeight();
  if (item->IsLine()) {
    height = MenuSeparatorHeight(canvas->TextHeight("-"));
    width = 2 * kGap;
  } else {
    width = 2 * kGap + canvas->TextWidth(StripHotkey(item->Caption()) + "\t\t");
    if (item->ShortCut()) width += canvas->TextWidth(ShortCutToText(item->ShortCut()) + " ");
    if (item->Count() > 0) width += canvas->TextWidth("\t\t");
    if (showCheckMarks_) width += kCheckWidth;
    height = std::max(height, canvas->TextHeight(item->Caption()));
    const bool validImage = Images() && imageIndex >= 0 && imageIndex < Images()->Count();
    if (Images()) {
      width += std::max(Images()->Width() + 2, minTextOffset_);
      if (validImage) height = std::max(height, Images()->Height() + 4);
    } else if (graphic && !graphic->Empty()) {
      const int cell = numGlyphs >= 2 && numGlyphs <= 5 ? graphic->Width() / numGlyphs : graphic->Width();
      width += std::max(cell + 2, minTextOffset_);
      height = std::max(height, graphic->Height() + 4);
    } else {
      width += minTextOffset_;
    }
  }
  if (OnMeasureItem) OnMeasureItem(this, item, width, height);
  if (TopLevel(item)) width += leftMargin_ + 1;
}
