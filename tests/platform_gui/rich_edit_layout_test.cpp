// The rich edit window's own document layout: paragraph heights kept through edits, hit tests
// that find what is drawn, and long paragraphs laid out in pieces.
#include "platform/gui/rich_edit_layout.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <random>

#include "platform/gui/application.h"
#include "platform/gui/rich_edit_heights.h"

namespace {

using rich_edit::DocumentLayout;
using rich_edit::ParagraphHeights;

TEST(ParagraphHeightsTest, SumsAndLookupsMatchAPlainListThroughSplicesAndChanges) {
  ParagraphHeights heights;
  std::vector<float> model;
  std::mt19937 random(7);
  auto pick = [&](int n) { return n <= 0 ? 0 : int(random() % unsigned(n)); };
  auto check = [&] {
    ASSERT_EQ(heights.Count(), int(model.size()));
    double top = 0;
    for (size_t i = 0; i < model.size(); ++i) {
      if (i % 97 == 0 || i + 1 == model.size()) {
        ASSERT_DOUBLE_EQ(heights.Top(int(i)), top) << i;
        ASSERT_EQ(heights.At(int(i)).height, model[i]) << i;
        if (model[i] > 0) ASSERT_EQ(heights.Find(top + model[i] / 2), int(i)) << i;
      }
      top += model[i];
    }
    ASSERT_DOUBLE_EQ(heights.Total(), top);
    ASSERT_EQ(heights.Find(-5), model.empty() ? -1 : 0);
    ASSERT_EQ(heights.Find(top + 100), int(model.size()) - 1);
  };
  // Large splices (a new text), small ones (typing Enter, joining paragraphs) and changes.
  for (int round = 0; round < 400; ++round) {
    const int kind = round < 3 ? 0 : pick(3);
    if (kind == 0) {
      const int first = pick(int(model.size())), removed = pick(int(model.size()) - first + 1);
      const int added = round < 3 ? 3000 : pick(2000);
      const float h = float(1 + pick(40));
      heights.Splice(first, removed, added, {h, 0});
      model.erase(model.begin() + first, model.begin() + first + removed);
      model.insert(model.begin() + first, size_t(added), h);
    } else if (kind == 1 && !model.empty()) {
      const int first = pick(int(model.size())), removed = std::min(pick(3), int(model.size()) - first);
      const int added = pick(3);
      heights.Splice(first, removed, added, {7, 0});
      model.erase(model.begin() + first, model.begin() + first + removed);
      model.insert(model.begin() + first, size_t(added), 7.f);
    } else if (!model.empty()) {
      for (int k = 0; k < 50; ++k) {
        const int i = pick(int(model.size()));
        model[size_t(i)] = float(pick(60));
        heights.Set(i, {model[size_t(i)], 1});
      }
    }
    ASSERT_NO_FATAL_FAILURE(check()) << "round " << round;
  }
  EXPECT_THROW(heights.Set(heights.Count(), {}), std::out_of_range);
}

class DocumentLayoutTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    doc.setDefaultFont(QFont());  // the application's, now that there is one
    doc.setDocumentMargin(4);
    layout = new DocumentLayout(&doc);
    doc.setDocumentLayout(layout);
    doc.setPageSize(QSizeF(360, -1));
  }
  // Every paragraph's rectangle, each laid out by asking.
  std::vector<QRectF> Rects(QAbstractTextDocumentLayout* l) {
    std::vector<QRectF> rects;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) rects.push_back(l->blockBoundingRect(b));
    return rects;
  }
  QTextDocument doc;
  DocumentLayout* layout = nullptr;
};

QString Words(int n, int seed) {
  static const char* words[] = {"съешь", "же", "ещё", "этих", "мягких", "французских", "булок", "tea"};
  QString s;
  for (int i = 0; i < n; ++i) s += QString::fromUtf8(words[(i * 7 + seed) % 8]) + ' ';
  return s;
}

TEST_F(DocumentLayoutTest, HeightsAndPlacesStayRightThroughEditsAtBothEndsAndTheMiddle) {
  QTextCursor c(&doc);
  for (int i = 0; i < 3000; ++i) {
    if (i) c.insertBlock();
    c.insertText(Words(i % 40, i));
    if (i % 500 == 7) {  // spacing and indents of their own
      QTextBlockFormat f;
      f.setTopMargin(6);
      f.setBottomMargin(3);
      f.setLeftMargin(30);
      f.setTextIndent(-12);
      c.setBlockFormat(f);
    }
  }
  // Heights are estimates until the paragraphs are laid out; what is asked comes out right.
  Rects(layout);
  const std::vector<std::function<void()>> edits = {
      [&] { QTextCursor(&doc).insertText(Words(60, 1)); },  // the first paragraph grows
      [&] {
        QTextCursor e(&doc);
        e.movePosition(QTextCursor::End);
        e.insertBlock();
        e.insertText(Words(30, 2));
      },
      [&] {  // joins paragraphs in the middle
        QTextCursor e(&doc);
        e.setPosition(doc.findBlockByNumber(1200).position() + 3);
        e.setPosition(doc.findBlockByNumber(1260).position() + 5, QTextCursor::KeepAnchor);
        e.removeSelectedText();
      },
      [&] { doc.setPageSize(QSizeF(250, -1)); },  // a much narrower window
      [&] { doc.setPageSize(QSizeF(240, -1)); },  // a little narrower
      [&] {
        QTextCursor e(doc.findBlockByNumber(2));
        QTextBlockFormat f;
        f.setTopMargin(20);
        e.mergeBlockFormat(f);
      },
      [&] {
        QTextCursor e(&doc);
        e.movePosition(QTextCursor::End);
        e.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        e.removeSelectedText();
        e.deletePreviousChar();
      },
  };
  for (size_t k = 0; k < edits.size(); ++k) {
    SCOPED_TRACE(k);
    edits[k]();
    const std::vector<QRectF> kept = Rects(layout);
    const QSizeF size = layout->documentSize();
    // A fresh layout of the same text measures every paragraph anew.
    auto* fresh = new DocumentLayout(&doc);
    doc.setDocumentLayout(fresh);
    const std::vector<QRectF> anew = Rects(fresh);
    ASSERT_EQ(kept.size(), anew.size());
    for (size_t i = 0; i < kept.size(); ++i) ASSERT_EQ(kept[i], anew[i]) << "paragraph " << i;
    EXPECT_EQ(size, fresh->documentSize());
    EXPECT_DOUBLE_EQ(size.height(),
                     anew.back().bottom() + doc.lastBlock().blockFormat().bottomMargin() + doc.documentMargin());
    layout = fresh;
  }
}

TEST_F(DocumentLayoutTest, AnEditRepaintsItsParagraphAndWhatMovedBelowIt) {
  QTextCursor c(&doc);
  for (int i = 0; i < 200; ++i) {
    if (i) c.insertBlock();
    c.insertText(Words(5, i));
  }
  Rects(layout);
  std::vector<QRectF> repainted;
  QObject::connect(layout, &QAbstractTextDocumentLayout::update, [&](const QRectF& r) { repainted.push_back(r); });
  const QRectF tenth = layout->blockBoundingRect(doc.findBlockByNumber(10));
  struct Case {
    const char* name;
    QString typed;
    bool moves;  // the paragraphs below move
  };
  for (const Case& k : {Case{"a letter", "ж", false}, Case{"a line's worth", Words(30, 1), true},
                        Case{"a paragraph end", "\n", true}}) {
    SCOPED_TRACE(k.name);
    repainted.clear();
    QTextCursor e(doc.findBlockByNumber(10));
    e.insertText(k.typed == "\n" ? QString(QChar::ParagraphSeparator) : k.typed);
    ASSERT_FALSE(repainted.empty());
    const QRectF r = repainted.back();
    EXPECT_LE(r.top(), tenth.top());
    const double below = layout->blockBoundingRect(doc.findBlockByNumber(150)).top();
    EXPECT_EQ(r.bottom() > below, k.moves) << r.bottom();
    EXPECT_GE(r.bottom(), layout->blockBoundingRect(doc.findBlockByNumber(10)).bottom());
  }
}

TEST_F(DocumentLayoutTest, TheTextBelowTheTopOfTheViewStaysPutAsEstimatesGetRealHeights) {
  QTextCursor c(&doc);
  for (int i = 0; i < 400; ++i) {
    if (i) c.insertBlock();
    c.insertText(Words(i % 3 ? 3 : 70, i));  // every third paragraph wraps into several lines
  }
  // A view far down: the paragraph at its top is not laid out yet.
  const double top = layout->ParagraphTop(300) + 5;
  const int first = layout->ParagraphAt(top);
  ASSERT_EQ(first, 300);
  const double nextBefore = layout->ParagraphTop(first + 1);
  const double shift = layout->Prepare(top, top + 400);
  EXPECT_DOUBLE_EQ(layout->ParagraphTop(first + 1) - shift, nextBefore);
  EXPECT_NE(shift, 0);  // the estimate of a wrapped paragraph is seldom exact
  // Laid out now: asking again moves nothing.
  EXPECT_EQ(layout->Prepare(top + shift, top + shift + 400), 0);
}

TEST_F(DocumentLayoutTest, UnwrappedTextIsAsWideAsItsWidestShownLine) {
  QTextOption option = doc.defaultTextOption();
  option.setWrapMode(QTextOption::NoWrap);
  doc.setDefaultTextOption(option);
  QTextCursor c(&doc);
  c.insertText(Words(5, 0));
  c.insertBlock();
  c.insertText(Words(200, 1));  // one line far wider than the page
  const std::vector<QRectF> rects = Rects(layout);
  EXPECT_EQ(rects[1].height(), rects[0].height());  // one line each
  const QRectF end = layout->CaretRect(doc.characterCount() - 1);
  EXPECT_GT(end.left(), 2000);
  EXPECT_GE(layout->documentSize().width(), end.left());
  EXPECT_EQ(layout->hitTest(QPointF(end.left(), end.center().y()), Qt::FuzzyHit), doc.characterCount() - 1);
  // Wrapped again: the page's width, and the long paragraph takes several lines.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc.setDefaultTextOption(option);
  EXPECT_EQ(layout->documentSize().width(), 360);
  EXPECT_GT(layout->blockBoundingRect(doc.lastBlock()).height(), 10 * rects[0].height());
}

TEST_F(DocumentLayoutTest, AHitOnTheCaretFindsItsPositionInShortAndLongParagraphs) {
  QTextCursor c(&doc);
  c.insertText(Words(50, 0));
  c.insertBlock();
  const QString longText = Words(30000, 3);  // about 200,000 characters: laid out in pieces
  c.insertText(longText);
  QTextBlockFormat rtl;
  rtl.setLayoutDirection(Qt::RightToLeft);
  c.insertBlock(rtl);
  c.insertText(QString::fromUtf8("שלום עולם ").repeated(20));
  const QTextBlock rtlBlock = doc.findBlockByNumber(2);
  c.insertBlock(QTextBlockFormat());
  c.insertText(Words(50, 5));
  const QTextBlock longBlock = doc.findBlockByNumber(1);
  // A right-to-left paragraph starts at the right.
  EXPECT_GT(layout->CaretRect(rtlBlock.position()).left(), 300);
  ASSERT_GT(longBlock.length(), DocumentLayout::kLongParagraph);
  std::vector<int> positions;
  for (int p = 0; p < doc.characterCount() - 1; p += 997) positions.push_back(p);
  for (int p = rtlBlock.position() + 1; p < rtlBlock.position() + rtlBlock.length() - 1; p += 7) positions.push_back(p);
  for (int p : {longBlock.position() + 1, longBlock.position() + longBlock.length() - 2, doc.characterCount() - 1})
    positions.push_back(p);
  for (int p : positions) {
    const QRectF caret = layout->CaretRect(p);
    ASSERT_GT(caret.height(), 0) << p;
    const int hit = layout->hitTest(QPointF(caret.left(), caret.center().y()), Qt::FuzzyHit);
    // Qt's lines round a hit in right-to-left text by up to a character.
    if (rtlBlock.contains(p)) EXPECT_LE(std::abs(hit - p), 1) << p;
    else EXPECT_EQ(hit, p);
  }
  // Far outside the text: the nearest position, or none for an exact hit.
  EXPECT_EQ(layout->hitTest(QPointF(5, -50), Qt::FuzzyHit), 0);
  EXPECT_EQ(layout->hitTest(QPointF(1e6, 1e9), Qt::FuzzyHit), doc.characterCount() - 1);
  EXPECT_EQ(layout->hitTest(QPointF(350, 1e9), Qt::ExactHit), -1);
}

TEST_F(DocumentLayoutTest, ALongParagraphBreaksItsPiecesAtSpacesAndFollowsEdits) {
  QTextCursor c(&doc);
  c.insertText(Words(40000, 1));
  const QString text = doc.toPlainText();
  // Every line ends after a space: pieces end at spaces too.
  auto checkLines = [&](const QString& shown, int from, int to) {
    for (int p = from; p < to;) {
      const auto [start, end] = layout->LineSpan(p);
      ASSERT_EQ(start, p);
      ASSERT_GT(end, start);
      ASSERT_EQ(shown[end], ' ') << "line " << start << "-" << end;
      p = end + 1;
    }
  };
  checkLines(text, 0, 70000);
  // Lines right after an edit in the middle show the new text, and later ones are in place.
  QTextCursor e(&doc);
  e.setPosition(100000);
  e.insertText(Words(3000, 2));
  const QString edited = doc.toPlainText();
  const int lineStart = layout->LineSpan(100000).first;
  checkLines(edited, lineStart, lineStart + 40000);
  for (int p : {99000, 100001, 130000, int(edited.size()) - 3}) {
    const QRectF caret = layout->CaretRect(p);
    EXPECT_EQ(layout->hitTest(QPointF(caret.left(), caret.center().y()), Qt::FuzzyHit), p);
  }
  EXPECT_TRUE(layout->InPieces(5));
  // Split in two long paragraphs, each cut anew, and joined again.
  for (const bool join : {false, true}) {
    QTextCursor split(&doc);
    split.setPosition(join ? 150001 : 150000);
    if (join) split.deletePreviousChar();
    else split.insertBlock();
    EXPECT_EQ(doc.blockCount(), join ? 1 : 2);
    for (int p : {100, 149990, 150001, 150100, doc.characterCount() - 2}) {
      const QRectF caret = layout->CaretRect(p);
      EXPECT_EQ(layout->hitTest(QPointF(caret.left(), caret.center().y()), Qt::FuzzyHit), p) << p;
    }
    if (!join) EXPECT_GT(layout->CaretRect(150001).top(), layout->CaretRect(149990).top());
  }
}

TEST_F(DocumentLayoutTest, PiecesScrolledPastAreLaidOutAgainAlike) {
  QTextCursor c(&doc);
  c.insertText(Words(200000, 4));  // about 90 pieces, more than a paragraph keeps laid out
  const int length = doc.characterCount() - 1;
  std::vector<std::pair<int, QRectF>> seen;
  for (int p = 0; p < length; p += 15013) seen.emplace_back(p, layout->CaretRect(p));
  const QSizeF size = layout->documentSize();
  // The first pieces' lines were let go meanwhile; laid out again they stand where they stood.
  for (const auto& [p, caret] : seen) {
    EXPECT_EQ(layout->CaretRect(p), caret) << p;
    EXPECT_EQ(layout->hitTest(QPointF(caret.left(), caret.center().y()), Qt::FuzzyHit), p);
  }
  EXPECT_EQ(layout->documentSize(), size);
}

}  // namespace
