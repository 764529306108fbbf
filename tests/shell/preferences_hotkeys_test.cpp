// Hot keys of the global actions: stored rows, the key each row registers, captured key texts.

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "shell/language.h"
#include "shell/preferences_hotkeys.h"
#include "tests/shell/preferences_test_env.h"

namespace {

TEST(PreferencesHotKeys, RowsDefaultToTheTableAndRoundTripThroughSectionGlobal) {
  TTestWorld world;
  std::vector<THotKeyRow> rows = LoadHotKeyRows();
  ASSERT_EQ(rows.size(), 15u);
  EXPECT_EQ(rows[0], (THotKeyRow{"Scroll Lock", true}));
  EXPECT_EQ(rows[1], (THotKeyRow{"Alt+Scroll Lock", true}));
  EXPECT_EQ(rows[2], (THotKeyRow{"Ctrl+Shift+F11", true}));
  EXPECT_EQ(rows[13], (THotKeyRow{"Shift+Ctrl+Alt+M", true}));
  EXPECT_EQ(rows[14], (THotKeyRow{"Ctrl+Shift+A", true})) << "action 14 has a key too";

  rows[3] = {"Ctrl+Shift+T", false};
  SaveHotKeyRows(rows);
  EXPECT_EQ(LoadHotKeyRows(), rows);

  // Stored as the program always stored them: a string and a Boolean number per row.
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Vortanel\\Quillomark\\Global"));
  EXPECT_EQ(reg.GetDataType("KeyName3"), rdString);
  EXPECT_EQ(reg.ReadString("KeyName3"), "Ctrl+Shift+T");
  EXPECT_EQ(reg.GetDataType("KeyEnabled3"), rdInteger);
  EXPECT_EQ(reg.ReadInteger("KeyEnabled3"), 0);
  EXPECT_EQ(reg.ReadString("KeyName14"), "Ctrl+Shift+A");
}

// No default key is one that X servers or the common desktops keep for themselves.
TEST(PreferencesHotKeys, DefaultKeysAvoidThoseOfTheServerAndTheDesktops) {
  for (int i = 0; i < kGlobalActionCount; ++i) {
    SCOPED_TRACE(DefaultHotKeyText(i));
    const THotKey key = RowHotKey({DefaultHotKeyText(i), true});
    ASSERT_NE(key.Key, 0);
    if (key.Modifiers != (hkCtrl | hkAlt)) continue;
    const bool terminalSwitch = key.Key >= VK_F1 && key.Key <= VK_F1 + 11;
    const bool workspace = key.Key >= VK_LEFT && key.Key <= VK_DOWN;
    const bool desktop = key.Key == 'D' || key.Key == 'K' || key.Key == 'L' || key.Key == 'T' ||
                         key.Key == VK_DELETE || key.Key == VK_BACK;
    EXPECT_FALSE(terminalSwitch || workspace || desktop);
  }
}

TEST(PreferencesHotKeys, EachRowRegistersItsKeyAndModifiers) {
  struct Case {
    THotKeyRow row;
    THotKey expected;
  };
  const Case cases[] = {
      {{"Scroll Lock", true}, {VK_SCROLL, 0}},
      {{"Alt+Scroll Lock", true}, {VK_SCROLL, hkAlt}},
      {{"Alt+Ctrl+Scroll Lock", true}, {VK_SCROLL, hkAlt | hkCtrl}},
      {{"Ctrl+Alt+F11", true}, {VK_F1 + 10, hkCtrl | hkAlt}},
      {{"Ctrl+Shift+D", true}, {'D', hkCtrl | hkShift}},
      {{"Shift+Ctrl+Alt+M", true}, {'M', hkShift | hkCtrl | hkAlt}},
      {{"Ctrl+Shift+D", false}, {0, 0}},
      {{"No such key", true}, {0, 0}},
      {{"", true}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row.KeyText);
    EXPECT_EQ(RowHotKey(c.row), c.expected);
  }
}

TEST(PreferencesHotKeys, CapturedKeysGiveTheirTextAndLoneModifiersAreIgnored) {
  struct Case {
    uint16_t key;
    TShiftState shift;
    const char* expected;
  };
  const Case cases[] = {
      {VK_SCROLL, 0, "Scroll Lock"},
      {VK_SCROLL, ssCtrl | ssAlt, "Alt+Ctrl+Scroll Lock"},
      {VK_SCROLL, ssShift | ssCtrl, "Shift+Ctrl+Scroll Lock"},
      {'K', ssCtrl | ssShift, "Shift+Ctrl+K"},
      {VK_F1 + 8, ssCtrl | ssAlt, "Ctrl+Alt+F9"},
      {VK_SHIFT, ssShift, ""},
      {VK_CONTROL, ssCtrl, ""},
      {VK_MENU, ssAlt, ""},
      {VK_ESCAPE, 0, ""},
      {VK_LEFT, ssCtrl, ""},
      {VK_DOWN, 0, ""},
      {0xBA, ssCtrl, ""},  // ';' is not a key of the hot-key table
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(CapturedKeyText(c.key, c.shift), c.expected);
  }
  // What is captured registers the same key again.
  EXPECT_EQ(RowHotKey({CapturedKeyText(VK_SCROLL, ssCtrl | ssAlt), true}), (THotKey{VK_SCROLL, hkCtrl | hkAlt}));
  EXPECT_EQ(RowHotKey({CapturedKeyText('K', ssCtrl | ssShift), true}), (THotKey{'K', hkCtrl | hkShift}));
}

TEST(PreferencesHotKeys, ActionNamesComeFromTheLanguageElseEnglish) {
  TTestWorld world;
  world.WriteProgramFile("russian.lng", "[Messages]\r\nGlobalAction3=\xd2\xf0\xe0\xed\xf1\xeb\xe8\xf2\r\n");
  TLanguage language(nullptr);
  language.SetLanguageFile("russian.lng");
  EXPECT_EQ(GlobalActionName(3, &language), "\xd2\xf0\xe0\xed\xf1\xeb\xe8\xf2");
  EXPECT_EQ(GlobalActionName(4, &language), "De-transliterate");
  EXPECT_EQ(GlobalActionName(14, nullptr), "Apply Template");
}

}  // namespace
