// The Convert and Search commands of the main window on its editor, with the find form and the
// shipped rule files, as the menu items run them.
#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "preferences_test_env.h"
#include "shell/find_form.h"
#include "shell/main_form.h"
#include "shell/progress.h"
#include "shell/status_bar_text.h"
#include "shell/unicode_form.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/timer.h"
#include "platform/code_pages.h"
#include "platform/rich_text.h"
#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "tests/support/colour_pick.h"

namespace {

class ConvertCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    for (const char* name : {"prehtml.ini", "pretranslit.ini"})
      world.WriteProgramFile(name, ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/" + name));
    main = new TMainForm(Application);
    find = new TFindForm(Application);
    main->BindFindForm();
  }
  // A list run stopped by a test leaves the program-wide progress procedures stopped (the
  // program's next operation starts them again, under its caption); no later test sees that.
  void TearDown() override {
    SetProgressMessagePump(nullptr);
    ProgressEnd();
    TComponent::Free(find);
    TComponent::Free(main);
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  void SetText(const std::u16string& text) {
    main->Editor->SetTextW(text);
    main->ResetDocument();
    main->Editor->SetSelStart(0);
    main->Editor->SetSelLength(0);
  }
  void Select(int start, int length) {
    main->Editor->SetSelStart(start);
    main->Editor->SetSelLength(length);
  }
  std::u16string Text() const { return main->Editor->GetTextW(); }
  // Runs a menu item as a click on it does.
  void Click(const char* name) {
    auto* item = dynamic_cast<TMenuItem*>(main->FindComponent(name));
    ASSERT_NE(item, nullptr) << name;
    item->Click();
  }

  TTestWorld world;
  TScriptedDialogs dialogs;
  TMainForm* main = nullptr;
  TFindForm* find = nullptr;
};

TEST_F(ConvertCommandsTest, RemoveHtmlDecodesEntitiesAndKeepsForeignText) {
  SetText(u"<p>&laquo;Caf&eacute;&raquo; &mdash; &alpha;&beta; \U0001F600 &lt;b&gt; a&amp;b</p>");
  Click("RemoveHTML1");
  EXPECT_EQ(Text(), u"«Cafe\u0301» — αβ \U0001F600 <b> a&amp;b");
  EXPECT_FALSE(main->Busy());
  EXPECT_TRUE(main->DocModified());
}

TEST_F(ConvertCommandsTest, RemoveHtmlOnTheSelectionOnly) {
  SetText(u"<b>keep</b> <i>strip</i>");
  Select(12, 12);
  Click("RemoveHTML1");
  EXPECT_EQ(Text(), u"<b>keep</b> strip");
}

TEST_F(ConvertCommandsTest, TransliterationUsesExceptionsAndKeepsLongLines) {
  std::u16string longLine;
  for (int i = 0; i < 1200; ++i) longLine += u"строка ";  // 8400 characters
  SetText(u"Москва и Москвич\r" + longLine + u"\rконец");
  Click("Transliterate1");
  const std::u16string text = Text();
  EXPECT_EQ(text.substr(0, 9), u"Moscow i ");
  EXPECT_EQ(text.find(u"Moscowich"), std::u16string::npos);
  EXPECT_EQ(text.find_first_of(u"абвгдежзийклмнопрстуфхцчшщъыьэюяМ"), std::u16string::npos);
  // The long paragraph is whole: its last word and the paragraph after it are there.
  const size_t second = text.find(u'\r') + 1, third = text.rfind(u'\r');
  EXPECT_EQ(text.substr(third + 1), u"konets");
  EXPECT_EQ(third - second, size_t(1200 * 7));
  EXPECT_EQ(main->Editor->UpdateLock(), 0);  // the window shows the text again
}

TEST_F(ConvertCommandsTest, TransliterationWithSelectionConvertsOnlyIt) {
  SetText(u"Москва Москва\rвторой");
  Select(7, 6);
  Click("Transliterate1");
  EXPECT_EQ(Text(), u"Москва Moscow\rвторой");
}

// Plain text is written back at once, rich text paragraph by paragraph: both give the same.
TEST_F(ConvertCommandsTest, TransliterationGivesTheSameInPlainAndRichText) {
  struct Case {
    std::u16string text;
    int start, length;  // the selection; length 0: the whole text
    std::u16string result;
  } cases[] = {
      {u"Жук и\rёж\r\rconst", 0, 0, u"Zhuk i\rezh\r\rconst"},
      {u"Жук и\rёж\r", 0, 0, u"Zhuk i\rezh\r"},
      {u"Жук и\rёж\rкот", 4, 5, u"Жук i\rezh\rкот"},
  };
  for (const bool plain : {false, true}) {
    for (const Case& c : cases) {
      main->Editor->SetPlainText(plain);
      SetText(c.text);
      Select(c.start, c.length);
      Click("Transliterate1");
      EXPECT_EQ(Text(), c.result) << (plain ? "plain " : "rich ") << c.start;
      EXPECT_FALSE(main->Busy());
    }
  }
}

TEST_F(ConvertCommandsTest, StopDuringTheExceptionListEndsTransliteration) {
  SetText(u"Москва и Москва");
  SetProgressMessagePump([this] {
    if (main->Busy()) ProgressCancel();
  });
  Click("Transliterate1");
  EXPECT_EQ(Text().find(u'и'), size_t(7));  // the letter pass never ran
  EXPECT_FALSE(main->Busy());
  // The stopped run's display has ended: the gauge is back at 0 and the stop is taken back.
  EXPECT_FALSE(ProgressStopRequested());
  EXPECT_EQ(main->ProgressBar1->Position(), 0);
}

TEST_F(ConvertCommandsTest, StopDuringEntityListDropsTheTagRemoval) {
  SetText(u"<b>&alpha;</b> &beta;");
  SetProgressMessagePump([this] {
    if (main->Busy()) ProgressCancel();
  });
  Click("RemoveHTML1");
  EXPECT_NE(Text().find(u"<b>"), std::u16string::npos);
  EXPECT_FALSE(main->Busy());
}

TEST_F(ConvertCommandsTest, CaseItemsOnSelectionAndWordAtCaret) {
  SetText(u"ёж café");
  Select(0, 7);
  Click("CaseUpper");
  EXPECT_EQ(Text(), u"ЁЖ CAFÉ");
  Select(1, 0);  // caret inside the first word
  Click("CaseToggle");
  EXPECT_EQ(Text(), u"ёж CAFÉ");
  Select(4, 0);
  Click("CaseTitle");
  EXPECT_EQ(Text(), u"ёж Café");
  EXPECT_TRUE(main->DocModified());
}

TEST_F(ConvertCommandsTest, CaseChangeOfALongTextShowsProgressAndStopLeavesItAsItWas) {
  std::u16string text;
  while (text.size() < 200000) text += u"ёж café ";
  SetText(text);
  Select(0, int(text.size()));
  int pumps = 0;
  SetProgressMessagePump([&] {
    if (main->Busy() && ++pumps == 2) ProgressCancel();
  });
  EXPECT_THROW(Click("CaseUpper"), EAbort);
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(main->Busy());
  EXPECT_GE(pumps, 2);
}

TEST_F(ConvertCommandsTest, QuickSampleOffersTheCaseFormsAndAPickReplacesTheTrimmedText) {
  SetText(u"say  ёжик café  now");
  Select(3, 13);  // "  ёжик café  ": the blanks around stay
  Click("ChangeCase2");
  EXPECT_TRUE(main->SuggList->Visible());
  const std::vector<std::u16string> forms = {u"ЁЖИК CAFÉ", u"ёжик café", u"Ёжик Café", u"Ёжик café"};
  EXPECT_EQ(main->SuggEntries(), forms);
  main->SuggList->SetItemIndex(2);
  main->PickSuggestion();
  EXPECT_EQ(Text(), u"say  Ёжик Café  now");

  // One word gets no sentence form; a form starting with "+" is text, not a word for the dictionary.
  SetText(u"+abc");
  Select(0, 4);
  Click("ChangeCase2");
  EXPECT_EQ(main->SuggEntries().size(), 3u);
  main->SuggList->SetItemIndex(0);
  main->PickSuggestion();
  EXPECT_EQ(Text(), u"+ABC");
}

TEST_F(ConvertCommandsTest, SearchMenuOpensTheFindFormWithTheSelection) {
  SetText(u"one two one two");
  Select(4, 3);
  Click("Replace1");
  EXPECT_TRUE(find->Visible());
  EXPECT_EQ(find->PageControl1->ActivePage(), find->TSReplace);
  EXPECT_EQ(find->EditFind->GetText(), "two");
  // Find Next goes on to the following occurrence of the selected word.
  Select(4, 3);
  Click("FindNextOccurence2");
  EXPECT_EQ(main->Editor->SelStart(), 12);
  EXPECT_EQ(main->Editor->SelLength(), 3);
  Click("FindPreviousOccurence1");
  EXPECT_EQ(main->Editor->SelStart(), 4);
  find->Hide();
  // While an operation runs, a search of the user's does nothing.
  main->SetBusy(true);
  EXPECT_THROW(find->FindText("one", false), EAbort);
  EXPECT_TRUE(main->Busy());
  main->SetBusy(false);
}

TEST_F(ConvertCommandsTest, FindWindowSwatchesTakeTheirColoursFromTheColourMenu) {
  SetText(u"one two");
  Click("Replace1");
  ASSERT_TRUE(find->Visible());
  for (TShape* swatch : {find->ColorFind, find->ColorReplace, find->ColorRep}) {
    PickFromColourMenu(swatch, clTeal);
    EXPECT_EQ(swatch->Brush()->Color(), clTeal) << swatch->Name();
  }
  // The chosen colour marks the replacements.
  find->EditFind->SetText("two");
  find->EditReplace->SetText("2");
  find->CBColor->SetChecked(true);
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);  // the search after it reaches the end
  find->BtnReplaceClick(find->BtnReplace);
  EXPECT_EQ(Text(), u"one 2");
  EXPECT_EQ(main->Editor->Control().CharFormatAt(4).Color, uint32_t(clTeal));
  // A colour the table lacks comes through "Other": its dialog starts from the swatch's colour.
  TColor offered = clNone;
  dialogs.Answer(TDialogKind::Color, 1, [&](TDialogRequest& r) {
    offered = r.Color;
    r.Color = 0x123456;
  });
  PickFromColourMenu(find->ColorRep, 0x123456);
  EXPECT_EQ(offered, clTeal);
  EXPECT_EQ(find->ColorRep->Brush()->Color(), TColor(0x123456));
  EXPECT_EQ(find->ColorFind->Brush()->Color(), clTeal);
}

TEST_F(ConvertCommandsTest, StatusBarFollowsReplaceAllAndUndo) {
  auto expectCurrent = [&](const char* step) {
    TRichEditW& editor = *main->Editor;
    const int length = editor.Control().TextLength();
    EXPECT_EQ(main->StatusBar->Panels()->Items(1)->Text(), PositionText(editor.SelStart(), editor.SelLength(), length))
        << step;
    EXPECT_EQ(main->StatusBar->Panels()->Items(0)->Text(),
              LineText(editor.Control().LineFromChar(editor.SelStart()) + 1, editor.Control().LineCount(),
                       editor.SelStart() - editor.Control().LineIndex(-1) + 1))
        << step;
  };
  main->ProcessingOptions().EnableUndo = true;  // undo kept on for the replacements
  SetText(u"cat one\rcat two\rcat");
  Select(20, 0);
  main->UpdateStatusBar();
  Click("Replace1");
  find->EditFind->SetText("cat");
  find->EditReplace->SetText("c");
  find->RBGlobal->SetChecked(true);
  find->CBColor->SetChecked(false);
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  find->BtnAll->Click();
  ASSERT_EQ(Text(), u"c one\rc two\rc");
  expectCurrent("after Replace All");
  find->Hide();
  Select(0, 0);
  main->EditUndoCmdUpdate(main);
  Click("EditUndoItem");
  ASSERT_EQ(Text(), u"cat one\rcat two\rcat");  // the whole Replace All is undone
  expectCurrent("after Undo");
  // An undo that gives back deleted text.
  Select(0, 5);
  main->Editor->ClearSelection();
  main->EditUndoCmdUpdate(main);
  Click("EditUndoItem");
  ASSERT_EQ(Text(), u"cat one\rcat two\rcat");
  expectCurrent("after Undo of a deletion");
  main->EditUndoCmdUpdate(main);
  Click("Redo1");
  expectCurrent("after Redo");
}

TEST(LocaleConversion, BothWaysKeepCharactersTheCodePageLacks) {
  // Greek text that was read as 1251 comes back as Greek; the emoji stays.
  const std::u16string greek = u"αβγ";
  const std::u16string misread = AnsiToWide(WideToAnsi(greek, 1253), 1251) + u" \U0001F600";
  EXPECT_EQ(ConvertLocaleText(misread, true, 1253), greek + u" \U0001F600");
  EXPECT_EQ(ConvertLocaleText(greek + u" ёж", false, 1253), AnsiToWide(WideToAnsi(greek, 1253), 1251) + u" ёж");
}

TEST_F(ConvertCommandsTest, LocaleConverterOkConvertsAndCancelChangesNothing) {
  auto* unicode = new TUnicodeForm(Application);
  const std::u16string misread = AnsiToWide(WideToAnsi(u"Straße", 1252), 1251);
  SetText(misread);
  TTimer timer(nullptr);
  timer.SetInterval(1);
  bool ok = false;
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    unicode->RGMap->SetItemIndex(0);
    unicode->SetLanguage(1031);
    unicode->SetModalResult(ok ? mrOk : mrCancel);
  };
  timer.SetEnabled(true);
  Click("ConvUNICODE1");
  EXPECT_EQ(Text(), misread);
  EXPECT_FALSE(main->DocModified());
  ok = true;
  timer.SetEnabled(true);
  Click("ConvUNICODE1");
  EXPECT_EQ(Text(), u"Straße");
  EXPECT_EQ(main->Editor->Language(), 1031u);
  EXPECT_TRUE(main->DocModified());

  // A long text shows its progress, and Stop leaves it (and its language) as it was.
  std::u16string text;
  while (text.size() < 600000) text += misread + u" ";
  SetText(text);
  main->Editor->SetLanguage(1049);
  int pumps = 0;
  SetProgressMessagePump([&] {
    if (main->Busy() && ++pumps == 2) ProgressCancel();
  });
  timer.SetEnabled(true);
  EXPECT_THROW(Click("ConvUNICODE1"), EAbort);
  SetProgressMessagePump(nullptr);
  EXPECT_TRUE(Text() == text);
  EXPECT_EQ(main->Editor->Language(), 1049u);
  EXPECT_FALSE(main->DocModified());
  EXPECT_FALSE(main->Busy());
  EXPECT_GE(pumps, 2);
  TComponent::Free(unicode);
}

}  // namespace
