// Test literals in other encodings, converted by the C library's iconv so that the expected
// bytes never come from the code under test.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

// `text` (UTF-8) in `charset` ("CP1251", "KOI8-R", ...); throws when a character cannot be held.
inline std::string Encode(std::string_view text, const char* charset = "CP1251") {
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + charset);
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("iconv cannot encode the text");
  out.resize(out.size() - outLeft);
  return out;
}

// 8-bit `bytes` in `charset` as UTF-8.
inline std::string Decode(std::string_view bytes, const char* charset = "CP1251") {
  iconv_t cd = iconv_open("UTF-8", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + charset);
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("iconv cannot decode the bytes");
  out.resize(out.size() - outLeft);
  return out;
}

// Code page 1251 text from a UTF-8 literal.
inline std::string W(std::string_view utf8) { return Encode(utf8, "CP1251"); }
