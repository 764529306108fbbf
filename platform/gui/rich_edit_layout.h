// The rich edit window's document layout. A paragraph is laid out only when it is drawn, hit
// or asked for; the others keep an estimated height in a running sum, so that an edit costs the
// paragraphs it changed, not the text after them. Very long paragraphs are laid out in pieces
// of about 16 thousand characters, each when it is seen; a piece's end also ends a line.
#pragma once

#include <QAbstractTextDocumentLayout>
#include <functional>
#include <memory>

namespace rich_edit {

class DocumentLayout : public QAbstractTextDocumentLayout {
public:
  // Paragraphs longer than this (characters) are laid out in pieces.
  static constexpr int kLongParagraph = 1 << 16;

  explicit DocumentLayout(QTextDocument* document);
  ~DocumentLayout() override;

  void draw(QPainter* painter, const PaintContext& context) override;
  int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override;
  QRectF frameBoundingRect(QTextFrame* frame) const override;
  // The rectangle of the paragraph's lines, without the space before and after it. The lines
  // of a long paragraph are not the block's own: for the one holding the caret (see
  // SetCaretSource) the rectangle starts at the caret, which is how the window finds it.
  QRectF blockBoundingRect(const QTextBlock& block) const override;

  // The caret's rectangle at `position`, document coordinates.
  QRectF CaretRect(int position) const;
  // Where the visual line holding `position` starts and ends.
  std::pair<int, int> LineSpan(int position) const;
  // Lays out what lies between heights `top` and `bottom`. Returns how far the text at `top`
  // moved because the paragraph there got its real height in place of an estimate.
  double Prepare(double top, double bottom);
  // The paragraph at height `y` (the first above the text, the last below it).
  int ParagraphAt(double y) const;
  // The height at which paragraph `index` starts (its space before included).
  double ParagraphTop(int index) const;
  // Takes in an edit at once: the document tells the layout last, after those who may ask
  // where its text now lies.
  void Follow(int from, int charsRemoved, int charsAdded);
  // Tells where the window's caret is (for blockBoundingRect).
  void SetCaretSource(std::function<int()> caret);
  // Whether the paragraph holding `position` is laid out in pieces.
  bool InPieces(int position) const;

protected:
  void documentChanged(int from, int charsRemoved, int charsAdded) override;
  void resizeInlineObject(QTextInlineObject item, int position, const QTextFormat& format) override;
  void drawInlineObject(QPainter* painter, const QRectF& rect, QTextInlineObject item, int position,
                        const QTextFormat& format) override;

private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace rich_edit
