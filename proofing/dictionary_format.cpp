#include "proofing/dictionary_format.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "proofing/record_bytes.h"

namespace {

constexpr int kLcidOffset = 0;
constexpr int kTitleOffset = 2;
constexpr int kDescriptionOffset = 33;
constexpr int kDataNameOffset = 64;
constexpr int kWordCountOffset = 76;
constexpr int kDataSizeOffset = 80;
constexpr int kGroupNumberOffset = 404;
constexpr int kOnByDefaultOffset = 408;

constexpr int kMaxTitleLength = 30;
constexpr int kMaxDataNameLength = 11;
constexpr int kMaxSharedPrefix = 30;  // count byte = shared + 1 must stay below 32

bool ValidGroup(int L) { return L >= 1 && L <= kMaxDictWordLength; }

}  // namespace

LCID TQDictHeader::Lcid() const { return ReadU16(Bytes, kLcidOffset); }
void TQDictHeader::SetLcid(LCID Value) { WriteU16(Bytes, kLcidOffset, static_cast<uint16_t>(Value)); }

std::string TQDictHeader::Title() const {
  return ReadShortString(Bytes, kTitleOffset, kMaxTitleLength);
}
void TQDictHeader::SetTitle(std::string_view Value) {
  WriteShortString(Bytes, kTitleOffset, kMaxTitleLength, Value);
}
std::string TQDictHeader::Description() const {
  return ReadShortString(Bytes, kDescriptionOffset, kMaxTitleLength);
}
void TQDictHeader::SetDescription(std::string_view Value) {
  WriteShortString(Bytes, kDescriptionOffset, kMaxTitleLength, Value);
}
std::string TQDictHeader::DataName() const {
  return ReadShortString(Bytes, kDataNameOffset, kMaxDataNameLength);
}
void TQDictHeader::SetDataName(std::string_view Value) {
  WriteShortString(Bytes, kDataNameOffset, kMaxDataNameLength, Value);
}
uint32_t TQDictHeader::WordCount() const { return ReadU32(Bytes, kWordCountOffset); }
void TQDictHeader::SetWordCount(uint32_t Value) { WriteU32(Bytes, kWordCountOffset, Value); }
uint32_t TQDictHeader::DataSize() const { return ReadU32(Bytes, kDataSizeOffset); }
void TQDictHeader::SetDataSize(uint32_t Value) { WriteU32(Bytes, kDataSizeOffset, Value); }

uint32_t TQDictHeader::GroupOffset(int L) const {
  return ValidGroup(L) ? ReadU32(Bytes, 76 + 8 * L) : 0;
}
uint32_t TQDictHeader::GroupCount(int L) const {
  return ValidGroup(L) ? ReadU32(Bytes, 80 + 8 * L) : 0;
}
void TQDictHeader::SetGroup(int L, uint32_t Offset, uint32_t Count) {
  if (!ValidGroup(L)) throw EInvalidOperation("Dictionary word length out of range");
  WriteU32(Bytes, 76 + 8 * L, Offset);
  WriteU32(Bytes, 80 + 8 * L, Count);
}

int32_t TQDictHeader::GroupNumber() const {
  return static_cast<int32_t>(ReadU32(Bytes, kGroupNumberOffset));
}
void TQDictHeader::SetGroupNumber(int32_t Value) {
  WriteU32(Bytes, kGroupNumberOffset, static_cast<uint32_t>(Value));
}
int32_t TQDictHeader::OnByDefault() const {
  return static_cast<int32_t>(ReadU32(Bytes, kOnByDefaultOffset));
}
void TQDictHeader::SetOnByDefault(int32_t Value) {
  WriteU32(Bytes, kOnByDefaultOffset, static_cast<uint32_t>(Value));
}

int CompareDictWords(LCID Lcid, std::string_view A, std::string_view B) {
  return CompareLocaleStrings(Lcid, false, A, B);
}

void SortDictWords(LCID Lcid, std::vector<std::string>& Words) {
  // Sorting each length on its own keeps the number of locale comparisons down.
  std::vector<std::vector<std::string>> byLength;
  for (auto& word : Words) {
    if (word.size() >= byLength.size()) byLength.resize(word.size() + 1);
    byLength[word.size()].push_back(std::move(word));
  }
  Words.clear();
  for (auto& group : byLength) {
    std::sort(group.begin(), group.end(), [Lcid](const std::string& a, const std::string& b) {
      const int order = CompareDictWords(Lcid, a, b);
      return order != 0 ? order < 0 : a < b;  // bytes settle words the collation holds equal
    });
    for (auto& word : group) Words.push_back(std::move(word));
  }
}

std::string BuildDictData(const std::vector<std::string>& SortedWords, TQDictHeader& Header) {
  std::string data;
  std::array<uint32_t, kMaxDictWordLength + 1> offset{}, count{};
  size_t total = 0;
  for (const auto& word : SortedWords) total += word.size();
  data.reserve(total);
  int previousLength = 0;
  for (const auto& word : SortedWords) {
    const int L = static_cast<int>(word.size());
    if (!ValidGroup(L)) throw EInvalidOperation("Dictionary word of " + std::to_string(L) + " characters");
    if (L < previousLength) throw EInvalidOperation("Dictionary words not in order");
    if (count[L] == 0) offset[L] = static_cast<uint32_t>(data.size());
    ++count[L];
    previousLength = L;
    data += word;
  }
  for (int L = 1; L <= kMaxDictWordLength; ++L) Header.SetGroup(L, count[L] ? offset[L] : 0, count[L]);
  Header.SetWordCount(static_cast<uint32_t>(SortedWords.size()));
  Header.SetDataSize(static_cast<uint32_t>(data.size()));
  return data;
}

std::string PackDictWords(const std::vector<std::string>& Words) {
  std::string stream;
  std::string_view previous;
  for (const auto& word : Words) {
    size_t shared = 0;
    const size_t limit = std::min({previous.size(), word.size(), size_t(kMaxSharedPrefix)});
    while (shared < limit && previous[shared] == word[shared]) ++shared;
    stream += static_cast<char>(shared + 1);
    for (size_t i = shared; i < word.size(); ++i) {
      if (static_cast<unsigned char>(word[i]) < 32)
        throw EInvalidOperation("Dictionary word with a control character");
      stream += word[i];
    }
    previous = word;
  }
  return stream;
}

std::vector<std::string> UnpackDictWords(std::string_view Stream) {
  constexpr size_t kMaxTail = 100;
  // Items are (count byte, tail) as read; item 0 has no count byte.
  std::vector<std::string> items(1);
  for (char ch : Stream) {
    if (static_cast<unsigned char>(ch) < 32)
      items.emplace_back(1, ch);
    else
      items.back() += ch;
  }
  for (size_t i = 1; i < items.size(); ++i) {
    const int countByte = static_cast<unsigned char>(items[i][0]);
    const std::string& previous = items[i - 1];
    const size_t shared = std::min<size_t>(countByte > 0 ? countByte - 1 : 0, previous.size());
    std::string word = previous.substr(0, shared);
    word.append(items[i], 1, kMaxTail);
    items[i] = std::move(word);
  }
  return items;
}
