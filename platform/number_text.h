// Numbers as text, the way settings files and the registry store them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A 32-bit integer in decimal, or in hexadecimal after "$" or "0x" (where 0xFFFFFFFF reads as
// -1), with an optional sign and blanks around it; nullopt for anything else or out of range.
std::optional<int> ParseInteger(std::string_view Text);
// A finite floating-point number with '.' or ',' as the decimal separator; nullopt otherwise.
std::optional<double> ParseFloat(std::string_view Text);
// The shortest text (with '.') that ParseFloat reads back as exactly `Value`.
std::string FormatFloat(double Value);
