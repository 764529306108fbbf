// The value of a spin edit, free of windows: text to number and back for integer, floating and
// hexadecimal values, the limits, and the characters typing may add.
#pragma once

#include <string>

enum TValueType { vtInteger, vtFloat, vtHex };

struct TSpinFormat {
  TValueType Type = vtInteger;
  int Decimal = 2;             // digits after the separator (vtFloat)
  char DecimalSeparator = '.';
};

// The number `text` holds; `fallback` when it holds none (never raises).
double SpinTextToValue(const std::string& text, const TSpinFormat& format, double fallback);
// The text of `value`: decimal or hexadecimal integers (rounded), fixed notation with Decimal
// digits for floating values.
std::string SpinValueToText(double value, const TSpinFormat& format);
// The value kept inside [minValue, maxValue]; equal limits mean none.
double ClampSpinValue(double value, double minValue, double maxValue);
// Whether typing `c` over the selection [selStart, selStart + selLength) of `text` is allowed:
// control characters, digits, signs, and for floating values one separator and one exponent
// letter, for hexadecimal values the hexadecimal digits.
bool IsValidSpinChar(char c, const std::string& text, int selStart, int selLength, const TSpinFormat& format);
