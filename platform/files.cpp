#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <optional>
#include <system_error>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/locale.h"

namespace fs = std::filesystem;

namespace {

std::mutex g_programFolderMutex;
std::string g_programFolderOverride;

std::string Reason(int error) { return std::strerror(error); }

std::string Quoted(const std::string& fileName) { return "\"" + fileName + "\""; }

// Closes a descriptor on every path out of a block.
class FileHandle {
public:
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the error close gives (a write-back failure shows up here).
  int Close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

private:
  int fd_;
};

// Writes all of `data`; 0 or the errno of the failure.
int WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

// '*' matches any run of bytes, '?' any one byte; letters are compared without case.
bool MatchesMask(const std::string& name, const std::string& mask) {
  size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || AnsiLowerChar(static_cast<unsigned char>(mask[m])) ==
                                      AnsiLowerChar(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (starMask != std::string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::string EnvFolder(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return {};
  return IncludeTrailingPathDelimiter(Utf8ToAnsi(value));
}

}  // namespace

fs::path NativePath(const std::string& FileName) { return fs::path(AnsiToUtf8(FileName)); }

std::string ProgramFileName(const fs::path& Path) { return Utf8ToAnsi(Path.string()); }

std::string ProgramFolder() {
  {
    std::lock_guard lock(g_programFolderMutex);
    if (!g_programFolderOverride.empty()) return g_programFolderOverride;
  }
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return GetCurrentDir();
  return IncludeTrailingPathDelimiter(ProgramFileName(exe.parent_path()));
}

void SetProgramFolder(const std::string& Folder) {
  std::lock_guard lock(g_programFolderMutex);
  g_programFolderOverride = Folder.empty() ? Folder : IncludeTrailingPathDelimiter(Folder);
}

bool FileExists(const std::string& FileName) {
  std::error_code error;
  auto status = fs::status(NativePath(FileName), error);
  return !error && fs::exists(status) && !fs::is_directory(status);
}

bool DirectoryExists(const std::string& Name) {
  std::error_code error;
  return fs::is_directory(NativePath(Name), error);
}

bool ForceDirectories(const std::string& Dir) {
  if (Dir.empty()) return false;
  std::error_code error;
  fs::create_directories(NativePath(ExcludeTrailingPathDelimiter(Dir)), error);
  return DirectoryExists(Dir);
}

bool DeleteFile(const std::string& FileName) { return ::unlink(NativePath(FileName).c_str()) == 0; }

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  return ::rename(NativePath(OldName).c_str(), NativePath(NewName).c_str()) == 0;
}

std::optional<std::time_t> FileModificationTime(const std::string& FileName) {
  struct stat info;
  if (::stat(NativePath(FileName).c_str(), &info) != 0) return std::nullopt;
  return info.st_mtime;
}

int64_t FileSize(const std::string& FileName) {
  struct stat info;
  if (::stat(NativePath(FileName).c_str(), &info) != 0) return -1;
  return info.st_size;
}

TFileStamp GetFileStamp(const std::string& FileName) {
  struct stat info;
  TFileStamp stamp;
  // Asked at every settings access: the name in the system's encoding, without a path object.
  if (::stat(AnsiToUtf8(FileName).c_str(), &info) != 0) return stamp;
  auto nanoseconds = [](const timespec& t) { return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec; };
  stamp.Exists = true;
  stamp.Device = info.st_dev;
  stamp.Inode = info.st_ino;
  stamp.Size = info.st_size;
  stamp.Modified = nanoseconds(info.st_mtim);
  stamp.Changed = nanoseconds(info.st_ctim);
  return stamp;
}

std::string GetCurrentDir() {
  std::error_code error;
  fs::path current = fs::current_path(error);
  return error ? std::string("/") : IncludeTrailingPathDelimiter(ProgramFileName(current));
}

std::string ExtractFilePath(const std::string& FileName) {
  auto slash = FileName.rfind('/');
  return slash == std::string::npos ? std::string() : FileName.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& FileName) {
  auto slash = FileName.rfind('/');
  return slash == std::string::npos ? FileName : FileName.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
  auto dot = FileName.rfind('.');
  auto slash = FileName.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return FileName.substr(dot);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
  return FileName.substr(0, FileName.size() - ExtractFileExt(FileName).size()) + Extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& Path) {
  return !Path.empty() && Path.back() == '/' ? Path : Path + '/';
}

std::string ExcludeTrailingPathDelimiter(const std::string& Path) {
  return Path.size() > 1 && Path.back() == '/' ? Path.substr(0, Path.size() - 1) : Path;
}

std::string ExpandFileName(const std::string& FileName, const std::string& BaseDir) {
  // '/' and '.' are single bytes in every system code page, so the name can be resolved
  // lexically as it stands.
  fs::path name(FileName);
  if (name.is_relative()) name = fs::path(BaseDir.empty() ? GetCurrentDir() : BaseDir) / name;
  return name.lexically_normal().string();
}

std::vector<TSearchRec> ListDirectory(const std::string& Dir, const std::string& Mask) {
  std::vector<TSearchRec> result;
  bool all = Mask == "*" || Mask == "*.*";
  std::error_code error;
  for (fs::directory_iterator it(NativePath(Dir), error), end; !error && it != end; it.increment(error)) {
    TSearchRec rec;
    rec.Name = ProgramFileName(it->path().filename());
    if (!all && !MatchesMask(rec.Name, Mask)) continue;
    struct stat info;
    if (::stat(it->path().c_str(), &info) == 0) {
      rec.Directory = S_ISDIR(info.st_mode);
      rec.Size = rec.Directory ? 0 : info.st_size;
      rec.Time = info.st_mtime;
    }
    rec.Hidden = rec.Name.front() == '.';
    result.push_back(std::move(rec));
  }
  std::sort(result.begin(), result.end(),
            [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
  return result;
}

std::string ReadFileBytes(const std::string& FileName) {
  FileHandle file(::open(NativePath(FileName).c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) throw EFOpenError("Cannot open file " + Quoted(FileName) + ". " + Reason(errno));
  struct stat info;
  if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode))
    throw EFOpenError("Cannot open file " + Quoted(FileName) + ". " + Reason(EISDIR));
  std::string data;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(file.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Cannot read file " + Quoted(FileName) + ". " + Reason(errno));
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  return data;
}

namespace {

// The file WriteFileAtomic replaces: the one a symbolic link points to, not the link.
fs::path AtomicTarget(const std::string& FileName) {
  fs::path target = NativePath(FileName);
  std::error_code linkError;
  if (fs::is_symlink(target, linkError)) {
    fs::path resolved = fs::weakly_canonical(target, linkError);
    if (!linkError) target = resolved;
  }
  return target;
}

// Temporary files of WriteFileAtomic are ".<name>.<pid>.<counter>.tmp" beside the target.
constexpr char kTempSuffix[] = ".tmp";

bool IsTempNameOf(const std::string& entry, const std::string& targetName) {
  const std::string prefix = "." + targetName + ".";
  const size_t suffix = sizeof kTempSuffix - 1;
  if (entry.size() <= prefix.size() + suffix || entry.compare(0, prefix.size(), prefix) != 0 ||
      entry.compare(entry.size() - suffix, suffix, kTempSuffix) != 0)
    return false;
  const std::string middle = entry.substr(prefix.size(), entry.size() - prefix.size() - suffix);
  const size_t dot = middle.find('.');
  return dot != std::string::npos && dot > 0 && dot + 1 < middle.size() &&
         middle.find_first_not_of("0123456789.") == std::string::npos && middle.find('.', dot + 1) == std::string::npos;
}

}  // namespace

void RemoveLeftoverTempFiles(const std::string& FileName) {
  const fs::path target = AtomicTarget(FileName);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const std::string name = target.filename().string();
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (IsTempNameOf(it->path().filename().string(), name) && it->is_regular_file(ignored))
      fs::remove(it->path(), ignored);
  }
}

void WriteFileAtomic(const std::string& FileName, const std::string& Data) {
  static std::atomic<unsigned> counter{0};
  const fs::path target = AtomicTarget(FileName);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  // A hidden name beside the target, unique to this process and call.
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    std::string tempName = ".";
    tempName += target.filename().string();
    for (unsigned part : {static_cast<unsigned>(::getpid()), counter++}) {
      tempName += '.';
      tempName += std::to_string(part);
    }
    tempName += kTempSuffix;
    temp = folder / tempName;
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (int error = errno; fd < 0 && (error != EEXIST || attempt > 100))
      throw EFCreateError("Cannot create file " + Quoted(FileName) + ". " + Reason(error));
  }
  FileHandle file(fd);

  auto fail = [&](int error) {
    if (file.get() >= 0) file.Close();
    ::unlink(temp.c_str());
    throw EWriteError("Cannot write file " + Quoted(FileName) + ". " + Reason(error));
  };
  // Keep the permissions of the file being replaced.
  struct stat old;
  if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  if (int error = WriteAll(fd, Data.data(), Data.size())) fail(error);
  if (::fsync(fd) != 0) fail(errno);
  if (int error = file.Close()) fail(error);
  if (::rename(temp.c_str(), target.c_str()) != 0) fail(errno);
  // Make the rename itself durable; a folder that cannot be synced loses nothing already written.
  FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

namespace {

// $<variable>/quillomark/, else ~/<fallback>/quillomark/.
std::string XdgUserFolder(const char* variable, const std::string& fallback) {
  const std::string folder = EnvFolder(variable);
  if (!folder.empty()) return folder + "quillomark/";
  std::string home = EnvFolder("HOME");
  if (home.empty()) {
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr)
      home = IncludeTrailingPathDelimiter(Utf8ToAnsi(user->pw_dir));
  }
  return (home.empty() ? std::string("/tmp/") : home) + fallback + "/quillomark/";
}

}  // namespace

std::string UserConfigFolder() {
  // Asked at every settings access: the answer is kept while the variables it comes from stay.
  // They are compared in place, and only up to the first one set, which decides the folder.
  static const char* const kVariables[] = {"QUILLOMARK_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"};
  static std::mutex mutex;
  static std::optional<std::string> lastValues[std::size(kVariables)];
  static std::string lastFolder;
  std::lock_guard lock(mutex);
  bool same = !lastFolder.empty();
  for (size_t i = 0; same && i < std::size(kVariables); ++i) {
    const char* value = std::getenv(kVariables[i]);
    same = value ? lastValues[i] && *lastValues[i] == value : !lastValues[i];
    if (value && *value) break;
  }
  if (!same) {
    for (size_t i = 0; i < std::size(kVariables); ++i) {
      const char* value = std::getenv(kVariables[i]);
      lastValues[i] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    const std::string folder = EnvFolder("QUILLOMARK_CONFIG_DIR");
    lastFolder = folder.empty() ? XdgUserFolder("XDG_CONFIG_HOME", ".config") : folder;
  }
  return lastFolder;
}

std::string UserStateFolder() { return XdgUserFolder("XDG_STATE_HOME", ".local/state"); }

std::string UserRuntimeFolder() {
  std::string folder = EnvFolder("XDG_RUNTIME_DIR");
  if (!folder.empty()) return folder;
  return "/tmp/quillomark-" + std::to_string(::getuid()) + "/";
}
