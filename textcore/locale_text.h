// Locales and 8-bit text: the code page and character set of a locale, conversion between 8-bit
// text and UTF-16, and locale comparison. LCIDs are passed on with their low 16 bits only.
#pragma once

#include <string>
#include <string_view>

#include "platform/locale.h"

// The locale's language name; empty for an unknown locale.
std::string LocaleLanguageName(LCID Lcid);
// The locale's ANSI code page; the system code page for a locale without one we can convert.
unsigned LocaleCodePage(LCID Lcid);
// The GDI character set of the locale's code page; DEFAULT_CHARSET (1) when the code page has none.
unsigned LocaleCharset(LCID Lcid);

// 8-bit text in `CodePage` to UTF-16; an unknown code page raises EConvertError.
std::u16string AnsiToWideString(std::string_view S, unsigned CodePage);
// UTF-16 to 8-bit text in `CodePage`; characters the code page lacks become '?'.
std::string WideStringToAnsi(std::u16string_view W, unsigned CodePage);

// Comparison by the locale's collation: -1, 0 or 1; never raises.
int CompareLocale(std::string_view A, std::string_view B, LCID Lcid);
// The same without regard to case.
int CompareLocaleText(std::string_view A, std::string_view B, LCID Lcid);

// True when S equals its system lower case (AnsiLowerCase).
bool IsAllLower(std::string_view S);
// True when S equals its system upper case (AnsiUpperCase).
bool IsAllUpper(std::string_view S);
