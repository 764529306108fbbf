#include "shell/xdg_association.h"

#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <vector>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/ini_document.h"

const char* const kDesktopEntryName = "quillomark.desktop";

namespace {

constexpr const char* kDefaults = "Default Applications";

// $name, else $HOME/fallback; the folder ends with '/'.
std::string XdgFolder(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  std::string folder = value && *value ? value : std::string(std::getenv("HOME") ? std::getenv("HOME") : "") + fallback;
  if (folder.empty()) throw Exception(std::string("Neither ") + name + " nor HOME is set");
  return folder.back() == '/' ? folder : folder + "/";
}

std::string MimeAppsList() { return XdgFolder("XDG_CONFIG_HOME", "/.config") + "mimeapps.list"; }

IniDocument ReadList() {
  IniDocument doc;
  if (FileExists(MimeAppsList())) doc.Parse(ReadFileBytes(MimeAppsList()));
  return doc;
}

void WriteList(const IniDocument& doc) {
  std::string text;
  for (const std::string& line : doc.Lines()) text += line + "\n";
  std::string folder = XdgFolder("XDG_CONFIG_HOME", "/.config");
  if (!ForceDirectories(folder)) throw Exception("Cannot create the folder " + folder);
  WriteFileAtomic(MimeAppsList(), text);
}

// One argument of an Exec line: quoted, with '"', '`', '$' and '\' escaped, then the
// desktop file's own escaping of '\'.
std::string ExecArgument(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string escaped;
  for (char c : quoted) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

}  // namespace

std::string WriteDesktopEntry(const std::string& program, const std::string& mimeTypes) {
  std::string path = XdgFolder("XDG_DATA_HOME", "/.local/share") + "applications/";
  if (!ForceDirectories(path)) throw Exception("Cannot create the folder " + path);
  path += kDesktopEntryName;
  WriteFileAtomic(path, "[Desktop Entry]\nType=Application\nName=Quillomark\nExec=" + ExecArgument(program) +
                            " %f\nMimeType=" + mimeTypes + "\nTerminal=false\n");
  return path;
}

std::string DefaultApplication(const std::string& mimeType) {
  return ReadList().Value(kDefaults, mimeType).value_or("");
}

std::string SetDefaultApplication(const std::string& mimeType, const std::string& desktopId) {
  IniDocument doc = ReadList();
  std::string previous = doc.Value(kDefaults, mimeType).value_or("");
  if (doc.Set(kDefaults, mimeType, desktopId)) WriteList(doc);
  return previous;
}

void RestoreDefaultApplication(const std::string& mimeType, const std::string& previous) {
  IniDocument doc = ReadList();
  bool changed = previous.empty() ? doc.DeleteKey(kDefaults, mimeType) : doc.Set(kDefaults, mimeType, previous);
  if (changed) WriteList(doc);
}

std::string MimeTypeOfExtension(const std::string& ext) {
  std::string pattern = "*." + (ext.empty() || ext[0] != '.' ? ext : ext.substr(1));
  for (char& c : pattern)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  if (pattern == "*.") return "";
  std::vector<std::string> folders;
  try {
    folders.push_back(XdgFolder("XDG_DATA_HOME", "/.local/share"));
  } catch (const Exception&) {
    // No home: the system folders alone.
  }
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
  for (size_t start = 0; start <= list.size();) {
    const size_t colon = std::min(list.find(':', start), list.size());
    if (colon > start) folders.push_back(list.substr(start, colon - start) + "/");
    start = colon + 1;
  }
  // Lines "weight:type:pattern[:flags]"; the first folder that knows the pattern decides.
  for (const std::string& folder : folders) {
    std::ifstream globs(folder + "mime/globs2");
    std::string line, best;
    int bestWeight = -1;
    while (std::getline(globs, line)) {
      if (line.empty() || line[0] == '#') continue;
      const size_t a = line.find(':'), b = line.find(':', a + 1);
      if (a == std::string::npos || b == std::string::npos) continue;
      const size_t c = line.find(':', b + 1);
      if (line.substr(b + 1, c == std::string::npos ? std::string::npos : c - b - 1) != pattern) continue;
      const int weight = std::atoi(line.c_str());
      if (weight > bestWeight) {
        bestWeight = weight;
        best = line.substr(a + 1, b - a - 1);
      }
    }
    if (!best.empty()) return best;
  }
  return "";
}
