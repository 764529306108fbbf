// The on-screen keyboard window: it types into the main editor through the layout the main
// window shows, and it stays the copy's hand-off window.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/actions.h"
#include "platform/gui/key_send.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "preferences_test_env.h"
#include "shell/main_form.h"
#include "shell/single_instance_window.h"
#include "textcore/rich_edit.h"
#include "tools/keyboard.h"

namespace {

TEST(VirtualKbd, TypesIntoTheMainEditorThroughTheLayout) {
  EnsureGuiApplication();
  TTestWorld world;
  TScriptedDialogs dialogs;
  auto* main = new TMainForm(Application);
  auto* kbd = new TVirtualKbd(Application);
  EXPECT_EQ(kbd->Caption(), "Virtual Keyboard");
  EXPECT_EQ(kbd->Keyboard1->LinkedControl(), main->Editor);
  main->Editor->SetTextW(u"");
  TKeyboard& keys = *kbd->Keyboard1;
  keys.Press(keys.FindKey(kkChar, "q"));
  auto* panels = main->StatusBar->Panels();
  ASSERT_GT(panels->Count(), 7);
  panels->Items(7)->SetText("RUS");
  keys.RefreshCaptions();
  EXPECT_EQ(keys.KeyButton(keys.FindKey(kkChar, "q"))->Caption(), "\xE9");
  keys.Press(keys.FindKey(kkChar, "q"));
  panels->Items(7)->SetText("FON");
  keys.Press(keys.FindKey(kkChar, "q"));
  EXPECT_EQ(main->Editor->GetTextW(), u"qйя");
  // Under a running operation it types nothing into the text.
  main->SetBusy(true);
  keys.Press(keys.FindKey(kkChar, "q"));
  uint16_t key = 'Q';
  kbd->OnKeyDown(kbd, key, 0);
  EXPECT_EQ(main->Editor->GetTextW(), u"qйя");
  main->SetBusy(false);
  keys.Press(keys.FindKey(kkChar, "q"));
  EXPECT_EQ(main->Editor->GetTextW(), u"qйяя");
  panels->Items(7)->SetText("ENG");
  // Keys pressed on the real keyboard while the window has the focus reach the editor whole:
  // characters and editing keys alike.
  main->Show();
  kbd->Show();
  TypeTextTo(kbd->Keyboard1, u"ab");
  SendKeyTo(kbd->Keyboard1, VK_BACK, 0);
  SendKeyTo(kbd->Keyboard1, VK_HOME, 0);
  TypeTextTo(kbd->Keyboard1, u"Z");
  EXPECT_EQ(main->Editor->GetTextW(), u"Zqйяяa");
  // Its menu offers the main window's four layouts.
  ASSERT_NE(kbd->PopupMenu1, nullptr);
  ASSERT_EQ(kbd->PopupMenu1->Items()->Count(), 4);
  EXPECT_EQ(kbd->PopupMenu1->Items()->Items(1)->Action(), main->EditKbdRussian);
  EXPECT_TRUE(main->EditKbdEmulated->Enabled());
  kbd->PopupMenu1->Items()->Items(2)->Click();
  EXPECT_TRUE(main->EditKbdEmulated->Checked());
  TComponent::Free(kbd);
  TComponent::Free(main);
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

}  // namespace
