// The start-up warning about missing spelling dictionaries: its text and when it is shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/shell_open.h"
#include "proofing/spell_global.h"
#include "shell/dictionary_warning.h"
#include "tests/platform/temp_folder.h"

namespace {

TEST(DictionaryWarning, NamesTheMissingLanguages) {
  EXPECT_EQ(MissingDictionariesMessage(false, false), "");
  const std::pair<std::pair<bool, bool>, const char*> cases[] = {
      {{true, false}, "English"}, {{false, true}, "Russian"}, {{true, true}, "English and Russian"}};
  for (const auto& [missing, words] : cases)
    EXPECT_EQ(MissingDictionariesMessage(missing.first, missing.second),
              std::string("Your system doesn't have ") + words +
                  " spell-checkers installed. The functionality will be limited. We recommend downloading "
                  "the spell-checkers.\r\rPress OK to open the download site");
}

// A program folder whose "Dict" holds only what a case copies into it.
class DictionaryWarningAtStart : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    FinalizeSpelling();
    std::filesystem::create_directories(Program.Path() / "Dict");
    SetProgramFolder(Program.Name());
    SetShellOpenHandler([this](const std::string& target) {
      Opened = target;
      return true;
    });
  }
  void TearDown() override {
    SetShellOpenHandler(nullptr);
    FinalizeSpelling();
    SetProgramFolder("");
  }
  void CopyEnglish() {
    for (const char* name : {"english.qlx", "en_uk.qdi", "en_uk.qd"})
      std::filesystem::copy_file(std::filesystem::path(QM_PROGRAM_DIR) / "Dict" / name, Program.Path() / "Dict" / name);
  }

  TempFolder Program;
  std::string Opened;
};

TEST_F(DictionaryWarningAtStart, MissingRussianIsNamedAndOkOpensTheDownloadPage) {
  CopyEnglish();
  InitializeSpelling();
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  WarnMissingDictionaries();
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_NE(dialogs.Asked()[0].Text.find("have Russian spell-checkers"), std::string::npos);
  EXPECT_EQ(dialogs.Asked()[0].DlgType, mtWarning);
  EXPECT_EQ(Opened, kDictionaryDownloadPage);
}

TEST_F(DictionaryWarningAtStart, CancelOpensNothingAndAFullFolderAsksNothing) {
  InitializeSpelling();
  {
    TScriptedDialogs dialogs;
    dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
    WarnMissingDictionaries();
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_NE(dialogs.Asked()[0].Text.find("English and Russian"), std::string::npos);
    EXPECT_EQ(Opened, "");
  }
  FinalizeSpelling();
  SetProgramFolder(QM_PROGRAM_DIR "/");
  InitializeSpelling();
  TScriptedDialogs none;
  WarnMissingDictionaries();
  EXPECT_TRUE(none.Asked().empty());
}

}  // namespace
