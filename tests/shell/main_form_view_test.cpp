// The main window's status-bar texts, zoom, views, word wrap and "Copy Info".
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/actions.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "components/spin_edit.h"
#include "platform/files.h"
#include "shell/goto_line_form.h"
#include "shell/open_save.h"
#include "textcore/ruler.h"
#include "shell/status_bar_text.h"
#include "tools/tool_messages.h"
#include "tests/shell/operation_test_fixture.h"
#include "textcore/rich_edit_messages.h"

namespace {

TEST(StatusBarText, PanelTexts) {
  EXPECT_EQ(LineText(2, 2, 2), "Line: 2 of 2    Col: 2");
  EXPECT_EQ(PositionText(4, 0, 5), "Pos: 4 of 5");
  EXPECT_EQ(PositionText(1, 3, 5), "Sel: 1 to 4 (3 chars)");
  struct Case {
    std::u16string text;
    int position;
    const char* expected;
  };
  const Case cases[] = {
      {u"ab\rcd", 4, "Code: 100 (#64)"},
      {u"a", 1, "Code: 97 (#61)"},  // at the end: the character before
      {u"", 0, ""},
      {u"x\U0001F600", 1, "Code: 128512 (#1f600)"},  // a pair is one character
      {u"x\U0001F600", 2, "Code: 128512 (#1f600)"},
      {u"x\U0001F600", 3, "Code: 128512 (#1f600)"},
      {std::u16string(1, char16_t(0xD800)), 0, "Code: 55296 (#d800)"},  // a lone half as it is
  };
  for (const Case& c : cases) EXPECT_EQ(CharCodeText(c.text, c.position), c.expected) << c.position;
  EXPECT_EQ(CopyInfoText(12, 5, 2, 2), "Offs:12; Length:5; Line: 2; Column: 2;");
}

TEST(StatusBarText, PatternsOfALanguageFileFillOnlyTheirNumbers) {
  EXPECT_EQ(FillNumbers("Line: %d of %d", {3, 7}), "Line: 3 of 7");
  EXPECT_EQ(FillNumbers("%u (#%x) 100%%", {255, 255}), "255 (#ff) 100%");
  // A damaged pattern asks for more, or for other kinds, than it is given: written as it stands.
  EXPECT_EQ(FillNumbers("%s %n %d %d", {1}), "%s %n 1 %d");
  EXPECT_EQ(FillNumbers("end %", {}), "end %");
}

TEST(StatusBarText, TheInterfaceLanguageSpeaksThePanels) {
  SetToolMessageSource([](const std::string& key) -> std::string {
    return key == "StatusLine" ? "Stroka: %d iz %d    Poz: %d" : "";
  });
  EXPECT_EQ(LineText(2, 5, 3), "Stroka: 2 iz 5    Poz: 3");
  EXPECT_EQ(PositionText(4, 0, 5), "Pos: 4 of 5");  // a key the language lacks stays English
  SetToolMessageSource(nullptr);
}

TEST(StatusBarText, ZoomAsTyped) {
  struct Case {
    const char* text;
    std::optional<int> zoom;
  };
  const Case cases[] = {
      {"120%", 120}, {"150", 150}, {" 75 % ", 75}, {"abc%", 100}, {"", 100}, {"12a", 100},
      {"0%", std::nullopt}, {"1", std::nullopt}, {"2", 2}, {"6400%", 6400}, {"6401", std::nullopt},
      {"99999999999", 100},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseZoom(c.text), c.zoom) << c.text;
}

using MainFormViewTest = OperationTest;

TEST_F(MainFormViewTest, StatusBarPanelsFollowTheCaret) {
  SetText(u"ab\rcd");
  form->Editor->SetSelStart(4);
  form->UpdateStatusBar();
  const auto panel = [&](int i) { return form->StatusBar->Panels()->Items(i)->Text(); };
  EXPECT_EQ(panel(0), "Line: 2 of 2    Col: 2");
  EXPECT_EQ(panel(1), "Pos: 4 of 5");
  EXPECT_EQ(panel(2), "Code: 100 (#64)");
}

TEST_F(MainFormViewTest, ZoomBoxZoomsAndRefusesWhatIsOutOfRange) {
  TScriptedDialogs dialogs;
  for (const char* text : {"150", "120%"}) {
    form->ZoomBox->SetText(text);
    form->ZoomBoxChange(form->ZoomBox);
  }
  EXPECT_EQ(form->Zoom(), 120);
  form->ZoomBox->SetText("0%");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  form->ZoomBoxChange(form->ZoomBox);
  EXPECT_EQ(form->Zoom(), 120);
  EXPECT_EQ(form->ZoomBox->GetText(), "120%");
  uint16_t key = VK_RETURN;
  form->ZoomBox->SetText("abc");
  form->ZoomBoxKeyDown(form->ZoomBox, key, {});
  EXPECT_EQ(form->Zoom(), 100);
  EXPECT_EQ(dialogs.Asked().size(), 1u);
}

TEST_F(MainFormViewTest, PlainViewAsksBeforeDroppingTheFormatting) {
  TScriptedDialogs dialogs;
  SetText(u"bold text");
  form->Editor->SetModified(true);  // edited: the flag survives the switch
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  form->ViewPlainClick(form->ViewPlain);
  EXPECT_FALSE(form->Editor->PlainText());
  EXPECT_TRUE(form->ViewFormatted->Checked());
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  form->ViewPlainClick(form->ViewPlain);
  EXPECT_TRUE(form->Editor->PlainText());
  EXPECT_TRUE(form->ViewPlain->Checked());
  EXPECT_FALSE(form->ViewFormatted->Checked());
  EXPECT_EQ(Text(), u"bold text");
  EXPECT_TRUE(form->Editor->Modified());
  form->ViewPlainClick(form->ViewPlain);  // already plain: no question
  form->ViewFormattedClick(form->ViewFormatted);
  EXPECT_FALSE(form->Editor->PlainText());
  EXPECT_EQ(dialogs.Asked().size(), 2u);
}

TEST_F(MainFormViewTest, WordWrapFollowsTheMenuInBothEditors) {
  EXPECT_TRUE(form->Editor->WordWrap());
  form->WordWrap1Click(form->WordWrap1);
  EXPECT_FALSE(form->WordWrap1->Checked());
  EXPECT_FALSE(form->Editor->WordWrap());
  EXPECT_FALSE(form->RevMemo->WordWrap());
  form->WordWrap1Click(form->WordWrap1);
  EXPECT_TRUE(form->RevMemo->WordWrap());
}

TEST_F(MainFormViewTest, ViewSettingsComeBackAtTheNextStart) {
  auto item = [&](const char* name) { return dynamic_cast<TMenuItem*>(form->FindComponent(name)); };
  form->Show();
  item("ShowRuler1")->Click();
  item("WordWrap1")->Click();
  ASSERT_TRUE(form->Ruler1->Visible());
  ASSERT_FALSE(form->Editor->WordWrap());
  TComponent::Free(form);  // the window stores its settings as it goes
  form = new TMainForm(Application);
  form->Show();
  EXPECT_TRUE(item("ShowRuler1")->Checked());
  EXPECT_TRUE(form->Ruler1->Visible());
  EXPECT_FALSE(item("WordWrap1")->Checked());
  EXPECT_FALSE(form->Editor->WordWrap());
  EXPECT_FALSE(form->RevMemo->WordWrap());
}

TEST_F(MainFormViewTest, AnOpenedPlainFileShowsThePlainViewEverywhere) {
  auto item = [&](const char* name) { return dynamic_cast<TMenuItem*>(form->FindComponent(name)); };
  const char* const formattedOnly[] = {"InsertPicture1", "InsertObject1", "PasteSpecial1", "ConvertToPlainText1",
                                       "FontTB", "ParagraphTB", "LanguageTB"};
  for (const char* name : formattedOnly) ASSERT_TRUE(item(name)->Visible()) << name;
  const std::string file = std::string(std::getenv("HOME")) + "/plain.txt";  // the test's own home
  WriteFileAtomic(file, "plain words");
  ASSERT_GT(form->OS->OpenFile(file), 0);
  EXPECT_TRUE(form->Editor->PlainText());
  EXPECT_TRUE(form->ViewPlain->Checked());
  EXPECT_FALSE(form->ViewFormatted->Checked());
  for (const char* name : formattedOnly) EXPECT_FALSE(item(name)->Visible()) << name;
  EXPECT_FALSE(form->Ruler1->Enabled());
  // Back in the formatted view, everything says so again.
  form->ViewFormattedClick(form->ViewFormatted);
  EXPECT_TRUE(form->ViewFormatted->Checked());
  EXPECT_FALSE(form->ViewPlain->Checked());
  for (const char* name : formattedOnly) EXPECT_TRUE(item(name)->Visible()) << name;
  EXPECT_TRUE(form->Ruler1->Enabled());
}

TEST_F(MainFormViewTest, CopyInfoPutsTheSelectionsFiguresOnTheClipboard) {
  SetText(u"012345678\r0123456789abc\rline three here");
  form->Editor->SetSelStart(26);  // the third line starts at 24
  form->Editor->SetSelLength(5);
  Clipboard()->SetAsText("before");
  form->CopyField1Click(form->CopyInfo1);
  EXPECT_EQ(Clipboard()->AsText(), "Offs:26; Length:5; Line: 2; Column: 2;");
  form->Editor->SetSelLength(0);
  Clipboard()->SetAsText("kept");
  form->CopyField1Click(form->CopyInfo1);  // nothing selected: nothing copied
  EXPECT_EQ(Clipboard()->AsText(), "kept");
}

}  // namespace

namespace {

TEST(StatusBarText, IndicatorPictures) {
  const int images[] = {-1, 56, 58, 57, 59, -1};
  for (int panel = 2; panel <= 7; ++panel) EXPECT_EQ(IndicatorImage(panel), images[panel - 2]) << panel;
  EXPECT_EQ(IndicatorLetter(5), "K");
}

TEST_F(MainFormViewTest, AutomationSwitchesShowTheirIndicatorsAndExcludeEachOther) {
  const auto panel = [&](int i) { return form->StatusBar->Panels()->Items(i)->Text(); };
  EXPECT_EQ(form->StatusBar->Panels()->Items(5)->Style(), psOwnerDraw);
  EXPECT_EQ(form->StatusBar->PopupMenu()->Items()->Count(), 11);
  form->EditAutoSwitchExecute(form->EditAutoSwitch);
  EXPECT_EQ(panel(5), "Auto-Kbd");
  EXPECT_EQ(panel(4), "");
  EXPECT_EQ(panel(6), "");
  form->EditAutoSwitchExecute(form->EditAutoDeTrans);
  EXPECT_FALSE(form->EditAutoSwitch->Checked());
  EXPECT_EQ(panel(5), "");
  EXPECT_EQ(panel(6), "Auto-Cyr");
  form->EditAutoSpellExecute(form->EditAutoSpell);
  EXPECT_EQ(panel(4), "Auto-Spl");
  form->EditAutoSpellExecute(form->EditAutoSpell);
  EXPECT_EQ(panel(4), "");
  // Drawing the indicators (set and empty) runs through the bar's own painting.
  form->StatusBar->SetBounds(0, 0, 900, 20);
  form->StatusBar->Repaint();
  // A set indicator is drawn in the highlight's colours; the panels after it keep their own.
  form->EditAutoSpellExecute(form->EditAutoSpell);
  TCanvas& canvas = *form->StatusBar->Canvas();
  const TColor font = canvas.Font()->Color(), brush = canvas.Brush()->Color();
  form->StatusBarDrawPanel(form->StatusBar, form->StatusBar->Panels()->Items(4), Rect(100, 0, 120, 20));
  EXPECT_EQ(canvas.Font()->Color(), font);
  EXPECT_EQ(canvas.Brush()->Color(), brush);
}

}  // namespace

namespace {

TEST_F(MainFormViewTest, EditCommandsFollowTheSelectionAndRestWhileBusy) {
  SetText(u"cut me");
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(4);
  form->EditUndoCmdUpdate(form);
  EXPECT_TRUE(form->EditCutCmd->Enabled());
  EXPECT_TRUE(form->CopyInfo1->Enabled());
  form->EditCommandExecute(form->EditCutCmd);
  EXPECT_EQ(Text(), u"me");
  EXPECT_EQ(Clipboard()->AsText(), "cut ");
  form->EditUndoCmdUpdate(form);
  EXPECT_FALSE(form->EditCutCmd->Enabled());
  EXPECT_TRUE(form->EditPasteCmd->Enabled());
  EXPECT_TRUE(form->EditUndoCmd->Enabled());
  form->EditCommandExecute(form->EditUndoCmd);
  EXPECT_EQ(Text(), u"cut me");
  form->SetBusy(true);
  form->EditSelectAll->Execute();
  form->EditClear1->Execute();
  form->EditUndoCmdUpdate(form);
  EXPECT_FALSE(form->EditPasteCmd->Enabled());
  form->SetBusy(false);
  EXPECT_EQ(Text(), u"cut me");
  form->EditCommandExecute(form->EditSelectAll);
  form->EditCommandExecute(form->EditClear1);
  EXPECT_EQ(Text(), u"");
}

}  // namespace

namespace {

// The Go to dialog (its real layout) with `number` typed and "Character" chosen when `byChar`,
// confirmed.
void GoTo(TMainForm* form, int number, bool byChar) {
  TGotoLineForm dialog(form);
  EXPECT_EQ(dialog.SpinLineNum->Value(), 1);
  EXPECT_TRUE(dialog.RBLine->Checked());
  dialog.SpinLineNum->SetValue(number);
  if (byChar) dialog.RBChar->SetChecked(true);
  form->GoTo(dialog);
}

TEST_F(MainFormViewTest, GoToPutsTheCaretOnALineOrACharacter) {
  SetText(u"line one\rline two\rline three\rfour\rfive and more");
  form->Editor->SetSelStart(2);
  GoTo(form, 5, false);
  EXPECT_EQ(form->Editor->GetCaretLine(), 4);
  EXPECT_EQ(form->Editor->GetCaretColumn(), 2);  // the column is kept
  form->Editor->SetSelStart(28);                  // column 10, the end of "line three"
  GoTo(form, 4, false);                           // "four" is shorter: its end, not the next line
  EXPECT_EQ(form->Editor->GetCaretLine(), 3);
  EXPECT_EQ(form->Editor->GetCaretColumn(), 4);
  GoTo(form, 5, true);
  EXPECT_EQ(form->Editor->SelStart(), 4);
  GoTo(form, 0, true);  // below the range: the first character
  EXPECT_EQ(form->Editor->SelStart(), 0);
}

}  // namespace
