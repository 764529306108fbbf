// The values behind the main window's formatting controls.
#pragma once

#include <string>

// A paragraph numbering: the numbering value (2 to 6 the Latin and Roman styles, 7 a sequence
// of characters) and its start (a number, or for 7 the first UTF-16 character).
struct TNumberingChoice {
  int Numbering = 0;
  int Start = 1;
};
// The numbering of style `styleIndex` ("0, 1, 2", "a, b, c", "A, B, C", "i, ii, iii",
// "I, II, III", "а, б, в", "А, Б, В") starting at `start` (0 taken as 1).
TNumberingChoice NumberingForStyle(int styleIndex, int start);
// The size typed into the font size box; 12 when it is not a number from 1 to 1638.
int FontSizeFromText(const std::string& text);
