// The unpacking window over a real packed dictionary: its steps and free space, the errors of
// a size mismatch and of a full disk (a file size limit on the test process), and the
// Abort / Retry / Ignore question.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "proofing/dictionary.h"
#include "proofing/dictionary_format.h"
#include "proofing/spell_unpack_form.h"
#include "tests/shell/preferences_test_env.h"

namespace {

// A packed dictionary of four words ("oxcatdogcats", 12 bytes) whose header claims `DataSize`.
void WritePacked(const std::string& Folder, uint32_t DataSize) {
  TQDictHeader header;
  header.SetLcid(LANG_ENGLISH_US);
  header.SetTitle("Golden");
  header.SetDataName("golden");
  header.SetGroupNumber(1);
  header.SetOnByDefault(1);
  header.SetDataSize(DataSize);
  header.SetWordCount(4);
  header.SetGroup(2, 0, 1);
  header.SetGroup(3, 2, 2);
  header.SetGroup(4, 8, 1);
  const std::string bytes(header.Bytes.data(), kDictHeaderSize);
  WriteFileAtomic(Folder + "golden.qdp", bytes + "\x01" "cat" "\x04" "s" "\x01" "dog" "\x01" "ox");
  WriteFileAtomic(Folder + "golden.qdi", bytes);
}

class SpellUnpackTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Folder = World.ProgramFolder;
  }
  TTestWorld World;
  std::string Folder;
  TSCUnpack Unpack{nullptr};
  TScriptedDialogs Dialogs;
};

TEST_F(SpellUnpackTest, ShowsTheStepsAndTheFreeSpace) {
  EXPECT_EQ(Unpack.Label1->Caption(),
            "Spell-checker dictionaries are distributed in the compressed form. Please wait, while the "
            "dictionaries are being unpacked.");
  WritePacked(Folder, 12);
  TQDictionary dictionary(Folder + "golden.qdi", &Unpack);
  EXPECT_TRUE(dictionary.IsReady());
  EXPECT_TRUE(Unpack.Visible());
  EXPECT_NE(Unpack.LabelDic->Caption().find("(Golden)"), std::string::npos);
  for (TCheckBox* step : Unpack.Steps) EXPECT_TRUE(step->Checked());
  EXPECT_NE(Unpack.Label2->Caption().find(" MB left"), std::string::npos);
  Unpack.CheckStep(2);  // a later dictionary starts again: the later steps clear
  EXPECT_TRUE(Unpack.Steps[1]->Checked());
  EXPECT_FALSE(Unpack.Steps[2]->Checked());
  EXPECT_TRUE(Dialogs.Asked().empty());
}

TEST_F(SpellUnpackTest, SizeMismatchAndFullDiskAreReportedAndNothingIsLeft) {
  // The header claims 13 bytes: the check after writing fails.
  WritePacked(Folder, 13);
  Dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  {
    TQDictionary dictionary(Folder + "golden.qdi", &Unpack);
    EXPECT_FALSE(dictionary.IsReady());
  }
  ASSERT_EQ(Dialogs.Asked().size(), 1u);
  EXPECT_EQ(Dialogs.Asked()[0].Text, "Dictionary size doesn't match. Unpacking failed.");
  EXPECT_EQ(Dialogs.Asked()[0].DlgType, mtError);
  EXPECT_TRUE(FileExists(Folder + "golden.qdp"));
  EXPECT_FALSE(FileExists(Folder + "golden.qd"));

  // A full disk: files of this process may not grow beyond 5 bytes while it unpacks.
  std::filesystem::remove(Folder + "golden.qdp");
  WritePacked(Folder, 12);
  Dialogs.Answer(TDialogKind::MessageDlg, mrOk).Answer(TDialogKind::MessageDlg, mrOk);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 5;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool ready = true;
  {
    TQDictionary dictionary(Folder + "golden.qdi", &Unpack);
    ready = dictionary.IsReady();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ready);
  ASSERT_GE(Dialogs.Asked().size(), 2u);
  EXPECT_NE(Dialogs.Asked()[1].Text.find("Disk is full"), std::string::npos) << Dialogs.Asked()[1].Text;
  EXPECT_TRUE(FileExists(Folder + "golden.qdp"));
  EXPECT_FALSE(FileExists(Folder + "golden.qd"));
}

TEST_F(SpellUnpackTest, LowSpaceQuestionAnswersAbortRetryOrIgnore) {
  const std::pair<int, TLowSpaceAnswer> answers[] = {
      {mrAbort, TLowSpaceAnswer::Abort}, {mrRetry, TLowSpaceAnswer::Retry}, {mrIgnore, TLowSpaceAnswer::Ignore}};
  for (auto [result, answer] : answers) {
    Dialogs.Answer(TDialogKind::MessageDlg, result);
    EXPECT_EQ(Unpack.AskLowSpace("Drive / is low on space."), answer);
  }
  for (const TDialogRequest& asked : Dialogs.Asked()) {
    EXPECT_EQ(asked.Buttons, mbAbortRetryIgnore);
    EXPECT_EQ(asked.Text, "Drive / is low on space.");
  }
}

}  // namespace
