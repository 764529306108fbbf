#include "textcore/transliteration.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exceptions.h"
#include "textcore/keyboard_layouts.h"
#include "tests/textcore/text_literals.h"

namespace {

TEST(KeyboardLayouts, TablesAreTheSameKeys) {
  ASSERT_EQ(UsLayoutKeys.size(), 92u);
  ASSERT_EQ(RussianLayoutKeys.size(), 92u);
  ASSERT_EQ(PhoneticLayoutKeys.size(), 92u);
  EXPECT_EQ(UsLayoutKeys.substr(0, 13), "~!@#$%^&*()_+");
  EXPECT_EQ(RussianLayoutKeys.substr(0, 4), W("Ё!\"№"));
  EXPECT_EQ(PhoneticLayoutKeys.substr(PhoneticLayoutKeys.size() - 10), W("зьужбнм,./"));
}

TEST(KeyboardLayouts, SwitchKeyboardLayoutWorkedExamples) {
  const std::pair<std::string, std::string> cases[] = {
      {"ghbdtn", W("привет")},
      {W("руддщ"), "hello"},
      {".", W("ю")},
      {",", W("б")},
      {"?", ","},
      {":", W("Ж")},
      {"Ghbdtn? vbh!", W("Привет, мир!")},
      {"123", "123"},
      {W("№"), "#"},
      {"\t\n", "\t\n"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(SwitchKeyboardLayout(input), expected) << input;
}

TEST(KeyboardLayouts, SingleKeys) {
  EXPECT_EQ(LatinKeyToCyrillic('q'), W("й")[0]);
  EXPECT_EQ(LatinKeyToCyrillic('~'), W("Ё")[0]);
  EXPECT_EQ(LatinKeyToCyrillic(W("ж")[0]), W("ж")[0]);  // not a US key
  EXPECT_EQ(PhoneticKeyChar(W("й")[0]), W("я")[0]);     // the key of й is Q, phonetic я
  EXPECT_EQ(PhoneticKeyChar('u'), W("у")[0]);
  EXPECT_EQ(PhoneticKeyChar('c'), W("у")[0]);  // U and C both give у
  EXPECT_EQ(PhoneticKeyChar('@'), '"');  // the key of @ gives " in the phonetic layout
  EXPECT_EQ(PhoneticKeyChar('\x01'), '\x01');
}

TEST(Transliterate, WorkedExamples) {
  const std::pair<std::string, std::string> cases[] = {
      {W("станция"), "stantsia"},
      {W("ёж"), "ezh"},
      {W("Щука"), "Schuka"},
      {W("ЦИЯ"), "TsIYa"},
      {"Latin text 42.", "Latin text 42."},
      {W("учится"), "uchitsia"},
      {W("Ёлка и съезд"), "Elka i s'ezd"},
      {W("новые"), "novie"},
      {W("синий"), "sinij"},
      {"", ""},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(Transliterate(input, nullptr), expected);
}

TEST(Transliterate, ReportsProgressOverRulesAndCharacters) {
  std::vector<int> percents;
  const std::string text = W("абвг");  // 4 characters: total 20
  EXPECT_EQ(Transliterate(text, [&](TObject* sender, int percent) {
              EXPECT_EQ(sender, nullptr);
              percents.push_back(percent);
              return false;
            }),
            "abvg");
  ASSERT_EQ(percents.size(), 20u);
  EXPECT_EQ(percents.front(), 5);   // rule 1: 1 × 100 div 20
  EXPECT_EQ(percents[15], 80);      // rule 16
  EXPECT_EQ(percents.back(), 100);  // character 4: (4 + 16) × 100 div 20
}

TEST(Transliterate, ProgressNeverExceedsOneHundredWhenRulesLengthenTheText) {
  int highest = 0;
  Transliterate(W("станция станция"), [&](TObject*, int percent) {
    highest = std::max(highest, percent);
    return false;
  });
  EXPECT_EQ(highest, 100);
}

TEST(Transliterate, StopRaisesTheSilentAbortInsteadOfAPartialResult) {
  // Stop during the rule pass and during the letter pass: neither hands back a text.
  for (int stopAt : {1, 10, 17, 20}) {
    int calls = 0;
    EXPECT_THROW(Transliterate(W("абвг"), [&](TObject*, int) { return ++calls == stopAt; }), EAbort)
        << "stop at call " << stopAt;
    EXPECT_EQ(calls, stopAt);
  }
}

}  // namespace
