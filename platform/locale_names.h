// The locales of the system by LCID and their names, as the locale lists of windows show them:
// "installed" locales are those the program can convert text of (its locale table), "supported"
// ones every locale that has an LCID.
#pragma once

#include <string>
#include <vector>

#include "platform/locale.h"

enum TLocaleNameKind { lnLocalized, lnEnglish, lnNative, lnAbbrev };

// The LCIDs, ascending.
std::vector<LCID> EnumSystemLocales(bool supported);
// True for an installed locale.
bool IsValidLocale(LCID lcid);
// The locale's name in the system code page: localised (in the interface's language, with the
// country in its short form, capitalised: "English (US)"), English language name, native language name, or the three-letter
// abbreviation (ISO 639-2 in capitals); empty for an unknown locale.
std::string LocaleName(LCID lcid, TLocaleNameKind kind);
// The language alone, in the interface's language and capitalised ("Russian", "Русский").
std::string InterfaceLanguageName(LCID lcid);
// The locale whose language the interface speaks (English until one is set).
LCID InterfaceLcid();
void SetInterfaceLcid(LCID lcid);
