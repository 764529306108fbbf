#include "components/file_util.h"

#include <system_error>

#include "platform/files.h"

namespace FileUtil {

std::string NormalizeDirName(const std::string& dir) {
  if (dir.empty() || dir.back() == '/') return dir;
  return dir + "/";
}

bool DirExists(const std::string& name) { return !name.empty() && DirectoryExists(name); }

bool CreateDirPath(const std::string& dir) {
  std::string path = dir;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty()) return false;
  return ForceDirectories(path) && DirExists(path);
}

std::string GetWindowsDirName() { return "/usr/share/"; }

bool ValidFileName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (c == '/' || static_cast<unsigned char>(c) < 32) return false;
  return true;
}

std::string LongFileName(const std::string& name) {
  if (name.find_first_of("*?") != std::string::npos) return {};
  std::error_code error;
  return std::filesystem::exists(NativePath(name), error) ? name : std::string();
}

std::string ShortFileName(const std::string& name) { return LongFileName(name); }

}  // namespace FileUtil
