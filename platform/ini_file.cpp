#include "platform/ini_file.h"

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/ini_document.h"
#include "platform/number_text.h"
#include "platform/string_list.h"

namespace {

// Reads an INI file into `document`; a missing file gives an empty document.
void LoadDocument(const std::string& fileName, IniDocument& document) {
  if (!FileExists(fileName) && !DirectoryExists(fileName)) {
    document.Parse({});
    return;
  }
  document.Parse(ReadFileBytes(fileName));
}

}  // namespace

// --- TCustomIniFile ------------------------------------------------------------------------------

TCustomIniFile::TCustomIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

TCustomIniFile::~TCustomIniFile() = default;

std::string TCustomIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                       const std::string& Default) const {
  std::optional<std::string> value = Document().Value(Section, Ident);
  return value ? StoredToValue(*value) : Default;
}

void TCustomIniFile::WriteString(const std::string& Section, const std::string& Ident,
                                 const std::string& Value) {
  Modify([&](IniDocument& document) { return document.Set(Section, Ident, Value); });
}

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  return ParseInteger(ReadString(Section, Ident, {})).value_or(Default);
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, std::to_string(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& Section, const std::string& Ident, double Default) const {
  return ParseFloat(ReadString(Section, Ident, {})).value_or(Default);
}

void TCustomIniFile::WriteFloat(const std::string& Section, const std::string& Ident, double Value) {
  WriteString(Section, Ident, FormatFloat(Value));
}

void TCustomIniFile::ReadSection(const std::string& Section, TStrings& Strings) const {
  std::vector<std::string> keys;
  for (auto& [key, value] : Document().Entries(Section)) keys.push_back(key);
  AssignStrings(Strings, keys);
}

void TCustomIniFile::ReadSections(TStrings& Strings) const { AssignStrings(Strings, Document().SectionNames()); }

void TCustomIniFile::ReadSectionValues(const std::string& Section, TStrings& Strings) const {
  std::vector<std::string> lines;
  for (auto& [key, value] : Document().Entries(Section))
    lines.push_back(value ? key + "=" + StoredToValue(*value) : key);
  AssignStrings(Strings, lines);
}

bool TCustomIniFile::SectionExists(const std::string& Section) const { return Document().HasSection(Section); }

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  return Document().HasKey(Section, Ident);
}

void TCustomIniFile::EraseSection(const std::string& Section) {
  Modify([&](IniDocument& document) { return document.EraseSection(Section); });
}

void TCustomIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  Modify([&](IniDocument& document) { return document.DeleteKey(Section, Ident); });
}

// --- TIniFile ------------------------------------------------------------------------------------

struct TIniFile::Cache {
  IniDocument document;
  TFileStamp stamp;
  bool loaded = false;
};

TIniFile::TIniFile(const std::string& FileName) : TCustomIniFile(FileName), FCache(std::make_unique<Cache>()) {}

TIniFile::~TIniFile() = default;

const IniDocument& TIniFile::Document() const {
  TFileStamp stamp = GetFileStamp(FileName());
  if (!FCache->loaded || stamp != FCache->stamp) {
    FCache->loaded = false;
    LoadDocument(FileName(), FCache->document);
    FCache->stamp = stamp;
    FCache->loaded = true;
  }
  return FCache->document;
}

void TIniFile::Modify(const std::function<bool(IniDocument&)>& change) {
  // Always start from the file as it is now, so that changes made by others survive.
  FCache->loaded = false;
  TFileStamp stamp = GetFileStamp(FileName());
  LoadDocument(FileName(), FCache->document);
  FCache->stamp = stamp;
  FCache->loaded = true;
  if (!change(FCache->document)) return;
  FCache->loaded = false;
  WriteFileAtomic(FileName(), FCache->document.Text());
  FCache->stamp = GetFileStamp(FileName());
  FCache->loaded = true;
}

std::string TIniFile::StoredToValue(const std::string& Stored) const {
  if (Stored.size() >= 2 && (Stored.front() == '"' || Stored.front() == '\'') && Stored.back() == Stored.front())
    return Stored.substr(1, Stored.size() - 2);
  return Stored;
}

// --- TMemIniFile ---------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const std::string& FileName)
    : TCustomIniFile(FileName), FDocument(std::make_unique<IniDocument>()) {
  LoadDocument(FileName, *FDocument);
}

TMemIniFile::~TMemIniFile() = default;

const IniDocument& TMemIniFile::Document() const { return *FDocument; }

void TMemIniFile::Modify(const std::function<bool(IniDocument&)>& change) { change(*FDocument); }

void TMemIniFile::UpdateFile() { WriteFileAtomic(FileName(), FDocument->Text()); }

void TMemIniFile::SetStrings(const TStrings& List) {
  std::vector<std::string> lines;
  for (int i = 0; i < List.Count(); ++i) lines.push_back(List[i]);
  FDocument->ParseLines(lines);
}

void TMemIniFile::GetStrings(TStrings& List) const { AssignStrings(List, FDocument->Lines()); }

void TMemIniFile::Clear() { FDocument->Parse({}); }

void TMemIniFile::Rename(const std::string& FileName, bool Reload) {
  SetFileName(FileName);
  if (Reload) LoadDocument(FileName, *FDocument);
}
