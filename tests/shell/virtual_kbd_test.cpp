// The on-screen keyboard window: it types into the main editor through the layout the main
// window shows, and it stays the copy's hand-off window.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
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
  TComponent::Free(kbd);
  TComponent::Free(main);
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

}  // namespace
