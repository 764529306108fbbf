// Text operations on documents of 1 MB and 10 MB whose cost must grow linearly: the reformat
// tool's edits made into its text, and duplicate removal of a string list of many repeats.
#include <benchmark/benchmark.h>

#include <string>

#include "textcore/xstring_list.h"
#include "tools/reformat.h"

namespace {

// About `megabytes` MB of UTF-16 text with tab-separated columns on every third line.
std::u16string ColumnText(int64_t megabytes) {
  const std::u16string lines = u"The quick  brown fox jumps over the lazy dog.\r> quoted line here\r\tcol1\tcol2\r";
  std::u16string text;
  while (int64_t(text.size()) * 2 < (megabytes << 20)) text += lines;
  return text;
}

void BM_ApplyReformatEdits(benchmark::State& state) {
  const std::u16string text = ColumnText(state.range(0));
  int indentation = 0;
  const std::vector<TReformatEdit> edits = ReformatColumns(text, TReformatOptions{}, indentation);
  for (auto _ : state) benchmark::DoNotOptimize(ApplyReformatEdits(text, edits));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()) * 2);
  state.counters["edits"] = double(edits.size());
}
BENCHMARK(BM_ApplyReformatEdits)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// A sorted list in which every word comes twice (the argument: thousands of items).
void BM_RemoveDuplicates(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TXStringList list;
    for (int64_t i = 0; i < state.range(0) * 1000; ++i) list.Add(std::to_string(i / 2).append("w"));
    list.Sort();
    state.ResumeTiming();
    list.RemoveDuplicates(nullptr);
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_RemoveDuplicates)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
