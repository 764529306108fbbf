// The special symbols list: reading lines, shortcut texts, finding a symbol by its key, the
// grid layout and the shipped "symbols.dat".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/symbol_list.h"

namespace {

constexpr uint16_t kPeriod = 0xBE;

TEST(SymbolList, ParsesLinesAndSkipsUnreadableOnes) {
  const auto copyright = ParseSymbolLine("169=Arial///Ctrl+Alt+C");
  ASSERT_TRUE(copyright);
  EXPECT_EQ(copyright->Code, u'©');
  EXPECT_EQ(copyright->Font, "Arial");
  EXPECT_EQ(copyright->Shortcut, "Ctrl+Alt+C");
  const auto plain = ParseSymbolLine("937=Times New Roman");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->Font, "Times New Roman");
  EXPECT_EQ(plain->Shortcut, "");
  // Code 0 would put U+0000 into the document.
  for (const char* bad : {"abc=Arial///Ctrl+Alt+X", "0=Arial", "=Arial", "70000=Arial", "55296=Arial", "12",
                          "-5=Arial", "12x=Arial"})
    EXPECT_FALSE(ParseSymbolLine(bad)) << bad;
}

TEST(SymbolList, ShortcutTexts) {
  EXPECT_EQ(SymbolShortcutText('X', ssCtrl | ssAlt), "Ctrl+Alt+X");
  EXPECT_EQ(SymbolShortcutText('X', ssShift | ssCtrl), "Shift+Ctrl+X");
  EXPECT_EQ(SymbolShortcutText(kPeriod, ssCtrl | ssAlt), "Ctrl+Alt+.");
  EXPECT_EQ(SymbolShortcutText(VK_F1 + 4, ssAlt), "Alt+F5");
  EXPECT_EQ(SymbolShortcutText(VK_SCROLL, ssCtrl | ssAlt | ssShift), "Shift+Alt+Ctrl+Scroll Lock");
  EXPECT_EQ(SymbolShortcutText(VK_SCROLL, ssCtrl), "Ctrl+Scroll Lock");
  // A key without Ctrl or Alt would steal ordinary typing; modifiers and arrows alone are none.
  for (const auto& [key, shift] : {std::pair<uint16_t, TShiftState>{'A', 0}, {'A', ssShift}, {VK_SPACE, 0},
                                   {VK_RETURN, 0}, {VK_BACK, 0}, {VK_CONTROL, ssCtrl}, {VK_MENU, ssAlt},
                                   {VK_LEFT, ssCtrl}, {VK_ESCAPE, ssAlt}})
    EXPECT_EQ(SymbolShortcutText(key, shift), "") << key;
}

TEST(SymbolList, ShortcutsMatchWithModifiersInAnyOrder) {
  EXPECT_TRUE(ShortcutMatches("Ctrl+Alt+C", 'C', ssCtrl | ssAlt));
  EXPECT_TRUE(ShortcutMatches("alt+ctrl+c", 'C', ssCtrl | ssAlt));
  EXPECT_TRUE(ShortcutMatches("Shift+Alt+Ctrl+Scroll Lock", VK_SCROLL, ssCtrl | ssAlt | ssShift));
  EXPECT_TRUE(ShortcutMatches("Ctrl+Alt+.", kPeriod, ssCtrl | ssAlt));
  EXPECT_FALSE(ShortcutMatches("Ctrl+Alt+C", 'C', ssCtrl));
  EXPECT_FALSE(ShortcutMatches("Ctrl+Alt+C", 'C', ssCtrl | ssAlt | ssShift));
  EXPECT_FALSE(ShortcutMatches("Ctrl+Alt+C", 'D', ssCtrl | ssAlt));
}

TEST(SymbolList, FindHotKey) {
  const std::vector<std::string> lines = {"65=Arial///A",           "937=Arial",
                                          "bad=Arial///Ctrl+Alt+X", "8364=Arial///Ctrl+Alt+X",
                                          "8211=Arial///Ctrl+Alt+X", "169=Arial///Ctrl+Alt+C"};
  EXPECT_EQ(FindSymbolHotKey(lines, 'X', ssCtrl | ssAlt), 3);  // the first readable one wins
  EXPECT_EQ(FindSymbolHotKey(lines, 'C', ssCtrl | ssAlt), 5);
  EXPECT_EQ(FindSymbolHotKey(lines, 'A', 0), -1);  // a stored plain key is never taken
  EXPECT_EQ(FindSymbolHotKey(lines, 'Q', ssCtrl | ssAlt), -1);
  const auto defaults = DefaultSymbolLines();
  ASSERT_EQ(defaults.size(), 8u);
  EXPECT_EQ(FindSymbolHotKey(defaults, kPeriod, ssCtrl | ssAlt), 7);
  EXPECT_EQ(FindSymbolHotKey(defaults, '2', ssCtrl | ssAlt), 4);
}

TEST(SymbolList, ShortcutReplacesTheOldOne) {
  EXPECT_EQ(WithShortcut("169=Arial///Ctrl+Alt+C", "Ctrl+Alt+X"), "169=Arial///Ctrl+Alt+X");
  EXPECT_EQ(WithShortcut("937=Arial", "Alt+O"), "937=Arial///Alt+O");
  EXPECT_EQ(WithShortcut("937=Arial///Alt+O", ""), "937=Arial");
}

TEST(SymbolList, GridLayoutNeverDividesByZero) {
  EXPECT_EQ(SymbolGridColumns(200), 7);
  EXPECT_EQ(SymbolGridRows(7, 8), 36);
  for (int width : {0, 10, 49, 50}) EXPECT_EQ(SymbolGridColumns(width), 1) << width;
  EXPECT_EQ(SymbolGridRows(1, 0), 256);
  EXPECT_EQ(SymbolGridRows(7, 300), 43);  // every line gets a cell
}

TEST(SymbolList, LoadsTheFileOrTheDefaults) {
  const auto dir = std::filesystem::temp_directory_path() / ("qm-symbols-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  EXPECT_EQ(LoadSymbolLines((dir / "missing.dat").string()), DefaultSymbolLines());
  std::ofstream((dir / "symbols.dat").string(), std::ios::binary) << "937=Arial\r\n\r\n8364=Arial///Alt+E\r\n";
  EXPECT_EQ(LoadSymbolLines((dir / "symbols.dat").string()), (std::vector<std::string>{"937=Arial", "8364=Arial///Alt+E"}));
  std::filesystem::remove_all(dir);
}

TEST(SymbolList, ShippedFileReadsCompletely) {
  const auto lines = LoadSymbolLines(QM_SOURCE_DIR "/data/symbols.dat");
  ASSERT_GT(lines.size(), 8u);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(lines[i], DefaultSymbolLines()[i]);
  for (const auto& line : lines) EXPECT_TRUE(ParseSymbolLine(line)) << line;
}

}  // namespace
