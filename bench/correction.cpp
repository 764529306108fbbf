// The correction engine on real Russian sentences (bench/data, taken from Debian's Russian
// manual pages): the share of words that de-transliteration restores exactly for three styles
// of transliteration, the share OCR clean-up restores from look-alike damage, the words an
// already-correct text loses, and the speed on a 1 MB text. Everything runs without the dialog.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/text_correction_editor.h"
#include "proofing/word_routines.h"
#include "textcore/cyr_case.h"

namespace {

std::vector<std::string> ReadSentences(const char* Name) {
  std::ifstream in(std::string(QM_BENCH_DATA "/") + Name, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) lines.push_back(WideToAnsi(Utf8ToWide(line), 1251));
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

// The styles of transliteration: the Latin spelling of each small Cyrillic letter "а".."я",
// then "ё".
enum TStyle { stGost, stPassport, stInformal };
const char* const kStyleLetters[3][33] = {
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "jj", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "kh", "c", "ch", "sh", "shh", "''", "y", "'", "eh", "ju", "ja", "jo"},
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "", "y", "", "e", "yu", "ya", "e"},
    {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p", "r",
     "s", "t", "u", "f", "h", "c", "4", "6", "sch", "'", "y", "'", "e", "yu", "ya", "yo"}};

std::string Transliterate(const std::string& Text, TStyle Style) {
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    const auto ch = static_cast<unsigned char>(Text[i]);
    int index = -1;
    bool capital = false;
    if (ch >= 0xE0) index = ch - 0xE0;
    else if (ch >= 0xC0) index = ch - 0xC0, capital = true;
    else if (ch == 0xB8) index = 32;
    else if (ch == 0xA8) index = 32, capital = true;
    if (index < 0) {
      out += Text[i];
      continue;
    }
    std::string latin = kStyleLetters[Style][index];
    if (capital && !latin.empty() && latin[0] >= 'a' && latin[0] <= 'z') latin[0] = static_cast<char>(latin[0] - 32);
    out += latin;
  }
  return out;
}

// Look-alike damage as OCR leaves it: Latin letters and digits for Cyrillic letters, and words
// broken with a hyphen and a blank.
std::string DamageOcr(const std::string& Text, std::mt19937& Random) {
  static const std::map<char, std::string> kLookAlikes = {
      {'\xE0', "a"}, {'\xE5', "e"}, {'\xEE', "o"}, {'\xF0', "p"}, {'\xF1', "c"}, {'\xF5', "x"}, {'\xF3', "y"},
      {'\xC0', "A"}, {'\xC2', "B"}, {'\xC5', "E"}, {'\xCA', "K"}, {'\xCC', "M"}, {'\xCD', "H"}, {'\xCE', "O"},
      {'\xD0', "P"}, {'\xD1', "C"}, {'\xD2', "T"}, {'\xD5', "X"}, {'\xE7', "3"}, {'\xE1', "6"}, {'\xFB', "bI"},
      {'\xF8', "III"}, {'\xE8', "u"}, {'\xEF', "n"}};
  std::uniform_real_distribution<double> chance(0, 1);
  std::string out;
  size_t wordStart = 0;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (!IsCyrillicLetter(static_cast<unsigned char>(c))) wordStart = i + 1;
    const bool inside = i > wordStart && i + 1 < Text.size() && IsCyrillicLetter(static_cast<unsigned char>(Text[i + 1]));
    const auto found = kLookAlikes.find(c);
    const bool digit = found != kLookAlikes.end() && found->second[0] >= '0' && found->second[0] <= '9';
    if (found != kLookAlikes.end() && (!digit || inside) && chance(Random) < 0.2) out += found->second;
    else out += c;
    // A word broken at a line end, at least two letters on either side.
    size_t wordEnd = i;
    while (wordEnd < Text.size() && IsCyrillicLetter(static_cast<unsigned char>(Text[wordEnd]))) ++wordEnd;
    if (i - wordStart == 3 && wordEnd - i >= 3 && chance(Random) < 0.03) out += "- ";
  }
  return out;
}

std::vector<std::string> WordsOf(const std::string& Line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : Line + " ") {
    if (std::string_view(" ,;:.!?()\xAB\xBB\"\x97").find(c) != std::string_view::npos) {
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

// Runs a scheme of a grammar without the dialog, in automatic mode, over the text.
std::string Correct(const char* Grammar, const std::string& Text, int Scheme = 0) {
  TQGrammar engine;
  engine.Spell = &Speller();
  engine.GrammarFile = Grammar;
  engine.ExecMode = emNoDialog;
  engine.LoadGrammar();
  engine.Dialog().Automatic = true;
  engine.SelectScheme(Scheme);
  TTextCorrectionEditor editor(Text);
  engine.Editor = &editor;
  engine.Execute();
  return editor.Text;
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

void Report(benchmark::State& State, const TScore& Score) {
  State.counters["words"] = Score.Words;
  State.counters["right_%"] = 100.0 * Score.Exact / std::max(Score.Words, 1);
  State.counters["right_ignoring_yo_%"] = 100.0 * Score.ExactIgnoringYo / std::max(Score.Words, 1);
}

void BM_Detransliteration(benchmark::State& State) {
  const std::vector<std::string> sentences = ReadSentences("ru_sentences.txt");
  const std::string input = Transliterate(Join(sentences), static_cast<TStyle>(State.range(0)));
  TScore score;
  // The passport style has its own scheme ("Type of text" in the dialog).
  const int scheme = State.range(0) == stPassport ? 1 : 0;
  for (auto _ : State) score = Compare(sentences, Correct("translit.qg", input, scheme));
  Report(State, score);
}
BENCHMARK(BM_Detransliteration)->Arg(stGost)->Arg(stPassport)->Arg(stInformal)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OcrCleanUp(benchmark::State& State) {
  const std::vector<std::string> sentences = ReadSentences("ru_sentences.txt");
  std::mt19937 random(1);
  const std::string input = DamageOcr(Join(sentences), random);
  TScore score;
  for (auto _ : State) score = Compare(sentences, Correct("ocrclean.qg", input));
  Report(State, score);
  State.counters["damaged_words_%"] = 100.0 - 100.0 * Compare(sentences, input).Exact / std::max(score.Words, 1);
}
BENCHMARK(BM_OcrCleanUp)->Iterations(1)->Unit(benchmark::kMillisecond);

// Correct Russian and English text through both grammars: the share of words kept as they were.
void BM_CorrectTextKept(benchmark::State& State) {
  const char* grammar = State.range(0) == 0 ? "translit.qg" : "ocrclean.qg";
  const std::vector<std::string> sentences = ReadSentences(State.range(1) == 0 ? "ru_sentences.txt" : "en_sentences.txt");
  TScore score;
  for (auto _ : State) score = Compare(sentences, Correct(grammar, Join(sentences)));
  Report(State, score);
}
BENCHMARK(BM_CorrectTextKept)->ArgsProduct({{0, 1}, {0, 1}})->Iterations(1)->Unit(benchmark::kMillisecond);

// Words per second on about 1 MB of text.
void BM_Speed(benchmark::State& State) {
  const std::vector<std::string> sentences = ReadSentences("ru_sentences.txt");
  std::string source = Join(sentences);
  const bool ocr = State.range(0) == 1;
  std::mt19937 random(2);
  const std::string block = ocr ? DamageOcr(source, random) : Transliterate(source, stInformal);
  std::string text;
  while (text.size() < 1'000'000) text += block;
  int words = 0;
  for (const std::string& line : SplitLines(text)) words += static_cast<int>(WordsOf(line).size());
  for (auto _ : State) benchmark::DoNotOptimize(Correct(ocr ? "ocrclean.qg" : "translit.qg", text));
  State.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
  State.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_Speed)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
