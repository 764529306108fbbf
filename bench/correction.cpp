// The correction engine on prose it was not tuned on (the held-out part of the word-frequency
// prose): the share of words that de-transliteration restores exactly for six schemes of
// transliteration, the share OCR clean-up restores (by kind of damage), the words an already-correct text loses,
// and the speed on a 1 MB text (bench/data sentences). Everything runs without the dialog.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/rich_edit_control.h"
#include "proofing/correction_editor_adapter.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/text_correction_editor.h"
#include "proofing/text_scanner.h"
#include "proofing/word_routines.h"
#include "textcore/cyr_case.h"
#include "textcore/rich_edit.h"

namespace {

std::vector<std::string> ReadSentences(const char* Name) {
  std::ifstream in(std::string(QM_BENCH_DATA "/") + Name, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) lines.push_back(WideToAnsi(Utf8ToWide(line), 1251));
  return lines;
}

// Held-out prose of the word frequencies (datagen/corpus.py: one unit in ten, never counted):
// the first `Count` lines of 30-300 characters in one script, as code page 1251. `Part` "train"
// reads every tenth line of the counted prose instead: the development lines that rules and
// decisions are tuned on; "counted" every line of the counted prose (for speed only).
std::vector<std::string> HeldOutLines(const char* Language, size_t Count, const char* Part = "test") {
  const size_t stride = std::string(Part) == "train" ? 10 : 1;
  const std::string file = std::string(Part) == "counted" ? "train" : Part;
  size_t seen = 0;
  std::ifstream in(std::string(QM_CORPUS_DIR "/") + Language + "_" + file + ".txt", std::ios::binary);
  const bool russian = std::string(Language) == "ru";
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < Count && std::getline(in, line)) {
    if (line.size() < 30 || line.size() > 300) continue;
    const std::string text = WideToAnsi(Utf8ToWide(line), 1251);
    const bool latin = std::any_of(text.begin(), text.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
    // Characters code page 1251 lacks come out as "?".
    const bool other = std::count(text.begin(), text.end(), '?') != std::count(line.begin(), line.end(), '?');
    if (!other && latin != russian && seen++ % stride == 0) lines.push_back(text);
  }
  return lines;
}

std::string Join(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r";
  return text;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\r', start);
    if (end == std::string::npos) end = Text.size();
    lines.push_back(Text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The schemes of transliteration people use, each written from its published letter table
// (not from the grammar): the Latin spelling of each small Cyrillic letter "а".."я", then "ё".
// Capitals take a capital first letter. The engine is never told which scheme it meets.
enum TScheme { scGost, scIcao, scBgn, scLibrary, scChat, scScientific, kSchemeCount };
const char* const kSchemeNames[kSchemeCount] = {"GOST 7.79 B", "ICAO 9303", "BGN/PCGN", "Library of Congress",
                                                "chat", "scientific"};
const char* const kSchemeLetters[kSchemeCount][33] = {
    // GOST 7.79 system B: x, cz (c before e, i, y, j), shh, '' and ', y', e', yu, ya, yo.
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "j", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "x", "cz", "ch", "sh", "shh", "''", "y'", "'", "e'", "yu", "ya", "yo"},
    // ICAO 9303 (passports): i for й, kh, ts, shch, ie for ъ, ь left out, iu, ia, e for ё.
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "i", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "ie", "y", "", "e", "iu", "ia", "e"},
    // BGN/PCGN: y for й, kh, ts, shch, " and ', yu, ya, ye and yo (ye at a word start and
    // after a vowel or a sign: see SchemeLetter).
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "\"", "y", "'", "e", "yu", "ya", "yo"},
    // Library of Congress without its diacritics: i for й, kh, ts, shch, " and ', iu, ia, e.
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "i", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "\"", "y", "'", "e", "iu", "ia", "e"},
    // Informal chat: the first of each choice of kChatChoices, the rest chosen per word.
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "j", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "h", "c", "4", "6", "sch", "'", "y", "'", "e", "ju", "ja", "jo"},
    // Scientific ASCII: j for й, x for х, c, shh, '' and ', eh, ju, ja, jo.
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "j", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "x", "c", "ch", "sh", "shh", "''", "y", "'", "eh", "ju", "ja", "jo"}};

// Informal writers mix spellings: per word, one of these for the letter (index as above).
const std::map<int, std::vector<std::string>> kChatChoices = {
    {9, {"j", "y"}}, {21, {"h", "x", "kh"}}, {23, {"4", "ch"}}, {24, {"6", "w", "sh"}},
    {30, {"ju", "yu"}}, {31, {"ja", "ya"}}, {32, {"jo", "yo", "e"}}};

int LetterIndex(unsigned char Ch, bool& Capital) {
  Capital = (Ch >= 0xC0 && Ch <= 0xDF) || Ch == 0xA8;
  if (Ch >= 0xE0) return Ch - 0xE0;
  if (Ch >= 0xC0) return Ch - 0xC0;
  if (Ch == 0xB8 || Ch == 0xA8) return 32;
  return -1;
}

bool OneOf(unsigned char Ch, std::string_view Utf8Letters) {
  return Ch != 0 && WideToAnsi(Utf8ToWide(std::string(Utf8Letters)), 1251).find(static_cast<char>(Ch)) != std::string::npos;
}

// The Latin spelling of the small letter `Index` between the small letters Previous and Next
// (0 at a word edge).
std::string SchemeLetter(TScheme Scheme, int Index, unsigned char Previous, unsigned char Next,
                         const std::vector<int>& WordChoices) {
  if (Scheme == scGost && Index == 22 && OneOf(Next, "еиыйэ")) return "c";
  if (Scheme == scBgn && (Index == 5 || Index == 32) && (Previous == 0 || OneOf(Previous, "аеёиоуыэюяйъь")))
    return Index == 5 ? "ye" : "yo";
  if (Scheme == scChat) {
    const auto choices = kChatChoices.find(Index);
    if (choices != kChatChoices.end()) return choices->second[WordChoices[Index] % choices->second.size()];
  }
  return kSchemeLetters[Scheme][Index];
}

std::string Transliterate(const std::string& Text, TScheme Scheme, uint32_t Seed = 1) {
  std::mt19937 random(Seed);
  std::vector<int> choices(33);
  std::string out;
  auto small = [&](size_t i) -> unsigned char {
    bool capital;
    if (i >= Text.size() || LetterIndex(static_cast<unsigned char>(Text[i]), capital) < 0) return 0;
    return static_cast<unsigned char>(CyrLowerCase(Text.substr(i, 1))[0]);
  };
  for (size_t i = 0; i < Text.size(); ++i) {
    bool capital, nextCapital = false;
    const int index = LetterIndex(static_cast<unsigned char>(Text[i]), capital);
    if (index < 0) {
      out += Text[i];
      continue;
    }
    const unsigned char previous = i > 0 ? small(i - 1) : 0;
    if (previous == 0)
      for (int& choice : choices) choice = static_cast<int>(random() % 6);
    std::string latin = SchemeLetter(Scheme, index, previous, small(i + 1), choices);
    // In a word of capitals every letter is capital; else a capital only its first letter.
    if (i + 1 < Text.size()) LetterIndex(static_cast<unsigned char>(Text[i + 1]), nextCapital);
    for (size_t k = 0; k < latin.size(); ++k)
      if (capital && (k == 0 || nextCapital) && latin[k] >= 'a' && latin[k] <= 'z') latin[k] = static_cast<char>(latin[k] - 32);
    out += latin;
  }
  return out;
}

// Kinds of OCR damage, as bits of a character's damage.
enum TDamage : unsigned char { dkLatin = 1, dkShape = 2, dkDigit = 4, dkDrawn = 8, dkBroken = 16, dkSpaced = 32 };
constexpr int kDamageKinds = 6;
const char* const kDamageNames[kDamageKinds] = {"latin", "shape", "digit", "drawn", "broken", "spaced"};

// What OCR made of each character of a text: its damage and the text that stands for it.
struct TDamageRecord {
  std::vector<unsigned char> Kinds;
  std::vector<std::string> Read;
};

// OCR damage made with confusions the grammar is not told about: Latin look-alikes, Cyrillic
// letters read as others of a like shape, letters read as digits or drawn with two characters,
// words broken with "- " at a line end and headings with spaced letters. `Record`, when given,
// receives what became of each character.
std::string DamageOcr(const std::string& Text, std::mt19937& Random, TDamageRecord* Record = nullptr) {
  auto cp = [](const char* Utf8) { return WideToAnsi(Utf8ToWide(Utf8), 1251); };
  static const std::vector<std::pair<std::string, std::vector<std::string>>> kConfusions = [&] {
    std::vector<std::pair<std::string, std::vector<std::string>>> table;
    auto add = [&](const char* From, std::vector<const char*> To) {
      std::vector<std::string> to;
      for (const char* t : To) to.push_back(cp(t));
      table.emplace_back(cp(From), to);
    };
    for (const char* pair : {"аa", "еe", "оo", "рp", "сc", "хx", "уy", "АA", "ВB", "ЕE", "КK", "МM", "НH", "ОO",
                             "РP", "СC", "ТT", "ХX", "кk"}) {
      const std::u16string w = Utf8ToWide(pair);
      table.emplace_back(WideToAnsi(w.substr(0, 1), 1251), std::vector<std::string>{WideToAnsi(w.substr(1), 1251)});
    }
    add("и", {"н", "п", "u"});
    add("н", {"и", "п"});
    add("п", {"и", "н", "л", "n"});
    add("ш", {"щ", "III"});
    add("щ", {"ш", "ц"});
    add("ц", {"щ"});
    add("л", {"п"});
    add("ы", {"ь|", "bI", "bl"});
    add("з", {"3"});
    add("б", {"6"});
    add("о", {"0"});
    add("О", {"0"});
    return table;
  }();
  std::uniform_real_distribution<double> chance(0, 1);
  if (Record != nullptr) *Record = {std::vector<unsigned char>(Text.size()), std::vector<std::string>(Text.size())};
  std::string out;
  size_t i = 0;
  while (i < Text.size()) {
    if (!IsCyrillicLetter(static_cast<unsigned char>(Text[i]))) {
      if (Record != nullptr) Record->Read[i] = Text.substr(i, 1);
      out += Text[i++];
      continue;
    }
    size_t end = i;
    while (end < Text.size() && IsCyrillicLetter(static_cast<unsigned char>(Text[end]))) ++end;
    const std::string word = Text.substr(i, end - i);
    const bool spaced = word.size() >= 4 && chance(Random) < 0.01;
    const size_t breakAt = word.size() >= 6 && chance(Random) < 0.03 ? 2 + Random() % (word.size() - 4) : 0;
    for (size_t k = 0; k < word.size(); ++k) {
      std::string read;
      unsigned char kinds = 0;
      if (spaced && k > 0) {
        read += ' ';
        kinds |= dkSpaced;
      }
      if (breakAt != 0 && k == breakAt) {
        read += "- ";
        kinds |= dkBroken;
      }
      const std::string letter = word.substr(k, 1);
      const auto found = std::find_if(kConfusions.begin(), kConfusions.end(), [&](const auto& c) { return c.first == letter; });
      // Latin look-alikes are frequent, shape confusions rarer.
      const bool latin = found != kConfusions.end() && static_cast<unsigned char>(found->second[0][0]) < 128 &&
                         std::isalpha(static_cast<unsigned char>(found->second[0][0])) && found->second.size() == 1;
      if (found != kConfusions.end() && chance(Random) < (latin ? 0.2 : 0.06)) {
        const std::string& to = found->second[Random() % found->second.size()];
        const auto first = static_cast<unsigned char>(to[0]);
        kinds |= to.size() > 1 ? dkDrawn : std::isdigit(first) ? dkDigit : first < 128 ? dkLatin : dkShape;
        read += to;
      } else {
        read += letter;
      }
      if (Record != nullptr) {
        Record->Kinds[i + k] = kinds;
        Record->Read[i + k] = read;
      }
      out += read;
    }
    i = end;
  }
  return out;
}

constexpr std::string_view kWordBreaks = " ,;:.!?()\xAB\xBB\"\x97";

std::vector<std::string> WordsOf(const std::string& Line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : Line + " ") {
    if (kWordBreaks.find(c) != std::string_view::npos) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return words;
}

// Words of `Expected` found in order in `Actual` (longest common subsequence).
int MatchedWords(const std::vector<std::string>& Expected, const std::vector<std::string>& Actual) {
  std::vector<int> previous(Actual.size() + 1, 0), current(Actual.size() + 1, 0);
  for (size_t i = 1; i <= Expected.size(); ++i) {
    for (size_t j = 1; j <= Actual.size(); ++j)
      current[j] = Expected[i - 1] == Actual[j - 1] ? previous[j - 1] + 1 : std::max(previous[j], current[j - 1]);
    std::swap(previous, current);
  }
  return previous[Actual.size()];
}

std::string WithoutYo(std::string Text) {
  std::replace(Text.begin(), Text.end(), '\xB8', '\xE5');
  std::replace(Text.begin(), Text.end(), '\xA8', '\xC5');
  return Text;
}

TQSpell& Speller() {
  static TQSpell* spell = [] {
    SetProgramFolder(QM_PROGRAM_DIR "/");
    auto* s = new TQSpell();
    s->LoadLanguages(QM_PROGRAM_DIR "/Dict/");
    s->EnableStandardDictionaries();
    return s;
  }();
  return *spell;
}

// Runs a scheme of a grammar without the dialog, in automatic mode, over the editor's text.
void Correct(const char* Grammar, ICorrectionEditor& Editor, int Scheme = 0) {
  TQGrammar engine;
  engine.Spell = &Speller();
  engine.GrammarFile = Grammar;
  engine.ExecMode = emNoDialog;
  engine.LoadGrammar();
  engine.Dialog().Automatic = true;
  engine.SelectScheme(Scheme);
  engine.Editor = &Editor;
  engine.Execute();
}

std::string Correct(const char* Grammar, const std::string& Text, int Scheme = 0) {
  TTextCorrectionEditor editor(Text);
  Correct(Grammar, editor, Scheme);
  return editor.Text();
}

struct TScore {
  int Words = 0, Exact = 0, ExactIgnoringYo = 0;
};

// The words of the corrected text compared with the original as one sequence, so that words
// joined across a line end do not shift the rest.
TScore Compare(const std::vector<std::string>& Expected, const std::string& Output) {
  std::vector<std::string> want, got;
  for (const std::string& line : Expected)
    for (std::string& word : WordsOf(line)) want.push_back(std::move(word));
  for (const std::string& line : SplitLines(Output))
    for (std::string& word : WordsOf(line)) got.push_back(std::move(word));
  TScore score;
  score.Words = static_cast<int>(want.size());
  score.Exact = MatchedWords(want, got);
  for (auto* words : {&want, &got})
    for (std::string& word : *words) word = WithoutYo(word);
  score.ExactIgnoringYo = MatchedWords(want, got);
  return score;
}

// A word of a text with what OCR made of it: its kinds of damage and its damaged text.
struct TDamagedWord {
  std::string Word, Read;
  unsigned char Kinds = 0;
};

std::vector<TDamagedWord> DamagedWords(const std::string& Text, const TDamageRecord& Record) {
  std::vector<TDamagedWord> words;
  TDamagedWord word;
  for (size_t i = 0; i <= Text.size(); ++i) {
    if (i == Text.size() || Text[i] == '\r' || kWordBreaks.find(Text[i]) != std::string_view::npos) {
      if (!word.Word.empty()) words.push_back(word);
      word = {};
    } else {
      word.Word += Text[i];
      word.Read += Record.Read[i];
      word.Kinds |= Record.Kinds[i];
    }
  }
  return words;
}

// For each word of Expected, the index of the word of Actual it is matched with in a longest
// common subsequence, or -1. One bit per pair of words remembers the way back.
std::vector<int> Alignment(const std::vector<std::string>& Expected, const std::vector<std::string>& Actual) {
  std::map<std::string, int> ids;
  auto idsOf = [&](const std::vector<std::string>& Words) {
    std::vector<int> out;
    for (const std::string& w : Words) out.push_back(ids.emplace(w, static_cast<int>(ids.size())).first->second);
    return out;
  };
  const std::vector<int> a = idsOf(Expected), b = idsOf(Actual);
  const size_t n = a.size(), m = b.size();
  std::vector<uint64_t> up((n * m + 63) / 64);
  std::vector<int> previous(m + 1, 0), current(m + 1, 0);
  for (size_t i = 1; i <= n; ++i) {
    for (size_t j = 1; j <= m; ++j) {
      if (a[i - 1] == b[j - 1]) {
        current[j] = previous[j - 1] + 1;
      } else if (previous[j] >= current[j - 1]) {
        current[j] = previous[j];
        const size_t bit = (i - 1) * m + (j - 1);
        up[bit / 64] |= uint64_t{1} << (bit % 64);
      } else {
        current[j] = current[j - 1];
      }
    }
    std::swap(previous, current);
  }
  std::vector<int> matched(n, -1);
  for (size_t i = n, j = m; i > 0 && j > 0;) {
    const size_t bit = (i - 1) * m + (j - 1);
    if (a[i - 1] == b[j - 1]) matched[--i] = static_cast<int>(--j);
    else if (up[bit / 64] >> (bit % 64) & 1) --i;
    else --j;
  }
  return matched;
}

// The output words that stand where word I of `Matched` (an alignment, see above) was missed:
// those between the output words of its matched neighbours, `LastMatched` the one before it.
std::string WordsInPlaceOf(const std::vector<int>& Matched, size_t I, int LastMatched, const std::vector<std::string>& Got) {
  size_t next = I + 1;
  while (next < Matched.size() && Matched[next] < 0) ++next;
  const int until = next < Matched.size() ? Matched[next] : static_cast<int>(Got.size());
  std::string result;
  for (int j = LastMatched + 1; j < until && j < LastMatched + 6; ++j) result += (result.empty() ? "" : " ") + Got[j];
  return result;
}

// The share of words restored for each kind of damage and of undamaged words kept; with
// `ShowMisses` the first misses of each kind go to the error stream as "word <- read -> result".
void ReportDamage(benchmark::State& State, const std::vector<TDamagedWord>& Words, const std::string& Output, bool ShowMisses) {
  std::vector<std::string> want, got;
  for (const TDamagedWord& word : Words) want.push_back(word.Word);
  for (const std::string& line : SplitLines(Output))
    for (std::string& word : WordsOf(line)) got.push_back(std::move(word));
  const std::vector<int> matched = Alignment(want, got);
  int total[kDamageKinds + 1] = {}, right[kDamageKinds + 1] = {}, shown[kDamageKinds + 1] = {};
  int lastMatched = -1;
  for (size_t i = 0; i < Words.size(); ++i) {
    if (matched[i] >= 0) lastMatched = matched[i];
    for (int k = 0; k <= kDamageKinds; ++k) {
      const bool counts = k == kDamageKinds ? Words[i].Kinds == 0 : (Words[i].Kinds >> k & 1) != 0;
      if (!counts) continue;
      ++total[k];
      if (matched[i] >= 0) {
        ++right[k];
        continue;
      }
      if (!ShowMisses || shown[k]++ >= 40) continue;
      const std::string result = WordsInPlaceOf(matched, i, lastMatched, got);
      fprintf(stderr, "%s: %s <- %s -> %s\n", k == kDamageKinds ? "undamaged" : kDamageNames[k], AnsiToUtf8(Words[i].Word).c_str(),
              AnsiToUtf8(Words[i].Read).c_str(), AnsiToUtf8(result).c_str());
    }
  }
  for (int k = 0; k <= kDamageKinds; ++k) {
    const std::string name = k == kDamageKinds ? "undamaged" : kDamageNames[k];
    State.counters[name + "_words"] = total[k];
    State.counters[name + "_%"] = 100.0 * right[k] / std::max(total[k], 1);
  }
}

void Report(benchmark::State& State, const TScore& Score) {
  State.counters["words"] = Score.Words;
  State.counters["right_%"] = 100.0 * Score.Exact / std::max(Score.Words, 1);
  State.counters["right_ignoring_yo_%"] = 100.0 * Score.ExactIgnoringYo / std::max(Score.Words, 1);
}

// Calls Visit(word, matched, placed) for each word of `Expected`: whether `Output` has it where
// it belongs and, when not, the output words that stand where it stood.
template <class F> void ForEachExpectedWord(const std::vector<std::string>& Expected, const std::string& Output, F Visit) {
  std::vector<std::string> want, got;
  for (const std::string& line : Expected)
    for (std::string& word : WordsOf(line)) want.push_back(std::move(word));
  for (const std::string& line : SplitLines(Output))
    for (std::string& word : WordsOf(line)) got.push_back(std::move(word));
  const std::vector<int> matched = Alignment(want, got);
  int lastMatched = -1;
  for (size_t i = 0; i < want.size(); ++i) {
    if (matched[i] >= 0) {
      lastMatched = matched[i];
      Visit(want[i], true, std::string());
      continue;
    }
    Visit(want[i], false, WordsInPlaceOf(matched, i, lastMatched, got));
  }
}

// Calls Visit(word, placed) for each word of `Expected` that `Output` lacks.
template <class F> void ForEachMissingWord(const std::vector<std::string>& Expected, const std::string& Output, F Visit) {
  ForEachExpectedWord(Expected, Output, [&](const std::string& word, bool matched, const std::string& placed) {
    if (!matched) Visit(word, placed);
  });
}

// The words of `Expected` that the output misses, as "word <- written -> result" on the error
// stream: the written form is the word in `Scheme`, the result the output words where it stood.
void ListMisses(const std::vector<std::string>& Expected, const std::string& Output, TScheme Scheme) {
  ForEachMissingWord(Expected, Output, [Scheme](const std::string& word, const std::string& placed) {
    fprintf(stderr, "%s: %s <- %s -> %s\n", kSchemeNames[Scheme], AnsiToUtf8(word).c_str(),
            AnsiToUtf8(Transliterate(word, Scheme)).c_str(), AnsiToUtf8(placed).c_str());
  });
}

// De-transliteration of held-out prose written in each scheme (range(1) 0), or of development
// lines of the counted prose (range(1) 1), whose misses are listed on the error stream; the
// engine runs its first scheme whatever the scheme.
void BM_Detransliteration(benchmark::State& State) {
  const bool development = State.range(1) == 1;
  const std::vector<std::string> sentences = HeldOutLines("ru", 1500, development ? "train" : "test");
  const auto scheme = static_cast<TScheme>(State.range(0));
  const std::string input = Transliterate(Join(sentences), scheme);
  TScore score;
  std::string output;
  for (auto _ : State) {
    output = Correct("translit.qg", input);
    score = Compare(sentences, output);
  }
  Report(State, score);
  if (development) ListMisses(sentences, output, scheme);
  State.SetLabel(std::string(kSchemeNames[scheme]) + (development ? ", development" : ", held-out"));
}
BENCHMARK(BM_Detransliteration)->ArgsProduct({benchmark::CreateDenseRange(0, kSchemeCount - 1, 1), {0, 1}})->Iterations(1)->Unit(benchmark::kMillisecond);

// OCR clean-up of held-out prose (range 0), or of development lines of the counted prose
// (range 1), whose misses are listed on the error stream.
void BM_OcrCleanUp(benchmark::State& State) {
  const bool development = State.range(0) == 1;
  const std::vector<std::string> sentences = HeldOutLines("ru", 1500, development ? "train" : "test");
  std::mt19937 random(1);
  TDamageRecord record;
  const std::string source = Join(sentences);
  const std::string input = DamageOcr(source, random, &record);
  TScore score;
  std::string output;
  for (auto _ : State) {
    output = Correct("ocrclean.qg", input);
    score = Compare(sentences, output);
  }
  Report(State, score);
  State.counters["damaged_words_%"] = 100.0 - 100.0 * Compare(sentences, input).Exact / std::max(score.Words, 1);
  ReportDamage(State, DamagedWords(source, record), output, development);
  State.SetLabel(development ? "development" : "held-out");
}
BENCHMARK(BM_OcrCleanUp)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// The words of `Expected` that `Output` lost, each as "word -> what stands in its place" on the
// error stream.
void ListLostWords(const std::vector<std::string>& Expected, const std::string& Output) {
  ForEachMissingWord(Expected, Output, [](const std::string& word, const std::string& placed) {
    fprintf(stderr, "lost: %s -> %s\n", AnsiToUtf8(word).c_str(), AnsiToUtf8(placed).c_str());
  });
}

// Correct Russian and English held-out prose through both grammars: the share of words kept.
// Range 2 set: development lines of the counted prose instead, with the lost words listed.
void BM_CorrectTextKept(benchmark::State& State) {
  const char* grammar = State.range(0) == 0 ? "translit.qg" : "ocrclean.qg";
  const bool development = State.range(2) == 1;
  const std::vector<std::string> sentences = HeldOutLines(State.range(1) == 0 ? "ru" : "en", 1500, development ? "train" : "test");
  TScore score;
  std::string output;
  for (auto _ : State) {
    output = Correct(grammar, Join(sentences));
    score = Compare(sentences, output);
  }
  Report(State, score);
  if (development) ListLostWords(sentences, output);
  State.SetLabel(development ? "development" : "held-out");
}
BENCHMARK(BM_CorrectTextKept)
    ->ArgsProduct({{0, 1}, {0, 1}, {0}})
    ->ArgsProduct({{0, 1}, {0, 1}, {1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Paragraphs of an English sentence and a transliterated Russian one (range(0) the scheme), in
// turn one and the other first, from held-out lines (range(1) 0) or development lines of the
// counted prose (range(1) 1, the words lost or missed listed): the share of English words kept
// and of Russian words restored.
void BM_MixedParagraphs(benchmark::State& State) {
  const auto scheme = static_cast<TScheme>(State.range(0));
  const bool development = State.range(1) == 1;
  const char* part = development ? "train" : "test";
  // Lines that end a sentence: one that does not (an attribution, a title) stands on a line of
  // its own in real text.
  auto sentences = [&](const char* Language) {
    std::vector<std::string> lines = HeldOutLines(Language, 1000, part);
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const std::string& Line) { return std::strchr(".!?", Line.back()) == nullptr; }),
                lines.end());
    return lines;
  };
  const std::vector<std::string> english = sentences("en"), russian = sentences("ru");
  std::vector<std::string> expected;
  std::string input;
  for (size_t i = 0; i < std::min(english.size(), russian.size()); ++i) {
    const std::string latin = Transliterate(russian[i], scheme, static_cast<uint32_t>(i + 1));
    expected.push_back(i % 2 ? english[i] + " " + russian[i] : russian[i] + " " + english[i]);
    input += (i % 2 ? english[i] + " " + latin : latin + " " + english[i]) + "\r";
  }
  std::string output;
  for (auto _ : State) output = Correct("translit.qg", input);
  int total[2] = {}, right[2] = {};  // English, Russian
  ForEachExpectedWord(expected, output, [&](const std::string& word, bool matched, const std::string& placed) {
    const bool cyrillic = std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xC0; });
    ++total[cyrillic];
    right[cyrillic] += matched;
    if (development && !matched)
      fprintf(stderr, "%s: %s -> %s\n", cyrillic ? "missed" : "lost", AnsiToUtf8(word).c_str(), AnsiToUtf8(placed).c_str());
  });
  State.counters["english_words"] = total[0];
  State.counters["english_kept_%"] = 100.0 * right[0] / std::max(total[0], 1);
  State.counters["russian_words"] = total[1];
  State.counters["russian_right_%"] = 100.0 * right[1] / std::max(total[1], 1);
  State.SetLabel(std::string(kSchemeNames[scheme]) + (development ? ", development" : ", held-out"));
}
BENCHMARK(BM_MixedParagraphs)->ArgsProduct({{scGost, scIcao, scChat}, {0, 1}})->Iterations(1)->Unit(benchmark::kMillisecond);

// The analyser's HTML-aware scanner over one tag of range(0) thousand quoted values and no "<"
// after it.
void BM_ScanQuotesInATag(benchmark::State& State) {
  std::string text = "<a";
  for (int64_t i = 0; i < State.range(0) * 1000; ++i) text += " v=\"x\"";
  text += "> word";
  int words = 0;
  for (auto _ : State) {
    TTextScanner scanner;
    scanner.HtmlAware = true;
    scanner.OnWords = [](TObject* Owner, TStringList&, TStringList&, int) {
      ++*reinterpret_cast<int*>(Owner);
      return false;
    };
    scanner.Owner = reinterpret_cast<TObject*>(&words);
    scanner.Scan(text);
  }
  State.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ScanQuotesInATag)->Arg(20)->Arg(80)->Iterations(1)->Unit(benchmark::kMillisecond);

// Words per second on about 1 MB of text.
void BM_Speed(benchmark::State& State) {
  const std::vector<std::string> sentences = ReadSentences("ru_sentences.txt");
  std::string source = Join(sentences);
  const bool ocr = State.range(0) == 1;
  std::mt19937 random(2);
  const std::string block = ocr ? DamageOcr(source, random) : Transliterate(source, scChat);
  std::string text;
  while (text.size() < 1'000'000) text += block;
  int words = 0;
  for (const std::string& line : SplitLines(text)) words += static_cast<int>(WordsOf(line).size());
  for (auto _ : State) benchmark::DoNotOptimize(Correct(ocr ? "ocrclean.qg" : "translit.qg", text));
  State.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
  State.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_Speed)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// De-transliteration of prose that does not repeat (the development lines of the counted prose,
// about 140 KB, chat scheme), where words recur only as often as in real text.
void BM_SpeedOnDistinctProse(benchmark::State& State) {
  std::vector<std::string> sentences = HeldOutLines("ru", 1'000'000, "train");
  std::string text;
  for (const std::string& line : sentences) {
    if (text.size() >= 1'000'000) break;
    text += line + "\r";
  }
  text = Transliterate(text, scChat);
  int words = 0;
  for (const std::string& line : SplitLines(text)) words += static_cast<int>(WordsOf(line).size());
  for (auto _ : State) benchmark::DoNotOptimize(Correct("translit.qg", text));
  State.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
  State.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_SpeedOnDistinctProse)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same on the rich text control, for a text of range(1) kilobytes.
void BM_SpeedOnRichText(benchmark::State& State) {
  const std::vector<std::string> sentences = ReadSentences("ru_sentences.txt");
  const bool ocr = State.range(0) == 1;
  std::mt19937 random(2);
  const std::string block = ocr ? DamageOcr(Join(sentences), random) : Transliterate(Join(sentences), scChat);
  std::string text;
  while (static_cast<int64_t>(text.size()) < State.range(1) * 1000) text += block;
  int words = 0;
  for (const std::string& line : SplitLines(text)) words += static_cast<int>(WordsOf(line).size());
  for (auto _ : State) {
    State.PauseTiming();
    TRichEditW edit(nullptr);
    edit.Control().SetText(AnsiToWide(text, 1251));
    TRichEditCorrectionEditor editor(edit);
    State.ResumeTiming();
    Correct(ocr ? "ocrclean.qg" : "translit.qg", editor);
  }
  State.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SpeedOnRichText)->Args({0, 1000})->Args({1, 1000})->Iterations(1)->Unit(benchmark::kMillisecond);

// Answers every question of the correction window at once: "Replace All" with the suggestion and
// "Skip All" in turn.
class TAnswerAllView : public IAskView {
public:
  bool ShowOptionsPage(TAskDialog&) override { return true; }
  TAskAnswer ShowConfirmPage(TAskDialog&, int) override { return ++Questions % 2 ? TAskAnswer::ReplaceAll : TAskAnswer::SkipAll; }
  int Questions = 0;
};

// De-transliteration asking about every converted word, on range(0) kilobytes of the counted
// prose (GOST): each word is asked once, its later occurrences in any letter case come from the
// answers, so the answer memory grows to every distinct word asked.
void BM_SpeedWithRememberedAnswers(benchmark::State& State) {
  const std::string block = Transliterate(Join(HeldOutLines("ru", 1'000'000, "counted")), scGost);
  std::string text;
  while (static_cast<int64_t>(text.size()) < State.range(0) * 1000) text += block;
  text.resize(State.range(0) * 1000);
  int words = 0;
  for (const std::string& line : SplitLines(text)) words += static_cast<int>(WordsOf(line).size());
  int questions = 0;
  for (auto _ : State) {
    TAnswerAllView view;
    TTextCorrectionEditor editor(text);
    TQGrammar engine(&view);
    engine.Spell = &Speller();
    engine.GrammarFile = "translit.qg";
    engine.ExecMode = emBreakOnEvents;
    engine.LoadGrammar();
    engine.Dialog().ShowOptions();
    engine.SelectScheme(0);
    engine.Editor = &editor;
    engine.Execute();
    questions = view.Questions;
  }
  State.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
  State.counters["questions"] = questions;
}
BENCHMARK(BM_SpeedWithRememberedAnswers)->Arg(250)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
