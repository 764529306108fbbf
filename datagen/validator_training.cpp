#include "datagen/validator_training.h"

#include <map>

#include "proofing/validator.h"

std::string TrainValidator(const std::vector<std::string>& Words, const std::string& Alphabet) {
  const std::string letters = ValidatorFold(Alphabet);
  std::map<char, TQValidatorRecord> records;
  for (const auto& word : Words) {
    const std::string folded = ValidatorFold(word);
    for (size_t i = 0; i < folded.size(); ++i) {
      // Only letters get records; the scorer judges every other character by the alphabet alone.
      if (letters.find(folded[i]) == std::string::npos) continue;
      TQValidatorRecord& record = records[folded[i]];
      record.Name = std::string(1, folded[i]);
      // The neighbours exactly as TQValidator::IsValidFragment reads them.
      const int p = i > 0 ? ValidatorLetterIndex(static_cast<unsigned char>(folded[i - 1])) : -1;
      const int n = i + 1 < folded.size() && folded[i + 1] != '_'
                        ? ValidatorLetterIndex(static_cast<unsigned char>(folded[i + 1])) : -1;
      if (p < 0 && n < 0) ++record.WholeWord;
      else if (p < 0) record.StartMask |= 1u << n;
      else if (n < 0) record.EndMask |= 1u << p;
      else record.Transitions[n] |= 1u << p;
    }
  }
  std::string file;
  for (const auto& [letter, record] : records) file += EncodeValidatorRecord(record);
  return file;
}
