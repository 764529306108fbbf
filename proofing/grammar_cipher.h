// The inverse of the text core's line decipher: how the engine's rule files are written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The line that DecipherString(result, Key, Multiplier, kDecipherAddend) turns back into
// `Plain`; the bytes 0, 13 and 10 are written as their six-byte escapes.
std::string EncipherString(std::string_view Plain, std::uint32_t Key, std::uint32_t Multiplier);
// Enciphers every line; raises EConvertError naming the line when a line does not decipher
// back to itself (an enciphered byte run that reads as an escape).
std::vector<std::string> EncipherLines(const std::vector<std::string>& Lines, std::uint32_t Key,
                                       std::uint32_t Multiplier);
// The engine's multiplier of the rule-file decipher.
inline constexpr std::uint32_t kGrammarMultiplier = 9163;
