// Windows of one process found by their window class from another process, and messages sent
// to them synchronously: each such window listens on a Unix-domain socket in the user's
// runtime folder, named after its class and the process id.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The message a second start sends to the running copy's on-screen keyboard window.
inline constexpr unsigned WM_OPENNOW = 0x0400 + 100;  // WM_USER + 100

// A window's listening end. Messages wait in the socket until Poll handles them, so the
// owner decides when they may run (never in the middle of an operation).
class TWindowEndpoint {
public:
  using THandler = std::function<intptr_t(unsigned Msg, uintptr_t WParam, intptr_t LParam)>;

  // Starts listening for `windowClass`; when the socket cannot be made, the window simply
  // cannot be found (Listening answers false).
  TWindowEndpoint(const std::string& windowClass, THandler handler);
  ~TWindowEndpoint();
  TWindowEndpoint(const TWindowEndpoint&) = delete;
  TWindowEndpoint& operator=(const TWindowEndpoint&) = delete;

  bool Listening() const { return fd_ >= 0; }
  const std::string& SocketPath() const { return path_; }
  // The listening socket, for a watch that wakes its owner when a message arrives.
  int Handle() const { return fd_; }
  // Handles every message that has arrived, each answered to its sender; answers how many.
  int Poll();

private:
  void Serve(int connection);

  std::string path_;
  THandler handler_;
  int fd_ = -1;
};

// Held by a second start while it writes "OpenNow" and hands over, so that starts made at the
// same moment hand over one after the other and none overwrites another's file name.
class THandOffLock {
public:
  THandOffLock();
  ~THandOffLock();
  THandOffLock(const THandOffLock&) = delete;
  THandOffLock& operator=(const THandOffLock&) = delete;

private:
  int fd_ = -1;
};

// True when another process has a window of `windowClass` listening.
bool FindWindowOfClass(const std::string& windowClass);
// Sends the message to a window of `windowClass` in another process and waits until it has
// been handled; false when no such window answered. `result` receives the handler's answer.
bool SendMessageToWindowClass(const std::string& windowClass, unsigned msg, uintptr_t wParam,
                              intptr_t lParam, intptr_t* result = nullptr);
