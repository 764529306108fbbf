// The history of changes: the entry list and its limit, the preview line, entries stored by
// operations and "Add to History", loading, saving and clearing entries, and the history pane.
#include <gtest/gtest.h>

#include "components/adv_splitter.h"
#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/wide_edit.h"
#include "shell/history_list.h"
#include "shell/open_save.h"
#include "tests/platform/temp_folder.h"
#include "tests/shell/operation_test_fixture.h"

namespace {

TEST(HistoryList, NewestFirstAndTheOldestGoesBeyondTheLimit) {
  THistoryList list;
  for (int i = 1; i <= 101; ++i) list.Add(std::to_string(i), u"text");
  EXPECT_EQ(list.Count(), THistoryList::kMaxEntries);
  EXPECT_EQ(list.Entry(0).Name, "101");
  EXPECT_EQ(list.Entry(98).Name, "3");
  EXPECT_THROW(list.Entry(99), std::out_of_range);
}

TEST(HistoryPreview, PositionAndLine) {
  struct Case {
    int entryLength, lines, editorLength, selStart, line, position;
  };
  const Case cases[] = {
      {1000, 10, 495, 20, 3, 44},  // ratio 2
      {8, 2, 5, 4, 2, 6},          // "ab\rcd" against itself: ratio 6/5
      {10, 1, 0, 0, 1, 0},         // an empty editor: ratio 2
  };
  for (const Case& c : cases)
    EXPECT_EQ(HistoryPreviewPosition(c.entryLength, c.lines, c.editorLength, c.selStart, c.line), c.position);

  std::u16string text;
  for (int i = 0; i < 200; ++i) text += char16_t(u'a' + i % 26);
  text.replace(10, 2, u"\r\n");
  EXPECT_EQ(HistoryPreviewLine(text, 44), text.substr(4, 6) + u" " + text.substr(12, 72));
  EXPECT_EQ(HistoryPreviewLine(text, 5), text.substr(0, 10) + u" " + text.substr(12, 68));  // never before 0
  EXPECT_EQ(HistoryPreviewLine(text, 400), u"");
  EXPECT_EQ(HistoryLinesText(u"ab\rcd"), u"ab\r\ncd\r\n");
  EXPECT_EQ(HistoryLinesText(u""), u"");
}

class HistoryTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    form->ProcessingOptions().EnableHist = true;
  }
  std::u16string Memo() const { return form->RevMemo->GetTextW(); }
};

TEST_F(HistoryTest, TheFirstOperationStoresTheOriginalAndTheResultAndShowsTheOriginal) {
  SetText(Garbled(kRussian, 20866));
  Click("KOI8toWin12511");
  ASSERT_EQ(form->History().Count(), 2);
  EXPECT_EQ(form->History().Entry(0).Text, kRussian);
  EXPECT_EQ(form->RevList->Items()->Count(), 2);
  EXPECT_EQ(form->RevList->ItemIndex(), 1);
  EXPECT_EQ(Memo(), Garbled(kRussian, 20866));
  // The preview line shows the chosen entry around the caret.
  form->Editor->SetSelStart(0);
  form->UpdateStatusBar();
  EXPECT_EQ(form->EditPreview->WideText(), Garbled(kRussian, 20866) + u" ");  // its line end as a blank
  // Another entry chosen, or a new one added, is previewed at once.
  form->RevList->SetItemIndex(0);
  form->RevListChange(form->RevList);
  EXPECT_EQ(form->EditPreview->WideText(), kRussian + u" ");
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"new ");
  form->ConvSendToHistoryExecute(form);
  form->RevList->SetItemIndex(0);
  form->RevListChange(form->RevList);
  EXPECT_EQ(form->EditPreview->WideText(), u"new " + kRussian + u" ");
}

TEST_F(HistoryTest, TheSizeLimitHoldsForOperationsOnlyAndTextsKeepEveryCharacter) {
  form->ProcessingOptions().HistIgnoreSize = 20;
  SetText(std::u16string(20001, u'ж'));
  form->AddToHistory("big");
  EXPECT_EQ(form->History().Count(), 0);
  const std::u16string wide = u"Grüße € ẞ 😀 ж";  // partly outside code page 1251
  SetText(wide);
  form->ConvSendToHistoryExecute(form);
  ASSERT_EQ(form->History().Count(), 1);
  EXPECT_EQ(form->History().Entry(0).Text, wide);
  EXPECT_EQ(Memo(), wide);
}

TEST_F(HistoryTest, LoadingAnEntryStartsANewDocumentWithItsWholeText) {
  TScriptedDialogs dialogs;
  const std::u16string wide = u"Старый текст 😀 ẞ";
  SetText(wide);
  form->ConvSendToHistoryExecute(form);
  SetText(u"new text");
  form->ConvSendToHistoryExecute(form);
  form->RevList->SetItemIndex(1);
  form->RevListChange(form->RevList);
  // No: nothing happens.
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  form->ConvLoadRevExecute(form);
  EXPECT_EQ(Text(), u"new text");
  // A modified document is asked about, and Cancel there keeps everything.
  form->SetModified(true);
  form->OS->SetFileName("/tmp/kept.txt");
  form->SetCaption("/tmp/kept.txt");
  dialogs.Answer(TDialogKind::MessageDlg, mrYes).Answer(TDialogKind::MessageDlg, mrCancel);
  form->ConvLoadRevExecute(form);
  EXPECT_EQ(Text(), u"new text");
  EXPECT_EQ(form->History().Count(), 2);
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(form->Caption().find("kept.txt"), 0u);
  // Yes, then No to saving: a new, modified document holding the entry's text.
  dialogs.Answer(TDialogKind::MessageDlg, mrYes).Answer(TDialogKind::MessageDlg, mrNo);
  form->ConvLoadRevExecute(form);
  EXPECT_EQ(Text(), wide);
  EXPECT_EQ(form->History().Count(), 0);
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(form->OS->FileName(), "");
  EXPECT_TRUE(dialogs.Unexpected().empty());
  EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(HistoryTest, SaveToFileAndClearAll) {
  TScriptedDialogs dialogs;
  TempFolder folder;
  SetText(u"один\rдва");
  form->ConvSendToHistoryExecute(form);
  SetText(u"€ and 😀");
  form->ConvSendToHistoryExecute(form);
  form->ConvLoadRevUpdate(form);
  EXPECT_TRUE(form->ConvSaveRev->Enabled());
  const std::string plain = (folder.Path() / "plain.txt").string(), wide = (folder.Path() / "wide.txt").string();
  for (const std::string& name : {plain, wide}) {
    dialogs.Answer(TDialogKind::SaveFile, 1, [&](TDialogRequest& r) { r.Value = name; });
    form->ConvSaveRevExecute(form);
    form->RevList->SetItemIndex(0);
  }
  EXPECT_EQ(ReadFileBytes(plain), WideToAnsi(u"один\r\nдва\r\n", 1251));
  EXPECT_EQ(ReadFileBytes(wide), "\xEF\xBB\xBF" + WideToUtf8(u"€ and 😀\r\n"));

  dialogs.Answer(TDialogKind::MessageDlg, mrNo).Answer(TDialogKind::MessageDlg, mrYes);
  form->ClearAll1Click(form);
  EXPECT_EQ(form->History().Count(), 2);
  form->ClearAll1Click(form);
  EXPECT_EQ(form->History().Count(), 0);
  EXPECT_EQ(form->RevList->Items()->Count(), 0);
  EXPECT_EQ(Memo(), u"");
  form->ConvLoadRevUpdate(form);
  EXPECT_FALSE(form->ConvLoadRev->Enabled());
  EXPECT_FALSE(form->ClearAll1->Enabled());
}

TEST_F(HistoryTest, ThePaneHoldsTheEditorBesideTheMemo) {
  form->SetBounds(0, 0, 800, 600);
  EXPECT_FALSE(form->HistPanes->Visible());
  EXPECT_FALSE(form->HistoryMain->Visible());
  form->HistoryPane1Click(form->HistoryPane1);
  EXPECT_TRUE(form->HistoryPane1->Checked());
  EXPECT_TRUE(form->HistoryMain->Visible());
  EXPECT_TRUE(form->HistPanes->Visible());
  EXPECT_EQ(form->Editor->Parent(), form->HistPanes->Pane1());
  EXPECT_EQ(form->RevMemo->Parent(), form->HistPanes->Pane2());
  // The document gets a fair share of the window, not a sliver.
  ASSERT_GT(form->HistPanes->ClientLength(), 300);
  EXPECT_GE(form->Editor->Width(), form->HistPanes->ClientLength() / 3);
  form->HistPanes->SwapPanes();
  form->HistoryPane1Click(form->HistoryPane1);
  form->HistoryPane1Click(form->HistoryPane1);
  EXPECT_EQ(form->Editor->Parent(), form->HistPanes->Pane2());
  form->HistoryPane1Click(form->HistoryPane1);
  EXPECT_EQ(form->Editor->Parent(), form);
  EXPECT_FALSE(form->HistPanes->Visible());
}

TEST_F(HistoryTest, ANewDocumentClearsTheHistoryAndACancelledOneKeepsIt) {
  TScriptedDialogs dialogs;
  SetText(u"text");
  form->ConvSendToHistoryExecute(form);
  form->SetModified(true);
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  form->FileNew(form);
  EXPECT_EQ(form->History().Count(), 1);
  EXPECT_EQ(Text(), u"text");
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  form->FileNew(form);
  EXPECT_EQ(form->History().Count(), 0);
  EXPECT_EQ(form->RevList->Items()->Count(), 0);
}

}  // namespace
