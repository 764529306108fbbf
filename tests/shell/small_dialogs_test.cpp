// The small dialogs: the about box's figures and links, the processing-options window kept in
// section "Speed" and read by the operation framework, reached from the preferences' "Options...",
// and the debug window.
#include <gtest/gtest.h>

#include <memory>

#include "components/adv_splitter.h"
#include "components/form_placement.h"
#include "components/spin_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/grids.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/about_box.h"
#include "shell/debug_form.h"
#include "shell/preferences.h"
#include "shell/preferences_key.h"
#include "shell/speed_form.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/win_registry.h"

namespace {

TEST(AboutBox, MemoryFiguresVersionAndLinks) {
  TTestWorld world;
  EnsureGuiApplication();
  EXPECT_EQ(FormatThousands(8388608), "8,388,608");
  EXPECT_EQ(FormatThousands(999), "999");
  EXPECT_EQ(FormatThousands(1000), "1,000");
  EXPECT_EQ(FormatThousands(0), "");
  const TMemoryStatus s = ParseMemInfo("MemTotal:       8388608 kB\nMemFree: 1 kB\nMemAvailable:   5284824 kB\n");
  EXPECT_EQ(s.TotalKB, 8388608u);
  EXPECT_EQ(s.LoadPercent, 37);
  EXPECT_EQ(s.AvailableKB, 5284824u);
  EXPECT_EQ(ParseMemInfo("garbage").LoadPercent, 0);
  TAboutBox box(nullptr);
  EXPECT_EQ(box.Caption(), "About Quillomark");
  EXPECT_EQ(box.LabelVer->Caption(), "Version 3.7 (Build 019)");
  EXPECT_NE(box.PhysMem->Caption().find(" KB"), std::string::npos);
  box.ShowMemory(s);
  EXPECT_EQ(box.PhysMem->Caption(), "8,388,608 KB");
  EXPECT_EQ(box.FreeRes->Caption(), "37 %");
  std::vector<std::string> opened;
  SetShellOpenHandler([&](const std::string& target) { opened.push_back(target); return true; });
  box.LinkMail->Click();
  box.LinkWeb->Click();
  SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{"mailto:info@vortanel.com", "https://www.vortanel.com/"}));
  EXPECT_EQ(box.LinkWeb->Cursor(), crHandPoint);
}

TEST(SpeedForm, DefaultsStoredInSpeedAndReadBack) {
  TTestWorld world;
  EnsureGuiApplication();
  {
    TSpeedForm form(nullptr);
    EXPECT_EQ(form.Caption(), "Processing Options");
    EXPECT_FALSE(form.CBEnableUndo->Checked());
    EXPECT_FALSE(form.CBEnableHist->Checked());
    EXPECT_FALSE(form.CBPreserveStyle->Checked());
    EXPECT_EQ(form.HistIgnoreSize->Value(), 20);
    EXPECT_EQ(form.HistIgnoreSize->MinValue(), 10);
    EXPECT_EQ(form.HistIgnoreSize->MaxValue(), 1000);
    EXPECT_EQ(form.HistIgnoreSize->Increment(), 10);
    form.CBEnableHist->SetChecked(true);
    form.HistIgnoreSize->SetValue(150);
    form.HistIgnoreSize->UpClick();
    // Closing the window keeps the options.
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      form.BtnClose->Click();
    };
    timer.SetEnabled(true);
    form.ShowModal();
    EXPECT_EQ(TWinRegistry(kProductKey).ReadString("Speed", "HistIgnoreSize_Value", ""), "160");
    EXPECT_EQ(TWinRegistry(kProductKey).ReadString("Speed", "CBEnableHist_Checked", ""), "True");
  }
  TSpeedForm again(nullptr);
  const TProcessingOptions options = again.Options();
  EXPECT_TRUE(options.EnableHist);
  EXPECT_FALSE(options.EnableUndo);
  EXPECT_EQ(options.HistIgnoreSize, 160);
}

TEST(SpeedForm, ThePreferencesOptionsButtonOpensItWithPreserveStylesEnabled) {
  TTestWorld world;
  EnsureGuiApplication();
  auto prefs = std::make_unique<TPrefForm>(nullptr);
  SpeedForm = new TSpeedForm(nullptr);
  SpeedForm->CBPreserveStyle->SetEnabled(false);
  bool shown = false;
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    shown = SpeedForm->Modal();
    SpeedForm->BtnClose->Click();
  };
  timer.SetEnabled(true);
  prefs->Button1->Click();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(SpeedForm->CBPreserveStyle->Enabled());
  delete SpeedForm;
  EXPECT_EQ(SpeedForm, nullptr);
}

TEST(DebugForm, ListGridStatusAndContinue) {
  TTestWorld world;
  EnsureGuiApplication();
  TDebugForm form(nullptr);
  EXPECT_EQ(form.Caption(), "Debug Mode");
  EXPECT_EQ(form.Status->Caption(), "Pass 1");
  EXPECT_EQ(form.Grid->RowCount(), 10);
  EXPECT_EQ(form.Grid->FixedCols(), 0);
  EXPECT_EQ(form.Grid->ColWidths(0), 40);
  EXPECT_EQ(form.Grid->DefaultRowHeight(), 19);
  EXPECT_EQ(form.Splitter->Pane1()->ControlCount(), 1);
  EXPECT_FALSE(form.Continue());
  form.BtnContinue->Click();
  EXPECT_TRUE(form.Continue());
}

}  // namespace
