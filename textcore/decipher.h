// The keyed line decipher with which enciphered grammar files are read, one line at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TStrings;

// The addend DecipherStrings uses; enciphered files depend on it.
inline constexpr std::uint32_t kDecipherAddend = 9146;

// Deciphers one line. The six-byte escapes 01×6, 02×6 and 03×6 stand for the bytes 0, 13 and 10
// of the enciphered text; each byte c gives (c XOR (key >> 8)) & 255, then the running key becomes
// (key + c) × multiplier + addend, modulo 2^32.
std::string DecipherString(std::string_view s, std::uint32_t key, std::uint32_t multiplier,
                           std::uint32_t addend);
// Replaces every line of `lines` by its DecipherString with the fixed addend; the key starts
// afresh for each line.
void DecipherStrings(TStrings& lines, std::uint32_t key, std::uint32_t multiplier);
