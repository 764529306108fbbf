// The mail decoder's engine: character codes written between a prefix and a suffix ("=CF",
// "%D0", "\'cf", "&#1055;") turned back into the characters they stand for. Text is UTF-16.
#pragma once

#include <functional>
#include <string>
#include <string_view>

struct TMailCodes {
  std::u16string Prefix, Suffix;
  bool Decimal = false;  // decimal character numbers; else two hexadecimal digits of code page 1251
};

// Reports how far the decoding is (characters done of total); answers true to stop.
using TMailStep = std::function<bool(int64_t done, int64_t total)>;

// Decodes every code that directly follows the prefix; the suffix right after a code goes with
// it. Everything else, a prefix without a valid code included, stays as it is. A decimal number
// is a Unicode code point (1 to 0x10FFFF, surrogates excluded); hexadecimal digits give the code
// page 1251 character of that byte (not 0). Answers false, with `out` untouched, when stopped.
bool DecodeMailCodes(std::u16string_view text, const TMailCodes& codes, std::u16string& out,
                     const TMailStep& step = nullptr);
