#include "shell/program_data_files.h"

#include "platform/files.h"
#include "textcore/app_files.h"

namespace {

std::string UserCopyName(const std::string& name) { return UserConfigFolder() + "data/" + name; }

}  // namespace

std::string UserDataFile(const std::string& name) {
  const std::string copy = UserCopyName(name);
  if (FileExists(copy)) return copy;
  ForceDirectories(ExtractFilePath(copy));
  const std::string shipped = AppDirFile(name);
  WriteFileAtomic(copy, FileExists(shipped) ? ReadFileBytes(shipped) : std::string());
  return copy;
}

std::string ProgramDataFile(const std::string& name) {
  const std::string copy = UserCopyName(name);
  return FileExists(copy) ? copy : AppDirFile(name);
}
