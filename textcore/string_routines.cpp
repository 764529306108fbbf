#include "textcore/string_routines.h"

#include <cstdint>

namespace {

int HexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

unsigned char KeyByte(std::string_view key, size_t index) {
  return key.empty() ? 0 : static_cast<unsigned char>(key[index % key.size()]);
}

bool IsDelim(const TCharSet& delims, char ch) {
  return delims.test(static_cast<unsigned char>(ch));
}

// 0-based index of the first byte of the n-th word, or npos.
size_t WordStart(int n, std::string_view s, const TCharSet& delims) {
  if (n < 1) return std::string_view::npos;
  int count = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!IsDelim(delims, s[i]) && (i == 0 || IsDelim(delims, s[i - 1])) && ++count == n) return i;
  }
  return std::string_view::npos;
}

}  // namespace

TCharSet MakeCharSet(std::string_view chars) {
  TCharSet set;
  for (char ch : chars) set.set(static_cast<unsigned char>(ch));
  return set;
}

std::string ReplaceStr(std::string_view s, std::string_view sub, std::string_view rep) {
  if (sub.empty()) return std::string(s);
  std::string result;
  size_t from = 0;
  for (size_t found; (found = s.find(sub, from)) != std::string_view::npos; from = found + sub.size()) {
    result.append(s.substr(from, found - from));
    result.append(rep);
  }
  result.append(s.substr(from));
  return result;
}

std::string DelChars(std::string_view s, char ch) {
  std::string result;
  result.reserve(s.size());
  for (char c : s) {
    if (c != ch) result.push_back(c);
  }
  return result;
}

int NPos(std::string_view sub, std::string_view s, int n) {
  if (n < 1 || sub.empty()) return 0;
  size_t found = s.find(sub);
  for (int i = 1; i < n && found != std::string_view::npos; ++i) found = s.find(sub, found + 1);
  return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

int WordCount(std::string_view s, const TCharSet& delims) {
  int count = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!IsDelim(delims, s[i]) && (i == 0 || IsDelim(delims, s[i - 1]))) ++count;
  }
  return count;
}

int WordPosition(int n, std::string_view s, const TCharSet& delims) {
  size_t start = WordStart(n, s, delims);
  return start == std::string_view::npos ? 0 : static_cast<int>(start) + 1;
}

std::string ExtractWord(int n, std::string_view s, const TCharSet& delims) {
  size_t start = WordStart(n, s, delims);
  if (start == std::string_view::npos) return {};
  size_t end = start;
  while (end < s.size() && !IsDelim(delims, s[end])) ++end;
  return std::string(s.substr(start, end - start));
}

int HexToInt(std::string_view s) {
  if (!s.empty() && s.front() == '$') s.remove_prefix(1);
  if (s.empty()) return 0;
  std::uint64_t value = 0;
  for (char ch : s) {
    int digit = HexDigitValue(ch);
    if (digit < 0) return 0;
    value = value * 16 + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFu) return 0;
  }
  return static_cast<int>(static_cast<std::uint32_t>(value));
}

std::string XorEncode(std::string_view key, std::string_view s) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string result;
  result.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(s[i]) ^ KeyByte(key, i);
    result.push_back(kDigits[byte >> 4]);
    result.push_back(kDigits[byte & 15]);
  }
  return result;
}

std::string XorDecode(std::string_view key, std::string_view s) {
  std::string result;
  result.reserve(s.size() / 2);
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    int high = HexDigitValue(s[i]);
    int low = HexDigitValue(s[i + 1]);
    unsigned char byte = (high < 0 || low < 0) ? ' ' : static_cast<unsigned char>(high * 16 + low);
    result.push_back(static_cast<char>(byte ^ KeyByte(key, i / 2)));
  }
  return result;
}
