// The shipped language files cover every text of the program's windows: the template written
// from the live windows holds no key that a language file lacks, and english.lng holds the
// windows' own texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/ini_file.h"
#include "platform/string_list.h"
#include "shell/language.h"
#include "shell/preferences.h"
#include "tests/shell/preferences_test_env.h"

namespace {

// The windows whose layouts the program has: every layout file of the forms folder (the
// preferences window writes the template itself).
std::vector<std::string> FormClasses() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(QM_SOURCE_DIR) + "/forms"))
    if (entry.path().extension() == ".qfm" && entry.path().stem() != "TPrefForm")
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Texts that the windows build at run time; no language file may replace them.
const std::set<std::string> kRunTimeTexts = {
    "MainForm.Caption", "FormGenChar.Label1.Caption", "MailForm.LabelSample.Caption",
    "SpecialCharForm.LabelKey.Caption", "AboutBox.LabelVer.Caption", "AboutBox.PhysMem.Caption",
    "AboutBox.FreeRes.Caption", "SplashForm.LabelVer.Caption"};

std::string WithoutAccelerator(const std::string& text) {
  const size_t at = text.find('&');
  if (at == std::string::npos || (at + 1 < text.size() && text[at + 1] == '&' && at != 0)) return text;
  return text.substr(0, at) + text.substr(at + 1);
}

TEST(LanguageCoverage, LanguageFilesHoldEveryTextOfTheWindows) {
  TTestWorld world;
  EnsureGuiApplication();
  std::vector<std::unique_ptr<TComponent>> forms;
  for (const std::string& name : FormClasses()) {
    // A layout file whose window the program cannot make would escape the check.
    ASSERT_TRUE(FindClass(name) && HasFormLayout(name)) << name << " is not linked into the program";
    forms.emplace_back(CreateComponent(name, Application));
  }
  auto pref = std::make_unique<TPrefForm>(Application);
  pref->Language1->SaveLanguage("template.new");

  TMemIniFile templ(world.ProgramFolder + "template.new");
  TMemIniFile english(std::string(QM_SOURCE_DIR) + "/data/english.lng");
  TMemIniFile russian(std::string(QM_SOURCE_DIR) + "/data/russian.lng");
  int checked = 0;
  for (const char* section : {"Caption", "Hint", "Items", "Columns"}) {
    TStringList keys;
    templ.ReadSection(section, keys);
    for (int i = 0; i < keys.Count(); ++i) {
      const std::string key = keys[i];
      if (kRunTimeTexts.count(key)) {
        EXPECT_FALSE(english.ValueExists(section, key) || russian.ValueExists(section, key)) << key;
        continue;
      }
      const std::string text = templ.ReadString(section, key, "");
      EXPECT_EQ(WithoutAccelerator(english.ReadString(section, key, "")), text) << section << " " << key;
      EXPECT_TRUE(russian.ValueExists(section, key)) << section << " " << key << " is missing in russian.lng";
      // The windows speak of this platform: no Windows start-up, registry and the like.
      for (const std::string& shown : {text, english.ReadString(section, key, ""), russian.ReadString(section, key, "")})
        EXPECT_EQ(shown.find("Windows"), std::string::npos) << section << " " << key << ": " << shown;
      ++checked;
    }
  }
  EXPECT_GT(checked, 30);
}

}  // namespace
