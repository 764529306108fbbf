// The Tools menu shows the utilities beside the main window, linked to its editor.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "preferences_test_env.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "shell/single_instance_window.h"
#include "textcore/rich_edit.h"
#include "tools/calc_form.h"
#include "tools/char_map_form.h"
#include "tools/collect_form.h"
#include "tools/rev_form.h"
#include "tools/special_char_form.h"

namespace {

class UtilityCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    main = new TMainForm(Application);
    CalcForm = new TCalcForm(Application);
    FormGenChar = new TFormGenChar(Application);
    SpecialCharForm = new TSpecialCharForm(Application);
    CollectForm = new TCollectForm(Application);
    new TRevForm(Application);
    main->BindInsertingWindows();  // as the start-up does once every window exists
  }
  void TearDown() override {
    TComponent::Free(RevForm);
    TComponent::Free(CollectForm);
    TComponent::Free(SpecialCharForm);
    CollectForm = nullptr;
    SpecialCharForm = nullptr;
    TComponent::Free(FormGenChar);
    TComponent::Free(CalcForm);
    TComponent::Free(main);
    FormGenChar = nullptr;
    CalcForm = nullptr;
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  void Click(const char* name) {
    auto* item = dynamic_cast<TMenuItem*>(main->FindComponent(name));
    ASSERT_NE(item, nullptr) << name;
    item->Click();
  }

  TTestWorld world;
  TScriptedDialogs dialogs;
  TMainForm* main = nullptr;
};

TEST_F(UtilityCommandsTest, ToolsMenuShowsTheUtilitiesLinkedToTheEditor) {
  Click("GraphicCalculator1");
  EXPECT_TRUE(CalcForm->Visible());
  Click("CharacterMap1");
  EXPECT_TRUE(FormGenChar->Visible());
  EXPECT_EQ(FormGenChar->Editor, main->Editor);
}

TEST_F(UtilityCommandsTest, SpecialSymbolsAndTheClipboardWindowFollowTheirItems) {
  Click("InsertSymbol1");
  EXPECT_TRUE(SpecialCharForm->Visible());
  EXPECT_EQ(SpecialCharForm->Editor, main->Editor);
  Click("ClipboardPane1");
  EXPECT_TRUE(CollectForm->Visible());
  EXPECT_EQ(CollectForm->Editor, main->Editor);
  Click("ClipboardPane1");
  EXPECT_FALSE(CollectForm->Visible());
}

TEST_F(UtilityCommandsTest, CaptureModeFollowsTheClipboardWindowAndWaitsForARunningOperation) {
  auto* item = dynamic_cast<TMenuItem*>(main->FindComponent("Autopaste1"));
  Click("Autopaste1");
  EXPECT_TRUE(CollectForm->BtnCollect->Down());
  main->EditMenuClick(nullptr);
  EXPECT_TRUE(item->Checked());

  main->Editor->SetTextW(u"doc");
  Clipboard()->SetAsUnicodeText(u"Ω one");
  CollectForm->ClipboardChanged();
  EXPECT_EQ(main->Editor->GetTextW(), u"doc\rΩ one");
  main->SetBusy(true);
  Clipboard()->SetAsUnicodeText(u"two");
  CollectForm->ClipboardChanged();
  main->SetBusy(false);
  EXPECT_EQ(main->Editor->GetTextW(), u"doc\rΩ one");

  CollectForm->BtnCollect->SetDown(false);  // released in the clipboard window itself
  main->EditMenuClick(nullptr);
  EXPECT_FALSE(item->Checked());
}

TEST_F(UtilityCommandsTest, HistoryManagerLoadsClearsOrChoosesAnEntry) {
  main->Editor->SetTextW(u"first Ω");
  main->AddToHistory("one");
  main->Editor->SetTextW(u"second");
  main->AddToHistory("two");
  // Close: nothing changes.
  dialogs.Answer(TDialogKind::Form, mrCancel);
  Click("RevisionsManager1");
  EXPECT_EQ(main->History().Count(), 2);
  // Open as a new document: the chosen entry, characters outside 1251 kept.
  main->ResetDocument();
  dialogs.Answer(TDialogKind::Form, mrOk, [](TDialogRequest& r) {
    auto* form = dynamic_cast<TRevForm*>(r.Form);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->List->Items()->Count(), 2);
    form->List->SetItemIndex(1);  // the older entry
  });
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);  // "load it as a new document?"
  Click("RevisionsManager1");
  EXPECT_EQ(main->Editor->GetTextW(), u"first Ω");
  // Clear all, after the question.
  dialogs.Answer(TDialogKind::Form, mrAbort);
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);
  Click("RevisionsManager1");
  EXPECT_EQ(main->History().Count(), 0);
}

TEST_F(UtilityCommandsTest, SpellingCommandsWithoutTheSpellingWindowsDoNothing) {
  TSpellWindows* saved = SpellWindows;
  SpellWindows = nullptr;
  main->Editor->SetTextW(u"teh text");
  for (const char* item : {"CheckStart", "Configure1", "AddSpellWords"}) Click(item);
  EXPECT_EQ(main->Editor->GetTextW(), u"teh text");
  SpellWindows = saved;
}

}  // namespace
