// Private to the rich edit control: its state over a QTextDocument and its window, a QTextEdit.
#pragma once

#include <QMimeData>
#include <QPalette>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <map>
#include <memory>

#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"

class QMimeData;

namespace rich_edit {

class DocumentLayout;

// The control's window.
class Window : public QTextEdit {
public:
  Window(QTextDocument* document, RichEditControl::Impl* owner, QWidget* parent);
  // Hands the selection back to the control.
  ~Window() override;
  void Detach() { d = nullptr; }
  // A margin at the left where a click selects whole lines.
  void SetSelectionBar(bool on) { setViewportMargins(on ? 8 : 0, 0, 0, 0); }

protected:
  // Clicks in the selection bar (outside the viewport) select lines.
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;
  void dropEvent(QDropEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // The control has no menu of its own (the program's popup menu is the control's business).
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  // Moves and deletions by key in a paragraph laid out in pieces; false for other keys.
  bool LongLineKey(QKeyEvent* event);
  // Typed text in a paragraph laid out in pieces, put in without Qt's typing: Qt's would analyse
  // the whole paragraph at every key (for the cursor's column and its rectangle).
  void TypeInPieces(const QString& text);

  // Reports a mouse event on link text; true when the point lies on a link.
  bool LinkEvent(TRichLinkEvent kind, const QPoint& point);

  // Selects the lines from the one at the bar's point `anchorY` to the one at `y` (viewport
  // rows); whole paragraphs when `paragraphs`.
  void SelectLines(int anchorY, int y, bool paragraphs);

  RichEditControl::Impl* d;
  int barAnchorY = -1;                 // where a press in the selection bar started
  bool dropping = false;
  bool overLink = false;
  double goalX = -1;                   // where moves up and down in a long paragraph aim
  // Where the latest text typed in a long paragraph ended, the document's length and undo steps
  // then: the next key typed there joins its undo step.
  struct {
    int end = -1, length = -1, undoSteps = -1;
  } typed;
};

// The clipboard format of RTF.
inline constexpr char RtfMimeType[] = "text/rtf";

// Positions in the text: the QTextDocument's own, whose block separator is our '\r'.
QString ToQt(std::u16string_view text);     // '\v' becomes Qt's line separator
std::u16string FromQt(const QString& text);  // paragraph and line separators back

}  // namespace rich_edit

struct RichEditControl::Impl {
  explicit Impl(RichEditControl& owner);
  ~Impl();

  RichEditControl& q;
  QTextDocument doc;
  QPointer<rich_edit::Window> window;
  // The window lays the text out at every change, which costs as much as the text is long;
  // while it is hidden or redrawing is off it shows an empty placeholder instead and the
  // selection is kept here (as it is when there is no window).
  QTextDocument placeholder;
  bool attached = false;
  bool attaching = false;
  bool scrollOnAttach = false;  // a ScrollCaret asked while the window was hidden
  bool newText = false;               // the whole text was replaced: shown from its start
  struct View {
    int x = 0, topLine = 0, offset = 0;  // scroll offset, first paragraph in view and how far down it
  } view;                                // where the window showed the text when it let go of it
  rich_edit::DocumentLayout* layout = nullptr;  // the window's layout while it shows the text
  QTextCursor detachedCursor;
  TCharFormat defaultFormat;
  QTextCharFormat typingFormat;       // format for the next typed text (set on an empty selection)
  bool typingFormatSet = false;
  std::map<int, TRichObject> objects;  // object number -> object, for every object ever placed
  int nextObjectId = 1;
  int undoLimit = 100;
  // Steps at the bottom of Qt's undo stack that lie beyond the limit: Qt keeps every step, so
  // the oldest ones are only held back from being undone.
  int lockedUndoSteps = 0;
  // An open undo step (BeginUndoStep): its nesting depth, the cursor holding its edit block
  // open, and the undo steps there were when it began.
  int undoStepDepth = 0;
  QTextCursor undoStepCursor;
  int undoStepsBefore = 0;
  bool modified = false;
  bool quiet = false;                 // no change notification (format changes, clearing)
  bool plainText = false;
  bool allowObjects = true;
  bool readOnly = false;
  bool selectionHidden = false;
  bool redraw = true;
  int maxLength = 0;
  int lastSelStart = 0, lastSelEnd = 0;
  int changeStart = 0, changeEnd = 0;  // the latest change's new text
  QPointer<QMimeData> copied;          // the latest copy put on the clipboard, and its contents
  int copiedObjects = 0, copiedCharacters = 0;
  bool wordWrap = true;
  bool selectionBar = false;

  rich_edit::Window* MakeWindow(QWidget* parent = nullptr);
  // Shows the text in the window when it is visible and redrawn, else the placeholder.
  void UpdateAttachment();
  // Hands the text's selection over from the window and shows the placeholder.
  void Detach();
  bool Attached() const { return window && attached; }
  int Length() const { return doc.characterCount() - 1; }
  QTextCursor Cursor() const;
  void SetCursor(const QTextCursor& cursor);
  QTextCursor Range(int start, int end) const;
  QTextCharFormat QtFormat(const TCharFormat& format) const;
  TCharFormat Format(const QTextCharFormat& format) const;
  // The format inserted text takes at `cursor`: that of the first selected character, else
  // of the character before the caret.
  QTextCharFormat InsertFormat(const QTextCursor& cursor) const;
  void Insert(QTextCursor& cursor, std::u16string_view text, const QTextCharFormat& format);
  // Runs an edit without undo records (the buffer is emptied, as the system control does).
  template <class F> void WithoutUndo(F edit) {
    doc.setUndoRedoEnabled(false);
    lockedUndoSteps = 0;
    edit();
    doc.setUndoRedoEnabled(undoLimit > 0);
  }
  void NotifySelection();
  void OnContentsChange(int position, int removed, int added);
  // Repaints the window after the caret or selection moved in or out of a long paragraph.
  void RepaintMoves();
  bool movedInPieces = false;
  // The caret's rectangle at `position` in the window (attached only).
  QRect CaretRect(int position) const;
  // User edits: protection check and paste.
  bool AllowEdit(int start, int end);
  void InsertMime(const QMimeData* data);
  // Puts plain text in place of the selection, in the format of its start.
  void InsertPlain(std::u16string_view text);
  // The picture of clipboard data as an object; false when it holds none.
  static bool PictureObject(const QMimeData* data, TRichObject& object);
  // The selection as clipboard data: RTF and plain text.
  QMimeData* SelectionMime() const;
  bool LinkRange(int position, int& start, int& end) const;
  void ShowSelection();
  void InsertObjectAt(QTextCursor& cursor, const TRichObject& object, const QTextCharFormat& format);
};
