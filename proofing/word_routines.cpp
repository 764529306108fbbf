#include "proofing/word_routines.h"

#include <cstring>

#include "platform/locale.h"
#include "proofing/text_scanner.h"
#include "proofing/validator.h"
#include "textcore/cp1251_literal.h"
#include "textcore/cyr_case.h"

namespace {

constexpr std::string_view kLatinLookAlikes = "eryopaxcnuETYOPAHKXCBM36";
constexpr Cp1251Literal kCyrillicLookAlikes(u8"егуорахспиЕТУОРАНКХСВМЗб");
constexpr Cp1251Literal kRussianSingleLetters(u8"АВИКОСУЯабвжикосуя");

bool IsLatinLetter(unsigned char Ch) { return (Ch >= 'A' && Ch <= 'Z') || (Ch >= 'a' && Ch <= 'z'); }
bool IsLetter(unsigned char Ch) { return IsLatinLetter(Ch) || IsCyrillicLetter(Ch); }

// A 3 or 6 standing between two letters of the word: a look-alike, not part of a number.
bool IsLetterDigit(std::string_view Word, size_t i) {
  const unsigned char ch = static_cast<unsigned char>(Word[i]);
  return (ch == '3' || ch == '6') && i > 0 && i + 1 < Word.size() &&
         IsLetter(static_cast<unsigned char>(Word[i - 1])) && IsLetter(static_cast<unsigned char>(Word[i + 1]));
}

}  // namespace

bool IsCyrillicLetter(unsigned char Ch) { return Ch >= 192 || Ch == 0xA8 || Ch == 0xB8; }

int ClassifyMixedWord(std::string_view Word) {
  const std::string_view cyrillicLookAlikes = kCyrillicLookAlikes;
  int latin = 0, cyrillic = 0;
  bool latinOther = false, cyrillicOther = false;
  for (size_t i = 0; i < Word.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(Word[i]);
    if (IsLatinLetter(ch) || IsLetterDigit(Word, i)) {
      ++latin;
      if (kLatinLookAlikes.find(static_cast<char>(ch)) == std::string_view::npos) latinOther = true;
    } else if (IsCyrillicLetter(ch)) {
      ++cyrillic;
      if (cyrillicLookAlikes.find(static_cast<char>(ch)) == std::string_view::npos) cyrillicOther = true;
    }
  }
  if (latin > 0 && cyrillic == 0) return latinOther ? 0 : 4;
  if (cyrillic > 0 && latin == 0) return cyrillicOther ? 0 : 3;
  if (latin == 0) return 0;
  if (!cyrillicOther && (latinOther || latin > cyrillic)) return 2;
  if (!latinOther && (cyrillicOther || cyrillic >= latin)) return 1;
  return 0;
}

bool FixMixedWord(std::string& Word, int Mode) {
  if (Mode == 0) {
    Mode = ClassifyMixedWord(Word);
    if (Mode != 1 && Mode != 2) return false;
  }
  const std::string_view cyrillicLookAlikes = kCyrillicLookAlikes;
  const std::string original = Word;
  for (size_t i = 0; i < Word.size(); ++i) {
    const char ch = original[i];
    if (Mode == 1) {
      const size_t at = kLatinLookAlikes.find(ch);
      const bool digit = ch == '3' || ch == '6';
      if (at == std::string_view::npos || (digit && !IsLetterDigit(original, i))) continue;
      Word[i] = cyrillicLookAlikes[at];
      // A digit takes the case of the letters around it: capital between two capitals, else small.
      if (digit) {
        const auto before = static_cast<unsigned char>(original[i - 1]);
        const auto after = static_cast<unsigned char>(original[i + 1]);
        const bool capital = AnsiLowerChar(before, 1251) != before && AnsiLowerChar(after, 1251) != after;
        const auto letter = static_cast<unsigned char>(Word[i]);
        Word[i] = static_cast<char>(capital ? AnsiUpperChar(letter, 1251) : AnsiLowerChar(letter, 1251));
      }
    } else if (Mode == 2) {
      const size_t at = cyrillicLookAlikes.find(ch);
      if (at != std::string_view::npos) Word[i] = kLatinLookAlikes[at];
    }
  }
  return Word != original;
}

int EnglishScore(std::string_view Word) {
  if (Word.size() == 1) return (Word == "A" || Word == "I" || Word == "a") ? 0 : 100;
  return EnglishValidator().Score(Word);
}

int RussianScore(std::string_view Word) {
  for (char c : Word) {
    const unsigned char ch = static_cast<unsigned char>(c);
    if (ch == 0 || (!IsCyrillicLetter(ch) && std::strchr(" !,-.:;?", ch) == nullptr)) return 99;
  }
  if (Word.size() == 1)
    return std::string_view(kRussianSingleLetters).find(Word[0]) != std::string_view::npos ? 0 : 100;
  return RussianValidator().Score(Word);
}

bool IsCyrillicText(std::string_view Text) {
  const TCharSet delimiters = EngineWordDelimiters();
  int highInitial = 0, cyrillicInitial = 0, russianLooking = 0;
  size_t i = 0;
  while (i < Text.size()) {
    while (i < Text.size() && delimiters.test(static_cast<unsigned char>(Text[i]))) ++i;
    const size_t start = i;
    while (i < Text.size() && !delimiters.test(static_cast<unsigned char>(Text[i]))) ++i;
    if (start == i) continue;
    const std::string_view word = Text.substr(start, i - start);
    const unsigned char first = static_cast<unsigned char>(word[0]);
    if (first <= 127) continue;
    ++highInitial;
    if (!IsCyrillicLetter(first)) continue;
    ++cyrillicInitial;
    const std::string lower = CyrLowerCase(word);
    const bool capitalInitial = lower[0] != word[0];
    if (RussianScore(word) == 0 && (capitalInitial || lower == word)) ++russianLooking;
  }
  if (cyrillicInitial == 0 || cyrillicInitial * 2 < highInitial) return false;
  return russianLooking * 4 >= cyrillicInitial * 3;
}
