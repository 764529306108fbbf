#include "textcore/app_files.h"

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/string_list.h"

std::string AppDirFile(const std::string& FileName) {
  // Of a full path (a Windows one with ":\" or an absolute '/' one) only the name is kept; a
  // relative name stays as it is, sub-folder and all.
  const bool windowsPath = FileName.find(":\\") != std::string::npos;
  if (!windowsPath && (FileName.empty() || FileName.front() != '/')) return ProgramFolder() + FileName;
  const size_t separator = FileName.find_last_of(windowsPath ? "\\/" : "/");
  return ProgramFolder() + FileName.substr(separator + 1);
}

std::string ExtractFileBaseName(const std::string& Path) {
  std::string name = ExtractFileName(Path);
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

bool IsTextFile(const std::string& Path) {
  constexpr size_t kSampleSize = 1024;
  constexpr int kLongestRun = 50;
  if (!FileExists(Path)) return false;
  std::ifstream file(NativePath(Path), std::ios::binary);
  if (!file) return false;
  char sample[kSampleSize];
  file.read(sample, kSampleSize);
  if (file.bad()) return false;
  const size_t length = static_cast<size_t>(file.gcount());

  // The run counter measures stretches without a line break or blank. A byte adds to the run
  // only when it differs from the byte before it, so that rulers and underlines made of one
  // repeated sign ("-----", "=====") do not count against a text, while a long stretch of varied
  // bytes without any break (typical of binary data) does.
  int run = 0;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char byte = static_cast<unsigned char>(sample[i]);
    if (byte < 8 || (byte >= 14 && byte <= 31)) return false;
    if (byte == 10 || byte == 11 || byte == 13 || byte == 32) {
      run = 0;
    } else if (i == 0 || byte != static_cast<unsigned char>(sample[i - 1])) {
      if (++run > kLongestRun) return false;
    }
  }
  return true;
}

std::int64_t ScanFiles(const std::string& Mask, TStrings& List, bool Recurse) {
  const std::string folder = ExtractFilePath(Mask);
  const std::string fileMask = ExtractFileName(Mask);
  const std::string listed = folder.empty() ? std::string("./") : folder;
  std::int64_t total = 0;
  for (const TSearchRec& entry : ListDirectory(listed, fileMask)) {
    if (entry.Hidden || entry.Directory) continue;
    List.Add(folder + entry.Name);
    total += entry.Size;
  }
  if (!Recurse) return total;
  for (const TSearchRec& entry : ListDirectory(listed, "*")) {
    if (!entry.Directory || entry.Hidden || entry.Name.front() == '.' || entry.Name.front() == '_') continue;
    const std::string subfolder = folder + entry.Name;
    std::error_code error;
    if (std::filesystem::is_symlink(NativePath(listed + entry.Name), error)) continue;
    total += ScanFiles(subfolder + "/" + fileMask, List, true);
  }
  return total;
}
