// TQValidator: judges whether a word looks like a word of one language by its letter
// transitions, from records read from a ".qgo" file (plain 172-byte records, no header).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/object.h"
#include "textcore/string_routines.h"

inline constexpr int kValidatorRecordSize = 172;
inline constexpr int kValidatorNameSize = 32;

// One record: what may stand around the fragment `Name`. Bits are letter indices (see
// ValidatorLetterIndex).
struct TQValidatorRecord {
  std::string Name;                       // at most 31 bytes, code page 1251
  std::array<uint32_t, 32> Transitions{};  // mask n, bit p: letter p may precede when n follows
  uint32_t StartMask = 0;                  // bit n: may begin a word followed by letter n
  uint32_t EndMask = 0;                    // bit p: may end a word after letter p
  int32_t WholeWord = 0;                   // > 0 when the fragment may stand alone
};

// The 172 bytes of a record, and a record read from them.
std::string EncodeValidatorRecord(const TQValidatorRecord& Record);
TQValidatorRecord DecodeValidatorRecord(std::string_view Bytes);

// Text as the validator compares it: CyrLowerCase, with "ё" read as "е".
std::string ValidatorFold(std::string_view Text);
// The letter index of a folded character: c - 97 below 128, c - 224 from 128; -1 for none.
int ValidatorLetterIndex(unsigned char Ch);

class TQValidator : public TObject {
public:
  // Replaces the records by those of `Name` with the extension ".qgo"; a missing file leaves the
  // validator empty. A file cut inside a record keeps its whole records and sets Damage; one
  // that cannot be read leaves the validator empty and sets Damage.
  void LoadFromFile(const std::string& Name);
  // Why the last file loaded is damaged ("Validator file <name> is corrupt..."), "" when sound.
  const std::string& Damage() const { return FDamage; }
  // True when `Fragment` may stand between `Before` and `After` (see the record masks).
  bool IsValidFragment(std::string_view Before, std::string_view Fragment, std::string_view After) const;
  // 0 for a word that looks right; 99 per character outside the alphabet, 1 per bad transition.
  int Score(std::string_view Word) const;
  bool IsEmpty() const { return FNames.empty(); }
  int RecordCount() const { return static_cast<int>(FRecords.size()); }

  TCharSet Alphabet;
  uint16_t Language = 0;

private:
  std::vector<TQValidatorRecord> FRecords;
  std::vector<std::pair<std::string, int>> FNames;  // sorted by name
  std::string FDamage;
};

// The module-wide validators, loaded on first use from "english.qgo" and "russian.qgo" in the
// program folder.
const TQValidator& EnglishValidator();
const TQValidator& RussianValidator();
