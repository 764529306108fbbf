#include "proofing/word_routines.h"

#include <gtest/gtest.h>

#include "spell_fixtures.h"

namespace {

// The module-wide validators come from the program folder's generated files.
class WordRoutinesTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { SetProgramFolder(QM_PROGRAM_DIR "/"); }
};

TEST_F(WordRoutinesTest, ClassifyMixedWord) {
  struct Case {
    const char* Utf8;
    int Class;
  };
  const Case cases[] = {
      {"pop", 4},          {"рус", 3},           {"ПPИBET", 1},      // Cyrillic word with Latin P and B
      {"пpивeт", 1},       {"привeт", 1},        {"cоn", 2},         // two Latin, one Cyrillic look-alike
      {"word", 0},         {"слово", 0},         {"wоrd", 2},        // Latin word with a Cyrillic о
      {"Mo6ильный", 1},    {"ра3ный", 1},        {"36а", 3},         // digits between letters count
      {"ёлка", 0},         {"eлка", 1},          {"", 0},
      {"Poccии", 1},       {"Wиki", 0},          {"opeпa", 1},       // "и" and "п" are no upright look-alikes
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyMixedWord(Cp1251(c.Utf8)), c.Class) << c.Utf8;
}

TEST_F(WordRoutinesTest, FixMixedWord) {
  struct Case {
    const char* Utf8;
    int Mode;
    const char* Fixed;  // null: unchanged
  };
  const Case cases[] = {
      {"привeт", 0, "привет"},   {"пpивeт", 1, "привет"},     {"wоrd", 0, "word"},
      {"Mo6ильный", 0, "Мобильный"}, {"ра3ный", 0, "разный"}, {"word", 0, nullptr},
      {"36а", 1, nullptr},       {"3-й", 1, nullptr},         {"рус", 2, "pyc"},
      {"cat", 0, nullptr},       {"ПО6ЕДА", 0, "ПОБЕДА"},    {"В3ял", 0, "Взял"},  // digits take the case
      {"РА3НЫЙ", 0, "РАЗНЫЙ"},   {"До6рый", 0, "Добрый"},                            // of the letters around
  };
  for (const auto& c : cases) {
    std::string word = Cp1251(c.Utf8);
    const bool changed = FixMixedWord(word, c.Mode);
    EXPECT_EQ(changed, c.Fixed != nullptr) << c.Utf8;
    EXPECT_EQ(word, Cp1251(c.Fixed ? c.Fixed : c.Utf8)) << c.Utf8;
  }
}

TEST_F(WordRoutinesTest, RussianScoreTakesYoAsRussian) {
  EXPECT_EQ(RussianScore(Cp1251("ёлка")), 0);
  EXPECT_EQ(RussianScore(Cp1251("ещё")), 0);
  EXPECT_EQ(RussianScore(Cp1251("Ёж")), 0);
  EXPECT_EQ(RussianScore(Cp1251("я")), 0);
  EXPECT_EQ(RussianScore(Cp1251("ы")), 100);
  EXPECT_EQ(RussianScore("hello"), 99);
  EXPECT_EQ(RussianScore(Cp1251("дом2")), 99);
  EXPECT_GT(RussianScore(Cp1251("ьъыщ")), 0);
  EXPECT_EQ(EnglishScore("I"), 0);
  EXPECT_EQ(EnglishScore("q"), 100);
  EXPECT_EQ(EnglishScore("house"), 0);
  EXPECT_GT(EnglishScore("hqxzv"), 0);
}

TEST_F(WordRoutinesTest, IsCyrillicText) {
  struct Case {
    const char* Utf8;
    bool Cyrillic;
  };
  const Case cases[] = {
      {"Это обычный русский текст, ничего особенного.", true},
      {"Ёлка и ёж идут ещё дальше.", true},  // words with ё are Russian words
      {"plain English text", false},
      {"ЙЦУКЕН ФЫВАПР ЪЪЪЬ ЩЩЩЫ", false},  // Cyrillic letters that do not look Russian
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCyrillicText(Cp1251(c.Utf8)), c.Cyrillic) << c.Utf8;
}

}  // namespace
