#include "components/spin_value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/number_text.h"

namespace {

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

double Round(double v) { return std::nearbyint(v); }

}  // namespace

double SpinTextToValue(const std::string& text, const TSpinFormat& format, double fallback) {
  const std::string t = Trim(text);
  if (t.empty()) return fallback;
  if (format.Type == vtInteger || format.Type == vtHex) {
    if (format.Type == vtHex && (t[0] == '-' || t[0] == '+')) return fallback;
    auto v = ParseInteger(format.Type == vtHex ? "$" + t : t);
    return v ? double(*v) : fallback;
  }
  std::string s = t;
  std::replace(s.begin(), s.end(), format.DecimalSeparator, '.');
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return fallback;
  return v;
}

std::string SpinValueToText(double value, const TSpinFormat& format) {
  char buffer[512];
  if (format.Type == vtFloat) {
    const int decimal = std::clamp(format.Decimal, 0, 18);
    std::snprintf(buffer, sizeof buffer, "%.*f", decimal, value);
    std::string s = buffer;
    std::replace(s.begin(), s.end(), '.', format.DecimalSeparator);
    return s;
  }
  const double r = std::clamp(Round(value), -2147483648.0, 2147483647.0);
  if (format.Type == vtHex) {
    std::snprintf(buffer, sizeof buffer, "%X", unsigned(int(r)));
  } else {
    std::snprintf(buffer, sizeof buffer, "%d", int(r));
  }
  return buffer;
}

double ClampSpinValue(double value, double minValue, double maxValue) {
  if (maxValue == minValue) return value;
  if (value < minValue) return minValue;
  if (value > maxValue) return maxValue;
  return value;
}

bool IsValidSpinChar(char c, const std::string& text, int selStart, int selLength, const TSpinFormat& format) {
  if (static_cast<unsigned char>(c) < 32) return true;
  if ((c >= '0' && c <= '9') || c == '+' || c == '-') return true;
  // What stays of the text once the typed character replaces the selection.
  const size_t from = size_t(std::clamp(selStart, 0, int(text.size())));
  const size_t count = size_t(std::clamp(selLength, 0, int(text.size() - from)));
  const std::string rest = text.substr(0, from) + text.substr(from + count);
  switch (format.Type) {
    case vtFloat:
      if (c == format.DecimalSeparator) return rest.find(format.DecimalSeparator) == std::string::npos;
      if (c == 'e' || c == 'E') return rest.find_first_of("eE") == std::string::npos;
      return false;
    case vtHex:
      return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    default:
      return false;
  }
}
