// The desktop entry and the default applications of mimeapps.list, in a temporary XDG home.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/files.h"
#include "preferences_test_env.h"
#include "shell/xdg_association.h"

namespace {

class XdgAssociation : public ::testing::Test {
protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_DATA_HOME");
    hadData_ = old != nullptr;
    if (old) oldData_ = old;
    setenv("XDG_DATA_HOME", (world_.ProgramFolder + "data").c_str(), 1);
  }
  void TearDown() override {
    if (hadData_) setenv("XDG_DATA_HOME", oldData_.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
  }
  TTestWorld world_;  // also points XDG_CONFIG_HOME at a temporary folder
  bool hadData_ = false;
  std::string oldData_;
};

TEST_F(XdgAssociation, DesktopEntryPassesDocumentAsOneArgument) {
  std::string path = WriteDesktopEntry("/opt/my \"q\" $app/quillomark", "text/plain;");
  EXPECT_EQ(path, world_.ProgramFolder + "data/applications/quillomark.desktop");
  std::string text = ReadFileBytes(path);
  EXPECT_NE(text.find("Exec=\"/opt/my \\\\\"q\\\\\" \\\\$app/quillomark\" %f\n"), std::string::npos) << text;
  EXPECT_NE(text.find("MimeType=text/plain;\n"), std::string::npos);
}

TEST_F(XdgAssociation, DefaultApplicationSetAndRestored) {
  std::string list = world_.XdgConfigHome + "mimeapps.list";
  EXPECT_EQ(SetDefaultApplication("text/plain", kDesktopEntryName), "");
  EXPECT_EQ(DefaultApplication("text/plain"), "quillomark.desktop");
  RestoreDefaultApplication("text/plain", "");
  EXPECT_EQ(DefaultApplication("text/plain"), "");

  WriteFileAtomic(list, "[Added Associations]\ntext/rtf=other.desktop;\n[Default Applications]\ntext/rtf=other.desktop\n");
  std::string previous = SetDefaultApplication("text/rtf", kDesktopEntryName);
  EXPECT_EQ(previous, "other.desktop");
  EXPECT_EQ(DefaultApplication("text/rtf"), "quillomark.desktop");
  RestoreDefaultApplication("text/rtf", previous);
  EXPECT_EQ(ReadFileBytes(list),
            "[Added Associations]\ntext/rtf=other.desktop;\n[Default Applications]\ntext/rtf=other.desktop\n");
}

}  // namespace

namespace {

TEST_F(XdgAssociation, MimeTypeOfAnExtensionByTheHeaviestGlob) {
  const std::string system = world_.ProgramFolder + "system/";
  ForceDirectories(system + "mime");
  WriteFileAtomic(system + "mime/globs2", "# comment\n40:text/x-low:*.txt\n50:text/plain:*.txt\n50:text/rtf:*.rtf:cs\n");
  const char* old = std::getenv("XDG_DATA_DIRS");
  const std::string oldValue = old ? old : "";
  setenv("XDG_DATA_DIRS", ("/nonexistent-qm:" + system).c_str(), 1);
  struct Case { const char* ext; const char* mime; } cases[] = {
      {".txt", "text/plain"}, {"TXT", "text/plain"}, {".rtf", "text/rtf"}, {".xyz", ""}, {"", ""}, {".", ""}};
  for (const auto& c : cases) EXPECT_EQ(MimeTypeOfExtension(c.ext), c.mime) << c.ext;
  // The user's own database comes first.
  ForceDirectories(world_.ProgramFolder + "data/mime");
  WriteFileAtomic(world_.ProgramFolder + "data/mime/globs2", "50:text/x-mine:*.txt\n");
  EXPECT_EQ(MimeTypeOfExtension(".txt"), "text/x-mine");
  if (old) setenv("XDG_DATA_DIRS", oldValue.c_str(), 1);
  else unsetenv("XDG_DATA_DIRS");
}

}  // namespace
