#include "textcore/win_registry.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/exceptions.h"

namespace fs = std::filesystem;

namespace {

const char kKey[] = "Software\\Vortanel\\Quillomark";

// Each test gets a configuration folder of its own, so the store starts empty.
class WinRegistryTest : public testing::Test {
protected:
  void SetUp() override {
    const char* saved = getenv("QUILLOMARK_CONFIG_DIR");
    if (saved) savedConfig_ = saved;
    hadConfig_ = saved != nullptr;
    folder_ = fs::temp_directory_path() /
              ("qm-tc-registry-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    setenv("QUILLOMARK_CONFIG_DIR", folder_.c_str(), 1);
  }
  void TearDown() override {
    if (hadConfig_) {
      setenv("QUILLOMARK_CONFIG_DIR", savedConfig_.c_str(), 1);
    } else {
      unsetenv("QUILLOMARK_CONFIG_DIR");
    }
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  // The store file of HKEY_CURRENT_USER and its text.
  fs::path StorePath() const { return folder_ / "HKEY_CURRENT_USER.registry"; }
  std::string StoreText() const {
    std::ifstream file(StorePath());
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

private:
  fs::path folder_;
  std::string savedConfig_;
  bool hadConfig_ = false;
};

TEST_F(WinRegistryTest, MissingSectionsGiveDefaultsAndCreateNothing) {
  TWinRegistry registry(kKey);
  EXPECT_EQ(registry.FileName(), kKey);
  EXPECT_EQ(registry.ReadString("General", "InitDir", "none"), "none");
  EXPECT_EQ(registry.ReadInteger("General", "UpdateNotify", 7), 7);
  EXPECT_TRUE(registry.ReadBool("General", "NewWindow", true));
  EXPECT_DOUBLE_EQ(registry.ReadFloat("General", "Ratio", 2.5), 2.5);
  registry.DeleteValue("General", "InitDir");
  EXPECT_FALSE(registry.KeyExists("General"));
  EXPECT_EQ(registry.CurrentPath(), kKey);
}

TEST_F(WinRegistryTest, WritesCreateTheSectionAndReadBack) {
  {
    TWinRegistry registry(kKey);
    registry.WriteString("General", "OpenNow", "/home/user/file.txt");
    registry.WriteInteger("General", "UpdateNotify", -3);
    registry.WriteBool("General", "NewWindow", true);
    registry.WriteFloat("Speed", "Factor", 1.25);
    registry.WriteString("", "Top", "level");  // an empty section is the key itself
    EXPECT_EQ(registry.CurrentPath(), kKey);   // the open key stays the same
    EXPECT_TRUE(registry.KeyExists("General"));
  }
  // A new object on the same key sees the stored values and their types.
  TWinRegistry registry(kKey);
  EXPECT_EQ(registry.ReadString("General", "OpenNow", ""), "/home/user/file.txt");
  EXPECT_EQ(registry.ReadInteger("General", "UpdateNotify", 0), -3);
  EXPECT_TRUE(registry.ReadBool("General", "NewWindow", false));
  EXPECT_DOUBLE_EQ(registry.ReadFloat("Speed", "Factor", 0), 1.25);
  EXPECT_EQ(registry.ReadString("", "Top", ""), "level");
  EXPECT_EQ(registry.ReadString("General", "Missing", "default"), "default");
  ASSERT_TRUE(registry.OpenKey("General", false));
  EXPECT_EQ(registry.GetDataType("OpenNow"), rdString);
  EXPECT_EQ(registry.GetDataType("UpdateNotify"), rdInteger);
  EXPECT_EQ(registry.GetDataType("NewWindow"), rdInteger);
  EXPECT_EQ(registry.GetDataSize("NewWindow"), 4);
  EXPECT_EQ(registry.TRegistry::ReadInteger("NewWindow"), 1);
  ASSERT_TRUE(registry.OpenKey("\\Software\\Vortanel\\Quillomark\\Speed", false));
  EXPECT_EQ(registry.GetDataType("Factor"), rdBinary);
  EXPECT_EQ(registry.GetDataSize("Factor"), 8);
  EXPECT_NE(StoreText().find("[Software\\Vortanel\\Quillomark\\General]"), std::string::npos);
}

TEST_F(WinRegistryTest, BoolsAreIntegersAndOtherTypesReadAsTheDefault) {
  TWinRegistry registry(kKey);
  registry.WriteInteger("Preferences", "Flag", 5);
  EXPECT_TRUE(registry.ReadBool("Preferences", "Flag", false));
  registry.WriteBool("Preferences", "Off", false);
  EXPECT_EQ(registry.ReadInteger("Preferences", "Off", 9), 0);
  registry.WriteString("Preferences", "Text", "12");
  // A value of another type (a store edited by hand) answers the default; the next write
  // of the right type replaces it.
  EXPECT_EQ(registry.ReadInteger("Preferences", "Text", 7), 7);
  EXPECT_EQ(registry.ReadBool("Preferences", "Text", true), true);
  EXPECT_EQ(registry.ReadFloat("Preferences", "Flag", 1.5), 1.5);
  EXPECT_EQ(registry.ReadString("Preferences", "Flag", "def"), "def");
  EXPECT_EQ(registry.CurrentPath(), kKey);
  EXPECT_EQ(registry.ReadString("Preferences", "Text", ""), "12");
  registry.WriteString("Preferences", "Flag", "now text");
  EXPECT_EQ(registry.ReadString("Preferences", "Flag", "def"), "now text");
}

TEST_F(WinRegistryTest, AStoreOfANewerVersionIsLeftAloneAndTheSessionGoesOn) {
  TWinRegistry registry(kKey);
  registry.WriteString("General", "InitDir", "/home");
  // A newer version of the program rewrote the store meanwhile: it is not read and never
  // written; the session goes on from defaults with its changes in memory.
  const std::string newer = "QuillomarkRegistry 99\nEndOfRegistry\n";
  std::ofstream(StorePath(), std::ios::trunc) << newer;
  EXPECT_EQ(registry.ReadString("General", "InitDir", "default"), "default");
  registry.WriteInteger("General", "Count", 1);
  EXPECT_EQ(registry.ReadInteger("General", "Count", 0), 1);
  registry.DeleteValue("General", "Count");
  EXPECT_EQ(registry.ReadInteger("General", "Count", 7), 7);
  std::ifstream in(StorePath());
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), newer);
}

TEST_F(WinRegistryTest, DeleteValueAndOtherRoots) {
  TWinRegistry registry(kKey);
  registry.WriteString("Global", "Action1", "x");
  registry.DeleteValue("Global", "Action1");
  registry.DeleteValue("Nowhere", "Action1");
  EXPECT_EQ(registry.ReadString("Global", "Action1", "gone"), "gone");
  EXPECT_TRUE(registry.KeyExists("Global"));

  TWinRegistry machine(HKEY_LOCAL_MACHINE, "Software\\Vortanel\\Shared\\Proof");
  EXPECT_EQ(machine.RootKey(), HKEY_LOCAL_MACHINE);
  machine.WriteString("", "DicPath", "/usr/share/quillomark/Dict");
  EXPECT_EQ(machine.ReadString("", "DicPath", ""), "/usr/share/quillomark/Dict");
  EXPECT_EQ(registry.ReadString("", "DicPath", "not here"), "not here");
}

}  // namespace
