// Starting with the desktop session: the XDG autostart entry is written and removed.

#include <gtest/gtest.h>

#include "platform/files.h"
#include "shell/autostart.h"
#include "textcore/app_files.h"
#include "tests/shell/preferences_test_env.h"

namespace {

TEST(Autostart, EntryIsWrittenQuotedAndRemoved) {
  TTestWorld world;
  const std::string entry = world.XdgConfigHome + "autostart/quillomark.desktop";
  EXPECT_EQ(AutostartEntryFile(), entry);
  ASSERT_FALSE(FileExists(entry));

  SetStartWithSession(true, "/opt/my apps/100%/quillo\"mark");
  ASSERT_TRUE(FileExists(entry));
  const std::string text = ReadFileBytes(entry);
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(text.find("\nName=Quillomark\n"), std::string::npos);
  EXPECT_NE(text.find("\nExec=\"/opt/my apps/100%%/quillo\\\\\"mark\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nIcon=" + AppDirFile("quillomark.png") + "\n"), std::string::npos) << text;

  SetStartWithSession(true, "/usr/bin/quillomark");  // rewriting replaces the entry
  EXPECT_NE(ReadFileBytes(entry).find("\nExec=\"/usr/bin/quillomark\"\n"), std::string::npos);

  SetStartWithSession(false, "/usr/bin/quillomark");
  EXPECT_FALSE(FileExists(entry));
  SetStartWithSession(false, "/usr/bin/quillomark");  // removing a missing entry is no error
  EXPECT_FALSE(FileExists(entry));
}

TEST(Autostart, CyrillicProgramPathIsWrittenInUtf8) {
  TTestWorld world;
  SetStartWithSession(true, "/home/\xe8\xe2\xe0\xed/quillomark");  // "иван" in code page 1251
  EXPECT_NE(ReadFileBytes(AutostartEntryFile()).find("/home/\xd0\xb8\xd0\xb2\xd0\xb0\xd0\xbd/quillomark"),
            std::string::npos);
}

}  // namespace
