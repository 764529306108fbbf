// TRichEditW: the rich text control of every editing pane. It holds UTF-16 text whatever the
// system code page is; its Language selects the code page of every 8-bit text that passes
// through it. Lines, streaming, attributes and objects live in the rich_edit_* modules.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/control.h"
#include "platform/locale.h"

class RichEditControl;
class TTextAttributesW;
class TParaAttributesW;
class TRichEditStringsW;
class TWideRichEditStringsW;
struct TRichObject;

enum TAutoURLDetect { adNone, adDefault, adExtended };
// Language options, as bits: loAutoKeyboard 1, loAutoFont 2, loIMECancelComplete 4,
// loIMEAlwaysSendNotify 8.
using TLangOptions = unsigned;
inline constexpr TLangOptions loAutoKeyboard = 1, loAutoFont = 2, loIMECancelComplete = 4,
    loIMEAlwaysSendNotify = 8;
enum TInputFormat { ifText, ifRTF, ifUnicode };
enum TOutputFormat { ofText, ofRTF, ofRTFNoObjs, ofTextized, ofUnicode };

// Options of FindText and FindTextW, as bits.
inline constexpr int stBackward = 1, stWholeWord = 2, stMatchCase = 4;

using TRichEditProgressEvent = std::function<void(TObject* Sender, int Pos, int Size)>;
using TURLEvent = std::function<void(TObject* Sender, const std::string& URL)>;
using TRichEditPasteEvent = std::function<void(TObject* Sender, bool& Allow)>;
using TRichEditProtectChange =
    std::function<void(TObject* Sender, int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditSaveClipboard =
    std::function<void(TObject* Sender, int NumObjects, int NumChars, bool& SaveClipboard)>;
using TRichEditResizeEvent = std::function<void(TObject* Sender, TRect Rect)>;
using TRichEditTextChange = std::function<void(TObject* Sender, int Pos, int Removed, int Added)>;

// A kind of hyperlink: a scheme ("http") or a name ("e-mail") with its look.
class TURLType : public TPersistent {
  QM_CLASS(TURLType, TPersistent)
public:
  std::string Name;
  TColor Color = clWindowText;  // the window-text colour stands for the control's URLColor
  TCursor Cursor = crDefault;   // crDefault stands for the control's URLCursor
  bool Underline = true;
};

// The hyperlink kinds; item 0 is the e-mail kind, items 1 and on are schemes.
class TURLCollection : public TPersistent, public TCollectionBase {
  QM_CLASS(TURLCollection, TPersistent)
public:
  int Count() const override { return int(items_.size()); }
  TURLType* Items(int index) const { return items_.at(size_t(index)).get(); }
  TPersistent* Item(int index) const override { return Items(index); }
  TPersistent* AddItem() override { return Add(); }
  TURLType* Add();
  // Updates the item whose Name equals `name` exactly, else appends a new one.
  TURLType* AddOrUpdate(const std::string& name, TColor color, TCursor cursor, bool underline);
  void Clear() override { items_.clear(); }
  // Clears the list and adds each item of `source` through AddOrUpdate.
  void Assign(const TURLCollection& source);
  // The kind of a link text: by the scheme before its first colon (the last scheme when none
  // matches), else item 0 when it holds '@' after its first character, else item 1; nullptr
  // when the list has no such item.
  const TURLType* KindOf(const std::string& linkText) const;

private:
  std::vector<std::unique_ptr<TURLType>> items_;
};

class TCustomRichEditW : public TWinControl {
  QM_CLASS(TCustomRichEditW, TWinControl)
public:
  explicit TCustomRichEditW(TComponent* owner);
  ~TCustomRichEditW() override;
  // Asks OnSaveClipboard whether the control's copy stays on the clipboard after it is gone
  // (asked when the control is freed while the windows that hold it live on).
  void BeforeDestruction() override;

  // The control's window and text behind it (for the ruler, the printer and the tests).
  RichEditControl& Control() const { return *control_; }

  // --- UTF-16 text -----------------------------------------------------------------------------
  std::u16string GetTextW() const;
  void SetTextW(const std::u16string& text);
  std::u16string GetSelTextW() const;
  // Replaces the selection; always undoable.
  void SetSelTextW(const std::u16string& text);
  // The selection as RTF.
  std::string GetSelRTF();
  // 8-bit text in the control's code page, then as FindTextW.
  int FindText(const std::string& text, int start, int length, int options);
  // Searches from `start` over `length` characters (backwards with stBackward; to the end or
  // the beginning when length <= 0); the match's position or -1.
  int FindTextW(const std::u16string& text, int start, int length, int options);

  // --- 8-bit text in the code page of Language ------------------------------------------------
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  std::string SelText() const;
  void SetSelText(const std::string& text);

  // --- Selection, lines and view ---------------------------------------------------------------
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);
  void SelectAll();
  void BeginUpdate();
  void EndUpdate();
  int UpdateLock() const { return updateLock_; }
  void SaveSelection();
  void RestoreSelection();
  bool CanUndo() const;
  void Undo();
  bool CanRedo() const;
  void Redo();
  void ClearUndo();
  // Lines are paragraphs; columns count from the line's start.
  int GetCaretLine() const;
  int GetCaretColumn() const;
  void SetCaretPos(int line, int column);
  void SetCaretLine(int line);
  int GetFirstVisibleLine() const;
  int CharFromPos(TPoint point) const;
  int SelectionType() const;

  // --- Editing ---------------------------------------------------------------------------------
  // Closes the objects, empties the text and marks it unmodified.
  virtual void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  bool Modified() const;
  void SetModified(bool modified);
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  bool HideSelection() const { return hideSelection_; }
  // Hides the selection while the control has no focus (and at once when it has none).
  void SetHideSelection(bool hide);
  bool PlainText() const;
  void SetPlainText(bool plain);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);

  // --- Owned objects ---------------------------------------------------------------------------
  TTextAttributesW* SelAttributes() const { return selAttributes_.get(); }
  TTextAttributesW* DefAttributes() const { return defAttributes_.get(); }
  TParaAttributesW* Paragraph() const { return paragraph_.get(); }
  TRichEditStringsW* Lines() const { return lines_.get(); }
  TWideRichEditStringsW* WideLines() const { return wideLines_.get(); }
  TURLCollection* CustomURLs() const { return customURLs_.get(); }
  void SetCustomURLs(const TURLCollection& urls) { customURLs_->Assign(urls); }

  // --- Properties ------------------------------------------------------------------------------
  TAutoURLDetect AutoURLDetect() const { return autoURLDetect_; }
  void SetAutoURLDetect(TAutoURLDetect value);
  TColor URLColor() const { return urlColor_; }
  void SetURLColor(TColor color) { urlColor_ = color; }
  TCursor URLCursor() const { return urlCursor_; }
  void SetURLCursor(TCursor cursor) { urlCursor_ = cursor; }
  LCID Language() const { return language_; }
  // Also sets the code page of the control's 8-bit traffic.
  void SetLanguage(LCID language);
  unsigned CodePage() const { return codePage_; }
  TLangOptions LangOptions() const { return langOptions_; }
  void SetLangOptions(TLangOptions options) { langOptions_ = options; }
  bool ShowSelectionBar() const { return showSelectionBar_; }
  void SetShowSelectionBar(bool show);
  int UndoLimit() const { return undoLimit_; }
  // 0 switches undo off and empties the undo buffer.
  void SetUndoLimit(int limit);
  bool WordFormatting() const { return wordFormatting_; }
  void SetWordFormatting(bool value) { wordFormatting_ = value; }
  TInputFormat InputFormat() const { return inputFormat_; }
  void SetInputFormat(TInputFormat format) { inputFormat_ = format; }
  TOutputFormat OutputFormat() const { return outputFormat_; }
  void SetOutputFormat(TOutputFormat format) { outputFormat_ = format; }
  bool SelectedInOut() const { return selectedInOut_; }
  void SetSelectedInOut(bool value) { selectedInOut_ = value; }
  bool PlainRTF() const { return plainRTF_; }
  void SetPlainRTF(bool value) { plainRTF_ = value; }
  bool AllowObjects() const { return allowObjects_; }
  // Without objects, loading and pasting leave objects out.
  void SetAllowObjects(bool value);
  bool AllowInPlace() const { return allowInPlace_; }
  void SetAllowInPlace(bool value) { allowInPlace_ = value; }
  bool AutoVerbMenu() const { return autoVerbMenu_; }
  void SetAutoVerbMenu(bool value) { autoVerbMenu_ = value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  // The form-storage form of the text: the lines saved in the output format.
  std::string RTF() const;
  void SetRTF(const std::string& data);

  // --- Objects (see rich_edit_objects.h) -------------------------------------------------------
  // True when the clipboard holds data an embedded or linked object can be made from.
  bool CanPasteObject() const;
  // The object dialogs; false when cancelled or when nothing can be offered.
  bool InsertObjectDialog();
  bool PasteSpecialDialog();
  bool ObjectPropertiesDialog();
  // The selected object, when the selection is exactly one object.
  std::optional<TRichObject> SelectedObject() const;
  // Embeds the file (or links to it) at the selection, shown as an icon when `iconic`.
  void CreateObjectFromFile(const std::string& fileName, bool iconic);
  void CreateLinkToFile(const std::string& fileName, bool iconic);

  // --- Events ----------------------------------------------------------------------------------
  TURLEvent OnURLClick, OnURLMove;
  TRichEditProgressEvent OnLoadProgress, OnSaveProgress;
  TRichEditPasteEvent OnPaste;
  TRichEditProtectChange OnProtectChange;
  TRichEditSaveClipboard OnSaveClipboard;
  TRichEditResizeEvent OnResizeRequest;
  TNotifyEvent OnChange, OnSelectionChange;
  // Every change of the text where it happened, also while OnChange is held back: `Removed`
  // characters at `Pos` became `Added` ones.
  TRichEditTextChange OnTextChange;

  // Scans the text from `start` to `end` for links of the custom kinds (extended detection).
  void DetectURLs(int start, int end);

protected:
  // Answers the rich edit messages of rich_edit_messages.h; others go to the inherited handling.
  void WndProc(TMessage& message) override;
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void FontChanged() override;
  void DoEnter() override;
  void DoExit() override;
  virtual void Change();
  virtual void SelectionChange();

private:
  friend class TRichEditStringsW;
  friend class TWideRichEditStringsW;
  void Link(int event, int start, int end);
  void ShowSelectionState();

  std::unique_ptr<RichEditControl> control_;
  std::unique_ptr<TTextAttributesW> selAttributes_, defAttributes_;
  std::unique_ptr<TParaAttributesW> paragraph_;
  std::unique_ptr<TRichEditStringsW> lines_;
  std::unique_ptr<TWideRichEditStringsW> wideLines_;
  std::unique_ptr<TURLCollection> customURLs_;

  TAutoURLDetect autoURLDetect_ = adNone;
  TColor urlColor_ = clBlue;
  TCursor urlCursor_ = crHandPoint;
  LCID language_ = 0;
  unsigned codePage_ = 0;
  TLangOptions langOptions_ = loAutoFont;
  bool showSelectionBar_ = false;
  int undoLimit_ = 0;
  bool wordFormatting_ = true;
  TInputFormat inputFormat_ = ifRTF;
  TOutputFormat outputFormat_ = ofRTF;
  bool selectedInOut_ = false;
  bool plainRTF_ = false;
  bool allowObjects_ = true;
  bool allowInPlace_ = true;
  bool autoVerbMenu_ = true;
  std::string title_;
  bool wordWrap_ = true;
  bool hideSelection_ = true;
  int maxLength_ = 0;

  uint32_t eventMask_ = 0x042C0001;    // change, request resize, selection, protected, link
  int zoomNumerator_ = 0, zoomDenominator_ = 0;
  int updateLock_ = 0;
  int changeLock_ = 0;                 // change events held back (loading, line text, links)
  int savedSelStart_ = 0, savedSelLength_ = 0, savedFirstLine_ = 0;
  int lastChangeStart_ = 0, lastChangeEnd_ = 0;  // the extended detection's last range
  int textLength_ = 0;                           // the length before the latest change
};

class TRichEditW : public TCustomRichEditW {
  QM_CLASS(TRichEditW, TCustomRichEditW)
public:
  explicit TRichEditW(TComponent* owner) : TCustomRichEditW(owner) {}
};

// Holds the editor's window off its text for a scope (BeginUpdate .. EndUpdate): many changes
// then cost what they change, not a layout and caret walk of their paragraph each; the window
// shows the text again when the scope ends, however it ends.
class TEditorUpdateHold {
public:
  explicit TEditorUpdateHold(TCustomRichEditW& editor) : editor_(editor) { editor_.BeginUpdate(); }
  ~TEditorUpdateHold() { editor_.EndUpdate(); }
  TEditorUpdateHold(const TEditorUpdateHold&) = delete;
  TEditorUpdateHold& operator=(const TEditorUpdateHold&) = delete;

private:
  TCustomRichEditW& editor_;
};

// Makes every change of a scope, text and formats, one undo step of the editor. Qt keeps the
// cursor's place on its line unknown meanwhile, so placing the selection does not analyse its
// whole paragraph at each change; the change handlers hear of all the changes when it ends.
class TEditorUndoStep {
public:
  explicit TEditorUndoStep(TCustomRichEditW& editor);
  ~TEditorUndoStep();
  TEditorUndoStep(const TEditorUndoStep&) = delete;
  TEditorUndoStep& operator=(const TEditorUndoStep&) = delete;

private:
  RichEditControl& control_;
};

// Which rich edit library the system offers: 3 (our own control, current).
int GetRichEditVersion();
