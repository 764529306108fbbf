#include "proofing/record_bytes.h"

#include <algorithm>
#include <cstring>

uint16_t ReadU16(std::span<const char> Bytes, size_t Offset) {
  const auto* p = reinterpret_cast<const unsigned char*>(Bytes.data() + Offset);
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void WriteU16(std::span<char> Bytes, size_t Offset, uint16_t Value) {
  Bytes[Offset] = static_cast<char>(Value & 0xFF);
  Bytes[Offset + 1] = static_cast<char>(Value >> 8);
}

uint32_t ReadU32(std::span<const char> Bytes, size_t Offset) {
  const auto* p = reinterpret_cast<const unsigned char*>(Bytes.data() + Offset);
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteU32(std::span<char> Bytes, size_t Offset, uint32_t Value) {
  for (size_t i = 0; i < 4; ++i) Bytes[Offset + i] = static_cast<char>((Value >> (8 * i)) & 0xFF);
}

std::string ReadShortString(std::span<const char> Bytes, size_t Offset, int MaxLength) {
  const int length = std::min<int>(static_cast<unsigned char>(Bytes[Offset]), MaxLength);
  return std::string(Bytes.data() + Offset + 1, length);
}

void WriteShortString(std::span<char> Bytes, size_t Offset, int MaxLength, std::string_view Value) {
  const int length = std::min<int>(static_cast<int>(Value.size()), MaxLength);
  std::memset(Bytes.data() + Offset, 0, MaxLength + 1);
  Bytes[Offset] = static_cast<char>(length);
  std::memcpy(Bytes.data() + Offset + 1, Value.data(), length);
}
