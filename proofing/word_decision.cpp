// The word pass of the correction engine: the judgement of each word and of its altered forms,
// the variants the rule lists build, and how the result is applied to the editor.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "platform/files.h"
#include "proofing/analyser.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/word_frequencies.h"
#include "proofing/word_routines.h"
#include "proofing/language.h"
#include "textcore/cp1251_literal.h"
#include "textcore/cyr_case.h"
#include "textcore/interface_hooks.h"
#include "textcore/string_routines.h"
#include "textcore/text_utils.h"

namespace {

constexpr int kDroppedRank = 8;
// A reading counts as this text's once this many words of at least kEvidenceLength letters (shorter
// ones read too many ways) were valid only with it.
constexpr size_t kEvidenceLength = 4;
constexpr int kEvidenceCount = 3;
constexpr int kClearlyMore = 4;  // twice as often, in frequency classes
constexpr int kMaxSegments = 255, kMaxSegmentVariants = 32, kMaxVariantLength = 30, kMaxSearchSteps = 4096;

bool IsLatin(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsCapital(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF); }
bool IsSmall(unsigned char c) { return (c >= 'a' && c <= 'z') || c >= 0xE0; }
bool IsOneLetter(const std::string& w) {
  return w.size() == 1 && (IsLatin(static_cast<unsigned char>(w[0])) || IsCyrillicLetter(static_cast<unsigned char>(w[0])));
}
bool Blank(const std::string& s) { return TrimText(s).empty(); }
// Whether the separators after a word end its sentence (or its paragraph).
bool EndsSentence(const std::string& Sep) {
  const std::string_view trimmed = TrimText(Sep);
  return (!trimmed.empty() && std::strchr(".!?", trimmed.back()) != nullptr) || Sep.find_first_of("\r\n\v") != std::string::npos;
}

// A variant as it enters the word: "_" is a blank, "#" nothing.
std::string VariantText(const std::string& Variant) {
  if (Variant == "#") return {};
  std::string text = Variant;
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

struct TSegment {
  std::string Text;
  std::vector<std::string> Variants;
  // Of each variant, worked out once before the search (see Prepare): its text in the word,
  // its reading ("key=variant", for a variant below the first that drops nothing; else empty)
  // and whether it changes the group.
  std::vector<std::string> Texts, Readings;
  std::vector<int> Changes;

  TSegment(std::string AText, std::vector<std::string> AVariants) : Text(std::move(AText)), Variants(std::move(AVariants)) {}
  void Prepare() {
    const std::string lowerText = CyrLowerCase(Text);
    for (size_t k = 0; k < Variants.size(); ++k) {
      const std::string lower = CyrLowerCase(Variants[k]);
      Texts.push_back(VariantText(Variants[k]));
      Readings.push_back(k > 0 && Variants[k] != "#" ? lowerText + '=' + lower : std::string());
      Changes.push_back(lower != lowerText ? 1 : 0);
    }
  }
};

// The depth-first search of one word's variants.
struct TVariantSearch {
  const TQGrammar& Engine;
  const TQSchema& Schema;
  const std::vector<TSegment>& Segments;
  int Hyphen;           // the hyphen segment, -1 for none
  bool CheckFragments;  // false: every reading, also those the validator rejects
  int LengthBefore, LengthAfter, LengthWhole;
  bool Multiple;
  std::vector<std::string>& Variants;
  // Of each variant: how far down their rules' lists its readings are, counting none that the
  // pass has already seen in a word they alone made valid, and those readings (key, variant).
  std::vector<int>& Ranks;
  std::vector<std::vector<std::string>>& Readings;
  const std::map<std::string, int>& Seen;
  std::string& Result;
  int Steps = 0, MaxSteps = kMaxSearchSteps;
  // Whether a reading the text has shown it uses puts the group's other readings a step down.
  bool LearnedFirst = false;
  const std::function<bool(const std::string&)>* Prefix = nullptr;  // see TQGrammar::FPrefixFilter
  std::vector<std::string> Path = {};  // the non-first readings of the choices so far

  bool Fragment(const std::string& Before, const std::string& Text, const std::string& After) const {
    return !CheckFragments || Schema.Validator == nullptr || Schema.Validator->IsValidFragment(Before, Text, After);
  }

  // `Choice` is the variant taken for segment Next - 1.
  void Build(const std::string& Prefix, const std::string& Choice, int Next, int Changes, int Rank) {
    if (++Steps > MaxSteps || !Result.empty() || static_cast<int>(Variants.size()) > Schema.LimitVariants)
      return;
    const int chosen = Next - 1;
    const int length = Hyphen < 0 || chosen == Hyphen ? LengthWhole : chosen < Hyphen ? LengthBefore : LengthAfter;
    if (Schema.GetChangeLimit(length) < Changes) return;
    if (Next == Hyphen) Changes = 0;
    if (Next == static_cast<int>(Segments.size())) {
      if (!Fragment(Prefix, Choice, {})) return;
      const std::string word = Prefix + Choice;
      // Rules that drop letters ("#") may leave no letter of a word: that is no variant.
      if (std::none_of(word.begin(), word.end(), [](char c) { return IsLatin(static_cast<unsigned char>(c)) || IsCyrillicLetter(static_cast<unsigned char>(c)); }))
        return;
      if (!Multiple && Engine.IsValidForScheme(Schema, word)) {
        Result = word;
        return;
      }
      if (std::find(Variants.begin(), Variants.end(), word) == Variants.end()) {
        Variants.push_back(word);
        Ranks.push_back(Rank);
        Readings.push_back(Path);
      }
      return;
    }
    const TSegment& segment = Segments[Next];
    const std::string prefix = Prefix + Choice;
    auto learned = [&](size_t K) {
      const auto seen = segment.Readings[K].empty() ? Seen.end() : Seen.find(segment.Readings[K]);
      return seen != Seen.end() && seen->second >= kEvidenceCount;
    };
    // A shorter reading of a group that the text has shown it uses puts the group's other
    // readings a step further down: a text that writes "ю" as "iu" hardly writes "ию" so too.
    bool anyLearned = false;
    for (size_t k = 1; LearnedFirst && k < segment.Variants.size() && !anyLearned; ++k)
      anyLearned = segment.Texts[k].size() < segment.Texts[0].size() && learned(k);
    for (size_t k = 0; k < segment.Variants.size(); ++k) {
      const std::string& text = segment.Texts[k];
      if (!Fragment(Prefix, Choice, text) || (this->Prefix != nullptr && !(*this->Prefix)(prefix + text))) continue;
      // Dropping a written character is the last reading of all.
      const std::string& reading = segment.Readings[k];
      const bool learnable = !reading.empty();
      const int rank = learned(k) ? 0 : static_cast<int>(k) + (anyLearned ? 1 : 0) + (segment.Variants[k] == "#" ? kDroppedRank : 0);
      if (learnable) Path.push_back(reading);
      Build(prefix, text, Next + 1, Changes + segment.Changes[k], Rank + rank);
      if (learnable) Path.pop_back();
      if (Steps > MaxSteps || !Result.empty()) return;
    }
  }
};

// Whether a variant's marks hold for the group at Pos..Pos+Length of Word; the marks are
// removed from the variant.
bool MarksHold(std::string& Variant, const std::string& Word, const std::string& Key, size_t Pos, size_t Length) {
  const std::string group = Word.substr(Pos, Length);
  const bool first = Pos == 0, last = Pos + Length == Word.size();
  static constexpr char kMarks[] = {'=', '>', '@', '<', '^', '/', '\\'};
  for (char mark : kMarks) {
    if (Variant.size() < 2 || Variant[0] != mark) continue;
    bool holds = false;
    switch (mark) {
      case '=': holds = group == Key; break;
      case '>': holds = last && !first; break;
      case '@': holds = first && last; break;
      case '<': holds = first; break;
      case '^': holds = !first && !last; break;
      case '/': holds = CyrLowerCase(group) == group; break;
      case '\\': holds = CyrUpperCase(group) == group; break;
    }
    if (!holds) return false;
    Variant.erase(0, 1);
  }
  return true;
}

// Whether the digit at Pos may stand for a letter: only inside a part of the word (between
// hyphens or blanks) that reads otherwise as letters, with more letters than digits, at most two
// digits together and those between letters, and not written in capitals as codes are
// ("Ту-134", "A3B6", "MP4", "win32" stay), or beside one small Cyrillic letter.
bool DigitReadAsLetter(const std::string& Word, size_t Pos) {
  size_t start = Pos, end = Pos;
  auto breaks = [](char c) { return c == '-' || c == '_' || c == ' '; };
  while (start > 0 && !breaks(Word[start - 1])) --start;
  while (end < Word.size() && !breaks(Word[end])) ++end;
  int letters = 0, digits = 0, capitals = 0, cyrillic = 0;
  for (size_t i = start; i < end; ++i) {
    const auto c = static_cast<unsigned char>(Word[i]);
    if (std::isdigit(c)) {
      if (i > start && std::isdigit(static_cast<unsigned char>(Word[i - 1]))) {
        // Two digits together stand for letters only between letters ("lu46e"), never three.
        auto letter = [&](size_t k) { return k >= start && k < end && (IsLatin(static_cast<unsigned char>(Word[k])) || IsCyrillicLetter(static_cast<unsigned char>(Word[k]))); };
        if (i < start + 2 || !letter(i - 2) || !letter(i + 1)) return false;
      }
      ++digits;
    } else if (IsLatin(c) || IsCyrillicLetter(c)) {
      ++letters;
      if (IsCapital(c)) ++capitals;
      if (IsCyrillicLetter(c)) ++cyrillic;
    }
  }
  // A word of a digit and a small Cyrillic letter ("3а", "и3") is a short word read badly.
  if (end - start == 2 && digits == 1 && cyrillic == 1 && capitals == 0) return true;
  return letters >= 2 && letters > digits && capitals < letters;
}

// A Latin word with an apostrophe between small letters, as a soft sign is written ("tol'ko"; not
// "d'Artagnan").
bool WritesSoftSign(const std::string& Word) {
  if (Word.size() < 3 || !IsLatin(static_cast<unsigned char>(Word[0]))) return false;
  for (size_t i = 1; i + 1 < Word.size(); ++i)
    if ((Word[i] == '\'' || Word[i] == '\x92') && IsSmall(static_cast<unsigned char>(Word[i - 1])) &&
        IsLatin(static_cast<unsigned char>(Word[i + 1])) && IsSmall(static_cast<unsigned char>(Word[i + 1])))
      return true;
  return false;
}

// Whether the group at Pos..Pos+Length of Word is a sign without case ("'") inside a word in
// capitals: after a capital, and before a capital and a character that is no small letter, or
// at the end after two capitals.
bool SignBetweenCapitals(const std::string& Word, size_t Pos, size_t Length) {
  const std::string group = Word.substr(Pos, Length);
  const size_t next = Pos + Length;
  auto capital = [&](size_t I) { return I < Word.size() && IsCapital(static_cast<unsigned char>(Word[I])); };
  if (CyrLowerCase(group) != CyrUpperCase(group) || Pos == 0 || !capital(Pos - 1)) return false;
  if (next == Word.size()) return Pos >= 2 && capital(Pos - 2);
  return capital(next) && (next + 1 == Word.size() || !IsSmall(static_cast<unsigned char>(Word[next + 1])));
}

// Whether a Cyrillic word ends as an infinitive does ("-ть", "-ться", "-тись").
bool IsInfinitive(const std::string& Word) {
  auto ends = [&](std::string_view End) { return Word.size() > End.size() && Word.compare(Word.size() - End.size(), End.size(), End) == 0; };
  return ends("\xF2\xFC") || ends("\xF2\xFC\xF1\xFF") || ends("\xF2\xE8\xF1\xFC");
}

// The words of a blank-separated list.
std::set<std::string> WordSet(std::string_view List) {
  std::set<std::string> words;
  for (size_t start = 0, end = 0; start < List.size(); start = end + 1) {
    end = std::min(List.find(' ', start), List.size());
    if (end > start) words.emplace(List.substr(start, end - start));
  }
  return words;
}

// A possessive takes the number of the word after it ("свой дом", "твой парень", "свой
// собственный"; "свои вещи", "мои новые"): 1 when Reading agrees with After, -1 when the other
// number does, 0 when Reading is no such possessive or After (three letters or more) tells nothing.
int PossessiveAgreement(const std::string& Reading, const std::string& After) {
  static constexpr Cp1251Literal kSingularWords(u8"мой твой свой");
  static constexpr Cp1251Literal kPluralWords(u8"мои твои свои");
  static const std::set<std::string> kSingular = WordSet(kSingularWords), kPlural = WordSet(kPluralWords);
  static constexpr Cp1251Literal kPluralEnds(u8"ыие");
  static constexpr Cp1251Literal kVowels(u8"аеёиоуыэюя");
  if (After.size() < 3) return 0;
  const std::string reading = CyrLowerCase(Reading);
  const int number = kSingular.count(reading) != 0 ? 1 : kPlural.count(reading) != 0 ? -1 : 0;
  if (number == 0) return 0;
  const char last = CyrLowerCase(After).back();
  if (kPluralEnds.view().find(last) != std::string_view::npos) return -number;
  const bool consonant = IsCyrillicLetter(static_cast<unsigned char>(last)) && kVowels.view().find(last) == std::string_view::npos;
  return consonant ? number : 0;
}

// A word in "-ии" or "-ий" (a schema writes both as "ii") takes the case the words before ask
// for: after a preposition of the prepositional case "-ии" ("в бесчестии", "на знании", "в этом
// отношении"), after a word in the genitive plural "-ий" ("унизительных положений"). A noun in
// "-ие" (NounInIe: "отношение") has "-ии" in no other case, so with no such preposition it is
// "-ий" ("гигиена отношений"). Clause holds the words before, the last nearest. 1 when Reading
// agrees, -1 when the other ending does, 0 when nothing tells.
int CaseAfterWordsBefore(const std::string& Reading, const std::vector<std::string>& Clause, bool NounInIe) {
  static constexpr Cp1251Literal kPrepositionWords(u8"в во о об обо при на по");
  static const std::set<std::string> kPrepositions = WordSet(kPrepositionWords);
  static constexpr Cp1251Literal kIi(u8"ии"), kIj(u8"ий"), kIh(u8"их"), kYh(u8"ых");
  // Endings of a word between the preposition and the noun ("этом", "своей", "моём"), and
  // possessives that may stand there ("об их мнении").
  static constexpr Cp1251Literal kOm(u8"ом"), kEm(u8"ем"), kYom(u8"ём"), kOj(u8"ой"), kEj(u8"ей");
  static constexpr Cp1251Literal kPossessiveWords(u8"его ее её их");
  static const std::set<std::string> kPossessives = WordSet(kPossessiveWords);
  auto ends = [](const std::string& Word, std::string_view End) {
    return Word.size() > End.size() && Word.compare(Word.size() - End.size(), End.size(), End) == 0;
  };
  const std::string reading = CyrLowerCase(Reading);
  const int ending = reading.size() < 4 ? 0 : ends(reading, kIi.view()) ? 1 : ends(reading, kIj.view()) ? -1 : 0;
  if (ending == 0) return 0;
  if (!Clause.empty() && Clause.back().size() >= 4 && (ends(Clause.back(), kIh.view()) || ends(Clause.back(), kYh.view())))
    return -ending;
  for (auto it = Clause.rbegin(); it != Clause.rend(); ++it) {
    if (kPrepositions.count(*it) != 0) return ending;
    const bool between = ends(*it, kOm.view()) || ends(*it, kEm.view()) || ends(*it, kYom.view()) || ends(*it, kOj.view()) ||
                         ends(*it, kEj.view()) || kPossessives.count(*it) != 0;
    // A word no preposition governs: not the prepositional case.
    if (!between) return NounInIe ? -ending : 0;
  }
  // The clause begins with the noun or the words before it ("в искреннем, ярком искании"): no telling.
  return 0;
}

bool IsLatinWord(const std::string& Word) {
  return Word.size() >= 2 && std::all_of(Word.begin(), Word.end(), [](char c) { return IsLatin(static_cast<unsigned char>(c)) || c == '\''; });
}

// One or two Latin letters, the first a capital, as initials are written ("G", "Zh", "E'").
bool IsInitial(const std::string& Word) {
  if (Word.empty() || Word.size() > 2 || !std::isupper(static_cast<unsigned char>(Word[0])) || !IsLatin(static_cast<unsigned char>(Word[0])))
    return false;
  return Word.size() == 1 || IsSmall(static_cast<unsigned char>(Word[1])) || Word[1] == '\'';
}

// Where the Latin ending of a number begins ("8-ym", "60-kh": digits, "-", up to three small
// letters or apostrophes), at the "-"; npos for any other word.
size_t NumberEndingAt(const std::string& Word) {
  const size_t dash = Word.find('-');
  if (dash == std::string::npos || dash == 0 || Word.size() - dash - 1 > 3 || Word.size() - dash - 1 == 0) return std::string::npos;
  const bool number = std::all_of(Word.begin(), Word.begin() + dash, [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  const bool ending = Word[dash + 1] != '\'' &&
                      std::all_of(Word.begin() + dash + 1, Word.end(), [](char c) { return (c >= 'a' && c <= 'z') || c == '\''; });
  return number && ending ? dash : std::string::npos;
}

// A word of Cyrillic letters only: a guess never replaces it, only a word the dictionary knows.
bool AllCyrillic(const std::string& Word) {
  return std::all_of(Word.begin(), Word.end(),
                     [](char c) { return IsCyrillicLetter(static_cast<unsigned char>(c)) || c == '-' || c == '.'; });
}

// Whether a guess may replace a word the dictionary does not know: never a word of Cyrillic
// letters only, nor one of two characters with a digit (a label such as "3б" or "6в").
bool MayGuess(const std::string& Word) {
  return !AllCyrillic(Word) &&
         !(Word.size() == 2 && std::any_of(Word.begin(), Word.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }));
}

// A number, model name or code: digits of which none may stand for a letter ("Ту-134", "A3B6").
bool IsCode(const std::string& Word) {
  bool digits = false;
  for (size_t i = 0; i < Word.size(); ++i)
    if (std::isdigit(static_cast<unsigned char>(Word[i]))) {
      if (DigitReadAsLetter(Word, i)) return false;
      digits = true;
    }
  return digits;
}

bool HasCyrillic(const std::string& Text) {
  return std::any_of(Text.begin(), Text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xC0; });
}

// A word of Cyrillic letters with Latin look-alikes among them, read as the Cyrillic word; empty
// for any other word. The guess when no rule gives a known word: the letters OCR read as
// Cyrillic stay, where the rules' first variant may hold a shape confusion the word never had.
std::string MixedWordGuess(const std::string& Word) {
  std::string fixed = Word;
  return ClassifyMixedWord(Word) == 1 && FixMixedWord(fixed, 1) ? fixed : std::string();
}

// Whether the Latin words around a word (`LatinContext`, see TQGrammar::LatinContext) and those
// of the whole pass so far (`PassEvidence`: Russian ones less English ones) let a guess of the
// rules replace it. Never in English prose; where the words around tell nothing, a word of Latin
// letters only is guessed unless the text so far is mostly English (there it is a name, a code or
// a word of another language).
bool GuessFits(const std::string& Word, int LatinContext, int PassEvidence) {
  return LatinContext > 0 ||
         (LatinContext == 0 && (PassEvidence >= 0 || HasCyrillic(Word) || !MixedWordGuess(Word).empty()));
}

}  // namespace

void TQGrammar::ApplyRules(const std::string& Word, std::vector<std::string>& Variants, std::string& Result) {
  Variants.clear();
  FVariantRanks.clear();
  FVariantReadings.clear();
  Result.clear();
  const TGrammar* list = FSchema->CurrentGrammar();
  if (list == nullptr || Word.empty()) return;
  std::vector<TSegment> segments;
  int hyphen = -1;
  size_t pos = 0;
  while (pos < Word.size() && static_cast<int>(segments.size()) < kMaxSegments) {
    bool matched = false;
    const size_t longest = std::min(Word.size() - pos, static_cast<size_t>(std::max(list->MaxKeyLength(), 1)));
    for (size_t length = longest; length >= 1 && !matched; --length) {
      const char first = Word[pos];
      if ((first == '-' || std::isdigit(static_cast<unsigned char>(first))) && Word.size() == 1) break;
      if (std::isdigit(static_cast<unsigned char>(first)) && !DigitReadAsLetter(Word, pos)) break;
      const TQRule* rule = list->Find(std::string_view(Word).substr(pos, length));
      if (rule == nullptr) continue;
      TSegment segment(rule->Key, {});
      size_t i = 0;
      const std::string& value = rule->Value;
      while (i < value.size() && static_cast<int>(segment.Variants.size()) < kMaxSegmentVariants) {
        while (i < value.size() && value[i] == ' ') ++i;
        const size_t start = i;
        while (i < value.size() && value[i] != ' ') ++i;
        if (i == start) break;
        std::string variant = value.substr(start, i - start);
        if (!MarksHold(variant, Word, rule->Key, pos, length)) continue;
        // The variant takes the capitalisation of the word at its place; after a small letter
        // it stays small (letters drawn with capitals, such as "III", are no capitals), and a
        // sign between capitals of a word in capitals is a capital ("SIL'VERMANA").
        if (variant != "#")
          variant = pos > 0 && IsSmall(static_cast<unsigned char>(Word[pos - 1])) ? CyrLowerCase(variant)
                    : SignBetweenCapitals(Word, pos, length)                     ? CyrUpperCase(variant)
                                                                                  : MatchCase(Word.substr(pos, 10), variant);
        segment.Variants.push_back(variant.substr(0, kMaxVariantLength));
      }
      if (segment.Variants.empty()) continue;
      segments.push_back(std::move(segment));
      pos += length;
      matched = true;
    }
    if (!matched) {
      segments.push_back(TSegment(Word.substr(pos, 1), {Word.substr(pos, 1)}));
      ++pos;
    }
    if (segments.back().Text == "-") hyphen = static_cast<int>(segments.size()) - 1;
  }
  if (pos < Word.size()) return;  // more segments than the store holds
  const size_t dash = Word.find('-');
  const int before = dash == std::string::npos ? 0 : static_cast<int>(dash);
  const int after = dash == std::string::npos ? 0 : static_cast<int>(Word.size() - dash - 1);
  // A word that begins or ends with "-" gives an empty side; its change limit is that of length 1.
  TVariantSearch search{*this, *FSchema, segments, hyphen, !FPlainReading, std::max(before, 1), std::max(after, 1),
                        static_cast<int>(Word.size()), FAllVariants || Option(goConsiderMultipleVariants), Variants, FVariantRanks, FVariantReadings, FSeenReadings, Result};
  for (TSegment& segment : segments) segment.Prepare();
  if (FSearchStepLimit > 0) search.MaxSteps = FSearchStepLimit;
  search.LearnedFirst = FPlainReading;
  if (FPrefixFilter) search.Prefix = &FPrefixFilter;
  search.Build({}, {}, 0, 0, 0);
  if ((ExecMode & emDebug) && OnRuleDebug) {
    std::vector<std::vector<std::string>> columns;
    for (const TSegment& segment : segments) {
      columns.push_back({segment.Text});
      columns.back().insert(columns.back().end(), segment.Variants.begin(), segment.Variants.end());
    }
    OnRuleDebug(columns, Variants, "Debugging grammar " + ExtractFileName(GrammarFile));
  }
}

int TQGrammar::GetVariants(std::string& Word, TExecModes Mode) {
  int kind = wkUnknown;
  bool decided = true, english = false, englishLater = false;
  FSeveralVariants = false;
  const std::string w = Word;
  auto finish = [&](int result) {
    if ((Mode & emSimpleMatch) && !decided) result = wkUnknown;
    if (result == wkUnknown && english) {
      Word = w;
      result = wkEnglish;
    }
    FEnglishContext = result == wkEnglish && english;
    return result;
  };
  if (w.empty()) return wkUnknown;

  bool cached = w == FCacheWord;
  if (cached) {
    if (Option(goAutoUseSpellChecker) && !FCollected.empty() && (Mode & emNoDialog) == 0) {
      Word = FCollected.front();
      return finish(wkUnsure);
    }
  } else {
    FCacheWord = w;
    FBestGuess.clear();
    if (Option(goAutoUseSingleSugg) && static_cast<int>(w.size()) > FSchema->LimitSpeller &&
        !IsCapital(static_cast<unsigned char>(w[0]))) {
      if (TQSpell* spell = Speller()) {
        TSuggestionList list;
        spell->Suggest(w, list, 0xBF, FSchema->Validator ? FSchema->Validator->Language : 1049);
        if (list.Count() == 1 && list[0].Word.find(' ') == std::string::npos) {
          Word = list[0].Word;
          return finish(wkRussian);
        }
      }
    }
    FFirstVariants.clear();
    FFirstVariantsLater = false;
    FSchema->ResetSteps();
    while (!FSchema->Done) {
      FStepVariants.clear();
      FCollected.clear();
      if (IsValidForScheme(*FSchema, w)) return finish(wkRussian);
      if (!Option(goAssumeNoEnglish) && !FNoEnglish) {
        const bool nextEnglish = !FNextWord.empty() && IsEnglishWord(FNextWord);
        english = IsEnglishWord(w);
        // In English prose a quotation mark or an apostrophe at the edge is no soft sign.
        const size_t first = w.find_first_not_of("'\x92"), last = w.find_last_not_of("'\x92");
        if (!english && FLatinContext < 0 && first != std::string::npos && (first > 0 || last + 1 < w.size()))
          english = IsEnglishWord(w.substr(first, last + 1 - first));
        // Among transliterated Russian words an English word of the list ("v", "na", "privet")
        // is judged by the rules first: it stays English only when no variant is Russian.
        if (english && FLatinContext <= 0 &&
            (FLatinContext < 0 || (FEnglishContext && w.size() > 2) || (nextEnglish && FNextWord.size() > 2) ||
             (FEnglishContext && nextEnglish) || (FPreviousReplacement.empty() && nextEnglish) ||
             (FEnglishContext && FNextWord.empty()))) {
          FEnglishContext = true;
          return wkEnglish;
        }
        englishLater = english && FLatinContext > 0;
      }
      FSchema->NamePass = w.size() >= 2 && IsCapital(static_cast<unsigned char>(w[0])) &&
                          IsSmall(static_cast<unsigned char>(w[1]));
      if (!Option(goPreserveSpecialSyntax) && (w.back() == '\xFA' || w.back() == '\xDA')) FSchema->NamePass = false;
      std::string direct;
      ApplyRules(w, FStepVariants, direct);
      FSchema->NamePass = false;
      if (!direct.empty()) {
        // A Latin word that only a soft sign the text did not write makes a word ("zhizn") shows
        // that the text leaves them out.
        if (FSchema->CurrentStep > 0 && w.size() >= kEvidenceLength && !HasCyrillic(w) &&
            direct.find_first_of("\xFC\xDC") != std::string::npos)
          ++FSoftSignsLeftOut;
        // The search stops at the first variant that is a word ("возпе": "возне" before "возле").
        Word = HasCyrillic(w) ? FarMoreFrequentReading(MostFrequentOfStep(w, direct, kClearlyMore))
                              : MostFrequentReading(w, direct);
        return finish(wkRussian);
      }
      if (FFirstVariants.empty()) {
        FFirstVariants = FStepVariants;
        FFirstVariantsLater = FSchema->CurrentStep > 0 && !FStepVariants.empty();
      }
      for (const std::string& v : FStepVariants) {
        std::string c;
        if (IsValidForScheme(*FSchema, v)) c = v;
        else if (Option(goAllowUpCase) && IsValidForScheme(*FSchema, MatchCase("Aa", v))) c = MatchCase("Aa", v);
        else if (Option(goAllowDownCase) && IsValidForScheme(*FSchema, v.substr(0, 1) + CyrLowerCase(v.substr(1))))
          c = v.substr(0, 1) + CyrLowerCase(v.substr(1));
        if (c.empty() || std::find(FCollected.begin(), FCollected.end(), c) != FCollected.end()) continue;
        if (!FCollected.empty()) {
          if (!Option(goConsiderMultipleVariants)) break;
          FSeveralVariants = true;
        }
        if (c.find(' ') == std::string::npos) FCollected.push_back(c);
      }
      FSchema->NextStep();
      if (!FCollected.empty()) break;
    }
    if (englishLater && FCollected.empty()) {
      FEnglishContext = true;
      return wkEnglish;
    }
    // Look-alikes that no rule reaches within the change limits (a short word of many): a word
    // of Latin look-alikes only reads as Cyrillic between Cyrillic words ("Мой KOT спит").
    const std::string mixed = MixedWordGuess(w);
    std::string reading = mixed;
    if (reading.empty() && !english && ClassifyMixedWord(w) == 4 && (HasCyrillic(FNextWord) || HasCyrillic(FPreviousReplacement))) {
      reading = w;
      FixMixedWord(reading, 1);
    }
    if (FCollected.empty() && !reading.empty() && IsValidForScheme(*FSchema, reading)) {
      Word = reading;
      return finish(wkRussian);
    }
    if (FStepVariants.empty() && FCollected.empty() && mixed.empty()) return finish(wkUnknown);
    decided = false;
    std::string remembered = w;
    if (FCollected.size() == 1) {
      if (FDialog.LookupRemembered(remembered)) FAnswered = true;
      Word = FCollected.front();
      decided = true;
      return finish(wkRussian);
    }
    if (FCollected.empty()) {
      if (FDialog.LookupRemembered(remembered)) {
        FAnswered = true;
        decided = true;
        if (remembered.empty()) return finish(wkEnglish);
        Word = remembered;
        return finish(wkRussian);
      }
    }
  }
  decided = decided && cached;
  // The guess for a word no variant of which is known: a Latin word (a name, mostly) reads
  // as its likeliest reading, whatever the validator says of its letters.
  if (FBestGuess.empty()) {
    FBestGuess = MixedWordGuess(w);
    if (FBestGuess.empty() && !FFirstVariants.empty())
      FBestGuess = HasCyrillic(w) ? FFirstVariants.front() : LikeliestReading(w);
    if (FBestGuess.empty() && !FFirstVariants.empty()) FBestGuess = FFirstVariants.front();
  }
  if (FCollected.size() < 2) {
    if (!FBestGuess.empty() && Option(goAutoUseBestGuess) && GuessFits(w, FLatinContext, FPassEvidence) && MayGuess(w)) {
      Word = FBestGuess;
      return finish(wkUnsure);
    }
  }
  FDialog.Suggestions = FCollected;
  FDialog.RuleSuggestions = static_cast<int>(FCollected.size());
  FDialog.Suggestions.insert(FDialog.Suggestions.end(), FFirstVariants.begin(), FFirstVariants.end());
  std::string remembered = w;
  if (FDialog.LookupRemembered(remembered) && !remembered.empty()) {
    Word = remembered;
    FAnswered = true;
    decided = true;
    return finish(static_cast<unsigned char>(Word[0]) < 128 ? wkEnglish : wkRussian);
  }
  if (FSeveralVariants && Option(goAutoUseFirstOfMultiple)) {
    Word = FCollected.front();
    decided = true;
    FVariantText = FCollected.front();
    for (const std::string& v : FCollected) FVariantText += "|" + v;
    return finish(wkMultiVar);
  }
  if (Option(goAutoUseBestGuess) && !FFirstVariants.empty() && GuessFits(w, FLatinContext, FPassEvidence) && MayGuess(w)) {
    Word = FBestGuess;
    kind = wkUnsure;
  } else if (Option(goAutoUseSpellChecker) && !FCollected.empty()) {
    Word = FCollected.front();
    kind = wkUnsure;
  }
  return finish(kind);
}

std::vector<std::string> TQGrammar::PlainReadings(const std::string& Word) {
  std::vector<std::string> variants;
  std::string direct;
  FSchema->ResetSteps();
  FAllVariants = FPlainReading = true;
  ApplyRules(Word, variants, direct);
  FAllVariants = FPlainReading = false;
  return variants;
}

std::string TQGrammar::FirstReading(const std::string& Word) {
  const std::vector<std::string> variants = PlainReadings(Word);
  for (size_t i = 0; i < variants.size(); ++i)
    if (FVariantRanks[i] == 0) return variants[i];
  return {};
}

std::pair<std::string, int> TQGrammar::MostSeenReading(const std::string& Word, const std::function<std::string(const std::string&)>& KeyOf) {
  const TQLanguage* language = SchemeLanguage();
  if (language == nullptr || language->Frequencies().Empty()) return {};
  std::string best;
  int bestClass = 0;
  // Only readings that begin as some counted key does.
  FPrefixFilter = [&](const std::string& Start) {
    const std::string key = KeyOf(Start);
    return key.empty() || language->Frequencies().HasKeyStartingWith(key);
  };
  FAllVariants = FPlainReading = true;
  for (FSchema->ResetSteps(); !FSchema->Done; FSchema->NextStep()) {
    std::vector<std::string> variants;
    std::string direct;
    FSchema->NamePass = true;
    ApplyRules(Word, variants, direct);
    FSchema->NamePass = false;
    for (size_t i = 0; i < variants.size(); ++i)
      if (const int cls = language->Frequencies().ClassOf(KeyOf(variants[i])); cls > bestClass) {
        best = variants[i];
        bestClass = cls;
        // A "ё" read from an "e" goes: WithWrittenYo gives it back as the prose writes the name,
        // unless the text writes its "ё" itself.
        const std::vector<std::string>& readings = FVariantReadings[i];
        if (std::find(readings.begin(), readings.end(), "e=\xB8") != readings.end()) {
          std::replace(best.begin(), best.end(), '\xB8', '\xE5');
          std::replace(best.begin(), best.end(), '\xA8', '\xC5');
        }
      }
  }
  FAllVariants = FPlainReading = false;
  FPrefixFilter = nullptr;
  FSchema->ResetSteps();
  return {best, bestClass};
}

std::string TQGrammar::ReadingOfSeenName(const std::string& Word) {
  // Capitalised, or in capitals as the counts take names in capitals too ("KLIPSHTEINA"); a
  // double name ("Krainov-Rytov") as a whole.
  const size_t hyphen = Word.find('-');
  const bool latin = hyphen == std::string::npos ? IsLatinWord(Word) : IsLatinWord(Word.substr(0, hyphen)) && IsLatinWord(Word.substr(hyphen + 1));
  if (!latin || NameKey(Word, LANG_RUSSIAN).empty()) return {};
  if (const auto known = FSeenNames.find(Word); known != FSeenNames.end()) return known->second;
  if (FSeenNames.size() >= kMostRememberedWords) FSeenNames.clear();
  return FSeenNames[Word] = MostSeenReading(Word, [](const std::string& Reading) { return NameKey(Reading, LANG_RUSSIAN); }).first;
}

std::string TQGrammar::InitialBefore(const std::string& Initial, const std::string& Name) {
  std::string best = FirstReading(Initial);
  if (!IsLatinWord(Name) || !IsCapital(static_cast<unsigned char>(Name[0])) || !IsSmall(static_cast<unsigned char>(Name[1])))
    return best;
  int bestClass = 0;
  for (const std::string& reading : PlainReadings(Initial)) {
    if (!AllCyrillic(reading)) continue;
    const int cls = MostSeenReading(Name, [&](const std::string& v) { return NameKey(reading + ' ' + v, LANG_RUSSIAN); }).second;
    if (cls > bestClass) {
      best = reading;
      bestClass = cls;
    }
  }
  return best;
}

std::string TQGrammar::LikeliestReading(const std::string& Word) {
  if (std::string seen = ReadingOfSeenName(Word); !seen.empty()) return seen;
  // A step down a rule's list costs eight bits: as much as a letter 256 times rarer.
  constexpr int kRankCost = 32;
  const TQLanguage* language = SchemeLanguage();
  if (language == nullptr || language->LetterModel().Empty()) return FirstReading(Word);
  const std::vector<std::string> variants = PlainReadings(Word);
  std::string best;
  int bestCost = 0;
  for (size_t i = 0; i < variants.size(); ++i) {
    const int cost = language->LetterModel().Cost(variants[i]) + kRankCost * FVariantRanks[i];
    if (best.empty() || cost < bestCost) {
      best = variants[i];
      bestCost = cost;
    }
  }
  return best;
}

bool TQGrammar::ProcessWordsCallback(TObject* Owner, TStringList& Words, TStringList& Separators, int Percent) {
  return static_cast<TQGrammar*>(Owner)->ProcessWords(Words, Separators, Percent);
}

bool TQGrammar::ProcessWords(TStringList& Words, TStringList& Separators, int Percent) {
  // Progress, stop and the message pump run in every mode, so that a pass without the dialog
  // can be stopped and leaves the window alive.
  if (FStopped || (OnProgress && OnProgress(Percent))) {
    FStopped = true;
    return true;
  }
  ProcessMessages();
  const std::string w = Words[0], sep = Separators[0];
  const std::string before = std::exchange(FLastSeparator, sep);
  FWordBefore = !before.empty() && Blank(before) && before.find_first_of("\r\n\v") == std::string::npos &&
                HasCyrillic(FPreviousReplacement) ? FPreviousReplacement : std::string();
  // A sign between the words ends a clause.
  if (!Blank(before) || before.find_first_of("\r\n\v") != std::string::npos) FClause.clear();
  if (Blank(w)) return false;
  const TExecModes quiet = ExecMode | emNoDialog | emSimpleMatch;
  FWordStart = FRangeStart + FOffset + TTextScanner::OffsetOf(Words, 0);
  FWordEnd = FWordStart + static_cast<int>(w.size());
  FCacheWord.clear();
  FSeveralVariants = FAnswered = false;
  FVariantText.clear();
  FNextWord = Words.Count() > 1 ? Words[1] : std::string();
  FLatinContext = LatinContext(Words, Separators);
  NoteLatinWord(w);
  if (EndsSentence(sep)) ++FSentence;
  const bool afterInitial = FInitialRead;
  FInitialRead = false;
  const bool sentenceStart = FSentenceStart;
  // A dash or other sign that opens a line of dialogue keeps the sentence start for the next word.
  const bool sign = std::none_of(w.begin(), w.end(), [](char c) { return IsLatin(static_cast<unsigned char>(c)) || IsCyrillicLetter(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)); });
  FSentenceStart = (sign && sentenceStart) || EndsSentence(sep);
  if (!FSoftSignsWritten && WritesSoftSign(w) && !IsEnglishWord(w)) FSoftSignsWritten = true;
  std::string found = w;

  if (FMarks.Any(FWordStart, FWordEnd, emkImprint))
    AddLogEntry(w, {}, std::binary_search(FAnalyser->Shortened.begin(), FAnalyser->Shortened.end(), w) ? wkShortened : wkNewWord);
  const bool link = Editor->HasLink(FWordStart, FWordEnd);
  switch (FSchema->ReplaceScope) {
    case 0: break;
    case 2:
      if (!link) return false;
      break;
    default:
      if (link || FMarks.Any(FWordStart, FWordEnd, TEngineMark(emkShadow | emkEmboss | emkImprint)) ||
          Editor->HasOutline(FWordStart, FWordEnd))
        return false;
  }
  if (w.size() > 31) {
    // Only a Latin word is marked English; a long Russian compound keeps its language.
    if (std::all_of(w.begin(), w.end(), [](char c) { return static_cast<unsigned char>(c) < 128; }))
      Editor->SetLanguage(FWordStart, FWordEnd, 1033);
    return false;
  }
  FDialog.Suggestions.clear();
  FDialog.RuleSuggestions = 0;

  auto apply = [&](std::string Replacement, int Kind) {
    FNoEnglish = false;
    // A digit has no case: at the start of a sentence the letter it stands for is a capital.
    if (sentenceStart && std::isdigit(static_cast<unsigned char>(w[0])) && Replacement != w &&
        static_cast<unsigned char>(Replacement[0]) >= 0xE0)
      Replacement = CyrUpperCase(Replacement.substr(0, 1)) + Replacement.substr(1);
    // A scheme that writes "ё" as "e" loses it: the word gets it back as prose mostly writes it,
    // until the text shows that it writes "ё" itself.
    if (IsLatinWord(w) && HasCyrillic(Replacement)) {
      if (Replacement.find_first_of("\xB8\xA8") != std::string::npos) FYoWritten = true;
      else if (!FYoWritten) Replacement = WithWrittenYo(Replacement);
    }
    ApplyWordResult(found, Replacement, Kind);
    if (IsLatin(static_cast<unsigned char>(w[0])) && IsCapital(static_cast<unsigned char>(w[0])) &&
        static_cast<unsigned char>(Replacement[0]) >= 0xC0 && static_cast<unsigned char>(Replacement[0]) <= 0xDF)
      FInitialRead = true;
    return false;
  };
  // The word and the next one joined, without hyphens, when that makes a word; true when applied.
  auto joinPair = [&] {
    if (!Option(goAllowMergeAcrossSpace) || Words.Count() < 2 || Blank(Words[1]) || w.find('.') != std::string::npos)
      return false;
    const std::string second = Words[1];
    std::string pair = w + second;
    if (pair.size() >= 20 || !Blank(sep) || w.size() < 2 || second.size() < 2) return false;
    const std::string saveNext = FNextWord;
    FNextWord = Words.Count() > 2 ? Words[2] : std::string();
    pair.erase(std::remove(pair.begin(), pair.end(), '-'), pair.end());
    int pairKind = GetVariants(pair, quiet);
    // A capitalised word broken at a line end, its rest in small letters, is a name the
    // dictionary need not know ("Кащ- еев"): it is joined whatever the rules make of it.
    const bool name = w.back() == '-' && IsCapital(static_cast<unsigned char>(w[0])) &&
                      std::all_of(second.begin(), second.end(), [](char c) { return IsSmall(static_cast<unsigned char>(c)); });
    if (pairKind == wkUnknown && name) {
      FCacheWord.clear();
      pair.assign(w.begin(), w.end() - 1);
      pair += second;
      pairKind = GetVariants(pair, ExecMode);
    }
    if (pairKind != wkUnknown || name) {
      found = w + sep + second;
      FWordEnd = FWordStart + static_cast<int>(found.size());
      Words.Delete(1);
      Separators.Delete(0);
      apply(pair, pairKind);
      return true;
    }
    FNextWord = saveNext;
    FCacheWord.clear();
    return false;
  };
  // "Replace All" and "Skip All" hold for every later occurrence, whatever would produce it.
  std::string remembered = w;
  if (FDialog.LookupRemembered(remembered)) {
    FAnswered = true;
    return apply(remembered.empty() ? w : remembered, remembered.empty() ? wkCorrect : wkFixed);
  }
  // A word broken at a line end ("Смири- тельная") is joined before its first part is judged.
  if (w.size() > 2 && w.back() == '-' && joinPair()) return false;
  // Spaced letters ("В н и м а н и е") are joined before a letter is judged alone: the first
  // letters may each be a word.
  std::string joined;
  if (Option(goAllowMergeAcrossSpace) && IsOneLetter(w) && sep == " ") {
    if (const int taken = JoinSpacedLetters(Words, Separators, joined)) {
      found = Editor->TextRange(FWordStart, FWordStart + taken * 2 - 1);
      FWordEnd = FWordStart + static_cast<int>(found.size());
      for (int i = 1; i < taken; ++i) {
        Words.Delete(1);
        Separators.Delete(0);
      }
      Words.SetStrings(0, joined);
      return apply(joined, wkFixed);
    }
  }
  // The word judged with the sign that ends it and, when only that sign lies between, the next
  // word glued after it; true when applied. `Wanted` tells the kinds that are taken.
  auto glue = [&](char Sign, bool (*Wanted)(int Kind)) {
    const bool glued = sep.size() == 1 && Words.Count() > 1;
    std::string joined = w + Sign + (glued ? Words[1] : std::string());
    const std::string saveNext = FNextWord;
    const bool saveEnglish = FEnglishContext;
    if (glued) FNextWord = Words.Count() > 2 ? Words[2] : std::string();
    const int joinedKind = GetVariants(joined, quiet);
    FCacheWord.clear();
    if (!Wanted(joinedKind)) {
      FNextWord = saveNext;
      FEnglishContext = saveEnglish;
      return false;
    }
    found = w + Sign + (glued ? Words[1] : std::string());
    FWordEnd = FWordStart + static_cast<int>(found.size());
    if (glued) {
      Words.Delete(1);
      Separators.Delete(0);
    }
    apply(joined, joinedKind);
    return true;
  };
  // A soft sign and a bar after it are "ы" as OCR reads it: the bar is a separator, so the word
  // is judged with the bar and the letters glued after it ("усль|шать").
  if (!sep.empty() && sep[0] == '|' && (w.back() == '\xFC' || w.back() == '\xDC' || w.back() == 'b') &&
      glue('|', [](int Kind) { return Kind != wkUnknown; }))
    return false;
  // BGN and the Library of Congress write the hard sign as a double quote, which ends a word:
  // "pod" and "yezd" are judged as one word when that reads as Russian.
  if (sep == "\"" && Words.Count() > 1 && IsLatin(static_cast<unsigned char>(w.back())) && !Words[1].empty() &&
      IsLatin(static_cast<unsigned char>(Words[1][0])) && IsSmall(static_cast<unsigned char>(Words[1][0])) &&
      glue('"', [](int Kind) { return Kind == wkRussian; }))
    return false;
  // An initial drawn with a Latin look-alike before a Cyrillic name ("H. Кащеев") is Cyrillic.
  if (w.size() == 1 && ClassifyMixedWord(w) == 4 && IsCapital(static_cast<unsigned char>(w[0])) && !sep.empty() &&
      sep[0] == '.' && !FNextWord.empty() && IsCapital(static_cast<unsigned char>(FNextWord[0])) && HasCyrillic(FNextWord)) {
    std::string initial = w;
    FixMixedWord(initial, 1);
    return apply(initial, wkFixed);
  }
  // A word in an English sentence stays as written: a name, an abbreviation, a code or a word of
  // a third language there is no transliterated Russian.
  if (FLatinContext < 0 && !HasCyrillic(w) && std::any_of(w.begin(), w.end(), [](char c) { return IsLatin(static_cast<unsigned char>(c)); }))
    return apply(w, wkEnglish);
  if (IsValidForScheme(*FSchema, w) || IsNumberLike(w)) {
    const std::string reading = FarMoreFrequentReading(w);
    return apply(reading, reading == w ? wkRussian : wkFixed);
  }
  // A number with a Russian ending ("8-ym", "60-ti") among transliterated Russian: the ending is
  // read as the rules write it inside a word ("e" is "е", not "э").
  if (const size_t dash = NumberEndingAt(w); FLatinContext > 0 && dash != std::string::npos) {
    // After a letter, as the rules read an ending.
    std::string ending(1, 'x');
    ending.append(w, dash + 1);
    const std::string reading = FirstReading(ending);
    if (reading.size() > 1 && AllCyrillic(reading.substr(1))) return apply(w.substr(0, dash + 1) + reading.substr(1), wkRussian);
  }
  if (IsCode(w)) return apply(w, wkCorrect);
  // A capitalised word of Cyrillic letters the dictionary does not know is a name: it stays,
  // unless its letters do not go together as Russian ones do (a shape confusion, "Истниа").
  if (AllCyrillic(w) && IsCapital(static_cast<unsigned char>(w[0])) && RussianScore(w) == 0) return apply(w, wkCorrect);
  if (!sep.empty() && sep[0] == '.' && IsValidForScheme(*FSchema, w + ".")) return apply(w, wkRussian);
  // Among transliterated Russian an initial ("G. Malkin") is a Cyrillic letter, and the
  // capitalised word after it or after a capitalised word read as Cyrillic ("Gennadij Malkin") a
  // name, whatever the English list says of either.
  // An initial after a Latin first name that stays ("Jonathan D. Trudel") is English.
  const bool afterLatinName = !FPreviousReplacement.empty() && IsLatin(static_cast<unsigned char>(FPreviousReplacement[0])) &&
                              IsCapital(static_cast<unsigned char>(FPreviousReplacement[0]));
  if (FLatinContext > 0 && !afterLatinName && IsInitial(w) && !sep.empty() && sep[0] == '.') {
    const std::string reading = InitialBefore(w, FNextWord);
    if (!reading.empty() && AllCyrillic(reading)) {
      FInitialRead = true;
      return apply(reading, wkUnsure);
    }
  }
  // A small letter of an abbreviation written with full stops ("t.k.", "t.e.") that the
  // dictionary knows as the rules read its letters.
  if (FLatinContext > 0 && w.size() == 1 && IsSmall(static_cast<unsigned char>(w[0])) && IsLatin(static_cast<unsigned char>(w[0])) && sep == ".") {
    std::string abbreviation, written;
    int letters = 0;
    for (; letters < Words.Count() && Words[letters].size() == 1 && IsSmall(static_cast<unsigned char>(Words[letters][0])); ++letters) {
      const std::string reading = FirstReading(Words[letters]);
      if (reading.size() != 1 || !AllCyrillic(reading)) break;
      abbreviation += (letters > 0 ? "." : "") + reading;
      written += (letters > 0 ? "." : "") + Words[letters];
      // The last letter's full stop may be followed by a blank.
      if (Separators[letters] != ".") {
        ++letters;
        break;
      }
    }
    if (letters > 1 && IsValidForScheme(*FSchema, abbreviation + ".")) {
      found = written;
      FWordEnd = FWordStart + static_cast<int>(found.size());
      for (int i = 1; i < letters; ++i) {
        Words.Delete(1);
        Separators.Delete(0);
      }
      return apply(abbreviation, wkRussian);
    }
  }
  // Initials written close to the name ("L.N.Tolstoj").
  if (const size_t dot = w.rfind('.'); FLatinContext > 0 && dot != std::string::npos && dot + 2 < w.size() &&
                                       IsCapital(static_cast<unsigned char>(w[dot + 1])) && IsSmall(static_cast<unsigned char>(w[dot + 2]))) {
    std::string initials;
    for (size_t start = 0; start <= dot;) {
      const size_t end = w.find('.', start);
      const std::string initial = w.substr(start, end - start);
      const std::string reading = IsInitial(initial) ? FirstReading(initial) : std::string();
      if (reading.empty() || !AllCyrillic(reading)) {
        initials.clear();
        break;
      }
      initials += reading + ".";
      start = end + 1;
    }
    std::string name = w.substr(dot + 1);
    FNoEnglish = true;
    if (!initials.empty() && GetVariants(name, ExecMode) != wkUnknown && AllCyrillic(name))
      return apply(initials + name, wkUnsure);
    FNoEnglish = false;
    FCacheWord.clear();
  }
  // "E'to" reads like "CD's" but is a word written with GOST's "e'".
  if (IsNumberLikeWord(w)) {
    std::string v = w;
    if (FLatinContext > 0 && IsLatin(static_cast<unsigned char>(w[0])) && GetVariants(v, quiet) == wkRussian && v != w)
      return apply(v, wkRussian);
    FCacheWord.clear();
    return apply(w, wkShortened);
  }
  FNoEnglish = afterInitial && FLatinContext > 0 && w.size() >= 2 && IsCapital(static_cast<unsigned char>(w[0])) &&
               IsSmall(static_cast<unsigned char>(w[1]));
  std::string r = w;
  int kind = GetVariants(r, quiet);
  // Among transliterated Russian a name the English list knows ("Franklin", "Emerson") that no
  // rule reads as a Russian word is read as the rules write it, as any other name there.
  if (kind == wkEnglish && r == w && FLatinContext > 0 && IsLatinWord(w) && IsCapital(static_cast<unsigned char>(w[0])) &&
      IsSmall(static_cast<unsigned char>(w[1]))) {
    std::string reading = ReadingOfSeenName(w);
    if (reading.empty()) reading = FirstReading(w);
    if (!reading.empty() && AllCyrillic(reading)) return apply(reading, wkUnsure);
  }
  if (kind != wkUnknown) return apply(r, kind);
  std::string special;
  if (Option(goTranslateAdaptiveCyrillic) && MayGuess(w) && ClassifySpecialSyntax(w, special) == 4) return apply(special, wkRussian);

  // Leading marks.
  std::string t = w;
  while (t.size() >= 2 && (t[0] == '\'' || t[0] == '^' || t[0] == '\x92')) {
    t.erase(0, 1);
    std::string v = t;
    // The marks stay: a quotation mark is no part of the word.
    if ((kind = GetVariants(v, quiet)) != wkUnknown) return apply(w.substr(0, w.size() - t.size()) + v, kind);
  }
  // Trailing marks: a stripped form that is fine keeps the word as it is.
  t = w;
  while (t.size() >= 2 && std::strchr("'./\x92", t.back()) != nullptr) t.pop_back();
  if (!t.empty() && std::strchr("'/\x92", t[0]) != nullptr) t.erase(0, 1);
  if (t != w) {
    std::string v = t;
    if ((kind = GetVariants(v, quiet)) != wkUnknown) return apply(v == t ? w : w.substr(0, w.find(t)) + v + w.substr(w.find(t) + t.size()), kind);
  }
  // Trailing digits.
  t = w;
  while (t.size() >= 2 && std::isdigit(static_cast<unsigned char>(t.back()))) {
    t.pop_back();
    std::string v = t;
    if (GetVariants(v, quiet) != wkUnknown) return apply(w, wkShortened);
  }
  // Hyphen.
  const size_t dash = w.find('-');
  if (dash != std::string::npos && dash + 1 > 2 && dash + 1 < w.size() - 2) {
    if (Option(goAllowMergeAcrossHyphen)) {
      std::string merged;
      for (char c : w)
        if (c != '-') merged += c;
      if (!merged.empty() && (kind = GetVariants(merged, quiet)) != wkUnknown) return apply(merged, kind);
    }
    if (Option(goAllowSplit)) {
      std::string split = w;
      std::replace(split.begin(), split.end(), '-', '_');
      if ((kind = GetVariants(split, quiet)) != wkUnknown) return apply(split, kind);
      if (Option(goAllowPartialSplit)) {
        std::string left = w.substr(0, dash), right = w.substr(dash + 1, 100);
        const int k1 = GetVariants(left, quiet), k2 = GetVariants(right, quiet);
        if (k1 != wkUnknown || k2 != wkUnknown) return apply(left + "-" + right, k1 != wkUnknown ? k1 : k2);
      }
    }
  }
  // Neighbouring words.
  if (joinPair()) return false;
  // The final call: automatic guesses and the answer memory.
  r = w;
  kind = GetVariants(r, ExecMode);
  // A name among transliterated Russian whose every reading of the first step has a letter group
  // the validator has not seen ("Buast", "Laroshfuko"): the rules' first readings are the best
  // guess, not one with a soft sign the text did not write.
  if (((kind == wkUnknown && r == w) || (kind == wkUnsure && FFirstVariantsLater)) && Option(goAutoUseBestGuess) &&
      FLatinContext > 0 && IsLatinWord(w) && IsCapital(static_cast<unsigned char>(w[0])) &&
      IsSmall(static_cast<unsigned char>(w[1]))) {
    const std::string reading = LikeliestReading(w);
    if (!reading.empty() && AllCyrillic(reading)) {
      r = reading;
      kind = wkUnsure;
    }
  }
  if (kind == wkUnknown && Option(goTransformSpecialSyntax)) {
    std::string s = " " + w + " ";
    for (size_t i = 1; i + 1 < s.size(); ++i) {
      const char c = s[i];
      if (c != 'i' && c != 'v' && c != 'I' && c != 'V') continue;
      if (static_cast<unsigned char>(s[i - 1]) >= 128 || static_cast<unsigned char>(s[i + 1]) >= 128)
        s[i] = (c == 'i' || c == 'v') ? '\xE8' : '\xC8';
    }
    r = std::string(TrimText(s));
    if (r.size() >= 2) {
      std::string v = r;
      if (r.back() == '\xFA' || r.back() == '\xDA') {
        v.pop_back();
        std::string base = v;
        kind = GetVariants(v, ExecMode);
        if (kind == wkUnknown) {
          v = base + "\xFC";
          kind = GetVariants(v, ExecMode);
          if (kind == wkUnknown) v = base;
        }
      } else {
        kind = GetVariants(v, ExecMode);
      }
      if (kind != wkUnknown || v != w) r = v;
    }
  }
  return apply(r, kind);
}

const TQLanguage* TQGrammar::SchemeLanguage() const {
  TQSpell* spell = Speller();
  return spell ? spell->FindLanguage(FSchema->Validator ? FSchema->Validator->Language : 1049) : nullptr;
}

int TQGrammar::FrequencyClass(const std::string& Word, const std::string& Before) const {
  const TQLanguage* language = SchemeLanguage();
  if (language == nullptr) return 0;
  const std::string key = FrequencyKey(Word, language->Lcid());
  return language->Frequencies().ClassOf(Before.empty() ? key : PairKey(FrequencyKey(Before, language->Lcid()), key));
}

std::string TQGrammar::MostFrequentReading(const std::string& Word, const std::string& Found) {
  // Several readings may be words ("svoi": "свои" and "свой"; "byt": "быт", then with the soft
  // sign "быть"): the one the prose shows more often wins, against how far down the rules' lists
  // its readings are. A reading the text did not write (a later step adds the soft sign) must be
  // clearly more frequent, and not at all in a text that writes its soft signs.
  constexpr int kRankWeight = 4;
  // The word before counts too: "надо говорить", "он говорит".
  constexpr int kPairWeight = 1;
  // A word before that wants an infinitive ("можно", "должен") or a finite form ("он") outweighs
  // how often each reading occurs alone, and so do the number of the word after a possessive and
  // the case the word before asks for.
  constexpr int kVerbFormWeight = 8;
  // So does the word after, as it reads, when only blanks lie between ("свой опыт", "свои мысли"),
  // unless the clause asks for an infinitive or a finite form: "можешь говорить что думаешь"
  // though "говорит что" is the more frequent pair.
  std::string after;
  if (!FNextWord.empty() && Blank(FLastSeparator) && FLastSeparator.find_first_of("\r\n\v") == std::string::npos) {
    if (AllCyrillic(FNextWord)) {
      after = FNextWord;
    } else if (IsLatinWord(FNextWord)) {
      const int step = FSchema->CurrentStep;
      const bool done = FSchema->Done;
      after = RussianReadingOf(FNextWord);
      FSchema->CurrentStep = step;
      FSchema->Done = done;
    }
  }
  const int verbForm = ExpectedVerbForm(after);
  auto frequency = [&](const std::string& Reading) {
    return PartsFrequencyClass(Reading) + (FWordBefore.empty() ? 0 : kPairWeight * FrequencyClass(Reading, FWordBefore)) +
           (after.empty() || verbForm != 0 ? 0 : kPairWeight * FrequencyClass(after, Reading)) +
           (IsInfinitive(Reading) ? verbForm * kVerbFormWeight : 0) +
           (PossessiveAgreement(Reading, after) + CaseAfterWordsBefore(Reading, FClause, IsNounInIe(Reading))) * kVerbFormWeight;
  };
  // In a text that leaves its soft signs out, a reading with one is as good as one without.
  const bool leftOut = FSoftSignsLeftOut >= kEvidenceCount;
  std::string best = Found;
  int bestScore = frequency(Found);
  const bool name = Word.size() >= 2 && IsCapital(static_cast<unsigned char>(Word[0])) &&
                    IsSmall(static_cast<unsigned char>(Word[1]));
  for (bool later = false; !FSchema->Done && !(later && FSoftSignsWritten); FSchema->NextStep(), later = true) {
    std::vector<std::string> variants;
    std::string direct;
    FSchema->NamePass = name;
    FAllVariants = true;
    ApplyRules(Word, variants, direct);
    FAllVariants = false;
    FSchema->NamePass = false;
    if (!later && !name && Word.size() >= kEvidenceLength) {
      // A word that only one reading of the first step makes valid shows how this text writes
      // its letters (nothing to learn when it takes the first reading of every group). A
      // capitalised word may be a name read as a rare word ("Torri" as "Торры"): it teaches nothing.
      const size_t found = std::find(variants.begin(), variants.end(), Found) - variants.begin();
      if (found < variants.size() && !FVariantReadings[found].empty()) {
        size_t valid = 0;
        for (size_t i = 0; i < variants.size() && valid < 2; ++i)
          if (IsValidForScheme(*FSchema, variants[i])) ++valid;
        if (valid == 1) {
          const std::set<std::string> readings(FVariantReadings[found].begin(), FVariantReadings[found].end());
          for (const std::string& reading : readings) ++FSeenReadings[reading];
        }
      }
    }
    for (size_t i = 0; i < variants.size(); ++i) {
      const std::string& v = variants[i];
      if (!later && v == Found) bestScore = frequency(v) - kRankWeight * FVariantRanks[i];
      // The frequency first: the dictionary is asked only about a reading that would win.
      const int score = frequency(v) - kRankWeight * FVariantRanks[i] - (later && !leftOut ? kClearlyMore : 0);
      if (score > bestScore && v != best && IsValidForScheme(*FSchema, v)) {
        best = v;
        bestScore = score;
      }
    }
  }
  return best;
}

int TQGrammar::PartsFrequencyClass(const std::string& Word) const {
  if (Word.find('-') == std::string::npos) return FrequencyClass(Word);
  const TQLanguage* language = SchemeLanguage();
  if (language == nullptr) return 0;
  int sum = 0;
  for (size_t start = 0, end = 0; start < Word.size(); start = end + 1) {
    end = std::min(Word.find('-', start), Word.size());
    const std::string part = Word.substr(start, end - start);
    if (part.empty()) continue;
    int frequency = FrequencyClass(part);
    if (frequency == 0) {
      const std::string name = NameKey(part, language->Lcid());
      if (!name.empty()) frequency = language->Frequencies().ClassOf(name);
    }
    sum += frequency;
  }
  return sum;
}

int TQGrammar::ExpectedVerbForm(const std::string& After) const {
  // Words after which an infinitive follows (modal words and verbs that take one, "чем" of a
  // comparison: "молчать, чем говорить"), and subjects of a finite form.
  static constexpr Cp1251Literal kInfinitiveWords(
      u8"должен должна должно должны могу можешь может можем можете могут мог могла могло могли смогу сможешь "
      "сможет сможем сможете смогут хочу хочешь хочет хотим хотите хотят хотел хотела хотели хочется хотелось "
      "буду будешь будет будем будете будут можно нужно надо нельзя необходимо невозможно нечего некогда незачем "
      "следует пора умею умеешь умеет умеем умеете умеют начал начала начали начинает начинают стал стала стали "
      "перестал перестала перестали перестает перестают чтобы чтоб пытается пытаются пытался пыталась позволяет "
      "позволяют приходится придется способен способна способны готов готова готовы учиться научиться решил "
      "решила решили собирается нечем вправе учит учат научите научились чем важно обязательно");
  static const std::set<std::string> kWantInfinitive = WordSet(kInfinitiveWords);
  static constexpr Cp1251Literal kSubjectWords(u8"он она оно они кто пусть сам сама сами");
  static const std::set<std::string> kSubjects = WordSet(kSubjectWords);
  // Words that may stand between without changing that ("может не заметить", "нечем их угостить").
  static constexpr Cp1251Literal kBetweenWords(u8"не ли бы же их его ее её им ему ей нам вам мне тебе себя себе");
  static const std::set<std::string> kBetween = WordSet(kBetweenWords);
  int seen = 0;
  for (auto it = FClause.rbegin(); it != FClause.rend() && seen < 2; ++it) {
    if (kBetween.count(*it) != 0) continue;
    if (kSubjects.count(*it) != 0) return -1;
    if (kWantInfinitive.count(*it) != 0) return 1;
    ++seen;
  }
  // A word after that wants the verb as its subject ("верить можно").
  static constexpr Cp1251Literal kAfterWords(u8"можно нельзя нужно надо необходимо невозможно");
  static const std::set<std::string> kAfter = WordSet(kAfterWords);
  return kAfter.count(CyrLowerCase(After)) != 0 ? 1 : 0;
}

std::string TQGrammar::WithWrittenYo(const std::string& Reading) const {
  // More than seven times in ten: the class of those written with "ё" is near that of all.
  constexpr int kYoMargin = 2;
  const TQLanguage* language = SchemeLanguage();
  if (language == nullptr || language->Lcid() != LANG_RUSSIAN) return Reading;
  const TWordFrequencies& frequencies = language->Frequencies();
  const int all = frequencies.ClassOf(FrequencyKey(Reading, LANG_RUSSIAN));
  // A name the dictionaries lack is counted as written: the spelling with "ё" must be the more frequent.
  const std::string nameKey = all > 0 ? std::string() : NameKey(Reading, LANG_RUSSIAN);
  const int name = nameKey.empty() ? 0 : frequencies.ClassOf(nameKey);
  for (size_t i = 0; i < Reading.size() && (all > 0 || !nameKey.empty()); ++i) {
    if (Reading[i] != '\xE5' && Reading[i] != '\xC5') continue;
    std::string yo = Reading;
    yo[i] = Reading[i] == '\xE5' ? '\xB8' : '\xA8';
    const int written = frequencies.ClassOf(all > 0 ? YoKey(yo) : NameKey(yo, LANG_RUSSIAN));
    if (all > 0 ? written > 0 && written > all - kYoMargin : written > name) return yo;
  }
  return Reading;
}

int TQGrammar::JoinSpacedLetters(const TStringList& Words, const TStringList& Separators, std::string& Joined) {
  // After the first letter, a digit that may stand for a letter ("р а 6 с т в о") is one too.
  auto letterLike = [](const std::string& Word) { return IsOneLetter(Word) || Word == "0" || Word == "3" || Word == "6"; };
  std::vector<std::string> letters{Words[0]};
  while (static_cast<int>(letters.size()) < Words.Count() && Separators[letters.size() - 1] == " " &&
         letterLike(Words[static_cast<int>(letters.size())]))
    letters.push_back(Words[static_cast<int>(letters.size())]);
  const int count = static_cast<int>(letters.size());
  if (count < 3) return 0;
  auto text = [&](int From, int Length) {
    std::string word;
    for (int i = From; i < From + Length; ++i) word += letters[i];
    return word;
  };
  auto isWord = [&](const std::string& Word) {
    return IsEnglishWord(Word) || IsRussianWord(Word) || (Word.size() > 2 && IsNumberLike(Word));
  };
  // The letters are read as the cheapest row of words: a word the word tests accept (a one-
  // letter word, or three letters or more) costs 2, four letters or more that the rules repair
  // ("В e с ь") 3, and three letters or more that make no word (a spaced name, or one the
  // look-ahead cuts) 2 a letter and 1. "с т е б е с" is "с тебе с", never "стеб" and two stray
  // letters; "E в г е н и й" is one word.
  constexpr int kWord = 2, kRepaired = 3, kNone = 1 << 20;
  const TExecModes quiet = ExecMode | emNoDialog | emSimpleMatch;
  std::vector<int> cost(count + 1, kNone), first(count + 1, 0);
  std::vector<std::string> firstWords(count + 1);
  cost[count] = 0;
  for (int from = count - 1; from >= 0; --from)
    for (int length = count - from; length >= 1; --length) {
      if (length == 2 || (length == 1 && !isWord(letters[from]))) continue;
      std::string word = text(from, length);
      int price = kWord;
      if (length > 1 && !isWord(word)) {
        price = 2 * length + 1;
        if (length >= 4) {
          const std::string saveNext = FNextWord;
          FNextWord = from + length < Words.Count() ? Words[from + length] : std::string();
          if (GetVariants(word, quiet) != wkUnknown) price = kRepaired;
          FNextWord = saveNext;
          FCacheWord.clear();
        }
      }
      if (cost[from + length] + price >= cost[from]) continue;
      cost[from] = cost[from + length] + price;
      first[from] = price > kRepaired ? 0 : length;
      firstWords[from] = std::move(word);
    }
  if (first[0] < 3) return 0;
  Joined = firstWords[0];
  return first[0];
}

std::string TQGrammar::MostFrequentOfStep(const std::string& Word, const std::string& Found, int Margin) {
  std::vector<std::string> variants;
  std::string direct;
  FSchema->NamePass = Word.size() >= 2 && IsCapital(static_cast<unsigned char>(Word[0])) &&
                      IsSmall(static_cast<unsigned char>(Word[1]));
  FAllVariants = true;
  ApplyRules(Word, variants, direct);
  FAllVariants = false;
  FSchema->NamePass = false;
  // The most frequent of the readings that pass the margin.
  std::string best = Found;
  int bestClass = FrequencyClass(Found) + Margin - 1;
  for (const std::string& v : variants) {
    if (v == best || !IsValidForScheme(*FSchema, v)) continue;
    const int cls = FrequencyClass(v);
    if (cls > bestClass) {
      best = v;
      bestClass = cls;
    }
  }
  return best;
}

std::string TQGrammar::FarMoreFrequentReading(const std::string& Word) {
  // A short word in small Cyrillic letters that one of its readings outnumbers 32 times in the
  // prose ("пе" for "не", "па" for "на") is that reading.
  constexpr int kFarMore = 20;
  if (Word.size() > 3 || !AllCyrillic(Word) || !std::all_of(Word.begin(), Word.end(), [](char c) { return IsSmall(static_cast<unsigned char>(c)); }))
    return Word;
  std::string best = Word;
  for (FSchema->ResetSteps(); !FSchema->Done && best == Word; FSchema->NextStep()) best = MostFrequentOfStep(Word, Word, kFarMore);
  return best;
}

std::string TQGrammar::RussianReadingOf(const std::string& Word) {
  const auto known = FRussianReadings.find(Word);
  if (known != FRussianReadings.end()) return known->second;
  // The rules of every step as a word of the pass would meet them, without the debug window.
  // A short search: a word that reads as Russian mostly does so with the first readings.
  constexpr int kProbeSteps = 256;
  const TExecModes mode = ExecMode;
  ExecMode &= ~emDebug;
  FSearchStepLimit = kProbeSteps;
  std::vector<std::string> variants;
  std::string direct, reading;
  for (FSchema->ResetSteps(); !FSchema->Done && reading.empty(); FSchema->NextStep()) {
    FSchema->NamePass = Word.size() >= 2 && IsCapital(static_cast<unsigned char>(Word[0])) && IsSmall(static_cast<unsigned char>(Word[1]));
    ApplyRules(Word, variants, direct);
    FSchema->NamePass = false;
    reading = direct;
    for (size_t i = 0; i < variants.size() && reading.empty(); ++i)
      if (IsValidForScheme(*FSchema, variants[i])) reading = variants[i];
  }
  ExecMode = mode;
  FSearchStepLimit = 0;
  if (FRussianReadings.size() >= kMostRememberedWords) FRussianReadings.clear();
  FRussianReadings.emplace(Word, reading);
  return reading;
}

int TQGrammar::LatinEvidence(const std::string& Word) {
  if (!IsLatinWord(Word)) return 0;
  bool english = IsEnglishWord(Word);
  // Of the short words the English list holds ("de", "st") only the common ones ("it", "we")
  // are English enough to tell.
  if (english && Word.size() <= 2) {
    const TQSpell* spell = Speller();
    const TQLanguage* language = spell != nullptr ? spell->FindLanguage(1033) : nullptr;
    english = language != nullptr && language->IsCommonWord(CyrLowerCase(Word));
  }
  // A word that is both ("privet", "net", "more", "na", "do") tells nothing; nor does a word that
  // is neither (a name, a code, a word of a third language).
  const bool russian = ReadsAsRussian(Word);
  return english == russian ? 0 : russian ? 1 : -1;
}

int TQGrammar::LatinContext(const TStringList& Words, const TStringList& Separators) {
  // In halves: a word of this sentence weighs 2, any other 1, so that an English sentence
  // beside transliterated Russian ones keeps its language, and a sentence that tells nothing
  // (a name) takes that of the sentences around it.
  int russian = 0, english = 0;
  auto count = [&](int Evidence, int Weight) { (Evidence > 0 ? russian : english) += Evidence != 0 ? Weight : 0; };
  bool thisSentence = true;
  for (int i = 0; i < Words.Count() && i <= 6; ++i) {
    count(LatinEvidence(Words[i]), thisSentence ? 2 : 1);
    if (EndsSentence(Separators[i])) thisSentence = false;
  }
  for (const TLatinEvidence& e : FLatinHistory) count(e.Evidence, e.Sentence == FSentence ? 2 : 1);
  // A word of this sentence or two others decide; against the language the pass has clearly met
  // so far it takes four words of this sentence.
  constexpr int kClearLead = 8, kEnough = 2, kEnoughAgainstLead = 8;
  const int leaning = FPassEvidence >= kClearLead ? 1 : FPassEvidence <= -kClearLead ? -1 : 0;
  if (russian >= (leaning < 0 ? kEnoughAgainstLead : kEnough) && russian > english) return 1;
  if (english >= (leaning > 0 ? kEnoughAgainstLead : kEnough) && english > russian) return -1;
  return 0;
}

void TQGrammar::NoteLatinWord(const std::string& Word) {
  const int evidence = LatinEvidence(Word);
  if (evidence == 0) return;
  FLatinHistory.push_back({evidence, FSentence});
  FPassEvidence += evidence;
  if (FLatinHistory.size() > 4) FLatinHistory.erase(FLatinHistory.begin());
}

int TQGrammar::AskUser(int Kind, const std::string& Word, std::string& Replacement) {
  if ((Kind == wkEnglish || Kind == wkRussian) && Replacement != Word) Kind = FSeveralVariants ? wkMultiVar : wkFixed;
  else if (Kind == wkUnknown && FSeveralVariants) Kind = wkMultiVar;
  const bool ask = (ExecMode & emBreakOnEvents) ? FDialog.IsEventEnabled(Kind)
                                                : (ExecMode & emPrompt) && Kind != wkFixed && Kind != wkRussian;
  if (!ask) return Kind;
  // "Add To Dictionary" adds to the speller the engine checks with.
  FDialog.Spell = Speller();
  const int from = std::max(0, FWordStart - 35);
  FDialog.ShowContext(Editor->TextRange(from, std::min(Editor->TextLength(), from + 80)), Word, FWordStart - from);
  if (FDialog.Suggestions.empty()) FDialog.Edit = Replacement;
  else FDialog.Edit = FDialog.Suggestions.front();
  const TAskAnswer answer = FDialog.Ask(Kind);
  // The word tests hold while the dictionaries do: only an added word changes them.
  if (answer == TAskAnswer::AddToDictionary) ForgetWordTests();
  switch (answer) {
    case TAskAnswer::Replace:
    case TAskAnswer::ReplaceAll:
    case TAskAnswer::AddToDictionary:
      // An empty edit means "keep the word", never "delete it".
      if (FDialog.Edit.empty()) {
        Replacement = Word;
        Kind = wkCorrect;
      } else {
        Replacement = FDialog.Edit;
        Kind = wkFixed;
      }
      ApplyDialogOptions();
      break;
    case TAskAnswer::Stop: FStopped = true; break;
    default:
      Replacement = Word;
      Kind = wkCorrect;
      ApplyDialogOptions();
      break;
  }
  return Kind;
}

void TQGrammar::ApplyWordResult(const std::string& Found, std::string Replacement, int Kind) {
  if (Editor->TextRange(FWordStart, FWordEnd) != Found) {
    if ((ExecMode & emDebug) && OnMessage)
      OnMessage(Message("GrammarPositioning",
                        "Positioning failed at offset %d. Please report this error to the developer. Attach the "
                        "text file this error occured in.",
                        {std::to_string(FWordStart)}));
    return;
  }
  if ((ExecMode & emNoDialog) == 0 && !FAnswered) Kind = AskUser(Kind, Found, Replacement);
  const TEventColours& colours = FDialog.Colours;
  if (Kind == wkUnsure || Kind == wkShortened || Kind == wkMultiVar || Kind == wkRussian)
    Editor->SetLanguage(FWordStart, FWordEnd, FSchema->Validator ? FSchema->Validator->Language : 1049);
  else if (Kind == wkEnglish)
    Editor->SetLanguage(FWordStart, FWordEnd, 1033);
  // Colours mark events only: a word that stays as it is keeps the user's colour.
  unsigned colour = 0;
  bool paint = false;
  if (Kind == wkUnsure || Kind == wkUnknown || Kind == wkShortened) {
    colour = colours[Kind];
    paint = true;
  } else if (Replacement != Found && Kind != wkCorrect) {
    Kind = FSeveralVariants ? wkMultiVar : wkFixed;
    colour = Option(goHighlightOnly) ? colours[wkUnknown] : colours[Kind];
    paint = true;
  } else if (Kind == wkEnglish || Kind == wkRussian) {
    Kind = wkCorrect;
  }
  if (Replacement != Found) {
    if (!Option(goHighlightOnly)) {
      Editor->Replace(FWordStart, FWordEnd, Replacement);
      FMarks.Splice(FWordStart, FWordEnd - FWordStart, static_cast<int>(Replacement.size()));
      FOffset += static_cast<int>(Replacement.size()) - static_cast<int>(Found.size());
      FWordEnd = FWordStart + static_cast<int>(Replacement.size());
    }
    ++FChangeCount;
  }
  if (paint) Editor->SetColour(FWordStart, FWordEnd, colour);
  FPreviousReplacement = Replacement;
  constexpr size_t kClauseWords = 5;
  if (FClause.size() == kClauseWords) FClause.erase(FClause.begin());
  FClause.push_back(CyrLowerCase(Replacement));
  if (Kind != wkCorrect && Found != Replacement + "\xFA")
    AddLogEntry(Found, FSeveralVariants ? FVariantText : Replacement, Kind);
}
