// Starting the real built program from a test: its own settings and runtime folders, the
// offscreen platform, an optional action script, and a time limit after which it is killed.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/temp_folder.h"
#include "tests/support/time_scale.h"

extern char** environ;

// A run of the program: started at once, waited for (or killed) by Wait. A launcher (such as
// xvfb-run with its options) starts the program when given.
class ProgramRun {
public:
  ProgramRun(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
             const std::string& workDir = {}, const std::vector<std::string>& launcher = {}) {
    std::vector<std::string> argv = launcher;
    argv.push_back(std::string(QM_PROGRAM_DIR) + "/quillomark");
    const std::string program = argv.front();
    argv.insert(argv.end(), args.begin(), args.end());
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      const size_t eq = entry.find('=');
      if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : env) {
      if (value == kUnset)
        vars.erase(name);
      else
        vars[name] = value;
    }
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : vars) envStrings.push_back(name + "=" + value);
    std::vector<char*> argp, envp;
    for (auto& a : argv) argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    stderrFile_ = (std::filesystem::temp_directory_path() / ("qm-stderr-" + std::to_string(::getpid()) + "-" +
                                                             std::to_string(counter_++))).string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, stderrFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    // A launched program runs in a process group of its own, so that a kill reaches all of it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (!launcher.empty()) {
      posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
      posix_spawnattr_setpgroup(&attributes, 0);
      group_ = true;
    }
    if (::posix_spawn(&pid_, program.c_str(), &actions, &attributes, argp.data(), envp.data()) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ProgramRun() {
    if (pid_ > 0) Wait(std::chrono::seconds(0));
    std::filesystem::remove(stderrFile_);
  }

  // The exit code, or -1 when the program did not end in time (it is then killed).
  int Wait(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    if (pid_ <= 0) return -1;
    const auto end = std::chrono::steady_clock::now() + Stretched(limit);
    int status = 0;
    for (;;) {
      const pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) break;
      if (std::chrono::steady_clock::now() >= end) {
        ::kill(group_ ? -pid_ : pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::string Stderr() const { return ReadText(stderrFile_); }
  pid_t Pid() const { return pid_; }

  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static constexpr const char* kUnset = "\x01unset";

private:
  pid_t pid_ = -1;
  bool group_ = false;
  std::string stderrFile_;
  static inline int counter_ = 0;
};

// Folders of one test: settings, runtime and a work folder for files; the environment the
// program gets.
class ProgramFolders {
public:
  ProgramFolders() {
    std::filesystem::create_directories(folder.Path() / "config");
    std::filesystem::create_directories(folder.Path() / "run");
    std::filesystem::permissions(folder.Path() / "run", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
  }
  std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::map<std::string, std::string> Env(const std::string& script = {}) const {
    return {{"QUILLOMARK_CONFIG_DIR", Path("config")},
            {"XDG_RUNTIME_DIR", Path("run")},
            {"QT_QPA_PLATFORM", "offscreen"},
            {"QUILLOMARK_TEST_SCRIPT", script.empty() ? ProgramRun::kUnset : Path(script)}};
  }
  // The processes whose copy of the program listens for second starts.
  std::vector<pid_t> CopyPids() const {
    const std::string prefix = "quillomark-TVirtualKbd-";
    std::vector<pid_t> pids;
    for (const auto& entry : std::filesystem::directory_iterator(Path("run"))) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(prefix, 0) == 0) pids.push_back(pid_t(std::stol(name.substr(prefix.size()))));
    }
    return pids;
  }
  bool CopyRunning() const { return !CopyPids().empty(); }
  bool WaitForCopy(std::chrono::seconds limit = std::chrono::seconds(20)) const {
    const auto end = std::chrono::steady_clock::now() + Stretched(limit);
    while (!CopyRunning()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

private:
  TempFolder folder;
};
