// The on-screen keyboard's layouts, key places, letter case and layout mapping.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/keyboard_layout.h"

namespace {

const TKbKey& Find(const std::vector<TKbKey>& keys, TKbKeyKind kind, const std::string& caption = "") {
  const auto it = std::find_if(keys.begin(), keys.end(), [&](const TKbKey& k) {
    return k.Kind == kind && (caption.empty() || k.Normal == caption);
  });
  EXPECT_NE(it, keys.end()) << caption;
  static const TKbKey none;
  return it == keys.end() ? none : *it;
}

TEST(KeyboardLayout, AlphaNumericGeometry) {
  const auto keys = KeyboardKeys(kbmAlphaNumeric, 290, 100);
  EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const TKbKey& k) { return k.Kind == kkChar; }), 47);
  const TKbKey& q = Find(keys, kkChar, "q");
  EXPECT_EQ(q.Left, 30);
  EXPECT_EQ(q.Top, 20);
  EXPECT_EQ(q.Width, 20);
  EXPECT_EQ(Find(keys, kkChar, "1").Shifted, "!");
  struct Case {
    TKbKeyKind kind;
    int left, top, width;
  } cases[] = {{kkBackspace, 260, 0, 30}, {kkTab, 0, 20, 30},        {kkCaps, 0, 40, 40},    {kkEnter, 260, 40, 30},
               {kkLeftShift, 0, 60, 50}, {kkRightShift, 250, 60, 40}, {kkSpace, 60, 80, 170}};
  for (const Case& c : cases) {
    const TKbKey& k = Find(keys, c.kind);
    EXPECT_EQ(k.Left, c.left) << c.kind;
    EXPECT_EQ(k.Top, c.top) << c.kind;
    EXPECT_EQ(k.Width, c.width) << c.kind;
  }
}

TEST(KeyboardLayout, FunctionRowCalculatorAndNumericPads) {
  const auto function = KeyboardKeys(kbmAlphaNumericFunction, 290, 124);
  EXPECT_EQ(Find(function, kkFunction, "F1").Left, 30);
  EXPECT_EQ(Find(function, kkEscape).Left, 0);
  EXPECT_EQ(Find(function, kkChar, "`").Top, 24);
  EXPECT_EQ(Find(function, kkChar, "`").Height, 20);

  const auto calc = KeyboardKeys(kbmCalculator, 80, 100);
  const TKbKey& plus = Find(calc, kkChar, "+");
  EXPECT_EQ(plus.Left, 60);
  EXPECT_EQ(plus.Top, 20);
  EXPECT_EQ(plus.Height, 40);
  EXPECT_EQ(Find(calc, kkEnter).Left, 40);
  EXPECT_EQ(Find(calc, kkEnter).Width, 40);
  EXPECT_EQ(Find(calc, kkEnter).Top, 80);
  EXPECT_EQ(Find(calc, kkBackspace).Top, 0);
  EXPECT_EQ(Find(calc, kkBackspace).Width, 40);

  const auto numeric = KeyboardKeys(kbmNumeric, 60, 80);
  EXPECT_EQ(Find(numeric, kkChar, "0").Top, 60);
  EXPECT_EQ(Find(numeric, kkBackspace).Left, 40);
  EXPECT_TRUE(KeyboardKeys(kbmAlphaNumeric, -5, 0).size() > 0);  // a tiny panel still has its keys
}

TEST(KeyboardLayout, CaseAndMapping) {
  EXPECT_TRUE(ShowsShifted(true, false));
  EXPECT_FALSE(ShowsShifted(true, true));
  EXPECT_EQ(TypedChar("q", false, false, ecNormal), 'q');
  EXPECT_EQ(TypedChar("Q", true, false, ecNormal), 'Q');
  EXPECT_EQ(TypedChar("q", false, false, ecUpperCase), 'Q');
  EXPECT_EQ(TypedChar("Q", true, false, ecLowerCase), 'q');
  EXPECT_EQ(TypedChar("\xE9", true, false, ecNormal), '\xC9');  // й -> Й in code page 1251
  EXPECT_EQ(MapKeyCaption("q", "RUS"), "\xE9");                  // й
  EXPECT_EQ(MapKeyCaption("~", "EMU"), "\xA8");                  // Ё
  EXPECT_EQ(MapKeyCaption("q", "FON"), "\xFF");                  // я
  EXPECT_EQ(MapKeyCaption("c", "FON"), "\xF3");                  // у
  EXPECT_EQ(MapKeyCaption("q", "ENG"), "q");
  EXPECT_EQ(MapKeyCaption("BkSp", "RUS"), "BkSp");
}

}  // namespace
