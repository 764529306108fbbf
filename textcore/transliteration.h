// Cyrillic-to-Latin transliteration of code page 1251 text.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "textcore/interface_hooks.h"

// The 64 Cyrillic letters without Ё and ё, capitals first, in ЙЦУКЕН key order.
extern const std::string_view CyrillicLetters;
// The Latin spelling of each letter of CyrillicLetters, at the same index.
extern const std::array<std::string_view, 64> TranslitLetters;

// A letter-group rule applied before the letter pass.
struct TTranslitRule {
  std::string_view source;  // Cyrillic
  std::string_view target;  // Latin
};
// The 16 rules, applied in this order.
extern const std::array<TTranslitRule, 16> TranslitRules;

// `s` transliterated: the rules in order (case-sensitive, replaced text not searched again), then
// each letter of CyrillicLetters spelled by TranslitLetters; everything else stays. `onProgress`
// (may be empty) is called with the percentage before each rule and each character; when it asks
// to stop, EAbort is raised, so a stopped run never passes for a result.
std::string Transliterate(std::string_view s, const TProgressCallback& onProgress);
