// Loading and writing the settings store: many values in one key, and many keys.
#include "platform/registry.h"
#include "platform/registry_store.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A store text with `values` values in one key.
std::string StoreWithValues(int values) {
  std::string text = "QuillomarkRegistry 1\n[Software\\Vortanel\\Quillomark\\Main]\n";
  for (int i = 0; i < values; ++i) text += "\"Item_" + std::to_string(i) + "\"=sz:\"C:\\\\file" + std::to_string(i) + "\"\n";
  return text + "EndOfRegistry\n";
}

// A store text with `keys` keys of a few values each, in a handful of folders.
std::string StoreWithKeys(int keys) {
  std::string text = "QuillomarkRegistry 1\n";
  for (int i = 0; i < keys; ++i) {
    text += "[Software\\Vortanel\\Quillomark\\Section" + std::to_string(i % 16) + "\\Key" + std::to_string(i) + "]\n";
    text += "\"Name\"=sz:\"value\"\n\"Count\"=dword:0000002a\n";
  }
  return text + "EndOfRegistry\n";
}

void BM_ParseValuesInOneKey(benchmark::State& state) {
  const std::string text = StoreWithValues(int(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ParseRegistryText(text, "bench.registry"));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseValuesInOneKey)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ParseAndFormatKeys(benchmark::State& state) {
  const std::string text = StoreWithKeys(int(state.range(0)));
  for (auto _ : state) {
    RegParseResult parsed = ParseRegistryText(text, "bench.registry");
    benchmark::DoNotOptimize(FormatRegistryText(*parsed.Root, "HKEY_CURRENT_USER"));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseAndFormatKeys)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
