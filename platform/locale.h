// Locales: identifiers (LCID), their code pages and names, and locale-aware comparison and
// case mapping of 8-bit text. One comparison routine serves sorting and look-up everywhere.
#pragma once

#include <string>
#include <string_view>

using LCID = unsigned;
inline constexpr LCID LANG_ENGLISH_US = 1033;
inline constexpr LCID LANG_RUSSIAN = 1049;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// The system's default locale: 1049 unless set otherwise; never taken from the environment.
LCID SystemDefaultLcid();
void SetSystemDefaultLcid(LCID lcid);
// The interface thread's locale (SetThreadLocale); starts as the system default.
LCID ThreadLocale();
void SetThreadLocale(LCID lcid);

// The ANSI code page of a locale (1251 for 1049, 1252 for 1033); 0 when the locale is unknown.
unsigned LocaleAnsiCodePage(LCID lcid);
// The English name of a locale's language ("Russian", "English (United States)"); empty when unknown.
std::string LocaleLanguageDisplayName(LCID lcid);
// The GDI character set of a code page (204 for 1251, 0 for 1252); `fallback` when unknown.
unsigned CodePageCharset(unsigned codePage, unsigned fallback);
// True for locales the program knows (see the table in locale.cpp).
bool IsLocaleKnown(LCID lcid);

// CompareStringA: compares two 8-bit strings in the locale's ANSI code page by the locale's
// collation; returns -1, 0 or 1. Never throws: a locale without collation data falls back to
// the root collation, and any failure to a byte comparison, so sorting always has an order.
int CompareLocaleStrings(LCID lcid, bool ignoreCase, std::string_view a, std::string_view b);
// The same for UTF-16 text.
int CompareLocaleStringsW(LCID lcid, bool ignoreCase, std::u16string_view a, std::u16string_view b);

// AnsiCompareStr / AnsiCompareText: comparison in the system default locale.
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
// AnsiLowerCase / AnsiUpperCase: case mapping of system-code-page text by that code page's letters.
std::string AnsiLowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);
// Case mapping of one byte in a code page (CharUpperBuffA / CharLowerBuffA on one character).
unsigned char AnsiUpperChar(unsigned char ch, unsigned codePage = 0);
unsigned char AnsiLowerChar(unsigned char ch, unsigned codePage = 0);
