// Lists and sorting: filters, orders and duplicates on real lines, Cyrillic and beyond.
#include <gtest/gtest.h>

#include "tools/sort_lines.h"

namespace {

using Lines = std::vector<std::u16string>;

Lines Process(Lines lines, const TSortOptions& options) {
  EXPECT_TRUE(FilterSortLines(lines, options));
  SortSortLines(lines, options);
  return lines;
}

TEST(SortLines, SplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitSortLines(u"a\r\nb\rc\nd"), (Lines{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(SplitSortLines(u"a\r\r"), (Lines{u"a", u""}));
  EXPECT_EQ(SplitSortLines(u""), Lines{});
}

TEST(SortLines, SortsInTheLanguagesOrder) {
  TSortOptions plain;
  TSortOptions dup;
  dup.Duplicates = true;
  TSortOptions length;
  length.LengthSensitive = true;
  TSortOptions reversed = length;
  reversed.Reverse = true;
  TSortOptions unsorted;
  unsorted.Sort = false;
  unsorted.Duplicates = true;
  const struct {
    const char* Name;
    TSortOptions Options;
    Lines Input, Expected;
  } cases[] = {
      {"Cyrillic with the default settings", plain, {u"щука", u"ёж", u"арбуз", u"Яблоко"}, {u"арбуз", u"ёж", u"щука", u"Яблоко"}},
      {"duplicates keep the small letters", dup, {u"b", u"A", u"a", u"B"}, {u"a", u"b"}},
      {"length first", length, {u"aaa", u"bb"}, {u"bb", u"aaa"}},
      {"reversed", reversed, {u"aaa", u"bb"}, {u"aaa", u"bb"}},
      {"no sort keeps order and duplicates", unsorted, {u"b", u"a", u"b"}, {u"b", u"a", u"b"}},
      {"characters outside any code page", plain, {u"\U0001F600 b", u"\u03b1"}, {u"\U0001F600 b", u"\u03b1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Process(c.Input, c.Options), c.Expected) << c.Name;
}

TEST(SortLines, FiltersEachLine) {
  auto with = [](auto set) {
    TSortOptions o;
    o.Sort = false;
    set(o);
    return o;
  };
  const struct {
    const char* Name;
    TSortOptions Options;
    Lines Input, Expected;
  } cases[] = {
      {"delete column 3 of three", with([](auto& o) { o.Delete = true; o.DeleteColumn = 3; }), {u"a b c"}, {u"a b c"}},
      {"delete column 2", with([](auto& o) { o.Delete = true; o.DeleteColumn = 2; }), {u"a b c"}, {u"a c"}},
      {"extract column 2", with([](auto& o) { o.Extract = true; o.ExtractColumn = 2; }), {u"x,y;z"}, {u"y"}},
      {"end of file mark", with([](auto& o) { o.Trim = true; }), {u"  word \x1a"}, {u"word"}},
      {"empty lines", with([](auto& o) { o.NoEmpty = true; }), {u"a", u"", u"b"}, {u"a", u"b"}},
      {"contains", with([](auto& o) { o.RemoveIf = true; o.RemoveIfText = u"ab"; }), {u"cab", u"cd"}, {u"cd"}},
      {"doesn't contain", with([](auto& o) { o.RemoveIfNot = true; o.RemoveIfNotText = u"ab"; }), {u"cab", u"cd"}, {u"cab"}},
      {"empty doesn't-contain text removes nothing", with([](auto& o) { o.RemoveIfNot = true; }), {u"a", u"b"}, {u"a", u"b"}},
      {"empty contains text removes nothing", with([](auto& o) { o.RemoveIf = true; }), {u"a", u"b"}, {u"a", u"b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Process(c.Input, c.Options), c.Expected) << c.Name;
}

TEST(SortLines, StopDuringFilteringLeavesTheLinesAsTheyWere) {
  TSortOptions options;
  options.NoEmpty = true;
  Lines lines = {u"a", u"", u"b", u"", u"c"};
  int calls = 0;
  EXPECT_FALSE(FilterSortLines(lines, options, [&](int64_t, int64_t) { return ++calls == 3; }));
  EXPECT_EQ(lines, (Lines{u"a", u"", u"b", u"", u"c"}));
}

}  // namespace
