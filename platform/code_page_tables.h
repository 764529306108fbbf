// Our tables of the single-byte code pages: the UTF-16 code unit of each of the 256 bytes.
// All 256 entries of a table are distinct; bytes the code page leaves undefined hold the C1
// control of the same value, or a private-use code point, so that they survive a round trip.
#pragma once

#include <span>

struct SingleByteCodePage {
  unsigned CodePage;
  const char16_t* ToWide;  // 256 entries
};

// Every single-byte code page we have a table for.
std::span<const SingleByteCodePage> SingleByteCodePages();

