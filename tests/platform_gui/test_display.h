// An X display for tests that need a real one: $DISPLAY when set, else a private Xvfb started
// for the test program (none when Xvfb is not installed).
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace {

// The display the tests use: $DISPLAY, else a private Xvfb started for the test program.
class TTestDisplay {
 public:
  TTestDisplay() {
    if (const char* display = std::getenv("DISPLAY"); display && *display) {
      Name = display;
      return;
    }
    if (access("/usr/bin/Xvfb", X_OK) != 0) return;
    // Parallel test processes each start their own server: try numbers until one comes up.
    for (int attempt = 0; attempt < 20 && Name.empty(); ++attempt) {
      const std::string name = ":" + std::to_string(200 + (getpid() * 7 + attempt * 13) % 4000);
      Server = fork();
      if (Server == 0) {
        execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-nolisten", "tcp", "-noreset", "-screen",
              "0", "640x480x24", static_cast<char*>(nullptr));
        _exit(127);
      }
      for (int wait = 0; wait < 100; ++wait) {
        if (waitpid(Server, nullptr, WNOHANG) == Server) break;  // number taken: next one
        xcb_connection_t* probe = xcb_connect(name.c_str(), nullptr);
        const bool up = !xcb_connection_has_error(probe);
        xcb_disconnect(probe);
        if (up) {
          Name = name;
          break;
        }
        usleep(50000);
      }
      if (Name.empty() && waitpid(Server, nullptr, WNOHANG) == 0) {
        kill(Server, SIGTERM);
        waitpid(Server, nullptr, 0);
      }
    }
    if (Name.empty()) Server = -1;
  }
  ~TTestDisplay() {
    if (Server > 0) {
      kill(Server, SIGTERM);
      waitpid(Server, nullptr, 0);
    }
  }
  std::string Name;

 private:
  pid_t Server = -1;
};

TTestDisplay& Display() {
  static TTestDisplay display;
  return display;
}

}  // namespace
