// Runs of Latin and Cyrillic text and the language each gets.
#include <gtest/gtest.h>

#include "tools/language_runs.h"

namespace {

using Runs = std::vector<std::tuple<int, int, unsigned>>;

Runs Split(std::u16string_view text, std::u16string_view ignored = u"") {
  Runs out;
  for (const TLanguageRun& run : SplitLanguageRuns(text, ignored)) out.emplace_back(run.Start, run.Length, run.Lcid);
  return out;
}

TEST(LanguageRuns, SplitsLatinAndCyrillicText) {
  const struct {
    const char* Name;
    std::u16string Text, Ignored;
    Runs Expected;
  } cases[] = {
      {"blank joins the run before it", u"abc где", u"", {{0, 4, 1033}, {4, 3, 1049}}},
      {"ignored quotes keep a Latin run", u"say «hi» ok", u"«»", {{0, 11, 1033}}},
      {"quotes start Cyrillic runs", u"say «hi» ok", u"", {{0, 4, 1033}, {4, 1, 1049}, {5, 2, 1033}, {7, 2, 1049}, {9, 2, 1033}}},
      {"a Latin letter in a Cyrillic word", u"прuвет", u"", {{0, 2, 1049}, {2, 1, 1033}, {3, 3, 1049}}},
      {"digits join the run before them", u"где 123", u"", {{0, 7, 1049}}},
      {"emoji and Greek read as question marks", u"мир \U0001F600 \u03b1 ok", u"", {{0, 9, 1049}, {9, 2, 1033}}},
      {"one character is left alone", u"a", u"", {}},
      {"empty", u"", u"", {}},
      {"two characters", u"aж", u"", {{0, 1, 1033}, {1, 1, 1049}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.Text, c.Ignored), c.Expected) << c.Name;
}

}  // namespace
