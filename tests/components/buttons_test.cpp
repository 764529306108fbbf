// Glyph buttons: the shared glyph cache (one list per size, first free index reused, a list
// freed with its last image), the state images, toggle groups, the drop-down menu, hover only
// in an active application, and the speed button's repeat.
#include <gtest/gtest.h>

#include "components/ex_speed_button.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"

namespace {

// A strip of glyphs on fuchsia, each a square of its own shade.
void Fill(TBitmap& b, int glyphs, int size) {
  b.SetSize(size * glyphs, size);
  b.Canvas()->Brush()->SetColor(clFuchsia);
  b.Canvas()->FillRect(Rect(0, 0, size * glyphs, size));
  for (int g = 0; g < glyphs; ++g) {
    b.Canvas()->Brush()->SetColor(RGB(40 * g, 0, 0));
    b.Canvas()->FillRect(Rect(g * size + 4, 4, g * size + 12, 12));
  }
}

void SetStrip(TButtonGlyph& glyph, int glyphs, int size = 16) {
  TBitmap b;
  Fill(b, glyphs, size);
  glyph.SetGlyph(b);
}

TEST(GlyphCache, StateImagesShareOneListPerSizeAndFreeIt) {
  EnsureGuiApplication();
  for (auto [state, glyphs, index] : {std::tuple{bsUp, 1, 0}, {bsDown, 1, 0}, {bsDown, 3, 2}, {bsMouseIn, 4, 0},
                                      {bsMouseIn, 5, 4}, {bsDisabled, 2, 1}})
    EXPECT_EQ(GlyphStripIndex(state, glyphs), index);
  EXPECT_TRUE(GlyphDerivesDisabled(1));
  EXPECT_FALSE(GlyphDerivesDisabled(2));

  const int lists = GlyphCache().ListCount();
  {
    TButtonGlyph a, b, c;
    SetStrip(a, 1);
    SetStrip(b, 3);
    b.SetNumGlyphs(3);
    SetStrip(c, 1, 24);
    EXPECT_EQ(a.StateImage(bsUp), 0);
    EXPECT_EQ(a.StateImage(bsDisabled), 1);
    EXPECT_EQ(b.StateImage(bsDown), 2);
    EXPECT_EQ(c.StateImage(bsUp), 0);  // another size, another list
    EXPECT_EQ(GlyphCache().ListCount(), lists + 2);
    TGlyphList& list16 = GlyphCache().GetList(17, 17);  // one pixel wider and higher
    EXPECT_EQ(list16.Count(), 3);
    a.Invalidate();
    EXPECT_EQ(list16.Count(), 1);
    EXPECT_EQ(b.StateImage(bsUp), 0);  // the first free index is taken again
    b.Invalidate();
    EXPECT_EQ(b.NumGlyphs(), 3);
  }
  EXPECT_EQ(GlyphCache().ListCount(), lists);
}

TEST(GlyphButton, ToggleGroupsAndContentLayout) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* a = new TExSpeedButton(&form);
  auto* b = new TExSpeedButton(&form);
  a->SetParent(&form);
  b->SetParent(&form);
  a->SetDown(true);
  EXPECT_FALSE(a->Down());  // group 0: never down
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetDown(true);
  EXPECT_TRUE(a->Down());
  a->SetDown(false);
  EXPECT_TRUE(a->Down());  // without AllowAllUp the down button stays down
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());  // the group follows
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
  // Clicking a toggle flips it (released inside).
  a->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  a->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
  EXPECT_TRUE(a->Down());
  EXPECT_THROW(a->SetMargin(-2), EInvalidOperation);
  const TButtonContent c = ButtonContentLayout(Rect(0, 0, 100, 20), 16, 16, 30, 10, blGlyphLeft, -1, 4);
  EXPECT_EQ(c.Glyph, (TPoint{25, 2}));
  EXPECT_EQ(c.Text, Bounds(45, 5, 30, 10));
  EXPECT_EQ(ButtonContentLayout(Rect(0, 0, 100, 20), 16, 16, 30, 10, blGlyphLeft, 3, 4).Glyph.X, 3);
}

TEST(ExSpeedButton, DefaultsRepeatAndMenu) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* button = new TExSpeedButton(&form);
  button->SetParent(&form);
  EXPECT_EQ(button->Width(), 25);
  EXPECT_EQ(button->Height(), 25);
  EXPECT_TRUE(button->ShowHint());
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  button->SetAllowTimer(true);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  EXPECT_EQ(button->RepeatInterval(), 500u);
  button->RepeatTick();
  EXPECT_EQ(button->RepeatInterval(), 100u);
  button->RepeatTick();
  EXPECT_EQ(clicks, 2);
  // Outside the button (shown up) the ticks click nothing.
  button->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(100, 100));
  button->RepeatTick();
  EXPECT_EQ(clicks, 2);
  button->Perform(WM_LBUTTONUP, 0, MakeLParam(100, 100));
  EXPECT_EQ(button->RepeatInterval(), 0u);
  EXPECT_EQ(clicks, 2);
  // A menu opens on the press instead of a click.
  auto* menu = new TPopupMenu(&form);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  button->SetDropdownMenu(menu);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  button->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(menu->PopupComponent(), button);
}

TEST(GlyphButton, NoHoverLightWhileTheApplicationIsInactive) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* button = new TExSpeedButton(&form);
  button->SetParent(&form);
  int entered = 0;
  button->OnMouseEnter = [&](TObject*) { ++entered; };
  button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(button->MouseInControl(), Application->Active());
  EXPECT_EQ(entered, Application->Active() ? 1 : 0);
}

}  // namespace
