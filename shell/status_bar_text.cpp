#include "shell/status_bar_text.h"

#include <cstdio>

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace

std::string CharCodeText(const std::u16string& text, int position) {
  if (text.empty()) return {};
  size_t at = position < 0 ? 0 : std::min(size_t(position), text.size() - 1);
  if (IsLow(text[at]) && at > 0 && IsHigh(text[at - 1])) --at;
  unsigned code = text[at];
  if (IsHigh(text[at]) && at + 1 < text.size() && IsLow(text[at + 1]))
    code = 0x10000 + ((code - 0xD800) << 10) + (text[at + 1] - 0xDC00);
  return Format("Code: %u (#%x)", code, code);
}

std::string PositionText(int selStart, int selLength, int textLength) {
  if (selLength > 0) return Format("Sel: %d to %d (%d chars)", selStart, selStart + selLength, selLength);
  return Format("Pos: %d of %d", selStart, textLength);
}

std::string LineText(int line, int lineCount, int column) {
  return Format("Line: %d of %d    Col: %d", line, lineCount, column);
}

std::string CopyInfoText(int selStart, int selLength, int line, int column) {
  return Format("Offs:%d; Length:%d; Line: %d; Column: %d;", selStart, selLength, line, column);
}

int IndicatorImage(int panel) {
  static const int images[] = {56, 58, 57, 59};
  return panel >= 3 && panel <= 6 ? images[panel - 3] : -1;
}

std::string IndicatorLetter(int panel) {
  static const char* const letters[] = {"M", "S", "K", "C"};
  return panel >= 3 && panel <= 6 ? letters[panel - 3] : "";
}

std::optional<int> ParseZoom(const std::string& text) {
  size_t begin = text.find_first_not_of(' '), end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return 100;
  std::string number = text.substr(begin, end - begin + 1);
  if (number.back() == '%') number.pop_back();
  while (!number.empty() && number.back() == ' ') number.pop_back();
  if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
    return 100;
  const int zoom = std::stoi(number);
  if (zoom < 2 || zoom > 6400) return std::nullopt;
  return zoom;
}
