// The languages window driven offscreen over the program's dictionaries: OK, Default, and a
// Cancel that leaves languages, dictionaries and their saved copies as they were.
#include <gtest/gtest.h>

#include "components/data_tree_string.h"
#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/spell_setup_form.h"
#include "proofing/spell_windows.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/shell/spell_windows_test_env.h"

namespace {

class SpellSetupTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Windows = std::make_unique<TSpellWindows>(nullptr);
    Spell.LoadLanguages(LinkProgramDictionaries(World.ProgramFolder));
    Spell.EnableStandardDictionaries();
    ASSERT_EQ(Spell.LanguageCount(), 2);
    Windows->SetSpell(&Spell);
  }

  TTestWorld World;
  std::unique_ptr<TSpellWindows> Windows;
  TQSpell Spell{nullptr, nullptr};
  TModalScript Script{[this] { return Windows->Setup && Windows->Setup->Modal(); }};
};

TEST_F(SpellSetupTest, LanguagesWindowAppliesOkAndDefaultAndCancelChangesNothing) {
  TQLanguage& english = *Spell.FindLanguage(LANG_ENGLISH_US);
  TQLanguage& russian = *Spell.FindLanguage(LANG_RUSSIAN);
  TQDictionary& uk = *english.FindDictionary("en_uk");
  ASSERT_TRUE(uk.Enabled);
  // Cancel: the dictionary unchecked and another language chosen (which stores the marks), the
  // language unchecked; nothing of it stays, not even in the saved copies.
  Script.Then([&] {
    TSCSetup& w = *Windows->Setup;
    PDataNode first = w.LngList->GetFirst();
    ASSERT_NE(first, nullptr);
    const int englishIndex = &Spell.Language(0) == &english ? 0 : 1;
    w.LngList->SetFocusedNode(englishIndex == 0 ? first : w.LngList->GetNextSibling(first));
    PDataNode dictionary = w.DicList->GetFirst();
    EXPECT_EQ(WideToUtf8(w.DicList->DoGetText(dictionary, 1)), "(" + uk.Description() + ")");
    EXPECT_EQ(dictionary->CheckState, csCheckedNormal);
    w.DicList->SetCheckState(dictionary, csUncheckedNormal);
    w.LngList->SetFocusedNode(englishIndex == 0 ? w.LngList->GetNextSibling(first) : first);
    EXPECT_FALSE(uk.SavedEnabled);  // stored when the language changed
    for (PDataNode n = first; n; n = w.LngList->GetNextSibling(n)) w.LngList->SetCheckState(n, csUncheckedNormal);
    w.DialogKey(VK_ESCAPE, 0);
  });
  EXPECT_EQ(Windows->ShowSetup(), mrCancel);
  EXPECT_TRUE(uk.SavedEnabled);
  EXPECT_TRUE(english.Active && russian.Active);
  english.ReevaluateDictionaries();
  EXPECT_TRUE(uk.Enabled);

  // OK: the language switched off and its dictionary too, through the group rule.
  Script.Then([&] {
    TSCSetup& w = *Windows->Setup;
    const int englishIndex = &Spell.Language(0) == &english ? 0 : 1;
    PDataNode node = w.LngList->GetFirst();
    if (englishIndex == 1) node = w.LngList->GetNextSibling(node);
    w.LngList->SetFocusedNode(node);
    w.LngList->SetCheckState(node, csUncheckedNormal);
    w.DicList->SetCheckState(w.DicList->GetFirst(), csUncheckedNormal);
    w.DialogKey(VK_RETURN, 0);
  });
  EXPECT_EQ(Windows->ShowSetup(), mrOk);
  EXPECT_FALSE(english.Active);
  EXPECT_TRUE(russian.Active);
  EXPECT_FALSE(uk.Enabled);
  EXPECT_FALSE(Spell.IsValidWord("house", LANG_ENGLISH_US));

  // Default: every dictionary back to its header's on-by-default flag.
  Script.Then([&] { Windows->Setup->SetModalResult(mrIgnore); });
  EXPECT_EQ(Windows->ShowSetup(), mrIgnore);
  EXPECT_EQ(uk.Enabled, uk.Header().OnByDefault() > 0);
  EXPECT_EQ(DictionaryStateText(false, "any"), "Unpacking failed!");
}

}  // namespace
