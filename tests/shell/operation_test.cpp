// The operation frame of the main window on its real editor: the encoding commands, the work
// text, Stop and Esc, styles, undo, history names, the modified state and one operation at a time.
#include <gtest/gtest.h>

#include <string>

#include "components/flat_dock.h"
#include "components/toolbar_controls.h"
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "shell/main_form.h"
#include "shell/speed_form.h"
#include "shell/open_save.h"
#include "platform/gui/menus.h"
#include "tests/shell/operation_test_fixture.h"
#include "textcore/rich_edit.h"

namespace {

TEST_F(OperationTest, EncodingCommandsConvertTheWholeText) {
  struct Case { const char* item; std::u16string before, after; };
  const Case cases[] = {
      {"KOI8toWin12511", Garbled(kRussian, 20866), kRussian},
      {"DOS866toWin12511", Garbled(kRussian, 866), kRussian},
      {"ISO88595toWin12511", Garbled(kRussian, 28595), kRussian},
      {"MactoWin12511", Garbled(kRussian, 10007), kRussian},
      {"Win1251toKOI1", kRussian, Garbled(kRussian, 20866)},
      {"Win1251toDOS8661", kRussian, Garbled(kRussian, 866)},
  };
  for (const Case& c : cases) {
    SetText(c.before);
    Click(c.item);
    EXPECT_EQ(Text(), c.after) << c.item;
    EXPECT_FALSE(form->Busy());
    EXPECT_TRUE(form->DocModified());
    EXPECT_FALSE(form->Editor->Modified());  // the frame's "edited by hand" flag is cleared
    EXPECT_EQ(ModifiedPanel(), "Modified");
  }
}

TEST_F(OperationTest, SelectionOnlyIsConvertedAndTheCaretEndsAtItsStart) {
  const std::u16string head = u"Latin head ", word = u"Привет", tail = u" tail";
  SetText(head + Garbled(word, 20866) + tail);
  form->Editor->SetSelStart(int(head.size()));
  form->Editor->SetSelLength(int(word.size()));
  Click("KOI8toWin12511");
  EXPECT_EQ(Text(), head + word + tail);
  EXPECT_EQ(form->Editor->SelStart(), int(head.size()));
  EXPECT_EQ(form->Editor->SelLength(), 0);
}

TEST_F(OperationTest, ToolbarButtonsConvertBetweenTheTwoCombos) {
  form->Enc1->SetItemIndex(1);  // DOS
  form->Enc2->SetItemIndex(0);  // WIN
  SetText(kRussian);
  form->ConvFwdButtonClick(form->ConvBackButton);  // back: WIN to DOS
  EXPECT_EQ(Text(), Garbled(kRussian, 866));
  form->ConvFwdButtonClick(form->ConvFwdButton);  // forward: DOS to WIN
  EXPECT_EQ(Text(), kRussian);
}

TEST_F(OperationTest, HistoryEntriesAreNamedAfterTheColumns) {
  form->ProcessingOptions().EnableHist = true;
  SetText(Garbled(kRussian, 20866));
  Click("KOI8toWin12511");
  ASSERT_EQ(form->HistoryNames().size(), 2u);  // the original text first, then the result
  EXPECT_EQ(form->HistoryNames()[1], "KOI to WIN");

  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"x");  // edited by hand since the last operation
  form->Enc1->SetItemIndex(3);
  form->Enc2->SetItemIndex(3);
  Click("ConvFwdButton");
  // The hand-edited text is kept; the same column twice changes nothing, so no result is stored.
  ASSERT_EQ(form->HistoryNames().size(), 3u);
  EXPECT_EQ(Text(), u"x" + kRussian);

  form->ProcessingOptions().EnableHist = false;
  Click("Win1251toMac1");
  EXPECT_EQ(form->HistoryNames().size(), 3u);
}

TEST_F(OperationTest, TheProcessingOptionsWindowTakesEffectAtOnce) {
  SpeedForm = new TSpeedForm(Application);
  SpeedForm->CBEnableHist->SetChecked(true);  // no preferences window, no OK
  SetText(Garbled(kRussian, 20866));
  Click("KOI8toWin12511");
  EXPECT_EQ(form->HistoryNames().size(), 2u);
  SpeedForm->CBEnableHist->SetChecked(false);
  Click("Win1251toMac1");
  EXPECT_EQ(form->HistoryNames().size(), 2u);
  TComponent::Free(SpeedForm);
  SpeedForm = nullptr;
}

TEST_F(OperationTest, StopLeavesTheTextUnconverted) {
  std::u16string big;
  while (big.size() < 20000) big += Garbled(kRussian, 20866) + u"\r";
  SetText(big);
  WhilePumping([] { ProgressCancel(); });
  Click("KOI8toWin12511");
  EXPECT_EQ(Text(), big);
  EXPECT_FALSE(form->Busy());
  EXPECT_FALSE(form->DocModified());  // a stopped operation changed nothing
}

TEST_F(OperationTest, EscAsksAndStops) {
  SetText(Garbled(kRussian, 20866));
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);
  bool asked = false;
  WhilePumping([&] {
    if (asked) return;
    asked = true;
    uint16_t key = VK_ESCAPE;
    form->OnKeyDown(form, key, 0);
    EXPECT_EQ(key, 0);
  });
  Click("KOI8toWin12511");
  EXPECT_TRUE(asked);
  EXPECT_EQ(dialogs.Pending(), 0);
  EXPECT_EQ(dialogs.Asked().at(0).Buttons, mbYesNo);
  EXPECT_EQ(Text(), Garbled(kRussian, 20866));
}

TEST_F(OperationTest, NoSecondOperationStartsWhileOneRuns) {
  SetText(Garbled(kRussian, 20866));
  int attempts = 0;
  WhilePumping([&] {
    ++attempts;
    Click("Win1251toKOI1");  // a key or button pressed while the first one runs
  });
  Click("KOI8toWin12511");
  EXPECT_GT(attempts, 0);
  EXPECT_EQ(Text(), kRussian);  // converted once, not back again
  EXPECT_FALSE(form->Busy());
}

TEST_F(OperationTest, NoSecondOperationStartsWhileTheFirstStartsItsProgress) {
  // The first messages are handled when the progress display starts, before any text is taken.
  SetText(kRussian);
  bool clicked = false, busyAtFirstPump = false;
  SetProgressMessagePump([&] {
    if (clicked) return;
    clicked = true;
    busyAtFirstPump = form->Busy();
    Click("Win1251toKOI1");
  });
  form->RunOperation("Converting encoding...", false, "", [] {});
  EXPECT_TRUE(clicked);
  EXPECT_TRUE(busyAtFirstPump);
  EXPECT_EQ(Text(), kRussian);
  EXPECT_FALSE(form->Busy());
}

TEST_F(OperationTest, BusyStateDisablesCommandsAndShowsTheProgressArea) {
  SetText(kRussian);
  bool checked = false;
  WhilePumping([&] {
    if (checked) return;
    checked = true;
    EXPECT_FALSE(form->ConvertMenu->Enabled());
    EXPECT_FALSE(form->DockTop->Enabled());
    EXPECT_FALSE(form->Editor->Enabled());  // no typing into the text under the operation
    EXPECT_TRUE(form->ProgressArea->Visible());
    EXPECT_FALSE(form->StatusBar->Visible());
    EXPECT_FALSE(form->Editor->OnChange);  // the operation's own edits are not "typing"
  });
  Click("Win1251toDOS8661");
  EXPECT_TRUE(checked);
  EXPECT_TRUE(form->ConvertMenu->Enabled());
  EXPECT_TRUE(form->Editor->Enabled());
  EXPECT_FALSE(form->ProgressArea->Visible());
  EXPECT_TRUE(form->StatusBar->Visible());
  EXPECT_TRUE(form->Editor->OnChange);
}

TEST_F(OperationTest, EmptyEditorAbortsSilentlyAndLeavesTheDocumentClean) {
  TScriptedDialogs dialogs;  // no answers: any question would fail the test
  form->ProcessingOptions().EnableHist = true;
  SetText(u"");
  EXPECT_THROW(Click("KOI8toWin12511"), EAbort);
  EXPECT_TRUE(dialogs.Asked().empty());
  EXPECT_FALSE(form->Busy());
  EXPECT_FALSE(form->DocModified());
  EXPECT_EQ(ModifiedPanel(), "");
  EXPECT_TRUE(form->HistoryNames().empty());
}

TEST_F(OperationTest, AnOperationThatChangesNothingLeavesTheDocumentAsItWas) {
  SetText(u"Only Latin letters, nothing to recode.");
  Click("KOI8toWin12511");
  EXPECT_FALSE(form->DocModified());
  EXPECT_EQ(ModifiedPanel(), "");
  EXPECT_FALSE(form->Editor->Modified());

  // Text edited by hand stays "edited by hand" (and the document modified) after a no-op.
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"x");
  ASSERT_TRUE(form->DocModified());
  Click("DOS866toWin12511");
  EXPECT_TRUE(form->DocModified());
  EXPECT_TRUE(form->Editor->Modified());
}

TEST_F(OperationTest, CharactersOutsideTheWorkCodePageSurvive) {
  // Greek, an emoji (a surrogate pair) and letters with accents code page 1251 lacks.
  const std::u16string foreign = u"αβγ 😀 ĉ ő";
  struct Case { bool preserve; bool selection; };
  for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << c.preserve << c.selection);
    form->ProcessingOptions().PreserveStyle = c.preserve;
    SetText(foreign + u" " + Garbled(kRussian, 20866) + u" " + foreign);
    if (c.selection) {
      form->Editor->SetSelStart(0);
      form->Editor->SetSelLength(int(foreign.size() + 1 + kRussian.size()));
    }
    Click("KOI8toWin12511");
    EXPECT_EQ(Text(), foreign + u" " + kRussian + u" " + foreign);
    EXPECT_TRUE(form->DocModified());
  }
}

TEST_F(OperationTest, UndoSwitchedOffForTheOperationComesBackAt500) {
  SetText(kRussian);
  int limitDuring = -1;
  form->RunOperation("Reformat", true, "", [&] { limitDuring = form->Editor->UndoLimit(); });
  EXPECT_EQ(limitDuring, 0);
  EXPECT_EQ(form->Editor->UndoLimit(), 500);

  form->ProcessingOptions().EnableUndo = true;
  form->RunOperation("Reformat", true, "", [&] { limitDuring = form->Editor->UndoLimit(); });
  EXPECT_EQ(limitDuring, 500);
}

TEST_F(OperationTest, OperationResultIsNeverDroppedWithoutTheSaveQuestion) {
  SetText(Garbled(kRussian, 20866));
  Click("KOI8toWin12511");
  // A later change event with the editor's own flag clear does not make the document clean.
  form->Editor->OnChange(form->Editor);
  EXPECT_TRUE(form->DocModified());

  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  EXPECT_FALSE(form->OS->CloseQuery());  // closing asks, and Cancel keeps the window
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  form->OS->New();  // New asks too; No drops the text
  EXPECT_EQ(dialogs.Asked().size(), 2u);
  EXPECT_FALSE(form->DocModified());
  EXPECT_EQ(ModifiedPanel(), "");
}

TEST_F(OperationTest, TypingMarksTheDocument) {
  SetText(u"abc");
  form->Editor->SetSelStart(3);
  form->Editor->SetSelTextW(u"d");
  EXPECT_TRUE(form->DocModified());
}

TEST_F(OperationTest, LoadProgressOfALargeFileIsAPercentage) {
  form->EditorLoadProgress(form->Editor, 30'000'000, 40'000'000);
  EXPECT_EQ(form->PanelPercent->Caption(), "75%");
  // A text converter's import reports to the same display.
  ASSERT_TRUE(form->OS->Converters().OnImportProgress);
  EXPECT_FALSE(form->OS->Converters().OnImportProgress(nullptr, 42));
  EXPECT_EQ(form->PanelPercent->Caption(), "42%");
}

}  // namespace
