// Reading plain-text files (encoding detection, line ends) and writing them back, on Russian
// text of 1 and 8 MB with one line end kind and with mixed line ends; MB/s of file bytes.
#include "platform/code_pages.h"
#include "shell/plain_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// About `megabytes` MB of Russian UTF-8 lines of 60 characters, each ending in LF, or in CR LF,
// LF and CR in turn when `mixed`.
std::string RussianFile(int megabytes, bool mixed) {
  const std::string line = WideToUtf8(u"Съешь же ещё этих мягких французских булок, да выпей чаю");
  const char* const ends[] = {"\r\n", "\n", "\r"};
  std::string file;
  for (size_t i = 0; file.size() < size_t(megabytes) << 20; ++i) file += line + ends[mixed ? i % 3 : 1];
  return file;
}

// The text as the editor holds it: every line end one CR.
std::u16string Folded(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    out += text[i] == u'\n' ? u'\r' : text[i];
  }
  return out;
}

void BM_ReadPlainText(benchmark::State& state) {
  const std::string file = RussianFile(int(state.range(0)), state.range(1) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(ReadPlainText(file, 1251));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_EncodeEditedPlainText(benchmark::State& state) {
  // One line changed in the middle: mixed line ends are matched to the file's lines.
  const std::string file = RussianFile(int(state.range(0)), state.range(1) != 0);
  const TPlainText read = ReadPlainText(file, 1251);
  std::u16string text = Folded(read.Text);
  text.insert(text.size() / 2, u"правка");
  for (auto _ : state) benchmark::DoNotOptimize(EncodePlainText(text, read.Format));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

BENCHMARK(BM_ReadPlainText)->Args({1, 0})->Args({1, 1})->Args({8, 0})->Args({8, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeEditedPlainText)->Args({1, 0})->Args({1, 1})->Args({8, 0})->Args({8, 1})->Unit(benchmark::kMillisecond);

}  // namespace
