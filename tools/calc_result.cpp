#include "tools/calc_result.h"

#include <algorithm>
#include <cmath>

#include "platform/number_text.h"

namespace {

constexpr double kInt64Limit = 9223372036854775808.0;  // 2^63

// The integer part of `value`; raises when it has none in 64 bits.
long long IntegerPart(double value) {
  const double t = std::trunc(value);
  if (!(t > -kInt64Limit && t < kInt64Limit))
    throw ECalcError("CalcTooLarge", "The value is too large for this number system.");
  return static_cast<long long>(t);
}

std::string InBase(long long value, unsigned base) {
  static const char kDigits[] = "0123456789ABCDEF";
  unsigned long long n = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
  std::string digits;
  do digits.insert(digits.begin(), kDigits[n % base]), n /= base;
  while (n);
  return (value < 0 ? "-" : "") + digits;
}

std::string Roman(long long value) {
  if (value < 0 || value > kMaxRoman)
    throw ECalcError("CalcRomanRange", "Roman numerals are written for 0 to 3999 only.");
  static const std::pair<int, const char*> kPairs[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                                                       {90, "XC"},  {50, "L"},   {40, "XL"},  {10, "X"},   {9, "IX"},
                                                       {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string out;
  for (const auto& [n, text] : kPairs)
    for (; value >= n; value -= n) out += text;
  return out;
}

}  // namespace

std::string FormatCalcResult(double value, TNumberSystem system) {
  switch (system) {
    case nsHex: return InBase(IntegerPart(value), 16);
    case nsOct: return InBase(IntegerPart(value), 8);
    case nsBin: return InBase(IntegerPart(value), 2);
    case nsRoman: return Roman(IntegerPart(value));
    default: return FormatFloat(value);
  }
}

unsigned CalcResultColor(double value) {
  const double r = std::round(value);
  if (!(r > -kInt64Limit && r < kInt64Limit)) return 0;
  return static_cast<unsigned>(static_cast<unsigned long long>(static_cast<long long>(r)) & 0xFFFFFFu);
}

std::vector<TValueRow> ValueTable(double from, double to, double step, const std::function<double(double)>& f) {
  if (!(step > 0)) throw ECalcError("CalcBadStep", "The step must be greater than zero.");
  if (!std::isfinite(from) || !std::isfinite(to)) throw ECalcError("CalcTooManyRows", "The table is too long.");
  if (to >= from && (to - from) / step >= kMaxTableRows)
    throw ECalcError("CalcTooManyRows", "The table would have more than 10000 rows; choose a larger step.");
  std::vector<TValueRow> rows;
  for (double x = from; x <= to && int(rows.size()) < kMaxTableRows; x += step) {
    TValueRow row{x, std::nullopt};
    try {
      const double y = f(x);
      if (!std::isnan(y)) row.Y = y;
    } catch (const std::exception&) {
    }
    rows.push_back(row);
  }
  return rows;
}

void AddToHistory(std::vector<std::string>& history, const std::string& formula, size_t limit) {
  if (std::find(history.begin(), history.end(), formula) == history.end()) history.insert(history.begin(), formula);
  if (history.size() > limit) history.resize(limit);
}

std::string CellsAsText(const std::vector<std::vector<std::string>>& rows) {
  std::string out;
  for (const auto& row : rows) {
    for (const auto& cell : row) out += '\t' + cell;
    out += "\r\n";
  }
  return out;
}
