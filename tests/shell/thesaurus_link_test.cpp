// The thesaurus link without its library.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"
#include "shell/thesaurus_link.h"

namespace {

TEST(ThesaurusLink, MissingLibraryOrEntryPointGivesNotFound) {
  // The C library exists but has no thesaurus entry point.
  for (const char* name : {"libquillomark-no-such-thesaurus.so", "libc.so.6"}) {
    TThesaurusLink link;
    link.LibraryName = name;
    link.LookupWord = "word";
    try {
      link.Execute();
      FAIL() << name;
    } catch (const EThesaurusLinkError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("WordWeb Thesaurus is not found. Please install the free version of WordWeb "
                            "Thesaurus from ") + kThesaurusDownloadAddress);
    }
    EXPECT_EQ(link.ReturnWord, "");
  }
}

}  // namespace

// Our thesaurus library in the program folder, driven through the dialog service.
namespace {

class OwnThesaurusTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    link.LibraryName = std::string(QM_PROGRAM_DIR) + "/libqmthesaurus.so";
  }
  // Answers the picker: selects synonym `synonym` of meaning `meaning` and ends with `result`.
  void AnswerPicker(int result, int meaning = 0, int synonym = 0, std::vector<std::string>* shown = nullptr) {
    dialogs.Answer(TDialogKind::Form, result, [=](TDialogRequest& r) {
      auto* meanings = dynamic_cast<TListBox*>(r.Form->FindComponent("ListMeanings"));
      auto* synonyms = dynamic_cast<TListBox*>(r.Form->FindComponent("ListSynonyms"));
      ASSERT_TRUE(meanings && synonyms);
      if (shown)
        for (int i = 0; i < synonyms->Items()->Count(); ++i) shown->push_back((*synonyms->Items())[i]);
      if (meaning >= meanings->Items()->Count()) return;
      meanings->SetItemIndex(meaning);
      meanings->Click();  // the user's click shows that meaning's synonyms
      synonyms->SetItemIndex(synonym);
    });
  }
  TScriptedDialogs dialogs;
  TThesaurusLink link;
};

TEST_F(OwnThesaurusTest, ChosenSynonymComesBackInBothLanguages) {
  std::vector<std::string> shown;
  AnswerPicker(mrOk, 0, 1, &shown);
  link.LookupWord = "Happy";
  ASSERT_TRUE(link.Execute());
  EXPECT_EQ(link.ReturnWord, "blissful");  // without the data's remark "(similar term)"
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "blessed");

  // A Russian word in code page 1251: "дом" gives "здание" first.
  AnswerPicker(mrOk);
  link.LookupWord = "\xE4\xEE\xEC";
  ASSERT_TRUE(link.Execute());
  EXPECT_EQ(link.ReturnWord, "\xE7\xE4\xE0\xED\xE8\xE5");
  // Another meaning: "(adj) felicitous, fortunate".
  AnswerPicker(mrOk, 1, 1);
  link.LookupWord = "happy";
  ASSERT_TRUE(link.Execute());
  EXPECT_EQ(link.ReturnWord, "fortunate");
  EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(OwnThesaurusTest, ClosingWithoutAWordChangesNothing) {
  AnswerPicker(mrCancel);
  link.LookupWord = "happy";
  link.ReturnWord = "before";
  EXPECT_FALSE(link.Execute());
  EXPECT_EQ(link.ReturnWord, "before");
  // A word the thesaurus lacks: the picker says so and nothing is chosen.
  dialogs.Answer(TDialogKind::Form, mrOk, [](TDialogRequest& r) {
    auto* status = dynamic_cast<TLabel*>(r.Form->FindComponent("LabelStatus"));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Caption(), "No synonyms found for \"qzxv\".");
  });
  link.LookupWord = "qzxv";
  EXPECT_FALSE(link.Execute());
}

TEST_F(OwnThesaurusTest, ReplaceEndsThePickerOnlyWithCloseOnCopy) {
  // Without close-on-copy "Replace" takes the word and the window stays until it is closed.
  for (bool closeOnCopy : {false, true}) {
    SCOPED_TRACE(closeOnCopy);
    dialogs.Answer(TDialogKind::Form, mrCancel, [closeOnCopy](TDialogRequest& r) {
      auto* replace = dynamic_cast<TButton*>(r.Form->FindComponent("BtnReplace"));
      auto* synonyms = dynamic_cast<TListBox*>(r.Form->FindComponent("ListSynonyms"));
      ASSERT_TRUE(replace && synonyms);
      synonyms->SetItemIndex(2);
      replace->Click();
      EXPECT_EQ(r.Form->ModalResult(), closeOnCopy ? mrOk : mrNone);
      if (closeOnCopy) r.Result = mrOk;  // the window ended itself
    });
    link.CloseOnCopy = closeOnCopy;
    link.LookupWord = "happy";
    ASSERT_TRUE(link.Execute());
    EXPECT_EQ(link.ReturnWord, "bright");
  }
}

TEST_F(OwnThesaurusTest, MissingDataIsReportedClearly) {
  const char* saved = std::getenv("XDG_DATA_DIRS");
  const std::string savedValue = saved ? saved : "";
  ::setenv("XDG_DATA_DIRS", "/nonexistent-qm", 1);
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  link.LookupWord = "happy";
  EXPECT_FALSE(link.Execute());
  if (saved) ::setenv("XDG_DATA_DIRS", savedValue.c_str(), 1); else ::unsetenv("XDG_DATA_DIRS");
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].Text,
            "The English thesaurus is not installed: /nonexistent-qm/mythes/th_en_US_v2.idx cannot be read. "
            "Install the package mythes-en-us.");
  EXPECT_EQ(dialogs.Asked()[0].DlgType, mtError);
}

}  // namespace
