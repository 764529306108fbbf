#include "textcore/cyr_case.h"

#include "platform/locale.h"

namespace {

// Capital and small letters of code page 1251 whose bytes a non-Cyrillic system code page does
// not case-map as this pair: Я/я (in 1252 ß has no capital and ÿ goes to Ÿ), Ч/ч (× and ÷ have
// no case), Ь/ь, and Ё/ё (¨ and ¸ have no case).
struct LetterPair {
  unsigned char upper, lower;
};
constexpr LetterPair kFixedPairs[] = {{0xDF, 0xFF}, {0xD7, 0xF7}, {0xDC, 0xFC}, {0xA8, 0xB8}};

}  // namespace

std::string CyrLowerCase(std::string_view s) {
  std::string result = AnsiLowerCase(s);
  for (size_t i = 0; i < s.size() && i < result.size(); ++i) {
    for (const LetterPair& pair : kFixedPairs) {
      if (static_cast<unsigned char>(s[i]) == pair.upper) result[i] = static_cast<char>(pair.lower);
    }
  }
  return result;
}

std::string CyrUpperCase(std::string_view s) {
  std::string result = AnsiUpperCase(s);
  for (size_t i = 0; i < s.size() && i < result.size(); ++i) {
    for (const LetterPair& pair : kFixedPairs) {
      if (static_cast<unsigned char>(s[i]) == pair.lower) result[i] = static_cast<char>(pair.upper);
    }
  }
  return result;
}
