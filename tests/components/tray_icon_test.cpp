// The tray icon over a fake tray: tips, the icon added again when the tray comes back, clicks
// and double-clicks, icon lists and cycling, and a desktop without a tray.
#include <gtest/gtest.h>

#include "components/tray_icon.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"

namespace {

struct FakeTray : TTrayBackend {
  bool available = true;
  int shows = 0;
  bool shown = false;
  std::string tip;
  std::vector<int> iconWidths;  // the width of each icon the tray was given
  bool Available() const override { return available; }
  bool Show() override {
    ++shows;
    shown = available;
    return available;
  }
  void Hide() override { shown = false; }
  void SetIcon(const TBitmap& icon) override { iconWidths.push_back(icon.Width()); }
  void SetToolTip(const std::string& text) override { tip = text; }
};

struct TrayForm {
  TForm form{nullptr};
  TTrayIcon* tray = new TTrayIcon(&form);
  FakeTray* fake = new FakeTray;
  TrayForm() {
    EnsureGuiApplication();
    tray->SetIconVisible(false);
    tray->SetBackend(std::unique_ptr<TTrayBackend>(fake));
  }
};

TEST(TrayIcon, TipsAndTheTrayComingBack) {
  EXPECT_EQ(TrayTip(std::string(70, 'x'), true).size(), 63u);
  EXPECT_EQ(TrayTip("Quillomark", false), "");
  TrayForm f;
  f.tray->SetHint("Quillomark");
  EXPECT_EQ(f.fake->tip, "");
  f.tray->SetShowHint(true);
  EXPECT_EQ(f.fake->tip, "Quillomark");
  f.tray->TaskbarCreated();  // hidden: not added
  EXPECT_EQ(f.fake->shows, 0);
  f.tray->SetIconVisible(true);
  EXPECT_TRUE(f.fake->shown);
  f.tray->TaskbarCreated();
  EXPECT_EQ(f.fake->shows, 2);
}

TEST(TrayIcon, ClicksDoubleClicksAndDisabled) {
  TrayForm f;
  std::vector<std::string> events;
  f.tray->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("down"); };
  f.tray->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
  f.tray->OnClick = [&](TObject*) { events.push_back("click"); };
  f.fake->OnActivated(TTrayActivation::Trigger);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "click", "up"}));
  // A press that started elsewhere: up, no click.
  events.clear();
  f.tray->IconMessage(WM_LBUTTONUP);
  EXPECT_EQ(events, std::vector<std::string>{"up"});
  // A double click clicks the menu's default item of lowest index.
  auto* menu = new TPopupMenu(&f.form);
  std::vector<std::string> clicked;
  for (const char* caption : {"One", "&Open", "Exit"}) {
    auto* item = new TMenuItem(&f.form);
    item->SetCaption(caption);
    item->OnClick = [&clicked, caption](TObject*) { clicked.push_back(caption); };
    menu->Items()->Add(item);
  }
  menu->Items()->Items(1)->SetDefault(true);
  f.tray->SetPopupMenu(menu);
  f.fake->OnActivated(TTrayActivation::DoubleClick);
  EXPECT_EQ(clicked, std::vector<std::string>{"&Open"});
  // Disabled: no events, the icon stays.
  f.tray->SetIconVisible(true);
  f.tray->SetEnabled(false);
  events.clear();
  f.fake->OnActivated(TTrayActivation::Trigger);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(f.fake->shown);
}

TEST(TrayIcon, IconListsAndCycling) {
  TrayForm f;
  f.tray->SetIconIndex(3);
  EXPECT_EQ(f.tray->IconIndex(), 0);  // no list
  auto* list = new TImageList(&f.form);
  f.tray->SetIconList(list);
  f.tray->CycleTick();  // an empty list cycles nothing
  EXPECT_EQ(f.tray->IconIndex(), 0);
  TBitmap strip(48, 16);
  list->Add(strip);
  f.tray->SetIconIndex(7);
  EXPECT_EQ(f.tray->IconIndex(), 2);  // past the end: the last image
  std::vector<int> next;
  f.tray->OnCycle = [&](TObject*, int n) { next.push_back(n); };
  f.tray->CycleTick();
  f.tray->CycleTick();
  EXPECT_EQ(next, (std::vector<int>{0, 1}));
  EXPECT_EQ(f.tray->IconIndex(), 1);
}

TEST(TrayIcon, TheTrayIsGivenAnIconOnlyWhenItShowsOneAndOnlyWhenItChanged) {
  TrayForm f;
  f.tray->SetHint("Quillomark");
  f.tray->SetIcon(TBitmap(24, 24));
  f.tray->SetIcon(TBitmap(20, 20));
  EXPECT_TRUE(f.fake->iconWidths.empty());  // hidden: nothing converted
  f.tray->SetIconVisible(true);
  f.tray->SetShowHint(true);
  f.tray->TaskbarCreated();
  EXPECT_EQ(f.fake->iconWidths, (std::vector<int>{20}));  // the last one set, once
  f.tray->SetIcon(TBitmap(16, 16));
  EXPECT_EQ(f.fake->iconWidths, (std::vector<int>{20, 16}));
  // Without an icon of its own the tray shows the program's, drawn when first shown.
  TrayForm plain;
  plain.tray->SetIconVisible(true);
  EXPECT_EQ(plain.fake->iconWidths, (std::vector<int>{32}));
  EXPECT_EQ(plain.tray->Icon()->Width(), 32);
}

TEST(TrayIcon, WithoutATrayTheIconIsNotShownAndTheWindowStays) {
  TrayForm f;
  f.fake->available = false;
  f.tray->SetMinimizeToTray(true);
  EXPECT_FALSE(f.tray->ShowIcon());
  EXPECT_FALSE(f.tray->IconVisible());
  EXPECT_FALSE(f.tray->TrayAvailable());
}

}  // namespace
