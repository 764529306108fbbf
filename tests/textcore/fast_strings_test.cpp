#include "textcore/fast_strings.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/code_pages.h"
#include "tests/textcore/text_literals.h"

namespace {

int Forward(std::string_view text, std::string_view pattern, int start) {
  return FastStrings::FindForward(text.data(), pattern.data(), static_cast<int>(text.size()), start,
                                  static_cast<int>(pattern.size()));
}
int Backward(std::string_view text, std::string_view pattern, int start) {
  return FastStrings::FindBackward(text.data(), pattern.data(), static_cast<int>(text.size()), start,
                                   static_cast<int>(pattern.size()));
}

TEST(FastStrings, ForwardSearch) {
  const std::string text = "abcabcab";
  EXPECT_EQ(Forward(text, "abc", 1), 1);
  EXPECT_EQ(Forward(text, "abc", 2), 4);
  EXPECT_EQ(Forward(text, "abc", 5), 0);
  EXPECT_EQ(Forward(text, "cab", 0), 3);   // a start below 1 counts as 1
  EXPECT_EQ(Forward(text, "ab", 7), 7);    // a match ending on the last byte
  EXPECT_EQ(Forward(text, "ab", 8), 0);    // pattern longer than the rest
  EXPECT_EQ(Forward(text, "ab", 100), 0);
  EXPECT_EQ(Forward(text, "", 1), 0);      // an empty pattern is never found
  EXPECT_EQ(Forward("", "a", 1), 0);
  EXPECT_EQ(Forward("ab", "abc", 1), 0);
  EXPECT_EQ(Forward(std::string("a\0b\0c", 5), std::string("b\0c", 3), 1), 3);  // bytes, not C strings
}

TEST(FastStrings, BackwardSearchNeverPassesItsStart) {
  const std::string text = "abcabcab";
  EXPECT_EQ(Backward(text, "abc", 0), 4);  // from the end: the last occurrence
  EXPECT_EQ(Backward(text, "abc", 4), 4);
  EXPECT_EQ(Backward(text, "abc", 3), 1);  // the match at 4 begins after the start
  EXPECT_EQ(Backward(text, "ab", 6), 4);   // start + length reaches the length: still not 7
  EXPECT_EQ(Backward(text, "ab", 7), 7);
  EXPECT_EQ(Backward(text, "ab", 8), 7);   // a start past the last room counts as the last room
  EXPECT_EQ(Backward(text, "ab", 100), 7);
  EXPECT_EQ(Backward(text, "ca", 2), 0);
  EXPECT_EQ(Backward(text, "abc", -1), 0);
  EXPECT_EQ(Backward(text, "", 0), 0);
  EXPECT_EQ(Backward("ab", "abc", 0), 0);
  // Every answer begins at or before the start and lies within the text.
  for (int start = 1; start <= 8; ++start) {
    const int found = Backward(text, "bca", start);
    EXPECT_LE(found, start);
    EXPECT_LE(found + 2, 8);
  }
}

TEST(FastStrings, NoCaseSearchUsesTheSystemCodePage) {
  const std::string text = W("Съешь ЕЩЁ этих булок");
  const std::string pattern = W("ещё ЭТИХ");
  EXPECT_EQ(Forward(text, pattern, 1), 0);
  EXPECT_EQ(FastStrings::FindForwardNoCase(text.data(), pattern.data(), static_cast<int>(text.size()), 1,
                                           static_cast<int>(pattern.size())),
            7);
  EXPECT_EQ(FastStrings::FindBackwardNoCase(text.data(), pattern.data(), static_cast<int>(text.size()), 0,
                                            static_cast<int>(pattern.size())),
            7);
  EXPECT_EQ(FastStrings::UpperCaseTable()[0], 0);
  EXPECT_EQ(FastStrings::UpperCaseTable()['a'], 'A');
}

TEST(FastStrings, FindExPicksTheSearch) {
  EXPECT_EQ(FastStrings::FindEx("AB", "xabxab", true, false, 1), 2);
  EXPECT_EQ(FastStrings::FindEx("AB", "xabxab", true, true, 1), 0);
  EXPECT_EQ(FastStrings::FindEx("ab", "xabxab", false, true, 0), 5);
  EXPECT_EQ(FastStrings::FindEx("AB", "xabxab", false, false, 4), 2);
}

TEST(FastStrings, ReplaceAllWorkedExamples) {
  const struct {
    std::string source, pattern, replacement;
    bool caseSensitive;
    std::string expected;
  } cases[] = {
      {"aaa", "a", "bb", true, "bbbbbb"},
      {"aaa", "a", "", true, ""},
      {"XxX", "x", "y", false, "yyy"},
      {"XxX", "x", "y", true, "XyX"},
      {"", "a", "b", true, ""},
      {"abc", "", "x", true, "abc"},
      {"aaaa", "aa", "a", true, "aa"},
      {"one two one", "one", "three", true, "three two three"},
      {"ab", "abc", "x", true, "ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FastStrings::ReplaceAll(c.source, c.pattern, c.replacement, c.caseSensitive), c.expected)
        << c.source << " / " << c.pattern;
  }
}

TEST(FastStrings, ReplaceAllSizesDoNotOverflow) {
  using FastStrings::ReplaceAllInitialReserve;
  using FastStrings::ReplaceAllMaxLength;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  // 50,000 × 50,000 no longer fits 32 bits; the true largest result is computed in 64 bits.
  EXPECT_EQ(ReplaceAllMaxLength(50'000, 6, 50'000), 50'000u + 8'333u * 49'994u);
  EXPECT_EQ(ReplaceAllMaxLength(kMax / 2, 1, 1000), kMax);  // saturates
  EXPECT_EQ(ReplaceAllMaxLength(100, 4, 2), 100u);           // shrinking never needs more
  // The reserve never follows a big ratio beyond the cap.
  EXPECT_EQ(ReplaceAllInitialReserve(50'000, 6, 50'000), 50'000u + FastStrings::kReplaceAllReserveCap);
  EXPECT_EQ(ReplaceAllInitialReserve(kMax - 1, 1, 1000), kMax - 1);
  EXPECT_EQ(ReplaceAllInitialReserve(1000, 1, 2), 2000u);

  // A modest input with a big ratio gives the right text.
  std::string source(50'000, '.');
  source.replace(25'000, 6, "needle");
  const std::string replacement(50'000, 'R');
  const std::string result = FastStrings::ReplaceAll(source, "needle", replacement, true);
  ASSERT_EQ(result.size(), 50'000u - 6 + 50'000u);
  EXPECT_EQ(result.substr(24'998, 4), "..RR");
  EXPECT_EQ(result.substr(75'000 - 2, 4), "RR..");
}

TEST(FastStrings, ReplaceAllGrowsPastTheReserve) {
  // 2 MiB of single-byte matches, each replaced by 16 bytes: 32 MiB, beyond the reserve cap.
  const std::string source(2u << 20, 'a');
  const std::string result = FastStrings::ReplaceAll(source, "a", "0123456789abcdef", true);
  ASSERT_EQ(result.size(), 32u << 20);
  EXPECT_EQ(result.substr(result.size() - 16), "0123456789abcdef");
}

}  // namespace
