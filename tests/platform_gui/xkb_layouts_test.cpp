// The keyboard layouts of an X server through XKB, on a private Xvfb given English and Russian
// layouts by setxkbmap (never the user's own display, whose keymap a test must not change).
#include "platform/gui/xkb_layouts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/platform_gui/private_x_server.h"

namespace {

constexpr const char* kSetXkbMap = "/usr/bin/setxkbmap";

TEST(XkbLayouts, LayoutNamesGiveTheirLanguage) {
  const std::pair<const char*, uint16_t> cases[] = {
      {"us", 1033}, {"gb", 1033}, {"English (US)", 1033}, {"ru", 1049}, {"ru(phonetic)", 1049},
      {"Russian", 1049}, {"de", 0}, {"", 0},
  };
  for (const auto& [name, language] : cases) EXPECT_EQ(XkbLayoutLanguage(name), language) << name;
}

TEST(XkbLayouts, TheServersGroupsAreListedReadAndLocked) {
  if (access(TPrivateXServer::kXvfb, X_OK) != 0 || access(kSetXkbMap, X_OK) != 0)
    GTEST_SKIP() << "Xvfb or setxkbmap is not installed (Debian packages xvfb and x11-xkb-utils)";
  TPrivateXServer server;
  ASSERT_FALSE(server.Name.empty()) << "no private Xvfb came up";
  EXPECT_EQ(TXkbLayouts::Open(":9999999", nullptr), nullptr);

  const std::string command = std::string(kSetXkbMap) + " -display " + server.Name + " -layout us,ru";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::string why;
  auto layouts = TXkbLayouts::Open(server.Name, &why);
  ASSERT_NE(layouts, nullptr) << why;
  EXPECT_EQ(layouts->Languages(), (std::vector<uint16_t>{1033, 1049}));
  EXPECT_EQ(layouts->Group(), 0);
  EXPECT_TRUE(layouts->SetGroup(1));
  EXPECT_EQ(layouts->Group(), 1);
  // Another client sees the switch: it is the server's, not this connection's.
  EXPECT_EQ(TXkbLayouts::Open(server.Name, nullptr)->Group(), 1);
  EXPECT_FALSE(layouts->SetGroup(2));
  EXPECT_EQ(layouts->Group(), 1);
  EXPECT_TRUE(layouts->SetGroup(0));
  EXPECT_EQ(layouts->Group(), 0);
}

}  // namespace
