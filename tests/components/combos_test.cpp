// Combo boxes: the locale list (kinds of list, custom order, the selected LCID) and the font
// list (recent fonts first, filters, what counts as a choice), over the system's locales and
// over injected font families so that no test depends on the fonts of the machine.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <cctype>
#include <memory>

#include "components/font_combo.h"
#include "components/languages_combo.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "tests/platform/temp_folder.h"
#include "textcore/win_registry.h"

namespace {

std::vector<std::string> ItemsOf(const TComboBox& combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo.Items()->Count(); ++i) items.push_back(combo.Items()->Strings(i));
  return items;
}

TEST(LanguagesCombo, ListsSelectsAndReadsLocalesByLcid) {
  EnsureGuiApplication();
  TForm form(nullptr);
  auto* combo = new TLanguagesCombo(&form);
  combo->SetParent(&form);
  EXPECT_EQ(combo->Language(), 0x0800u);  // nothing selected
  EXPECT_GT(combo->LanguageCount(), 10);
  combo->SetViewType(lvtEnglish);
  combo->SetLanguage(1049);
  EXPECT_EQ(combo->Language(), 1049u);
  EXPECT_EQ(combo->LanguageName(), "Russian");
  combo->SetLanguageName("English");
  EXPECT_EQ(combo->Language() & 0x3FF, 0x09u);
  // An LCID that is no locale changes nothing.
  combo->SetLanguage(0x7777);
  EXPECT_EQ(combo->Language() & 0x3FF, 0x09u);
  // Primary languages only: 1049 but not 2073 (Russian of Moldova), nor anything from 2048.
  combo->SetLanguageType(ltPrimary);
  for (int i = 0; i < combo->Items()->Count(); ++i)
    EXPECT_LT(reinterpret_cast<uintptr_t>(combo->Items()->Objects(i)), 2048u);
  combo->SetLanguage(1049);
  EXPECT_EQ(combo->Language(), 1049u);
  // A valid locale that is not listed leaves nothing selected.
  combo->SetLanguage(2057);
  EXPECT_EQ(combo->Language(), 0x0800u);
  // Custom lists keep their order and skip lines that are no listed locale.
  combo->SetCustomList({"1049", "abc", "1033"});
  combo->SetLanguageType(ltCustom);
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Russian", "English"}));
  combo->SetViewType(lvtAbbrev);
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"RUS", "ENG"}));
  // Changing the view keeps the selected locale.
  combo->SetLanguage(1033);
  combo->SetViewType(lvtNative);
  EXPECT_EQ(combo->Language(), 1033u);
}

TEST(LanguagesCombo, BuildsListsFromAnyLocaleSource) {
  TLocaleSource source;
  source.Enumerate = [](bool supported) {
    return supported ? std::vector<LCID>{1033, 1049, 2073} : std::vector<LCID>{1033, 1049};
  };
  source.Name = [](LCID lcid, TLocaleNameKind) { return "L" + std::to_string(lcid); };
  EXPECT_EQ(BuildLanguageList(ltSupported, lvtEnglish, {}, source).size(), 3u);
  EXPECT_EQ(BuildLanguageList(ltInstalled, lvtEnglish, {}, source).size(), 2u);
  EXPECT_EQ(BuildLanguageList(ltCustom, lvtEnglish, {"2073", "1049", "x"}, source),
            (std::vector<TLanguageEntry>{{"L1049", 1049}}));
}

class FontComboTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    combo = new TFlatFontComboBox(&form);
    combo->SetParent(&form);
    combo->SetRootKey("Software\\Vortanel\\FontTest");
    combo->SetFontSource([this] { return families; });
  }
  TempFolder folder;
  ScopedEnv config{"QUILLOMARK_CONFIG_DIR", folder.Name()};
  std::vector<TFontFamily> families = {
      {"Times", ftTrueType}, {"Arial", ftTrueType}, {"Fixed", ftRaster}, {"Courier", ftTrueType}};
  TForm form{nullptr};
  TFlatFontComboBox* combo = nullptr;
  void Type(const std::string& text, int qtKey = 0) {
    const int key = qtKey ? qtKey : Qt::Key_A + (std::toupper(text[0]) - 'A');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromStdString(text));
    QCoreApplication::sendEvent(combo->Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromStdString(text));
    QCoreApplication::sendEvent(combo->Widget(), &release);
  }
};

TEST(FontListLayout, RecentInstalledFontsThenSeparatorThenFamilies) {
  const std::vector<std::string> families = {"Arial", "Courier", "Times"};
  EXPECT_EQ(FontListLayout({"Times", "Gone", "Arial"}, families),
            (std::vector<std::string>{"Times", "Arial", "-", "Arial", "Courier", "Times"}));
  EXPECT_EQ(FontListLayout({}, families), families);
  EXPECT_EQ(PushRecentFont({"A", "B", "C"}, "C", 3), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(PushRecentFont({"A", "B", "C"}, "D", 3), (std::vector<std::string>{"D", "A", "B"}));
  EXPECT_EQ(PushRecentFont({}, "D", 0), std::vector<std::string>{});
}

TEST_F(FontComboTest, PickingAFontMakesItTheNewestRecentOnce) {
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Arial", "Courier", "Fixed", "Times"}));
  // Programmatic selection stores nothing.
  combo->SetFontName("Times");
  EXPECT_TRUE(combo->StoredRecentFonts().empty());
  combo->SaveRecentFonts("Arial");
  combo->SaveRecentFonts("Times");
  combo->SaveRecentFonts("Arial");
  EXPECT_EQ(combo->StoredRecentFonts(), (std::vector<std::string>{"Arial", "Times"}));
  EXPECT_EQ(TWinRegistry("Software\\Vortanel\\FontTest").ReadString("RecentFonts", "0", ""), "Arial");
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Arial", "Times", "-", "Arial", "Courier", "Fixed", "Times"}));
  EXPECT_EQ(combo->FontName(), "Arial");
  // An uninstalled recent font is not shown.
  families.erase(families.begin() + 1);  // Arial
  combo->LoadRecentFonts();
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Times", "-", "Courier", "Fixed", "Times"}));
  // Without raster fonts, and with no recent fonts kept, there is no separator.
  combo->SetFilterOptions(ShowTrueType);
  combo->SetRecentFonts(0);
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Courier", "Times"}));
}

TEST_F(FontComboTest, TypingSavesOnlyAnInstalledFontOnEnterOrLeaving) {
  combo->SetFontName("Arial");
  form.Show();
  combo->SetFocus();
  combo->SelectAll();
  for (char c : std::string("Courier")) Type(std::string(1, c));
  EXPECT_EQ(combo->Text(), "Courier");
  EXPECT_TRUE(combo->StoredRecentFonts().empty());  // no save on every letter
  combo->Perform(WM_KILLFOCUS);
  EXPECT_EQ(combo->StoredRecentFonts(), std::vector<std::string>{"Courier"});
  // Enter confirms a typed family; a name that is no family is not stored.
  combo->SetFocus();
  combo->SelectAll();
  for (char c : std::string("Nope")) Type(std::string(1, c));
  Type("\r", Qt::Key_Return);
  combo->Perform(WM_KILLFOCUS);
  EXPECT_EQ(combo->StoredRecentFonts(), std::vector<std::string>{"Courier"});
  combo->SelectAll();
  for (char c : std::string("Times")) Type(std::string(1, c));
  Type("\r", Qt::Key_Return);
  EXPECT_EQ(combo->StoredRecentFonts(), (std::vector<std::string>{"Times", "Courier"}));
}

}  // namespace
