// Fast search over raw text buffers: forward and backward, case-sensitive or through the
// upper-case table of the system code page, and a replace-all that builds its result in one
// buffer. Positions are 1-based; 0 means not found.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace FastStrings {

// First match at or after `startPos` (a startPos below 1 counts as 1).
int FindForward(const char* text, const char* pattern, int textLength, int startPos, int patternLength);
// The same, comparing bytes through the upper-case table.
int FindForwardNoCase(const char* text, const char* pattern, int textLength, int startPos,
                      int patternLength);
// Last match that begins at or before `startPos` and lies wholly within the text; a startPos of
// 0 searches from the end. A negative startPos finds nothing.
int FindBackward(const char* text, const char* pattern, int textLength, int startPos, int patternLength);
// The same, comparing bytes through the upper-case table.
int FindBackwardNoCase(const char* text, const char* pattern, int textLength, int startPos,
                       int patternLength);

// One of the four searches above over `text` and `pattern` with their own lengths.
int FindEx(std::string_view pattern, std::string_view text, bool forward, bool caseSensitive, int startPos);

// `source` with every match of `pattern` (left to right, not overlapping) replaced by
// `replacement`; an empty pattern leaves `source` unchanged.
std::string ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement,
                       bool caseSensitive);

// The largest length ReplaceAll can produce for these lengths, saturated at UINT64_MAX.
std::uint64_t ReplaceAllMaxLength(std::uint64_t sourceLength, std::uint64_t patternLength,
                                  std::uint64_t replacementLength);
// The bytes ReplaceAll reserves before it starts: the largest possible result, capped so that a
// large replacement ratio never reserves more than the source plus kReplaceAllReserveCap; the
// buffer grows as needed beyond that.
std::uint64_t ReplaceAllInitialReserve(std::uint64_t sourceLength, std::uint64_t patternLength,
                                       std::uint64_t replacementLength);
inline constexpr std::uint64_t kReplaceAllReserveCap = 16u << 20;

// The upper-case table of the current system code page (entry 0 is 0).
const unsigned char* UpperCaseTable();

}  // namespace FastStrings
