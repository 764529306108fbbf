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
// "I, II, III", "а, б, в", "А, Б, В") starting at `start` (0 taken as 1 for the Cyrillic letters).
TNumberingChoice NumberingForStyle(int styleIndex, int start);
// A numbering as the drop-down window shows it: style index and start number.
struct TNumberingStyle {
  int Index = 0;
  int Start = 1;
};
// The style a paragraph's numbering 2 to 7 shows (the reverse of NumberingForStyle).
TNumberingStyle StyleForNumbering(int numbering, int start);
// The numbering and underline choices the drop-down window remembers for text that has none.
struct TRememberedFormat {
  int NumStart = 1, NumStyleIndex = 0, NumFollower = 0, UnderlineIndex = 0;
};
// The size typed into the font size box; 12 when it is not a number from 1 to 1638.
int FontSizeFromText(const std::string& text);
