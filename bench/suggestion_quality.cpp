// Quality of the first spelling suggestion beside hunspell's, on the same Debian dictionaries
// (ours generated from them), on words of the held-out prose of the word frequencies
// (datagen/corpus.py; the frequency table never saw it). Per language, three sets of typos,
// each a valid word of both checkers turned into a word neither knows:
// - random: distinct words of the prose, each with one random edit (a letter struck instead of
//   another, one struck extra, one left out, two swapped; kind, place and letter at random);
// - weighted: the same kind of edit on running words, so common words come up as often as in prose;
// - human: common misspellings: for English the list of the codespell package (one correction,
//   a word of both checkers), for Russian the slips of writers (an unstressed о/а, е/и, е/я,
//   a doubled consonant single or a single one doubled, "тся"/"ться", a soft sign left out).
// A typo counts when the first suggestion is the word; the share is reported as a counter,
// with hunspell's beside it, and the share per kind of edit is printed.
#include <benchmark/benchmark.h>

#include <hunspell.hxx>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/string_list.h"
#include "bench/program_spell.h"
#include "proofing/spell.h"
#include "textcore/cp1251_literal.h"

namespace {

constexpr size_t kTypos = 2000;

struct TLanguageCase {
  LCID Lcid;
  const char* Name;
  const char* Corpus;
  const char* Hunspell;
  const char* Alphabet;  // UTF-8
};
const TLanguageCase kLanguages[] = {
    {LANG_ENGLISH_US, "English", "en", "en_GB", "abcdefghijklmnopqrstuvwxyz"},
    {LANG_RUSSIAN, "Russian", "ru", "ru_RU", "абвгдежзийклмнопрстуфхцчшщъыьэюя"}};

Hunspell& HunspellFor(const TLanguageCase& language) {
  static std::map<std::string, std::unique_ptr<Hunspell>> instances;
  auto& instance = instances[language.Hunspell];
  if (!instance) {
    const std::string base = std::string(QM_HUNSPELL_DIR "/") + language.Hunspell;
    instance = std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str());
  }
  return *instance;
}

// A word in both spellings: the language's code page for us, UTF-8 for hunspell.
struct TWord {
  std::string Ansi;
  std::u16string Wide;
};

struct TTypo {
  TWord Typo;
  std::u16string Meant;
  std::string Kind;
};

class TBench {
public:
  explicit TBench(const TLanguageCase& language)
      : FLanguage(language), FCodePage(CodePageOf(language.Lcid)), FAlphabet(Utf8ToWide(language.Alphabet)) {}

  TWord Word(const std::u16string& wide) const { return {WideToAnsi(wide, FCodePage), wide}; }

  // Known to both checkers (and held by the code page).
  bool BothKnow(const std::u16string& wide) {
    bool lossy = false;
    const std::string ansi = WideToAnsi(wide, FCodePage, &lossy);
    if (lossy) return false;
    return ProgramSpell().IsValidWord(ansi, FLanguage.Lcid) && HunspellFor(FLanguage).spell(WideToUtf8(wide));
  }
  bool NeitherKnows(const std::u16string& wide) {
    bool lossy = false;
    const std::string ansi = WideToAnsi(wide, FCodePage, &lossy);
    return !lossy && !ProgramSpell().IsValidWord(ansi, FLanguage.Lcid) && !HunspellFor(FLanguage).spell(WideToUtf8(wide));
  }

  // The running words of the held-out prose in small letters of the alphabet, three letters or more.
  std::vector<std::u16string> RunningWords() const {
    TStringList lines;
    lines.SetText(ReadFileBytes(std::string(QM_CORPUS_DIR "/") + FLanguage.Corpus + "_test.txt"));
    std::vector<std::u16string> words;
    for (int i = 0; i < lines.Count(); ++i) {
      const std::u16string line = Utf8ToWide(lines[i]);
      size_t pos = 0;
      while (pos < line.size()) {
        const bool inWord = IsLetter(line[pos]) || (line[pos] >= u'A' && line[pos] <= u'Z') || (line[pos] >= 0x410 && line[pos] <= 0x42F);
        if (!inWord) {
          ++pos;
          continue;
        }
        size_t end = pos;
        bool small = true;
        while (end < line.size() && (IsLetter(line[end]) || (line[end] > 0x40 && line[end] < 0x5B) || (line[end] >= 0x400 && line[end] < 0x460))) {
          small = small && IsLetter(line[end]);
          ++end;
        }
        if (small && end - pos >= 3) words.push_back(line.substr(pos, end - pos));
        pos = end;
      }
    }
    return words;
  }

  // One random edit of `word` that neither checker knows; empty after a few tries.
  TTypo RandomTypo(const std::u16string& word, std::mt19937& random) {
    static const char* const kinds[] = {"substitute", "insert", "delete", "transpose"};
    for (int attempt = 0; attempt < 20; ++attempt) {
      const int kind = int(random() % 4);
      std::u16string typo = word;
      const size_t at = random() % word.size();
      const char16_t letter = FAlphabet[random() % FAlphabet.size()];
      if (kind == 0) {
        if (letter == word[at]) continue;
        typo[at] = letter;
      } else if (kind == 1) {
        typo.insert(random() % (word.size() + 1), 1, letter);
      } else if (kind == 2) {
        typo.erase(at, 1);
      } else {
        if (at + 1 >= word.size() || word[at] == word[at + 1]) continue;
        std::swap(typo[at], typo[at + 1]);
      }
      if (NeitherKnows(typo)) return {Word(typo), word, kinds[kind]};
    }
    return {};
  }

  // The slips of Russian writers that turn `word` into a word neither checker knows.
  std::vector<TTypo> RussianSlips(const std::u16string& word) {
    static const std::pair<std::u16string, std::u16string> swaps[] = {
        {u"о", u"а"}, {u"а", u"о"}, {u"е", u"и"}, {u"и", u"е"}, {u"я", u"е"}, {u"е", u"я"},
        {u"нн", u"н"}, {u"сс", u"с"}, {u"лл", u"л"}, {u"мм", u"м"}, {u"тся", u"ться"}, {u"ться", u"тся"},
        {u"ь", u""}, {u"н", u"нн"}, {u"с", u"сс"}, {u"л", u"лл"}};
    std::vector<TTypo> slips;
    for (const auto& [from, to] : swaps) {
      for (size_t at = word.find(from); at != std::u16string::npos; at = word.find(from, at + 1)) {
        std::u16string typo = word;
        typo.replace(at, from.size(), to);
        if (NeitherKnows(typo)) slips.push_back({Word(typo), word, WideToUtf8(from + u">" + to)});
      }
    }
    return slips;
  }

  // The entries of codespell's list with one correction both checkers know, the misspelling
  // unknown to both.
  std::vector<TTypo> CodespellMisspellings() {
    TStringList lines;
    lines.SetText(ReadFileBytes("/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"));
    std::vector<TTypo> typos;
    for (int i = 0; i < lines.Count(); ++i) {
      const std::string& line = lines[i];
      const size_t arrow = line.find("->");
      if (arrow == std::string::npos || line.find(',') != std::string::npos || line.find(' ') != std::string::npos) continue;
      const std::u16string typo = Utf8ToWide(line.substr(0, arrow)), meant = Utf8ToWide(line.substr(arrow + 2));
      if (meant.size() < 3 || !std::all_of(meant.begin(), meant.end(), IsLetter)) continue;
      if (!std::all_of(typo.begin(), typo.end(), IsLetter)) continue;
      typos.push_back({Word(typo), meant, "codespell"});
    }
    return typos;
  }

  // The typos of the list whose word both checkers know and whose typo neither does, at most
  // kTypos spread evenly.
  std::vector<TTypo> Checked(const std::vector<TTypo>& typos) {
    std::vector<TTypo> kept;
    for (const TTypo& typo : typos)
      if (BothKnow(typo.Meant) && NeitherKnows(typo.Typo.Wide)) kept.push_back(typo);
    return Spread(kept);
  }

  static std::vector<TTypo> Spread(const std::vector<TTypo>& typos) {
    if (typos.size() <= kTypos) return typos;
    std::vector<TTypo> spread;
    for (size_t i = 0; i < kTypos; ++i) spread.push_back(typos[i * typos.size() / kTypos]);
    return spread;
  }

  // The share of typos whose first suggestion is the word meant, ours and hunspell's, printed
  // per kind of edit.
  std::pair<double, double> Measure(const char* set, const std::vector<TTypo>& typos) {
    std::map<std::string, std::array<int, 3>> kinds;  // count, ours right, hunspell right
    int ours = 0, theirs = 0;
    TSuggestionList list;
    for (const TTypo& typo : typos) {
      ProgramSpell().Suggest(typo.Typo.Ansi, list, sfMisspelt, FLanguage.Lcid);
      const bool oursRight = list.Count() > 0 && AnsiToWide(list[0].Word, FCodePage) == typo.Meant;
      const std::vector<std::string> suggested = HunspellFor(FLanguage).suggest(WideToUtf8(typo.Typo.Wide));
      const bool theirsRight = !suggested.empty() && Utf8ToWide(suggested[0]) == typo.Meant;
      ours += oursRight;
      theirs += theirsRight;
      auto& kind = kinds[typo.Kind];
      ++kind[0];
      kind[1] += oursRight;
      kind[2] += theirsRight;
    }
    const double n = typos.empty() ? 1 : double(typos.size());
    std::printf("%s %s: %zu typos, first suggestion right: ours %.1f %%, hunspell %.1f %%\n", FLanguage.Name, set,
                typos.size(), 100 * ours / n, 100 * theirs / n);
    for (const auto& [name, counts] : kinds)
      if (kinds.size() > 1)
        std::printf("  %-12s %4d: ours %.1f %%, hunspell %.1f %%\n", name.c_str(), counts[0], 100.0 * counts[1] / counts[0],
                    100.0 * counts[2] / counts[0]);
    return {100 * ours / n, 100 * theirs / n};
  }

private:
  static bool IsLetter(char16_t ch) { return (ch >= u'a' && ch <= u'z') || (ch >= 0x430 && ch <= 0x44F) || ch == 0x451; }

  const TLanguageCase& FLanguage;
  unsigned FCodePage;
  std::u16string FAlphabet;
};

void SuggestionQuality(benchmark::State& state) {
  SetProgramFolder(QM_PROGRAM_DIR "/");
  const TLanguageCase& language = kLanguages[state.range(0)];
  TBench bench(language);
  std::mt19937 random(20261211);
  const std::vector<std::u16string> running = bench.RunningWords();
  std::vector<std::u16string> distinct;
  for (const std::u16string& word : std::set<std::u16string>(running.begin(), running.end()))
    if (bench.BothKnow(word)) distinct.push_back(word);
  std::shuffle(distinct.begin(), distinct.end(), random);
  std::vector<TTypo> randomTypos, weightedTypos, human;
  for (size_t i = 0; i < distinct.size() && randomTypos.size() < kTypos; ++i)
    if (TTypo typo = bench.RandomTypo(distinct[i], random); !typo.Meant.empty()) randomTypos.push_back(typo);
  for (size_t tries = 0; tries < 20 * kTypos && weightedTypos.size() < kTypos; ++tries) {
    const std::u16string& word = running[random() % running.size()];
    if (!bench.BothKnow(word)) continue;
    if (TTypo typo = bench.RandomTypo(word, random); !typo.Meant.empty()) weightedTypos.push_back(typo);
  }
  if (language.Lcid == LANG_RUSSIAN) {
    std::vector<TTypo> slips;
    for (size_t tries = 0; tries < 20 * kTypos && slips.size() < kTypos; ++tries) {
      const std::u16string& word = running[random() % running.size()];
      if (!bench.BothKnow(word)) continue;
      std::vector<TTypo> some = bench.RussianSlips(word);
      if (!some.empty()) slips.push_back(some[random() % some.size()]);
    }
    human = slips;
  } else {
    human = bench.Checked(bench.CodespellMisspellings());
  }
  for (auto _ : state) {
    const auto [randomOurs, randomTheirs] = bench.Measure("random", randomTypos);
    const auto [weightedOurs, weightedTheirs] = bench.Measure("weighted", weightedTypos);
    const auto [humanOurs, humanTheirs] = bench.Measure("human", human);
    state.counters["random_pct"] = randomOurs;
    state.counters["random_hunspell_pct"] = randomTheirs;
    state.counters["weighted_pct"] = weightedOurs;
    state.counters["weighted_hunspell_pct"] = weightedTheirs;
    state.counters["human_pct"] = humanOurs;
    state.counters["human_hunspell_pct"] = humanTheirs;
  }
  state.SetLabel(language.Name);
}
// Argument: 0 English, 1 Russian.
BENCHMARK(SuggestionQuality)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
