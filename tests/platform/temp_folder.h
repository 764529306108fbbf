// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test; for tests of files, INI files and the registry store.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class TempFolder {
public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder as a program file name (ASCII, so the same in every code page), with a '/'.
  std::string Name() const { return path_.string() + "/"; }
  const std::filesystem::path& Path() const { return path_; }

private:
  std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of the object (unsets it for nullopt).
class ScopedEnv {
public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  const char* name_;
  std::optional<std::string> old_;
};
