#include "proofing/word_frequencies.h"

#include <algorithm>
#include <cmath>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "proofing/record_bytes.h"

namespace {

constexpr char kMagic[] = "QWF1";
constexpr size_t kHeaderSize = 4 + 2 + 4 + 4;
constexpr unsigned char kSmallYo = 0xB8, kSmallYe = 0xE5;  // code page 1251

uint32_t Fnv1a(std::string_view Bytes) {
  uint32_t hash = 2166136261u;
  for (char ch : Bytes) hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619u;
  return hash;
}

void AppendU32(std::string& Out, uint32_t Value) {
  char bytes[4];
  WriteU32(bytes, 0, Value);
  Out.append(bytes, 4);
}

}  // namespace

std::string FrequencyKey(const std::string& Word, LCID Lcid) {
  const unsigned codePage = LocaleAnsiCodePage(Lcid);
  std::string key = Word;
  for (char& ch : key) {
    auto small = AnsiLowerChar(static_cast<unsigned char>(ch), codePage);
    if (codePage == 1251 && small == kSmallYo) small = kSmallYe;
    ch = static_cast<char>(small);
  }
  return key;
}

std::string PairKey(const std::string& First, const std::string& Second) { return First + ' ' + Second; }

std::string YoKey(const std::string& Word) {
  std::string key = "=";
  bool yo = false;
  for (char ch : Word) {
    const unsigned char small = AnsiLowerChar(static_cast<unsigned char>(ch), 1251);
    yo = yo || small == kSmallYo;
    key += static_cast<char>(small);
  }
  return yo ? key : std::string();
}

std::string NameKey(const std::string& Word, LCID Lcid) {
  const unsigned codePage = LocaleAnsiCodePage(Lcid);
  auto small = [&](char Ch) { return static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(Ch), codePage)); };
  if (Word.size() < 2 || small(Word[0]) == Word[0]) return {};
  // Capitalised ("Вольтер"), or all in capitals ("КЛИПШТЕЙНА", three letters or more): the same name.
  const bool capitals = Word.size() >= 3 && std::all_of(Word.begin() + 1, Word.end(), [&](char Ch) { return small(Ch) != Ch; });
  if (!capitals && small(Word[1]) != Word[1]) return {};
  std::string key = "^";
  for (char ch : Word) key += small(ch);
  return key;
}

int FrequencyClass(uint64_t Count) {
  if (Count == 0) return 0;
  return static_cast<int>(std::min(255.0, 1 + std::floor(4 * std::log2(static_cast<double>(Count)) + 1e-9)));
}

std::string BuildFrequencyFile(LCID Lcid, uint64_t TotalWords, const std::map<std::string, uint64_t>& Counts) {
  std::string out(kMagic, 4);
  out.append(2, '\0');
  WriteU16(std::span<char>(out), 4, static_cast<uint16_t>(Lcid));
  AppendU32(out, static_cast<uint32_t>(std::min<uint64_t>(TotalWords, UINT32_MAX)));
  std::string entries, previous;
  uint32_t count = 0;
  for (const auto& [word, occurrences] : Counts) {
    if (word.empty() || word.size() > 255 || occurrences == 0) continue;
    size_t shared = 0;
    while (shared < previous.size() && shared < word.size() && shared < 255 && previous[shared] == word[shared])
      ++shared;
    entries += static_cast<char>(shared);
    entries += static_cast<char>(word.size() - shared);
    entries.append(word, shared);
    entries += static_cast<char>(FrequencyClass(occurrences));
    previous = word;
    ++count;
  }
  AppendU32(out, count);
  out += entries;
  AppendU32(out, Fnv1a(out));
  return out;
}

void TWordFrequencies::Clear() {
  FKeys = std::string();
  FStarts = {};
  FClasses = {};
  FLcid = 0;
}

void TWordFrequencies::LoadFromFile(const std::string& FileName) {
  try {
    LoadFromBytes(ReadFileBytes(FileName));
  } catch (const Exception& error) {
    Clear();
    throw EWordFrequencyError("Word frequencies " + FileName + " are damaged: " + error.Message);
  }
}

void TWordFrequencies::LoadFromBytes(const std::string& Bytes) {
  Clear();
  auto damaged = [this](const std::string& Why) {
    Clear();
    throw EWordFrequencyError(Why);
  };
  if (Bytes.size() < kHeaderSize + 4 || Bytes.compare(0, 4, kMagic) != 0) damaged("not a word-frequency file");
  const size_t bodyEnd = Bytes.size() - 4;
  if (ReadU32(Bytes, bodyEnd) != Fnv1a(std::string_view(Bytes).substr(0, bodyEnd))) damaged("checksum mismatch");
  const LCID lcid = ReadU16(Bytes, 4);
  const uint32_t count = ReadU32(Bytes, 10);
  // Each entry takes at least three bytes: a count beyond that is damage, not a size to reserve.
  if (count > (bodyEnd - kHeaderSize) / 3) damaged("entries cut short");
  FStarts.reserve(count + 1);
  FClasses.reserve(count);
  FKeys.reserve(bodyEnd - kHeaderSize);
  size_t at = kHeaderSize, previous = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (at + 2 > bodyEnd) damaged("entries cut short");
    const size_t shared = static_cast<unsigned char>(Bytes[at]), rest = static_cast<unsigned char>(Bytes[at + 1]);
    at += 2;
    const size_t previousLength = FKeys.size() - previous;
    if (shared > previousLength || at + rest + 1 > bodyEnd) damaged("entry " + std::to_string(i + 1) + " is broken");
    const size_t start = FKeys.size();
    FKeys.append(FKeys, previous, shared);
    FKeys.append(Bytes, at, rest);
    at += rest;
    // Look-ups halve the range: the keys must rise strictly.
    const std::string_view keys(FKeys);
    if (i > 0 && !(keys.substr(previous, start - previous) < keys.substr(start)))
      damaged("entry " + std::to_string(i + 1) + " is out of order");
    if (FKeys.size() > UINT32_MAX) damaged("too large");
    FStarts.push_back(static_cast<uint32_t>(start));
    FClasses.push_back(static_cast<uint8_t>(Bytes[at++]));
    previous = start;
  }
  if (at != bodyEnd) damaged("bytes after the last entry");
  FStarts.push_back(static_cast<uint32_t>(FKeys.size()));
  FKeys.shrink_to_fit();
  FLcid = lcid;
}

std::string_view TWordFrequencies::KeyAt(size_t Index) const {
  return std::string_view(FKeys).substr(FStarts[Index], FStarts[Index + 1] - FStarts[Index]);
}

int TWordFrequencies::ClassOf(const std::string& Key) const {
  size_t low = 0, high = FClasses.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const int order = KeyAt(middle).compare(Key);
    if (order == 0) return FClasses[middle];
    if (order < 0)
      low = middle + 1;
    else
      high = middle;
  }
  return 0;
}

bool TWordFrequencies::HasKeyStartingWith(std::string_view Prefix) const {
  size_t low = 0, high = FClasses.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (KeyAt(middle) < Prefix) low = middle + 1;
    else high = middle;
  }
  return low < FClasses.size() && KeyAt(low).substr(0, Prefix.size()) == Prefix;
}
