#include "textcore/fast_strings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <type_traits>

#include "platform/code_pages.h"
#include "platform/locale.h"

namespace FastStrings {
namespace {

// Byte comparison, plain or through the upper-case table.
struct ExactBytes {
  bool operator()(char a, char b) const { return a == b; }
};
struct TableBytes {
  const unsigned char* table;
  bool operator()(char a, char b) const {
    return table[static_cast<unsigned char>(a)] == table[static_cast<unsigned char>(b)];
  }
};

// Does the pattern match at 0-based offset `at`? The first byte first, then from the last
// towards the second.
template <class Equal>
bool MatchesAt(const char* text, const char* pattern, int at, int patternLength, Equal equal) {
  if (!equal(text[at], pattern[0])) return false;
  for (int k = patternLength - 1; k >= 1; --k) {
    if (!equal(text[at + k], pattern[k])) return false;
  }
  return true;
}

template <class Equal>
int ScanForward(const char* text, const char* pattern, int textLength, int startPos, int patternLength,
                Equal equal) {
  if (patternLength < 1 || textLength < 1 || !text || !pattern) return 0;
  if (startPos < 1) startPos = 1;
  const int last = textLength - patternLength + 1;  // last start leaving room for the pattern
  if constexpr (std::is_same_v<Equal, ExactBytes>) {
    // memchr finds the candidates for the first byte; the rest is compared as below.
    for (int pos = startPos; pos <= last; ++pos) {
      const void* hit = std::memchr(text + pos - 1, pattern[0], static_cast<size_t>(last - pos + 1));
      if (!hit) return 0;
      pos = static_cast<int>(static_cast<const char*>(hit) - text) + 1;
      if (MatchesAt(text, pattern, pos - 1, patternLength, equal)) return pos;
    }
  } else {
    for (int pos = startPos; pos <= last; ++pos) {
      if (MatchesAt(text, pattern, pos - 1, patternLength, equal)) return pos;
    }
  }
  return 0;
}

template <class Equal>
int ScanBackward(const char* text, const char* pattern, int textLength, int startPos, int patternLength,
                 Equal equal) {
  if (patternLength < 1 || textLength < 1 || !text || !pattern || startPos < 0) return 0;
  const int last = textLength - patternLength + 1;  // last start leaving room for the pattern
  const int first = (startPos == 0 || startPos > last) ? last : startPos;
  for (int pos = first; pos >= 1; --pos) {
    if (MatchesAt(text, pattern, pos - 1, patternLength, equal)) return pos;
  }
  return 0;
}

struct CaseTable {
  unsigned codePage = 0;
  std::array<unsigned char, 256> upper{};
};

int Length(std::string_view s) {
  return static_cast<int>(std::min<size_t>(s.size(), std::numeric_limits<int>::max()));
}

}  // namespace

const unsigned char* UpperCaseTable() {
  // Built for the system code page in force; rebuilt when a test or the user switches it.
  thread_local CaseTable table;
  const unsigned codePage = SystemCodePage();
  if (table.codePage != codePage) {
    table.upper[0] = 0;
    for (int i = 1; i < 256; ++i) table.upper[i] = AnsiUpperChar(static_cast<unsigned char>(i), codePage);
    table.codePage = codePage;
  }
  return table.upper.data();
}

int FindForward(const char* text, const char* pattern, int textLength, int startPos, int patternLength) {
  return ScanForward(text, pattern, textLength, startPos, patternLength, ExactBytes{});
}

int FindForwardNoCase(const char* text, const char* pattern, int textLength, int startPos,
                      int patternLength) {
  return ScanForward(text, pattern, textLength, startPos, patternLength, TableBytes{UpperCaseTable()});
}

int FindBackward(const char* text, const char* pattern, int textLength, int startPos, int patternLength) {
  return ScanBackward(text, pattern, textLength, startPos, patternLength, ExactBytes{});
}

int FindBackwardNoCase(const char* text, const char* pattern, int textLength, int startPos,
                       int patternLength) {
  return ScanBackward(text, pattern, textLength, startPos, patternLength, TableBytes{UpperCaseTable()});
}

int FindEx(std::string_view pattern, std::string_view text, bool forward, bool caseSensitive, int startPos) {
  const int textLength = Length(text), patternLength = Length(pattern);
  if (forward) {
    return caseSensitive ? FindForward(text.data(), pattern.data(), textLength, startPos, patternLength)
                         : FindForwardNoCase(text.data(), pattern.data(), textLength, startPos, patternLength);
  }
  return caseSensitive ? FindBackward(text.data(), pattern.data(), textLength, startPos, patternLength)
                       : FindBackwardNoCase(text.data(), pattern.data(), textLength, startPos, patternLength);
}

std::uint64_t ReplaceAllMaxLength(std::uint64_t sourceLength, std::uint64_t patternLength,
                                  std::uint64_t replacementLength) {
  if (patternLength == 0 || replacementLength <= patternLength) return sourceLength;
  // At most sourceLength / patternLength matches, each growing the text by the difference.
  const std::uint64_t matches = sourceLength / patternLength;
  const std::uint64_t growth = replacementLength - patternLength;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  if (matches != 0 && growth > (kMax - sourceLength) / matches) return kMax;
  return sourceLength + matches * growth;
}

std::uint64_t ReplaceAllInitialReserve(std::uint64_t sourceLength, std::uint64_t patternLength,
                                       std::uint64_t replacementLength) {
  const std::uint64_t largest = ReplaceAllMaxLength(sourceLength, patternLength, replacementLength);
  const std::uint64_t cap = sourceLength > std::numeric_limits<std::uint64_t>::max() - kReplaceAllReserveCap
                                ? sourceLength
                                : sourceLength + kReplaceAllReserveCap;
  return std::min(largest, cap);
}

std::string ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement,
                       bool caseSensitive) {
  if (source.empty() || pattern.empty() || pattern.size() > source.size()) return std::string(source);
  const int sourceLength = Length(source), patternLength = Length(pattern);
  std::string result;
  result.reserve(static_cast<size_t>(
      ReplaceAllInitialReserve(source.size(), pattern.size(), replacement.size())));
  const unsigned char* table = caseSensitive ? nullptr : UpperCaseTable();
  int copied = 0;  // bytes of source already handled
  while (sourceLength - copied >= patternLength) {
    const int found =
        caseSensitive
            ? ScanForward(source.data(), pattern.data(), sourceLength, copied + 1, patternLength, ExactBytes{})
            : ScanForward(source.data(), pattern.data(), sourceLength, copied + 1, patternLength,
                          TableBytes{table});
    if (found == 0) break;
    result.append(source.substr(copied, found - 1 - copied));
    result.append(replacement);
    copied = found - 1 + patternLength;
  }
  result.append(source.substr(copied));
  return result;
}

}  // namespace FastStrings
