// The program's windows keep their place between runs through their form storage: the main
// window (section "Main", with the recent lists below it), the preferences (section
// "Preferences", beside the stored options) and the progress window.
#include <gtest/gtest.h>

#include "components/form_placement.h"
#include "platform/gui/application.h"
#include "platform/gui/properties.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "shell/preferences_key.h"
#include "shell/progress_form.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/win_registry.h"

namespace {

TEST(WindowPlacement, TheMainWindowComesBackWhereItWas) {
  TTestWorld world;
  EnsureGuiApplication();
  {
    auto* form = new TMainForm(Application);
    PrefForm = new TPrefForm(Application);
    form->Show();
    form->SetBounds(70, 60, 640, 480);
    Application->ProcessMessages();
    delete PrefForm;
    PrefForm = nullptr;
    delete form;  // the program ends with the window open
  }
  TWinRegistry reg(kProductKey);
  EXPECT_EQ(reg.ReadString("Main", "NormPos", ""), "70,60,710,540");
  EXPECT_EQ(reg.ReadInteger("Main", "ShowCmd", -1), 1);
  auto* form = new TMainForm(Application);
  PrefForm = new TPrefForm(Application);
  EXPECT_EQ(form->BoundsRect(), Bounds(70, 60, 640, 480));
  delete PrefForm;
  PrefForm = nullptr;
  delete form;
}

TEST(WindowPlacement, PreferencesAndProgressWindowsKeepTheirPlace) {
  TTestWorld world;
  EnsureGuiApplication();
  {
    TPrefForm prefs(nullptr);
    prefs.Show();
    prefs.SetBounds(33, 44, prefs.Width(), prefs.Height());
    Application->ProcessMessages();
    prefs.FormStorage1->SaveFormPlacement();
    TProgressForm progress(nullptr);
    progress.Show();
    progress.SetBounds(55, 66, progress.Width(), progress.Height());
    Application->ProcessMessages();
  }
  TWinRegistry reg(kProductKey);
  EXPECT_EQ(reg.ReadString("Preferences", "NormPos", "").substr(0, 6), "33,44,");
  EXPECT_EQ(reg.ReadString("TProgressForm", "NormPos", "").substr(0, 6), "55,66,");
  TProgressForm progress(nullptr);
  progress.Show();  // centred by design, but the stored place wins
  EXPECT_EQ(progress.Left(), 55);
  EXPECT_EQ(progress.Top(), 66);
}

}  // namespace

namespace {

// Each tool window keeps its own place in its own section.
TEST(WindowPlacement, ToolWindowsKeepTheirPlaceInSectionsOfTheirOwn) {
  TTestWorld world;
  EnsureGuiApplication();
  const std::pair<const char*, const char*> windows[] = {
      {"TMixedCharForm", "MixedChar"}, {"TReformatForm", "Reformat"}, {"TSortForm", "Sort"},
      {"TAutoLangForm", "AutoLang"},   {"TMailForm", "MailForm"},     {"TQuickForm", "QuickForm"}};
  int offset = 10;
  for (const auto& [name, section] : windows) {
    offset += 10;
    TComponent* form = CreateComponent(name, Application);
    auto* window = dynamic_cast<TCustomForm*>(form);
    ASSERT_NE(window, nullptr) << name;
    window->Show();
    window->SetBounds(offset, offset + 1, window->Width(), window->Height());
    Application->ProcessMessages();
    TComponent::Free(form);
    const std::string place = std::to_string(offset) + "," + std::to_string(offset + 1) + ",";
    EXPECT_EQ(TWinRegistry(kProductKey).ReadString(section, "NormPos", "").substr(0, place.size()), place) << name;
  }
}

}  // namespace
