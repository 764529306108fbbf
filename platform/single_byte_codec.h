// Conversion of one single-byte code page in both directions, built from our byte -> UTF-16
// table; the reverse direction is a two-level 64K table made once per code page.
#pragma once

#include <array>
#include <memory>

class SingleByteCodec {
public:
  explicit SingleByteCodec(const char16_t* toWide);

  char16_t ToWide(unsigned char byte) const { return toWide_[byte]; }
  const char16_t* Table() const { return toWide_; }
  // The byte that holds `ch`, or -1 when the code page has none.
  int ToByte(char16_t ch) const {
    const unsigned char byte = blocks_[ch >> 8][ch & 0xFF];
    return toWide_[byte] == ch ? byte : -1;
  }

private:
  using Block = std::array<unsigned char, 256>;
  const char16_t* toWide_;
  std::array<const unsigned char*, 256> blocks_;
  std::unique_ptr<Block[]> storage_;
};

// The codec of a single-byte code page (no pseudo code pages), or nullptr when we have no table.
// Codecs are made on first use and live as long as the process; safe from any thread.
const SingleByteCodec* FindSingleByteCodec(unsigned codePage);
