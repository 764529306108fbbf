// The five-column Cyrillic code table and conversion of text between the five 8-bit Cyrillic
// encodings through it.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr int kCyrCodeRows = 67;
inline constexpr int kCyrCodeColumns = 5;

// Each row holds the code of one character in WIN (1251), DOS (866), ISO (8859-5), KOI (KOI8-R)
// and MAC (Mac Cyrillic): the 32 capitals, the 32 small letters, Ё, ё and, last, the em dash of
// 1251 with the codes the program moves it to. Stored and converted texts depend on every cell.
extern const std::array<std::array<unsigned char, kCyrCodeColumns>, kCyrCodeRows> CyrCodeTable;
// The column names "WIN", "DOS", "ISO", "KOI", "MAC", by column index 0 to 4.
extern const std::array<std::string_view, kCyrCodeColumns> CyrCodeNames;

// The table pass as a byte map: each byte becomes its code in column `to` of the first row whose
// column `from` holds it; bytes in no row map to themselves. Columns outside 0..4 raise
// EInvalidOperation.
std::array<unsigned char, 256> CyrCodeMap(int from, int to);

// `s` converted from column `from` to column `to`: unchanged when the columns are equal;
// otherwise every "№" (0xB9) becomes "No." (unless the source column has a letter there) and
// every other byte goes through CyrCodeMap.
std::string ConvertCyrCodeTable(std::string_view s, int from, int to);
