// Speed of the spelling checker on the generated English and Russian dictionaries, beside
// hunspell on the Debian dictionaries they were made from: dictionary load time, words checked
// per second and suggestions per second. Each check and suggestion benchmark runs the same words
// through both and reports "vs_hunspell", our speed divided by hunspell's.
#include <benchmark/benchmark.h>

#include <hunspell.hxx>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "proofing/spell.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kDictDir = QM_PROGRAM_DIR "/Dict/";
const std::string kHunspellDir = QM_HUNSPELL_DIR "/";

struct LanguageCase {
  LCID Lcid;
  const char* Hunspell;  // base name of the hunspell dictionary
  const char* Data;      // our dictionary
};
const LanguageCase kLanguages[] = {{LANG_ENGLISH_US, "en_GB", "en_uk"}, {LANG_RUSSIAN, "ru_RU", "ru_yo"}};

TQSpell& Spell() {
  static TQSpell* spell = [] {
    auto* s = new TQSpell();
    s->LoadLanguages(kDictDir);
    s->EnableStandardDictionaries();
    return s;
  }();
  return *spell;
}

Hunspell& HunspellFor(int Index) {
  static std::unique_ptr<Hunspell> instances[2];
  if (!instances[Index]) {
    const std::string base = kHunspellDir + kLanguages[Index].Hunspell;
    instances[Index] = std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str());
  }
  return *instances[Index];
}

// Words of a language in its code page and in UTF-8: every 509th stored word of lengths 3 to 12,
// and every other one with two inner letters swapped (mostly misspelt).
struct WordSample {
  std::vector<std::string> Ansi, Utf8;
};

const WordSample& Sample(int Index, bool Misspelt) {
  static WordSample samples[2][2];
  WordSample& sample = samples[Index][Misspelt];
  if (!sample.Ansi.empty()) return sample;
  const TQDictionary& dictionary = Spell().FindLanguage(kLanguages[Index].Lcid)->Dictionary(0);
  const std::string data = ReadFileBytes(dictionary.DataFileName());
  const unsigned codePage = LocaleAnsiCodePage(kLanguages[Index].Lcid);
  int n = 0;
  for (int L = 3; L <= 12; ++L) {
    for (uint32_t i = 0; i < dictionary.Header().GroupCount(L); i += 509, ++n) {
      std::string word = data.substr(dictionary.Header().GroupOffset(L) + size_t(i) * L, L);
      if (Misspelt || n % 2) std::swap(word[1], word[2]);
      sample.Ansi.push_back(word);
      sample.Utf8.push_back(WideToUtf8(AnsiToWide(word, codePage)));
      if (Misspelt && sample.Ansi.size() >= 60) return sample;
    }
  }
  return sample;
}

void BM_LoadDictionaries(benchmark::State& state) {
  for (auto _ : state) {
    TQSpell spell;
    spell.LoadLanguages(kDictDir);
    benchmark::DoNotOptimize(spell.LanguageCount());
  }
}

void BM_LoadHunspell(benchmark::State& state) {
  const std::string base = kHunspellDir + kLanguages[state.range(0)].Hunspell;
  for (auto _ : state) {
    Hunspell hunspell((base + ".aff").c_str(), (base + ".dic").c_str());
    benchmark::DoNotOptimize(&hunspell);
  }
  state.SetLabel(kLanguages[state.range(0)].Hunspell);
}

// Runs `ours` on every word of the sample in its code page and `theirs` on the same words in
// UTF-8, times ours as the benchmark's time and reports hunspell's speed beside it.
template <class Ours, class Theirs>
void RaceHunspell(benchmark::State& state, int index, const WordSample& sample, Ours ours, Theirs theirs) {
  double oursTime = 0, theirsTime = 0;
  int64_t words = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    for (const auto& word : sample.Ansi) ours(word);
    auto t1 = Clock::now();
    for (const auto& word : sample.Utf8) theirs(word);
    auto t2 = Clock::now();
    oursTime += std::chrono::duration<double>(t1 - t0).count();
    theirsTime += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    words += static_cast<int64_t>(sample.Ansi.size());
  }
  state.SetItemsProcessed(words);
  state.counters["hunspell_words/s"] = words / theirsTime;
  state.counters["vs_hunspell"] = theirsTime / oursTime;
  state.SetLabel(kLanguages[index].Data);
}

void BM_CheckWords(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0));
  const LCID lcid = kLanguages[index].Lcid;
  Hunspell& hunspell = HunspellFor(index);
  RaceHunspell(
      state, index, Sample(index, false),
      [&](const std::string& word) { benchmark::DoNotOptimize(Spell().IsValidWord(word, lcid)); },
      [&](const std::string& word) { benchmark::DoNotOptimize(hunspell.spell(word)); });
}

void BM_Suggest(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0));
  const LCID lcid = kLanguages[index].Lcid;
  Hunspell& hunspell = HunspellFor(index);
  TSuggestionList list;
  RaceHunspell(
      state, index, Sample(index, true),
      [&](const std::string& word) { Spell().Suggest(word, list, sfMisspelt, lcid); },
      [&](const std::string& word) { benchmark::DoNotOptimize(hunspell.suggest(word)); });
}

}  // namespace

BENCHMARK(BM_LoadDictionaries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHunspell)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckWords)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
