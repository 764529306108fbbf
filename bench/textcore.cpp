// Speed of the text core's whole-document routines: recoding through the Cyrillic code table,
// transliteration and fast search, in bytes of input per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "textcore/cyr_codes.h"
#include "textcore/fast_strings.h"
#include "textcore/transliteration.h"

namespace {

// Russian-looking code page 1251 text: words of Cyrillic letters with blanks, punctuation and
// line breaks, deterministic for every run.
std::string RussianText(size_t size) {
  std::mt19937 random(42);
  std::string text;
  text.reserve(size + 16);
  while (text.size() < size) {
    const int length = 2 + static_cast<int>(random() % 9);
    for (int i = 0; i < length; ++i) text.push_back(static_cast<char>(0xE0 + random() % 32));
    const unsigned sign = random() % 20;
    text += sign == 0 ? ".\r\n" : sign == 1 ? ", " : " ";
  }
  text.resize(size);
  return text;
}

void BM_ConvertCyrCodeTable(benchmark::State& state) {
  const std::string text = RussianText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ConvertCyrCodeTable(text, 0, 3));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ConvertCyrCodeTable)->Arg(1 << 20)->Arg(4 << 20);

// The inline table pass of the encoding commands: a byte map used in place.
void BM_CyrCodeMapInPlace(benchmark::State& state) {
  std::string text = RussianText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    const auto map = CyrCodeMap(0, 1);
    for (char& ch : text) ch = static_cast<char>(map[static_cast<unsigned char>(ch)]);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_CyrCodeMapInPlace)->Arg(4 << 20);

void BM_Transliterate(benchmark::State& state) {
  const std::string text = RussianText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Transliterate(text, nullptr));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Transliterate)->Arg(1 << 20);

void BM_TransliterateWithProgress(benchmark::State& state) {
  const std::string text = RussianText(static_cast<size_t>(state.range(0)));
  int last = 0;
  const TProgressCallback progress = [&](TObject*, int percent) {
    last = percent;
    return false;
  };
  for (auto _ : state) benchmark::DoNotOptimize(Transliterate(text, progress));
  benchmark::DoNotOptimize(last);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TransliterateWithProgress)->Arg(1 << 20);

// The search text: a few megabytes with the pattern only at the very end.
struct SearchCase {
  std::string text = RussianText(4 << 20);
  std::string pattern = "\xF1\xEB\xEE\xE2\xEE\xEC\xE0\xF2\xFC";  // a word that is not in the text
  SearchCase() { text.replace(text.size() - pattern.size(), pattern.size(), pattern); }
};
const SearchCase& Search() {
  static const SearchCase search;
  return search;
}

void BM_FindForward(benchmark::State& state) {
  const auto& s = Search();
  for (auto _ : state) {
    benchmark::DoNotOptimize(FastStrings::FindForward(s.text.data(), s.pattern.data(),
                                                      static_cast<int>(s.text.size()), 1,
                                                      static_cast<int>(s.pattern.size())));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
}
BENCHMARK(BM_FindForward);

void BM_FindForwardNoCase(benchmark::State& state) {
  const auto& s = Search();
  for (auto _ : state) {
    benchmark::DoNotOptimize(FastStrings::FindForwardNoCase(s.text.data(), s.pattern.data(),
                                                            static_cast<int>(s.text.size()), 1,
                                                            static_cast<int>(s.pattern.size())));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
}
BENCHMARK(BM_FindForwardNoCase);

void BM_FindBackward(benchmark::State& state) {
  const auto& s = Search();
  const std::string pattern = s.text.substr(0, 9);  // only at the very start
  for (auto _ : state) {
    benchmark::DoNotOptimize(FastStrings::FindBackward(s.text.data(), pattern.data(),
                                                       static_cast<int>(s.text.size()), 0,
                                                       static_cast<int>(pattern.size())));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
}
BENCHMARK(BM_FindBackward);

void BM_StringViewFind(benchmark::State& state) {
  const auto& s = Search();
  const std::string_view text(s.text);
  for (auto _ : state) benchmark::DoNotOptimize(text.find(s.pattern));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
}
BENCHMARK(BM_StringViewFind);

void BM_Memmem(benchmark::State& state) {
  const auto& s = Search();
  for (auto _ : state) {
    benchmark::DoNotOptimize(::memmem(s.text.data(), s.text.size(), s.pattern.data(), s.pattern.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
}
BENCHMARK(BM_Memmem);

void BM_ReplaceAll(benchmark::State& state) {
  const std::string text = RussianText(4 << 20);
  const std::string pattern = "\xE0\xE1";  // "аб"
  for (auto _ : state) benchmark::DoNotOptimize(FastStrings::ReplaceAll(text, pattern, "[ab]", state.range(0) != 0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReplaceAll)->Arg(1)->Arg(0);

}  // namespace
