#include "textcore/rich_edit.h"

#include <algorithm>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/streams.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/rich_edit_lines.h"
#include "textcore/rich_edit_messages.h"
#include "textcore/rich_edit_streaming.h"

QM_CLASS_INFO(TURLType, TPersistent, [](TClassBuilder<TURLType>& b) {
  b.String("Name", [](TURLType& t) { return t.Name; }, [](TURLType& t, const std::string& v) { t.Name = v; })
      .Color("Color", [](TURLType& t) { return t.Color; }, [](TURLType& t, TColor v) { t.Color = v; })
      .Integer("Cursor", [](TURLType& t) { return t.Cursor; }, [](TURLType& t, int v) { t.Cursor = v; })
      .Boolean("Underline", [](TURLType& t) { return t.Underline; }, [](TURLType& t, bool v) { t.Underline = v; });
})

QM_CLASS_INFO(TURLCollection, TPersistent, [](TClassBuilder<TURLCollection>&) {})

TURLType* TURLCollection::Add() {
  items_.push_back(std::make_unique<TURLType>());
  return items_.back().get();
}

TURLType* TURLCollection::AddOrUpdate(const std::string& name, TColor color, TCursor cursor, bool underline) {
  TURLType* item = nullptr;
  for (const auto& existing : items_)
    if (existing->Name == name) item = existing.get();
  if (!item) item = Add();
  item->Name = name;
  item->Color = color;
  item->Cursor = cursor;
  item->Underline = underline;
  return item;
}

void TURLCollection::Assign(const TURLCollection& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source.items_) AddOrUpdate(item->Name, item->Color, item->Cursor, item->Underline);
}

namespace {

// The published TAutoURLDetect and TInputFormat/TOutputFormat names.
const std::vector<std::string> kURLDetectNames{"adNone", "adDefault", "adExtended"};
const std::vector<std::string> kInputNames{"ifText", "ifRTF", "ifUnicode"};
const std::vector<std::string> kOutputNames{"ofText", "ofRTF", "ofRTFNoObjs", "ofTextized", "ofUnicode"};
const std::vector<std::string> kLangOptionNames{"loAutoKeyboard", "loAutoFont", "loIMECancelComplete",
                                                "loIMEAlwaysSendNotify"};

std::u16string WithCrLf(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 32);
  for (char16_t c : text) {
    out += c;
    if (c == u'\r') out += u'\n';
  }
  return out;
}

}  // namespace

QM_CLASS_INFO(TRichEditW, TCustomRichEditW, [](TClassBuilder<TRichEditW>&) {})

// The published properties (TRichEditW adds none of its own).
QM_CLASS_INFO(TCustomRichEditW, TWinControl, [](TClassBuilder<TCustomRichEditW>& b) {
  using C = TCustomRichEditW;
  b.Enum<TAutoURLDetect>("AutoURLDetect", kURLDetectNames, &C::AutoURLDetect, &C::SetAutoURLDetect)
      .Collection("CustomURLs", &C::CustomURLs)
      .Color("URLColor", &C::URLColor, &C::SetURLColor)
      .Integer("URLCursor", &C::URLCursor, &C::SetURLCursor)
      .Integer("Language", &C::Language, [](C& c, int v) { c.SetLanguage(LCID(v)); })
      .Set<TLangOptions>("LangOptions", kLangOptionNames, &C::LangOptions, &C::SetLangOptions)
      .Boolean("ShowSelectionBar", &C::ShowSelectionBar, &C::SetShowSelectionBar)
      .Integer("UndoLimit", &C::UndoLimit, &C::SetUndoLimit)
      .Boolean("WordFormatting", &C::WordFormatting, &C::SetWordFormatting)
      .Enum<TInputFormat>("InputFormat", kInputNames, &C::InputFormat, &C::SetInputFormat)
      .Enum<TOutputFormat>("OutputFormat", kOutputNames, &C::OutputFormat, &C::SetOutputFormat)
      .Boolean("SelectedInOut", &C::SelectedInOut, &C::SetSelectedInOut)
      .Boolean("PlainRTF", &C::PlainRTF, &C::SetPlainRTF)
      .Boolean("AllowObjects", &C::AllowObjects, &C::SetAllowObjects)
      .Boolean("AllowInPlace", &C::AllowInPlace, &C::SetAllowInPlace)
      .Boolean("AutoVerbMenu", &C::AutoVerbMenu, &C::SetAutoVerbMenu)
      .String("Title", &C::Title, &C::SetTitle)
      .Boolean("HideSelection", &C::HideSelection, &C::SetHideSelection)
      .Boolean("PlainText", &C::PlainText, &C::SetPlainText)
      .Boolean("ReadOnly", &C::ReadOnly, &C::SetReadOnly)
      .Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap)
      .Integer("MaxLength", &C::MaxLength, &C::SetMaxLength)
      .String("RTF", &C::RTF, &C::SetRTF)
      .Event("OnURLClick", &C::OnURLClick)
      .Event("OnURLMove", &C::OnURLMove)
      .Event("OnLoadProgress", &C::OnLoadProgress)
      .Event("OnSaveProgress", &C::OnSaveProgress)
      .Event("OnPaste", &C::OnPaste)
      .Event("OnProtectChange", &C::OnProtectChange)
      .Event("OnSaveClipboard", &C::OnSaveClipboard)
      .Event("OnResizeRequest", &C::OnResizeRequest)
      .Event("OnChange", &C::OnChange)
      .Event("OnSelectionChange", &C::OnSelectionChange);
})

TCustomRichEditW::TCustomRichEditW(TComponent* owner)
    : TWinControl(owner),
      control_(std::make_unique<RichEditControl>()),
      selAttributes_(std::make_unique<TTextAttributesW>(*this, atSelected)),
      defAttributes_(std::make_unique<TTextAttributesW>(*this, atDefaultText)),
      paragraph_(std::make_unique<TParaAttributesW>(*this)),
      lines_(std::make_unique<TRichEditStringsW>(*this)),
      wideLines_(std::make_unique<TWideRichEditStringsW>(*this)),
      customURLs_(std::make_unique<TURLCollection>()) {
  SetLanguage(SystemDefaultLcid());
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 185, 89);
  control_->OnChange = [this] {
    // The control reports the new text's range; the length tells how much went.
    const auto [start, end] = control_->LastChange();
    const int length = control_->TextLength(), removed = std::max(0, end - start - (length - textLength_));
    textLength_ = length;
    if (OnTextChange) OnTextChange(this, start, removed, end - start);
    // The standard detection follows every change, wherever the text comes from.
    if (autoURLDetect_ == adDefault) DetectURLs(start, end);
    if (eventMask_ & ENM_CHANGE) Change();
  };
  control_->OnSelChange = [this] {
    if (eventMask_ & ENM_SELCHANGE) SelectionChange();
  };
  control_->OnLink = [this](TRichLinkEvent event, int start, int end) {
    if (eventMask_ & ENM_LINK) Link(int(event), start, end);
  };
  control_->OnProtected = [this](int start, int end) {
    bool allow = true;
    if ((eventMask_ & ENM_PROTECTED) && OnProtectChange) OnProtectChange(this, start, end, allow);
    return allow;
  };
  control_->OnPaste = [this] {
    bool allow = true;
    if (OnPaste) OnPaste(this, allow);
    return allow;
  };
  control_->OnRequestResize = [this](int width, int height) {
    if ((eventMask_ & ENM_REQUESTRESIZE) && OnResizeRequest) OnResizeRequest(this, Rect(0, 0, width, height));
  };
  ShowSelectionState();
}

TCustomRichEditW::~TCustomRichEditW() = default;

void TCustomRichEditW::BeforeDestruction() {
  // A window that holds the control and is itself going away cannot take the question.
  bool ownerGoing = Owner() && (Owner()->ComponentState() & csDestroying);
  for (TWinControl* p = Parent(); p && !ownerGoing; p = p->Parent())
    ownerGoing = p->ComponentState() & csDestroying;
  TWinControl::BeforeDestruction();
  int objects = 0, characters = 0;
  if (ownerGoing || !OnSaveClipboard || !control_->OwnsClipboard(objects, characters)) return;
  bool save = true;
  OnSaveClipboard(this, objects, characters, save);
  if (!save) control_->ReleaseClipboard();
}

QWidget* TCustomRichEditW::CreateWidget(QWidget* parent) { return control_->Widget(parent); }

void TCustomRichEditW::InitWidget() {
  TWinControl::InitWidget();
  control_->SetWordWrap(wordWrap_);
  control_->SetSelectionBar(showSelectionBar_);
  ShowSelectionState();
}

void TCustomRichEditW::FontChanged() {
  TWinControl::FontChanged();
  defAttributes_->Assign(*Font());
}

void TCustomRichEditW::DoEnter() {
  TWinControl::DoEnter();
  ShowSelectionState();
}

void TCustomRichEditW::DoExit() {
  TWinControl::DoExit();
  ShowSelectionState();
}

void TCustomRichEditW::ShowSelectionState() {
  control_->HideSelection(hideSelection_ && !Focused());
}

void TCustomRichEditW::Change() {
  if (changeLock_ > 0) return;
  const bool detecting = autoURLDetect_ == adExtended && customURLs_->Count() > 0;
  if (detecting && !(ComponentState() & (csLoading | csReading)) && updateLock_ == 0) {
    const int selStart = control_->SelStart(), selEnd = control_->SelEnd();
    DetectURLs(std::min(selStart, lastChangeStart_), std::max(selEnd, lastChangeEnd_));
    lastChangeStart_ = selStart;
    lastChangeEnd_ = selEnd;
  }
  if (OnChange) OnChange(this);
}

void TCustomRichEditW::SelectionChange() {
  if (changeLock_ > 0) return;
  if (OnSelectionChange) OnSelectionChange(this);
}

// --- Text --------------------------------------------------------------------------------------

std::u16string TCustomRichEditW::GetTextW() const { return control_->Text(); }

void TCustomRichEditW::SetTextW(const std::u16string& text) { control_->SetText(text); }

std::u16string TCustomRichEditW::GetSelTextW() const { return control_->SelText(); }

void TCustomRichEditW::SetSelTextW(const std::u16string& text) { control_->ReplaceSel(text, true); }

std::string TCustomRichEditW::GetSelRTF() {
  const TOutputFormat kept = outputFormat_;
  outputFormat_ = ofRTF;
  TStringStream stream;
  try {
    SaveRichEditStream(*this, stream, true);
  } catch (...) {
    outputFormat_ = kept;
    throw;
  }
  outputFormat_ = kept;
  const std::string& data = stream.DataString();
  return data.substr(0, data.find('\0'));
}

int TCustomRichEditW::FindText(const std::string& text, int start, int length, int options) {
  return FindTextW(AnsiToWideString(text, codePage_), start, length, options);
}

int TCustomRichEditW::FindTextW(const std::u16string& text, int start, int length, int options) {
  const bool backward = options & stBackward;
  int end = -1;
  if (length > 0) end = backward ? start - length : start + length;
  unsigned flags = backward ? 0 : FR_DOWN;
  if (options & stWholeWord) flags |= FR_WHOLEWORD;
  if (options & stMatchCase) flags |= FR_MATCHCASE;
  return control_->FindText(text, start, end, flags);
}

std::string TCustomRichEditW::GetText() const { return WideStringToAnsi(WithCrLf(GetTextW()), codePage_); }

void TCustomRichEditW::SetText(const std::string& text) { SetTextW(AnsiToWideString(text, codePage_)); }

std::string TCustomRichEditW::SelText() const { return WideStringToAnsi(GetSelTextW(), codePage_); }

void TCustomRichEditW::SetSelText(const std::string& text) { SetSelTextW(AnsiToWideString(text, codePage_)); }

// --- Selection, lines and view -------------------------------------------------------------------

int TCustomRichEditW::SelStart() const { return control_->SelStart(); }
void TCustomRichEditW::SetSelStart(int start) { control_->SetSel(start, start); }
int TCustomRichEditW::SelLength() const { return control_->SelEnd() - control_->SelStart(); }

void TCustomRichEditW::SetSelLength(int length) {
  const int start = control_->SelStart();
  control_->SetSel(start, start + std::max(0, length));
}

void TCustomRichEditW::SelectAll() { control_->SetSel(0, -1); }

void TCustomRichEditW::BeginUpdate() {
  if (updateLock_++ == 0) control_->SetRedraw(false);
}

void TCustomRichEditW::EndUpdate() {
  if (updateLock_ == 0) return;
  if (--updateLock_ == 0) control_->SetRedraw(true);
}

TEditorUndoStep::TEditorUndoStep(TCustomRichEditW& editor) : control_(editor.Control()) { control_.BeginUndoStep(); }

TEditorUndoStep::~TEditorUndoStep() { control_.EndUndoStep(); }

void TCustomRichEditW::SaveSelection() {
  savedSelStart_ = SelStart();
  savedSelLength_ = SelLength();
  savedFirstLine_ = GetFirstVisibleLine();
}

void TCustomRichEditW::RestoreSelection() {
  control_->SetSel(savedSelStart_, savedSelStart_ + savedSelLength_);
  int direction = 0;
  for (int line = GetFirstVisibleLine(); line != savedFirstLine_; line = GetFirstVisibleLine()) {
    const int step = line >= savedFirstLine_ ? -1 : 1;
    // A step passes over a paragraph lower than itself: turning back would never end.
    if (direction != 0 && step != direction) break;
    direction = step;
    if (!control_->ScrollLines(step)) break;
  }
}

bool TCustomRichEditW::CanUndo() const { return control_->CanUndo(); }
void TCustomRichEditW::Undo() { control_->Undo(); }
bool TCustomRichEditW::CanRedo() const { return control_->CanRedo(); }
void TCustomRichEditW::Redo() { control_->Redo(); }
void TCustomRichEditW::ClearUndo() { control_->EmptyUndoBuffer(); }

int TCustomRichEditW::GetCaretLine() const { return control_->LineFromChar(SelStart()); }

int TCustomRichEditW::GetCaretColumn() const { return SelStart() - control_->LineIndex(GetCaretLine()); }

void TCustomRichEditW::SetCaretPos(int line, int column) {
  // The column is kept as far as the line reaches: never past its end onto the next line.
  const int index = control_->LineIndex(line);
  if (index < 0) return;
  const int at = index + std::clamp(column, 0, control_->LineLength(index));
  control_->SetSel(at, at);
}

void TCustomRichEditW::SetCaretLine(int line) { SetCaretPos(line, GetCaretColumn()); }

int TCustomRichEditW::GetFirstVisibleLine() const { return control_->FirstVisibleLine(); }

int TCustomRichEditW::CharFromPos(TPoint point) const { return control_->CharFromPos(point.X, point.Y); }

int TCustomRichEditW::SelectionType() const { return control_->SelectionType(); }

// --- Editing -----------------------------------------------------------------------------------

void TCustomRichEditW::Clear() {
  control_->SetText(u"");
  control_->SetModified(false);
}

void TCustomRichEditW::ClearSelection() { control_->ClearSelection(); }
void TCustomRichEditW::CopyToClipboard() { control_->Copy(); }
void TCustomRichEditW::CutToClipboard() { control_->Cut(); }
void TCustomRichEditW::PasteFromClipboard() { control_->Paste(); }
bool TCustomRichEditW::Modified() const { return control_->Modified(); }
void TCustomRichEditW::SetModified(bool modified) { control_->SetModified(modified); }
bool TCustomRichEditW::ReadOnly() const { return control_->ReadOnly(); }
void TCustomRichEditW::SetReadOnly(bool readOnly) { control_->SetReadOnly(readOnly); }

void TCustomRichEditW::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  control_->SetWordWrap(wrap);
}

void TCustomRichEditW::SetHideSelection(bool hide) {
  hideSelection_ = hide;
  ShowSelectionState();
}

bool TCustomRichEditW::PlainText() const { return control_->PlainText(); }
void TCustomRichEditW::SetPlainText(bool plain) { control_->SetPlainText(plain); }

void TCustomRichEditW::SetMaxLength(int length) {
  maxLength_ = std::max(0, length);
  control_->SetMaxLength(maxLength_);
}

// --- Properties ----------------------------------------------------------------------------------

void TCustomRichEditW::SetAutoURLDetect(TAutoURLDetect value) {
  // Switched off, detection takes its own marking away, as the system control's did.
  if (value == adNone && autoURLDetect_ != adNone) {
    RichEditControl& c = Control();
    ++changeLock_;
    for (const auto& [start, end] : c.AutoLinkRanges(0, c.TextLength())) c.UnmarkLinks(start, end);
    --changeLock_;
  }
  autoURLDetect_ = value;
  lastChangeStart_ = lastChangeEnd_ = 0;
}

void TCustomRichEditW::SetLanguage(LCID language) {
  language_ = language & 0xFFFF;
  codePage_ = LocaleCodePage(language_);
}

void TCustomRichEditW::SetShowSelectionBar(bool show) {
  showSelectionBar_ = show;
  control_->SetSelectionBar(show);
}

void TCustomRichEditW::SetAllowObjects(bool value) {
  allowObjects_ = value;
  control_->SetAllowObjects(value);
}

void TCustomRichEditW::SetUndoLimit(int limit) {
  undoLimit_ = std::max(0, limit);
  control_->SetUndoLimit(undoLimit_);
}

std::string TCustomRichEditW::RTF() const {
  if (control_->TextLength() == 0) return {};
  TStringStream stream;
  SaveRichEditStream(const_cast<TCustomRichEditW&>(*this), stream);
  const std::string& data = stream.DataString();
  return data.substr(0, data.find('\0'));
}

void TCustomRichEditW::SetRTF(const std::string& data) {
  const TNotifyEvent change = std::move(OnChange), selection = std::move(OnSelectionChange);
  OnChange = nullptr;
  OnSelectionChange = nullptr;
  try {
    Clear();
    defAttributes_->Assign(*Font());
    TStringStream stream(data);
    LoadRichEditStream(*this, stream);
  } catch (...) {
    OnChange = change;
    OnSelectionChange = selection;
    throw;
  }
  OnChange = change;
  OnSelectionChange = selection;
}

int GetRichEditVersion() { return 3; }
