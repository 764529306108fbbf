#include "proofing/analyser.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "proofing/change_log.h"
#include "proofing/correction_engine.h"
#include "proofing/word_routines.h"
#include "textcore/cp1251_literal.h"
#include "textcore/cyr_case.h"
#include "textcore/string_routines.h"
#include "textcore/text_utils.h"

namespace {

TCharSet SetOf(std::initializer_list<std::pair<int, int>> Ranges) {
  TCharSet set;
  for (auto [from, to] : Ranges)
    for (int ch = from; ch <= to; ++ch) set.set(ch);
  return set;
}

TCharSet MathSeparators() {
  return SetOf({{0, 0}, {9, 11}, {13, 13}, {32, 32}, {34, 34}, {44, 44}, {59, 59}, {63, 63}, {92, 92}, {96, 96},
                {124, 124}, {147, 151}, {171, 171}, {185, 185}, {187, 187}});
}

TCharSet HtmlSeparators() {
  return SetOf({{0, 0}, {9, 11}, {13, 13}, {32, 32}, {34, 34}, {38, 41}, {44, 44}, {59, 59}, {91, 91}, {93, 93},
                {96, 96}, {123, 125}, {147, 151}, {171, 171}, {187, 187}});
}

bool IsLatin(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsSpacedLetter(const std::string& w) {
  return w.size() == 1 && (IsLatin(static_cast<unsigned char>(w[0])) || IsCyrillicLetter(static_cast<unsigned char>(w[0])));
}
bool Blank(const std::string& s) { return TrimText(s).empty(); }

// Mode 1: a run of signs, digits and at most three Latin letters in a row.
bool IsMathWord(const std::string& w, const std::string& Skip) {
  static constexpr std::string_view kSigns = "#$%&()*+,-.<=>@_\xAC";
  int latinRun = 0, signs = 0;
  bool ok = true;
  // Full stops at the end close a sentence or trail off ("i..."), and at the start they trail in
  // ("...I opyt"): they are no signs.
  std::string_view core = w;
  while (core.size() > 1 && core.back() == '.') core.remove_suffix(1);
  while (core.size() > 1 && core.front() == '.') core.remove_prefix(1);
  for (char c : core) {
    const auto ch = static_cast<unsigned char>(c);
    if (kSigns.find(c) != std::string_view::npos) {
      latinRun = 0;
      ++signs;
    } else if (IsLatin(ch)) {
      if (++latinRun > 3) ok = false;
    } else if (!(ch >= '0' && ch <= '9')) {
      ok = false;
    }
  }
  // A word of letters in brackets ("(ona)") is a word, not a formula.
  const bool bracketedWord = core.size() > 3 && core.front() == '(' && core.back() == ')' && signs == 2 &&
                             std::all_of(core.begin() + 1, core.end() - 1, [](char c) { return IsLatin(static_cast<unsigned char>(c)); });
  if (ok && signs >= 2 && !bracketedWord) return true;
  size_t i = 0;
  while (i < Skip.size()) {
    while (i < Skip.size() && Skip[i] == ' ') ++i;
    const size_t start = i;
    while (i < Skip.size() && Skip[i] != ' ') ++i;
    if (i > start && w.find(Skip.substr(start, i - start)) != std::string::npos) return true;
  }
  const bool closes = !w.empty() && (w.back() == ')' || w.back() == '.');
  // A capital with a full stop is an initial ("G. Malkin"), which the word pass reads.
  if (w.size() == 2 && w.back() == '.' && std::isupper(static_cast<unsigned char>(w[0]))) return false;
  return closes && (w.size() == 2 || (w.size() == 3 && std::isdigit(static_cast<unsigned char>(w[0])) &&
                                      std::isdigit(static_cast<unsigned char>(w[1]))));
}

}  // namespace

TQAnalyser::TQAnalyser(TQGrammar& Engine) : FEngine(Engine) {
  FScanner.Owner = this;
  FScanner.OnWords = &TQAnalyser::ScanWordCallback;
  FScanner.BatchSize = 20;
}

bool TQAnalyser::ScanWordCallback(TObject* Owner, TStringList& Words, TStringList& Separators, int Percent) {
  return static_cast<TQAnalyser*>(Owner)->ScanWord(Words, Separators, Percent);
}

void TQAnalyser::Scan(int Mode) {
  ICorrectionEditor* editor = FEngine.Editor;
  if (editor == nullptr || editor->TextLength() == 0) return;
  FMode = Mode;
  FRemoved = 0;
  FPreviousSep.clear();
  if (Mode == 0) {
    Counted = Valid = Fixed2 = Fixed3 = 0;
    int start = 0, end = 0;
    editor->GetSelection(start, end);
    if (start == end) {
      start = 0;
      end = editor->TextLength();
    }
    RangeStart = start;
    RangeLength = end - start;
    FEngine.FMarks.Set(start, end, emkShadow, false);
    Unrecognised.clear();
    NewWordEntries.clear();
    return;
  }
  const std::string text = editor->TextRange(RangeStart, RangeStart + RangeLength);
  FScanner.SeparatorChars = Mode == 1 ? MathSeparators() : Mode == 2 ? HtmlSeparators() : EngineWordDelimiters();
  FScanner.HtmlAware = (Mode == 2 && text.find("</") != std::string::npos) || text.find("<!-") != std::string::npos;
  FScanner.Scan(text);
  RangeLength -= FRemoved;
}

bool TQAnalyser::Acceptable(const std::string& Word, bool Address) const {
  return (AssumeNoTranslit && FEngine.IsEnglishWord(Word)) || FEngine.IsRussianWord(Word) || IsNumberLike(Word) ||
         Address;
}

bool TQAnalyser::IsAbbreviation(const std::string& w, const std::string& Sep, bool HasNext) const {
  static constexpr Cp1251Literal kShortWords(u8"о уу ю е э т п д г н м");
  static constexpr Cp1251Literal kNotCapitals(u8"ЁЪЫЬ");
  static constexpr Cp1251Literal kConsonants(u8"bcdfghjklmnpqrstvxzбвгджзклмнпрстфхцчшщ");
  if (Sep.empty() || Sep[0] != '.' || w.empty()) return false;
  const std::string padded = " " + std::string(std::string_view(kShortWords)) + " ";
  if (padded.find(" " + w + " ") != std::string::npos) return true;
  const auto first = static_cast<unsigned char>(w[0]);
  if (w.size() == 1 && CyrUpperCase(w) == w && CyrLowerCase(w) != w &&
      std::string_view(kNotCapitals).find(w[0]) == std::string_view::npos && first != 0)
    return true;
  return HasNext && std::string_view(kConsonants).find(w.back()) != std::string_view::npos;
}

std::string TQAnalyser::StripEnding(const std::string& Word) const {
  static constexpr Cp1251Literal kEndings(u8"sаиуыSАИУЫ");
  const TQSchema* schema = FEngine.CurrentScheme();
  const int limit = schema ? schema->LimitDecline : 4;
  if (static_cast<int>(Word.size()) <= limit) return Word;
  std::string w = Word;
  if (std::string_view(kEndings).find(w.back()) != std::string_view::npos) w.pop_back();
  if (!w.empty() && w.back() == '\'') w.pop_back();
  return w;
}

int TQAnalyser::CountOf(const std::string& Word) const {
  const auto found = Candidates.find(Word);
  return found == Candidates.end() ? 0 : found->second;
}

bool TQAnalyser::IsShortened(const std::string& Word) const {
  return std::binary_search(Shortened.begin(), Shortened.end(), Word);
}

bool TQAnalyser::HasCandidates() const {
  return std::any_of(Candidates.begin(), Candidates.end(), [](const auto& c) { return c.second > 0; });
}

void TQAnalyser::DropCandidates(bool SuspectNew, bool PreserveSpecial) {
  for (auto& [word, count] : Candidates) {
    if (count <= 0 || word.empty()) continue;
    const auto first = static_cast<unsigned char>(word[0]);
    bool drop = SuspectNew && !((first >= 'A' && first <= 'Z') || (first >= 0xC0 && first <= 0xDF));
    bool latin = false, cyrillic = false;
    for (char c : word) {
      const auto ch = static_cast<unsigned char>(c);
      if (IsLatin(ch)) latin = true;
      else if (IsCyrillicLetter(ch)) cyrillic = true;
      else if (c != '\'' && c != '\x92' && c != '-') drop = true;
    }
    if (latin && cyrillic) drop = true;
    if (!PreserveSpecial && (word.back() == '\xFA' || word.back() == '\xDA')) drop = true;
    if (drop) count = -count;
  }
}

bool TQAnalyser::ScanWord(TStringList& Words, TStringList& Separators, int Percent) {
  if (FEngine.OnProgress && FEngine.OnProgress(Percent)) {
    FEngine.FStopped = true;
    return true;
  }
  std::string w = Words[0];
  const std::string sep = Separators[0];
  if (Blank(w) && Blank(sep)) return false;
  TEngineMarks& marks = FEngine.FMarks;
  ICorrectionEditor& editor = *FEngine.Editor;
  const TQSchema* schema = FEngine.CurrentScheme();
  int position = TTextScanner::OffsetOf(Words, 0) + RangeStart - FRemoved;
  int end = position + static_cast<int>(w.size());
  const bool hasNext = Words.Count() > 1 && !Blank(Words[1]);
  if (editor.HasOutline(position, end) || (FMode != 2 && marks.Any(position, end, emkShadow))) {
    FPreviousSep = sep;
    return false;
  }
  bool recognised = false, spaced = false, tag = false, address = false, shortened = false, frequent = false;
  bool abbreviation = false;
  int removed = 0;
  if (FMode == 1) {
    recognised = IsMathWord(w, SkipSubstring);
    spaced = (sep.size() >= 2 && sep.find_first_not_of(' ') == std::string::npos && FPreviousSep.size() > 1) ||
             sep.size() > 2 || (Words.Count() > 1 && Words[1].size() > 1);
  } else if (FMode == 2) {
    if (!FPreviousSep.empty() && FPreviousSep.back() == '&' && !w.empty() &&
        (w[0] == '#' || IsLatin(static_cast<unsigned char>(w[0]))))
      recognised = true;
    else if (sep.find('<') != std::string::npos && sep.find('>') != std::string::npos)
      tag = true;
    else if (IsUrlLike(w) || IsFileNameLike(w))
      recognised = address = true;
  } else if (FMode == 4) {
    int count = CountOf(w);
    if (count != 0) {
      recognised = count > 1;
      shortened = !recognised && IsShortened(w);
    } else {
      count = CountOf(StripEnding(w));
      recognised = count > 1;
    }
    frequent = count >= (schema ? schema->NewWordTreshold : 0);
  } else {
    if (FMode != 6) {
      recognised = Acceptable(w, address);
      if (!recognised) {
        std::string t = w;
        while (!t.empty() && std::strchr("'./\x92", t.back()) != nullptr) t.pop_back();
        if (!t.empty() && std::strchr("'/\x92", t[0]) != nullptr) t.erase(0, 1);
        recognised = !t.empty() && Acceptable(t, address);
      }
      if (!recognised && IsSpacedLetter(w) && sep == " ") {
        std::string joined = w;
        int taken = 0;
        while (taken + 1 < Words.Count() && Separators[taken] == " " && IsSpacedLetter(Words[taken + 1])) {
          joined += Words[taken + 1];
          ++taken;
        }
        if (joined.size() > 2 && Acceptable(joined, false)) {
          const int letters = taken + 1;
          const int spanEnd = TTextScanner::OffsetOf(Words, taken) + RangeStart - FRemoved + 1;
          editor.Replace(position, spanEnd, joined);
          marks.Splice(position, spanEnd - position, static_cast<int>(joined.size()));
          for (int i = 0; i < taken; ++i) {
            Words.Delete(1);
            Separators.Delete(0);
          }
          Words.SetStrings(0, joined);
          removed = letters - 1;
          ++Fixed2;
          w = joined;
          end = position + static_cast<int>(w.size());
          recognised = true;
        }
      }
      if (!recognised) {
        size_t p = w.find('-');
        if (p == std::string::npos) p = w.find('\xAD');
        if (p != std::string::npos && p >= 2) {
          const std::string left = w.substr(0, p);
          if (p + 1 == w.size() && hasNext) {
            recognised = std::binary_search(FEngine.FContent.Prefixes.begin(), FEngine.FContent.Prefixes.end(), left) ||
                         std::binary_search(FEngine.FContent.Prefixes.begin(), FEngine.FContent.Prefixes.end(), left + "-");
          } else {
            const std::string right = w.substr(p + 1, 1000);
            recognised = (Acceptable(left, false) && IsNumberLikeWord(right)) ||
                         (Acceptable(right, false) && IsNumberLikeWord(left)) ||
                         (IsNumberLikeWord(left) && IsNumberLikeWord(right));
          }
        }
      }
    }
    if (!recognised) recognised = Acceptable(w, address);
    if (!recognised && FMode != 6) {
      abbreviation = IsAbbreviation(w, sep, hasNext);
      std::string fixed = w;
      if (FixMixedWord(fixed, 0)) {
        editor.Replace(position, end, fixed);
        Words.SetStrings(0, fixed);
        w = fixed;
        ++Fixed2;
        recognised = Acceptable(w, false);
      }
      if (FMode == 3) {
        if (abbreviation || IsNumberLikeWord(w))
          if (!IsShortened(w)) Shortened.insert(std::lower_bound(Shortened.begin(), Shortened.end(), w), w);
        if (auto found = Candidates.find(w); found != Candidates.end()) ++found->second;
        else ++Candidates[StripEnding(w)];
      }
    }
    if (!recognised && !abbreviation && schema != nullptr && FMode != 6) {
      const std::string lower = CyrLowerCase(w);
      for (const std::string& prefix : FEngine.FContent.Prefixes) {
        const std::string key = CyrLowerCase(prefix);
        if (lower.compare(0, key.size(), key) != 0) continue;
        const std::string rest = w.substr(key.size(), 1000);
        // Any key that leaves a valid remainder recognises the word.
        if (static_cast<int>(rest.size()) > schema->LimitPrefix && FEngine.IsValidForScheme(*schema, rest)) {
          recognised = true;
          break;
        }
      }
    }
    if (!recognised && !sep.empty() && !FPreviousSep.empty() && FPreviousSep.back() == '&' && sep[0] == ';' &&
        !w.empty() && w[0] >= 'a' && w[0] <= 'z')
      recognised = true;
  }

  // Marking. Colours are written only where they mark something; the engine's other marks live
  // in its mark store.
  const TEventColours& colours = FEngine.Colours();
  switch (FMode) {
    case 5:
    case 6:
      // Recognised words are counted and left alone afterwards; their colour stays the user's.
      if (recognised && !marks.Any(position, end, emkShadow)) {
        ++(FMode == 5 ? Fixed2 : Fixed3);
        marks.Set(position, end, emkShadow, true);
      } else if (!recognised) {
        Unrecognised.push_back(MakeLogEntry(2, position, false, w, {}));
      }
      break;
    case 4:
      if (recognised || (shortened && FEngine.Option(goDetectShortenedWords))) {
        ++Fixed2;
        if (!recognised) editor.SetColour(position, end, colours[wkShortened]);
        if (!frequent) {
          marks.Set(position, end, emkImprint, true);
          NewWordEntries.push_back(MakeLogEntry(recognised ? 5 : 3, position, true, w, {}));
        }
        marks.Set(position, end, emkShadow, true);
      }
      break;
    case 3:
      ++Counted;
      if (recognised) {
        ++Valid;
        marks.Set(position, end, emkShadow, true);
      }
      break;
    default:
      if (recognised || tag) {
        if (recognised) {
          ++Counted;
          ++Valid;
          marks.Set(position, end, emkShadow, true);
        }
        if (spaced || tag) {
          const int sepStart = TTextScanner::OffsetOf(Separators, 0) + RangeStart - FRemoved;
          marks.Set(sepStart, sepStart + static_cast<int>(sep.size()), TEngineMark(emkShadow | emkEmboss), true);
        }
      }
      break;
  }
  FRemoved += removed;
  FPreviousSep = sep;
  return false;
}
