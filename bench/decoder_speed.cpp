// Speed of the Cyrillic decoder: the automatic search on 1 KB, 10 KB and 100 KB of Russian text
// damaged by one, two and three wrong encoding changes (search and the chain applied to the whole
// text), and the simple recoding of a text between two encodings in MB/s.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/string_list.h"
#include "bench/program_spell.h"
#include "proofing/spell.h"
#include "shell/operation.h"
#include "tools/cyr_decoder.h"

namespace {

// `size` bytes of Russian sentences from the quality program's sample (code page 1251), with
// the signs above 127 (quotes, dashes, "№") made "?", so that the damage can always be undone.
std::string RussianText(size_t size) {
  static const std::string all = [] {
    TStringList lines;
    lines.SetText(ReadFileBytes(QM_SOURCE_DIR "/bench/data/decoder/ru_sentences.txt"));
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) text += WideToAnsi(Utf8ToWide(lines[i]), 1251) + "\r\n";
    for (char& ch : text)
      if (static_cast<unsigned char>(ch) >= 128 && static_cast<unsigned char>(ch) < 192) ch = '?';
    return text;
  }();
  std::string text;
  while (text.size() < size) text += all;
  text.resize(size);
  return text;
}

// The damage of each depth: Windows text made KOI-8, that made DOS as if it were Windows, that
// made Mac as if it were DOS.
const TCyrChain kDamage[] = {{{0, 3}}, {{0, 3}, {0, 1}}, {{0, 3}, {0, 1}, {1, 4}}};

// Arguments: text size, depth of the damage.
void AutoSearch(benchmark::State& state) {
  SetProgramFolder(QM_PROGRAM_DIR "/");
  const std::string original = RussianText(size_t(state.range(0)));
  std::string damaged = original;
  ApplyCyrChain(damaged, kDamage[state.range(1) - 1]);
  TCyrSearchEvents events;
  events.IsKnownWord = [](const std::string& word) { return ProgramSpell().IsValidWord(word, LANG_RUSSIAN); };
  events.Progress = [](int) { return false; };
  for (auto _ : state) {
    std::string text = damaged;
    const TCyrSearchResult result = SearchCyrChain(text, kCyrMaxDepth, events);
    ApplyCyrChain(text, result.Chain);
    if (text != original) state.SkipWithError(("not decoded: " + CyrChainText(result.Chain)).c_str());
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(AutoSearch)
    ->ArgsProduct({{1 << 10, 10 << 10, 100 << 10}, {1, 2, 3}})
    ->ArgNames({"bytes", "depth"})
    ->Unit(benchmark::kMillisecond);

// Simple recoding (one step) of 1 MB: the decoder's chain pass, and the main window's encoding
// conversion with its progress steps.
void SimpleRecode(benchmark::State& state) {
  std::string text = RussianText(1 << 20);
  for (auto _ : state) {
    ApplyCyrChain(text, {{0, 3}});
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(SimpleRecode)->Unit(benchmark::kMillisecond);

void MainWindowRecode(benchmark::State& state) {
  std::string text = RussianText(1 << 20);
  int64_t steps = 0;
  for (auto _ : state) {
    RecodeCyrillicText(text, 0, 3, [&](int64_t, int64_t) { return ++steps < 0; });
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(MainWindowRecode)->Unit(benchmark::kMillisecond);

}  // namespace
