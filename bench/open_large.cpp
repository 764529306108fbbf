// Opening large documents into the editor: plain text (code page 1251) and RTF loaded from a
// file, as File Open does, in a hidden editor and in a shown window. Besides the speed each run
// reports its peak memory: the growth of the process's peak resident size per MB of file
// ("peak_MB_per_MB") and per MB of the text's UTF-16 form ("peak_x_utf16").
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/code_pages.h"
#include "platform/gui/form.h"
#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_lines.h"

namespace {

constexpr size_t kPlainBytes = 50u << 20;  // the size the editor must open in a few seconds
constexpr size_t kRtfBytes = 5u << 20;

// The process's resident size (or its peak since the last reset), bytes.
int64_t StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::string(field).size())) * 1024;
  return 0;
}

// Lets the peak resident size start again from the current size.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A folder for the generated files, removed at the end.
struct TempFiles {
  std::filesystem::path dir;
  TempFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir = pattern;
  }
  ~TempFiles() {
    std::error_code error;
    std::filesystem::remove_all(dir, error);
  }
};

TempFiles& Files() {
  static TempFiles files;
  return files;
}

// Russian and English lines of about 70 characters, CR LF ended, in code page 1251.
const std::string& PlainFile() {
  static const std::string path = [] {
    const std::string line = WideToAnsi(u"Съешь же ещё этих мягких французских булок, да выпей чаю. "
                                        u"The quick brown fox.\r\n", 1251);
    std::string data;
    data.reserve(kPlainBytes + line.size());
    while (data.size() < kPlainBytes) data += line;
    const std::string p = (Files().dir / "plain.txt").string();
    std::ofstream(p, std::ios::binary) << data;
    return p;
  }();
  return path;
}

// RTF paragraphs with bold and coloured words and escaped Cyrillic.
const std::string& RtfFile() {
  static const std::string path = [] {
    std::string data = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}"
                       "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 ";
    const std::string para = "\\'d1\\'fa\\'e5\\'f8\\'fc \\b \\'e6\\'e5\\b0  \\'e5\\'f9\\'b8 {\\cf1 the quick} "
                             "brown fox jumps over the lazy dog\\par\n";
    while (data.size() < kRtfBytes) data += para;
    data += "}";
    const std::string p = (Files().dir / "formatted.rtf").string();
    std::ofstream(p, std::ios::binary) << data;
    return p;
  }();
  return path;
}

// Loads `file` into a fresh editor (in a shown window when `shown`) once per iteration.
void Open(benchmark::State& state, const std::string& file, TInputFormat format, bool shown) {
  const double fileMB = double(std::filesystem::file_size(file)) / (1 << 20);
  int64_t growth = 0, utf16 = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TForm>(nullptr);
    auto* edit = new TRichEditW(form.get());
    if (shown) {
      form->SetBounds(0, 0, 800, 600);
      edit->SetParent(form.get());
      edit->SetAlign(alClient);
      form->Show();
    }
    edit->SetInputFormat(format);
    malloc_trim(0);  // memory freed by earlier runs does not count as this one's
    ResetPeak();
    const int64_t before = StatusBytes("VmRSS:");
    state.ResumeTiming();
    edit->Lines()->LoadFromFile(file);
    state.PauseTiming();
    growth = std::max(growth, StatusBytes("VmHWM:") - before);
    utf16 = int64_t(edit->Control().TextLength()) * 2;
    form.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(file)));
  state.counters["peak_MB_per_MB"] = double(growth) / (1 << 20) / fileMB;
  state.counters["peak_x_utf16"] = utf16 ? double(growth) / double(utf16) : 0;
}

void BM_OpenPlainText(benchmark::State& state) { Open(state, PlainFile(), ifText, false); }
BENCHMARK(BM_OpenPlainText)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_OpenPlainTextInWindow(benchmark::State& state) { Open(state, PlainFile(), ifText, true); }
BENCHMARK(BM_OpenPlainTextInWindow)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_OpenRtf(benchmark::State& state) { Open(state, RtfFile(), ifRTF, false); }
BENCHMARK(BM_OpenRtf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_OpenRtfInWindow(benchmark::State& state) { Open(state, RtfFile(), ifRTF, true); }
BENCHMARK(BM_OpenRtfInWindow)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
