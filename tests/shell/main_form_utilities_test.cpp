// The Tools menu shows the utilities beside the main window, linked to its editor.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "preferences_test_env.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "shell/single_instance_window.h"
#include "textcore/rich_edit.h"
#include "tools/calc_form.h"
#include "tools/char_map_form.h"

namespace {

class UtilityCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    main = new TMainForm(Application);
    CalcForm = new TCalcForm(Application);
    FormGenChar = new TFormGenChar(Application);
  }
  void TearDown() override {
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

TEST_F(UtilityCommandsTest, SpellingCommandsWithoutTheSpellingWindowsDoNothing) {
  TSpellWindows* saved = SpellWindows;
  SpellWindows = nullptr;
  main->Editor->SetTextW(u"teh text");
  for (const char* item : {"CheckStart", "Configure1", "AddSpellWords"}) Click(item);
  EXPECT_EQ(main->Editor->GetTextW(), u"teh text");
  SpellWindows = saved;
}

}  // namespace
