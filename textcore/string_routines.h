// General routines on 8-bit strings: replacement, deletion, words over a delimiter set,
// occurrences, hexadecimal numbers and the keyed XOR encoding of stored form values.
// Positions are 1-based; 0 means "none".
#pragma once

#include <bitset>
#include <string>
#include <string_view>

// A set of byte values (one bit per byte), used for delimiters.
using TCharSet = std::bitset<256>;

// The set of the bytes of `chars`.
TCharSet MakeCharSet(std::string_view chars);

// Every occurrence of `sub` (left to right, case-sensitive) replaced by `rep`; replaced text is
// not searched again. An empty `sub` leaves `s` unchanged.
std::string ReplaceStr(std::string_view s, std::string_view sub, std::string_view rep);
// `s` without any occurrence of `ch`.
std::string DelChars(std::string_view s, char ch);
// Position of the n-th occurrence of `sub` in `s`, overlapping occurrences counted; 0 when there
// are fewer than n, when n < 1 or when `sub` is empty.
int NPos(std::string_view sub, std::string_view s, int n);

// Number of words of `s`, a word being a maximal run of bytes not in `delims`.
int WordCount(std::string_view s, const TCharSet& delims);
// Position of the first byte of the n-th word; 0 when there is none.
int WordPosition(int n, std::string_view s, const TCharSet& delims);
// The n-th word; empty when there is none.
std::string ExtractWord(int n, std::string_view s, const TCharSet& delims);

// `s` read as a hexadecimal number, with or without a leading "$"; digits beyond 32 bits or any
// other character give 0. Values from 80000000 up come out negative, as 32-bit integers do.
int HexToInt(std::string_view s);

// Each byte of `s` XOR the key byte at the same position (the key repeats; an empty key leaves
// the byte), written as two lower-case hexadecimal digits.
std::string XorEncode(std::string_view key, std::string_view s);
// The reverse of XorEncode: pairs of hexadecimal digits (a trailing odd digit is ignored, a pair
// that is not hexadecimal counts as a blank) XOR the key byte give one byte each.
std::string XorDecode(std::string_view key, std::string_view s);
