#include "shell/single_instance.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/files.h"

namespace {

// The wire form of one message and of its answer.
struct TWireMessage {
  uint32_t Msg;
  uint32_t Reserved;
  uint64_t WParam;
  int64_t LParam;
};

std::string SocketPrefix(const std::string& windowClass) { return "quillomark-" + windowClass + "-"; }

// Windows are found only by processes of the same session: the same display and the same
// settings folder (a copy elsewhere would never show a file handed to it, nor read the name
// written into its own settings). The key ends each socket name: "-<key>.sock".
std::string SessionSuffix() {
  std::string session;
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    std::string display = value ? value : "";
    // ":0" and ":0.0" are the same X server.
    const size_t colon = display.rfind(':'), dot = display.rfind('.');
    if (colon != std::string::npos && dot != std::string::npos && dot > colon) display.erase(dot);
    session += display + '\n';
  }
  session += UserConfigFolder();
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : session) hash = (hash ^ c) * 1099511628211ull;
  char text[24];
  std::snprintf(text, sizeof text, "-%016llx.sock", static_cast<unsigned long long>(hash));
  return text;
}

// How long a second start waits for the running copy to take its message.
constexpr int kAnswerSeconds = 5;

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

// The runtime folder, made private to the user when it has to be created; "" when it belongs
// to someone else or others may write to it (a socket planted there could take a hand-off or
// send us messages), so that no window is looked for or offered there.
std::string RuntimeFolder() {
  const std::string folder = UserRuntimeFolder();
  const std::filesystem::path native = NativePath(folder);
  if (!DirectoryExists(folder) && ForceDirectories(folder)) ::chmod(native.c_str(), 0700);
  struct stat info;
  if (::stat(native.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
      (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return {};
  return folder;
}

bool WriteAll(int fd, const void* data, size_t size) {
  auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size) {
  auto* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::recv(fd, p, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

// Connects to one listening socket; -1 when nobody listens there (a stale file is removed).
int Connect(const std::string& path) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int rc;
  do rc = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  while (rc < 0 && errno == EINTR);
  if (rc == 0) return fd;
  if (errno == ECONNREFUSED) ::unlink(path.c_str());  // its process is gone
  ::close(fd);
  return -1;
}

// Calls `tryOne` with each socket of the class until it answers true.
template <class F>
bool ForEachWindowOfClass(const std::string& windowClass, F tryOne) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return false;
  const std::string prefix = SocketPrefix(windowClass);
  const std::string suffix = SessionSuffix();
  for (const TSearchRec& entry : ListDirectory(folder, prefix + "*" + suffix)) {
    // The mask compares without case; window classes do not.
    if (entry.Name.compare(0, prefix.size(), prefix) != 0 || entry.Directory) continue;
    if (tryOne(NativePath(folder + entry.Name).string())) return true;
  }
  return false;
}

}  // namespace

TWindowEndpoint::TWindowEndpoint(const std::string& windowClass, THandler handler)
    : handler_(std::move(handler)) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return;
  path_ = NativePath(folder + SocketPrefix(windowClass) + std::to_string(::getpid()) + SessionSuffix()).string();
  sockaddr_un address;
  if (!MakeAddress(path_, address)) return;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  ::unlink(path_.c_str());  // left by an earlier process with our id
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

TWindowEndpoint::~TWindowEndpoint() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(path_.c_str());
}

int TWindowEndpoint::Poll() {
  if (fd_ < 0) return 0;
  int handled = 0;
  for (;;) {
    const int connection = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR) continue;
      break;  // nothing more waiting (EAGAIN) or an error: try again at the next poll
    }
    Serve(connection);
    ::close(connection);
    ++handled;
  }
  return handled;
}

void TWindowEndpoint::Serve(int connection) {
  // The sender writes its message right after connecting; a sender that does not is dropped.
  timeval timeout{2, 0};
  ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  TWireMessage message{};
  if (!ReadAll(connection, &message, sizeof message)) return;
  // A sender that stopped waiting has gone on without us: its message is not handled.
  pollfd peer{connection, POLLRDHUP, 0};
  if (::poll(&peer, 1, 0) > 0 && (peer.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0) return;
  int64_t result = 0;
  try {
    if (handler_) result = handler_(message.Msg, uintptr_t(message.WParam), intptr_t(message.LParam));
  } catch (...) {
    WriteAll(connection, &result, sizeof result);  // answered, so the sender does not wait
    throw;
  }
  WriteAll(connection, &result, sizeof result);
}

THandOffLock::THandOffLock() {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return;  // no private folder: no hand-off either
  fd_ = ::open(NativePath(folder + "quillomark-handoff.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {}
}

THandOffLock::~THandOffLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool FindWindowOfClass(const std::string& windowClass) {
  return ForEachWindowOfClass(windowClass, [](const std::string& path) {
    const int fd = Connect(path);
    if (fd < 0) return false;
    ::close(fd);  // the window sees a connection without a message and drops it
    return true;
  });
}

bool SendMessageToWindowClass(const std::string& windowClass, unsigned msg, uintptr_t wParam,
                              intptr_t lParam, intptr_t* result) {
  return ForEachWindowOfClass(windowClass, [&](const std::string& path) {
    const int fd = Connect(path);
    if (fd < 0) return false;
    // A copy that does not answer in time (a modal box, a long load) is given up.
    timeval timeout{kAnswerSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const TWireMessage message{msg, 0, uint64_t(wParam), int64_t(lParam)};
    int64_t answer = 0;
    const bool ok = WriteAll(fd, &message, sizeof message) && ReadAll(fd, &answer, sizeof answer);
    ::close(fd);
    if (ok && result) *result = intptr_t(answer);
    return ok;
  });
}
