#include "shell/autostart.h"

#include <cstdlib>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "textcore/app_files.h"

namespace {

std::string EnvFolder(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return IncludeTrailingPathDelimiter(Utf8ToAnsi(value));
}

std::string ConfigHome() {
  std::string folder = EnvFolder("XDG_CONFIG_HOME");
  if (folder.empty()) {
    const std::string home = EnvFolder("HOME");
    if (!home.empty()) folder = home + ".config/";
  }
  return folder;
}

// The program path as one argument of a desktop entry's Exec key: quoted, with '"', '`', '$'
// and '\' escaped by a backslash, then every '\' doubled by the string-value escaping, and '%'
// written as "%%".
std::string ExecArgument(const std::string& utf8Path) {
  std::string quoted = "\"";
  for (char c : utf8Path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string escaped;
  for (char c : quoted) {
    if (c == '\\') escaped += "\\\\";
    else if (c == '%') escaped += "%%";
    else escaped += c;
  }
  return escaped;
}

}  // namespace

std::string AutostartEntryFile() {
  const std::string home = ConfigHome();
  return home.empty() ? std::string() : home + "autostart/quillomark.desktop";
}

void SetStartWithSession(bool enabled, const std::string& programPath) {
  const std::string file = AutostartEntryFile();
  if (!enabled) {
    if (!file.empty()) DeleteFile(file);
    return;
  }
  if (file.empty() || !ForceDirectories(ExtractFilePath(file)))
    throw EFCreateError("Cannot create the autostart entry " + file);
  WriteFileAtomic(file,
                  "[Desktop Entry]\n"
                  "Type=Application\n"
                  "Name=Quillomark\n"
                  "Exec=" + ExecArgument(AnsiToUtf8(programPath)) + "\n"
                  "Icon=" + AnsiToUtf8(AppDirFile("quillomark.png")) + "\n"
                  "Terminal=false\n");
}
