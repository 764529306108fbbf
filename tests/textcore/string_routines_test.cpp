#include "textcore/string_routines.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/string_list.h"
#include "textcore/decipher.h"

namespace {

TEST(StringRoutines, ReplaceAndDelete) {
  EXPECT_EQ(ReplaceStr("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceStr("abcabc", "bc", ""), "aa");
  EXPECT_EQ(ReplaceStr("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceStr("a.b", ".", ".."), "a..b");  // replaced text is not searched again
  EXPECT_EQ(DelChars("&File &Open", '&'), "File Open");
  EXPECT_EQ(DelChars("", '&'), "");
}

TEST(StringRoutines, NPosCountsOverlappingOccurrences) {
  EXPECT_EQ(NPos("aa", "aaaa", 1), 1);
  EXPECT_EQ(NPos("aa", "aaaa", 2), 2);
  EXPECT_EQ(NPos("aa", "aaaa", 3), 3);
  EXPECT_EQ(NPos("aa", "aaaa", 4), 0);
  EXPECT_EQ(NPos("x", "axbx", 2), 4);
  EXPECT_EQ(NPos("x", "axbx", 0), 0);
  EXPECT_EQ(NPos("", "axbx", 1), 0);
}

TEST(StringRoutines, WordsOverADelimiterSet) {
  const TCharSet blank = MakeCharSet(" ");
  EXPECT_EQ(WordCount("  a  b ", blank), 2);
  EXPECT_EQ(WordPosition(1, "  a  b ", blank), 3);
  EXPECT_EQ(WordPosition(2, "  a  b ", blank), 6);
  EXPECT_EQ(WordPosition(3, "  a  b ", blank), 0);
  EXPECT_EQ(ExtractWord(2, "  a  bc ", blank), "bc");
  EXPECT_EQ(ExtractWord(3, "  a  b ", blank), "");
  EXPECT_EQ(ExtractWord(0, "a", blank), "");
  const TCharSet separators = MakeCharSet("\t ,;");
  EXPECT_EQ(WordCount("one,\ttwo;;three", separators), 3);
  EXPECT_EQ(ExtractWord(3, "one,\ttwo;;three", separators), "three");
  EXPECT_EQ(WordCount("", separators), 0);
}

TEST(StringRoutines, HexToInt) {
  const std::pair<const char*, int> cases[] = {
      {"1F", 31},  {"$1F", 31}, {"ff", 255},          {"0", 0},          {"", 0},   {"$", 0},
      {"1G", 0},   {"-1", 0},   {"7FFFFFFF", 0x7FFFFFFF}, {"FFFFFFFF", -1}, {"100000000", 0},
      {"000000001", 1},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(HexToInt(text), value) << text;
}

TEST(StringRoutines, XorEncodingIsLowerCaseHexAndReverses) {
  EXPECT_EQ(XorEncode("", "abc"), "616263");
  EXPECT_EQ(XorDecode("", "616263"), "abc");
  EXPECT_EQ(XorEncode("k", "\xFF"), "94");               // 0xFF ^ 0x6B, lower case
  EXPECT_EQ(XorEncode("AB", "AAAA"), "00030003");        // the key repeats
  EXPECT_EQ(XorDecode("", "6162636"), "abc");            // a trailing odd digit is ignored
  EXPECT_EQ(XorDecode("", "61zz63"), "a c");             // a pair that is not hex is a blank
  EXPECT_EQ(XorDecode("", "6A6a"), "jj");
  const std::string values[] = {"", "Form1.Left=100", std::string("\0\x01\x80\xFF", 4)};
  for (const std::string& value : values) EXPECT_EQ(XorDecode("Secret", XorEncode("Secret", value)), value);
}

// The enciphering the decipher reverses, written independently for the tests: the escapes keep
// the bytes 0, 10 and 13 out of the enciphered text.
std::string Encipher(std::string_view plain, std::uint32_t key, std::uint32_t multiplier, std::uint32_t addend) {
  std::string out;
  std::uint32_t k = key;
  for (char p : plain) {
    const unsigned char c = static_cast<unsigned char>(p) ^ static_cast<unsigned char>(k >> 8);
    if (c == 0) out.append(6, '\x01');
    else if (c == 13) out.append(6, '\x02');
    else if (c == 10) out.append(6, '\x03');
    else out.push_back(static_cast<char>(c));
    k = (k + c) * multiplier + addend;
  }
  return out;
}

TEST(Decipher, ReversesEncipheredLinesWithEscapes) {
  const std::uint32_t key = 0xBEEF1234, multiplier = 52845;
  std::string plain;
  for (int i = 0; i < 512; ++i) plain.push_back(static_cast<char>(i * 7 + 3));
  const std::string cipher = Encipher(plain, key, multiplier, kDecipherAddend);
  EXPECT_EQ(cipher.find_first_of(std::string("\0\n\r", 3)), std::string::npos);
  EXPECT_EQ(DecipherString(cipher, key, multiplier, kDecipherAddend), plain);
}

TEST(Decipher, EscapesAndLoneControlBytes) {
  const std::uint32_t key = 0x00004200;  // key >> 8 is 0x42
  // Six bytes 0x02 are one position whose byte derives from 13.
  const std::string escaped = DecipherString(std::string(6, '\x02') + "A", key, 3, 7);
  ASSERT_EQ(escaped.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(escaped[0]), 13 ^ 0x42);
  const std::uint32_t next = (key + 13) * 3 + 7;
  EXPECT_EQ(static_cast<unsigned char>(escaped[1]), ('A' ^ (next >> 8)) & 255);
  EXPECT_EQ(static_cast<unsigned char>(DecipherString(std::string(6, '\x01'), key, 3, 7)[0]), 0x42);
  EXPECT_EQ(static_cast<unsigned char>(DecipherString(std::string(6, '\x03'), key, 3, 7)[0]), 10 ^ 0x42);
  // Fewer than six, or a mixed run, stay byte by byte.
  EXPECT_EQ(DecipherString(std::string(5, '\x03'), key, 3, 7).size(), 5u);
  EXPECT_EQ(DecipherString("\x01\x01\x01\x02\x01\x01", key, 3, 7).size(), 6u);
  EXPECT_EQ(DecipherString("", key, 3, 7), "");
}

TEST(Decipher, DecipherStringsUsesTheFixedAddendAndRestartsTheKeyPerLine) {
  const std::uint32_t key = 1234567, multiplier = 31;
  EXPECT_EQ(kDecipherAddend, 9146u);
  TStringList lines;
  lines.Add(Encipher("[General]", key, multiplier, 9146));
  lines.Add(Encipher("Name=Value", key, multiplier, 9146));
  lines.Add("");
  DecipherStrings(lines, key, multiplier);
  EXPECT_EQ(lines[0], "[General]");
  EXPECT_EQ(lines[1], "Name=Value");
  EXPECT_EQ(lines[2], "");
}

}  // namespace
