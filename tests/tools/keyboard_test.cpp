// The on-screen keyboard control typing into an editor: letters and their case, Shift and Caps
// Lock, the special keys, options and modes.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"
#include "tools/keyboard.h"

namespace {

struct KeyboardTest : ::testing::Test {
  void SetUp() override {
    EnsureGuiApplication();
    editor = new TRichEditW(nullptr);
    keyboard = new TKeyboard(nullptr);
    keyboard->SetBounds(0, 0, 290, 100);
    keyboard->SetLinkedControl(editor);
    keyboard->OnKey = [this](TObject*, char c) { events += std::string("key ") + c + ";"; };
    keyboard->OnSpecialKey = [this](TObject*, int code) { events += "special " + std::to_string(code) + ";"; };
    keyboard->OnShiftStateChange = [this](TObject*, bool on) { events += on ? "shift on;" : "shift off;"; };
    keyboard->OnCapsStateChange = [this](TObject*, bool on) { events += on ? "caps on;" : "caps off;"; };
  }
  void TearDown() override {
    TComponent::Free(keyboard);
    TComponent::Free(editor);
  }
  void Press(TKbKeyKind kind, const std::string& caption = "") {
    const int index = keyboard->FindKey(kind, caption);
    ASSERT_GE(index, 0) << caption;
    keyboard->Press(index);
  }
  std::string Caption(TKbKeyKind kind, const std::string& caption = "") {
    return keyboard->KeyButton(keyboard->FindKey(kind, caption))->Caption();
  }

  TRichEditW* editor = nullptr;
  TKeyboard* keyboard = nullptr;
  std::string events;
};

TEST_F(KeyboardTest, TypesWithShiftAndCapsLock) {
  EXPECT_EQ(keyboard->KeyButton(keyboard->FindKey(kkBackspace))->Left(), 260);
  Press(kkChar, "q");
  Press(kkLeftShift);
  EXPECT_EQ(Caption(kkChar, "q"), "Q");
  Press(kkChar, "q");  // a character turns Shift off
  EXPECT_EQ(Caption(kkChar, "q"), "q");
  Press(kkSpace);
  Press(kkCaps);
  EXPECT_EQ(Caption(kkChar, "1"), "!");  // Caps Lock shows the shifted signs too
  Press(kkChar, "1");
  Press(kkChar, "w");
  EXPECT_EQ(editor->GetTextW(), u"qQ !W");
  EXPECT_EQ(events, "key q;shift off;special 2;shift on;key Q;shift off;key  ;shift off;caps on;shift off;key !;shift off;key W;shift off;");
}

TEST_F(KeyboardTest, SpecialKeysAndMapping) {
  Press(kkChar, "a");
  Press(kkTab);
  Press(kkChar, "b");
  Press(kkBackspace);
  Press(kkEnter);
  EXPECT_EQ(editor->GetTextW(), u"a\t\r");
  events.clear();
  Press(kkRightShift);
  EXPECT_EQ(events, "special 3;shift on;");
  keyboard->OnMapKey = [](TObject*, std::string& key) { key = MapKeyCaption(key, "RUS"); };
  keyboard->RefreshCaptions();
  EXPECT_EQ(Caption(kkChar, "q"), "\xC9");  // Й with Shift on
  Press(kkChar, "q");
  EXPECT_EQ(editor->GetTextW().back(), u'Й');
  keyboard->SetCharCase(ecUpperCase);
  Press(kkChar, "w");
  EXPECT_EQ(editor->GetTextW().back(), u'Ц');
}

TEST_F(KeyboardTest, OptionsAndModes) {
  keyboard->SetOptions(DisableTab | HideCaps);
  EXPECT_FALSE(keyboard->KeyButton(keyboard->FindKey(kkTab))->Enabled());
  EXPECT_FALSE(keyboard->KeyButton(keyboard->FindKey(kkCaps))->Visible());
  EXPECT_TRUE(keyboard->KeyButton(keyboard->FindKey(kkEnter))->Visible());
  keyboard->SetKeyboardMode(kbmAlphaNumericFunction);
  events.clear();
  Press(kkFunction, "F1");
  EXPECT_EQ(events, "special " + std::to_string(VK_F1) + ";");
  keyboard->SetKeyboardMode(kbmCalculator);
  EXPECT_EQ(keyboard->FindKey(kkChar, "q"), -1);
  Press(kkChar, "7");
  Press(kkChar, "+");
  EXPECT_EQ(editor->GetTextW(), u"7+");
  keyboard->SetKeyboardMode(kbmNumeric);
  EXPECT_EQ(keyboard->KeyCount(), 11);
}

}  // namespace
