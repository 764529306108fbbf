#include "components/combo_edit.h"

#include <algorithm>

#include "components/file_util.h"
#include "platform/files.h"
#include "platform/gui/drop_files.h"
#include "platform/gui/edit_layout.h"
#include "platform/gui/form.h"

QM_CLASS_INFO(TEditButton, TExSpeedButton, [](TClassBuilder<TEditButton>&) {})

QM_CLASS_INFO(TCustomComboEdit, TEdit, [](TClassBuilder<TCustomComboEdit>& b) {
  using C = TCustomComboEdit;
  b.Integer("ButtonWidth", &C::ButtonWidth, &C::SetButtonWidth)
      .String("ButtonHint", &C::ButtonHint, &C::SetButtonHint)
      .Enum<TGlyphKind>("GlyphKind", {"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"}, &C::GlyphKind,
                        &C::SetGlyphKind)
      .Object("Glyph", &C::Glyph)
      .Integer("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
      .Boolean("DirectInput", &C::DirectInput, &C::SetDirectInput)
      .Boolean("ReadOnly", &C::ComboReadOnly, &C::SetComboReadOnly)
      .Integer("ClickKey", [](C& c) { return int(c.ClickKey()); }, [](C& c, int v) { c.SetClickKey(TShortCut(v)); })
      .String("EditMask", &C::EditMask, &C::SetEditMask)
      .Event("OnButtonClick", &C::OnButtonClick);
})

QM_CLASS_INFO(TFileDirEdit, TCustomComboEdit, [](TClassBuilder<TFileDirEdit>& b) {
  using C = TFileDirEdit;
  b.Boolean("AcceptFiles", &C::AcceptFiles, &C::SetAcceptFiles)
      .Event("OnBeforeDialog", &C::OnBeforeDialog)
      .Event("OnAfterDialog", &C::OnAfterDialog)
      .Event("OnDropFiles", &C::OnDropFiles);
})

QM_CLASS_INFO(TFilenameEdit, TFileDirEdit, [](TClassBuilder<TFilenameEdit>& b) {
  using C = TFilenameEdit;
  b.Enum<TFileDialogKind>("DialogKind", {"dkOpen", "dkSave", "dkOpenPicture", "dkSavePicture"}, &C::DialogKind,
                          &C::SetDialogKind)
      .String("DefaultExt", &C::DefaultExt, &C::SetDefaultExt)
      .Enum<TFileEditStyle>("FileEditStyle", {"fsEdit", "fsComboBox"}, &C::FileEditStyle, &C::SetFileEditStyle)
      .String("FileName", &C::FileName, &C::SetFileName)
      .String("Filter", &C::Filter, &C::SetFilter)
      .Integer("FilterIndex", &C::FilterIndex, &C::SetFilterIndex)
      .String("InitialDir", &C::InitialDir, &C::SetInitialDir)
      .Strings("HistoryList", &C::HistoryList, &C::SetHistoryList)
      .Set<TOpenOptions>("DialogOptions",
                         {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
                          "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
                          "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn",
                          "ofNoTestFileCreate"},
                         &C::DialogOptions, &C::SetDialogOptions)
      .String("DialogTitle", &C::DialogTitle, &C::SetDialogTitle);
})

namespace {

constexpr int kScrollBarWidth = 16;
constexpr int kDefaultButtonWidth = 21;

}  // namespace

int NaturalButtonWidth(TGlyphKind kind, int glyphWidth, int numGlyphs, int scrollBarWidth) {
  switch (kind) {
    case gkDefault:
      return glyphWidth > 0 ? std::max(glyphWidth / std::max(1, numGlyphs) + 6, kDefaultButtonWidth) : kDefaultButtonWidth;
    case gkDropDown: return scrollBarWidth;
    default: return kDefaultButtonWidth;
  }
}

std::string QuoteFileName(const std::string& name) {
  if (name.find(' ') == std::string::npos || (!name.empty() && name[0] == '"')) return name;
  return '"' + name + '"';
}

std::string UnquoteFileName(const std::string& text, bool (*exists)(const std::string&)) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"' || exists(text)) return text;
  return text.substr(1, text.size() - 2);
}

// --- TEditButton -------------------------------------------------------------------------------

TEditButton::TEditButton(TComponent* owner) : TExSpeedButton(owner) {
  SetFlat(true);
  SetShowHint(true);
}

void TEditButton::Paint() {
  TExSpeedButton::Paint();
  if (State() == bsDown) return;
  TCanvas* c = Canvas();
  c->Pen()->SetColor(Enabled() ? clBtnShadow : clBtnFace);
  c->MoveTo(0, 0);
  c->LineTo(0, Height());
  c->Pen()->SetColor(clBtnHighlight);
  c->MoveTo(1, 0);
  c->LineTo(1, Height());
}

// --- TCustomComboEdit --------------------------------------------------------------------------

TCustomComboEdit::TCustomComboEdit(TComponent* owner) : TEdit(owner) {
  SetHeight(21);
  button_ = new TEditButton(this);
  button_->SetBounds(0, 0, kDefaultButtonWidth, 17);
  button_->SetParent(this);
  button_->OnClick = [this](TObject*) { DoClick(); };
  PlaceButton();
}

void TCustomComboEdit::SetEditMask(const std::string& mask) {
  if (!mask.empty()) throw EComboEditError("Edit masks are not supported: '" + mask + "'");
}

void TCustomComboEdit::SetButtonWidth(int v) {
  if (v >= ClientWidth() && ClientWidth() > 0) return;  // only a width less than the client's
  buttonWidth_ = v;
  PlaceButton();
}

void TCustomComboEdit::SetGlyph(const TBitmap& bitmap) {
  button_->SetGlyph(bitmap);
  glyphKind_ = gkCustom;
}

void TCustomComboEdit::SetNumGlyphs(int v) {
  button_->SetNumGlyphs(glyphKind_ == gkDropDown || glyphKind_ == gkEllipsis ? 1 : v);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind v) {
  glyphKind_ = v;
  ApplyGlyphKind();
}

void TCustomComboEdit::ApplyGlyphKind() {
  TBitmap bitmap;
  switch (glyphKind_) {
    case gkDefault: DefaultGlyph(bitmap); break;
    case gkEllipsis: {
      bitmap.SetSize(12, 4);
      bitmap.Canvas()->Brush()->SetColor(clWhite);
      bitmap.Canvas()->FillRect(Rect(0, 0, 12, 4));
      bitmap.Canvas()->Brush()->SetColor(clBlack);
      for (int dot = 0; dot < 3; ++dot) bitmap.Canvas()->FillRect(Bounds(1 + dot * 4, 1, 2, 2));
      break;
    }
    case gkDropDown: {
      bitmap.SetSize(8, 5);
      bitmap.Canvas()->Brush()->SetColor(clWhite);
      bitmap.Canvas()->FillRect(Rect(0, 0, 8, 5));
      bitmap.Canvas()->Pen()->SetColor(clBlack);
      for (int row = 0; row < 4; ++row) {
        bitmap.Canvas()->MoveTo(row, row);
        bitmap.Canvas()->LineTo(7 - row, row);
      }
      break;
    }
    case gkCustom: return;
  }
  button_->SetGlyph(bitmap);
  button_->SetNumGlyphs(1);
  buttonWidth_ = std::max(glyphKind_ == gkDropDown ? 0 : buttonWidth_,
                          NaturalButtonWidth(glyphKind_, bitmap.Empty() ? 0 : bitmap.Width(), 1, kScrollBarWidth));
  if (glyphKind_ == gkDropDown) buttonWidth_ = kScrollBarWidth;
  PlaceButton();
}

void TCustomComboEdit::SetDirectInput(bool v) {
  directInput_ = v;
  UpdateEditReadOnly();
}

void TCustomComboEdit::SetComboReadOnly(bool v) {
  readOnly_ = v;
  UpdateEditReadOnly();
}

void TCustomComboEdit::UpdateEditReadOnly() { SetReadOnly(readOnly_ || !directInput_); }

void TCustomComboEdit::PlaceButton() {
  const bool shown = buttonWidth_ >= 2;
  button_->SetVisible(shown);
  const int w = shown ? buttonWidth_ : 0;
  button_->SetBounds(ClientWidth() - w, 0, w, ClientHeight());
  if (WidgetCreated()) SetEditTextMargins(*this, 0, w + 2);
}

void TCustomComboEdit::InitWidget() {
  TEdit::InitWidget();
  PlaceButton();
}

void TCustomComboEdit::Resize() {
  TEdit::Resize();
  PlaceButton();
}

void TCustomComboEdit::EnabledChanged() {
  TEdit::EnabledChanged();
  button_->SetEnabled(Enabled());
}

void TCustomComboEdit::DoEnter() {
  if (directInput_) TEdit::DoEnter();
  else TWinControl::DoEnter();
}

void TCustomComboEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TEdit::KeyDown(key, shift);
  if (key && ShortCut(key, shift) == clickKey_ && buttonWidth_ > 0) {
    DoClick();
    key = 0;
  }
}

void TCustomComboEdit::WndProc(TMessage& message) {
  if ((message.Msg == WM_PASTE || message.Msg == WM_CUT) && (!directInput_ || readOnly_)) return;
  TEdit::WndProc(message);
}

void TCustomComboEdit::DoClick() {
  if (readOnly_) return;
  ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
  if (OnButtonClick) OnButtonClick(this);
}

// --- TFileDirEdit ------------------------------------------------------------------------------

TFileDirEdit::TFileDirEdit(TComponent* owner) : TCustomComboEdit(owner) { SetGlyphKind(gkDefault); }

TFileDirEdit::~TFileDirEdit() {
  if (acceptFiles_ && WidgetCreated()) DragAcceptFiles(this, nullptr);
}

void TFileDirEdit::DefaultGlyph(TBitmap& bitmap) {
  // A folder: a tab and a body in yellow with a dark outline, on white (transparent).
  bitmap.SetSize(16, 14);
  TCanvas* c = bitmap.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 16, 14));
  c->Brush()->SetColor(RGB(0xF0, 0xC8, 0x40));
  c->Pen()->SetColor(RGB(0x80, 0x60, 0x00));
  c->Rectangle(1, 1, 7, 4);
  c->Rectangle(1, 3, 15, 13);
}

void TFileDirEdit::SetAcceptFiles(bool v) {
  if (v == acceptFiles_) return;
  acceptFiles_ = v;
  if (WidgetCreated()) DragAcceptFiles(this, v ? TDropFilesEvent([this](const auto& files) { DropFiles(files); }) : nullptr);
}

void TFileDirEdit::InitWidget() {
  TCustomComboEdit::InitWidget();
  if (acceptFiles_) DragAcceptFiles(this, [this](const auto& files) { DropFiles(files); });
}

void TFileDirEdit::AcceptFile(const std::string& name) { SetText(name); }

void TFileDirEdit::DropFiles(const std::vector<std::string>& files) {
  if (!acceptFiles_) return;
  ClearFileList();
  for (const std::string& f : files) AcceptFile(f);
  if (OnDropFiles) OnDropFiles(this);
}

// --- TFilenameEdit -----------------------------------------------------------------------------

TFilenameEdit::TFilenameEdit(TComponent* owner) : TFileDirEdit(owner) {
  dialog_ = new TOpenDialog(this);
  dialog_->SetTitle("Browse");
  dialog_->SetFilter("All files (*.*)|*.*");
}

void TFilenameEdit::SetDialogKind(TFileDialogKind v) {
  if (v == kind_) return;
  kind_ = v;
  // A dialog of the new kind takes over the old one's settings.
  TOpenDialog* old = dialog_;
  dialog_ = (v == dkSave || v == dkSavePicture) ? new TSaveDialog(this) : new TOpenDialog(this);
  dialog_->SetTitle(old->Title());
  dialog_->SetFilter(old->Filter());
  dialog_->SetFilterIndex(old->FilterIndex());
  dialog_->SetDefaultExt(old->DefaultExt());
  dialog_->SetInitialDir(old->InitialDir());
  dialog_->SetOptions(old->Options());
  Free(old);
}

void TFilenameEdit::SetDialogOptions(TOpenOptions v) {
  dialog_->SetOptions(v);
  if (!(v & ofAllowMultiSelect)) ClearFileList();
}

std::string TFilenameEdit::FileName() const { return UnquoteFileName(Text(), [](const std::string& n) { return FileExists(n); }); }

void TFilenameEdit::SetFileName(const std::string& name) { SetText(QuoteFileName(name)); }

std::string TFilenameEdit::LongName() const { return FileUtil::LongFileName(FileName()); }
std::string TFilenameEdit::ShortName() const { return FileUtil::ShortFileName(FileName()); }

void TFilenameEdit::AcceptFile(const std::string& name) {
  if (dialog_->Options() & ofAllowMultiSelect) {
    files_.push_back(name);
    if (files_.size() == 1) SetFileName(name);
  } else {
    SetFileName(name);
  }
}

void TFilenameEdit::ButtonClick() {
  TCustomComboEdit::ButtonClick();
  std::string name = FileName();
  bool action = true;
  if (OnBeforeDialog) OnBeforeDialog(this, name, action);
  if (!action) return;
  const std::string folder = ExtractFilePath(name);
  if (FileUtil::ValidFileName(ExtractFileName(name)) && !folder.empty() && FileUtil::DirExists(folder))
    dialog_->SetInitialDir(folder);
  dialog_->SetFileName(ExtractFileName(name));
  if (TCustomForm* form = ParentForm()) dialog_->SetHelpContext(form->HelpContext());
  action = dialog_->Execute();
  if (action) name = dialog_->FileName();
  if (OnAfterDialog) OnAfterDialog(this, name, action);
  if (!action) return;
  SetFileName(name);
  dialog_->SetInitialDir(ExtractFilePath(name));
  SetModified(true);
}
