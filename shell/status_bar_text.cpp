#include "shell/status_bar_text.h"

#include <cstdio>

#include "tools/tool_messages.h"

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The interface language's pattern of `key`, its numbers filled in.
std::string Format(const char* key, const char* english, std::initializer_list<long long> numbers) {
  return FillNumbers(ToolMessage(key, english), numbers);
}

}  // namespace

std::string FillNumbers(const std::string& pattern, std::initializer_list<long long> numbers) {
  std::string out;
  auto next = numbers.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char kind = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '%' && kind == '%') {
      out += '%';
      ++i;
    } else if (c == '%' && (kind == 'd' || kind == 'u' || kind == 'x') && next != numbers.end()) {
      char buffer[24];
      std::snprintf(buffer, sizeof buffer, kind == 'x' ? "%llx" : "%lld", *next++);
      out += buffer;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string CharCodeText(const std::u16string& text, int position) {
  if (text.empty()) return {};
  size_t at = position < 0 ? 0 : std::min(size_t(position), text.size() - 1);
  if (IsLow(text[at]) && at > 0 && IsHigh(text[at - 1])) --at;
  unsigned code = text[at];
  if (IsHigh(text[at]) && at + 1 < text.size() && IsLow(text[at + 1]))
    code = 0x10000 + ((code - 0xD800) << 10) + (text[at + 1] - 0xDC00);
  return Format("StatusCode", "Code: %u (#%x)", {code, code});
}

std::string PositionText(int selStart, int selLength, int textLength) {
  if (selLength > 0)
    return Format("StatusSel", "Sel: %d to %d (%d chars)", {selStart, selStart + selLength, selLength});
  return Format("StatusPos", "Pos: %d of %d", {selStart, textLength});
}

std::string LineText(int line, int lineCount, int column) {
  return Format("StatusLine", "Line: %d of %d    Col: %d", {line, lineCount, column});
}

std::string CopyInfoText(int selStart, int selLength, int line, int column) {
  // The clipboard's form is fixed, whatever the interface language.
  return FillNumbers("Offs:%d; Length:%d; Line: %d; Column: %d;", {selStart, selLength, line, column});
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
