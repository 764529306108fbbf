// Every test runs with a settings store of its own, away from the user's configuration folder.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"

TEST(TestIsolation, SettingsFolderIsPrivateAndFresh) {
  std::string folder = UserConfigFolder();
  const passwd* user = ::getpwuid(::getuid());
  ASSERT_NE(user, nullptr);
  EXPECT_NE(folder.rfind(std::string(user->pw_dir) + "/", 0), 0u) << folder;
  EXPECT_FALSE(std::filesystem::exists(folder + "HKEY_CURRENT_USER.registry")) << folder;
  EXPECT_NE(UserRuntimeFolder(), std::string("/tmp/quillomark-") + std::to_string(::getuid()) + "/");
}

// Two tests in a row do not share a store: the first leaves a file, the second must not see it.
TEST(TestIsolation, EachTestHasItsOwnStoreFirst) {
  ForceDirectories(UserConfigFolder());
  WriteFileAtomic(UserConfigFolder() + "left-behind", "x");
}
TEST(TestIsolation, EachTestHasItsOwnStoreSecond) {
  EXPECT_FALSE(std::filesystem::exists(UserConfigFolder() + "left-behind"));
}
