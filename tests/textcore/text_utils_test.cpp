#include "textcore/text_utils.h"

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "textcore/cyr_case.h"
#include "tests/textcore/text_literals.h"

namespace {

// Switches the system code page for one test and restores it afterwards.
class SystemCodePageScope {
public:
  explicit SystemCodePageScope(unsigned codePage) : saved_(SystemCodePage()) { SetSystemCodePage(codePage); }
  ~SystemCodePageScope() { SetSystemCodePage(saved_); }

private:
  unsigned saved_;
};

TEST(CyrCase, CyrillicUnderTheDefaultCodePage) {
  EXPECT_EQ(CyrUpperCase(W("съешь ёжика, Ярослав!")), W("СЪЕШЬ ЁЖИКА, ЯРОСЛАВ!"));
  EXPECT_EQ(CyrLowerCase(W("СЪЕШЬ ЁЖИКА, Ярослав!")), W("съешь ёжика, ярослав!"));
}

TEST(CyrCase, RightUnderAWesternSystemCodePage) {
  SystemCodePageScope western(1252);
  EXPECT_EQ(CyrUpperCase(W("яч ь")), W("ЯЧ Ь"));
  EXPECT_EQ(CyrLowerCase(W("ЯЧ Ь")), W("яч ь"));
  EXPECT_EQ(CyrUpperCase(W("ёж съешь")), W("ЁЖ СЪЕШЬ"));
  EXPECT_EQ(CyrLowerCase(W("ЁЖ СЪЕШЬ")), W("ёж съешь"));
}

TEST(MatchCase, WorkedExamples) {
  const struct {
    std::string templ, word, expected;
  } cases[] = {
      {W("Мир"), W("слово"), W("Слово")},  {W("МИР"), W("слово"), W("СЛОВО")},
      {W("мир"), W("СЛОВО"), W("слово")},  {W("А"), W("слово"), W("СЛОВО")},
      {"", W("СЛОВО"), W("слово")},        {W("Мир"), "", ""},
      {W("ЯЧ"), W("ящик"), W("ЯЩИК")},     {"Hello", "WORLD", "World"},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchCase(c.templ, c.word), c.expected) << c.templ << " " << c.word;
}

TEST(IsNumberLike, WorkedExamples) {
  for (const char* yes : {"", "12,5%", "-3.0", "XIV", "MCMXC", "+1", "XI"}) EXPECT_TRUE(IsNumberLike(yes)) << yes;
  for (const char* no : {"X", "12a", "1X", "xi", "XI2", "X-I", "IXa", "1 2"}) EXPECT_FALSE(IsNumberLike(no)) << no;
}

TEST(ExtractToken, WalksFieldsAndTellsEmptyFieldsFromTheEnd) {
  const TCharSet semicolon = MakeCharSet(";");
  const std::string text = "a;;b";
  int position = 0;
  std::string field;
  EXPECT_EQ(ExtractToken(text, semicolon, position, field), "a");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(field, "a");
  EXPECT_EQ(ExtractToken(text, semicolon, position, field), "");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(field, "empty");
  EXPECT_EQ(ExtractToken(text, semicolon, position, field), "b");
  EXPECT_EQ(position, 6);
  EXPECT_EQ(field, "b");
  EXPECT_EQ(ExtractToken(text, semicolon, position, field), "");
  EXPECT_EQ(field, "");
  EXPECT_EQ(position, 7);
}

TEST(ExtractToken, LoopOverATextCollectsEveryToken) {
  const TCharSet delims = MakeCharSet(" ,.");
  const std::string text = W("Мир, труд. май");
  std::vector<std::string> tokens;
  int position = 1;
  std::string field;
  for (;;) {
    std::string token = ExtractToken(text, delims, position, field);
    if (field.empty()) break;
    tokens.push_back(token);
  }
  EXPECT_EQ(tokens, (std::vector<std::string>{W("Мир"), "", W("труд"), "", W("май")}));
}

TEST(SmallHelpers, SpacesAndElapsedTime) {
  EXPECT_EQ(Spaces(3), "   ");
  EXPECT_EQ(Spaces(0), "");
  EXPECT_EQ(Spaces(-2), "");
  const double second = 1.0 / 86400;
  EXPECT_EQ(FormatElapsedTime(5 * second), "5 sec");
  EXPECT_EQ(FormatElapsedTime(0), "0 sec");
  EXPECT_EQ(FormatElapsedTime(125 * second), "2 min 5 sec");
  EXPECT_EQ(FormatElapsedTime(60 * second), "1 min 0 sec");
  EXPECT_EQ(FormatElapsedTime(3723 * second), "1 h 2 m 3 s");
}

}  // namespace
