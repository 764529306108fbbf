#include "shell/formatting.h"

#include <charconv>

TNumberingChoice NumberingForStyle(int styleIndex, int start) {
  if (start <= 0) start = 1;
  if (styleIndex == 5) return {7, 1071 + start};  // а, б, в
  if (styleIndex == 6) return {7, 1039 + start};  // А, Б, В
  return {styleIndex + 2, start};
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
