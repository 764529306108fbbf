#include "shell/formatting.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr int kSmallA = 1072, kCapitalA = 1040;  // а, А

}  // namespace

TNumberingChoice NumberingForStyle(int styleIndex, int start) {
  if (styleIndex < 5) return {styleIndex + 2, start};
  if (start <= 0) start = 1;
  return {7, (styleIndex == 5 ? kSmallA : kCapitalA) - 1 + start};
}

TNumberingStyle StyleForNumbering(int numbering, int start) {
  if (numbering != 7) return {numbering - 2, start};
  // A sequence of characters: small letters from а on, capitals below them.
  const bool small = start >= kSmallA;
  return {small ? 5 : 6, std::max(1, start - (small ? kSmallA : kCapitalA) + 1)};
}

int FontSizeFromText(const std::string& text) {
  const size_t begin = text.find_first_not_of(' '), end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return 12;
  int size = 0;
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  const auto [stop, error] = std::from_chars(first, last, size);
  return error == std::errc() && stop == last && size >= 1 && size <= 1638 ? size : 12;
}
