#include "textcore/cyr_codes.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/exceptions.h"
#include "tests/textcore/text_literals.h"

namespace {

constexpr int WIN = 0, DOS = 1, ISO = 2, KOI = 3, MAC = 4;
const char* const kCharsets[kCyrCodeColumns] = {"CP1251", "CP866", "ISO-8859-5", "KOI8-R", "MACCYRILLIC"};

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(CyrCodeTable, EveryLetterRowMatchesTheFiveEncodings) {
  // Rows 1 to 66: the character of the WIN cell, encoded by iconv in each encoding, is the cell.
  for (int row = 0; row < kCyrCodeRows - 1; ++row) {
    const std::string character = Decode(Bytes({CyrCodeTable[row][WIN]}), "CP1251");
    for (int column = 0; column < kCyrCodeColumns; ++column) {
      EXPECT_EQ(Bytes({CyrCodeTable[row][column]}), Encode(character, kCharsets[column]))
          << "row " << row + 1 << " (" << character << ") column " << CyrCodeNames[column];
    }
  }
}

TEST(CyrCodeTable, LastRowIsTheEmDashOf1251WithItsChosenTargets) {
  const auto& row = CyrCodeTable[kCyrCodeRows - 1];
  EXPECT_EQ(Decode(Bytes({row[WIN]}), "CP1251"), "\u2014");
  EXPECT_EQ(row[DOS], 0xC4);
  EXPECT_EQ(Decode(Bytes({row[DOS]}), "CP866"), "\u2500");  // box-drawing horizontal line
  EXPECT_EQ(row[ISO], 0x97);
  EXPECT_EQ(row[KOI], 0x97);
  EXPECT_EQ(row[MAC], 0xC4);
}

TEST(CyrCodeTable, ColumnsHaveNoDuplicatesAndTheirNames) {
  for (int column = 0; column < kCyrCodeColumns; ++column) {
    std::set<unsigned char> codes;
    for (const auto& row : CyrCodeTable) codes.insert(row[column]);
    EXPECT_EQ(codes.size(), static_cast<size_t>(kCyrCodeRows)) << CyrCodeNames[column];
  }
  EXPECT_EQ(CyrCodeNames[WIN], "WIN");
  EXPECT_EQ(CyrCodeNames[DOS], "DOS");
  EXPECT_EQ(CyrCodeNames[ISO], "ISO");
  EXPECT_EQ(CyrCodeNames[KOI], "KOI");
  EXPECT_EQ(CyrCodeNames[MAC], "MAC");
}

struct ConvertCase {
  std::string input;
  int from, to;
  std::string expected;
};

TEST(ConvertCyrCodeTable, WorkedExamples) {
  const ConvertCase cases[] = {
      {Bytes({0xE1, 0xE2, 0xF7}), KOI, WIN, W("АБВ")},
      {W("Ёё"), WIN, DOS, Bytes({0xF0, 0xF1})},
      {W("№ 5"), WIN, KOI, "No. 5"},
      {W("№ 5"), WIN, WIN, W("№ 5")},
      {W("бв"), WIN, MAC, Bytes({0xE1, 0xE2})},
      {Bytes({0xE1, 0xE2}), MAC, WIN, W("бв")},
      {W("—"), WIN, DOS, Bytes({0xC4})},
      {Bytes({0xC4}), DOS, WIN, W("—")},
      {"Latin 123, (ok)!", WIN, KOI, "Latin 123, (ok)!"},
      {"", WIN, ISO, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertCyrCodeTable(c.input, c.from, c.to), c.expected)
        << CyrCodeNames[c.from] << " to " << CyrCodeNames[c.to];
  }
}

TEST(ConvertCyrCodeTable, RussianTextMatchesIconvAndRoundTrips) {
  const std::string utf8 = "Съешь же ещё этих мягких французских булок, да выпей чаю. ЁЖ и ёж!";
  const std::string text = W(utf8) + W(" — конец");
  for (int column = 1; column < kCyrCodeColumns; ++column) {
    EXPECT_EQ(ConvertCyrCodeTable(W(utf8), WIN, column), Encode(utf8, kCharsets[column])) << CyrCodeNames[column];
    EXPECT_EQ(ConvertCyrCodeTable(ConvertCyrCodeTable(text, WIN, column), column, WIN), text)
        << CyrCodeNames[column];
  }
}

TEST(ConvertCyrCodeTable, IsoCapitalShortIStaysALetter) {
  // 0xB9 is "№" only in 1251; in ISO 8859-5 it is Й and converts as the letter.
  EXPECT_EQ(ConvertCyrCodeTable(Encode("ЙОД", "ISO-8859-5"), ISO, WIN), W("ЙОД"));
  EXPECT_EQ(ConvertCyrCodeTable(Bytes({0xB9}), KOI, WIN), "No.");
}

TEST(ConvertCyrCodeTable, RejectsColumnsOutsideTheTable) {
  EXPECT_THROW(ConvertCyrCodeTable("x", 5, 0), EInvalidOperation);
  EXPECT_THROW(ConvertCyrCodeTable("x", 0, -1), EInvalidOperation);
}

}  // namespace
