// The display names of locales as ICU gives them, in UTF-16: asked by the program for names its
// built-in table lacks, and by the build step that writes that table.
#pragma once

#include <string>

enum class TIcuLocaleName {
  Localized,  // language and short country in the display locale: "English (US)"
  Language,   // the language alone in the display locale: "English"
  English,    // the language in English
  Native,     // the language in its own language
};

// The name of ICU locale `locale`, displayed in ICU locale `display` (Localized and Language only);
// empty when ICU has none.
std::u16string IcuLocaleName(const std::string& locale, TIcuLocaleName kind, const std::string& display);
