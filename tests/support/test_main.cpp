// Entry point of every test program. Each test runs with folders of its own for the settings
// store, the runtime files, the home folder and the XDG folders, so no test reads or writes the
// user's own settings and no two tests share a store. A test fails that leaves those folders
// (so that the user's configuration folder is within reach) or makes the user's configuration
// folder where there was none.
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
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

class PrivateFolders : public testing::EmptyTestEventListener {
public:
  PrivateFolders() : real_(RealConfigFolder()), realExisted_(Exists(real_)) {
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
    test_ = root_ / std::to_string(++count_);
    for (const Variable& v : kVariables) Set(v.Name, test_ / v.Folder, v.Create);
  }

  // The test must leave every variable on its own folder: a variable pointed back at the user's
  // folders (or removed) lets the program reach the user's settings.
  void OnTestEnd(const testing::TestInfo& info) override {
    for (const Variable& v : kVariables) {
      const std::string value = Env(v.Name);
      if (value == (test_ / v.Folder).string() + "/") continue;
      touched_ = true;
      std::cerr << "FAILED: " << info.test_suite_name() << "." << info.name() << " left " << v.Name << " at \""
                << value << "\"; the user's configuration folder " << real_ << " is within reach\n";
    }
    if (!realExisted_ && Exists(real_)) {
      touched_ = realExisted_ = true;
      std::cerr << "FAILED: " << info.test_suite_name() << "." << info.name()
                << " made the user's configuration folder " << real_ << "\n";
    }
  }

private:
  static bool Exists(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
  }
  // Points a variable at a folder; `create` makes it now (private, as runtime folders are).
  static void Set(const char* name, const fs::path& folder, bool create) {
    if (create) {
      fs::create_directories(folder);
      ::chmod(folder.c_str(), 0700);
    }
    ::setenv(name, (folder.string() + "/").c_str(), 1);
  }

  struct Variable {
    const char* Name;
    const char* Folder;
    bool Create;  // made at once, private (runtime and home folders)
  };
  static constexpr Variable kVariables[] = {
      {"QUILLOMARK_CONFIG_DIR", "config", false}, {"XDG_RUNTIME_DIR", "runtime", true},
      {"XDG_CONFIG_HOME", "xdg-config", false},   {"XDG_DATA_HOME", "xdg-data", false},
      {"XDG_CACHE_HOME", "xdg-cache", false},     {"XDG_STATE_HOME", "xdg-state", false},
      {"HOME", "home", true},
  };

  fs::path real_;
  bool realExisted_;
  fs::path root_, test_;
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
