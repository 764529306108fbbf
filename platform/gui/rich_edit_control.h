// The rich edit control: the window that holds formatted UTF-16 text, as the system's rich edit
// control offers it to the program. Positions count UTF-16 units: a paragraph end is one '\r',
// a soft line break one '\v' and an embedded object one U+FFFC, in the text and in every
// position. "Lines" are paragraphs. Formats are the document model's (platform/rich_text.h)
// with a mask of the fields that count (CFM_ and PFM_ bits).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QWidget;
struct TCharFormat;
struct TParaFormat;
struct TRichDocument;
struct TRichObject;
struct TRichParagraph;

// Character-format mask bits: which fields of a TCharFormat a call reads or writes.
inline constexpr uint32_t CFM_BOLD = 0x1, CFM_ITALIC = 0x2, CFM_UNDERLINE = 0x4,
    CFM_STRIKEOUT = 0x8, CFM_PROTECTED = 0x10, CFM_LINK = 0x20, CFM_SMALLCAPS = 0x40,
    CFM_ALLCAPS = 0x80, CFM_HIDDEN = 0x100, CFM_OUTLINE = 0x200, CFM_SHADOW = 0x400,
    CFM_EMBOSS = 0x800, CFM_IMPRINT = 0x1000, CFM_SUBSCRIPT = 0x30000, CFM_ANIMATION = 0x40000,
    CFM_KERNING = 0x100000, CFM_SPACING = 0x200000, CFM_WEIGHT = 0x400000,
    CFM_UNDERLINETYPE = 0x800000, CFM_LCID = 0x2000000, CFM_BACKCOLOR = 0x4000000,
    CFM_CHARSET = 0x8000000, CFM_OFFSET = 0x10000000, CFM_FACE = 0x20000000,
    CFM_COLOR = 0x40000000, CFM_SIZE = 0x80000000u;
inline constexpr uint32_t CFM_ALL2 = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
    CFM_PROTECTED | CFM_LINK | CFM_SMALLCAPS | CFM_ALLCAPS | CFM_HIDDEN | CFM_OUTLINE |
    CFM_SHADOW | CFM_EMBOSS | CFM_IMPRINT | CFM_SUBSCRIPT | CFM_ANIMATION | CFM_KERNING |
    CFM_SPACING | CFM_WEIGHT | CFM_UNDERLINETYPE | CFM_LCID | CFM_BACKCOLOR | CFM_CHARSET |
    CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE;  // every field

// Paragraph-format mask bits.
inline constexpr uint32_t PFM_STARTINDENT = 0x1, PFM_RIGHTINDENT = 0x2, PFM_OFFSET = 0x4,
    PFM_ALIGNMENT = 0x8, PFM_TABSTOPS = 0x10, PFM_NUMBERING = 0x20, PFM_SPACEBEFORE = 0x40,
    PFM_SPACEAFTER = 0x80, PFM_LINESPACING = 0x100, PFM_PAGEBREAKBEFORE = 0x400000,
    PFM_NUMBERINGSTYLE = 0x2000, PFM_NUMBERINGTAB = 0x4000, PFM_NUMBERINGSTART = 0x8000,
    PFM_OFFSETINDENT = 0x80000000u;
inline constexpr uint32_t PFM_ALL2 = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET |
    PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING | PFM_SPACEBEFORE | PFM_SPACEAFTER |
    PFM_LINESPACING | PFM_PAGEBREAKBEFORE | PFM_NUMBERINGSTYLE | PFM_NUMBERINGTAB |
    PFM_NUMBERINGSTART;  // every field

// Find flags: search forwards, whole words only, case as given.
inline constexpr unsigned FR_DOWN = 1, FR_WHOLEWORD = 2, FR_MATCHCASE = 4;

// Selection types.
inline constexpr int SEL_EMPTY = 0, SEL_TEXT = 1, SEL_OBJECT = 2, SEL_MULTICHAR = 4,
    SEL_MULTIOBJECT = 8;

// Where SetCharFormat applies its format.
enum class TRichFormatTarget {
  Selection,  // the selection (with nothing selected: the format of the next typed text)
  Word,       // the selection, or the word at the caret when nothing is selected
  Default,    // the default format: new text and text without a format of its own
  All         // every character
};

// What Paste Special can make of the clipboard: an object embedded from its file, a link to
// its file, RTF, RTF without its objects, plain text, its picture.
enum class TPasteFormat { Embedded, Link, Rtf, RtfNoObjects, Text, Picture };

// Mouse events on link text.
enum class TRichLinkEvent { MouseMove, LButtonDown, LButtonUp, LButtonDblClk };

class RichEditControl {
public:
  RichEditControl();
  ~RichEditControl();
  RichEditControl(const RichEditControl&) = delete;
  RichEditControl& operator=(const RichEditControl&) = delete;

  // The control's window, made on first need. It lives until its parent widget deletes it or
  // the control ends; the control keeps its text, selection and undo without it, and a later
  // call makes a new window over the same text, as a child of `parent` when given.
  QWidget* Widget(QWidget* parent = nullptr);
  bool HasWidget() const;

  // --- Text ----------------------------------------------------------------------------------
  int TextLength() const;
  std::u16string Text() const;
  // Characters from `start` to `end` (clipped to the text; -1 as end means the end).
  std::u16string TextRange(int start, int end) const;
  // Replaces the whole text with plain text in the default format; CR, LF and CR LF all end a
  // paragraph. Empties the undo buffer.
  void SetText(std::u16string_view text);

  // Replaces the whole text with plain text that `next` hands over piece by piece (paragraph
  // ends as '\r') until it answers false: no undo, one change notice at the end, and the
  // window shows no half-loaded text meanwhile (nor takes typing). When `next` raises, the
  // text is left empty and the exception goes on.
  void LoadText(const std::function<bool(std::u16string& piece)>& next);

  // --- Selection -----------------------------------------------------------------------------
  // The selection as (start, end), start <= end.
  int SelStart() const;
  int SelEnd() const;
  // Selects from `start` to `end` with the caret at `end`: (0, -1) selects everything, an
  // `end` of -1 means the end of the text, a `start` of -1 removes the selection.
  void SetSel(int start, int end);
  std::u16string SelText() const;
  // Replaces the selection; the new text takes the format of the selection's first character.
  // A change that cannot be undone empties the undo buffer.
  void ReplaceSel(std::u16string_view text, bool canUndo = true);
  int SelectionType() const;
  // Hides the selection's highlight (the selection stays).
  void HideSelection(bool hide);
  bool SelectionHidden() const;
  // Scrolls the caret into view (a hidden window does so when it shows).
  void ScrollCaret();

  // --- Lines (paragraphs) --------------------------------------------------------------------
  int LineCount() const;
  // First position of `line` (-1: the caret's line); -1 when there is no such line.
  int LineIndex(int line) const;
  // The line of position `pos` (-1: the caret's).
  int LineFromChar(int pos) const;
  // Length of the line holding `pos`, without its end.
  int LineLength(int pos) const;
  // The text of `line` without its end; empty for a line that does not exist.
  std::u16string Line(int line) const;
  int FirstVisibleLine() const;
  // Scrolls by whole steps (negative up); false when the text did not move.
  bool ScrollLines(int delta);
  // The window position (x, y) of the character at `pos`.
  std::pair<int, int> PosFromChar(int pos) const;
  // The position nearest to a point of the window.
  int CharFromPos(int x, int y) const;

  // --- Formats -------------------------------------------------------------------------------
  // The selection's format (the format at the caret when nothing is selected); `consistent`
  // gets the mask of the fields that are the same over the whole selection.
  TCharFormat SelCharFormat(uint32_t* consistent = nullptr) const;
  TCharFormat DefaultCharFormat() const;
  // Sets the fields of `mask` from `format`.
  void SetCharFormat(const TCharFormat& format, uint32_t mask, TRichFormatTarget target);
  // The format of the selection's first paragraph; `consistent` as for characters.
  TParaFormat SelParaFormat(uint32_t* consistent = nullptr) const;
  // Sets the fields of `mask` on every paragraph of the selection. PFM_OFFSETINDENT moves the
  // start indent by the given LeftIndent + FirstIndent.
  void SetParaFormat(const TParaFormat& format, uint32_t mask);
  // The format of the character at `pos`.
  TCharFormat CharFormatAt(int pos) const;
  // The ranges (start, end) of text between `start` and `end` that MarkRange marked as links.
  std::vector<std::pair<int, int>> AutoLinkRanges(int start, int end) const;
  // Sets the fields of `mask` from `start` to `end` without touching the selection; the
  // change joins the last undo step. Link marking set here is display only: Document() gives
  // the text the link attribute, colour and underline it had before.
  void MarkRange(int start, int end, const TCharFormat& format, uint32_t mask);
  // Takes MarkRange's link marking off the text from `start` to `end`: the link attribute,
  // colour and underline it still holds return to what they were before; joins the last undo step.
  void UnmarkLinks(int start, int end);

  // --- Undo ----------------------------------------------------------------------------------
  // At most `limit` of the latest steps can be undone; 0 switches undo off and empties the buffer.
  void SetUndoLimit(int limit);
  int UndoLimit() const;
  bool CanUndo() const;
  bool CanRedo() const;
  void Undo();
  void Redo();
  void EmptyUndoBuffer();
  // Every change between BeginUndoStep and EndUndoStep (pairs nest) is one undo step, text and
  // formats alike; the window shows the changes when the step ends, or at ShowUndoStep.
  void BeginUndoStep();
  void EndUndoStep();
  // Lets the window show the changes of the open step so far; the step goes on.
  void ShowUndoStep();
  bool Modified() const;
  void SetModified(bool modified);

  // --- Find ----------------------------------------------------------------------------------
  // Searches from `start` towards `end` (FR_DOWN) or backwards from `start` down to `end`
  // (end -1: to the text's end or beginning). The match lies wholly in the range. Returns
  // its position or -1.
  int FindText(std::u16string_view text, int start, int end, unsigned flags) const;
  // The same search in `text`, for a match lying wholly in [first, last) of it; the characters
  // of `text` around a match are its neighbours for FR_WHOLEWORD. Returns its index or -1.
  static int FindInText(std::u16string_view text, std::u16string_view what, int first, int last, unsigned flags);

  // --- Clipboard -----------------------------------------------------------------------------
  void Copy();
  void Cut();
  // Pastes from the clipboard (RTF first, then text, then a picture) after OnPaste allows it.
  void Paste();
  bool CanPaste() const;
  // True while the clipboard still holds this control's latest Copy or Cut; `objects` and
  // `characters` get what that copy holds.
  bool OwnsClipboard(int& objects, int& characters) const;
  // Empties the clipboard when it holds this control's copy.
  void ReleaseClipboard();
  // Deletes the selection.
  void ClearSelection();

  // --- Document model ------------------------------------------------------------------------
  // The whole text, or the selection, as a document.
  TRichDocument Document(bool selectionOnly) const;
  // Replaces the whole text (emptying the undo buffer), or the selection, with a document.
  // `progress` (when given) hears (paragraphs done, paragraphs) now and then; what it raises
  // stops the change and goes on, the text then being left empty (or the selection removed).
  void SetDocument(TRichDocument document, bool selectionOnly,
                   const std::function<void(size_t done, size_t total)>& progress = nullptr);
  // Replaces the whole text (emptying the undo buffer) with the paragraphs that `produce` hands,
  // one at a time, to the function it is given; what it raises empties the text and goes on.
  void LoadDocument(
      const std::function<void(const std::function<void(TRichParagraph& paragraph)>& add)>& produce);

  // --- Objects -------------------------------------------------------------------------------
  // Inserts an object in place of the selection.
  void InsertObject(const TRichObject& object);
  // True when the clipboard holds a picture or files an object can be made from; `object`
  // gets the object (the first file's).
  bool ClipboardObject(TRichObject& object) const;
  // An object made from a file (a system-code-page name): a picture for PNG and JPEG files
  // (unless `iconic`), else an embedded file; with `link`, a link to the file. Raises
  // EFOpenError when the file cannot be read.
  static TRichObject FileObject(const std::string& fileName, bool link, bool iconic);
  // The formats Paste Special offers for the clipboard, in the order above.
  std::vector<TPasteFormat> PasteFormats() const;
  // Pastes the clipboard as `format` (a file object shown as an icon when `iconic`) in place
  // of the selection; false when the clipboard does not hold it (any more).
  bool PasteAs(TPasteFormat format, bool iconic);
  int ObjectCount() const;
  // Position and content of object `index` (in text order).
  int ObjectPosition(int index) const;
  TRichObject Object(int index) const;

  // Without objects, loading and pasting leave objects out and a picture is not pasted.
  bool AllowObjects() const;
  void SetAllowObjects(bool allow);

  // --- Window --------------------------------------------------------------------------------
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);
  void SetWordWrap(bool wrap);
  // In plain text mode every character has the default format and pastes are plain text.
  bool PlainText() const;
  void SetPlainText(bool plain);
  // 0 means no limit.
  void SetMaxLength(int length);
  int MaxLength() const;
  // WM_SETREDRAW: false stops painting until it is switched on again (and repaints).
  void SetRedraw(bool redraw);
  // Shows a mouse cursor over the text (a TCursor value) until the mouse leaves a link.
  void SetMouseCursor(int cursor);
  void SetSelectionBar(bool on);

  // --- Notifications -------------------------------------------------------------------------
  // The text that the latest change put in, (start, end); start == end for a deletion.
  std::pair<int, int> LastChange() const;
  std::function<void()> OnChange;             // the text changed
  std::function<void()> OnSelChange;          // the selection changed
  std::function<void(TRichLinkEvent event, int start, int end)> OnLink;
  // The user is about to change protected text from `start` to `end`; false refuses.
  std::function<bool(int start, int end)> OnProtected;
  // A paste is about to happen; false stops it.
  std::function<bool()> OnPaste;
  // The text's natural size changed (pixels).
  std::function<void(int width, int height)> OnRequestResize;

  struct Impl;

private:
  friend class TPrinterDevice;
  std::unique_ptr<Impl> d;
};
