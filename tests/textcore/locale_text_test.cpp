#include "textcore/locale_text.h"

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "tests/textcore/text_literals.h"

namespace {

TEST(LocaleText, CodePagesAndCharsetsOfLocales) {
  EXPECT_EQ(LocaleCodePage(1049), 1251u);
  EXPECT_EQ(LocaleCodePage(1033), 1252u);
  EXPECT_EQ(LocaleCodePage(0x00010419), 1251u);  // only the low 16 bits count
  EXPECT_EQ(LocaleCodePage(0x7ABC), SystemCodePage());  // unknown: the system code page
  // Japanese has a code page but no table here: its text goes through the system code page,
  // while its character set stays its own.
  EXPECT_EQ(LocaleCodePage(1041), SystemCodePage());
  EXPECT_EQ(AnsiToWideString("abc", LocaleCodePage(1041)), u"abc");
  EXPECT_EQ(LocaleCharset(1041), 128u);
  EXPECT_EQ(LocaleCharset(1049), 204u);
  EXPECT_EQ(LocaleCharset(1033), 0u);
  EXPECT_FALSE(LocaleLanguageName(1049).empty());
  EXPECT_EQ(LocaleLanguageName(0x7ABC), "");
}

TEST(LocaleText, LocaleCharsetFallsBackToTheDefaultCharset) {
  // An unknown locale takes the system code page; KOI8-R has no GDI character set.
  const unsigned saved = SystemCodePage();
  SetSystemCodePage(20866);
  EXPECT_EQ(LocaleCodePage(0x7ABC), 20866u);
  EXPECT_EQ(LocaleCharset(0x7ABC), 1u);
  EXPECT_EQ(LocaleCharset(1049), 204u);
  SetSystemCodePage(saved);
}

TEST(LocaleText, ConversionsBetweenCodePagesAndUtf16) {
  EXPECT_EQ(AnsiToWideString(W("Ёж—№"), 1251), u"Ёж—№");
  EXPECT_EQ(AnsiToWideString(Encode("Ёж", "KOI8-R"), 20866), u"Ёж");
  EXPECT_EQ(WideStringToAnsi(u"Ёж—№", 1251), W("Ёж—№"));
  EXPECT_EQ(WideStringToAnsi(u"Ёж", 866), Encode("Ёж", "CP866"));
  EXPECT_EQ(AnsiToWideString("", 1251), u"");
  EXPECT_EQ(WideStringToAnsi(u"", 1251), "");
  EXPECT_EQ(WideStringToAnsi(u"\u4E2D", 1251), "?");  // not in the code page
}

TEST(LocaleText, ComparisonsAndCaseTests) {
  EXPECT_EQ(CompareLocale(W("арбуз"), W("Арбуз"), 1049) != 0, true);
  EXPECT_EQ(CompareLocaleText(W("арбуз"), W("Арбуз"), 1049), 0);
  EXPECT_EQ(CompareLocaleText(W("арбуз"), W("дом"), 1049), -1);
  EXPECT_EQ(CompareLocaleText(W("ёж"), W("жук"), 1049), -1);  // ё sorts with е, before ж
  EXPECT_EQ(CompareLocale("b", "a", 1033), 1);
  EXPECT_TRUE(IsAllLower(W("ёж 12")));
  EXPECT_FALSE(IsAllLower(W("Ёж")));
  EXPECT_TRUE(IsAllUpper(W("ЁЖ 12")));
  EXPECT_FALSE(IsAllUpper(W("ЁЖик")));
}

}  // namespace
