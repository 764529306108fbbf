#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/gui/application.h"

namespace {

namespace fs = std::filesystem;

class TScratchFolder {
public:
  TScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "qm-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    Path = pattern + "/";
  }
  ~TScratchFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  std::string Path;
};

const std::string& ScratchFolder() {
  static TScratchFolder folder;
  return folder.Path;
}

}  // namespace

std::vector<std::string> FuzzParts(std::string_view Input, std::size_t Count) {
  static constexpr std::string_view kMarker = "\n===\n";
  std::vector<std::string> parts;
  while (parts.size() + 1 < Count) {
    const size_t at = Input.find(kMarker);
    if (at == std::string_view::npos) break;
    parts.emplace_back(Input.substr(0, at));
    Input.remove_prefix(at + kMarker.size());
  }
  parts.emplace_back(Input);
  parts.resize(Count);
  return parts;
}

std::string FuzzFile(const std::string& Name) { return ScratchFolder() + Name; }

std::string WriteFuzzFile(const std::string& Name, std::string_view Bytes) {
  const std::string file = FuzzFile(Name);
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(Bytes.data(), std::streamsize(Bytes.size()));
  return file;
}

void ClearFuzzFiles() {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(ScratchFolder(), ignored)) fs::remove_all(entry.path(), ignored);
}

void EnsureFuzzGui() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  EnsureGuiApplication();
}
