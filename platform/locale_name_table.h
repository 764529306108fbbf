// The display names of the known locales (KnownLocales), written at build time from ICU so that
// the locale lists and the interface-language files need no ICU locale data at start.
#pragma once

#include <cstddef>
#include <iterator>

#include "platform/locale.h"

// The interface languages whose names the table holds, in the order of its columns.
inline constexpr LCID kTabledInterfaceLcids[] = {LANG_ENGLISH_US, LANG_RUSSIAN};

struct TLocaleNameRow {
  LCID Lcid;
  const char16_t* English;
  const char16_t* Native;
  const char16_t* Localized[std::size(kTabledInterfaceLcids)];  // by interface language
  const char16_t* Language[std::size(kTabledInterfaceLcids)];
};

// Ascending by LCID.
extern const TLocaleNameRow kLocaleNameTable[];
extern const size_t kLocaleNameTableSize;
