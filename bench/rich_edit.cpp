// Speed of the rich text control: RTF loading and saving, whole-text access, range replacement.
#include <algorithm>

#include <benchmark/benchmark.h>

#include "platform/gui/form.h"
#include "platform/streams.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/rich_edit_lines.h"

namespace {

// About `bytes` of UTF-16 text: Russian and English sentences in paragraphs.
std::u16string MakeText(size_t bytes) {
  const std::u16string sentence = u"Съешь же ещё этих мягких французских булок, да выпей чаю. "
                                  u"The quick brown fox jumps over the lazy dog. ";
  std::u16string text;
  text.reserve(bytes / 2 + sentence.size());
  for (int i = 0; text.size() * 2 < bytes; ++i) {
    text += sentence;
    if (i % 8 == 7) text += u'\r';
  }
  return text;
}

// A document of about 5 MB of RTF with bold, italic and coloured words.
std::string MakeRtf() {
  TRichEditW edit(nullptr);
  edit.SetTextW(MakeText(2000 * 1024));
  for (int pos = 0; pos < 1000000; pos += 97) {
    edit.SetSelStart(pos);
    edit.SetSelLength(5);
    edit.SelAttributes()->SetBold(pos % 2);
    edit.SelAttributes()->SetColor(pos % 3 ? clRed : clBlue);
  }
  TStringStream stream;
  edit.Lines()->SaveToStream(stream);
  return stream.DataString();
}

// A rich edit filling a shown form, which lays its text out as it changes.
struct ShownEdit {
  TForm form{nullptr};
  TRichEditW edit{&form};
  ShownEdit() {
    form.SetBounds(0, 0, 800, 600);
    edit.SetParent(&form);
    edit.SetAlign(alClient);
    form.Show();
  }
};

// Replaces 10,000 four-letter words one by one, as the text tools put their results back.
void Replace10000Ranges(TRichEditW& edit) {
  for (int i = 0; i < 10000; ++i) {
    edit.SetSelStart(i * 50);
    edit.SetSelLength(4);
    edit.SetSelTextW(u"слов");
  }
}

const std::string& Rtf() {
  static const std::string rtf = MakeRtf();
  return rtf;
}

void BM_RtfLoad(benchmark::State& state) {
  TRichEditW edit(nullptr);
  const std::string& rtf = Rtf();
  for (auto _ : state) {
    TStringStream stream(rtf);
    edit.Lines()->LoadFromStream(stream);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(rtf.size()));
}
BENCHMARK(BM_RtfLoad)->Unit(benchmark::kMillisecond);

// Saves the edit's text as RTF once per iteration, counting the bytes written.
void SaveRepeatedly(benchmark::State& state, TRichEditW& edit) {
  size_t bytes = 0;
  for (auto _ : state) {
    TStringStream stream;
    edit.Lines()->SaveToStream(stream);
    bytes = stream.DataString().size();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void BM_RtfSave(benchmark::State& state) {
  TRichEditW edit(nullptr);
  TStringStream in(Rtf());
  edit.Lines()->LoadFromStream(in);
  SaveRepeatedly(state, edit);
}
BENCHMARK(BM_RtfSave)->Unit(benchmark::kMillisecond);

// Saving text of 1 to 20 MB (the argument) to a stream as RTF; the cost must grow linearly.
// `words` puts every word in a paragraph of its own: the cost of each paragraph shows.
void SaveToStream(benchmark::State& state, bool words) {
  TRichEditW edit(nullptr);
  std::u16string text = MakeText(size_t(state.range(0)) << 20);
  if (words) std::replace(text.begin(), text.end(), u' ', u'\r');
  edit.SetTextW(text);
  SaveRepeatedly(state, edit);
}
void BM_SaveToStream(benchmark::State& state) { SaveToStream(state, false); }
void BM_SaveWordParagraphsToStream(benchmark::State& state) { SaveToStream(state, true); }
BENCHMARK(BM_SaveToStream)->Arg(1)->Arg(2)->Arg(4)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWordParagraphsToStream)->Arg(1)->Arg(2)->Arg(4)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_GetTextW(benchmark::State& state) {
  TRichEditW edit(nullptr);
  const std::u16string text = MakeText(10 * 1024 * 1024);
  edit.SetTextW(text);
  for (auto _ : state) benchmark::DoNotOptimize(edit.GetTextW());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_GetTextW)->Unit(benchmark::kMillisecond);

void BM_SetTextW(benchmark::State& state) {
  TRichEditW edit(nullptr);
  const std::u16string text = MakeText(10 * 1024 * 1024);
  for (auto _ : state) edit.SetTextW(text);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_SetTextW)->Unit(benchmark::kMillisecond);

// The same in a shown window, which lays the text out as it changes.
void BM_SetTextWInWindow(benchmark::State& state) {
  ShownEdit shown;
  const std::u16string text = MakeText(10 * 1024 * 1024);
  for (auto _ : state) shown.edit.SetTextW(text);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_SetTextWInWindow)->Unit(benchmark::kMillisecond);

void BM_Replace10000Ranges(benchmark::State& state) {
  TRichEditW edit(nullptr);
  const std::u16string text = MakeText(1024 * 1024);
  for (auto _ : state) {
    state.PauseTiming();
    edit.SetTextW(text);
    state.ResumeTiming();
    Replace10000Ranges(edit);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
  state.SetBytesProcessed(int64_t(state.iterations()) * 10000 * 8);
}
BENCHMARK(BM_Replace10000Ranges)->Unit(benchmark::kMillisecond);

// In a shown window, inside BeginUpdate/EndUpdate as bulk changes should be made.
void BM_Replace10000RangesInWindow(benchmark::State& state) {
  ShownEdit shown;
  TRichEditW& edit = shown.edit;
  const std::u16string text = MakeText(1024 * 1024);
  for (auto _ : state) {
    state.PauseTiming();
    edit.SetTextW(text);
    state.ResumeTiming();
    edit.BeginUpdate();
    Replace10000Ranges(edit);
    edit.EndUpdate();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
  state.SetBytesProcessed(int64_t(state.iterations()) * 10000 * 8);
}
BENCHMARK(BM_Replace10000RangesInWindow)->Unit(benchmark::kMillisecond);

}  // namespace
