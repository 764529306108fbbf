// TWordFrequencies: how often the words of a language, and pairs of neighbouring words, occur in
// ordinary prose, as frequency classes read from a word-frequency file (".qwf" beside the language descriptor). The
// misprint test of valid words asks it whether a word is rare and its neighbour frequent; the
// correction engine asks it which reading of a word, or of a name the dictionaries lack, prose writes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exceptions.h"
#include "platform/locale.h"

// A word-frequency file that cannot be read as one.
class EWordFrequencyError : public Exception { using Exception::Exception; };

// The key a word is counted under: small letters of the language's code page; Russian "ё" as "е".
std::string FrequencyKey(const std::string& Word, LCID Lcid);
// The key of two neighbouring words (only blanks between): their keys with a blank between.
std::string PairKey(const std::string& First, const std::string& Second);
// The key under which the occurrences of a Russian word written with "ё" are counted: "=" and
// its small letters, "ё" kept (no edit of a word's key makes it). Empty for a word without "ё".
std::string YoKey(const std::string& Word);
// The key under which a capitalised word that the dictionaries lack (a name: "Вольтер") is
// counted: "^" and its small letters, "ё" kept; an initial with the name after it ("Э. Кроткий")
// is counted as the initial, a blank and the name. A name in capitals ("КЛИПШТЕЙНА", three letters
// or more) has the key of the same name capitalised. Empty for any other word.
std::string NameKey(const std::string& Word, LCID Lcid);
// The class of a count: 0 for none, else 1 + 4·log2(count) rounded down, at most 255. Two
// classes four apart stand for twice the occurrences.
int FrequencyClass(uint64_t Count);

// The file holds words and pairs of neighbouring words (keys with a blank) alike: "QWF1", LCID (16 bits), the number of words counted and the number of entries
// (32 bits each), the entries in byte order, each the length of the prefix it shares with the
// entry before, the length and bytes of the rest, and its class; then an FNV-1a checksum of all
// bytes before it (32 bits). Numbers are little-endian.
std::string BuildFrequencyFile(LCID Lcid, uint64_t TotalWords, const std::map<std::string, uint64_t>& Counts);

class TWordFrequencies {
public:
  // Reads a file of BuildFrequencyFile; a damaged file raises EWordFrequencyError naming it and
  // leaves the table empty.
  void LoadFromFile(const std::string& FileName);
  void LoadFromBytes(const std::string& Bytes);
  void Clear();

  bool Empty() const { return FClasses.empty(); }
  size_t Count() const { return FClasses.size(); }
  LCID Lcid() const { return FLcid; }
  // The class of a key (FrequencyKey or PairKey); 0 for one the counted prose never had.
  int ClassOf(const std::string& Key) const;
  // Whether some key begins with Prefix.
  bool HasKeyStartingWith(std::string_view Prefix) const;

private:
  std::string_view KeyAt(size_t Index) const;

  LCID FLcid = 0;
  // The keys in byte order, end to end; FStarts[i] is where key i starts (one more for the end).
  std::string FKeys;
  std::vector<uint32_t> FStarts;
  std::vector<uint8_t> FClasses;
};
