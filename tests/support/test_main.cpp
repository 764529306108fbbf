// Entry point of every test program. Each test runs with folders of its own for the settings
// store, the runtime files, the home folder and the XDG folders, so no test reads or writes the
// user's own settings and no two tests share a store. A test that changes the user's real
// configuration folder all the same fails.
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The configuration folder the program would use for the user when nothing redirects it.
fs::path RealConfigFolder() {
  std::string xdg = Env("XDG_CONFIG_HOME");
  if (!xdg.empty()) return fs::path(xdg) / "quillomark";
  std::string home = Env("HOME");
  if (home.empty())
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) home = user->pw_dir;
  return fs::path(home.empty() ? "/tmp" : home) / ".config" / "quillomark";
}

// Every entry below `folder` with its size and change time; empty when the folder is missing.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  std::error_code error;
  if (!fs::exists(folder, error)) return entries;
  entries[""] = "folder";
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0) continue;
    entries[it->path().string()] = std::to_string(info.st_size) + "/" + std::to_string(info.st_mtim.tv_sec) + "." +
                                   std::to_string(info.st_mtim.tv_nsec);
  }
  return entries;
}

class PrivateFolders : public testing::EmptyTestEventListener {
public:
  PrivateFolders() : real_(RealConfigFolder()), before_(Snapshot(real_)) {
    std::string pattern = (fs::temp_directory_path() / "qm-tests-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::cerr << "Cannot create a temporary folder for the tests\n";
      std::exit(2);
    }
    root_ = pattern;
  }
  ~PrivateFolders() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  bool Touched() const { return touched_; }

  void OnTestStart(const testing::TestInfo&) override {
    fs::path test = root_ / std::to_string(++count_);
    Set("QUILLOMARK_CONFIG_DIR", test / "config", false);
    Set("XDG_RUNTIME_DIR", test / "runtime", true);
    Set("XDG_CONFIG_HOME", test / "xdg-config", false);
    Set("XDG_DATA_HOME", test / "xdg-data", false);
    Set("XDG_CACHE_HOME", test / "xdg-cache", false);
    Set("HOME", test / "home", true);
  }

  void OnTestEnd(const testing::TestInfo& info) override {
    if (Snapshot(real_) == before_) return;
    touched_ = true;
    std::cerr << "FAILED: " << info.test_suite_name() << "." << info.name()
              << " changed the user's configuration folder " << real_ << "\n";
  }

private:
  // Points a variable at a folder; `create` makes it now (private, as runtime folders are).
  static void Set(const char* name, const fs::path& folder, bool create) {
    if (create) {
      fs::create_directories(folder);
      ::chmod(folder.c_str(), 0700);
    }
    ::setenv(name, (folder.string() + "/").c_str(), 1);
  }

  fs::path real_;
  std::map<std::string, std::string> before_;
  fs::path root_;
  int count_ = 0;
  bool touched_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  auto* folders = new PrivateFolders;
  testing::UnitTest::GetInstance()->listeners().Append(folders);  // the listener list owns it
  int result = RUN_ALL_TESTS();
  return result != 0 ? result : folders->Touched() ? 1 : 0;
}
