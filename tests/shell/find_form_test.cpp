// The Find & Replace window driven as the user drives it: its messages, interactive replace,
// the silent list run other commands use, the attribute page and the stored options.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "platform/rich_text.h"
#include "platform/string_list.h"
#include "preferences_test_env.h"
#include "shell/find_form.h"
#include "shell/preferences_key.h"
#include "shell/progress_wait_form.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"

namespace {

class FindFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world = std::make_unique<TTestWorld>();
    dialogs = std::make_unique<TScriptedDialogs>();
    editor = new TRichEditW(Application);
    form = new TFindForm(Application);
    form->Editor = editor;
  }
  void TearDown() override {
    if (form) TComponent::Free(form);
    TComponent::Free(editor);
    EXPECT_TRUE(dialogs->Unexpected().empty());
    dialogs.reset();
  }
  void SetText(const std::u16string& text) {
    editor->SetTextW(text);
    editor->SetSelStart(0);
    editor->SetSelLength(0);
  }
  // Expects one information box and answers it; answers its text.
  void ExpectInfo() { dialogs->Answer(TDialogKind::MessageDlg, mrOk); }
  std::string LastText() const { return dialogs->Asked().empty() ? "" : dialogs->Asked().back().Text; }
  void Colour(int start, int length, TColor color) {
    editor->SetSelStart(start);
    editor->SetSelLength(length);
    TCharFormat format;
    format.Color = uint32_t(color);
    editor->Control().SetCharFormat(format, CFM_COLOR, TRichFormatTarget::Selection);
  }

  std::unique_ptr<TTestWorld> world;
  std::unique_ptr<TScriptedDialogs> dialogs;
  TRichEditW* editor = nullptr;
  TFindForm* form = nullptr;
};

TEST_F(FindFormTest, MessagesAndMisuse) {
  EXPECT_EQ(TFindForm::GetMsg("Nope"), "FindForm: undefined message Nope");
  EXPECT_EQ(TFindForm::GetMsg("FindDoc"), "document");
  form->Editor = nullptr;
  try {
    form->FindText("x", false);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "FindForm: Editor is not assigned.");
  }
}

TEST_F(FindFormTest, ReachedMessagesAndReplaceAllCount) {
  SetText(u"cat cat cat");
  form->ShowPage(1);
  form->EditFind->SetText("dog");
  ExpectInfo();
  form->FindClick(form->BtnFirst);
  EXPECT_EQ(LastText(), "Reached the end of the document.");
  ExpectInfo();
  form->FindClick(form->BtnLast);
  EXPECT_EQ(LastText(), "Reached the beginning of the document.");
  // A found match is selected.
  form->EditFind->SetText("cat");
  form->FindClick(form->BtnLast);
  EXPECT_EQ(editor->SelStart(), 8);
  EXPECT_EQ(editor->SelLength(), 3);
  form->ShowPage(2);
  form->EditReplace->SetText("dog");
  form->CBColor->SetChecked(false);
  editor->SetSelLength(0);
  ExpectInfo();
  form->BtnAllClick(form->BtnAll);
  EXPECT_EQ(LastText(), "Successfully replaced 3 elements.\rReached the end of the document.");
  EXPECT_EQ(editor->GetTextW(), u"dog dog dog");
  // The history holds each search once, newest first.
  ASSERT_GE(form->EditFind->Items()->Count(), 2);
  EXPECT_EQ(form->EditFind->Items()->Strings(0), "cat");
  EXPECT_EQ(form->EditFind->Items()->Strings(1), "dog");
  // Nothing to replace is said as such, not as a success.
  form->EditFind->SetText("cow");
  ExpectInfo();
  form->BtnAllClick(form->BtnAll);
  EXPECT_EQ(LastText(), "Nothing was found, nothing was replaced.\rReached the end of the document.");
}

TEST_F(FindFormTest, EachFieldShowsWithItsLabel) {
  form->Show();
  for (int page = 1; page <= 4; ++page) {
    form->ShowPage(page);
    EXPECT_EQ(form->LabelFind->Visible(), form->EditFind->Visible()) << page;
    EXPECT_EQ(form->LabelReplace->Visible(), form->EditReplace->Visible()) << page;
    EXPECT_EQ(form->LabelMulti->Visible(), form->EditMulti->Visible()) << page;
    for (TLabel* label : {form->LabelFind, form->LabelReplace, form->LabelMulti})
      if (label->Visible()) EXPECT_LE(label->Left() + label->Width(), form->EditFind->Left()) << page;
  }
  form->Hide();
}

TEST_F(FindFormTest, EmptyPatternEndsAtOnce) {
  SetText(u"abc");
  form->ShowPage(2);
  form->EditFind->SetText("{0}");
  form->EditReplace->SetText("x");
  ExpectInfo();
  form->BtnAllClick(form->BtnAll);
  EXPECT_EQ(editor->GetTextW(), u"abc");
  EXPECT_EQ(form->Count(), 0);
}

TEST_F(FindFormTest, InteractiveReplacePreservesCaseAndMarks) {
  SetText(u"CAT Cat cat");
  form->ShowPage(2);
  form->EditFind->SetText("cat");
  form->EditReplace->SetText("dog");
  form->CBPreserveCase->SetChecked(true);
  form->CBColor->SetChecked(true);
  form->BtnReplaceClick(form->BtnReplace);
  form->BtnReplaceClick(form->BtnReplace);
  ExpectInfo();  // the search after the last replacement reaches the end
  form->BtnReplaceClick(form->BtnReplace);
  EXPECT_EQ(editor->GetTextW(), u"DOG Dog dog");
  EXPECT_EQ(editor->Control().CharFormatAt(9).Color, uint32_t(clFuchsia));
  EXPECT_EQ(form->Count(), 3);
}

TEST_F(FindFormTest, MarkChangesColoursOnlyTheReplacements) {
  for (const bool plain : {false, true}) {
    editor->SetPlainText(plain);
    SetText(u"a жизнь b жизнь");
    form->ShowPage(2);
    form->EditFind->SetText(Utf8ToAnsi("жизнь"));
    form->EditReplace->SetText(Utf8ToAnsi("Судьба"));
    form->CBPreserveCase->SetChecked(true);
    form->CBColor->SetChecked(true);
    ExpectInfo();
    form->BtnAllClick(form->BtnAll);
    EXPECT_EQ(editor->GetTextW(), u"a судьба b судьба");
    EXPECT_NE(editor->Control().CharFormatAt(0).Color, uint32_t(clFuchsia)) << plain;
    EXPECT_NE(editor->Control().CharFormatAt(10).Color, uint32_t(clFuchsia)) << plain;
    if (!plain) EXPECT_EQ(editor->Control().CharFormatAt(3).Color, uint32_t(clFuchsia));
  }
}

TEST_F(FindFormTest, ReplaceFromListKeepsToSelectionAndUserOptions) {
  SetText(u"xx yy xx");
  form->CBMatchCase->SetChecked(false);
  form->CBPreserveCase->SetChecked(true);
  editor->SetSelStart(0);
  editor->SetSelLength(2);
  TStringList list;
  list.Add("xx=zz");
  EXPECT_EQ(form->ReplaceFromList(list, true, true, false, true, 0), 1);
  EXPECT_EQ(editor->GetTextW(), u"zz yy xx");
  EXPECT_TRUE(dialogs->Asked().empty());
  EXPECT_TRUE(form->CBMatchCase->Checked());
  EXPECT_TRUE(form->CBWholeWords->Checked());
  EXPECT_FALSE(form->CBColor->Checked());
  EXPECT_FALSE(form->CBPreserveCase->Checked());
  // What is stored is what the user chose.
  TComponent::Free(form);
  form = nullptr;
  TWinRegistry registry(kProductKey);
  EXPECT_EQ(registry.ReadString("FindForm", "CBMatchCase_Checked", ""), "False");
  EXPECT_EQ(registry.ReadString("FindForm", "CBPreserveCase_Checked", ""), "True");
  EXPECT_EQ(registry.ReadString("FindForm", "CBColor_Checked", ""), "True");
}

TEST_F(FindFormTest, StoredOptionsComeBack) {
  form->CBWholeWords->SetChecked(true);
  form->EditFind->SetText("needle");
  form->EditMulti->Lines()->Add("a=b");
  form->ColorRep->Brush()->SetColor(clRed);
  TComponent::Free(form);
  form = new TFindForm(Application);
  EXPECT_TRUE(form->CBWholeWords->Checked());
  EXPECT_EQ(form->EditFind->GetText(), "needle");
  ASSERT_EQ(form->EditMulti->Lines()->Count(), 1);
  EXPECT_EQ(form->EditMulti->Lines()->Strings(0), "a=b");
  EXPECT_EQ(form->ColorRep->Brush()->Color(), clRed);
}

TEST_F(FindFormTest, ListRunSkipsLinksByFilter) {
  SetText(u"one one");
  editor->SetSelStart(4);
  editor->SetSelLength(3);
  TCharFormat format;
  format.Link = true;
  editor->Control().SetCharFormat(format, CFM_LINK, TRichFormatTarget::Selection);
  editor->SetSelLength(0);
  TStringList list;
  list.Add("one=1");
  EXPECT_EQ(form->ReplaceFromList(list, false, false, false, true, 2), 1);
  EXPECT_EQ(editor->GetTextW(), u"1 one");
}

TEST_F(FindFormTest, WaitWindowStopEndsListRun) {
  TWaitForm* wait = new TWaitForm(Application);
  WaitForm = wait;
  TComponent::Free(form);
  form = new TFindForm(Application);  // wires the wait window's Stop
  form->Editor = editor;
  SetText(u"a a a a a a");
  int calls = 0;
  form->OnProgress = [&](TObject*, int) {
    if (++calls == 2) wait->BtnStop->Click();
    return false;
  };
  TStringList list;
  list.Add("a=b");
  EXPECT_EQ(form->ReplaceFromList(list, false, false, false, true, 0), 2);
  EXPECT_EQ(editor->GetTextW(), u"b b a a a a");
  TComponent::Free(form);
  form = nullptr;
  TComponent::Free(wait);
}

TEST_F(FindFormTest, AttributePageCopiesColouredRuns) {
  SetText(u"abc x !! y def");
  Colour(0, 3, clFuchsia);
  Colour(6, 2, clFuchsia);
  Colour(11, 3, clFuchsia);
  editor->SetSelStart(0);
  editor->SetSelLength(0);
  form->ShowPage(4);
  form->CBCopy->SetChecked(true);
  EXPECT_TRUE(form->BtnAll->Enabled());
  ExpectInfo();
  form->BtnAllClick(form->BtnAll);
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"abc\r\ndef");
  EXPECT_EQ(form->Count(), 2);
  // Without an action nothing can be replaced.
  form->CBCopy->SetChecked(false);
  EXPECT_FALSE(form->BtnAll->Enabled());
}

TEST_F(FindFormTest, AttributePageDeletesAndRecolours) {
  SetText(u"keep gone keep red");
  Colour(5, 4, clFuchsia);
  Colour(15, 3, clFuchsia);
  editor->SetSelLength(0);
  form->ShowPage(4);
  form->CBDelWord->SetChecked(true);
  ExpectInfo();
  form->BtnAllClick(form->BtnAll);
  EXPECT_EQ(editor->GetTextW(), u"keep  keep ");
}

TEST_F(FindFormTest, ReplaceListIsSavedLoadedAndCleared) {
  form->ShowPage(3);
  EXPECT_TRUE(form->BtnClear->Visible());
  EXPECT_FALSE(form->BtnFormat->Visible());  // no help file is installed to open
  form->EditMulti->Lines()->Add("a=b");
  form->EditMulti->Lines()->Add("c=d|+${32}e");
  const std::string file = world->ProgramFolder + "list.txt";
  dialogs->Answer(TDialogKind::SaveFile, 1, [&](TDialogRequest& r) { r.Value = file; });
  form->SpeedButton2->Click();
  dialogs->Answer(TDialogKind::MessageDlg, mrNo);
  form->BtnClear->Click();
  EXPECT_EQ(form->EditMulti->Lines()->Count(), 2);
  dialogs->Answer(TDialogKind::MessageDlg, mrYes);
  form->BtnClear->Click();
  EXPECT_EQ(form->EditMulti->Lines()->Count(), 0);
  dialogs->Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) { r.Value = file; });
  form->SpeedButton1->Click();
  ASSERT_EQ(form->EditMulti->Lines()->Count(), 2);
  EXPECT_EQ(form->EditMulti->Lines()->Strings(1), "c=d|+${32}e");
  // The Multi page runs the list.
  SetText(u"a c e");
  ExpectInfo();
  form->BtnAllClick(form->BtnAll);
  EXPECT_EQ(editor->GetTextW(), u"b d e");
  EXPECT_EQ(dialogs->Asked()[1].Text, "Clear the replace list?");
}

TEST_F(FindFormTest, SpecialSymbolsGoInAtTheCaret) {
  form->ShowPage(1);
  form->EditFind->SetText("ab");
  form->EditFind->SetSelStart(1);
  form->EditFind->SetSelLength(0);
  auto* item = dynamic_cast<TMenuItem*>(form->FindComponent("CarriageReturn1"));
  ASSERT_NE(item, nullptr);
  item->Click();
  EXPECT_EQ(form->EditFind->GetText(), "a{13}b");
}

}  // namespace
