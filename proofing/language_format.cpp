#include "proofing/language_format.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"

namespace {

constexpr int kLcidOffset = 0;
constexpr int kNameOffset = 2;
constexpr int kMaxNameLength = 61;
constexpr int kAlphabetOffset = 64;
constexpr int kSimilarOffset = 105;
constexpr int kFollowingOffset = 10601;
constexpr int kDoubledOffset = 21097;
constexpr int kInsertionOffset = 31593;
constexpr int kEntrySize = kMaxLetterEntry + 1;

std::string JoinLines(const std::vector<std::string>& Lines) {
  std::string text;
  for (const auto& line : Lines) text += line + "\r\n";
  if (text.size() > 0xFFFF) throw EInvalidOperation("Language word list longer than 65535 bytes");
  return text;
}

}  // namespace

std::string TQLanguageBlock::ReadShortString(int Offset, int MaxLength) const {
  const int length = std::min<int>(static_cast<unsigned char>(Bytes[Offset]), MaxLength);
  return Bytes.substr(Offset + 1, length);
}

void TQLanguageBlock::WriteShortString(int Offset, int MaxLength, std::string_view Value) {
  if (static_cast<int>(Value.size()) > MaxLength)
    throw EInvalidOperation("Language descriptor entry longer than " + std::to_string(MaxLength));
  std::memset(Bytes.data() + Offset, 0, MaxLength + 1);
  Bytes[Offset] = static_cast<char>(Value.size());
  std::memcpy(Bytes.data() + Offset + 1, Value.data(), Value.size());
}

LCID TQLanguageBlock::Lcid() const {
  return static_cast<unsigned char>(Bytes[kLcidOffset]) | static_cast<unsigned char>(Bytes[kLcidOffset + 1]) << 8;
}
void TQLanguageBlock::SetLcid(LCID Value) {
  Bytes[kLcidOffset] = static_cast<char>(Value & 0xFF);
  Bytes[kLcidOffset + 1] = static_cast<char>((Value >> 8) & 0xFF);
}
std::string TQLanguageBlock::Name() const { return ReadShortString(kNameOffset, kMaxNameLength); }
void TQLanguageBlock::SetName(std::string_view Value) { WriteShortString(kNameOffset, kMaxNameLength, Value); }
std::string TQLanguageBlock::Alphabet() const { return ReadShortString(kAlphabetOffset, kMaxLetterEntry); }
void TQLanguageBlock::SetAlphabet(std::string_view Value) { WriteShortString(kAlphabetOffset, kMaxLetterEntry, Value); }
std::string TQLanguageBlock::Similar(unsigned char Ch) const {
  return ReadShortString(kSimilarOffset + kEntrySize * Ch, kMaxLetterEntry);
}
void TQLanguageBlock::SetSimilar(unsigned char Ch, std::string_view Value) {
  WriteShortString(kSimilarOffset + kEntrySize * Ch, kMaxLetterEntry, Value);
}
std::string TQLanguageBlock::Following(unsigned char Ch) const {
  return ReadShortString(kFollowingOffset + kEntrySize * Ch, kMaxLetterEntry);
}
void TQLanguageBlock::SetFollowing(unsigned char Ch, std::string_view Value) {
  WriteShortString(kFollowingOffset + kEntrySize * Ch, kMaxLetterEntry, Value);
}
std::string TQLanguageBlock::Doubled(unsigned char Ch) const {
  return ReadShortString(kDoubledOffset + kEntrySize * Ch, kMaxLetterEntry);
}
void TQLanguageBlock::SetDoubled(unsigned char Ch, std::string_view Value) {
  WriteShortString(kDoubledOffset + kEntrySize * Ch, kMaxLetterEntry, Value);
}
std::string TQLanguageBlock::InsertionLetters() const { return ReadShortString(kInsertionOffset, kMaxLetterEntry); }
void TQLanguageBlock::SetInsertionLetters(std::string_view Value) {
  WriteShortString(kInsertionOffset, kMaxLetterEntry, Value);
}

std::string BuildLanguageFile(const TQLanguageBlock& Block, const std::vector<std::string>& CommonWords,
                              const std::vector<std::string>& OtherWords) {
  std::string file = Block.Bytes;
  for (const auto* list : {&CommonWords, &OtherWords}) {
    const std::string text = JoinLines(*list);
    file += static_cast<char>(text.size() & 0xFF);
    file += static_cast<char>(text.size() >> 8);
    file += text;
  }
  return file;
}
