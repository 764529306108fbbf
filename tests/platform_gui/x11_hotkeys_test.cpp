#include "platform/gui/x11_hotkeys.h"

#include "tests/platform_gui/test_display.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <string>

namespace {

// Presses and releases a key with XTest as a user at the keyboard would.
void PressKey(const std::string& display, uint32_t keysym, bool withCtrlAlt) {
  xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  auto* map = xcb_get_keyboard_mapping_reply(
      c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
  auto code = [&](uint32_t sym) -> xcb_keycode_t {
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    for (int i = 0; i < count * map->keysyms_per_keycode; ++i)
      if (syms[i] == sym) return setup->min_keycode + i / map->keysyms_per_keycode;
    return 0;
  };
  const xcb_keycode_t ctrl = code(0xffe3), alt = code(0xffe9), key = code(keysym);
  if (withCtrlAlt) {
    xcb_test_fake_input(c, XCB_KEY_PRESS, ctrl, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_PRESS, alt, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  }
  xcb_test_fake_input(c, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  xcb_test_fake_input(c, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  if (withCtrlAlt) {
    xcb_test_fake_input(c, XCB_KEY_RELEASE, alt, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_RELEASE, ctrl, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  }
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  free(map);
  xcb_disconnect(c);
}

#define REQUIRE_DISPLAY()                                                                  \
  if (Display().Name.empty()) GTEST_SKIP() << "Xvfb is not installed and DISPLAY is not set"

}  // namespace

TEST(X11HotKeys, GrabbedKeyIsReceivedOnlyWithItsModifiers) {
  REQUIRE_DISPLAY();
  std::string why;
  auto keys = TX11HotKeys::Open(Display().Name, &why);
  ASSERT_TRUE(keys) << why;
  ASSERT_TRUE(keys->Register(7, 0x4B /* K */, TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  PressKey(Display().Name, 'k', false);
  EXPECT_TRUE(keys->TakePressed(200).empty());
  PressKey(Display().Name, 'k', true);
  EXPECT_EQ(keys->TakePressed(2000), std::vector<int>{7});
}

TEST(X11HotKeys, UnregisteredKeyIsNoLongerReceivedAndCanBeTakenAgain) {
  REQUIRE_DISPLAY();
  auto first = TX11HotKeys::Open(Display().Name, nullptr);
  auto second = TX11HotKeys::Open(Display().Name, nullptr);
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(first->Register(1, 0x4C /* L */, TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  // Another client holding the key is refused, and keeps nothing half-grabbed.
  EXPECT_FALSE(second->Register(2, 0x4C, TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  first->UnregisterAll();
  PressKey(Display().Name, 'l', true);
  EXPECT_TRUE(first->TakePressed(200).empty());
  EXPECT_TRUE(second->Register(2, 0x4C, TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  PressKey(Display().Name, 'l', true);
  EXPECT_EQ(second->TakePressed(2000), std::vector<int>{2});
}

TEST(X11HotKeys, UnregisteringOneIdKeepsTheOthers) {
  REQUIRE_DISPLAY();
  auto keys = TX11HotKeys::Open(Display().Name, nullptr);
  ASSERT_TRUE(keys);
  ASSERT_TRUE(keys->Register(3, 0x4D /* M */, TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  ASSERT_TRUE(keys->Register(4, 0x4E /* N */, TX11HotKeys::Ctrl | TX11HotKeys::Alt));
  keys->Unregister(3);
  PressKey(Display().Name, 'm', true);
  EXPECT_TRUE(keys->TakePressed(200).empty());
  PressKey(Display().Name, 'n', true);
  EXPECT_EQ(keys->TakePressed(2000), std::vector<int>{4});
}

TEST(X11HotKeys, KeyWithoutKeysymIsRefusedAndNoDisplayIsExplained) {
  REQUIRE_DISPLAY();
  auto keys = TX11HotKeys::Open(Display().Name, nullptr);
  ASSERT_TRUE(keys);
  EXPECT_FALSE(keys->Register(1, 0xE5, TX11HotKeys::Ctrl));
  EXPECT_EQ(VirtualKeyToKeysym(0x91), 0xff14u);
  std::string why;
  EXPECT_FALSE(TX11HotKeys::Open(":9999", &why));
  EXPECT_FALSE(why.empty());
}
