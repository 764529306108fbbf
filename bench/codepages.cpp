// Throughput of code-page conversion and locale comparison on Russian text.
#include "platform/code_pages.h"
#include "platform/locale.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const char* const kRussianText =
    "Съешь же ещё этих мягких французских булок, да выпей чаю. Широкая электрификация южных "
    "губерний даст мощный толчок подъёму сельского хозяйства. В чащах юга жил бы цитрус? Да, но "
    "фальшивый экземпляр! Ёжик в тумане шёл к медвежонку считать звёзды, 1234 раза подряд.\r\n";

// About 4 MB of Russian text in UTF-16.
const std::u16string& RussianWide() {
  static const std::u16string text = [] {
    const std::u16string paragraph = Utf8ToWide(kRussianText);
    std::u16string result;
    while (result.size() < (4u << 20)) result += paragraph;
    return result;
  }();
  return text;
}

void BM_AnsiToWide(benchmark::State& state) {
  const unsigned codePage = static_cast<unsigned>(state.range(0));
  const std::string text = WideToAnsi(RussianWide(), codePage);
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToWide(text, codePage));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_AnsiToWide)->Arg(1251)->Arg(866)->Unit(benchmark::kMillisecond);

void BM_WideToAnsi(benchmark::State& state) {
  const unsigned codePage = static_cast<unsigned>(state.range(0));
  const std::u16string& text = RussianWide();
  for (auto _ : state) {
    bool lossy = false;
    benchmark::DoNotOptimize(WideToAnsi(text, codePage, &lossy));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));  // output bytes
}
BENCHMARK(BM_WideToAnsi)->Arg(1251)->Arg(866)->Unit(benchmark::kMillisecond);

// Russian words in 1251, with case and ё variants so that comparisons go past the first letter.
std::vector<std::string> RussianWords() {
  std::vector<std::string> words;
  std::string word;
  for (char ch : WideToAnsi(RussianWide().substr(0, 2000), 1251)) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    if (byte >= 0xC0 || byte == 0xA8 || byte == 0xB8) {
      word += ch;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

void BM_CompareLocaleStrings(benchmark::State& state) {
  const bool ignoreCase = state.range(0) != 0;
  const std::vector<std::string> words = RussianWords();
  size_t i = 0;
  for (auto _ : state) {
    const std::string& a = words[i % words.size()];
    const std::string& b = words[(i * 7 + 3) % words.size()];
    benchmark::DoNotOptimize(CompareLocaleStrings(LANG_RUSSIAN, ignoreCase, a, b));
    ++i;
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_CompareLocaleStrings)->ArgName("ignoreCase")->Arg(0)->Arg(1);

} // namespace
