#include "shell/open_save.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/rtf_reader.h"
#include "platform/streams.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/rich_edit_control.h"
#include "shell/document_state.h"
#include "shell/memory_status.h"
#include "shell/open_save_messages.h"
#include "shell/plain_text.h"
#include "shell/preferences_key.h"
#include "textcore/app_files.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/rich_edit_lines.h"
#include "textcore/rich_edit_messages.h"
#include "textcore/rich_edit_streaming.h"
#include "textcore/win_registry.h"

QM_CLASS_INFO(TOpenSave, TComponent, [](TClassBuilder<TOpenSave>& b) {
  using C = TOpenSave;
  b.Component<TRichEditW>("Editor", &C::Editor, &C::SetEditor)
      .Boolean("MakeBackup", &C::MakeBackup, &C::SetMakeBackup)
      .String("FileName", [](C& c) { return c.FileName(); }, &C::SetFileName)
      .Event("OnNewDoc", &C::OnNewDoc)
      .Event("OnSaveStart", &C::OnSaveStart)
      .Event("OnSaveFailure", &C::OnSaveFailure)
      .Event("OnSaveSuccess", &C::OnSaveSuccess)
      .Event("OnSaveFinish", &C::OnSaveFinish)
      .Event("OnOpenStart", &C::OnOpenStart)
      .Event("OnOpenSuccess", &C::OnOpenSuccess)
      .Event("OnOpenFailure", &C::OnOpenFailure)
      .Event("OnOpenFinish", &C::OnOpenFinish)
      .Boolean("EditHTML", &C::EditHTML, &C::SetEditHTML);
})

namespace {

constexpr const char* kMainSection = "Main";
constexpr LCID kRussian = 1049;
constexpr char16_t kObjectChar = u'\uFFFC';  // the place of an embedded object in the text

void Fire(const TNotifyEvent& event, TObject* sender) {
  if (event) event(sender);
}

// Two messages shown together.
std::string Joined(const std::string& first, const std::string& second) { return first + "\r" + second; }

// A format's name as it may stand in a message: each "&" doubled.
std::string ShownName(const std::string& name) {
  std::string out;
  for (char c : name) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

// The extension a Save As filter entry names: after the (2n-1)-th "|" of the filter, at most
// 10 characters, up to the next "|" or ";", from its "." on (".*" for "*.*").
std::string FilterExtension(const std::string& filter, int n) {
  size_t pos = 0;
  for (int bars = 0; bars < 2 * n - 1; ++bars) {
    pos = filter.find('|', pos);
    if (pos == std::string::npos) return {};
    ++pos;
  }
  std::string ext = filter.substr(pos, 10);
  ext = ext.substr(0, ext.find('|'));
  ext = ext.substr(0, ext.find(';'));
  const size_t dot = ext.find('.');
  if (dot != std::string::npos && dot > 0) ext.erase(0, dot);
  return ext;
}

// Switches the editor's request-resize notification off for the time of a load.
class TLoadEventMask {
public:
  explicit TLoadEventMask(TRichEditW& editor) : editor_(editor) {
    mask_ = editor_.Perform(EM_GETEVENTMASK);
    editor_.Perform(EM_SETEVENTMASK, 0, intptr_t(uint32_t(mask_) ^ ENM_REQUESTRESIZE));
  }
  ~TLoadEventMask() { editor_.Perform(EM_SETEVENTMASK, 0, mask_); }

private:
  TRichEditW& editor_;
  intptr_t mask_;
};

// Selects all, gives the text and the default attributes the automatic background, collapses.
void ResetEditorColors(TRichEditW& editor) {
  editor.SetSelStart(0);
  editor.SetSelLength(INT_MAX);
  editor.SelAttributes()->SetBackColor(clWindow);
  editor.DefAttributes()->SetBackColor(clWindow);
  editor.SetSelLength(0);
}

bool IsBlank(const std::u16string& text) {
  for (char16_t c : text)
    if (c > u' ') return false;
  return true;
}

// The document's text as a plain-text file holds it (objects left out).
std::u16string FileText(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text)
    if (c != kObjectChar) out += c;
  return out;
}

// True for a format of plain text.
bool IsTextFormat(const TConverterRec* format) { return format && format->Class == "TXT"; }

bool CanReadFile(const std::string& path) {
  try {
    TFileStream stream(path, fmOpenRead | fmShareDenyNone);
    char byte;
    stream.Read(&byte, 1);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

bool IsRTFFile(const std::string& path) {
  try {
    TFileStream stream(path, fmOpenRead | fmShareDenyNone);
    char head[10] = {};
    const int n = stream.Read(head, 9);
    return n >= 6 && std::string(head, size_t(n)).compare(0, 6, "{\\rtf1") == 0;
  } catch (const Exception&) {
    return false;
  }
}

// --- Life --------------------------------------------------------------------------------------

TOpenSave::TOpenSave(TComponent* owner) : TComponent(owner), userExt_(std::make_unique<TStringList>()) {
  converters_.Load();
  openDialog_ = new TOpenDialog(this);
  openDialog_->SetDefaultExt("txt");
  saveDialog_ = new TSaveDialog(this);
  saveDialog_->SetDefaultExt("txt");
  ReadSettings();
}

TOpenSave::~TOpenSave() {
  try {
    WriteSettings();
  } catch (const Exception&) {
    // The settings store cannot be written: the previous values stay.
  }
}

void TOpenSave::SetEditor(TRichEditW* editor) {
  if (editor_) editor_->RemoveFreeNotification(this);
  editor_ = editor;
  if (editor_) editor_->FreeNotification(this);
}

void TOpenSave::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == editor_) editor_ = nullptr;
}

void TOpenSave::ReadSettings() {
  TWinRegistry registry(kProductKey);
  openDialog_->SetInitialDir(registry.ReadString(kMainSection, "InitDir", ""));
  saveDialog_->SetInitialDir(openDialog_->InitialDir());
  userExt_->SetText(registry.ReadString(kMainSection, "UserExt", ""));
}

void TOpenSave::WriteSettings() {
  TWinRegistry registry(kProductKey);
  registry.WriteString(kMainSection, "InitDir", openDialog_->InitialDir());
  registry.WriteString(kMainSection, "UserExt", userExt_->Text());
}

void TOpenSave::RequireDocument() const {
  if (!editor_ || !document_) throw EInvalidOperation("TOpenSave needs an editor and a document state");
}

void TOpenSave::SetModified(bool modified) {
  editor_->SetModified(modified);
  if (modified) document_->MarkModified();
  else document_->MarkClean();
}

std::string TOpenSave::GetMsg(const std::string& key) { return OpenSaveMessage(key); }

// --- Names and formats -------------------------------------------------------------------------

std::string TOpenSave::RecoveredName(const std::string& path) {
  const std::string ext = ExtractFileExt(path);
  return path.substr(0, path.size() - ext.size()) + " (recovered)" + ext;
}

std::string TOpenSave::AutoSaveName() { return UserStateFolder() + "autosave.rtf"; }

int TOpenSave::FormatNumber() const {
  if (!format_) return -1;
  if (converters_.FindByNumber(format_->Number) == format_) return format_->Number;
  const TStringList& imports = converters_.Formats(true);
  for (int i = 0; i < imports.Count(); ++i)
    if (static_cast<TConverterRec*>(imports.Objects(i))->Name == format_->Name) return i + 1;
  return -1;
}

void TOpenSave::GetKnownExtensions(TStrings& list) const {
  converters_.GetExtensions(true, list);
  for (int i = list.Count() - 1; i >= 0; --i) {
    std::string ext = list[i];
    if (!ext.empty() && ext[0] == '*') ext.erase(0, 1);
    if (ext.find('*') != std::string::npos) list.Delete(i);
    else list.Put(i, ext);
  }
  for (int i = 0; i < userExt_->Count(); ++i)
    if (list.IndexOf((*userExt_)[i]) < 0) list.Add((*userExt_)[i]);
}

bool TOpenSave::AddPlainTextExtension(const std::string& ext) { return AddPlainTextExtensions({ext}) > 0; }

int TOpenSave::AddPlainTextExtensions(const std::vector<std::string>& exts) {
  TStringList known;
  GetKnownExtensions(known);
  int added = 0;
  for (const std::string& ext : exts) {
    std::string e = ext.empty() || ext[0] != '.' ? "." + ext : ext;
    e = AnsiLowerCase(e);
    if (e == "." || known.IndexOf(e) >= 0) continue;
    userExt_->Add(e);
    known.Add(e);
    ++added;
  }
  if (added) TWinRegistry(kProductKey).WriteString(kMainSection, "UserExt", userExt_->Text());
  return added;
}

// --- Opening -----------------------------------------------------------------------------------

std::string TOpenSave::ReadDocument(const std::string& path) {
  TFileStream stream(path, fmOpenRead | fmShareDenyNone);
  return ReadRichEditStream(*editor_, stream);
}

TPlainTextFormat TOpenSave::LoadText(const std::string& bytes) {
  TPlainText file = ReadPlainText(bytes, editor_->CodePage());
  editor_->Clear();
  editor_->SetPlainText(true);
  ResetEditorColors(*editor_);
  editor_->SetInputFormat(ifText);
  editor_->SetOutputFormat(ofText);
  LoadRichEditText(*editor_, file.Text);
  return std::move(file.Format);
}

void TOpenSave::LoadRtf(const std::string& bytes) {
  editor_->SetInputFormat(ifRTF);
  editor_->SetOutputFormat(ofRTF);
  editor_->SetPlainText(false);
  // A file that says it is RTF but cannot be read as such is refused, never shown as its
  // source (a save would then write that source over the file as a different document).
  if (IsRtf(bytes))
    LoadRichEditRtf(*editor_, bytes);
  else
    LoadRichEditData(*editor_, bytes);
}

void TOpenSave::Opened(const std::string& path, TConverterRec* format, const TPlainTextFormat& text, bool recovered) {
  fileName_ = path;
  diskStamp_ = GetFileStamp(path);
  format_ = format;
  text_ = text;
  fileBytes_.reset();
  SetModified(false);
  Fire(OnOpenSuccess, this);
  // The recovered text is not what the file holds: it still has to be saved.
  if (recovered) SetModified(true);
}

int TOpenSave::LoadFile(const std::string& path, TConverterRec* format) {
  RequireDocument();
  std::string source = path;
  bool recovered = false;
  const std::string recovery = RecoveredName(path);
  const auto fileTime = FileModificationTime(path), recoveryTime = FileModificationTime(recovery);
  if (FileExists(recovery) && fileTime && recoveryTime && *recoveryTime > *fileTime) {
    const int answer = MessageDlg(GetMsg("MainOpenRecover"), mtConfirmation, mbYesNoCancel);
    if (answer == mrYes) {
      source = recovery;
      recovered = true;
    } else if (answer != mrNo) {
      return 0;
    }
  }
  if (!format) return -1;

  // The file is read whole before the editor is touched: a read that fails or is stopped
  // leaves the document, its name and its format as they were.
  TConverterRec* loadedAs = format;
  TPlainTextFormat text;
  try {
    TLoadEventMask mask(*editor_);
    const std::string& cls = format->Class;
    if (cls == "TXT") {
      text = LoadText(ReadDocument(source));
    } else if (cls == "RTF") {
      LoadRtf(ReadDocument(source));
    } else if (!cls.empty()) {
      const int imported = converters_.Import(source, *format, *editor_);
      if (imported == 0) return 0;  // stopped by the user
      if (imported == -2 || (imported == -1 && !IsRTFFile(source))) {
        Fire(OnOpenFailure, this);
        return imported;
      }
      if (imported == -1) LoadRtf(ReadDocument(source));
    } else {
      // "All Files": the extension decides, and the document takes the format it was read in.
      const std::string bytes = ReadDocument(source);
      if (AnsiLowerCase(ExtractFileExt(path)) == ".rtf") {
        LoadRtf(bytes);
        loadedAs = converters_.FindByClass(true, "RTF");
      } else {
        text = LoadText(bytes);
        loadedAs = converters_.FindByClass(true, "TXT");
      }
    }
  } catch (const EUserInterrupt&) {
    return 0;  // stopped by the user: nothing more is tried or asked
  } catch (const EConvertError& e) {
    MessageDlg(Joined(FormatMessageText(GetMsg("MainOpenRtfFail"), {path}), e.what()), mtError, mbOK);
    Fire(OnOpenFailure, this);
    return -3;
  } catch (const std::exception&) {
    return -1;
  }
  Opened(path, loadedAs, text, recovered);
  return 1;
}

int TOpenSave::OpenFile(const std::string& path) {
  RequireDocument();
  if (FileExists(path) && !CloseQuery()) return -1;
  return OpenDetected(path);
}

int TOpenSave::OpenDetected(const std::string& path) {
  if (!FileExists(path)) {
    MessageDlg(FormatMessageText(GetMsg("MainOpenFail0"), {path}), mtError, mbOK);
    Fire(OnOpenFailure, this);
    return -2;
  }
  if (RefusedAsTooLarge(path)) return -2;
  Fire(OnOpenStart, this);
  int result = -1;
  auto openAsText = [&] {
    try {
      const std::string bytes = ReadDocument(path);
      TConverterRec* text = converters_.FindByClass(true, "TXT");
      TLoadEventMask mask(*editor_);
      const TPlainTextFormat format = LoadText(bytes);
      Opened(path, text, format, false);
      result = text->Number;
    } catch (const EUserInterrupt&) {
      result = -1;  // stopped by the user: the document stays as it was
    } catch (const std::exception&) {
      MessageDlg(GetMsg("MainOpenFail6"), mtWarning, mbOK);
      Fire(OnOpenFailure, this);
      result = -2;
    }
  };

  const std::string ext = AnsiLowerCase(ExtractFileExt(path));
  TStringList formats;
  if (!ext.empty()) converters_.GetConverters(true, ext, formats);
  if (!CanReadFile(path)) {
    MessageDlg(GetMsg("MainOpenFail6"), mtWarning, mbOK);
    Fire(OnOpenFailure, this);
    result = -2;
  } else if (formats.Count() > 0) {
    bool settled = false;
    for (int i = 0; i < formats.Count() && !settled; ++i) {
      auto* format = static_cast<TConverterRec*>(formats.Objects(i));
      int loaded;
      try {
        loaded = LoadFile(path, format);
      } catch (const Exception&) {
        MessageDlg("\"" + ShownName(format->Name) + "\" failed.", mtError, mbOK);
        loaded = -1;
      }
      settled = loaded != -1;
      if (loaded == -2 || loaded == -3) result = -2;
      else if (loaded == 1) result = FormatNumber();
    }
    if (!settled &&
        MessageDlg(Joined(GetMsg("MainOpenFail3"), GetMsg("MainOpenFail5")), mtConfirmation, mbYes | mbCancel) == mrYes)
      openAsText();
  } else if (userExt_->IndexOf(ext) < 0 && !IsTextFile(path)) {
    // The user's plain-text extensions open as text whatever the content check says.
    MessageDlg(GetMsg("MainOpenFail3"), mtError, mbOK);
  } else {
    openAsText();
  }
  Fire(OnOpenFinish, this);
  return result;
}

bool TOpenSave::RefusedAsTooLarge(const std::string& path) {
  const int64_t size = FileSize(path);
  const uint64_t availableKB = ReadMemoryStatus().AvailableKB;
  if (size < 0 || FileFitsInMemory(uint64_t(size), availableKB)) return false;
  const auto mb = [](uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20); };
  if (FileFitsInMemory(uint64_t(size), 0))
    MessageDlg(FormatMessageText(GetMsg("MainOpenTooLarge"),
                                 {path, mb(uint64_t(size) * kLoadBytesPerFileByte), mb(availableKB << 10)}),
               mtError, mbOK);
  else
    MessageDlg(FormatMessageText(GetMsg("MainOpenTooLong"), {path}), mtError, mbOK);
  Fire(OnOpenFailure, this);
  return true;
}

bool TOpenSave::AfterChosenLoad(const std::string& path, TConverterRec* format, int result) {
  if (result == -1) {
    const std::string name = format ? ShownName(format->Name) : std::string();
    const std::string question =
        Joined(FormatMessageText(GetMsg("MainOpenFail1"), {name}), GetMsg("MainOpenFail2"));
    if (MessageDlg(question, mtConfirmation, mbYesNoCancel) != mrYes) return false;
    const int detected = OpenDetected(path);
    if (detected > 0) openDialog_->SetFilterIndex(detected);
    return true;
  }
  if (result == -2) MessageDlg(GetMsg("MainOpenFail6"), mtWarning, mbOK);
  return result == 1;
}

void TOpenSave::Open() {
  RequireDocument();
  if (!CloseQuery()) return;
  openDialog_->SetFilter(converters_.BuildFilter(true));
  const int preselected = FormatNumber();
  if (preselected > 0) openDialog_->SetFilterIndex(preselected);
  // The progress of the open starts once there is a file to open, not while the dialog waits.
  if (!openDialog_->Execute()) return;
  Fire(OnOpenStart, this);
  const std::string path = openDialog_->FileName();
  openDialog_->SetInitialDir(ExtractFilePath(path));
  const int index = openDialog_->FilterIndex();
  TConverterRec* format = index == 1 ? nullptr : converters_.FindByNumber(index);
  // An RTF file picked under the plain-text filter the dialog started with opens as RTF: only
  // a plain-text filter the user chose for it opens it as its source.
  if (IsTextFormat(format) && index == preselected && IsRTFFile(path)) format = nullptr;
  bool opened;
  if (!format) {
    const int detected = OpenDetected(path);
    if (detected > 0) openDialog_->SetFilterIndex(detected);
    opened = detected > 0;
  } else {
    opened = !RefusedAsTooLarge(path) && AfterChosenLoad(path, format, LoadFile(path, format));
  }
  if (opened) {
    editor_->SetReadOnly((openDialog_->Options() & ofReadOnly) != 0);
    openDialog_->SetFileName("");
  }
  Fire(OnOpenFinish, this);
}

void TOpenSave::OpenRecent(const std::string& path, int formatNumber) {
  RequireDocument();
  if (!FileExists(path)) {
    OpenDetected(path);  // says that the file is missing
    return;
  }
  if (!CloseQuery()) return;
  Fire(OnOpenStart, this);
  // A number that names no format (its converter was removed since) is detected anew, and so
  // is an RTF file remembered as plain text.
  TConverterRec* format = formatNumber >= 0 ? converters_.FindByNumber(formatNumber) : nullptr;
  if (IsTextFormat(format) && IsRTFFile(path)) format = nullptr;
  if (format) {
    if (!RefusedAsTooLarge(path)) AfterChosenLoad(path, format, LoadFile(path, format));
  } else {
    const int detected = OpenDetected(path);
    if (detected > 0) openDialog_->SetFilterIndex(detected);
  }
  Fire(OnOpenFinish, this);
}

void TOpenSave::New() {
  RequireDocument();
  if (!CloseQuery()) return;
  editor_->Paragraph()->SetLeftIndent(0);
  editor_->Paragraph()->SetFirstIndent(0);
  editor_->Lines()->Clear();
  SetModified(false);
  editor_->SetReadOnly(false);
  fileName_.clear();
  diskStamp_ = {};
  format_ = nullptr;
  text_ = TPlainTextFormat();
  fileBytes_.reset();
  Fire(OnNewDoc, this);
}

bool TOpenSave::CloseQuery() {
  RequireDocument();
  if (!document_->Modified()) return true;
  if (fileName_.empty() && IsBlank(editor_->GetTextW())) return true;
  const std::string shown = fileName_.empty() ? "Untitled" : fileName_;
  switch (MessageDlg(FormatMessageText(GetMsg("MainConfirmSave"), {shown}), mtConfirmation, mbYesNoCancel)) {
    case mrYes:
      Save();
      return saved_;
    case mrNo:
      DeleteFile(fileName_.empty() ? AutoSaveName() : RecoveredName(fileName_));
      return true;
    default:
      return false;
  }
}

// --- Saving ------------------------------------------------------------------------------------

bool TOpenSave::Save() {
  RequireDocument();
  // Only the program's own recovery copy of a new document is no file of the user's.
  if (fileName_.empty() || fileName_ == AutoSaveName()) return SaveAs();
  if (fileBytes_) {
    // Decoded on open: unedited, the file keeps its own bytes; edited, its text is saved in
    // the encoding chosen in Save As.
    if (document_->Modified()) return SaveAs();
    Write(fileName_, ExportFormat(), false, text_, &*fileBytes_);
    return saved_;
  }
  Write(fileName_, ExportFormat(), false, text_, nullptr);
  return saved_;
}

bool TOpenSave::SaveAs() {
  RequireDocument();
  saved_ = false;
  const std::string filter = converters_.BuildFilter(false, [](const TConverterRec& format) {
    return format.CodePage ? FormatMessageText(GetMsg("PlainTextType"), {EncodingName(format.CodePage)}) : format.Name;
  });
  saveDialog_->SetFilter(filter);
  const TConverterRec* current = ExportFormat();
  saveDialog_->SetFilterIndex(current ? current->Number : 1);
  if (!saveDialog_->Execute()) return false;

  std::string name = saveDialog_->FileName();
  saveDialog_->SetInitialDir(ExtractFilePath(name));
  const TStringList& exports = converters_.Formats(false);
  const int index = std::clamp(saveDialog_->FilterIndex(), 1, exports.Count());
  auto* format = static_cast<TConverterRec*>(exports.Objects(index - 1));
  const std::string ext = FilterExtension(filter, index);
  if (ext != ".*") {
    name = ChangeFileExt(name, ext);
  } else if (!format->DefaultExt.empty()) {
    // A format that takes any extension keeps one that opens as plain text again; any other
    // (a "report.doc" saved as plain text) becomes the format's own, so that the file is not
    // claimed by the RTF reader or a converter when it is opened again.
    TStringList claims;
    converters_.GetConverters(true, ExtractFileExt(name), claims);
    bool plain = userExt_->IndexOf(AnsiLowerCase(ExtractFileExt(name))) >= 0;
    for (int i = 0; i < claims.Count() && !plain; ++i)
      plain = static_cast<TConverterRec*>(claims.Objects(i))->Class == "TXT";
    if (!plain || ExtractFileExt(name).empty()) name = ChangeFileExt(name, "." + format->DefaultExt);
  }
  DoSave(name, format, false);
  saveDialog_->SetFileName("");
  return saved_;
}

void TOpenSave::AutoSave() {
  RequireDocument();
  TConverterRec* rtf = converters_.FindByClass(false, "RTF");
  if (!fileName_.empty() && fileName_ != "Untitled") {
    TConverterRec* format = ExportFormat();
    Write(RecoveredName(fileName_), format ? format : rtf, true, text_, nullptr);
  } else {
    ForceDirectories(ExtractFilePath(AutoSaveName()));
    Write(AutoSaveName(), rtf, true, text_, nullptr);
  }
}

bool TOpenSave::SerialiseText(bool autoSave, TPlainTextFormat& format, std::string& data) {
  // Plain text keeps no pictures or objects: the user says first whether they may go.
  if (!autoSave && editor_->Control().ObjectCount() > 0 &&
      MessageDlg(GetMsg("MainSaveObjects"), mtConfirmation, mbYesNo) != mrYes)
    return false;
  const std::u16string text = FileText(editor_->GetTextW());
  bool lossy = false;
  data = EncodePlainText(text, format, &lossy);
  if (lossy) {
    if (!autoSave) {
      const int answer = MessageDlg(GetMsg("MainSaveLossy"), mtConfirmation, mbYesNoCancel);
      if (answer != mrYes && answer != mrNo) return false;
      lossy = answer == mrYes;
    }
    if (lossy) {
      // Unicode text on this platform is UTF-8; what UTF-8 cannot hold (a lone surrogate of a
      // UTF-16 file) stays in UTF-16.
      const bool utf8 = format.Encoding == TTextEncoding::Utf8 || format.Encoding == TTextEncoding::Utf8Bom;
      format = WithCodePage(format, utf8 ? CP_UTF16 : CP_UTF8);
      data = EncodePlainText(text, format);
    }
  }
  KeepLineEnds(text, format);
  return true;
}

void TOpenSave::Backup(const std::string& name) {
  const std::string ext = ExtractFileExt(name);
  const std::string backup = ChangeFileExt(name, ".~" + (ext.empty() ? ext : ext.substr(1)));
  WriteFileAtomic(backup, ReadFileBytes(name));
}

void TOpenSave::DoSave(const std::string& name, TConverterRec* format, bool autoSave) {
  Write(name, format, autoSave, format && format->CodePage ? WithCodePage(text_, format->CodePage) : text_, nullptr);
}

TConverterRec* TOpenSave::ExportFormat() const {
  if (!IsTextFormat(format_)) return converters_.FindExport(format_);
  if (fileBytes_) return converters_.FindTextExport(CP_UTF8);
  TConverterRec* own = converters_.FindTextExport(EncodingCodePage(text_));
  return own ? own : converters_.FindExport(format_);
}

std::string TOpenSave::EncodingText() const {
  if (format_ && !IsTextFormat(format_)) return format_->Class == "RTF" ? "RTF" : format_->Name;
  if (fileBytes_) return GetMsg("EncodingDecoded");
  const std::string name = EncodingName(EncodingCodePage(text_));
  const bool marked = text_.Encoding == TTextEncoding::Utf8Bom || !text_.Head.empty();
  return marked ? FormatMessageText(GetMsg("EncodingMarked"), {name}) : name;
}

void TOpenSave::SetDecodedText(const std::u16string& text) {
  RequireDocument();
  fileBytes_ = EncodePlainText(FileText(editor_->GetTextW()), text_);
  editor_->SetTextW(text);
}

void TOpenSave::Write(const std::string& name, TConverterRec* format, bool autoSave, const TPlainTextFormat& ownText,
                      const std::string* fileBytes) {
  RequireDocument();
  saved_ = false;
  if (!autoSave && name != fileName_ && FileExists(name) &&
      MessageDlg(FormatMessageText(GetMsg("MainIsRecoverInfo"), {name}), mtConfirmation, mbYesNoCancel) != mrYes)
    return;
  // Another program changed (or removed) the file since it was opened or saved here: its work
  // is not overwritten without a word.
  if (!autoSave && name == fileName_ && diskStamp_.Exists && !(GetFileStamp(name) == diskStamp_) &&
      MessageDlg(FormatMessageText(GetMsg("MainFileChanged"), {name}), mtConfirmation, mbYesNo) != mrYes)
    return;

  editor_->SetLanguage(kRussian);  // 8-bit text is written in code page 1251
  editor_->SetOutputFormat(ofUnicode);
  if (!autoSave) Fire(OnSaveStart, this);
  editor_->SetSelectedInOut(false);

  if (!format) {
    SaveAs();
  } else {
    std::string target = name;
    try {
      const bool backup = !autoSave && makeBackup_ && FileExists(target);
      std::string cls = format->Class;
      if (cls.empty()) {
        // No format of its own: the name's extension decides between RTF and text.
        const std::string lower = AnsiLowerCase(target);
        cls = lower.find(".rtf") != std::string::npos ? "RTF" : "TXT";
        if (lower.find(".rtf") != std::string::npos) target = ChangeFileExt(target, ".rtf");
        else if (lower.find(".txt") != std::string::npos) target = ChangeFileExt(target, ".txt");
      }
      TPlainTextFormat text = ownText;
      bool written = true;
      if (cls == "TXT" || cls == "RTF") {
        std::string data;
        if (cls == "RTF") {
          editor_->SetOutputFormat(ofRTF);
          TStringStream stream;
          editor_->Lines()->SaveToStream(stream);
          data = stream.DataString();
        } else if (fileBytes) {
          data = *fileBytes;
        } else if (!SerialiseText(autoSave, text, data)) {
          written = false;  // the user chose not to save
        }
        if (written) {
          if (backup) Backup(target);
          WriteFileAtomic(target, data);
        }
      } else {
        if (backup) Backup(target);
        written = converters_.Export(target, *format, *editor_);
        if (!written && !autoSave) {
          const std::string question = Joined(
              FormatMessageText(GetMsg("MainSaveFail1"), {ExtractFileName(target), ShownName(format->Name)}),
              GetMsg("MainSaveFail2"));
          if (MessageDlg(question, mtConfirmation, mbYes | mbCancel) == mrYes) SaveAs();
        }
      }
      if (written && !autoSave) {
        const std::string previous = fileName_;
        fileName_ = target;
        diskStamp_ = GetFileStamp(target);
        if (cls != "TXT") format_ = format->Class.empty() ? converters_.FindByClass(false, cls) : format;
        else if (!IsTextFormat(format_)) format_ = converters_.FindByClass(true, "TXT");
        if (cls == "TXT") text_ = text;
        if (!fileBytes) fileBytes_.reset();
        saved_ = true;
        SetModified(false);
        Fire(OnSaveSuccess, this);
        // The work is safe in the file now: no recovery copy of it stays, also none left under
        // the name it had before a Save As (opening that file would offer it again).
        DeleteFile(RecoveredName(target));
        if (!previous.empty() && previous != target) DeleteFile(RecoveredName(previous));
      }
    } catch (const std::exception& e) {
      saved_ = false;
      if (!autoSave) {
        Fire(OnSaveFailure, this);
        MessageDlg(Joined(FormatMessageText(GetMsg("MainSaveFail0"), {target}), e.what()), mtError, mbOK);
      }
    }
  }
  if (!autoSave) Fire(OnSaveFinish, this);
}
