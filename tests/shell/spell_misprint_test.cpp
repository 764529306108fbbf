// The misprint test of valid words through the main window: the check started from its menu,
// with the options as a new user has them, asks about a real-word slip and about nothing else.
#include <gtest/gtest.h>

#include <memory>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "proofing/spell_message_form.h"
#include "proofing/spell_popup_form.h"
#include "proofing/spell_start_form.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/shell/spell_windows_test_env.h"
#include "textcore/rich_edit.h"

namespace {

class MisprintCheckTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Application->SetTitle("Quillomark");
    LinkProgramDictionaries(World.ProgramFolder);
    Windows = std::make_unique<TSpellWindows>(nullptr);
    SavedWindows = SpellWindows;
    SpellWindows = Windows.get();
    FinalizeSpelling();
    InitializeSpelling(Windows.get());
    Windows->SetSpell(&SpellChecker());
    Main = new TMainForm(Application);
  }
  void TearDown() override {
    TComponent::Free(Main);
    FinalizeSpelling();
    SpellWindows = SavedWindows;
    EXPECT_TRUE(Dialogs.Unexpected().empty());
  }

  TTestWorld World;
  TScriptedDialogs Dialogs;
  std::unique_ptr<TSpellWindows> Windows;
  TSpellWindows* SavedWindows = nullptr;
  TMainForm* Main = nullptr;
  TModalScript Script{[this] { return Windows->Popup()->Modal() || Windows->Message()->Modal() || Windows->Start()->Modal(); }};
};

TEST_F(MisprintCheckTest, CheckFromTheMenuAsksOnlyAboutTheSlipAndReplacesIt) {
  Main->Editor->SetLanguage(LANG_ENGLISH_US);
  Main->Editor->SetTextW(u"The children stayed at home. There is noting to fear, she said.");
  Main->Editor->SetSelStart(0);
  Script.Then([this] {
    Windows->Start()->RGMode->SetItemIndex(0);   // interactive
    Windows->Start()->RGScope->SetItemIndex(0);  // the whole text
    Windows->Start()->BtnStart->Click();
  });
  std::string asked, offered;
  bool suspectShown = false;
  Script.Then([&] {
    TSCPopup& popup = *Windows->Popup();
    asked = WideToUtf8(popup.EditSrc->GetSelTextW());
    suspectShown = popup.Label1->Visible() && !popup.BtnAdd->Visible();
    ASSERT_GT(popup.ListSugg->Items()->Count(), 0);
    offered = popup.ListSugg->Items()->Get(0);
    popup.ListSugg->SetItemIndex(0);
    popup.ListSugg->Click();
    popup.BtnReplace->Click();
  });
  Dialogs.Answer(TDialogKind::MessageDlg, mrOk);  // the check is over
  auto* item = dynamic_cast<TMenuItem*>(Main->FindComponent("CheckStart"));
  ASSERT_NE(item, nullptr);
  item->Click();

  EXPECT_EQ(Script.Left(), 0u);
  EXPECT_EQ(asked, "noting");
  EXPECT_TRUE(suspectShown);
  EXPECT_EQ(offered, "nothing");
  EXPECT_EQ(Main->Editor->GetTextW(), u"The children stayed at home. There is nothing to fear, she said.");
}

}  // namespace
