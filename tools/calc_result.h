// The calculator's arithmetic around the parser: a result in five number systems and as a
// colour, the table of a formula's values, the formula history and the grid's copy text.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A value the chosen number system cannot show, or a table that cannot be made.
class ECalcError : public std::runtime_error {
public:
  // `key`: the message's name in the language files.
  ECalcError(std::string key, const std::string& text) : std::runtime_error(text), Key(std::move(key)) {}
  std::string Key;
};

enum TNumberSystem { nsDec, nsHex, nsOct, nsBin, nsRoman };

// The largest value written in Roman numerals.
inline constexpr long long kMaxRoman = 3999;
// The most rows a table of values holds.
inline constexpr int kMaxTableRows = 10000;

// `value` in the system: "Dec" the shortest decimal text; the others the integer part (a
// negative one with "-"); Roman 0 is empty. Raises ECalcError for what cannot be written.
std::string FormatCalcResult(double value, TNumberSystem system);
// The colour (0x00BBGGRR) of the rounded value: its low, middle and high bytes are red, green
// and blue; 0 for values beyond 64 bits.
unsigned CalcResultColor(double value);

struct TValueRow {
  double X;
  std::optional<double> Y;  // none where the formula has no value
};

// The values of `f` from `from` while x <= `to`, adding `step`. Raises ECalcError when the
// step is not positive or the table would exceed kMaxTableRows.
std::vector<TValueRow> ValueTable(double from, double to, double step, const std::function<double(double)>& f);

// Puts `formula` at the top of the history unless it is in it; keeps `limit` entries.
void AddToHistory(std::vector<std::string>& history, const std::string& formula, size_t limit = 20);

// Grid cells as clipboard text: every cell preceded by a tab, every row ended by CR LF.
std::string CellsAsText(const std::vector<std::vector<std::string>>& rows);
