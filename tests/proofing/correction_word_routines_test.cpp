// The word routines of the correction engine: keyboard retyping, the word at a position,
// address and file-name tests, letters drawn with other characters and number-like words.
#include <gtest/gtest.h>

#include "proofing/word_routines.h"
#include "spell_fixtures.h"

namespace {

TEST(CorrectionWordRoutines, RetypeLayout) {
  const std::pair<const char*, const char*> cases[] = {
      {"ghbdtn", "привет"}, {"GHBDTN", "ПРИВЕТ"}, {"привет", "ghbdtn"}, {"z", "я"}, {"123 ,", "123 б"}, {"", ""}};
  for (const auto& [typed, expected] : cases) EXPECT_EQ(RetypeLayout(Cp1251(typed)), Cp1251(expected)) << typed;
}

TEST(CorrectionWordRoutines, ExtractWordAt) {
  const std::string text = "Say 'hello', world. end";
  struct Case {
    int Position;
    bool Found;
    int Start;
    const char* Word;
  };
  const Case cases[] = {{6, true, 5, "hello"}, {0, true, 0, "Say"}, {3, true, 0, "Say"},
                        {17, true, 13, "world"}, {18, true, 13, "world"}, {19, false, 0, ""}};
  for (const Case& c : cases) {
    int start = -1;
    std::string word, rest;
    EXPECT_EQ(ExtractWordAt(text, c.Position, start, word, rest), c.Found) << c.Position;
    if (!c.Found) continue;
    EXPECT_EQ(start, c.Start) << c.Position;
    EXPECT_EQ(word, c.Word) << c.Position;
  }
  int start = 0;
  std::string word, rest;
  ASSERT_TRUE(ExtractWordAt(text, 14, start, word, rest));
  EXPECT_EQ(rest, ". end");
}

TEST(CorrectionWordRoutines, AddressesAndFileNames) {
  const std::pair<const char*, bool> urls[] = {{"www.example", true}, {"HTTP://a.b", true}, {"mail.ru", true},
                                               {"example", false},    {"www", false},        {"comp.lang", true},
                                               {"site.com.au/x", true}, {"<me@host.com>", true},
                                               {"L.N.Tolstoj", false},  {"x.community", false}};
  for (const auto& [word, expected] : urls) EXPECT_EQ(IsUrlLike(word), expected) << word;
  const std::pair<const char*, bool> files[] = {{"dir\\file", true}, {"a/b", true},    {"file.txt", true},
                                                {"/root", false},    {"end.", false},  {"1.5", false},
                                                {"and/", false},     {"x.c", true},
                                                {"t.k.", false},     {"M.V.", false},  {"A.Pop", false},
                                                {"I.A.Kry'lov", false}, {"a.out", true}, {"A.B", true},
                                                // Initials written with two letters.
                                                {"V.Ia.", false}, {"S.Zh.Pop", false}, {"ab.Cd", true}, {"Ab.cd", true},
                                                // An ellipsis before a word.
                                                {"...I", false}, {"..txt", false}};
  for (const auto& [word, expected] : files) EXPECT_EQ(IsFileNameLike(word), expected) << word;
}

TEST(CorrectionWordRoutines, ClassifySpecialSyntax) {
  struct Case {
    const char* Word;
    int Class;
    const char* Result;
  };
  const Case cases[] = {
      {"}|{ук", 4, "жук"},    {"4то", 4, "что"},      {"III", 3, "Ш"},      {"слово", 0, "слово"},
      {"xорош", 2, "хорош"},  {"qwe", 1, "qше"},      {"ПОБ3ДА", 4, "ПОБЗДА"}};
  for (const Case& c : cases) {
    std::string result;
    EXPECT_EQ(ClassifySpecialSyntax(Cp1251(c.Word), result), c.Class) << c.Word;
    EXPECT_EQ(result, Cp1251(c.Result)) << c.Word;
  }
}

TEST(CorrectionWordRoutines, IsNumberLikeWord) {
  const std::pair<const char*, bool> cases[] = {{"5-й", true},  {"XX-ый", true}, {"5-x", false}, {"10-го", true},
                                                {"5", false},   {"-а", true},    {"5'", true},   {"Ъ-й", false},
                                                {" 7-я ", true}, {"", false}};
  for (const auto& [word, expected] : cases) EXPECT_EQ(IsNumberLikeWord(Cp1251(word)), expected) << word;
}

}  // namespace
