// The File menu's "Preferences..." item opens the preferences window.

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "tests/shell/preferences_test_env.h"

namespace {

TEST(MainFormSettingsMenu, PreferencesItemOfTheFileMenuShowsThePreferences) {
  TTestWorld world;
  EnsureGuiApplication();
  new TMainForm(Application);  // becomes MainForm
  PrefForm = new TPrefForm(Application);
  MainForm->InitAfterForms();

  TMenuItem* item = MainForm->Settings1;
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Parent(), MainForm->FileMenu);
  EXPECT_EQ(item->Caption(), "Preferences...");
  EXPECT_EQ(item->ShortCut(), 0);

  bool shownModally = false;
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    shownModally = PrefForm->Visible() && PrefForm->Modal();
    PrefForm->Button2->Click();
  };
  item->Click();
  EXPECT_TRUE(shownModally);
  EXPECT_FALSE(PrefForm->Visible());
  EXPECT_EQ(PrefForm->ModalResult(), mrOk);

  delete PrefForm;
  TComponent::Free(MainForm);
}

}  // namespace
