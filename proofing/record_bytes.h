// Fields of the spelling files' fixed-size records: little-endian numbers and length-prefixed
// strings at byte offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

uint16_t ReadU16(std::span<const char> Bytes, size_t Offset);
void WriteU16(std::span<char> Bytes, size_t Offset, uint16_t Value);
uint32_t ReadU32(std::span<const char> Bytes, size_t Offset);
void WriteU32(std::span<char> Bytes, size_t Offset, uint32_t Value);
// A length byte and that many characters, of which at most MaxLength are taken.
std::string ReadShortString(std::span<const char> Bytes, size_t Offset, int MaxLength);
// Clears the field's MaxLength + 1 bytes, then writes the length byte and Value, cut to
// MaxLength characters.
void WriteShortString(std::span<char> Bytes, size_t Offset, int MaxLength, std::string_view Value);
