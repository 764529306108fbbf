// The program's spelling component as start-up makes it.
#include "proofing/spell_global.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "proofing/spell.h"
#include "spell_fixtures.h"
#include "textcore/win_registry.h"

namespace {

// A registry of its own with "DicPath" set (or not), and no spelling component before or after.
class SpellStartup : public ::testing::Test {
protected:
  void SetUp() override {
    const char* saved = std::getenv("QUILLOMARK_CONFIG_DIR");
    FHadConfig = saved != nullptr;
    if (saved) FConfig = saved;
    setenv("QUILLOMARK_CONFIG_DIR", (Config / "").c_str(), 1);
    FinalizeSpelling();
  }
  void TearDown() override {
    FinalizeSpelling();
    SetProgramFolder("");
    if (FHadConfig) setenv("QUILLOMARK_CONFIG_DIR", FConfig.c_str(), 1);
    else unsetenv("QUILLOMARK_CONFIG_DIR");
  }
  static void SetDicPath(const std::string& Path) {
    TWinRegistry(HKEY_LOCAL_MACHINE, "Software\\Vortanel\\Shared").WriteString("Proof", "DicPath", Path);
  }
  static void ExpectStandardDictionariesOn() {
    TQSpell& spell = SpellChecker();
    ASSERT_EQ(spell.LanguageCount(), 2);
    for (auto [lcid, name] : {std::pair{LANG_ENGLISH_US, "en_uk"}, std::pair{LANG_RUSSIAN, "ru_yo"}}) {
      ASSERT_NE(spell.FindLanguage(lcid), nullptr);
      TQDictionary* dictionary = spell.FindLanguage(lcid)->FindDictionary(name);
      ASSERT_NE(dictionary, nullptr) << name;
      EXPECT_TRUE(dictionary->Enabled) << name;
      EXPECT_TRUE(dictionary->IsOpen()) << name;
    }
    EXPECT_TRUE(spell.IsValidWord("colour", LANG_ENGLISH_US));
  }

  TTempFolder Config;

private:
  bool FHadConfig = false;
  std::string FConfig;
};

TEST_F(SpellStartup, LoadsTheDictionaryFolderOfTheProgramByDefault) {
  EXPECT_THROW(SpellChecker(), EInvalidOperation);
  SetProgramFolder(QM_PROGRAM_DIR "/");
  InitializeSpelling();
  EXPECT_EQ(SpellChecker().DictionaryPath, QM_PROGRAM_DIR "/Dict/");
  ExpectStandardDictionariesOn();
  // Made once: a second call keeps the component.
  TQSpell* first = &SpellChecker();
  InitializeSpelling();
  EXPECT_EQ(&SpellChecker(), first);
  FinalizeSpelling();
  EXPECT_THROW(SpellChecker(), EInvalidOperation);
}

TEST_F(SpellStartup, TakesTheDictionaryFolderFromTheRegistry) {
  SetDicPath(QM_PROGRAM_DIR "/Dict");  // no delimiter at the end
  InitializeSpelling();
  EXPECT_EQ(SpellChecker().DictionaryPath, QM_PROGRAM_DIR "/Dict/");
  ExpectStandardDictionariesOn();
}

TEST_F(SpellStartup, MissingFolderGivesAComponentThatKnowsNoWord) {
  SetDicPath(Config / "none");
  InitializeSpelling();
  EXPECT_EQ(SpellChecker().LanguageCount(), 0);
  EXPECT_FALSE(SpellChecker().IsValidWord("the", 0));
}

TEST_F(SpellStartup, CorruptDescriptorIsReportedAndStartUpGoesOn) {
  TTempFolder dictionaries;
  WriteTestLanguage(dictionaries.Name(), "english", LANG_ENGLISH_US, "abcdefghijklmnopqrstuvwxyz");
  WriteTestDictionary(dictionaries.Name(), "en_uk", LANG_ENGLISH_US, {"cat"});
  WriteFileAtomic(dictionaries / "broken.qlx", "QLX");
  SetDicPath(dictionaries.Name());
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  InitializeSpelling();
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].DlgType, mtError);
  EXPECT_EQ(dialogs.Asked()[0].Text, "Language descriptor " + (dictionaries / "broken.qlx") + " is corrupt.");
  EXPECT_TRUE(SpellChecker().IsValidWord("cat", LANG_ENGLISH_US));
}

}  // namespace
