#include "proofing/validator.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "proofing/record_bytes.h"
#include "textcore/cyr_case.h"

namespace {

constexpr unsigned char kSmallYo = 0xB8;
constexpr unsigned char kSmallYe = 0xE5;
constexpr unsigned char kRightQuote = 146;

bool IsAlwaysValidMark(unsigned char Ch) {
  return (Ch != 0 && std::strchr("#$%&'*-@_", Ch) != nullptr) || (Ch >= '0' && Ch <= '9');
}

bool Bit(uint32_t Mask, int Index) { return Index >= 0 && Index < 32 && (Mask >> Index) & 1u; }

TQValidator LoadModuleValidator(const char* FileName, const TCharSet& Alphabet) {
  TQValidator validator;
  validator.Alphabet = Alphabet;
  validator.LoadFromFile(ProgramFolder() + FileName);
  return validator;
}

}  // namespace

std::string EncodeValidatorRecord(const TQValidatorRecord& Record) {
  if (Record.Name.size() >= size_t(kValidatorNameSize))
    throw EInvalidOperation("Validator fragment name too long");
  std::string bytes(kValidatorRecordSize, '\0');
  std::memcpy(bytes.data(), Record.Name.data(), Record.Name.size());
  for (int n = 0; n < 32; ++n) WriteU32(bytes, kValidatorNameSize + 4 * n, Record.Transitions[n]);
  WriteU32(bytes, 160, Record.StartMask);
  WriteU32(bytes, 164, Record.EndMask);
  WriteU32(bytes, 168, static_cast<uint32_t>(Record.WholeWord));
  return bytes;
}

TQValidatorRecord DecodeValidatorRecord(std::string_view Bytes) {
  TQValidatorRecord record;
  const std::string_view name = Bytes.substr(0, kValidatorNameSize);
  record.Name = std::string(name.substr(0, name.find('\0')));
  for (int n = 0; n < 32; ++n) record.Transitions[n] = ReadU32(Bytes, kValidatorNameSize + 4 * n);
  record.StartMask = ReadU32(Bytes, 160);
  record.EndMask = ReadU32(Bytes, 164);
  record.WholeWord = static_cast<int32_t>(ReadU32(Bytes, 168));
  return record;
}

std::string ValidatorFold(std::string_view Text) {
  std::string folded = CyrLowerCase(Text);
  std::replace(folded.begin(), folded.end(), static_cast<char>(kSmallYo), static_cast<char>(kSmallYe));
  return folded;
}

int ValidatorLetterIndex(unsigned char Ch) {
  const int index = Ch < 128 ? Ch - 97 : Ch - 224;
  return index >= 0 ? index : -1;
}

void TQValidator::LoadFromFile(const std::string& Name) {
  FRecords.clear();
  FNames.clear();
  FDamage.clear();
  const std::string fileName = ChangeFileExt(Name, ".qgo");
  if (!FileExists(fileName)) return;
  std::string bytes;
  try {
    bytes = ReadFileBytes(fileName);
  } catch (const EFileError& error) {
    FDamage = error.Message;
    return;
  }
  const size_t count = bytes.size() / kValidatorRecordSize;
  if (bytes.empty() || bytes.size() % kValidatorRecordSize != 0)
    FDamage = "Validator file " + fileName + " is corrupt: " + std::to_string(bytes.size()) +
               " bytes are not whole records of " + std::to_string(kValidatorRecordSize) + ".";
  FRecords.reserve(count);
  FNames.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const std::string_view record = std::string_view(bytes).substr(i * kValidatorRecordSize, kValidatorRecordSize);
    FRecords.push_back(DecodeValidatorRecord(record));
    FNames.emplace_back(FRecords.back().Name, static_cast<int>(i));
  }
  // Sorted by name with the first record of a name first; that one wins.
  std::stable_sort(FNames.begin(), FNames.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  FNames.erase(std::unique(FNames.begin(), FNames.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
               FNames.end());
}

bool TQValidator::IsValidFragment(std::string_view Before, std::string_view Fragment, std::string_view After) const {
  if (Fragment.empty()) return true;
  if (IsAlwaysValidMark(static_cast<unsigned char>(Fragment.front())) ||
      IsAlwaysValidMark(static_cast<unsigned char>(Fragment.back())))
    return true;
  // Only the letters beside the fragment count: the rest of the text is not folded.
  const std::string before = ValidatorFold(Before.empty() ? Before : Before.substr(Before.size() - 1));
  const std::string fragment = ValidatorFold(Fragment), after = ValidatorFold(After.substr(0, 1));
  const int p = before.empty() ? -1 : ValidatorLetterIndex(static_cast<unsigned char>(before.back()));
  const int n =
      after.empty() || after.front() == '_' ? -1 : ValidatorLetterIndex(static_cast<unsigned char>(after.front()));
  auto place = std::lower_bound(FNames.begin(), FNames.end(), fragment,
                                [](const auto& entry, const std::string& key) { return entry.first < key; });
  if (place == FNames.end() || place->first != fragment) return true;
  const TQValidatorRecord& record = FRecords[place->second];
  if (p < 0 && n < 0) return record.WholeWord > 0;
  if (p < 0) return Bit(record.StartMask, n);
  if (n < 0) return Bit(record.EndMask, p);
  return Bit(record.Transitions[n], p);
}

int TQValidator::Score(std::string_view Word) const {
  if (FNames.empty()) return 0;
  TCharSet allowed = Alphabet | MakeCharSet("',-.:<>");
  allowed.set(kRightQuote);
  int score = 0;
  for (size_t i = 0; i < Word.size(); ++i) {
    if (!allowed.test(static_cast<unsigned char>(Word[i]))) {
      score += 99;
      continue;
    }
    const std::string_view before = i > 0 ? Word.substr(i - 1, 1) : std::string_view();
    const std::string_view after = i + 1 < Word.size() ? Word.substr(i + 1, 1) : std::string_view();
    if (!IsValidFragment(before, Word.substr(i, 1), after)) ++score;
  }
  return score;
}

const TQValidator& EnglishValidator() {
  static const TQValidator validator = [] {
    TCharSet alphabet = MakeCharSet("'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    alphabet.set(kRightQuote);
    return LoadModuleValidator("english.qgo", alphabet);
  }();
  return validator;
}

const TQValidator& RussianValidator() {
  static const TQValidator validator = [] {
    TCharSet alphabet = MakeCharSet("'");
    alphabet.set(kRightQuote);
    for (int ch = 192; ch <= 255; ++ch) alphabet.set(ch);
    alphabet.set(0xA8);  // Ё and ё are Russian letters too
    alphabet.set(kSmallYo);
    return LoadModuleValidator("russian.qgo", alphabet);
  }();
  return validator;
}
