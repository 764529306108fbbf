// Files and folders. The program names files with system-code-page strings and '/' as the
// separator; NativePath turns such a name into the operating system's path and every file
// access of the platform goes through it.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A program file name (system code page) as a native path, and back.
std::filesystem::path NativePath(const std::string& FileName);
std::string ProgramFileName(const std::filesystem::path& Path);

// The folder of the running program with a trailing '/'.
std::string ProgramFolder();
// Replaces the program folder (tests); an empty folder restores the real one.
void SetProgramFolder(const std::string& Folder);

bool FileExists(const std::string& FileName);       // an existing file that is not a folder
bool DirectoryExists(const std::string& Name);
// Creates a folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& Dir);
// Deletes a file; false when it cannot (missing, a folder, no permission).
bool DeleteFile(const std::string& FileName);
// Renames or moves a file, replacing an existing target; false when it cannot.
bool RenameFile(const std::string& OldName, const std::string& NewName);
// The last modification time; empty when the file does not exist.
std::optional<std::time_t> FileModificationTime(const std::string& FileName);
// The size in bytes; -1 when the file does not exist.
int64_t FileSize(const std::string& FileName);
// What identifies one version of a file on disk: a file replaced or changed gets another stamp.
struct TFileStamp {
  bool Exists = false;
  uint64_t Device = 0, Inode = 0;
  int64_t Size = 0;
  int64_t Modified = 0, Changed = 0;  // nanoseconds
  bool operator==(const TFileStamp&) const = default;
};
TFileStamp GetFileStamp(const std::string& FileName);
// The current folder with a trailing '/'.
std::string GetCurrentDir();

// Name parts. The path part keeps its trailing '/'; the extension includes its dot.
std::string ExtractFilePath(const std::string& FileName);
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName);
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
std::string IncludeTrailingPathDelimiter(const std::string& Path);
std::string ExcludeTrailingPathDelimiter(const std::string& Path);
// The absolute form of `FileName`, relative to `BaseDir` (the current folder when empty),
// with "." and ".." resolved by name.
std::string ExpandFileName(const std::string& FileName, const std::string& BaseDir = {});

// One entry of a folder listing.
struct TSearchRec {
  std::string Name;  // the name alone, system code page
  int64_t Size = 0;
  std::time_t Time = 0;
  bool Directory = false;
  bool Hidden = false;  // the name starts with '.'
};
// The entries of `Dir` whose names match `Mask` ('*' and '?' wildcards, letters compared
// without case; "*.*" matches every name), sorted by name; "." and ".." are never listed.
// A missing folder gives an empty list.
std::vector<TSearchRec> ListDirectory(const std::string& Dir, const std::string& Mask = "*");

// The whole content of a file; raises EFOpenError or EReadError.
std::string ReadFileBytes(const std::string& FileName);
// Replaces a file atomically: writes a temporary file beside it, flushes it to disk and
// renames it over the old one. On any failure the old file is intact, the temporary file is
// removed and EFCreateError or EWriteError says why.
void WriteFileAtomic(const std::string& FileName, const std::string& Data);
// Removes the temporary files WriteFileAtomic left beside FileName when its writer was killed;
// only for a caller that knows no other writer of the file is at work (it holds its lock).
void RemoveLeftoverTempFiles(const std::string& FileName);

// The user's configuration folder with a trailing '/': $QUILLOMARK_CONFIG_DIR, else
// $XDG_CONFIG_HOME/quillomark, else ~/.config/quillomark. It is not created here.
std::string UserConfigFolder();
// The user's state folder with a trailing '/' (recovery copies, logs): $XDG_STATE_HOME/quillomark,
// else ~/.local/state/quillomark. It is not created here.
std::string UserStateFolder();
// The user's runtime folder with a trailing '/': $XDG_RUNTIME_DIR, else /tmp/quillomark-<uid>.
std::string UserRuntimeFolder();
