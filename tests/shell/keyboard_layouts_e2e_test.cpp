// The real program on the real xcb platform switches the X server's keyboard layout: a private
// Xvfb is given English and Russian layouts, the program chooses "System Russian" or "System
// English" from its menu, and the server's locked group is read back afterwards.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/platform_gui/private_x_server.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kSetXkbMap = "/usr/bin/setxkbmap";

TEST(KeyboardLayoutsEndToEnd, TheInputModesLockTheServersLayout) {
  if (access(TPrivateXServer::kXvfb, X_OK) != 0 || access(kSetXkbMap, X_OK) != 0)
    GTEST_SKIP() << "Xvfb or setxkbmap is not installed (Debian packages xvfb and x11-xkb-utils)";
  TPrivateXServer server;
  ASSERT_FALSE(server.Name.empty()) << "no private Xvfb came up";
  const std::string command = std::string(kSetXkbMap) + " -display " + server.Name + " -layout us,ru";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  ProgramFolders f;
  for (const auto& [item, group] : {std::pair{"KbdRussian", 1}, std::pair{"KbdEnglish", 0}}) {
    f.Write("layout.script", std::string("click ") + item + "\nclose\n");
    auto env = f.Env("layout.script");
    env["QT_QPA_PLATFORM"] = "xcb";
    env["DISPLAY"] = server.Name;
    env["HOME"] = f.Path("home");
    ProgramRun run({}, env);
    ASSERT_EQ(run.Wait(120s), 0) << run.Stderr();
    auto layouts = TXkbLayouts::Open(server.Name, nullptr);
    ASSERT_NE(layouts, nullptr);
    EXPECT_EQ(layouts->Group(), group) << item;
  }
}

}  // namespace
