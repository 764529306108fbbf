#include "platform/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<int> ParseInteger(std::string_view Text) {
  std::string_view s = TrimBlanks(Text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty() || s.front() == '-' || s.front() == '+') return std::nullopt;
  uint64_t value = 0;
  auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (base == 16) {
    if (value > 0xFFFFFFFFu) return std::nullopt;
    auto bits = static_cast<uint32_t>(value);
    return static_cast<int>(negative ? 0u - bits : bits);
  }
  if (value > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
  return static_cast<int>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}

std::optional<double> ParseFloat(std::string_view Text) {
  std::string text(TrimBlanks(Text));
  for (char& c : text)
    if (c == ',') c = '.';
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string FormatFloat(double Value) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, Value);
  return std::string(buffer, error == std::errc() ? end : buffer);
}
