// The shipped language files cover every text of the program's windows: the template written
// from the live windows holds no key that a language file lacks, and english.lng holds the
// windows' own texts.

#include <gtest/gtest.h>

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

// The windows whose layouts the program has, made as the program makes them.
const char* const kFormClasses[] = {"TMainForm", "TProgressForm", "TWaitForm", "TFindForm",
                                    "TUnicodeForm", "TCyrForm", "TAutoForm", "TSpeedForm",
                                    "TAboutBox", "TDebugForm", "TCalcForm", "TSpecialCharForm",
                                    "TFormGenChar", "TCollectForm", "TRevForm", "TVirtualKbd",
                                    "TMailForm", "TMixedCharForm", "TAutoLangForm",
                                    "TReformatForm", "TSortForm", "TQuickForm", "TAskForm",
                                    "TGotoLineForm", "TNetDialog"};

// Texts that the windows build at run time; no language file may replace them.
const std::set<std::string> kRunTimeTexts = {"MainForm.Caption", "FormGenChar.Label1.Caption",
                                             "MailForm.LabelSample.Caption"};

std::string WithoutAccelerator(const std::string& text) {
  const size_t at = text.find('&');
  if (at == std::string::npos || (at + 1 < text.size() && text[at + 1] == '&' && at != 0)) return text;
  return text.substr(0, at) + text.substr(at + 1);
}

TEST(LanguageCoverage, LanguageFilesHoldEveryTextOfTheWindows) {
  TTestWorld world;
  EnsureGuiApplication();
  std::vector<std::unique_ptr<TComponent>> forms;
  for (const char* name : kFormClasses) {
    if (FindClass(name) && HasFormLayout(name)) forms.emplace_back(CreateComponent(name, Application));
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
