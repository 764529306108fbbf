// A private world for tests of the preferences and the interface language: a temporary
// program folder, settings store and XDG configuration folder, removed afterwards.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/files.h"

class TTestWorld {
public:
  TTestWorld() {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("qm-prefs-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(root_ / "program");
    ProgramFolder = (root_ / "program").string() + "/";
    ConfigFolder = (root_ / "config").string() + "/";
    XdgConfigHome = (root_ / "xdg").string() + "/";
    SetProgramFolder(ProgramFolder);
    Remember("QUILLOMARK_CONFIG_DIR", ConfigFolder, savedConfig_);
    Remember("XDG_CONFIG_HOME", XdgConfigHome, savedXdg_);
  }
  ~TTestWorld() {
    SetProgramFolder("");
    Restore("QUILLOMARK_CONFIG_DIR", savedConfig_);
    Restore("XDG_CONFIG_HOME", savedXdg_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TTestWorld(const TTestWorld&) = delete;
  TTestWorld& operator=(const TTestWorld&) = delete;

  // Writes a file of the program folder.
  void WriteProgramFile(const std::string& name, const std::string& bytes) const {
    WriteFileAtomic(ProgramFolder + name, bytes);
  }

  std::string ProgramFolder, ConfigFolder, XdgConfigHome;

private:
  struct Saved {
    bool Had = false;
    std::string Value;
  };
  static void Remember(const char* name, const std::string& value, Saved& saved) {
    if (const char* old = std::getenv(name)) saved = {true, old};
    ::setenv(name, value.c_str(), 1);
  }
  static void Restore(const char* name, const Saved& saved) {
    if (saved.Had) ::setenv(name, saved.Value.c_str(), 1);
    else ::unsetenv(name);
  }

  std::filesystem::path root_;
  Saved savedConfig_, savedXdg_;
};
