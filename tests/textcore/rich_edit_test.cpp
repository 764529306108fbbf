#include "textcore/rich_edit.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/rich_edit_messages.h"

namespace {

const std::u16string kText = u"Съешь же ещё этих мягких булок.\rEnglish text\rВторой абзац";

class RichEditTest : public ::testing::Test {
protected:
  void SetUp() override { edit = std::make_unique<TRichEditW>(nullptr); }
  std::unique_ptr<TRichEditW> edit;
};

TEST_F(RichEditTest, DefaultsAfterConstruction) {
  EXPECT_EQ(edit->AutoURLDetect(), adNone);
  EXPECT_EQ(edit->URLColor(), clBlue);
  EXPECT_EQ(edit->URLCursor(), crHandPoint);
  EXPECT_EQ(edit->Language(), SystemDefaultLcid());
  EXPECT_EQ(edit->LangOptions(), loAutoFont);
  EXPECT_TRUE(edit->WordFormatting());
  EXPECT_EQ(edit->InputFormat(), ifRTF);
  EXPECT_EQ(edit->OutputFormat(), ofRTF);
  EXPECT_TRUE(edit->AllowObjects());
  EXPECT_EQ(edit->CustomURLs()->Count(), 0);
  EXPECT_EQ(GetRichEditVersion(), 3);  // our own control: current, so start-up says nothing
}

TEST_F(RichEditTest, WideTextRoundTripsAndEightBitTextFollowsTheLanguage) {
  edit->SetTextW(kText);
  EXPECT_EQ(edit->GetTextW(), kText);
  edit->SetLanguage(LANG_RUSSIAN);
  EXPECT_EQ(edit->CodePage(), 1251u);
  EXPECT_EQ(edit->GetText(), WideToAnsi(u"Съешь же ещё этих мягких булок.\r\nEnglish text\r\nВторой абзац", 1251));
  edit->SetText(WideToAnsi(u"Ёлка\r\nfir", 1251));
  EXPECT_EQ(edit->GetTextW(), u"Ёлка\rfir");
  edit->SetLanguage(LANG_ENGLISH_US);
  EXPECT_EQ(edit->GetText(), "????\r\nfir");
  edit->SetSelStart(0);
  edit->SetSelLength(4);
  EXPECT_EQ(edit->SelText(), "????");
  EXPECT_EQ(edit->GetSelTextW(), u"Ёлка");
}

TEST_F(RichEditTest, SelectedTextReplacementIsUndoable) {
  edit->SetTextW(kText);
  edit->SetSelStart(32);
  edit->SetSelLength(7);
  EXPECT_EQ(edit->GetSelTextW(), u"English");
  edit->SetSelTextW(u"Русский");
  EXPECT_EQ(edit->GetTextW(), u"Съешь же ещё этих мягких булок.\rРусский text\rВторой абзац");
  ASSERT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->GetTextW(), kText);
  EXPECT_TRUE(edit->CanRedo());
}

TEST_F(RichEditTest, FindTextRangesAndOptions) {
  edit->SetTextW(u"Абзац один. абзац два. АБЗАЦ три.");
  edit->SetLanguage(LANG_RUSSIAN);
  EXPECT_EQ(edit->FindTextW(u"абзац", 1, 0, 0), 12);          // length 0: to the end
  EXPECT_EQ(edit->FindTextW(u"абзац", 0, 5, 0), 0);
  EXPECT_EQ(edit->FindTextW(u"абзац", 1, 10, 0), -1);         // beyond the range
  EXPECT_EQ(edit->FindTextW(u"абзац", 33, 0, stBackward), 23);
  EXPECT_EQ(edit->FindTextW(u"абзац", 22, 22, stBackward), 12);
  EXPECT_EQ(edit->FindTextW(u"абзац", 33, 0, stBackward | stMatchCase), 12);
  EXPECT_EQ(edit->FindTextW(u"один", 0, 0, stWholeWord), 6);
  EXPECT_EQ(edit->FindTextW(u"оди", 0, 0, stWholeWord), -1);
  EXPECT_EQ(edit->FindText(WideToAnsi(u"ДВА", 1251), 0, 0, 0), 18);
}

TEST_F(RichEditTest, UpdateLockNests) {
  edit->BeginUpdate();
  edit->BeginUpdate();
  EXPECT_EQ(edit->UpdateLock(), 2);
  edit->EndUpdate();
  EXPECT_EQ(edit->UpdateLock(), 1);
  edit->EndUpdate();
  edit->EndUpdate();
  EXPECT_EQ(edit->UpdateLock(), 0);
}

TEST_F(RichEditTest, PasteHandlerCanStopThePaste) {
  edit->SetTextW(u"ab");
  edit->SetSelStart(1);
  edit->SetSelLength(1);
  edit->CopyToClipboard();
  edit->SetSelStart(0);
  bool allow = false;
  int asked = 0;
  edit->OnPaste = [&](TObject*, bool& a) { ++asked; a = allow; };
  edit->PasteFromClipboard();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(edit->GetTextW(), u"ab");
  allow = true;
  edit->Perform(WM_PASTE);
  EXPECT_EQ(edit->GetTextW(), u"bab");
}

TEST_F(RichEditTest, ClearLeavesTheTextUnmodified) {
  edit->SetTextW(u"text");
  EXPECT_TRUE(edit->Modified());
  edit->Clear();
  EXPECT_EQ(edit->GetTextW(), u"");
  EXPECT_FALSE(edit->Modified());
}

TEST_F(RichEditTest, UndoLimitZeroDisablesUndo) {
  edit->SetTextW(u"abc");
  edit->SetSelStart(3);
  edit->SetSelTextW(u"d");
  EXPECT_TRUE(edit->CanUndo());
  edit->SetUndoLimit(0);
  EXPECT_FALSE(edit->CanUndo());
  edit->SetSelTextW(u"e");
  EXPECT_FALSE(edit->CanUndo());
  EXPECT_EQ(edit->Perform(EM_SETUNDOLIMIT, 500), 500);
  edit->SetSelTextW(u"f");
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->GetTextW(), u"abcde");
}

TEST_F(RichEditTest, CaretLineAndColumnCountParagraphs) {
  edit->SetTextW(u"first\rsecond line\rthird");
  edit->SetCaretPos(1, 3);
  EXPECT_EQ(edit->SelStart(), 9);
  EXPECT_EQ(edit->GetCaretLine(), 1);
  EXPECT_EQ(edit->GetCaretColumn(), 3);
  edit->SetCaretLine(2);
  EXPECT_EQ(edit->SelStart(), 21);
  edit->SetCaretPos(7, 0);  // no such line: the caret stays
  EXPECT_EQ(edit->SelStart(), 21);
  edit->SaveSelection();
  edit->SetSelStart(0);
  edit->RestoreSelection();
  EXPECT_EQ(edit->SelStart(), 21);
}

TEST_F(RichEditTest, RestoreSelectionEndsWhenAStepPassesOverTheKeptLine) {
  // Paragraphs lower than one scroll step: a step can pass over the kept first line.
  auto* window = static_cast<QTextEdit*>(edit->Control().Widget());
  window->resize(300, 200);
  window->show();
  std::u16string text;
  for (int i = 0; i < 300; ++i) text += u"x\r";
  edit->SetTextW(text);
  edit->SelectAll();
  edit->SelAttributes()->SetSize(2);
  QApplication::processEvents();
  QScrollBar* bar = window->verticalScrollBar();
  for (int offset = 0; offset < bar->singleStep(); offset += 3) {
    edit->SetSelStart(100);
    bar->setValue(bar->singleStep() + offset);
    edit->SaveSelection();
    const int kept = edit->GetFirstVisibleLine();
    bar->setValue(0);
    edit->RestoreSelection();
    EXPECT_EQ(edit->SelStart(), 100);
    EXPECT_NEAR(edit->GetFirstVisibleLine(), kept, bar->singleStep());
  }
}

TEST_F(RichEditTest, UndoLimitKeepsOnlyTheLastSteps) {
  edit->SetUndoLimit(3);
  for (const char16_t* s : {u"a", u" b", u" c", u" d", u" e"}) {
    edit->SetSelStart(edit->Control().TextLength());
    edit->SetSelTextW(s);
  }
  int steps = 0;
  for (; edit->CanUndo() && steps < 10; ++steps) edit->Undo();
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(edit->GetTextW(), u"a b");
  for (int i = 0; i < 3; ++i) edit->Redo();
  EXPECT_EQ(edit->GetTextW(), u"a b c d e");
  // After undoing, a new step replaces what could be redone and the limit still holds.
  edit->Undo();
  edit->SetSelTextW(u"!");
  steps = 0;
  for (; edit->CanUndo() && steps < 10; ++steps) edit->Undo();
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(edit->Perform(EM_UNDO), 0);
  // A larger limit lets earlier steps count again only for steps made after it.
  edit->SetUndoLimit(100);
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(RichEditTest, RichEditMessagesThroughPerform) {
  edit->SetTextW(u"alpha beta\rgamma");
  CHARRANGE range{6, 10};
  edit->Perform(EM_EXSETSEL, 0, reinterpret_cast<intptr_t>(&range));
  EXPECT_EQ(edit->GetSelTextW(), u"beta");
  CHARRANGE got;
  edit->Perform(EM_EXGETSEL, 0, reinterpret_cast<intptr_t>(&got));
  EXPECT_EQ(got.cpMin, 6);
  EXPECT_EQ(got.cpMax, 10);
  EXPECT_EQ(edit->Perform(EM_EXLINEFROMCHAR, 0, 12), 1);
  EXPECT_EQ(edit->Perform(EM_LINEINDEX, 1), 11);
  FINDTEXTW find{{0, -1}, u"GAMMA"};
  EXPECT_EQ(edit->Perform(EM_FINDTEXTW, FR_DOWN, reinterpret_cast<intptr_t>(&find)), 11);
  EXPECT_EQ(edit->Perform(EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, 1), 6);
  EXPECT_EQ(edit->Perform(EM_FINDWORDBREAK, WB_MOVEWORDLEFT, 8), 6);
  EXPECT_EQ(edit->Perform(EM_FINDWORDBREAK, WB_CLASSIFY, 5) & WBF_ISWHITE, WBF_ISWHITE);
  edit->Perform(EM_HIDESELECTION, 1);
  EXPECT_TRUE(edit->Control().SelectionHidden());
  const uint32_t mask = uint32_t(edit->Perform(EM_GETEVENTMASK));
  EXPECT_EQ(mask, 0x042C0001u);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->Perform(EM_SETEVENTMASK, 0, intptr_t(mask & ~ENM_CHANGE));
  edit->SetSelTextW(u"x");
  EXPECT_EQ(changes, 0);
  edit->Perform(EM_SETEVENTMASK, 0, intptr_t(mask));
  edit->SetSelTextW(u"y");
  EXPECT_GT(changes, 0);
}

TEST_F(RichEditTest, TextChangesAreReportedWhereTheyHappen) {
  struct Change {
    int Pos, Removed, Added;
    bool operator==(const Change&) const = default;
  };
  std::vector<Change> seen;
  edit->OnTextChange = [&](TObject*, int Pos, int Removed, int Added) { seen.push_back({Pos, Removed, Added}); };
  struct Case {
    const char* What;
    std::function<void()> Edit;
    Change Expected;
  };
  const Case cases[] = {
      {"whole text set", [&] { edit->SetTextW(u"alpha beta gamma"); }, {0, 0, 16}},
      {"typed in the middle", [&] { edit->SetSelStart(6); edit->SetSelTextW(u"new "); }, {6, 0, 4}},
      {"selection replaced", [&] { edit->Control().SetSel(0, 5); edit->SetSelTextW(u"A"); }, {0, 5, 1}},
      {"deleted at the end", [&] { edit->Control().SetSel(15, 16); edit->SetSelTextW(u""); }, {15, 1, 0}},
      {"paragraph inserted", [&] { edit->SetSelStart(2); edit->SetSelTextW(u"\r"); }, {2, 0, 1}},
      {"undone", [&] { edit->Undo(); }, {2, 1, 0}},
      // Held-back change events do not hold these back.
      {"while OnChange is off", [&] { edit->Perform(EM_SETEVENTMASK, 0, 0); edit->SetSelStart(0); edit->SetSelTextW(u"x"); }, {0, 0, 1}},
      {"text replaced", [&] { edit->SetTextW(u"short"); }, {0, 16, 5}},
      {"text cleared", [&] { edit->SetTextW(u""); }, {0, 5, 0}},
  };
  for (const Case& c : cases) {
    seen.clear();
    c.Edit();
    ASSERT_FALSE(seen.empty()) << c.What;
    EXPECT_EQ(seen.back(), c.Expected) << c.What << ": " << seen.back().Pos << "," << seen.back().Removed << ","
                                       << seen.back().Added;
  }
}

TEST_F(RichEditTest, AttributesThroughProperties) {
  edit->SetTextW(u"bold and plain");
  edit->SetSelStart(0);
  edit->SetSelLength(4);
  TTextAttributesW& sel = *edit->SelAttributes();
  sel.SetSize(12);
  EXPECT_EQ(sel.Size(), 12);
  sel.SetWeight(300);
  EXPECT_EQ(sel.Weight(), 300);
  EXPECT_FALSE(sel.Bold());
  sel.SetWeight(800);
  EXPECT_EQ(sel.Weight(), 800);
  EXPECT_TRUE(sel.Bold());
  sel.SetBold(true);
  EXPECT_EQ(sel.Weight(), 700);
  sel.SetColor(clWindowText);
  EXPECT_EQ(sel.Color(), clWindowText);
  sel.SetColor(clRed);
  EXPECT_EQ(sel.Color(), clRed);
  sel.SetName(std::string(40, 'F'));
  EXPECT_EQ(sel.Name(), std::string(31, 'F'));
  edit->SetSelLength(8);
  EXPECT_FALSE(sel.ConsistentAttributes() & caBold);
  EXPECT_TRUE(sel.ConsistentAttributes() & caItalic);
  EXPECT_EQ(edit->DefAttributes()->ConsistentAttributes(), 0u);
  // With nothing selected the word at the caret takes the change.
  edit->SetSelStart(10);
  edit->SetSelLength(0);
  sel.SetItalic(true);
  edit->SetSelStart(9);
  edit->SetSelLength(5);
  EXPECT_TRUE(sel.Italic());
  edit->SetSelStart(5);
  edit->SetSelLength(3);
  EXPECT_FALSE(sel.Italic());

  TParaAttributesW& para = *edit->Paragraph();
  para.SetNumbering(7);
  para.SetNumberingStart(1072);
  para.SetNumberingStyle(2);
  EXPECT_EQ(para.NumberingStyle(), 2);
  EXPECT_EQ(para.NumberingStart(), 1072);
  para.SetAlignment(paJustify);
  EXPECT_EQ(para.Alignment(), paJustify);
  para.SetFirstIndent(20);
  para.SetLeftIndent(10);
  EXPECT_EQ(para.FirstIndent(), 20);
  EXPECT_EQ(para.LeftIndent(), 10);
  para.SetLineSpacingRule(4);
  para.SetLineSpacing(15.5);
  EXPECT_EQ(para.LineSpacingRule(), 4);
  EXPECT_DOUBLE_EQ(para.LineSpacing(), 15.5);
}

TEST_F(RichEditTest, LinkKindOfALinkText) {
  TURLCollection& urls = *edit->CustomURLs();
  EXPECT_EQ(urls.KindOf("http://x.ru"), nullptr);  // an empty list names no kind
  for (const char* name : {"e-mail", "http", "file", "mailto", "ftp"}) urls.AddOrUpdate(name, clWindowText, crDefault, true);
  urls.AddOrUpdate("http", clRed, crDefault, false);  // updated in place
  EXPECT_EQ(urls.Count(), 5);
  EXPECT_EQ(urls.Items(1)->Color, clRed);
  EXPECT_EQ(urls.KindOf("HTTP://example.com"), urls.Items(1));
  EXPECT_EQ(urls.KindOf("ftp://example.com"), urls.Items(4));
  EXPECT_EQ(urls.KindOf("gopher://example.com"), urls.Items(4));  // the last one compared
  EXPECT_EQ(urls.KindOf("user@example.com"), urls.Items(0));
  EXPECT_EQ(urls.KindOf("example.com"), urls.Items(1));
  TURLCollection only;
  only.AddOrUpdate("e-mail", clWindowText, crDefault, true);
  EXPECT_EQ(only.KindOf("example.com"), nullptr);
  TURLCollection copy;
  copy.Assign(urls);
  EXPECT_EQ(copy.Count(), 5);
  EXPECT_EQ(copy.Items(1)->Name, "http");
}

TEST_F(RichEditTest, ClickInTheSelectionBarSelectsLines) {
  edit->SetTextW(u"первая строка\rвторая строка\rтретья");
  edit->SetShowSelectionBar(true);
  auto* window = static_cast<QTextEdit*>(edit->Control().Widget());
  window->resize(300, 200);
  window->show();
  const auto [x, y] = edit->Control().PosFromChar(16);  // inside the second line
  const QPoint bar = window->viewport()->geometry().topLeft() + QPoint(-3, y + 3);
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, window->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &e);
  };
  send(QEvent::MouseButtonPress, bar, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, bar, Qt::NoButton);
  EXPECT_EQ(edit->GetSelTextW(), u"вторая строка\r");
  // Dragging down the bar takes the following lines too.
  const auto [x3, y3] = edit->Control().PosFromChar(30);
  const QPoint third = window->viewport()->geometry().topLeft() + QPoint(-3, y3 + 3);
  send(QEvent::MouseButtonPress, bar, Qt::LeftButton);
  send(QEvent::MouseMove, third, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, third, Qt::NoButton);
  EXPECT_EQ(edit->GetSelTextW(), u"вторая строка\rтретья");
  // Without the bar a click there selects nothing.
  edit->SetSelStart(0);
  edit->SetShowSelectionBar(false);
  send(QEvent::MouseButtonPress, bar, Qt::LeftButton);
  EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(RichEditTest, ClickInTheSelectionBarSelectsAShownLineOfAParagraphLaidOutInPieces) {
  std::u16string text;
  while (text.size() < 100000) text += u"съешь же ещё этих мягких французских булок ";
  edit->SetTextW(text);
  edit->SetShowSelectionBar(true);
  auto* window = static_cast<QTextEdit*>(edit->Control().Widget());
  window->resize(300, 200);
  window->show();
  const auto [x, top] = edit->Control().PosFromChar(0);
  const QPoint bar = window->viewport()->geometry().topLeft() + QPoint(-3, top + 3);
  const int lineHeight = window->fontMetrics().height();
  QMouseEvent press(QEvent::MouseButtonPress, bar + QPoint(0, 2 * lineHeight), window->mapToGlobal(bar),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &press);
  // The third shown line: whole words up to the next line's start, its space included.
  const std::u16string line = edit->GetSelTextW();
  const int start = edit->SelStart();
  ASSERT_GT(line.size(), 5u);
  EXPECT_LT(line.size(), 100u);
  EXPECT_GT(start, 20);
  EXPECT_EQ(text[size_t(start) - 1], u' ');
  EXPECT_EQ(line.back(), u' ');
  EXPECT_EQ(line, text.substr(size_t(start), line.size()));
}

TEST_F(RichEditTest, SaveClipboardIsAskedWhenTheControlGoesWithItsCopyOnTheClipboard) {
  for (const bool keep : {true, false}) {
    auto* owned = new TRichEditW(nullptr);
    owned->SetTextW(u"копия\uFFFCтекста");
    owned->SelectAll();
    owned->CopyToClipboard();
    int objects = -1, chars = -1;
    owned->OnSaveClipboard = [&](TObject*, int numObjects, int numChars, bool& save) {
      objects = numObjects;
      chars = numChars;
      save = keep;
    };
    TComponent::Free(owned);
    EXPECT_EQ(chars, 12);
    EXPECT_EQ(objects, 0);  // the character is not an object of the control
    EXPECT_EQ(QApplication::clipboard()->text().isEmpty(), !keep);
  }
  // A clipboard that holds someone else's data is not the control's to keep or drop.
  auto* other = new TRichEditW(nullptr);
  other->SetTextW(u"x");
  other->SelectAll();
  other->CopyToClipboard();
  QApplication::clipboard()->setText("чужое");
  bool asked = false;
  other->OnSaveClipboard = [&](TObject*, int, int, bool&) { asked = true; };
  TComponent::Free(other);
  EXPECT_FALSE(asked);
  EXPECT_EQ(QApplication::clipboard()->text(), "чужое");
}

TEST_F(RichEditTest, AltWithALetterTypesNothing) {
  edit->SetTextW(u"текст");
  edit->SetSelStart(5);
  QWidget* window = edit->Widget();
  window->show();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier, "x");
  QApplication::sendEvent(window, &press);
  QKeyEvent plain(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(window, &plain);
  EXPECT_EQ(edit->GetTextW(), u"текстx");
}

}  // namespace
