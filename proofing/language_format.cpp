#include "proofing/language_format.h"

#include "platform/exceptions.h"
#include "proofing/record_bytes.h"

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

void TQLanguageBlock::WriteEntry(int Offset, int MaxLength, std::string_view Value) {
  if (static_cast<int>(Value.size()) > MaxLength)
    throw EInvalidOperation("Language descriptor entry longer than " + std::to_string(MaxLength));
  WriteShortString(Bytes, Offset, MaxLength, Value);
}

LCID TQLanguageBlock::Lcid() const { return ReadU16(Bytes, kLcidOffset); }
void TQLanguageBlock::SetLcid(LCID Value) { WriteU16(Bytes, kLcidOffset, static_cast<uint16_t>(Value)); }
std::string TQLanguageBlock::Name() const { return ReadShortString(Bytes, kNameOffset, kMaxNameLength); }
void TQLanguageBlock::SetName(std::string_view Value) { WriteEntry(kNameOffset, kMaxNameLength, Value); }
std::string TQLanguageBlock::Alphabet() const { return ReadShortString(Bytes, kAlphabetOffset, kMaxLetterEntry); }
void TQLanguageBlock::SetAlphabet(std::string_view Value) { WriteEntry(kAlphabetOffset, kMaxLetterEntry, Value); }
std::string TQLanguageBlock::Similar(unsigned char Ch) const {
  return ReadShortString(Bytes, kSimilarOffset + kEntrySize * Ch, kMaxLetterEntry);
}
void TQLanguageBlock::SetSimilar(unsigned char Ch, std::string_view Value) {
  WriteEntry(kSimilarOffset + kEntrySize * Ch, kMaxLetterEntry, Value);
}
std::string TQLanguageBlock::Following(unsigned char Ch) const {
  return ReadShortString(Bytes, kFollowingOffset + kEntrySize * Ch, kMaxLetterEntry);
}
void TQLanguageBlock::SetFollowing(unsigned char Ch, std::string_view Value) {
  WriteEntry(kFollowingOffset + kEntrySize * Ch, kMaxLetterEntry, Value);
}
std::string TQLanguageBlock::Doubled(unsigned char Ch) const {
  return ReadShortString(Bytes, kDoubledOffset + kEntrySize * Ch, kMaxLetterEntry);
}
void TQLanguageBlock::SetDoubled(unsigned char Ch, std::string_view Value) {
  WriteEntry(kDoubledOffset + kEntrySize * Ch, kMaxLetterEntry, Value);
}
std::string TQLanguageBlock::InsertionLetters() const {
  return ReadShortString(Bytes, kInsertionOffset, kMaxLetterEntry);
}
void TQLanguageBlock::SetInsertionLetters(std::string_view Value) {
  WriteEntry(kInsertionOffset, kMaxLetterEntry, Value);
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
