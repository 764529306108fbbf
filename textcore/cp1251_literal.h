// Code page 1251 text written as a UTF-8 literal in the source and converted while compiling,
// so that tables of Russian text stay readable: constexpr Cp1251Literal kAbc(u8"абв").
// Only ASCII, the 66 Cyrillic letters, "№" and the em dash are accepted; anything else does
// not compile.
#pragma once

#include <cstddef>
#include <string_view>

template <std::size_t N>
class Cp1251Literal {
public:
  consteval Cp1251Literal(const char8_t (&utf8)[N]) {
    for (std::size_t i = 0; i + 1 < N;) {
      const unsigned lead = utf8[i];
      unsigned code = 0;
      std::size_t units = 1;
      if (lead < 0x80) {
        code = lead;
      } else if ((lead & 0xE0) == 0xC0) {
        code = ((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
        units = 2;
      } else if ((lead & 0xF0) == 0xE0) {
        code = ((lead & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
        units = 3;
      } else {
        throw "unsupported UTF-8 sequence";
      }
      bytes_[size_++] = static_cast<char>(ByteOf(code));
      i += units;
    }
  }

  constexpr std::string_view view() const { return {bytes_, size_}; }
  constexpr operator std::string_view() const { return view(); }

private:
  static consteval unsigned ByteOf(unsigned code) {
    if (code < 0x80) return code;
    if (code >= 0x410 && code <= 0x44F) return code - 0x410 + 0xC0;  // А..я
    if (code == 0x401) return 0xA8;                                   // Ё
    if (code == 0x451) return 0xB8;                                   // ё
    if (code == 0x2116) return 0xB9;                                  // №
    if (code == 0x2014) return 0x97;                                  // em dash
    throw "character not in the accepted part of code page 1251";
  }

  char bytes_[N]{};
  std::size_t size_ = 0;
};
