// The character map's arithmetic: the Unicode blocks it offers, the grid for a font size and the
// code of each cell.
#pragma once

#include <string>
#include <vector>

// The block list's captions, "Basic Latin (0-127)" first.
const std::vector<std::string>& UnicodeBlockCaptions();
// The first code of a caption: the number between "(" and "-"; -1 when there is none.
int BlockStart(const std::string& caption);

struct TCharGridShape {
  int Columns;
  int CellSize;  // pixels
};
// The grid for a font size: below 16 16x24, below 24 12x32, below 36 8x48, else 4x96.
TCharGridShape CharGridForSize(int size);
// The code a cell shows.
inline int CellCode(int first, int col, int row, int columns) { return first + col + columns * row; }
// "1025 (#401)": the code in decimal and in upper-case hexadecimal.
std::string CharCodeLabel(int code);
// Whether the code is a character one can insert (no control codes, no lone surrogates).
bool IsInsertableChar(int code);
