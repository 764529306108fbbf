#include "platform/gui/rich_edit_control.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <cmath>
#include <optional>

#include "platform/gui/application.h"
#include "platform/gui/rich_edit_formats.h"
#include "platform/gui/rich_edit_layout.h"
#include "platform/gui/rich_edit_private.h"

using rich_edit::FromQt;
using rich_edit::ToQt;

namespace rich_edit {

QString ToQt(std::u16string_view text) {
  QString s = QString::fromUtf16(text.data(), qsizetype(text.size()));
  s.replace(QChar(u'\v'), QChar::LineSeparator);
  return s;
}

std::u16string FromQt(const QString& text) {
  std::u16string s = text.toStdU16String();
  for (char16_t& c : s) {
    if (c == 0x2029) c = u'\r';
    else if (c == 0x2028) c = u'\v';
  }
  return s;
}

}  // namespace rich_edit

namespace {

bool IsWordChar(char16_t c) { return QChar(c).isLetterOrNumber() || c == u'_'; }

// Calls visit(a, z, format) for each piece [a, z) of alike formatted text in [start, end).
// `inUndoStep`: the document is inside an undo step (an edit block), where Qt leaves a
// cursor's place on its line unknown; there a small part of a long paragraph is read character
// by character through a cursor instead of walking the paragraph's pieces from its start (after
// many edits a long paragraph has a great many).
template <class F> void ForEachFormatRun(const QTextDocument& doc, int start, int end, bool inUndoStep, F visit) {
  for (QTextBlock b = doc.findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
    const int from = std::max(start, b.position()), to = std::min(end, b.position() + b.length() - 1);
    if (inUndoStep && b.length() > 2 * (to - from) + 4096) {
      QTextCursor c(const_cast<QTextDocument*>(&doc));
      int runStart = from;
      QTextCharFormat runFormat;
      for (int i = from; i < to; ++i) {
        c.setPosition(i + 1);  // the format of the character before the cursor
        const QTextCharFormat f = c.charFormat();
        if (i > from && f != runFormat) {
          visit(runStart, i, runFormat);
          runStart = i;
        }
        if (i == from || f != runFormat) runFormat = f;
      }
      if (from < to) visit(runStart, to, runFormat);
      continue;
    }
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (fr.position() >= end) break;
      const int a = std::max(start, fr.position()), z = std::min(end, fr.position() + fr.length());
      if (a < z) visit(a, z, fr.charFormat());
    }
  }
}

// The case-folded form of a UTF-16 unit, from a table made at the first search.
char16_t Fold(char16_t c) {
  static const std::vector<char16_t> folded = [] {
    std::vector<char16_t> table(0x10000);
    for (size_t i = 0; i < table.size(); ++i) table[i] = QChar(char16_t(i)).toCaseFolded().unicode();
    return table;
  }();
  return folded[c];
}

// A format change of one piece of the text. Pieces are kept as positions (a format change moves
// no text), never as cursors: the document follows every live cursor through each change, so a
// cursor a piece would cost the pieces squared.
struct FormatPiece {
  int start, end;
  QTextCharFormat format;
};

// Adds [a, z) with `format`, joined to the piece before when it goes on with the same format.
void AddPiece(std::vector<FormatPiece>& pieces, int a, int z, const QTextCharFormat& format) {
  if (!pieces.empty() && pieces.back().end == a && pieces.back().format == format)
    pieces.back().end = z;
  else
    pieces.push_back({a, z, format});
}

// Merges (or sets) each piece's format, all in the undo step of the change made just before.
void ApplyPieces(QTextDocument& doc, const std::vector<FormatPiece>& pieces, bool merge) {
  if (pieces.empty()) return;
  QTextCursor c(&doc);
  c.joinPreviousEditBlock();
  for (const FormatPiece& piece : pieces) {
    c.setPosition(piece.start);
    c.setPosition(piece.end, QTextCursor::KeepAnchor);
    if (merge) c.mergeCharFormat(piece.format);
    else c.setCharFormat(piece.format);
  }
  c.endEditBlock();
}

// The document's layout while nothing shows it: lays nothing out, so that changes cost only
// the change (the document reports its changes only when it has a layout).
class NullLayout : public QAbstractTextDocumentLayout {
public:
  explicit NullLayout(QTextDocument* document) : QAbstractTextDocumentLayout(document) {}
  void draw(QPainter*, const PaintContext&) override {}
  int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override { return {}; }
  QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
  QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

protected:
  void documentChanged(int, int, int) override {}
};

Qt::CursorShape CursorShape(int cursor) {
  switch (cursor) {
    case -2: return Qt::ArrowCursor;
    case -3: return Qt::CrossCursor;
    case -11: return Qt::WaitCursor;
    case -19: return Qt::BusyCursor;
    case -20: return Qt::WhatsThisCursor;
    case -21: return Qt::PointingHandCursor;
    case -22: return Qt::SizeAllCursor;
    case -18: return Qt::ForbiddenCursor;
    default: return Qt::IBeamCursor;
  }
}

}  // namespace

// --- Impl ---------------------------------------------------------------------------------------

RichEditControl::Impl::Impl(RichEditControl& owner) : q(owner), detachedCursor(&doc) {
  doc.setDocumentMargin(2);
  // Paragraphs run left to right unless their format says otherwise: Qt would otherwise look
  // for the direction in each paragraph's text at every layout pass.
  QTextOption option = doc.defaultTextOption();
  option.setTextDirection(Qt::LeftToRight);
  doc.setDefaultTextOption(option);
  doc.setUndoRedoEnabled(true);
  doc.setDocumentLayout(new NullLayout(&doc));
  QObject::connect(&doc, &QTextDocument::contentsChange, &doc,
                   [this](int pos, int removed, int added) { OnContentsChange(pos, removed, added); });
  QObject::connect(&doc, &QTextDocument::undoCommandAdded, &doc, [this] {
    lockedUndoSteps = std::max(lockedUndoSteps, doc.availableUndoSteps() - undoLimit);
  });
}

rich_edit::Window* RichEditControl::Impl::MakeWindow(QWidget* parent) {
  if (window) return window;
  window = new rich_edit::Window(&placeholder, this, parent);
  attached = false;
  window->setReadOnly(readOnly);
  window->setLineWrapMode(wordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  window->SetSelectionBar(selectionBar);
  ShowSelection();
  QObject::connect(window, &QTextEdit::cursorPositionChanged, window, [this] {
    RepaintMoves();
    NotifySelection();
  });
  QObject::connect(window, &QTextEdit::selectionChanged, window, [this] {
    RepaintMoves();
    NotifySelection();
  });
  return window;
}

void RichEditControl::Impl::UpdateAttachment() {
  const bool show = window && redraw && window->isVisible();
  if (!window || show == attached) return;
  QScrollBar* h = window->horizontalScrollBar();
  QScrollBar* v = window->verticalScrollBar();
  attaching = true;
  if (show) {
    attached = true;
    layout = new rich_edit::DocumentLayout(&doc);
    doc.setDocumentLayout(layout);
    layout->SetCaretSource([this] { return window ? window->textCursor().position() : 0; });
    window->setDocument(&doc);
    window->setTextCursor(detachedCursor);
    QObject::connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, window,
                     [this](const QSizeF& size) {
                       if (q.OnRequestResize) q.OnRequestResize(qCeil(size.width()), qCeil(size.height()));
                     });
    if (newText) view = {};
    newText = false;
    // Back to the paragraph the view showed: the heights above it may be estimates now.
    h->setValue(view.x);
    if (view.topLine < doc.blockCount()) v->setValue(int(layout->ParagraphTop(view.topLine)) + view.offset);
    if (scrollOnAttach) window->ensureCursorVisible();
  } else {
    const int top = q.FirstVisibleLine();
    view = {h->value(), top, v->value() - int(layout->ParagraphTop(top))};
    Detach();
  }
  scrollOnAttach = false;
  attaching = false;
}

void RichEditControl::Impl::Detach() {
  detachedCursor = window->textCursor();
  attached = false;
  window->setDocument(&placeholder);
  doc.setDocumentLayout(new NullLayout(&doc));
  layout = nullptr;
}

RichEditControl::Impl::~Impl() {
  if (!window) return;
  // A window inside a parent is the parent's to delete; it must not show our text any more.
  window->Detach();
  window->setDocument(new QTextDocument(window));
  if (!window->parentWidget()) delete window.data();
}

QTextCursor RichEditControl::Impl::Cursor() const {
  return Attached() ? window->textCursor() : detachedCursor;
}

void RichEditControl::Impl::SetCursor(const QTextCursor& cursor) {
  if (Attached()) window->setTextCursor(cursor);
  else detachedCursor = cursor;
  NotifySelection();
}

QTextCursor RichEditControl::Impl::Range(int start, int end) const {
  const int length = Length();
  start = std::clamp(start, 0, length);
  end = end < 0 ? length : std::clamp(end, 0, length);
  QTextCursor c(const_cast<QTextDocument*>(&doc));
  c.setPosition(start);
  c.setPosition(end, QTextCursor::KeepAnchor);
  return c;
}

QTextCharFormat RichEditControl::Impl::QtFormat(const TCharFormat& format) const {
  QTextCharFormat f;
  rich_edit::ApplyCharFormat(f, format, CFM_ALL2);
  return f;
}

TCharFormat RichEditControl::Impl::Format(const QTextCharFormat& format) const {
  return rich_edit::ReadCharFormat(format, defaultFormat);
}

QTextCharFormat RichEditControl::Impl::InsertFormat(const QTextCursor& cursor) const {
  if (plainText) return QtFormat(defaultFormat);
  if (!cursor.hasSelection() && typingFormatSet && cursor.position() == Cursor().position())
    return typingFormat;
  QTextCursor probe(const_cast<QTextDocument*>(&doc));
  const int start = cursor.selectionStart();
  // The first selected character, unless it is a paragraph end; then the one before.
  if (cursor.hasSelection() && doc.characterAt(start) != QChar::ParagraphSeparator) {
    probe.setPosition(start + 1);
  } else {
    probe.setPosition(start);
  }
  QTextCharFormat f = probe.charFormat();
  f.clearProperty(rich_edit::ObjectIdProperty);
  f.setObjectType(QTextFormat::NoObject);
  return f;
}

void RichEditControl::Impl::Insert(QTextCursor& cursor, std::u16string_view text,
                                   const QTextCharFormat& format) {
  if (maxLength > 0) {
    const int room = maxLength - (Length() - (cursor.selectionEnd() - cursor.selectionStart()));
    if (room <= 0) {
      cursor.removeSelectedText();
      return;
    }
    if (int(text.size()) > room) text = text.substr(0, size_t(room));
  }
  cursor.insertText(ToQt(text), format);
}

void RichEditControl::Impl::NotifySelection() {
  if (attaching) return;
  const QTextCursor c = Cursor();
  const int start = c.selectionStart(), end = c.selectionEnd();
  if (start == lastSelStart && end == lastSelEnd) return;
  lastSelStart = start;
  lastSelEnd = end;
  typingFormatSet = false;
  if (q.OnSelChange) q.OnSelChange();
}

void RichEditControl::Impl::OnContentsChange(int position, int removed, int added) {
  if (Attached()) layout->Follow(position, removed, added);
  // Putting the document into its window lays it out anew: no edit, nothing changed.
  if (quiet || attaching) return;
  if (removed == 0 && added == 0) return;
  changeStart = std::min(position, Length());
  changeEnd = std::min(position + added, Length());
  modified = true;
  if (q.OnChange) q.OnChange();
  NotifySelection();
}

void RichEditControl::Impl::RepaintMoves() {
  if (!Attached()) return;
  // The window repaints only where it finds the caret and the selection were, which it cannot
  // find in a paragraph laid out in pieces: then all is repainted.
  const QTextCursor c = window->textCursor();
  const bool inPieces = layout->InPieces(c.position()) || layout->InPieces(c.anchor());
  if (inPieces || movedInPieces) window->viewport()->update();
  movedInPieces = inPieces;
}

QRect RichEditControl::Impl::CaretRect(int position) const {
  const QRectF r = layout->CaretRect(position);
  return r.translated(-window->horizontalScrollBar()->value(), -window->verticalScrollBar()->value()).toRect();
}

bool RichEditControl::Impl::AllowEdit(int start, int end) {
  if (readOnly) return false;
  if (!q.OnProtected) return true;
  bool touches = false;
  if (start < end) {
    for (QTextBlock b = doc.findBlock(start); b.isValid() && b.position() < end && !touches; b = b.next()) {
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        if (fr.position() + fr.length() <= start || fr.position() >= end) continue;
        if (Format(fr.charFormat()).Protected) { touches = true; break; }
      }
    }
  } else {
    // Typing between two protected characters. The format a cursor after the character reports
    // (at a paragraph's start, that of its first character), read from the document's format
    // runs: a cursor placed in a long paragraph would analyse all of it.
    auto protectedAt = [this](int pos) {
      if (pos < 0 || pos >= Length()) return false;
      const QTextBlock next = doc.findBlock(pos + 1);
      const int at = next.position() == pos + 1 && next.length() > 1 ? pos + 1 : pos;
      if (doc.characterAt(at) == QChar::ParagraphSeparator) return Format(doc.findBlock(at).charFormat()).Protected;
      bool found = false;
      ForEachFormatRun(doc, at, at + 1, undoStepDepth > 0, [&](int, int, const QTextCharFormat& f) { found = Format(f).Protected; });
      return found;
    };
    touches = protectedAt(start - 1) && protectedAt(start);
  }
  return !touches || q.OnProtected(start, end);
}

bool RichEditControl::Impl::LinkRange(int position, int& start, int& end) const {
  if (position < 0 || position >= Length()) return false;
  const QTextBlock block = doc.findBlock(position);
  bool found = false;
  start = end = -1;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fr = it.fragment();
    const bool link = Format(fr.charFormat()).Link;
    const int a = fr.position(), b = fr.position() + fr.length();
    if (link) {
      if (end == a && start >= 0) end = b;   // continues the run
      else { start = a; end = b; }
      if (position >= a && position < b) found = true;
    } else if (found) {
      break;
    } else {
      start = end = -1;
    }
  }
  return found;
}

void RichEditControl::Impl::ShowSelection() {
  if (!window) return;
  QPalette p = window->palette();
  const QPalette standard = QApplication::palette(window);
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    // Hidden: no highlight, and the text keeps its own colours (no brush of its own).
    p.setBrush(group, QPalette::Highlight,
               selectionHidden ? QBrush(Qt::NoBrush) : standard.brush(group, QPalette::Highlight));
    p.setBrush(group, QPalette::HighlightedText,
               selectionHidden ? QBrush(Qt::NoBrush) : standard.brush(group, QPalette::HighlightedText));
  }
  window->setPalette(p);
}

// --- Window -------------------------------------------------------------------------------------

namespace rich_edit {

Window::~Window() {
  if (d && d->attached) d->Detach();
}

void Window::contextMenuEvent(QContextMenuEvent* event) { event->ignore(); }

void Window::showEvent(QShowEvent* event) {
  QTextEdit::showEvent(event);
  if (d) d->UpdateAttachment();
}

void Window::hideEvent(QHideEvent* event) {
  QTextEdit::hideEvent(event);
  if (d) d->UpdateAttachment();
}

Window::Window(QTextDocument* document, RichEditControl::Impl* owner, QWidget* parent)
    : QTextEdit(parent), d(owner) {
  setDocument(document);
  setAcceptRichText(true);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  setTabChangesFocus(false);
}

bool Window::event(QEvent* event) {
  const QEvent::Type type = event->type();
  if (!d || !d->selectionBar || !d->Attached() ||
      (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
       type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
    return QTextEdit::event(event);
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint at = mouse->position().toPoint() - viewport()->geometry().topLeft();
  const bool inBar = at.x() < 0 && at.y() >= 0 && at.y() < viewport()->height();
  if (type == QEvent::MouseButtonRelease) {
    const bool handled = barAnchorY >= 0;
    barAnchorY = -1;
    return handled || QTextEdit::event(event);
  }
  if (type == QEvent::MouseMove) {
    if (barAnchorY < 0 || !(mouse->buttons() & Qt::LeftButton)) return QTextEdit::event(event);
    SelectLines(barAnchorY, at.y(), false);
    return true;
  }
  if (!inBar || mouse->button() != Qt::LeftButton) return QTextEdit::event(event);
  const bool extend = (mouse->modifiers() & Qt::ShiftModifier) && type == QEvent::MouseButtonPress;
  if (!extend) barAnchorY = at.y();
  else if (barAnchorY < 0) barAnchorY = d->CaretRect(textCursor().position()).center().y();
  SelectLines(barAnchorY, at.y(), type == QEvent::MouseButtonDblClick);
  setFocus(Qt::MouseFocusReason);
  return true;
}

void Window::SelectLines(int anchorY, int y, bool paragraphs) {
  auto lineRange = [&](int row) {
    QTextCursor c = cursorForPosition(QPoint(0, row));
    QTextCursor end = c;
    if (paragraphs) {
      c.movePosition(QTextCursor::StartOfBlock);
      if (!end.movePosition(QTextCursor::NextBlock)) end.movePosition(QTextCursor::End);
    } else if (d->layout->InPieces(c.position())) {
      // Qt's line moves know no lines in a paragraph laid out in pieces.
      const int start = d->layout->LineSpan(c.position()).first;
      const double below = d->layout->CaretRect(start).bottom() + 1;
      const int next = d->layout->LineSpan(d->layout->hitTest(QPointF(0, below), Qt::FuzzyHit)).first;
      return std::pair(start, next > start ? next : d->Length());
    } else {
      c.movePosition(QTextCursor::StartOfLine);
      end.movePosition(QTextCursor::StartOfLine);
      // The next line's start; the last line ends with the text.
      if (!end.movePosition(QTextCursor::Down)) end.movePosition(QTextCursor::End);
      else end.movePosition(QTextCursor::StartOfLine);
    }
    return std::pair(c.position(), end.position());
  };
  const auto [a0, a1] = lineRange(anchorY);
  const auto [b0, b1] = lineRange(y);
  if (b0 >= a0) d->q.SetSel(a0, b1);
  else d->q.SetSel(a1, b0);
}

void Window::keyPressEvent(QKeyEvent* event) {
  if (!d) return QTextEdit::keyPressEvent(event);
  // In a long paragraph the window's own moves would look at the whole paragraph at once.
  if (d->Attached() && LongLineKey(event)) return;
  goalX = -1;
  if (event->matches(QKeySequence::Paste)) {
    d->q.Paste();
    return;
  }
  if (event->matches(QKeySequence::Undo)) { d->q.Undo(); return; }
  if (event->matches(QKeySequence::Redo)) { d->q.Redo(); return; }
  const QTextCursor c = textCursor();
  int start = c.selectionStart(), end = c.selectionEnd();
  bool edits = !event->text().isEmpty() && event->text().at(0).isPrint();
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Tab) edits = true;
  if (event->matches(QKeySequence::Cut)) edits = true;
  if (event->key() == Qt::Key_Backspace) {
    edits = true;
    if (start == end && start > 0) --start;
  } else if (event->key() == Qt::Key_Delete) {
    edits = true;
    if (start == end && end < d->Length()) ++end;
  }
  if (edits) {
    if (!d->AllowEdit(start, end)) return;
    if (d->maxLength > 0 && start == end && !event->text().isEmpty() &&
        event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete && d->Length() >= d->maxLength)
      return;
    if (d->typingFormatSet && start == end) setCurrentCharFormat(d->typingFormat);
  }
  const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint();
  if (typed && !overwriteMode() && d->Attached() && d->layout->InPieces(start)) return TypeInPieces(event->text());
  QTextEdit::keyPressEvent(event);
}

void Window::TypeInPieces(const QString& text) {
  // Inside an edit block Qt's cursor leaves its column unknown (found when a move up or down
  // needs it); the window's cursor moves on with the text put in at its place. Keys typed one
  // after another join one undo step, as Qt's typing merges them.
  QTextCursor typing = textCursor();
  QTextDocument* doc = document();
  const bool follows = !typing.hasSelection() && typing.position() == typed.end &&
                       doc->characterCount() == typed.length && doc->availableUndoSteps() == typed.undoSteps;
  if (follows) typing.joinPreviousEditBlock();
  else typing.beginEditBlock();
  typing.insertText(text);
  typing.endEditBlock();
  typed = {textCursor().position(), doc->characterCount(), doc->availableUndoSteps()};
  // The caret into view by the layout's place for it; the scroll range first takes in what the
  // layout has learnt of the paragraph's height.
  const QRect caret = d->CaretRect(typed.end);  // viewport coordinates
  if (caret.bottom() >= viewport()->height() && verticalScrollBar()->value() + caret.bottom() > verticalScrollBar()->maximum())
    emit d->layout->documentSizeChanged(d->layout->documentSize());
  const auto into = [](QScrollBar* bar, int low, int high, int room) {
    if (low < 0) bar->setValue(bar->value() + low);
    else if (high >= room) bar->setValue(bar->value() + std::min(low, high - room + 1));
  };
  into(verticalScrollBar(), caret.top(), caret.bottom(), viewport()->height());
  into(horizontalScrollBar(), caret.left(), caret.right(), viewport()->width());
}

bool Window::canInsertFromMimeData(const QMimeData* source) const {
  if (d && source->hasImage()) return d->allowObjects && !d->plainText;
  return source->hasText() || QTextEdit::canInsertFromMimeData(source);
}

void Window::insertFromMimeData(const QMimeData* source) {
  if (!d) return;
  if (!dropping && d->q.OnPaste && !d->q.OnPaste()) return;
  const QTextCursor c = textCursor();
  if (!d->AllowEdit(c.selectionStart(), c.selectionEnd())) return;
  d->InsertMime(source);
}

QMimeData* Window::createMimeDataFromSelection() const {
  return d ? d->SelectionMime() : QTextEdit::createMimeDataFromSelection();
}

void Window::dropEvent(QDropEvent* event) {
  dropping = true;
  QTextEdit::dropEvent(event);
  dropping = false;
}

bool Window::LinkEvent(TRichLinkEvent kind, const QPoint& point) {
  if (!d || !d->Attached()) return false;
  const int pos = cursorForPosition(point).position();
  // cursorForPosition gives the nearest gap; the character under the point lies left or right.
  const QRect caret = d->CaretRect(pos);
  const int character = point.x() < caret.center().x() ? pos - 1 : pos;
  int start = 0, end = 0;
  if (!d->LinkRange(character, start, end)) return false;
  if (d->q.OnLink) d->q.OnLink(kind, start, end);
  return true;
}

void Window::mouseMoveEvent(QMouseEvent* event) {
  const bool link = LinkEvent(TRichLinkEvent::MouseMove, event->position().toPoint());
  if (!link && overLink) viewport()->setCursor(Qt::IBeamCursor);
  overLink = link;
  QTextEdit::mouseMoveEvent(event);
}

void Window::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) LinkEvent(TRichLinkEvent::LButtonDown, event->position().toPoint());
  QTextEdit::mousePressEvent(event);
}

void Window::mouseReleaseEvent(QMouseEvent* event) {
  QTextEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) LinkEvent(TRichLinkEvent::LButtonUp, event->position().toPoint());
}

void Window::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) LinkEvent(TRichLinkEvent::LButtonDblClk, event->position().toPoint());
  QTextEdit::mouseDoubleClickEvent(event);
}

void Window::paintEvent(QPaintEvent* event) {
  if (d && !d->redraw) return;
  if (d && d->Attached()) {
    // Paragraphs coming into view get their real heights in place of estimates; the view
    // follows the text at its top, so that it does not jump.
    QScrollBar* bar = verticalScrollBar();
    const double height = d->layout->documentSize().height();
    const long shift = std::lround(d->layout->Prepare(bar->value(), bar->value() + viewport()->height()));
    if (shift != 0) {
      const QSignalBlocker quiet(bar);
      bar->setValue(bar->value() + int(shift));
    }
    // Text that moved is drawn again beyond the part this paint covers.
    if (shift != 0 || d->layout->documentSize().height() != height) viewport()->update();
  }
  QTextEdit::paintEvent(event);
}

bool Window::LongLineKey(QKeyEvent* event) {
  QTextCursor c = textCursor();
  const int pos = c.position();
  if (!d->layout->InPieces(pos) || (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) return false;
  const QTextDocument* doc = document();
  const bool select = event->modifiers() & Qt::ShiftModifier;
  // One character on, a surrogate pair as one.
  auto step = [&](int from, int by) {
    const int to = std::clamp(from + by, 0, d->Length());
    const bool splits = doc->characterAt(std::min(from, to)).isHighSurrogate() &&
                        doc->characterAt(std::max(from, to)).isLowSurrogate();
    return splits ? std::clamp(to + by, 0, d->Length()) : to;
  };
  const QRectF caret = d->layout->CaretRect(pos);
  auto vertical = [&](double dy) {
    if (goalX < 0) goalX = caret.left();
    const double y = dy < 0 ? caret.top() + dy : caret.bottom() + dy;
    return d->layout->hitTest(QPointF(goalX, y), Qt::FuzzyHit);
  };
  const int page = viewport()->height();
  int to = -1;
  const int key = event->key();
  const bool upDown = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
  switch (key) {
    case Qt::Key_Left: to = c.hasSelection() && !select ? c.selectionStart() : step(pos, -1); break;
    case Qt::Key_Right: to = c.hasSelection() && !select ? c.selectionEnd() : step(pos, +1); break;
    case Qt::Key_Home: to = d->layout->LineSpan(pos).first; break;
    case Qt::Key_End: to = d->layout->LineSpan(pos).second; break;
    case Qt::Key_Up: to = vertical(-1); break;
    case Qt::Key_Down: to = vertical(1); break;
    case Qt::Key_PageUp:
      to = vertical(-page);
      verticalScrollBar()->setValue(verticalScrollBar()->value() - page);
      break;
    case Qt::Key_PageDown:
      to = vertical(page);
      verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
      break;
    case Qt::Key_Delete:
      if (select || d->readOnly) return false;
      if (!c.hasSelection()) {
        if (!d->AllowEdit(pos, step(pos, +1))) return true;
        c.setPosition(step(pos, +1), QTextCursor::KeepAnchor);
      } else if (!d->AllowEdit(c.selectionStart(), c.selectionEnd())) {
        return true;
      }
      c.removeSelectedText();
      setTextCursor(c);
      goalX = -1;
      return true;
    default: return false;
  }
  if (!upDown) goalX = -1;
  if (to < 0) return true;
  c.setPosition(to, select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
  setTextCursor(c);
  return true;
}

}  // namespace rich_edit

// --- RichEditControl ----------------------------------------------------------------------------

RichEditControl::RichEditControl() {
  EnsureGuiApplication();
  d = std::make_unique<Impl>(*this);
}
RichEditControl::~RichEditControl() = default;

QWidget* RichEditControl::Widget(QWidget* parent) { return d->MakeWindow(parent); }
bool RichEditControl::HasWidget() const { return d->window; }

int RichEditControl::TextLength() const { return d->Length(); }

std::pair<int, int> RichEditControl::LastChange() const { return {d->changeStart, d->changeEnd}; }

std::u16string RichEditControl::Text() const { return FromQt(d->doc.toRawText()); }

std::u16string RichEditControl::TextRange(int start, int end) const {
  // Read from the text itself: placing a cursor in a long paragraph has Qt copy and analyse
  // the whole paragraph.
  const int length = d->Length();
  start = std::clamp(start, 0, length);
  end = end < 0 ? length : std::clamp(end, 0, length);
  if (start > end) std::swap(start, end);
  QString text;
  text.reserve(end - start);
  for (QTextBlock b = d->doc.findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
    const int from = std::max(start, b.position()), to = std::min(end, b.position() + b.length() - 1);
    if (b.length() > 2 * (to - from) + 4096) {
      // A small part of a long paragraph is not read by walking the paragraph's pieces from
      // its start (after many edits a long paragraph has a great many). Inside an undo step
      // Qt leaves a cursor's place on its line unknown, so a cursor reads the part at once;
      // elsewhere placing one would analyse the whole paragraph: the part is read by position.
      if (d->undoStepDepth > 0) {
        QTextCursor c(&d->doc);
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        text += c.selectedText();
      } else {
        for (int i = from; i < to; ++i) text += d->doc.characterAt(i);
      }
    } else {
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        const int a = std::max(start, fr.position()), z = std::min(end, fr.position() + fr.length());
        if (a >= z) continue;
        if (fr.length() > 2 * (z - a) + 4096) {  // only a small part of a long fragment
          for (int i = a; i < z; ++i) text += d->doc.characterAt(i);
        } else {
          text += fr.text().mid(a - fr.position(), z - a);
        }
      }
    }
    const int mark = b.position() + b.length() - 1;
    if (mark >= start && mark < end) text += QChar::ParagraphSeparator;
  }
  return FromQt(text);
}

void RichEditControl::SetText(std::u16string_view text) {
  const bool hadText = d->Length() > 0;
  d->WithoutUndo([&] {
    d->objects.clear();
    d->quiet = true;  // one change notification for the whole replacement
    d->doc.clear();
    QTextCursor c(&d->doc);
    const QTextCharFormat format = d->QtFormat(d->defaultFormat);
    c.setBlockCharFormat(format);
    d->quiet = false;
    d->Insert(c, text, format);
  });
  if (text.empty() && hadText) d->OnContentsChange(0, 1, 0);
  d->modified = true;
  d->SetCursor(QTextCursor(&d->doc));
}

void RichEditControl::LoadText(const std::function<bool(std::u16string& piece)>& next) {
  const bool hadText = d->Length() > 0, redraw = d->redraw;
  SetRedraw(false);
  if (d->window) d->window->setReadOnly(true);
  d->objects.clear();
  d->doc.setUndoRedoEnabled(false);
  d->lockedUndoSteps = 0;
  d->quiet = true;  // one change notice for the whole text
  auto finish = [&] {
    d->quiet = false;
    d->doc.setUndoRedoEnabled(d->undoLimit > 0);
    if (d->window) d->window->setReadOnly(d->readOnly);
    SetRedraw(redraw);
  };
  try {
    d->doc.clear();
    QTextCursor c(&d->doc);
    const QTextCharFormat format = d->QtFormat(d->defaultFormat);
    c.setBlockCharFormat(format);
    // One edit: after each piece outside one the cursor would look over the whole paragraph
    // it grew (Qt finds its caret's line in the paragraph's text, copied whole).
    c.beginEditBlock();
    const struct EndEdit {
      QTextCursor& c;
      ~EndEdit() { c.endEditBlock(); }
    } endEdit{c};
    std::u16string piece;
    while (next(piece)) {
      d->Insert(c, piece, format);
      piece.clear();
    }
  } catch (...) {
    d->doc.clear();
    d->detachedCursor = QTextCursor(&d->doc);
    d->newText = true;
    finish();
    d->modified = true;
    d->SetCursor(QTextCursor(&d->doc));
    throw;
  }
  // The caret goes to the start before the window shows the text: a caret at the end would
  // have the window lay out the whole text at once to show it.
  d->detachedCursor = QTextCursor(&d->doc);
  d->newText = true;
  finish();
  if (d->Length() > 0) d->OnContentsChange(0, 0, d->Length());
  else if (hadText) d->OnContentsChange(0, 1, 0);
  d->modified = true;
  d->SetCursor(QTextCursor(&d->doc));
}

int RichEditControl::SelStart() const { return d->Cursor().selectionStart(); }
int RichEditControl::SelEnd() const { return d->Cursor().selectionEnd(); }

void RichEditControl::SetSel(int start, int end) {
  if (start < 0) {
    QTextCursor c = d->Cursor();
    c.clearSelection();
    d->SetCursor(c);
    return;
  }
  d->SetCursor(d->Range(start, end));
}

std::u16string RichEditControl::SelText() const { return FromQt(d->Cursor().selectedText()); }

void RichEditControl::ReplaceSel(std::u16string_view text, bool canUndo) {
  QTextCursor c = d->Cursor();
  const QTextCharFormat format = d->InsertFormat(c);
  auto edit = [&] {
    c.beginEditBlock();
    d->Insert(c, text, format);
    c.endEditBlock();
  };
  if (canUndo) edit(); else d->WithoutUndo(edit);
  d->SetCursor(c);
}

int RichEditControl::SelectionType() const {
  const QTextCursor c = d->Cursor();
  if (!c.hasSelection()) return SEL_EMPTY;
  const QString text = c.selectedText();
  const int objects = int(text.count(QChar::ObjectReplacementCharacter));
  const int chars = int(text.size()) - objects;
  int type = 0;
  if (chars > 0) type |= SEL_TEXT | (chars > 1 ? SEL_MULTICHAR : 0);
  if (objects > 0) type |= SEL_OBJECT | (objects > 1 ? SEL_MULTIOBJECT : 0);
  return type;
}

void RichEditControl::HideSelection(bool hide) {
  d->selectionHidden = hide;
  d->ShowSelection();
}

bool RichEditControl::SelectionHidden() const { return d->selectionHidden; }

void RichEditControl::ScrollCaret() {
  // A hidden window has no layout yet: it scrolls when it shows.
  if (d->Attached())
    d->window->ensureCursorVisible();
  else
    d->scrollOnAttach = true;
}

int RichEditControl::LineCount() const { return d->doc.blockCount(); }

int RichEditControl::LineIndex(int line) const {
  const QTextBlock b = line < 0 ? d->Cursor().block() : d->doc.findBlockByNumber(line);
  return b.isValid() ? b.position() : -1;
}

int RichEditControl::LineFromChar(int pos) const {
  if (pos < 0) return d->Cursor().blockNumber();
  return d->doc.findBlock(std::min(pos, d->Length())).blockNumber();
}

int RichEditControl::LineLength(int pos) const {
  const QTextBlock b = pos < 0 ? d->Cursor().block() : d->doc.findBlock(std::min(pos, d->Length()));
  return b.isValid() ? b.length() - 1 : 0;
}

std::u16string RichEditControl::Line(int line) const {
  const QTextBlock b = d->doc.findBlockByNumber(line);
  return b.isValid() ? FromQt(b.text()) : std::u16string();
}

int RichEditControl::FirstVisibleLine() const {
  if (!d->Attached()) return 0;
  return std::max(0, d->layout->ParagraphAt(d->window->verticalScrollBar()->value()));
}

bool RichEditControl::ScrollLines(int delta) {
  if (!d->Attached()) return false;
  QScrollBar* bar = d->window->verticalScrollBar();
  const int before = bar->value();
  // Stops at either end of the text, however many lines were asked for.
  for (int64_t i = 0; i < std::abs(int64_t(delta)); ++i) {
    const int value = bar->value();
    bar->triggerAction(delta < 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    if (bar->value() == value) break;
  }
  return bar->value() != before;
}

std::pair<int, int> RichEditControl::PosFromChar(int pos) const {
  if (!d->Attached()) return {0, 0};
  const QRect r = d->CaretRect(std::clamp(pos, 0, d->Length()));
  return {r.left(), r.top()};
}

int RichEditControl::CharFromPos(int x, int y) const {
  if (!d->Attached()) return 0;
  return d->window->cursorForPosition(QPoint(x, y)).position();
}

// --- Formats -----------------------------------------------------------------------------------

TCharFormat RichEditControl::SelCharFormat(uint32_t* consistent) const {
  const QTextCursor c = d->Cursor();
  if (!c.hasSelection()) {
    if (consistent) *consistent = CFM_ALL2;
    return d->Format(d->InsertFormat(c));
  }
  const int start = c.selectionStart(), end = c.selectionEnd();
  std::optional<TCharFormat> first;
  uint32_t differ = 0;
  for (QTextBlock b = d->doc.findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (fr.position() + fr.length() <= start || fr.position() >= end) continue;
      const TCharFormat f = d->Format(fr.charFormat());
      if (!first) first = f;
      else differ |= rich_edit::CharFormatDifference(*first, f);
    }
    if (!consistent && first) break;
  }
  if (!first) first = d->Format(d->InsertFormat(c));
  if (consistent) *consistent = CFM_ALL2 & ~differ;
  return *first;
}

TCharFormat RichEditControl::DefaultCharFormat() const { return d->defaultFormat; }

void RichEditControl::SetCharFormat(const TCharFormat& format, uint32_t mask, TRichFormatTarget target) {
  QTextCharFormat change;
  rich_edit::ApplyCharFormat(change, format, mask);
  QTextCursor c = d->Cursor();
  if (target == TRichFormatTarget::Default) {
    QTextCharFormat old = d->QtFormat(d->defaultFormat);
    old.merge(change);
    d->defaultFormat = rich_edit::ReadCharFormat(old, d->defaultFormat);
    QFont font = d->doc.defaultFont();
    if (mask & CFM_FACE) font.setFamilies({QString::fromStdU16String(d->defaultFormat.FaceName)});
    if (mask & CFM_SIZE) font.setPointSizeF(d->defaultFormat.Size / 20.0);
    d->doc.setDefaultFont(font);
    if (!d->plainText && d->Length() > 0) return;
    c = d->Range(0, -1);  // an empty or plain text takes the default everywhere
  } else if (target == TRichFormatTarget::All || d->plainText) {
    c = d->Range(0, -1);
  } else if (!c.hasSelection() && target == TRichFormatTarget::Word) {
    QTextCursor word = c;
    word.select(QTextCursor::WordUnderCursor);
    if (word.hasSelection()) c = word;
  }
  if (!c.hasSelection()) {
    // Nothing selected: the format of the next typed text.
    QTextCharFormat typing = d->InsertFormat(c);
    typing.merge(change);
    rich_edit::ShowOffset(typing);
    d->typingFormat = typing;
    d->typingFormatSet = true;
    if (d->Attached()) d->window->setCurrentCharFormat(typing);
    if (d->Length() == 0) {
      d->quiet = true;
      c.setBlockCharFormat(typing);
      d->quiet = false;
    }
    return;
  }
  d->quiet = true;
  c.mergeCharFormat(change);
  if (mask & (CFM_OFFSET | CFM_SIZE)) {
    // The offset is shown as a share of the font size: each piece of text gets its own, in
    // the change's undo step.
    std::vector<FormatPiece> pieces;
    ForEachFormatRun(d->doc, c.selectionStart(), c.selectionEnd(), d->undoStepDepth > 0, [&](int a, int z, QTextCharFormat f) {
      rich_edit::ShowOffset(f);
      AddPiece(pieces, a, z, f);
    });
    ApplyPieces(d->doc, pieces, false);
  }
  d->quiet = false;
  d->modified = true;
}

TCharFormat RichEditControl::CharFormatAt(int pos) const {
  QTextCursor probe(&d->doc);
  probe.setPosition(std::clamp(pos + 1, 0, d->Length()));
  return d->Format(probe.charFormat());
}

std::vector<std::pair<int, int>> RichEditControl::AutoLinkRanges(int start, int end) const {
  std::vector<std::pair<int, int>> ranges;
  ForEachFormatRun(d->doc, start, end, d->undoStepDepth > 0, [&](int a, int z, const QTextCharFormat& f) {
    if (!rich_edit::IsAutoLink(f)) return;
    if (!ranges.empty() && ranges.back().second == a) ranges.back().second = z;
    else ranges.emplace_back(a, z);
  });
  return ranges;
}

void RichEditControl::MarkRange(int start, int end, const TCharFormat& format, uint32_t mask) {
  QTextCharFormat change;
  rich_edit::ApplyCharFormat(change, format, mask);
  QTextCursor c = d->Range(start, end);
  if (!c.hasSelection()) return;
  // Link marking is display only: each piece of differently formatted text records its own
  // format before the marking.
  std::vector<FormatPiece> pieces;
  if ((mask & CFM_LINK) && format.Link) {
    const auto record = [&](int a, int z, const QTextCharFormat& f) {
      QTextCharFormat marking = change;
      rich_edit::MarkAutoLink(marking, f, d->defaultFormat);
      AddPiece(pieces, a, z, marking);
    };
    ForEachFormatRun(d->doc, c.selectionStart(), c.selectionEnd(), d->undoStepDepth > 0, record);
  } else {
    pieces.push_back({c.selectionStart(), c.selectionEnd(), change});
  }
  d->quiet = true;
  ApplyPieces(d->doc, pieces, true);
  d->quiet = false;
}

void RichEditControl::UnmarkLinks(int start, int end) {
  std::vector<FormatPiece> pieces;
  ForEachFormatRun(d->doc, start, end, d->undoStepDepth > 0, [&](int a, int z, const QTextCharFormat& f) {
    if (!rich_edit::IsAutoLink(f)) return;
    QTextCharFormat change;
    rich_edit::ApplyCharFormat(change, rich_edit::StoredCharFormat(f, d->defaultFormat),
                               CFM_LINK | CFM_COLOR | CFM_UNDERLINETYPE);
    AddPiece(pieces, a, z, change);
  });
  d->quiet = true;
  ApplyPieces(d->doc, pieces, true);
  d->quiet = false;
}

TParaFormat RichEditControl::SelParaFormat(uint32_t* consistent) const {
  const QTextCursor c = d->Cursor();
  const TParaFormat first = rich_edit::ReadParaFormat(c.document()->findBlock(c.selectionStart()).blockFormat());
  if (consistent) {
    uint32_t differ = 0;
    const QTextBlock last = d->doc.findBlock(c.selectionEnd());
    for (QTextBlock b = d->doc.findBlock(c.selectionStart()).next(); b.isValid() && b.blockNumber() <= last.blockNumber(); b = b.next())
      differ |= rich_edit::ParaFormatDifference(first, rich_edit::ReadParaFormat(b.blockFormat()));
    *consistent = PFM_ALL2 & ~differ;
  }
  return first;
}

void RichEditControl::SetParaFormat(const TParaFormat& format, uint32_t mask) {
  const QTextCursor c = d->Cursor();
  const QTextBlock last = d->doc.findBlock(c.selectionEnd());
  QTextCursor edit(&d->doc);
  edit.beginEditBlock();
  d->quiet = true;
  for (QTextBlock b = d->doc.findBlock(c.selectionStart()); b.isValid() && b.blockNumber() <= last.blockNumber(); b = b.next()) {
    TParaFormat f = rich_edit::ReadParaFormat(b.blockFormat());
    // The rich edit control's indents: the first line's start, and the other lines' offset.
    int start = f.LeftIndent + f.FirstIndent, offset = -f.FirstIndent;
    if (mask & PFM_STARTINDENT) start = format.LeftIndent + format.FirstIndent;
    if (mask & PFM_OFFSETINDENT) start = std::max(0, start + format.LeftIndent + format.FirstIndent);
    if (mask & PFM_OFFSET) offset = -format.FirstIndent;
    f.LeftIndent = start + offset;
    f.FirstIndent = -offset;
    uint32_t apply = mask & ~(PFM_STARTINDENT | PFM_OFFSET | PFM_OFFSETINDENT);
    if (mask & (PFM_STARTINDENT | PFM_OFFSET | PFM_OFFSETINDENT)) apply |= PFM_STARTINDENT | PFM_OFFSET;
    const TParaFormat& source = format;
    if (apply & PFM_ALIGNMENT) f.Alignment = source.Alignment;
    if (apply & PFM_RIGHTINDENT) f.RightIndent = source.RightIndent;
    if (apply & PFM_SPACEBEFORE) f.SpaceBefore = source.SpaceBefore;
    if (apply & PFM_SPACEAFTER) f.SpaceAfter = source.SpaceAfter;
    if (apply & PFM_LINESPACING) { f.LineSpacingRule = source.LineSpacingRule; f.LineSpacing = source.LineSpacing; }
    if (apply & PFM_TABSTOPS) f.Tabs = source.Tabs;
    if (apply & PFM_NUMBERING) f.Numbering = source.Numbering;
    if (apply & PFM_NUMBERINGSTART) f.NumberingStart = source.NumberingStart;
    if (apply & PFM_NUMBERINGSTYLE) f.NumberingStyle = source.NumberingStyle;
    if (apply & PFM_NUMBERINGTAB) f.NumberingTab = source.NumberingTab;
    if (apply & PFM_PAGEBREAKBEFORE) f.PageBreakBefore = source.PageBreakBefore;
    QTextBlockFormat bf = b.blockFormat();
    rich_edit::ApplyParaFormat(bf, f, apply);
    edit.setPosition(b.position());
    edit.setBlockFormat(bf);
  }
  if (mask & (PFM_NUMBERING | PFM_NUMBERINGSTYLE))
    rich_edit::ShowNumbering(d->doc, d->doc.findBlock(c.selectionStart()).blockNumber(), last.blockNumber());
  d->quiet = false;
  edit.endEditBlock();
  d->modified = true;
}

// --- Undo --------------------------------------------------------------------------------------

void RichEditControl::SetUndoLimit(int limit) {
  d->undoLimit = std::max(0, limit);
  d->doc.setUndoRedoEnabled(d->undoLimit > 0);
  if (d->undoLimit == 0) d->lockedUndoSteps = 0;  // the stack is empty
  else d->lockedUndoSteps = std::max(d->lockedUndoSteps, d->doc.availableUndoSteps() - d->undoLimit);
}

int RichEditControl::UndoLimit() const { return d->undoLimit; }
bool RichEditControl::CanUndo() const { return d->doc.availableUndoSteps() > d->lockedUndoSteps; }
bool RichEditControl::CanRedo() const { return d->doc.isRedoAvailable(); }

void RichEditControl::Undo() {
  if (!CanUndo()) return;
  QTextCursor c = d->Cursor();
  d->doc.undo(&c);
  d->SetCursor(c);
}

void RichEditControl::Redo() {
  QTextCursor c = d->Cursor();
  d->doc.redo(&c);
  d->SetCursor(c);
}

void RichEditControl::EmptyUndoBuffer() {
  d->doc.clearUndoRedoStacks();
  d->lockedUndoSteps = 0;
}

void RichEditControl::BeginUndoStep() {
  if (d->undoStepDepth++ > 0) return;
  d->undoStepsBefore = d->doc.availableUndoSteps();
  d->undoStepCursor = QTextCursor(&d->doc);
  d->undoStepCursor.beginEditBlock();
}

void RichEditControl::EndUndoStep() {
  if (d->undoStepDepth == 0 || --d->undoStepDepth > 0) return;
  d->undoStepCursor.endEditBlock();
  d->undoStepCursor = QTextCursor();
}

void RichEditControl::ShowUndoStep() {
  if (d->undoStepDepth == 0) return;
  // Qt tells of the changes when the edit block ends; the step then goes on in a block joined
  // to it, unless it has made no undo step yet (the block would join the one before).
  d->undoStepCursor.endEditBlock();
  if (d->doc.availableUndoSteps() > d->undoStepsBefore) d->undoStepCursor.joinPreviousEditBlock();
  else d->undoStepCursor.beginEditBlock();
}

bool RichEditControl::Modified() const { return d->modified; }
void RichEditControl::SetModified(bool modified) { d->modified = modified; }

// --- Find --------------------------------------------------------------------------------------

int RichEditControl::FindText(std::u16string_view what, int start, int end, unsigned flags) const {
  const int length = d->Length();
  if (what.empty()) return -1;
  const bool down = flags & FR_DOWN;
  start = std::clamp(start, 0, length);
  if (end < 0) end = down ? length : 0;
  end = std::clamp(end, 0, length);
  const int from = down ? start : end, to = down ? end : start;
  if (from > to) return -1;
  // One character on each side for the whole-word test.
  const int contextFrom = std::max(0, from - 1), contextTo = std::min(length, to + 1);
  const int at = FindInText(TextRange(contextFrom, contextTo), what, from - contextFrom, to - contextFrom, flags);
  return at < 0 ? -1 : at + contextFrom;
}

int RichEditControl::FindInText(std::u16string_view text, std::u16string_view what, int first, int last,
                                unsigned flags) {
  const int n = int(what.size());
  if (n == 0) return -1;
  first = std::max(first, 0);
  last = std::min(last, int(text.size())) - n;
  const bool matchCase = flags & FR_MATCHCASE;
  std::u16string pattern(what);
  if (!matchCase) for (char16_t& c : pattern) c = Fold(c);
  auto matchesAt = [&](int i) {
    for (int k = 0; k < n; ++k) {
      const char16_t c = matchCase ? text[size_t(i + k)] : Fold(text[size_t(i + k)]);
      if (c != pattern[size_t(k)]) return false;
    }
    if (flags & FR_WHOLEWORD) {
      if (i > 0 && IsWordChar(text[size_t(i - 1)]) && IsWordChar(text[size_t(i)])) return false;
      const size_t after = size_t(i + n);
      if (after < text.size() && IsWordChar(text[after]) && IsWordChar(text[after - 1])) return false;
    }
    return true;
  };
  if (flags & FR_DOWN) {
    for (int i = first; i <= last; ++i)
      if (matchesAt(i)) return i;
  } else {
    for (int i = last; i >= first; --i)
      if (matchesAt(i)) return i;
  }
  return -1;
}

// --- Clipboard ---------------------------------------------------------------------------------

void RichEditControl::Copy() {
  const QTextCursor c = d->Cursor();
  if (!c.hasSelection()) return;
  QMimeData* data = d->SelectionMime();
  d->copiedObjects = 0;
  for (int i = 0, n = ObjectCount(); i < n; ++i) {
    const int position = ObjectPosition(i);
    if (position >= c.selectionStart() && position < c.selectionEnd()) ++d->copiedObjects;
  }
  d->copiedCharacters = c.selectionEnd() - c.selectionStart() - d->copiedObjects;
  QApplication::clipboard()->setMimeData(data);
  d->copied = data;
}

bool RichEditControl::OwnsClipboard(int& objects, int& characters) const {
  if (!d->copied || QApplication::clipboard()->mimeData() != d->copied.data()) return false;
  objects = d->copiedObjects;
  characters = d->copiedCharacters;
  return true;
}

void RichEditControl::ReleaseClipboard() {
  int objects = 0, characters = 0;
  if (OwnsClipboard(objects, characters)) QApplication::clipboard()->clear();
}

void RichEditControl::Cut() {
  const QTextCursor c = d->Cursor();
  if (!c.hasSelection() || !d->AllowEdit(c.selectionStart(), c.selectionEnd())) return;
  Copy();
  ClearSelection();
}

void RichEditControl::Paste() {
  if (d->readOnly) return;
  if (OnPaste && !OnPaste()) return;
  const QTextCursor c = d->Cursor();
  if (!d->AllowEdit(c.selectionStart(), c.selectionEnd())) return;
  if (const QMimeData* data = QApplication::clipboard()->mimeData()) d->InsertMime(data);
}

namespace {

// What the clipboard offers a paste, asked of the system once after each change of its content
// (the program's own copies among them): every question costs round trips to the X server, and
// whether it holds a picture a look through the image readers. Asked at every idle turn.
struct PasteableContent {
  bool text = false, picture = false;
};

const PasteableContent& Pasteable() {
  static QPointer<QClipboard> watched;
  static std::optional<PasteableContent> known;
  QClipboard* clipboard = QApplication::clipboard();
  if (watched != clipboard) {  // the first time, or a new application object
    watched = clipboard;
    known.reset();
    QObject::connect(clipboard, &QClipboard::dataChanged, [] { known.reset(); });
    // Where the window system does not tell of other programs' copies, coming back to the
    // program finds them.
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, clipboard, [] { known.reset(); });
  }
  if (!known) {
    const QMimeData* data = clipboard->mimeData();
    known = PasteableContent{data && (data->hasText() || data->hasFormat(rich_edit::RtfMimeType)),
                             data && data->hasImage()};
  }
  return *known;
}

}  // namespace

bool RichEditControl::CanPaste() const {
  const PasteableContent& content = Pasteable();
  return !d->readOnly && (content.text || (content.picture && d->allowObjects && !d->plainText));
}

bool RichEditControl::AllowObjects() const { return d->allowObjects; }
void RichEditControl::SetAllowObjects(bool allow) { d->allowObjects = allow; }

void RichEditControl::ClearSelection() { ReplaceSel(u"", true); }

// --- Window ------------------------------------------------------------------------------------

bool RichEditControl::ReadOnly() const { return d->readOnly; }

void RichEditControl::SetReadOnly(bool readOnly) {
  d->readOnly = readOnly;
  if (d->window) d->window->setReadOnly(readOnly);
}

void RichEditControl::SetWordWrap(bool wrap) {
  d->wordWrap = wrap;
  if (d->window) d->window->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

bool RichEditControl::PlainText() const { return d->plainText; }
void RichEditControl::SetPlainText(bool plain) { d->plainText = plain; }
void RichEditControl::SetMaxLength(int length) { d->maxLength = std::max(0, length); }
int RichEditControl::MaxLength() const { return d->maxLength; }

void RichEditControl::SetRedraw(bool redraw) {
  d->redraw = redraw;
  d->UpdateAttachment();
  if (redraw && d->window) d->window->viewport()->update();
}

void RichEditControl::SetMouseCursor(int cursor) {
  if (d->window) d->window->viewport()->setCursor(CursorShape(cursor));
}

void RichEditControl::SetSelectionBar(bool on) {
  d->selectionBar = on;
  if (d->window) d->window->SetSelectionBar(on);
}
