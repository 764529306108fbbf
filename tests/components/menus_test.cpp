// Owner-drawn popup menus and the colour menu: when owner drawing is needed, item parameters
// and image indexes, measuring, the colour table with its columns, custom colours kept before
// "Other" (at most four), "None" told from "Auto", and drawing swatches and captions.
#include <gtest/gtest.h>

#include "components/color_menu.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/image_list.h"
#include "platform/gui/std_controls.h"

namespace {

std::vector<std::string> Captions(const std::vector<TColorMenuEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.Caption);
  return out;
}

TEST(ExPopupMenu, OwnerDrawingParametersAndMeasures) {
  EnsureGuiApplication();
  EXPECT_FALSE(IsOwnerDrawMenu(msStandard, 0));
  EXPECT_TRUE(IsOwnerDrawMenu(msStandard, 1));
  EXPECT_TRUE(IsOwnerDrawMenu(msBtnLowered, 0));
  EXPECT_EQ(MenuSeparatorHeight(8), 9);
  EXPECT_EQ(MenuSeparatorHeight(30), 15);

  TForm form(nullptr);
  auto* menu = new TExPopupMenu(&form);
  auto* line = new TMenuItem(&form);
  line->SetCaption("-");
  auto* open = new TMenuItem(&form);
  open->SetCaption("&Open");
  menu->Items()->Add(line);
  menu->Items()->Add(open);
  int params = 0, images = 0;
  menu->OnGetItemParams = [&](TObject*, TMenuItem*, TOwnerDrawState, TFont*, TColor&, TBitmap*& g, int&) {
    ++params;
    static TBitmap bitmap(8, 8);
    g = &bitmap;
  };
  menu->OnGetImageIndex = [&](TObject*, TMenuItem*, TOwnerDrawState, int& index) {
    ++images;
    index = 0;
  };
  TColor color;
  TBitmap* graphic = nullptr;
  int glyphs = 0;
  // A separator never gets a graphic; image indexes are asked only with Images and no separator.
  menu->GetItemParams(line, 0, nullptr, color, graphic, glyphs);
  EXPECT_EQ(graphic, nullptr);
  EXPECT_EQ(menu->GetImageIndex(open, 0), -1);
  EXPECT_EQ(images, 0);
  auto* list = new TImageList(&form);
  menu->SetImages(list);
  EXPECT_FALSE(menu->IsOwnerDraw());
  EXPECT_EQ(menu->GetImageIndex(line, 0), -1);
  EXPECT_EQ(menu->GetImageIndex(open, 0), 0);
  EXPECT_EQ(images, 1);
  TBitmap strip(16, 16);
  list->Add(strip);
  EXPECT_TRUE(menu->IsOwnerDraw());

  // Measuring: the menu height less 2; a top-level item gains LeftMargin + 1 after OnMeasureItem.
  TBitmap surface(10, 10);
  int w = 0, h = 0;
  menu->SetImages(nullptr);
  menu->OnGetItemParams = nullptr;
  menu->OnMeasureItem = [](TObject*, TMenuItem*, int& width, int&) { width = 100; };
  menu->SetLeftMargin(20);
  menu->MeasureMenuItem(open, surface.Canvas(), w, h);
  EXPECT_EQ(w, 121);
  EXPECT_EQ(h, std::max(MenuItemHeight(), surface.Canvas()->TextHeight("&Open")));
}

TEST(ColorMenu, TheColourTableAndItsColumns) {
  const auto entries = ColorMenuEntries(cbAuto | cbOther);
  ASSERT_EQ(entries.size(), 18u);
  EXPECT_EQ(entries.front(), (TColorMenuEntry{"Auto", clWindowText, mbNone}));
  EXPECT_EQ(entries[1], (TColorMenuEntry{"Black", 0x000000, mbBarBreak}));
  EXPECT_EQ(entries[2].Color, 0x000080);  // Maroon
  EXPECT_EQ(entries[7].Caption, "Teal");
  EXPECT_EQ(entries[7].Color, 0x808000);
  EXPECT_EQ(entries.back(), (TColorMenuEntry{"Other", -1, mbBarBreak}));
  std::vector<std::string> breaks;
  for (const auto& e : entries)
    if (e.Break != mbNone) breaks.push_back(e.Caption);
  EXPECT_EQ(breaks, (std::vector<std::string>{"Black", "Purple", "Red", "Fuchsia", "Other"}));
  // Without Auto or None, Black starts the menu without a break; None is no colour.
  EXPECT_EQ(ColorMenuEntries(cbOther)[0].Break, mbNone);
  const auto withNone = ColorMenuEntries(cbAuto | cbNone);
  EXPECT_EQ(withNone[1].Color, clNone);
  EXPECT_NE(withNone[0].Color, withNone[1].Color);
  EXPECT_EQ(withNone.size(), 18u);
}

TEST(ColorMenu, CustomColoursGoBeforeOtherNewestFirstAtMostFour) {
  for (TColorButtons buttons : {cbOther, cbAuto | cbOther, cbAuto | cbNone | cbOther, cbAuto}) {
    auto entries = ColorMenuEntries(buttons);
    const size_t base = entries.size();
    for (TColor c : {0x010101, 0x020202, 0x030303, 0x040404, 0x050505}) {
      const int at = InsertCustomColor(entries, c);
      EXPECT_EQ(entries[size_t(at)].Color, c);
    }
    ASSERT_EQ(entries.size(), base + 4) << buttons;
    const size_t first = (buttons & cbOther) ? base - 1 : base;
    EXPECT_EQ(entries[first].Color, 0x050505);
    EXPECT_EQ(entries[first].Break, mbBreak);
    EXPECT_EQ(entries[first + 1].Break, mbNone);
    EXPECT_EQ(entries[first + 3].Color, 0x020202);
    if (buttons & cbOther) EXPECT_EQ(entries.back().Caption, "Other");
  }
  auto prefs = ColorMenuEntries(cbAuto | cbOther);
  for (int i = 0; i < 5; ++i) InsertCustomColor(prefs, i);
  EXPECT_EQ(prefs.size(), 22u);
}

TEST(ColorMenu, ClicksReportThePositionAndOtherAsksTheDialog) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* menu = new TColorMenu(&form);
  std::vector<std::pair<int, TColor>> picked;
  menu->OnColorSelect = [&](TObject*, int index, TColor color) { picked.emplace_back(index, color); };
  EXPECT_EQ(menu->Style(), msBtnLowered);
  EXPECT_TRUE(menu->OwnerDraw());
  const int red = 9;
  EXPECT_EQ(menu->Entries()[red].Caption, "Red");
  menu->ClickItem(red);
  ASSERT_EQ(picked.size(), 1u);
  EXPECT_EQ(picked[0], std::make_pair(9, TColor(0x0000FF)));
  // "Other", clicked as its menu item: cancelled changes nothing; accepted inserts the colour
  // before "Other" and picks it, and the clicked item itself lives on.
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::Color, 0);
  dialogs.Answer(TDialogKind::Color, 1, [](TDialogRequest& r) { r.Color = 0x123456; });
  TMenuItem* other = menu->Items()->Items(16);
  other->Click();
  EXPECT_EQ(picked.size(), 1u);
  other->Click();
  ASSERT_EQ(picked.size(), 2u);
  EXPECT_EQ(picked[1], std::make_pair(16, TColor(0x123456)));
  EXPECT_EQ(menu->Entries().size(), 18u);
  EXPECT_EQ(menu->Entries().back().Caption, "Other");
  EXPECT_EQ(menu->Items()->Items(16), other);
  EXPECT_TRUE(dialogs.Unexpected().empty());
  // The menu's items follow the entries, each column started by its item's break.
  std::vector<TMenuBreakKind> breaks;
  for (int i = 0; i < menu->Items()->Count(); ++i)
    if (menu->Items()->Items(i)->Visible()) breaks.push_back(menu->Items()->Items(i)->Break());
  ASSERT_EQ(breaks.size(), 18u);
  for (size_t i = 0; i < breaks.size(); ++i) EXPECT_EQ(breaks[i], menu->Entries()[i].Break) << i;
  EXPECT_EQ(breaks[16], mbBreak);  // the custom colour starts a column of its own
}

TEST(ColorMenu, SwatchesAndCaptionsAreDrawn) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* menu = new TColorMenu(&form);
  menu->SetColorButtons(cbAuto | cbOther);
  TBitmap surface(60, 22);
  auto itemOf = [&](const std::string& caption) {
    for (int i = 0; i < menu->Items()->Count(); ++i)
      if (menu->Items()->Items(i)->Caption() == caption) return menu->Items()->Items(i);
    return static_cast<TMenuItem*>(nullptr);
  };
  menu->DrawMenuItem(itemOf("Red"), surface.Canvas(), Rect(0, 0, 60, 22), 0);
  EXPECT_EQ(surface.Canvas()->Pixel(30, 11), TColor(0x0000FF));
  EXPECT_EQ(surface.Canvas()->Pixel(3, 3), TColor(0x808080));  // the grey outline
  EXPECT_EQ(surface.Canvas()->Pixel(1, 11), ColorToRGB(clMenu));
  // "Auto" shows its caption, not a swatch of the window text colour filling the cell.
  menu->DrawMenuItem(itemOf("Auto"), surface.Canvas(), Rect(0, 0, 60, 22), 0);
  int menuColoured = 0;
  for (int x = 4; x < 56; ++x) menuColoured += surface.Canvas()->Pixel(x, 5) == ColorToRGB(clMenu);
  EXPECT_GT(menuColoured, 40);
}

TEST(ColorMenu, PopsUpUnderTheControl) {
  EnsureGuiApplication();
  TForm form(nullptr);
  form.SetBounds(50, 60, 300, 200);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(10, 20, 40, 25);
  form.Show();
  auto* menu = new TColorMenu(&form);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  menu->PopupUnder(button);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu->PopupControl(), button);
}

}  // namespace
