// Locales: identifiers (LCID), their code pages and names, and locale-aware comparison and
// case mapping of 8-bit text. One comparison routine serves sorting and look-up everywhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using LCID = unsigned;
inline constexpr LCID LANG_ENGLISH_US = 1033;
inline constexpr LCID LANG_RUSSIAN = 1049;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// The system's default locale: 1049 unless set otherwise; never taken from the environment.
// It is independent of the system code page (SetSystemCodePage), which is set on its own.
LCID SystemDefaultLcid();
// Sets the system's default locale; raises EConvertError for a locale the table does not know.
void SetSystemDefaultLcid(LCID lcid);
// The interface thread's locale (SetThreadLocale); follows the system default until set.
LCID ThreadLocale();
void SetThreadLocale(LCID lcid);
// The locale an LCID stands for: the neutral ones (0, LOCALE_USER_DEFAULT,
// LOCALE_SYSTEM_DEFAULT) give the system default, a bare primary language its default
// sublanguage; sort identifiers are dropped.
LCID ResolveLcid(LCID lcid);

// The ANSI code page of a locale (1251 for 1049, 1252 for 1033); 0 when the locale is unknown.
unsigned LocaleAnsiCodePage(LCID lcid);
// The OEM code page of a locale (866 for 1049, 437 for 1033); 0 when the locale is unknown.
unsigned LocaleOemCodePage(LCID lcid);
// The English name of a locale's language ("Russian", "English (United States)"); empty when unknown.
std::string LocaleLanguageDisplayName(LCID lcid);
// The telephone country code of a locale's country (7 for 1049, 1 for 1033); 0 when unknown.
unsigned LocaleCountryCode(LCID lcid);
// The ICU locale id whose collation the locale uses ("ru_RU"); empty (the root) when unknown.
std::string_view LocaleIcuName(LCID lcid);
// The GDI character set of a code page (204 for 1251, 0 for 1252); `fallback` when unknown.
unsigned CodePageCharset(unsigned codePage, unsigned fallback);
// True for locales the program knows (see the table in locale.cpp).
bool IsLocaleKnown(LCID lcid);
// The LCIDs of the locale table (each its own resolution), ascending.
std::vector<LCID> KnownLocales();

// CompareStringA: compares two 8-bit strings in the locale's ANSI code page by the locale's
// collation; returns -1, 0 or 1. Never throws: a locale without collation data falls back to
// the root collation, and any failure to a byte comparison, so sorting always has an order.
// Case-sensitive comparison is the collation's tertiary strength (small letters before
// capitals: "a" < "A" < "b"); ignoring case is its secondary strength (accents still count,
// "ё" differs from "е"). An unknown locale's text is read in the system code page; text of a
// code page we cannot convert (932, 874, ...) is compared byte by byte.
int CompareLocaleStrings(LCID lcid, bool ignoreCase, std::string_view a, std::string_view b);
// The same for UTF-16 text.
int CompareLocaleStringsW(LCID lcid, bool ignoreCase, std::u16string_view a, std::u16string_view b);

// One 8-bit string compared with many others (a search in sorted data), converted to UTF-16 once.
// Compare(other) answers exactly what CompareLocaleStrings(lcid, ignoreCase, other, probe) does.
class TLocaleProbe {
public:
  TLocaleProbe(LCID lcid, bool ignoreCase, std::string_view probe);
  int Compare(std::string_view other) const;

private:
  LCID lcid_;
  bool ignoreCase_;
  std::string probe_;
  const char16_t* table_;
  std::u16string wideProbe_;
};

// AnsiCompareStr / AnsiCompareText: comparison in the system default locale.
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
// AnsiLowerCase / AnsiUpperCase: case mapping of system-code-page text by that code page's letters
// (Unicode simple case mapping where the result is in the same code page, else unchanged).
std::string AnsiLowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);
// AnsiLowerCase into `out`, reusing its storage (for look-ups that should not allocate).
void AnsiLowerCaseTo(std::string& out, std::string_view text);
// Case mapping of one byte in a code page (CharUpperBuffA / CharLowerBuffA on one character);
// CP_ACP (0) is the system code page. Raises EConvertError for a code page we have no table for.
unsigned char AnsiUpperChar(unsigned char ch, unsigned codePage = 0);
unsigned char AnsiLowerChar(unsigned char ch, unsigned codePage = 0);
