#include "tests/shell/spell_windows_test_env.h"

#include <filesystem>

std::string LinkProgramDictionaries(const std::string& ProgramFolder) {
  const std::string folder = ProgramFolder + "Dict/";
  std::filesystem::create_directories(folder);
  for (const auto& entry : std::filesystem::directory_iterator(QM_PROGRAM_DIR "/Dict/"))
    std::filesystem::create_symlink(entry.path(), folder + entry.path().filename().string());
  return folder;
}
