#include "platform/gui/rich_edit_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextList>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "platform/gui/rich_edit_heights.h"

namespace rich_edit {

namespace {

constexpr int kPiece = 1 << 14;     // a piece's length as it is cut
constexpr int kBreakSearch = 256;   // how far back from there a piece end looks for a space
constexpr int kKeptPieces = 64;     // laid out pieces a paragraph keeps (those used latest)
constexpr qreal kUnbounded = 1e7;   // the line width while nothing gives one

// Layout passes of every layout get distinct stamps: what one measured never passes as
// another's (a paragraph's pieces outlive the layout that cut them).
uint32_t NewStamp() {
  static std::atomic<uint32_t> last{0};
  return ++last;
}

// A piece of a long paragraph: its characters (from the paragraph's start) and their lines.
struct Piece {
  int start = 0, length = 0;
  float height = 0;
  std::unique_ptr<QTextLayout> layout;  // when laid out
  uint64_t used = 0;                    // when its lines were last asked for
  int End() const { return start + length; }
};

// The pieces of a long paragraph, kept with the paragraph.
struct Pieces : QTextBlockUserData {
  int length = 0;      // the paragraph's length (with its end) when they were cut
  uint32_t stamp = 0;  // the layout pass their estimates belong to
  std::vector<Piece> list;
  int laid = 0;        // pieces with their lines
  uint64_t clock = 0;  // counts the uses of pieces' lines
  Piece& Use(size_t k) {
    list[k].used = ++clock;
    return list[k];
  }
};

// What a paragraph format asks of the lines: indents, spacing and line spacing.
struct Frame {
  qreal left = 0, right = 0, first = 0, before = 0, after = 0;
  int spacingType = QTextBlockFormat::SingleHeight;
  qreal spacing = 0;
  // The advance from one line to the next for a line of natural height `height`.
  qreal Advance(qreal height) const {
    switch (spacingType) {
      case QTextBlockFormat::ProportionalHeight: return height * spacing / 100;
      case QTextBlockFormat::FixedHeight: return spacing;
      case QTextBlockFormat::MinimumHeight: return std::max(height, spacing);
      case QTextBlockFormat::LineDistanceHeight: return height + spacing;
      default: return height;
    }
  }
};

// The height of a line of a font and its characters' average width.
struct Metrics {
  qreal line = 0, average = 1;
};

// What the window's settings give every paragraph.
struct Config {
  qreal width = -1;  // the page, margins included; negative when none is set
  bool wrap = true;
  qreal margin = 0, indentWidth = 0, tabStop = 0;
  QFont font;
  Qt::Alignment alignment;
  Qt::LayoutDirection direction = Qt::LeftToRight;
  bool operator==(const Config&) const = default;
};

}  // namespace

struct DocumentLayout::Impl {
  DocumentLayout& q;
  QTextDocument* doc;
  ParagraphHeights heights;
  Config config;
  uint32_t stamp = NewStamp();
  qreal widest = 0;  // the widest line laid out (unwrapped text is as wide as that)
  int length = 0;    // the text's length the heights follow
  qreal estimatedWidth = -1;  // the page width the estimates were made for
  std::array<int, 3> followed{-1, -1, -1};  // an edit taken in before the document reported it
  std::function<int()> caret;
  const PaintContext* painting = nullptr;
  std::unordered_map<int, Frame> frames;     // by block format index
  std::unordered_map<int, Metrics> metrics;  // by char format index

  Impl(DocumentLayout& owner, QTextDocument* document) : q(owner), doc(document) {}

  Config Current() const {
    Config c;
    c.width = doc->pageSize().width();
    const QTextOption option = doc->defaultTextOption();
    c.wrap = c.width > 0 && option.wrapMode() != QTextOption::NoWrap;
    c.margin = doc->documentMargin();
    c.indentWidth = doc->indentWidth();
    c.tabStop = option.tabStopDistance();
    c.font = doc->defaultFont();
    c.alignment = option.alignment();
    c.direction = option.textDirection();
    return c;
  }

  // The width lines are laid out in, margins excluded.
  qreal Avail() const { return config.width > 0 ? std::max<qreal>(1, config.width - 2 * config.margin) : kUnbounded; }

  const Frame& FrameOf(const QTextBlock& b) {
    const int key = b.blockFormatIndex();
    if (auto found = frames.find(key); found != frames.end()) return found->second;
    const QTextBlockFormat bf = b.blockFormat();
    Frame f;
    qreal indent = bf.indent() * config.indentWidth;
    if (const QTextList* list = b.textList()) indent += list->format().indent() * config.indentWidth;
    const bool rtl = Direction(b, bf) == Qt::RightToLeft;
    f.left = bf.leftMargin() + (rtl ? 0 : indent);
    f.right = bf.rightMargin() + (rtl ? indent : 0);
    f.first = bf.textIndent();
    f.before = bf.topMargin();
    f.after = bf.bottomMargin();
    f.spacingType = bf.lineHeightType();
    f.spacing = bf.lineHeight();
    return frames.emplace(key, f).first->second;
  }

  const Metrics& MetricsOf(const QTextBlock& b) {
    const QTextBlock::iterator it = b.begin();
    const QTextFragment fragment = it.atEnd() ? QTextFragment() : it.fragment();
    const int key = fragment.isValid() ? fragment.charFormatIndex() : b.charFormatIndex();
    if (auto found = metrics.find(key); found != metrics.end()) return found->second;
    const QTextCharFormat cf = fragment.isValid() ? fragment.charFormat() : b.charFormat();
    const QFontMetricsF fm(cf.font().resolve(config.font));
    return metrics.emplace(key, Metrics{std::max<qreal>(1, fm.ascent() + fm.descent()), std::max<qreal>(1, fm.averageCharWidth())})
        .first->second;
  }

  Qt::LayoutDirection Direction(const QTextBlock& b, const QTextBlockFormat& bf) const {
    Qt::LayoutDirection dir = bf.hasProperty(QTextFormat::LayoutDirection) ? bf.layoutDirection() : config.direction;
    if (dir == Qt::LayoutDirectionAuto) dir = b.textDirection();
    return dir;
  }

  QTextOption OptionFor(const QTextBlock& b, const QTextBlockFormat& bf) const {
    QTextOption option = doc->defaultTextOption();
    const Qt::LayoutDirection dir = Direction(b, bf);
    option.setTextDirection(dir);
    option.setTabs(bf.tabPositions());
    const Qt::Alignment align = bf.hasProperty(QTextFormat::BlockAlignment) ? bf.alignment() : option.alignment();
    option.setAlignment(QStyle::visualAlignment(dir, align));
    if (!config.wrap) option.setWrapMode(QTextOption::NoWrap);
    else if (bf.nonBreakableLines()) option.setWrapMode(QTextOption::ManualWrap);
    return option;
  }

  // The height of `characters` of text laid out in lines of `width`, as an estimate.
  static qreal EstimateLines(const Frame& f, const Metrics& m, qreal width, int characters, bool wrap) {
    qreal lines = 1;
    if (wrap) lines = std::max<qreal>(1, std::ceil(characters * m.average / std::max(width, m.average)));
    return lines * f.Advance(m.line);
  }

  static bool IsLong(const QTextBlock& b) { return b.length() > kLongParagraph; }

  qreal Estimate(const QTextBlock& b) {
    const Frame& f = FrameOf(b);
    if (IsLong(b)) return f.before + Height(PiecesOf(b)) + f.after;
    return f.before + f.after + EstimateLines(f, MetricsOf(b), Avail() - f.left - f.right, b.length() - 1, config.wrap);
  }

  // Lays `layout` out in the paragraph's lines; the height of its lines.
  qreal LayOutLines(QTextLayout& layout, const Frame& f, Qt::LayoutDirection dir, bool firstLines) {
    const qreal avail = Avail();
    qreal y = 0;
    layout.beginLayout();
    for (bool first = firstLines;; first = false) {
      QTextLine line = layout.createLine();
      if (!line.isValid()) break;
      const qreal indent = first ? f.first : 0;
      const qreal left = f.left + (dir == Qt::RightToLeft ? 0 : indent);
      const qreal right = f.right + (dir == Qt::RightToLeft ? indent : 0);
      line.setLineWidth(std::max<qreal>(1, avail - left - right));
      line.setPosition(QPointF(left, y));
      y += f.Advance(line.height());
      widest = std::max(widest, left + line.naturalTextWidth() + right);
    }
    layout.endLayout();
    return y;
  }

  // --- Long paragraphs ---

  double Height(const Pieces& p) const {
    double h = 0;
    for (const Piece& piece : p.list) h += piece.height;
    return h;
  }

  // Where a piece that starts at `from` should end: after a space near kPiece characters on,
  // else there (never inside a surrogate pair).
  int PieceEnd(const QTextBlock& b, int from) const {
    const int at = from + kPiece, base = b.position();
    for (int i = at; i > at - kBreakSearch; --i)
      if (doc->characterAt(base + i - 1).isSpace()) return i;
    return doc->characterAt(base + at - 1).isHighSurrogate() ? at - 1 : at;
  }

  // Cuts the characters from `from` to `to` into pieces.
  std::vector<Piece> Cut(const QTextBlock& b, int from, int to) const {
    std::vector<Piece> pieces;
    while (to - from > 2 * kPiece) {
      const int end = PieceEnd(b, from);
      pieces.push_back({from, end - from, 0, nullptr});
      from = end;
    }
    pieces.push_back({from, to - from, 0, nullptr});
    return pieces;
  }

  void EstimatePiece(const QTextBlock& b, Piece& piece, bool first) {
    const Frame& f = FrameOf(b);
    const qreal indent = first ? std::abs(f.first) : 0;
    piece.height = float(EstimateLines(f, MetricsOf(b), Avail() - f.left - f.right - indent, piece.length, config.wrap));
    piece.layout.reset();
  }

  // The paragraph's pieces, cut anew when it changed beyond what EditPieces followed.
  Pieces& PiecesOf(const QTextBlock& b) {
    auto* p = dynamic_cast<Pieces*>(b.userData());
    if (!p || p->length != b.length()) {
      p = new Pieces;
      p->length = b.length();
      p->list = Cut(b, 0, b.length() - 1);
      QTextBlock(b).setUserData(p);
      // The block's own lines, from when it was short, would mislead the window.
      b.layout()->clearLayout();
    }
    if (p->stamp != stamp) {
      for (size_t k = 0; k < p->list.size(); ++k) EstimatePiece(b, p->list[k], k == 0);
      p->stamp = stamp;
      p->laid = 0;
    }
    return *p;
  }

  // Follows an edit of `removed` characters replaced by `added` at `at` inside the paragraph.
  void EditPieces(const QTextBlock& b, Pieces& p, int at, int removed, int added) {
    const int delta = added - removed;
    size_t i = 0;
    while (i + 1 < p.list.size() && p.list[i].End() < at) ++i;
    size_t j = i;
    while (j + 1 < p.list.size() && p.list[j + 1].start < at + removed) ++j;
    int from = p.list[i].start, to = p.list[j].End() + delta;
    // A piece left small joins a neighbour.
    if (to - from < kPiece / 4) {
      if (j + 1 < p.list.size()) to = p.list[++j].End() + delta;
      else if (i > 0) from = p.list[--i].start;
    }
    for (size_t k = j + 1; k < p.list.size(); ++k) p.list[k].start += delta;
    p.length += delta;
    std::vector<Piece> cut = Cut(b, from, to);
    for (size_t k = 0; k < cut.size(); ++k) EstimatePiece(b, cut[k], i == 0 && k == 0);
    p.list.erase(p.list.begin() + long(i), p.list.begin() + long(j) + 1);
    p.list.insert(p.list.begin() + long(i), std::make_move_iterator(cut.begin()), std::make_move_iterator(cut.end()));
    p.laid = int(std::count_if(p.list.begin(), p.list.end(), [](const Piece& piece) { return bool(piece.layout); }));
  }

  QString PieceText(const QTextBlock& b, const Piece& piece) const {
    // Not through a cursor: placing one has Qt copy and analyse the whole paragraph.
    QString text;
    text.reserve(piece.length);
    const int from = b.position() + piece.start, to = b.position() + piece.End();
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      const int a = std::max(from, fr.position()), z = std::min(to, fr.position() + fr.length());
      if (fr.position() >= to) break;
      if (a >= z) continue;
      if (fr.length() > 2 * (z - a) + 4096) {  // a small part of a large fragment
        for (int i = a; i < z; ++i) text += doc->characterAt(i);
      } else {
        text += fr.text().mid(a - fr.position(), z - a);
      }
    }
    return text;
  }

  void LayOutPiece(const QTextBlock& b, Pieces& p, size_t k) {
    Piece& piece = p.list[k];
    const bool first = k == 0;
    const QTextBlockFormat bf = b.blockFormat();
    piece.layout = std::make_unique<QTextLayout>(PieceText(b, piece), config.font);
    QList<QTextLayout::FormatRange> formats;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      const int a = std::max(fr.position() - b.position(), piece.start);
      const int z = std::min(fr.position() + fr.length() - b.position(), piece.End());
      if (a < z) formats.append({a - piece.start, z - a, fr.charFormat()});
      if (fr.position() - b.position() >= piece.End()) break;
    }
    piece.layout->setFormats(formats);
    piece.layout->setTextOption(OptionFor(b, bf));
    piece.height = float(LayOutLines(*piece.layout, FrameOf(b), Direction(b, bf), first));
    p.Use(k);
    // A paragraph scrolled through keeps the lines of the pieces used latest only; the others
    // keep their heights and are laid out again when seen.
    if (++p.laid <= kKeptPieces) return;
    std::vector<uint64_t> uses;
    for (const Piece& other : p.list)
      if (other.layout) uses.push_back(other.used);
    const size_t drop = uses.size() - kKeptPieces / 2;
    std::nth_element(uses.begin(), uses.begin() + long(drop), uses.end());
    for (Piece& other : p.list) {
      if (other.layout && other.used < uses[drop]) {
        other.layout.reset();
        --p.laid;
      }
    }
  }

  // The piece holding a position within the paragraph, and the height above it.
  std::pair<size_t, double> PieceAt(const Pieces& p, int at) const {
    double top = 0;
    size_t k = 0;
    while (k + 1 < p.list.size() && p.list[k].End() <= at) top += p.list[k++].height;
    return {k, top};
  }

  // --- Paragraphs ---

  // Lays the paragraph out (a long one: the pieces between heights `from` and `to` of its
  // lines) and records its height; returns how much the height above `anchor` changed.
  double Ensure(const QTextBlock& b, int index, double from = 0, double to = 0, double anchor = -1) {
    const ParagraphHeights::Entry entry = heights.At(index);
    const Frame& f = FrameOf(b);
    double shift = 0;
    double height = entry.height;
    if (IsLong(b)) {
      Pieces& p = PiecesOf(b);
      double top = 0;
      for (size_t k = 0; k < p.list.size() && top < to; ++k) {
        Piece& piece = p.list[k];
        if (top + piece.height > from && piece.layout) {
          p.Use(k);
        } else if (top + piece.height > from) {
          const float old = piece.height;
          LayOutPiece(b, p, k);
          if (top < anchor) shift += piece.height - old;
        }
        top += piece.height;
      }
      height = f.before + Height(p) + f.after;
    } else if (entry.stamp != stamp) {
      QTextLayout* layout = b.layout();
      const QTextBlockFormat bf = b.blockFormat();
      layout->setTextOption(OptionFor(b, bf));
      height = f.before + LayOutLines(*layout, f, Direction(b, bf), true) + f.after;
      if (anchor > 0) shift = height - entry.height;
    }
    if (entry.stamp != stamp || height != entry.height) heights.Set(index, {float(height), stamp});
    return shift;
  }

  double TopOf(int index) const { return config.margin + heights.Top(index); }

  // Places the short paragraph's lines at its place in the text.
  QTextLayout* Placed(const QTextBlock& b, double top) {
    QTextLayout* layout = b.layout();
    layout->setPosition(QPointF(config.margin, top + FrameOf(b).before));
    return layout;
  }

  // Re-estimates every paragraph (a new text, or new widths).
  void Reset() {
    config = Current();
    estimatedWidth = config.width;
    stamp = NewStamp();
    widest = 0;
    frames.clear();
    metrics.clear();
    const int count = doc->blockCount();
    length = doc->characterCount();
    heights.Splice(0, heights.Count(), count, {});
    int i = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && i < count; b = b.next(), ++i)
      heights.Set(i, {float(Estimate(b)), 0});
  }

  QTextLine LineAt(const QTextLayout& layout, qreal y) const {
    for (int i = 0; i < layout.lineCount(); ++i) {
      const QTextLine line = layout.lineAt(i);
      if (y < line.y() + line.height() || i + 1 == layout.lineCount()) return line;
    }
    return {};
  }

  // The caret's rectangle at `position`.
  QRectF Caret(int position) {
    const QTextBlock b = doc->findBlock(position);
    if (!b.isValid()) return {};
    const int index = b.blockNumber();
    const double top = TopOf(index);
    const int at = position - b.position();
    const int width = std::max(1, q.property("cursorWidth").toInt());
    QTextLine line;
    QPointF origin;
    int local = at;
    if (IsLong(b)) {
      Pieces& p = PiecesOf(b);
      auto [k, above] = PieceAt(p, at);
      Piece& piece = p.Use(k);
      if (!piece.layout) Ensure(b, index, above, above + 1);
      origin = QPointF(config.margin, top + FrameOf(b).before + above);
      local = at - piece.start;
      line = piece.layout->lineForTextPosition(local);
      if (!line.isValid() && piece.layout->lineCount() > 0) line = piece.layout->lineAt(piece.layout->lineCount() - 1);
    } else {
      Ensure(b, index);
      const QTextLayout* layout = Placed(b, top);
      origin = layout->position();
      line = layout->lineForTextPosition(at);
    }
    if (!line.isValid()) return QRectF(origin, QSizeF(width, MetricsOf(b).line));
    return QRectF(origin.x() + line.cursorToX(local), origin.y() + line.y(), width, line.height());
  }

  void DrawSelectionsAndCaret(QPainter* painter, const PaintContext& context, const QTextLayout& layout,
                              QPointF origin, int start, int length, bool holdsEnd) {
    QList<QTextLayout::FormatRange> selections;
    for (const Selection& s : context.selections) {
      const int a = s.cursor.selectionStart() - start, z = s.cursor.selectionEnd() - start;
      if (a < length + (holdsEnd ? 1 : 0) && z > 0 && z > a)
        selections.append({std::max(0, a), std::min(z, length + 1) - std::max(0, a), s.format});
    }
    painter->setPen(context.palette.color(QPalette::Text));
    layout.draw(painter, origin, selections, context.clip.isValid() ? context.clip : QRectF());
    const int at = context.cursorPosition - start;
    if (at >= 0 && (at < length || (holdsEnd && at == length)))
      layout.drawCursor(painter, origin, at, std::max(1, q.property("cursorWidth").toInt()));
  }

  void DrawMarker(QPainter* painter, const PaintContext& context, const QTextBlock& b, const QTextLayout& layout) {
    const QTextList* list = b.textList();
    if (!list || layout.lineCount() == 0) return;
    const QTextLine line = layout.lineAt(0);
    const QFont font = b.charFormat().font().resolve(config.font);
    const QFontMetricsF fm(font);
    const bool rtl = layout.textOption().textDirection() == Qt::RightToLeft;
    const qreal gap = fm.horizontalAdvance(QLatin1Char(' '));
    const QPointF at = layout.position() + line.position();
    const QTextListFormat::Style style = list->format().style();
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    painter->setBrush(context.palette.color(QPalette::Text));
    if (style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
        style == QTextListFormat::ListSquare) {
      const qreal size = std::max<qreal>(3, fm.xHeight() * 0.6);
      const qreal x = rtl ? at.x() + line.width() + gap : at.x() - gap - size;
      const QRectF box(x, at.y() + line.ascent() - fm.xHeight() / 2 - size / 2, size, size);
      if (style == QTextListFormat::ListSquare) painter->fillRect(box, painter->brush());
      else {
        if (style == QTextListFormat::ListCircle) painter->setBrush(Qt::NoBrush);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->drawEllipse(box);
      }
    } else {
      const QString text = list->itemText(b);
      const qreal width = fm.horizontalAdvance(text);
      const qreal x = rtl ? at.x() + line.width() + gap : at.x() - gap - width;
      painter->setFont(font);
      painter->drawText(QPointF(x, at.y() + line.ascent()), text);
    }
    painter->restore();
  }

  void DrawParagraph(QPainter* painter, const PaintContext& context, const QTextBlock& b, int index, double top) {
    const Frame& f = FrameOf(b);
    const double height = heights.At(index).height;
    const QTextBlockFormat bf = b.blockFormat();
    const QBrush background = bf.background();
    if (background.style() != Qt::NoBrush)
      painter->fillRect(QRectF(config.margin, top + f.before, Avail(), height - f.before - f.after), background);
    const int length = b.length() - 1;
    if (!IsLong(b)) {
      const QTextLayout* layout = Placed(b, top);
      DrawSelectionsAndCaret(painter, context, *layout, QPointF(), b.position(), length, true);
      DrawMarker(painter, context, b, *layout);
      return;
    }
    Pieces& p = PiecesOf(b);
    const QRectF clip = context.clip;
    double y = top + f.before;
    for (size_t k = 0; k < p.list.size(); ++k) {
      Piece& piece = p.list[k];
      if (clip.isValid() && y >= clip.bottom()) break;
      if ((!clip.isValid() || y + piece.height > clip.top()) && piece.layout) {
        DrawSelectionsAndCaret(painter, context, *piece.layout, QPointF(config.margin, y), b.position() + piece.start,
                               piece.length, k + 1 == p.list.size());
        if (k == 0) {
          piece.layout->setPosition(QPointF(config.margin, y));
          DrawMarker(painter, context, b, *piece.layout);
          piece.layout->setPosition(QPointF());
        }
      }
      y += piece.height;
    }
  }

  void Changed(double oldHeight, qreal oldWidest) {
    if (heights.Total() != oldHeight || widest != oldWidest) emit q.documentSizeChanged(q.documentSize());
  }
};

DocumentLayout::DocumentLayout(QTextDocument* document)
    : QAbstractTextDocumentLayout(document), d(std::make_unique<Impl>(*this, document)) {
  setProperty("cursorWidth", 1);
  d->Reset();
}

DocumentLayout::~DocumentLayout() = default;

void DocumentLayout::SetCaretSource(std::function<int()> caret) { d->caret = std::move(caret); }

void DocumentLayout::Follow(int from, int charsRemoved, int charsAdded) {
  documentChanged(from, charsRemoved, charsAdded);
  d->followed = {from, charsRemoved, charsAdded};
}

void DocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
  if (d->followed == std::array{from, charsRemoved, charsAdded}) {
    d->followed = {-1, -1, -1};
    return;
  }
  const double oldHeight = d->heights.Total();
  const qreal oldWidest = d->widest;
  const int count = d->doc->blockCount();
  const Config config = d->Current();
  const int length = d->doc->characterCount();
  // What must be drawn again: all of it, unless only paragraphs measured before changed and
  // kept their heights.
  QRectF dirty(0, 0, 1e9, 1e9);
  Config widthOnly = d->config;
  widthOnly.width = config.width;
  const double estimated = d->estimatedWidth;
  if (config == widthOnly && !(config == d->config) && d->heights.Count() == count && length == d->length &&
      estimated > 0 && config.width > 0 && std::abs(config.width - estimated) < estimated / 4) {
    // A new width a little off the one the estimates were made for (the window is being
    // resized): what is seen is laid out anew, the rest keeps its heights as estimates, so that
    // a resize costs what it shows.
    d->config = config;
    d->stamp = NewStamp();
    d->widest = 0;
  } else if (!(config == d->config) || d->heights.Count() == 0) {
    d->Reset();
  } else if (from == 0 && charsRemoved == 0 && charsAdded == length && length == d->length &&
             count == d->heights.Count()) {
    // The text is the same: the layout was installed, or a setting that changed nothing.
  } else {
    d->length = length;
    const QTextBlock firstBlock = d->doc->findBlock(std::clamp(from, 0, length - 1));
    const int first = firstBlock.blockNumber();
    const int last = d->doc->findBlock(std::clamp(from + charsAdded, 0, length - 1)).blockNumber();
    const int added = last - first + 1, removed = added - (count - d->heights.Count());
    if (first < 0 || removed < 0 || first + removed > d->heights.Count()) {
      d->Reset();
    } else {
      if (first == 0 && last == count - 1) {  // a new text: its formats' numbers may mean others now
        d->frames.clear();
        d->metrics.clear();
      }
      if (removed != added) d->heights.Splice(first, removed, added, {});
      // A few paragraphs that were shown (typing) are laid out again at once, to learn whether
      // what follows them moved.
      bool kept = removed == added && added <= 4;
      int i = first;
      for (QTextBlock b = firstBlock; b.isValid() && i <= last; b = b.next(), ++i) {
        if (auto* p = dynamic_cast<Pieces*>(b.userData())) {
          // An edit inside a long paragraph re-cuts only the pieces it touched.
          const int at = from - b.position(), delta = charsAdded - charsRemoved;
          if (Impl::IsLong(b) && p->stamp == d->stamp && at >= 0 && p->length + delta == b.length() &&
              at + charsRemoved < p->length)
            d->EditPieces(b, *p, at, charsRemoved, charsAdded);
          else
            b.setUserData(nullptr);
        }
        const ParagraphHeights::Entry old = d->heights.At(i);
        kept = kept && old.stamp == d->stamp && !Impl::IsLong(b);
        // A paragraph measured before keeps its height until it is laid out again.
        d->heights.Set(i, {removed == added && old.stamp ? old.height : float(d->Estimate(b)), 0});
        if (kept) {
          d->Ensure(b, i);
          kept = d->heights.At(i).height == old.height;
        }
      }
      const double top = d->TopOf(first);
      dirty = kept ? QRectF(0, top, 1e9, d->TopOf(last + 1) - top) : QRectF(0, top, 1e9, 1e9);
    }
  }
  d->Changed(oldHeight, oldWidest);
  emit update(dirty);
}

QSizeF DocumentLayout::documentSize() const {
  const qreal margin = d->config.margin;
  qreal width = std::max<qreal>(0, d->config.width);
  if (!d->config.wrap) width = std::max(width, d->widest + 2 * margin);
  return {width, d->heights.Total() + 2 * margin};
}

QRectF DocumentLayout::frameBoundingRect(QTextFrame*) const { return {QPointF(), documentSize()}; }

QRectF DocumentLayout::blockBoundingRect(const QTextBlock& block) const {
  if (!block.isValid() || block.document() != d->doc) return {};
  const int index = block.blockNumber();
  if (index >= d->heights.Count()) return {};
  const double top = d->TopOf(index);
  const Frame& f = d->FrameOf(block);
  if (Impl::IsLong(block)) {
    if (d->caret) {
      const int caret = d->caret();
      if (caret >= block.position() && caret < block.position() + block.length()) {
        const QRectF r = d->Caret(caret);
        return {r.topLeft(), QSizeF(d->Avail(), r.height())};
      }
    }
    return {d->config.margin, top + f.before, d->Avail(), d->heights.At(index).height - f.before - f.after};
  }
  const double oldHeight = d->heights.Total();
  d->Ensure(block, index);
  d->Changed(oldHeight, d->widest);
  const double height = d->heights.At(index).height;
  return {d->Placed(block, top)->position(), QSizeF(d->Avail(), height - f.before - f.after)};
}

QRectF DocumentLayout::CaretRect(int position) const { return d->Caret(position); }

int DocumentLayout::ParagraphAt(double y) const { return d->heights.Find(y - d->config.margin); }

double DocumentLayout::ParagraphTop(int index) const { return d->TopOf(index); }

bool DocumentLayout::InPieces(int position) const { return Impl::IsLong(d->doc->findBlock(position)); }

std::pair<int, int> DocumentLayout::LineSpan(int position) const {
  const QTextBlock b = d->doc->findBlock(position);
  if (!b.isValid()) return {position, position};
  int at = position - b.position(), base = b.position();
  const QTextLayout* layout = nullptr;
  bool lastPiece = true;
  if (Impl::IsLong(b)) {
    d->Caret(position);  // lays its piece out
    Pieces& p = d->PiecesOf(b);
    const size_t k = d->PieceAt(p, at).first;
    layout = p.list[k].layout.get();
    base += p.list[k].start;
    at -= p.list[k].start;
    lastPiece = k + 1 == p.list.size();
  } else {
    d->Ensure(b, b.blockNumber());
    layout = b.layout();
  }
  const QTextLine line = layout ? layout->lineForTextPosition(at) : QTextLine();
  if (!line.isValid()) return {position, position};
  int end = line.textStart() + line.textLength();
  // A wrapped line ends before the character it wrapped at.
  if ((line.lineNumber() + 1 < layout->lineCount() || !lastPiece) && end > line.textStart()) --end;
  return {base + line.textStart(), base + end};
}

double DocumentLayout::Prepare(double top, double bottom) {
  const double oldHeight = d->heights.Total();
  const qreal oldWidest = d->widest;
  double shift = 0;
  int index = d->heights.Find(top - d->config.margin);
  if (index < 0) return 0;
  QTextBlock b = d->doc->findBlockByNumber(index);
  double y = d->TopOf(index);
  for (bool first = true; b.isValid() && y < bottom + shift; b = b.next(), ++index, first = false) {
    const double lines = y + d->FrameOf(b).before;
    const double moved = d->Ensure(b, index, top - lines, bottom + shift - lines, first ? top - lines : -1);
    if (first && y < top) shift = moved;
    y += d->heights.At(index).height;
  }
  d->Changed(oldHeight, oldWidest);
  return shift;
}

void DocumentLayout::draw(QPainter* painter, const PaintContext& context) {
  const double oldHeight = d->heights.Total();
  const qreal oldWidest = d->widest;
  const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(), documentSize());
  int index = d->heights.Find(clip.top() - d->config.margin);
  if (index < 0) return;
  d->painting = &context;
  QTextBlock b = d->doc->findBlockByNumber(index);
  for (double y = d->TopOf(index); b.isValid() && y < clip.bottom(); b = b.next(), ++index) {
    const double lines = y + d->FrameOf(b).before;
    d->Ensure(b, index, clip.top() - lines, clip.bottom() - lines);
    d->DrawParagraph(painter, context, b, index, y);
    y += d->heights.At(index).height;
  }
  d->painting = nullptr;
  d->Changed(oldHeight, oldWidest);
}

int DocumentLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
  const int index = d->heights.Find(point.y() - d->config.margin);
  if (index < 0) return -1;
  const QTextBlock b = d->doc->findBlockByNumber(index);
  const double top = d->TopOf(index);
  const double lines = top + d->FrameOf(b).before;
  d->Ensure(b, index, point.y() - lines, point.y() - lines + 1);
  const QTextLayout* layout = nullptr;
  QPointF origin;
  int base = b.position();
  if (Impl::IsLong(b)) {
    Pieces& p = d->PiecesOf(b);
    double y = lines;
    size_t k = 0;
    while (k + 1 < p.list.size() && point.y() >= y + p.list[k].height) y += p.list[k++].height;
    if (!p.list[k].layout) d->LayOutPiece(b, p, k);
    p.Use(k);
    layout = p.list[k].layout.get();
    origin = QPointF(d->config.margin, y);
    base += p.list[k].start;
  } else {
    layout = d->Placed(b, top);
    origin = layout->position();
  }
  const QPointF local = point - origin;
  const QTextLine line = d->LineAt(*layout, local.y());
  if (!line.isValid()) return accuracy == Qt::ExactHit ? -1 : base;
  if (accuracy == Qt::ExactHit &&
      (local.y() < line.y() || local.y() >= line.y() + line.height() || local.x() < line.naturalTextRect().left() ||
       local.x() > line.naturalTextRect().right()))
    return -1;
  return base + line.xToCursor(local.x());
}

void DocumentLayout::resizeInlineObject(QTextInlineObject item, int position, const QTextFormat& format) {
  if (format.objectType() != QTextFormat::ImageObject)
    return QAbstractTextDocumentLayout::resizeInlineObject(item, position, format);
  const QTextImageFormat image = format.toImageFormat();
  QSizeF size(image.width(), image.height());
  if (size.width() <= 0 || size.height() <= 0) {
    const QImage picture = d->doc->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    size = picture.size();
  }
  item.setWidth(size.width());
  item.setAscent(size.height());
  item.setDescent(0);
}

void DocumentLayout::drawInlineObject(QPainter* painter, const QRectF& rect, QTextInlineObject item, int position,
                                      const QTextFormat& format) {
  if (format.objectType() != QTextFormat::ImageObject)
    return QAbstractTextDocumentLayout::drawInlineObject(painter, rect, item, position, format);
  const QTextImageFormat image = format.toImageFormat();
  const QImage picture = d->doc->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
  if (!picture.isNull()) painter->drawImage(rect, picture);
  // A selected object is shown under the selection's colour.
  if (!d->painting) return;
  for (const Selection& s : d->painting->selections) {
    if (position < s.cursor.selectionStart() || position >= s.cursor.selectionEnd()) continue;
    QColor colour = s.format.colorProperty(QTextFormat::BackgroundBrush);
    if (!colour.isValid()) colour = d->painting->palette.color(QPalette::Highlight);
    colour.setAlpha(128);
    painter->fillRect(rect, colour);
  }
}

}  // namespace rich_edit
