#include "platform/gui/rich_edit_control.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextEdit>
#include <QWidget>
#include <functional>
#include <tuple>

#include "platform/rich_text.h"

namespace {

class RichEditControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    control = std::make_unique<RichEditControl>();
  }
  std::unique_ptr<RichEditControl> control;
};

std::u16string FromQtText(const QString& text) { return text.toStdU16String(); }

const std::u16string kMixed = u"Привет, мир!\rHello\vworld\rЁжик в тумане";

// A change handler may ask where the new text lies before the window has drawn it.
TEST_F(RichEditControlTest, AChangeHandlerFindsWhereTheNewTextLies) {
  control->SetText(u"один\rдва");
  QWidget* window = control->Widget();
  window->resize(300, 200);
  window->show();
  std::pair<int, int> seen{-1, -1};
  control->OnChange = [&] { seen = control->PosFromChar(control->TextLength()); };
  control->SetSel(8, 8);
  control->ReplaceSel(u"\rтри\rчетыре", true);
  const std::pair<int, int> after = control->PosFromChar(control->TextLength());
  EXPECT_EQ(seen, after);
  EXPECT_GT(after.second, control->PosFromChar(5).second + 10);
  delete window;
}

TEST_F(RichEditControlTest, PositionModelCountsParagraphEndsAndSoftBreaksAsOneCharacter) {
  control->SetText(u"ab\r\ncd\nef\rgh\vij");
  EXPECT_EQ(control->Text(), u"ab\rcd\ref\rgh\vij");
  EXPECT_EQ(control->TextLength(), 14);
  EXPECT_EQ(control->LineCount(), 4);
  EXPECT_EQ(control->LineIndex(1), 3);
  EXPECT_EQ(control->LineIndex(3), 9);
  EXPECT_EQ(control->LineIndex(4), -1);
  EXPECT_EQ(control->LineFromChar(10), 3);
  EXPECT_EQ(control->LineLength(9), 5);
  EXPECT_EQ(control->Line(3), u"gh\vij");
  control->SetSel(1, 4);
  EXPECT_EQ(control->SelText(), u"b\rc");
  EXPECT_EQ(control->TextRange(8, 12), u"\rgh\v");
}

TEST_F(RichEditControlTest, RussianAndEnglishRoundTripThroughTextAndSelection) {
  control->SetText(kMixed);
  EXPECT_EQ(control->Text(), kMixed);
  control->SetSel(8, 12);
  EXPECT_EQ(control->SelText(), u"мир!");
  control->ReplaceSel(u"world\rновый");
  EXPECT_EQ(control->Text(), u"Привет, world\rновый\rHello\vworld\rЁжик в тумане");
  EXPECT_EQ(control->SelStart(), 19);
  EXPECT_EQ(control->SelEnd(), 19);
  control->SetSel(0, -1);
  EXPECT_EQ(control->SelText(), control->Text());
  control->SetSel(5, 200);
  EXPECT_EQ(control->SelEnd(), control->TextLength());
}

TEST_F(RichEditControlTest, LongParagraphIsNeverCut) {
  const std::u16string line(10000, u'ж');
  control->SetText(line + u"\rend");
  EXPECT_EQ(control->Line(0), line);
  EXPECT_EQ(control->LineLength(0), 10000);
}

TEST_F(RichEditControlTest, ReplacedTextTakesTheFormatOfTheFirstSelectedCharacter) {
  control->SetText(u"one two");
  control->SetSel(4, 7);
  TCharFormat bold;
  bold.Bold = true;
  control->SetCharFormat(bold, CFM_BOLD, TRichFormatTarget::Selection);
  control->ReplaceSel(u"три");
  control->SetSel(4, 7);
  uint32_t consistent = 0;
  EXPECT_TRUE(control->SelCharFormat(&consistent).Bold);
  EXPECT_TRUE(consistent & CFM_BOLD);
  control->SetSel(2, 6);
  control->SelCharFormat(&consistent);
  EXPECT_FALSE(consistent & CFM_BOLD);
}

TEST_F(RichEditControlTest, EveryCharacterAttributeIsKept) {
  control->SetText(u"word");
  TCharFormat f;
  f.FaceName = u"Liberation Serif";
  f.Charset = 204;
  f.Size = 300;
  f.Color = 0x0000FF;
  f.BackColor = 0x00FFFF;
  f.Bold = f.Italic = f.StrikeOut = f.Protected = f.Link = f.Hidden = true;
  f.Shadow = f.Emboss = f.Imprint = f.Outline = f.SmallCaps = f.AllCaps = true;
  f.UnderlineType = ulDashDot;
  f.SubscriptStyle = 2;
  f.Offset = 40;
  f.Spacing = 20;
  f.Kerning = 240;
  f.Animation = 3;
  f.Lcid = 1049;
  control->SetSel(0, 4);
  control->SetCharFormat(f, CFM_ALL2, TRichFormatTarget::Selection);
  control->SetSel(1, 3);
  EXPECT_EQ(control->SelCharFormat(), f);
}

TEST_F(RichEditControlTest, WordTargetFormatsTheWordAtTheCaret) {
  control->SetText(u"один два три");
  control->SetSel(6, 6);
  TCharFormat f;
  f.Italic = true;
  control->SetCharFormat(f, CFM_ITALIC, TRichFormatTarget::Word);
  control->SetSel(5, 8);
  uint32_t consistent = 0;
  EXPECT_TRUE(control->SelCharFormat(&consistent).Italic);
  EXPECT_TRUE(consistent & CFM_ITALIC);
  control->SetSel(0, 4);
  EXPECT_FALSE(control->SelCharFormat().Italic);
}

TEST_F(RichEditControlTest, ParagraphFormatsIncludingJustifyAndIndents) {
  control->SetText(u"a\rb\rc");
  control->SetSel(0, 3);
  TParaFormat f;
  f.Alignment = raJustify;
  f.LeftIndent = 720;
  f.FirstIndent = -360;  // start 360, offset 360
  f.Numbering = nkCharSequence;
  f.NumberingStart = 1072;
  f.NumberingStyle = nsParens;
  f.Tabs = {{720, 0, 0}, {1440, 2, 1}};
  f.LineSpacingRule = lsExactly;
  f.LineSpacing = 300;
  control->SetParaFormat(f, PFM_ALL2);
  uint32_t consistent = 0;
  EXPECT_EQ(control->SelParaFormat(&consistent), f);
  EXPECT_EQ(consistent, PFM_ALL2);
  control->SetSel(4, 4);
  EXPECT_EQ(control->SelParaFormat().Alignment, raLeft);
  control->SetSel(0, 0);
  TParaFormat more;
  more.LeftIndent = 100;
  control->SetParaFormat(more, PFM_OFFSETINDENT);
  EXPECT_EQ(control->SelParaFormat().LeftIndent + control->SelParaFormat().FirstIndent, 460);
  EXPECT_EQ(control->SelParaFormat().FirstIndent, -360);
}

TEST_F(RichEditControlTest, UndoLimitZeroSwitchesUndoOffAndEmptiesIt) {
  control->SetText(u"abc");
  control->SetSel(3, 3);
  control->ReplaceSel(u"d");
  EXPECT_TRUE(control->CanUndo());
  control->Undo();
  EXPECT_EQ(control->Text(), u"abc");
  EXPECT_TRUE(control->CanRedo());
  control->Redo();
  EXPECT_EQ(control->Text(), u"abcd");
  control->SetUndoLimit(0);
  EXPECT_FALSE(control->CanUndo());
  control->ReplaceSel(u"e");
  EXPECT_FALSE(control->CanUndo());
  control->SetUndoLimit(500);
  control->ReplaceSel(u"f");
  EXPECT_TRUE(control->CanUndo());
  control->ReplaceSel(u"g", false);
  EXPECT_FALSE(control->CanUndo());
}

// Changes in a nested undo step, text and formats, with the window shown the changes half-way
// (also before the step's first change), are one undo and one redo; the step before stays apart.
// A size (or offset) change gives each differently formatted piece its own raised offset; the
// pieces belong to the change's one undo step.
TEST_F(RichEditControlTest, ASizeChangeOverSeveralFormatsIsOneUndoStep) {
  control->SetText(u"abc def\rghi");
  TCharFormat bold;
  bold.Bold = true;
  control->SetSel(4, 7);
  control->SetCharFormat(bold, CFM_BOLD, TRichFormatTarget::Selection);
  const int size = control->CharFormatAt(0).Size;
  TCharFormat big;
  big.Size = size * 2;
  control->SetSel(0, -1);
  control->SetCharFormat(big, CFM_SIZE, TRichFormatTarget::Selection);
  for (int pos : {0, 5, 9}) EXPECT_EQ(control->CharFormatAt(pos).Size, size * 2) << pos;
  control->Undo();
  for (int pos : {0, 5, 9}) EXPECT_EQ(control->CharFormatAt(pos).Size, size) << pos;
  EXPECT_TRUE(control->CharFormatAt(5).Bold);
}

TEST_F(RichEditControlTest, AnUndoStepTakesBackAllItsChangesAtOnce) {
  control->SetText(u"abc");
  control->SetSel(3, 3);
  control->ReplaceSel(u"d");  // the user's own step before
  TCharFormat red;
  red.Color = 0x0000FF;
  control->BeginUndoStep();
  control->ShowUndoStep();  // nothing changed yet: must not join the step before
  control->SetSel(0, 1);
  control->ReplaceSel(u"X");
  control->MarkRange(0, 1, red, CFM_COLOR);
  control->ShowUndoStep();
  control->BeginUndoStep();
  control->SetSel(2, 3);
  control->ReplaceSel(u"YY");
  control->EndUndoStep();
  control->MarkRange(2, 4, red, CFM_COLOR);
  control->EndUndoStep();
  EXPECT_EQ(control->Text(), u"XbYYd");
  control->Undo();
  EXPECT_EQ(control->Text(), u"abcd");
  for (int pos : {0, 2}) EXPECT_EQ(control->CharFormatAt(pos).Color, RichAutoColor) << pos;
  control->Redo();
  EXPECT_EQ(control->Text(), u"XbYYd");
  for (int pos : {0, 2, 3}) EXPECT_EQ(control->CharFormatAt(pos).Color, 0x0000FFu) << pos;
  control->Undo();
  control->Undo();
  EXPECT_EQ(control->Text(), u"abc");
}

TEST_F(RichEditControlTest, FindForwardBackwardWholeWordAndCase) {
  control->SetText(u"Кот и кот, котёнок. cat Cat");
  struct Case { std::u16string what; int start, end; unsigned flags; int expected; };
  const Case cases[] = {
      {u"кот", 0, -1, FR_DOWN, 0},
      {u"кот", 0, -1, FR_DOWN | FR_MATCHCASE, 6},
      {u"кот", 7, -1, FR_DOWN | FR_WHOLEWORD, -1},
      {u"кот", 7, -1, FR_DOWN, 11},
      {u"кот", 27, 0, 0, 11},
      {u"кот", 27, 0, FR_WHOLEWORD, 6},
      {u"кот", 8, 2, 0, -1},
      {u"cat", 0, 23, FR_DOWN, 20},
      {u"cat", 0, 22, FR_DOWN, -1},
      {u"Cat", 0, -1, FR_DOWN | FR_MATCHCASE, 24},
      {u"", 0, -1, FR_DOWN, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(control->FindText(c.what, c.start, c.end, c.flags), c.expected)
        << std::string(c.what.begin(), c.what.end()).size() << " from " << c.start;
}

TEST_F(RichEditControlTest, NotificationsForChangeAndSelection) {
  int changes = 0, selections = 0;
  control->OnChange = [&] { ++changes; };
  control->OnSelChange = [&] { ++selections; };
  control->SetText(u"abc");
  EXPECT_GE(changes, 1);
  changes = selections = 0;
  control->SetSel(1, 2);
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(changes, 0);
  TCharFormat f;
  f.Bold = true;
  control->SetCharFormat(f, CFM_BOLD, TRichFormatTarget::Selection);
  EXPECT_EQ(changes, 0);  // a format change is no text change
  EXPECT_TRUE(control->Modified());
  control->ReplaceSel(u"x");
  EXPECT_GE(changes, 1);
}

TEST_F(RichEditControlTest, ProtectedTextAsksBeforeAUserEdit) {
  control->SetText(u"free locked free");
  control->SetSel(5, 11);
  TCharFormat f;
  f.Protected = true;
  control->SetCharFormat(f, CFM_PROTECTED, TRichFormatTarget::Selection);
  int asked = 0;
  bool allow = false;
  control->OnProtected = [&](int start, int end) {
    ++asked;
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 7);
    return allow;
  };
  control->Widget()->show();
  control->SetSel(6, 7);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(control->Widget(), &key);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(control->Text(), u"free locked free");
  allow = true;
  QApplication::sendEvent(control->Widget(), &key);
  EXPECT_EQ(control->Text(), u"free lxcked free");
}

TEST_F(RichEditControlTest, PasteHookCanRefuse) {
  QApplication::clipboard()->setText("вставка");
  control->SetText(u"ab");
  control->SetSel(1, 1);
  bool allow = false;
  control->OnPaste = [&] { return allow; };
  control->Paste();
  EXPECT_EQ(control->Text(), u"ab");
  allow = true;
  control->Paste();
  EXPECT_EQ(control->Text(), u"aвставкаb");
}

// Paste is offered for what the clipboard holds now: every change of its content, the control's
// own copies among them, shows at the next question, and a picture only where objects go.
TEST_F(RichEditControlTest, CanPasteFollowsEveryChangeOfTheClipboard) {
  QClipboard* clipboard = QApplication::clipboard();
  RichEditControl plain;
  plain.SetPlainText(true);
  RichEditControl readOnly;
  readOnly.SetReadOnly(true);
  control->SetText(u"copied");
  const auto put = [clipboard](const char* type, const QByteArray& bytes) {
    return [clipboard, type, bytes] {
      auto* data = new QMimeData;
      if (bytes.isEmpty()) data->setImageData(QImage(4, 4, QImage::Format_RGB32));
      else data->setData(type, bytes);
      clipboard->setMimeData(data);
    };
  };
  const struct {
    const char* content;
    std::function<void()> put;
    bool rich, plain;
  } cases[] = {
      {"nothing", [clipboard] { clipboard->clear(); }, false, false},
      {"text", [clipboard] { clipboard->setText("вставка"); }, true, true},
      {"nothing again", [clipboard] { clipboard->clear(); }, false, false},
      {"a picture", put("", {}), true, false},
      {"RTF", put("text/rtf", "{\\rtf1 x}"), true, true},
      {"an unknown format", put("application/x-unknown", "x"), false, false},
      {"the control's copy", [this] { control->SetSel(0, 3); control->Copy(); }, true, true},
  };
  for (const auto& c : cases) {
    c.put();
    EXPECT_EQ(control->CanPaste(), c.rich) << c.content;
    EXPECT_EQ(plain.CanPaste(), c.plain) << c.content;
    EXPECT_FALSE(readOnly.CanPaste()) << c.content;
  }
}

// The window types into a paragraph laid out in pieces on its own; it acts as Qt's typing does in
// a short paragraph: the text goes in at the caret or over the selection, the caret follows it
// (telling each move) and is brought into view, and one Undo takes back as much.
TEST_F(RichEditControlTest, TypingInALongParagraphActsAsInAShortOne) {
  std::u16string longText;
  while (longText.size() < 100000) longText += u"съешь же ещё этих мягких булок ";
  auto* window = static_cast<QTextEdit*>(control->Widget());
  window->resize(300, 200);
  window->show();
  const struct {
    const char* where;
    double start, end;  // of the paragraph's length
  } cases[] = {{"at the start", 0, 0}, {"in the middle", 0.5, 0.5}, {"over a selection", 0.6, 0.61}, {"at the end", 1, 1}};
  const std::u16string texts[] = {u"короткий абзац", longText};
  for (const auto& c : cases) {
    long left[2] = {};  // what one Undo leaves of the typing, in characters
    for (int t = 0; t < 2; ++t) {
      const std::u16string& text = texts[t];
      control->SetText(text);
      const int start = int(c.start * double(text.size())), end = int(c.end * double(text.size()));
      control->SetSel(start, end);
      window->resize(300, 200 + t);  // the window takes the scroll range of its new text
      int moves = 0;
      control->OnSelChange = [&moves] { ++moves; };
      for (const QChar key : QString::fromUtf8("жук")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QApplication::sendEvent(window, &press);
      }
      control->OnSelChange = nullptr;
      EXPECT_GE(moves, 3) << c.where;  // the caret's every move is told
      std::u16string typed = text;
      typed.replace(size_t(start), size_t(end - start), u"жук");
      EXPECT_EQ(control->Text(), typed) << c.where;
      EXPECT_EQ(control->SelStart(), start + 3) << c.where;
      EXPECT_EQ(control->SelEnd(), start + 3) << c.where;
      const int caretY = control->PosFromChar(start + 3).second;
      EXPECT_GE(caretY, 0) << c.where;
      EXPECT_LT(caretY, window->viewport()->height()) << c.where;
      control->Undo();
      left[t] = long(control->Text().size()) - long(text.size());
    }
    EXPECT_EQ(left[1], left[0]) << c.where;
  }
}

TEST_F(RichEditControlTest, HiddenSelectionKeepsTheSelection) {
  control->SetText(u"abc");
  control->SetSel(1, 2);
  control->HideSelection(true);
  EXPECT_TRUE(control->SelectionHidden());
  EXPECT_EQ(control->SelText(), u"b");
  control->HideSelection(false);
  EXPECT_FALSE(control->SelectionHidden());
}

TEST_F(RichEditControlTest, ObjectsAreOneCharacterAndKeepTheirData) {
  control->SetText(u"ab");
  control->SetSel(1, 1);
  TRichObject object;
  object.Kind = TRichObjectKind::Embedded;
  object.HasPicture = false;
  object.ClassName = "Package";
  object.ObjectData = std::string("\x01\x00\xFF raw", 7);
  object.Rtf = "{\\object\\objemb{\\*\\objclass Package}}";
  control->InsertObject(object);
  EXPECT_EQ(control->Text(), u"a\uFFFCb");
  EXPECT_EQ(control->ObjectCount(), 1);
  EXPECT_EQ(control->ObjectPosition(0), 1);
  EXPECT_EQ(control->Object(0), object);
  control->SetSel(1, 2);
  EXPECT_EQ(control->SelectionType(), SEL_OBJECT);
  control->SetSel(0, 3);
  EXPECT_EQ(control->SelectionType(), SEL_TEXT | SEL_OBJECT | SEL_MULTICHAR);
}

TEST_F(RichEditControlTest, DocumentRoundTripWholeAndSelection) {
  TRichDocument doc;
  doc.Paragraphs.clear();
  TRichParagraph p1;
  p1.Format.Alignment = raCenter;
  p1.Format.Numbering = nkArabic;  // shown as a Qt list, kept as it is
  p1.Format.NumberingStyle = nsPeriod;
  TRichRun r1{u"Жирный", {}, {}};
  r1.Format.Bold = true;
  r1.Format.Lcid = 1049;
  TRichRun r2{u" plain\vline", {}, {}};
  p1.Runs = {r1, r2};
  TRichParagraph p2;
  p2.Format.Alignment = raJustify;
  TRichRun pic{std::u16string(1, RichObjectChar), {}, TRichObject{}};
  pic.Object->Picture.Bytes = "not really a png";
  p2.Runs = {TRichRun{u"x", {}, {}}, pic};
  doc.Paragraphs = {p1, p2};
  control->SetDocument(doc, false);
  EXPECT_EQ(control->Text(), u"Жирный plain\vline\rx\uFFFC");
  TRichDocument back = control->Document(false);
  TRichDocument expected = doc;
  expected.Normalize();
  EXPECT_EQ(back.Paragraphs, expected.Paragraphs);

  control->SetSel(3, 9);
  const TRichDocument part = control->Document(true);
  EXPECT_EQ(part.PlainText(), u"ный pl");
  control->SetSel(0, 0);
  control->SetDocument(part, true);
  EXPECT_EQ(control->Text(), u"ный plЖирный plain\vline\rx\uFFFC");
  control->SetSel(0, 3);
  EXPECT_TRUE(control->SelCharFormat().Bold);
}

}  // namespace

namespace {

TEST_F(RichEditControlTest, MouseOverAndClickOnLinkTextReportTheLinkRange) {
  control->SetText(u"go http://example.com now");
  control->SetSel(3, 21);
  TCharFormat link;
  link.Link = true;
  control->SetCharFormat(link, CFM_LINK, TRichFormatTarget::Selection);
  control->SetSel(0, 0);
  QWidget* window = control->Widget();
  window->resize(400, 100);
  window->show();
  std::vector<std::tuple<TRichLinkEvent, int, int>> events;
  control->OnLink = [&](TRichLinkEvent e, int start, int end) { events.emplace_back(e, start, end); };
  auto [x, y] = control->PosFromChar(8);
  const QPointF inside(x + 2, y + 4);
  auto* viewport = static_cast<QTextEdit*>(window)->viewport();
  QMouseEvent move(QEvent::MouseMove, inside, viewport->mapToGlobal(inside), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QMouseEvent press(QEvent::MouseButtonPress, inside, viewport->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, viewport->mapToGlobal(inside), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], std::make_tuple(TRichLinkEvent::MouseMove, 3, 21));
  EXPECT_EQ(events[2], std::make_tuple(TRichLinkEvent::LButtonUp, 3, 21));
  events.clear();
  std::tie(x, y) = control->PosFromChar(23);
  const QPointF outside(x + 2, y + 4);
  QMouseEvent away(QEvent::MouseMove, outside, viewport->mapToGlobal(outside), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &away);
  EXPECT_TRUE(events.empty());
}

TEST_F(RichEditControlTest, WindowCanBeMadeAgainWithoutLosingTheText) {
  control->SetText(u"Текст остаётся");
  control->SetSel(2, 5);
  delete control->Widget();
  EXPECT_FALSE(control->HasWidget());
  EXPECT_EQ(control->SelText(), u"кст");
  control->ReplaceSel(u"x");
  QWidget* again = control->Widget();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(control->Text(), u"Теx остаётся");
  EXPECT_EQ(control->SelStart(), 3);
  again->show();  // a shown window shows the text itself; deleting it hands the text back
  control->SetSel(4, 5);
  delete again;
  EXPECT_EQ(control->SelText(), u"о");
  control->ReplaceSel(u"y");
  EXPECT_EQ(control->Text(), u"Теx yстаётся");
}

}  // namespace

namespace {

TEST_F(RichEditControlTest, RedrawOffKeepsSelectionUndoAndText) {
  auto* window = static_cast<QTextEdit*>(control->Widget());
  window->resize(300, 200);
  window->show();
  control->SetText(u"one two three");
  control->SetSel(4, 7);
  control->SetRedraw(false);
  control->ReplaceSel(u"2");
  control->SetSel(0, 3);
  EXPECT_EQ(control->SelText(), u"one");
  control->SetRedraw(true);
  EXPECT_EQ(FromQtText(window->document()->toRawText()), u"one 2 three");
  EXPECT_EQ(window->textCursor().selectionStart(), 0);
  EXPECT_EQ(window->textCursor().selectionEnd(), 3);
  ASSERT_TRUE(control->CanUndo());
  control->Undo();
  EXPECT_EQ(control->Text(), u"one two three");
}

}  // namespace

namespace {

TEST_F(RichEditControlTest, SetTextReportsOneChange) {
  control->SetText(u"старый текст");
  int changes = 0;
  control->OnChange = [&] { ++changes; };
  control->SetText(u"новый");
  EXPECT_EQ(changes, 1);
  control->SetText(u"");
  EXPECT_EQ(changes, 2);
  control->SetText(u"");
  EXPECT_EQ(changes, 2);
}

}  // namespace

namespace {

// Paragraphs of runs in turn plain, bold and coloured, a soft break, an object and a paragraph
// of 10000 characters in two formats.
TRichDocument FragmentedDocument() {
  TRichDocument doc;
  TCharFormat bold, red;
  bold.Bold = true;
  red.Color = 0x0000FF;
  TRichParagraph p1;
  p1.Runs = {TRichRun{u"Жирный ", {}, {}}, TRichRun{u"bold", bold, {}}, TRichRun{u" и\vred", red, {}},
             TRichRun{u" words.", {}, {}}};
  TRichParagraph p2;
  TRichRun pic{std::u16string(1, RichObjectChar), {}, TRichObject{}};
  p2.Runs = {TRichRun{u"x", {}, {}}, pic, TRichRun{u"y", bold, {}}};
  TRichParagraph p3;
  p3.Runs = {TRichRun{std::u16string(6000, u'ж') + u"\v", {}, {}}, pic,
             TRichRun{std::u16string(3993, u'z') + u"конец", bold, {}}};
  doc.Paragraphs = {p1, p2, p3};
  return doc;
}

TEST_F(RichEditControlTest, TextRangeGivesTheTextBetweenAnyTwoPositionsShownOrNot) {
  control->SetDocument(FragmentedDocument(), false);
  const std::u16string text = control->Text();
  const int length = int(text.size());
  ASSERT_EQ(length, 25 + 4 + 10000);
  const struct {
    int start, end;
  } ranges[] = {{0, -1}, {3, 9}, {9, 3}, {-5, 4}, {10, 30}, {21, 23}, {20, 27}, {7, 7},
                {5000, 5010}, {6020, 6040}, {27, 6100}, {100, 9000}, {length - 3, length + 10}, {0, length}};
  // Hidden, shown, and inside an undo step (where a part of a long paragraph is read otherwise).
  for (const int mode : {0, 1, 2}) {
    if (mode == 1) {
      control->Widget()->resize(300, 200);
      control->Widget()->show();
    }
    if (mode == 2) control->BeginUndoStep();
    for (const auto& r : ranges) {
      SCOPED_TRACE(std::to_string(r.start) + ".." + std::to_string(r.end) + " mode " + std::to_string(mode));
      const int end = r.end < 0 ? length : std::min(r.end, length);
      const int a = std::clamp(std::min(r.start, end), 0, length), z = std::clamp(std::max(r.start, end), 0, length);
      EXPECT_EQ(control->TextRange(r.start, r.end), text.substr(size_t(a), size_t(z - a)));
    }
    EXPECT_EQ(control->FindText(u"конец", 0, -1, FR_DOWN), length - 5);
    if (mode == 2) control->EndUndoStep();
  }
}

TEST_F(RichEditControlTest, AWholeNewTextShowsFromItsStartWithEveryFormatInPlace) {
  // More formats in turn than the editor converts at once.
  TRichDocument doc;
  for (int i = 0; i < 300; ++i) {
    TRichParagraph para;
    for (int k = 0; k < 3; ++k) {
      TRichRun run{u"run " + std::u16string(1, char16_t(u'a' + k)), {}, {}};
      run.Format.Size = 200 + 20 * ((i * 3 + k) % 70);
      run.Format.Bold = (i + k) % 2;
      para.Runs.push_back(run);
    }
    doc.Paragraphs.push_back(para);
  }
  TRichDocument expected = doc;
  expected.Normalize();
  const std::u16string lines = [] {
    std::u16string text;
    for (int i = 0; i < 500; ++i) text += u"строка\r";
    return text;
  }();
  using Load = std::function<void(RichEditControl&)>;
  const std::pair<const char*, Load> loads[] = {
      {"document", [&](RichEditControl& c) { c.SetDocument(doc, false); }},
      {"plain text", [&](RichEditControl& c) {
         bool given = false;
         c.LoadText([&](std::u16string& piece) {
           if (given) return false;
           piece = lines;
           return given = true;
         });
       }}};
  for (const auto& [name, load] : loads) {
    SCOPED_TRACE(name);
    RichEditControl c;
    c.SetText(lines);
    c.Widget()->resize(300, 200);
    c.Widget()->show();
    c.SetSel(c.TextLength(), c.TextLength());
    c.ScrollCaret();
    ASSERT_GT(c.FirstVisibleLine(), 100);
    load(c);
    EXPECT_EQ(c.SelStart(), 0);
    EXPECT_EQ(c.FirstVisibleLine(), 0);
    if (std::string(name) == "document") EXPECT_EQ(c.Document(false).Paragraphs, expected.Paragraphs);
    // The window takes the text again after a hold of its drawing where it left it.
    c.SetSel(c.LineIndex(250), c.LineIndex(250));
    c.ScrollCaret();
    const int first = c.FirstVisibleLine();
    ASSERT_GT(first, 100);
    c.SetRedraw(false);
    c.SetRedraw(true);
    EXPECT_EQ(c.FirstVisibleLine(), first);
  }
}

}  // namespace
