#include "shell/file_association.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/registry.h"
#include "platform/string_list.h"

namespace {

constexpr int kFieldSize = 256;
constexpr int kRecordSize = 1539;

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// The open command for `program`, quoted so that a document path with blanks stays one argument.
std::string QuotedOpen(const std::string& program) { return "\"" + program + "\" \"%1\""; }

// "verb|command," pairs; a piece without "|" belongs to the previous command (its own ",").
std::vector<std::pair<std::string, std::string>> SplitVerbs(const std::string& list) {
  std::vector<std::pair<std::string, std::string>> verbs;
  size_t start = 0;
  while (start < list.size()) {
    size_t comma = list.find(',', start);
    std::string piece = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    size_t bar = piece.find('|');
    if (bar != std::string::npos)
      verbs.emplace_back(piece.substr(0, bar), piece.substr(bar + 1));
    else if (!verbs.empty())
      verbs.back().second += "," + piece;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return verbs;
}

void PutShort(std::vector<char>& rec, int offset, const std::string& s, const char* field) {
  if (s.size() > 255) throw Exception(std::string(field) + " is longer than 255 characters");
  rec[offset] = char(s.size());
  std::memcpy(rec.data() + offset + 1, s.data(), s.size());
}

std::string GetShort(const std::vector<char>& rec, int offset) {
  return std::string(rec.data() + offset + 1, size_t(static_cast<unsigned char>(rec[offset])));
}

}  // namespace

std::string CommandProgram(const std::string& Command) {
  if (!Command.empty() && Command[0] == '"') {
    size_t close = Command.find('"', 1);
    return Command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  size_t exe = Upper(Command).find(".EXE");
  if (exe != std::string::npos) return Command.substr(0, exe + 4);
  return Command.substr(0, Command.find(' '));
}

TFileAssociation::TFileAssociation(TComponent* AOwner) : TComponent(AOwner) {}

void TFileAssociation::SetExtension(const std::string& Value) {
  FExtension = !Value.empty() && Value[0] != '.' ? "." + Value : Value;
  ReadAssociation();
}

std::string TFileAssociation::OpenVerb() const {
  std::string ext = Upper(FExtension);
  return ext == ".BAT" || ext == ".EXE" || ext == ".COM" || ext == ".PIF" ? "Edit" : "Open";
}

bool TFileAssociation::ReadAssociation() { return ReadFrom(FExtension); }

bool TFileAssociation::ReadFrom(const std::string& ExtKey) {
  KeyName = TypeName = IconPath = PathToApp = ShellCommands = "";
  ShowInNew = QuickView = false;
  TRegistry reg;
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  if (ExtKey.empty() || !reg.OpenKeyReadOnly("\\" + ExtKey)) return false;
  KeyName = reg.ReadString("");
  ShowInNew = reg.KeyExists("\\" + ExtKey + "\\ShellNew");
  if (KeyName.empty()) return true;
  std::string key = "\\" + KeyName;
  if (reg.OpenKeyReadOnly(key)) TypeName = reg.ReadString("");
  if (reg.OpenKeyReadOnly(key + "\\DefaultIcon")) IconPath = reg.ReadString("");
  QuickView = reg.KeyExists(key + "\\QuickView");
  if (reg.OpenKeyReadOnly(key + "\\Shell\\" + OpenVerb() + "\\Command"))
    PathToApp = CommandProgram(reg.ReadString(""));
  if (reg.OpenKeyReadOnly(key + "\\Shell")) {
    TStringList verbs;
    reg.GetKeyNames(verbs);
    for (int i = 0; i < verbs.Count(); ++i) {
      // The open verb is PathToApp's; listing it again would overwrite it on writing.
      if (Upper(verbs[i]) == "OPEN" || Upper(verbs[i]) == Upper(OpenVerb())) continue;
      std::string command;
      if (reg.OpenKeyReadOnly(key + "\\Shell\\" + verbs[i] + "\\Command")) command = reg.ReadString("");
      ShellCommands += verbs[i] + "|" + command + ",";
    }
  }
  return true;
}

bool TFileAssociation::WriteAssociation() {
  if (PathToApp.empty() || !FileExists(PathToApp)) return false;
  WriteTo(FExtension);
  return true;
}

void TFileAssociation::WriteTo(const std::string& ExtKey) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  reg.OpenKey("\\" + ExtKey, true);
  reg.WriteString("", KeyName);
  if (ShowInNew && reg.OpenKey("\\" + ExtKey + "\\ShellNew", true)) reg.WriteString("Nullfile", "");
  if (KeyName.empty()) return;
  std::string key = "\\" + KeyName;
  reg.OpenKey(key, true);
  reg.WriteString("", TypeName);
  reg.OpenKey(key + "\\DefaultIcon", true);
  reg.WriteString("", IconPath);
  reg.OpenKey(key + "\\shell\\" + OpenVerb() + "\\command", true);
  reg.WriteString("", QuotedOpen(PathToApp));
  if (QuickView) reg.CreateKey(key + "\\QuickView");
  for (const auto& [verb, command] : SplitVerbs(ShellCommands)) {
    // A command read back already names the document; only a bare one gets it added.
    std::string line = command;
    if (command.find("%1") == std::string::npos) {
      if (ParamPos == ppBefore) {
        line = command + " \"%1\"";
      } else {
        std::string program = CommandProgram(command);
        size_t rest = command.find(program) + program.size() + (command[0] == '"' ? 1 : 0);
        line = command.substr(0, rest) + " \"%1\"" + command.substr(rest);
      }
    }
    reg.OpenKey(key + "\\shell\\" + verb + "\\command", true);
    reg.WriteString("", line);
  }
}

void TFileAssociation::SaveToFile(const std::string& FileName) {
  std::vector<char> rec(kRecordSize, 0);
  PutShort(rec, 0, KeyName, "KeyName");
  PutShort(rec, 256, FExtension, "Extension");
  PutShort(rec, 512, IconPath, "IconPath");
  PutShort(rec, 768, TypeName, "TypeName");
  rec[1024] = ShowInNew ? 1 : 0;
  PutShort(rec, 1025, PathToApp, "PathToApp");
  PutShort(rec, 1281, ShellCommands, "ShellCommands");
  rec[1537] = char(ParamPos);
  rec[1538] = QuickView ? 1 : 0;
  std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
  out.write(rec.data(), kRecordSize);
  if (!out) throw Exception("Could not write " + FileName);
}

void TFileAssociation::LoadFromFile(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  std::vector<char> rec((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.is_open() || rec.size() != size_t(kRecordSize)) {
    MessageDlg("Could not open " + FileName, mtError, mbOK);
    return;
  }
  FExtension = GetShort(rec, 256);
  KeyName = GetShort(rec, 0);
  IconPath = GetShort(rec, 512);
  TypeName = GetShort(rec, 768);
  ShowInNew = rec[1024] != 0;
  PathToApp = GetShort(rec, 1025);
  ShellCommands = GetShort(rec, 1281);
  ParamPos = rec[1537] ? ppAfter : ppBefore;
  QuickView = rec[1538] != 0;
  if (!WriteAssociation())
    MessageDlg("Could not restore the association of " + FExtension + ": " + PathToApp + " does not exist",
               mtError, mbOK);
  ReadAssociation();
}

bool TFileAssociation::SaveToKey(const std::string& Path) {
  if (!ReadAssociation()) return false;
  WriteTo(Path + "\\" + FExtension);
  return true;
}

bool TFileAssociation::RestoreFromKey(const std::string& Path) {
  if (!ReadFrom(Path + "\\" + FExtension)) {
    ReadAssociation();
    return false;
  }
  WriteTo(FExtension);
  return ReadAssociation();
}
