// A private Xvfb for a test program, up while the object lives: tests that change the server's
// state (its keymap, its layout group) never use the user's own display.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/gui/xkb_layouts.h"

class TPrivateXServer {
 public:
  static constexpr const char* kXvfb = "/usr/bin/Xvfb";

  TPrivateXServer() {
    if (access(kXvfb, X_OK) != 0) return;
    // Parallel test programs each start their own server: try numbers until one comes up.
    for (int attempt = 0; attempt < 20 && Name.empty(); ++attempt) {
      const std::string name = ":" + std::to_string(300 + (getpid() * 11 + attempt * 17) % 4000);
      Server = fork();
      if (Server == 0) {
        execl(kXvfb, "Xvfb", name.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24",
              static_cast<char*>(nullptr));
        _exit(127);
      }
      for (int wait = 0; wait < 100 && Name.empty(); ++wait) {
        if (waitpid(Server, nullptr, WNOHANG) == Server) break;  // number taken: the next one
        if (TXkbLayouts::Open(name, nullptr)) Name = name;
        else usleep(50000);
      }
      if (Name.empty()) Stop();
    }
  }
  ~TPrivateXServer() { Stop(); }
  TPrivateXServer(const TPrivateXServer&) = delete;
  TPrivateXServer& operator=(const TPrivateXServer&) = delete;

  // The display name (":N"); empty when no server came up.
  std::string Name;

 private:
  void Stop() {
    if (Server <= 0) return;
    kill(Server, SIGTERM);
    waitpid(Server, nullptr, 0);
    Server = -1;
  }
  pid_t Server = -1;
};
