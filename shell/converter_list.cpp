#include "shell/converter_list.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/registry.h"
#include "platform/streams.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "shell/import_thread.h"
#include "shell/plain_text.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_lines.h"

namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

bool SameTextAscii(const std::string& a, const std::string& b) { return LowerAscii(a) == LowerAscii(b); }

std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = text.find_first_not_of(' ', pos);
    if (start == std::string::npos) break;
    const size_t end = std::min(text.find(' ', start), text.size());
    tokens.push_back(text.substr(start, end - start));
    pos = end;
  }
  return tokens;
}

// The export of the running conversion: the input callback has no context argument.
struct TExportState {
  const std::string* Rtf = nullptr;
  size_t Position = 0;
  char* Buffer = nullptr;
};
thread_local TExportState* currentExport = nullptr;

long ExportInput(long /*reserved*/, long /*percent*/) {
  TExportState* state = currentExport;
  if (!state || !state->Buffer) return -8;
  const size_t n = std::min<size_t>(QM_CONV_BUFFER_SIZE, state->Rtf->size() - state->Position);
  std::copy_n(state->Rtf->data() + state->Position, n, state->Buffer);
  state->Position += n;
  return long(n);
}

// The hourglass for the time of a conversion.
class TBusyCursor {
public:
  TBusyCursor() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~TBusyCursor() {
    if (Screen) Screen->SetCursor(crDefault);
  }
};

// Marks a conversion as running; a second one at the same time is refused.
class TRunningGuard {
public:
  explicit TRunningGuard(bool& running) : running_(running) {
    if (running_) throw EInvalidOperation("A text converter is already running");
    running_ = true;
  }
  ~TRunningGuard() { running_ = false; }

private:
  bool& running_;
};

// A free name beside `fileName` for the converter to write before it replaces the file.
std::string TemporaryName(const std::string& fileName) {
  static std::atomic<unsigned> counter{0};
  return ExtractFilePath(fileName) + "." + ExtractFileName(fileName) + "." +
         std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
}

}  // namespace

bool TConverterRec::HasExtension(const std::string& ext) const {
  for (const std::string& token : Tokens(Extensions))
    if (SameTextAscii(token, ext)) return true;
  return false;
}

TConverterList::TConverterList() = default;
TConverterList::~TConverterList() = default;

TConverterRec* TConverterList::Add(bool import, std::string cls, std::string name,
                                   std::string extensions, std::string defaultExt, bool builtIn) {
  auto record = std::make_unique<TConverterRec>();
  TStringList& list = import ? imports_ : exports_;
  record->Number = list.Count() + 1;
  record->Class = std::move(cls);
  record->Name = std::move(name);
  record->Extensions = std::move(extensions);
  record->DefaultExt = std::move(defaultExt);
  record->BuiltIn = builtIn;
  list.AddObject(record->Name, record.get());
  records_.push_back(std::move(record));
  return records_.back().get();
}

void TConverterList::AddInstalled(bool import) {
  const std::string base = import ? ImportConvertersKey : ExportConvertersKey;
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(base)) return;
  TStringList keys;
  registry.GetKeyNames(keys);
  for (int i = 0; i < keys.Count(); ++i) {
    if (!registry.OpenKeyReadOnly("\\" + base + "\\" + keys[i])) continue;
    std::string path, name, extensions;
    try {
      path = registry.ReadString("Path");
      name = registry.ReadString("Name");
      extensions = registry.ReadString("Extensions");
    } catch (const ERegistryException&) {
      continue;  // an entry with values of the wrong type is no usable converter
    }
    if (path.empty()) continue;
    const std::vector<std::string> tokens = Tokens(extensions);
    Add(import, path, name, extensions, tokens.empty() ? "" : tokens[0], false);
  }
}

void TConverterList::Load() {
  library_.Unload();
  imports_.Clear();
  exports_.Clear();
  records_.clear();

  Add(true, "", "All Files", "*", "", true);
  Add(true, "TXT", "Plain Text", "txt asc me 1st now diz nfo", "txt", true);
  Add(true, "TXT", "Source Files", "ini inf bat qg c cpp h pas pl cgi dpr", "", true);
  Add(true, "TXT", "HTML as Text", "shtml shtm inc html htm htx asp xml", "html", true);
  Add(true, "TXT", "Backup Files", "bak ~*", "", true);
  Add(true, "RTF", "Rich Text Format", "rtf", "rtf", true);
  AddInstalled(true);

  // Plain text in each encoding the program writes: UTF-8 first, this platform's own.
  for (unsigned codePage : {65001u, 1251u, 866u, 28595u, 20866u, 10007u, 1200u})
    Add(false, "TXT", "Plain Text (" + EncodingName(codePage) + ")", "*", "txt", true)->CodePage = codePage;
  Add(false, "RTF", "Rich Text Format", "rtf", "rtf", true);
  AddInstalled(false);
}

std::string TConverterList::BuildFilter(bool import,
                                        const std::function<std::string(const TConverterRec&)>& shownName) const {
  const TStringList& list = Formats(import);
  std::string filter;
  for (int i = 0; i < list.Count(); ++i) {
    const auto* record = static_cast<const TConverterRec*>(list.Objects(i));
    std::string patterns;
    for (const std::string& ext : Tokens(record->Extensions))
      patterns += (patterns.empty() ? "*." : ";*.") + ext;
    if (!filter.empty()) filter += '|';
    filter += (shownName ? shownName(*record) : record->Name) + "|" + patterns;
  }
  return filter;
}

void TConverterList::GetConverters(bool import, const std::string& ext, TStrings& list) const {
  std::string key = ext;
  if (!key.empty() && key[0] == '.') key.erase(0, 1);
  key.erase(0, key.find_first_not_of('~') == std::string::npos ? key.size() : key.find_first_not_of('~'));
  if (!key.empty() && key[0] == '.') key.erase(0, 1);
  const TStringList& formats = Formats(import);
  for (int i = 0; i < formats.Count(); ++i) {
    auto* record = static_cast<TConverterRec*>(formats.Objects(i));
    if (ext.empty() || record->HasExtension(key)) list.AddObject(record->Name, record);
  }
}

void TConverterList::GetExtensions(bool import, TStrings& list) const {
  const TStringList& formats = Formats(import);
  for (int i = 0; i < formats.Count(); ++i) {
    auto* record = static_cast<TConverterRec*>(formats.Objects(i));
    for (const std::string& ext : Tokens(record->Extensions)) {
      const std::string pattern = "*." + AnsiLowerCase(ext);
      if (list.IndexOf(pattern) < 0) list.AddObject(pattern, record);
    }
  }
}

TConverterRec* TConverterList::FindByClass(bool import, const std::string& cls) const {
  const std::string wanted = !cls.empty() && cls[0] == '.' ? cls.substr(1) : cls;
  const TStringList& formats = Formats(import);
  for (int i = 0; i < formats.Count(); ++i) {
    auto* record = static_cast<TConverterRec*>(formats.Objects(i));
    if (SameTextAscii(record->Class, wanted)) return record;
  }
  return nullptr;
}

TConverterRec* TConverterList::FindTextExport(unsigned codePage) const {
  for (int i = 0; i < exports_.Count(); ++i) {
    auto* record = static_cast<TConverterRec*>(exports_.Objects(i));
    if (record->Class == "TXT" && record->CodePage == codePage) return record;
  }
  return nullptr;
}

TConverterRec* TConverterList::FindByNumber(int number) const {
  if (number < 1 || number > imports_.Count()) return nullptr;
  return static_cast<TConverterRec*>(imports_.Objects(number - 1));
}

TConverterRec* TConverterList::FindExport(const TConverterRec* format) const {
  if (!format) return nullptr;
  auto find = [this](auto match) -> TConverterRec* {
    for (int i = 0; i < exports_.Count(); ++i) {
      auto* record = static_cast<TConverterRec*>(exports_.Objects(i));
      if (match(*record)) return record;
    }
    return nullptr;
  };
  if (auto* r = find([&](const TConverterRec& e) { return e.Name == format->Name; })) return r;
  if (auto* r = find([&](const TConverterRec& e) { return e.Class == format->Class; })) return r;
  if (auto* r = find([&](const TConverterRec& e) {
        return !e.Name.empty() && !format->Name.empty() &&
               (e.Name.find(format->Name) != std::string::npos ||
                format->Name.find(e.Name) != std::string::npos);
      }))
    return r;
  return FindByClass(false, "RTF");
}

bool TConverterList::Initialise(const TConverterRec& format) {
  if (format.Class.empty()) return false;
  library_.Load(format.Class);
  if (!library_.InitConverter) return false;
  const std::string program = AnsiUpperCase(Application ? Application->ExeName() : std::string());
  return library_.InitConverter(0, program.c_str()) != 0;
}

int TConverterList::Import(const std::string& fileName, const TConverterRec& format, TRichEditW& editor) {
  TRunningGuard running(running_);
  lastError_.clear();
  if (!Initialise(format)) {
    ShowMessage("Please report: InitConverter failed");
    return -1;
  }
  {
    TConvBlock file = ConverterFileName(fileName);
    TConvBlock description = TConvBlock::Text({});
    if (!library_.IsFormatCorrect || library_.IsFormatCorrect(file.Get(), description.Get()) == 0) return -1;
  }

  TBusyCursor busy;
  TImportThread thread(fileName, library_.ForeignToRtf, library_.FetchError);
  thread.Resume();
  // The progress display follows the converter and its Stop ends the import.
  bool stopped = false;
  auto report = [&] {
    if (OnImportProgress && OnImportProgress(nullptr, thread.Percent()) && !stopped) {
      stopped = true;
      thread.Stop();
    }
  };
  while (!thread.WaitFor(std::chrono::milliseconds(10))) {
    if (OnImportProgress) report();
    else if (Application) Application->ProcessMessages();
  }
  if (thread.Result() == 1) report();
  if (stopped) return 0;
  if (thread.Result() != 1) {
    lastError_ = thread.ErrorText();
    return -2;
  }
  TStringStream stream(thread.Rtf());
  editor.SetInputFormat(ifRTF);
  editor.SetOutputFormat(ofRTF);
  editor.SetPlainText(false);
  editor.Lines()->LoadFromStream(stream);
  return 1;
}

bool TConverterList::Export(const std::string& fileName, const TConverterRec& format, TRichEditW& editor) {
  TRunningGuard running(running_);
  if (!Initialise(format)) {
    ShowMessage("Converter cannot be initialized. Could be a bad converter or system is low on resources.");
    return false;
  }
  TBusyCursor busy;
  if (!library_.RtfToForeign) {
    ShowMessage("Could not export document.");
    return false;
  }
  TStringStream stream;
  editor.SetOutputFormat(ofRTF);
  editor.Lines()->SaveToStream(stream);
  const std::string& rtf = stream.DataString();

  // The converter writes a new file beside the old one, which is replaced only when complete.
  const std::string temporary = TemporaryName(fileName);
  TConvBlock file = ConverterFileName(temporary);
  TConvBlock buffer(QM_CONV_BUFFER_SIZE);
  TConvBlock className = TConvBlock::Text({});
  TExportState state{&rtf, 0, buffer.Data()};
  currentExport = &state;
  const long error = library_.RtfToForeign(file.Get(), nullptr, buffer.Get(), className.Get(), &ExportInput);
  currentExport = nullptr;
  if (error == 0 && FileExists(temporary) && RenameFile(temporary, fileName)) return true;
  DeleteFile(temporary);
  return false;
}
