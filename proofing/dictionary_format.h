// The files of a spelling dictionary: the 1024-byte header record (".qdi", also the start of
// the packed ".qdp"), the data file (".qd": words grouped by length, each group sorted) and the
// front coding of the packed file. The dictionary reader and the data generator share these,
// so files are always built with the order the look-up relies on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"

inline constexpr int kDictHeaderSize = 1024;
inline constexpr int kMaxDictWordLength = 40;

// The header record, kept as its 1024 bytes so that fields nobody reads survive a rewrite.
class TQDictHeader {
public:
  TQDictHeader() { Bytes.fill(0); }

  LCID Lcid() const;
  void SetLcid(LCID Value);
  // Length-prefixed strings: title and description (at most 30 characters), data base name (11).
  std::string Title() const;
  void SetTitle(std::string_view Value);
  std::string Description() const;
  void SetDescription(std::string_view Value);
  std::string DataName() const;
  void SetDataName(std::string_view Value);
  uint32_t WordCount() const;
  void SetWordCount(uint32_t Value);
  uint32_t DataSize() const;
  void SetDataSize(uint32_t Value);
  // Byte offset in the ".qd" of the first record of length L, and the number of such records;
  // L outside 1..40 has no group (offset 0, count 0).
  uint32_t GroupOffset(int L) const;
  uint32_t GroupCount(int L) const;
  void SetGroup(int L, uint32_t Offset, uint32_t Count);
  // Dictionaries of one language with the same group number are alternatives.
  int32_t GroupNumber() const;
  void SetGroupNumber(int32_t Value);
  // On by default when greater than 0.
  int32_t OnByDefault() const;
  void SetOnByDefault(int32_t Value);

  std::array<char, kDictHeaderSize> Bytes;
};

// The dictionary order of two words of equal length: the language's case-sensitive locale order.
// Sorting for the data file and unpacking both use it; the look-up compares with the
// case-insensitive form of the same collation, which this order refines.
int CompareDictWords(LCID Lcid, std::string_view A, std::string_view B);
// Sorts words the way the data file holds them: shorter first, then CompareDictWords.
void SortDictWords(LCID Lcid, std::vector<std::string>& Words);

// The data file's bytes for words already in dictionary order (see SortDictWords), and the
// header's group table, word count and size filled from them. Words must be 1..40 bytes long.
std::string BuildDictData(const std::vector<std::string>& SortedWords, TQDictHeader& Header);

// The front-coded stream of the packed file (without its header): each word starts with a
// byte below 32, one more than the number of leading characters shared with the word before.
// Words must not contain bytes below 32.
std::string PackDictWords(const std::vector<std::string>& Words);
// The words of a front-coded stream, in stream order. The first item is the (normally empty)
// text before the first count byte, exactly as the unpacking step lists it.
std::vector<std::string> UnpackDictWords(std::string_view Stream);
