// Reading and writing RTF: a generated document of about 5 MB of mixed Russian and English
// text with character and paragraph formatting, measured in bytes of RTF per second.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/code_pages.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

namespace {

TRichDocument MakeDocument(std::size_t targetBytes) {
  static const char* const kWords[] = {
      "Съешь", "же", "ещё", "этих", "мягких", "французских", "булок", "да", "выпей", "чаю",
      "The", "quick", "brown", "fox", "jumps", "over", "the", "lazy", "dog", "«цитата»",
      "документ", "formatting", "текст", "paragraph", "123,45", "—", "Ёлка", "e-mail"};
  TCharFormat plain;
  plain.FaceName = Utf8ToWide("Times New Roman");
  plain.Charset = 204;
  plain.Lcid = 1049;
  TCharFormat bold = plain;
  bold.Bold = true;
  TCharFormat italic = plain;
  italic.Italic = true;
  italic.Color = 0x0000C0;
  TCharFormat english = plain;
  english.FaceName = Utf8ToWide("Arial");
  english.Charset = 0;
  english.Lcid = 1033;
  const TCharFormat* formats[] = {&plain, &bold, &plain, &italic, &english};

  TRichDocument doc;
  doc.Paragraphs.clear();
  std::size_t bytes = 0, word = 0;
  while (bytes < targetBytes) {
    TRichParagraph paragraph;
    paragraph.Format.Alignment = (doc.Paragraphs.size() % 3 == 0) ? raJustify : raLeft;
    paragraph.Format.FirstIndent = 360;
    paragraph.Format.SpaceAfter = 120;
    paragraph.MarkFormat = plain;
    for (int run = 0; run < 8; ++run) {
      TRichRun r;
      r.Format = *formats[(word / 7 + run) % 5];
      for (int i = 0; i < 9; ++i) {
        r.Text += Utf8ToWide(kWords[word++ % std::size(kWords)]);
        r.Text += u' ';
      }
      bytes += r.Text.size() * 4;  // roughly what RTF takes for mixed text
      paragraph.Runs.push_back(std::move(r));
    }
    doc.Paragraphs.push_back(std::move(paragraph));
  }
  doc.Normalize();
  return doc;
}

const TRichDocument& Document() {
  static const TRichDocument doc = MakeDocument(5 << 20);
  return doc;
}

void BM_WriteRtf(benchmark::State& state) {
  const TRichDocument& doc = Document();
  std::size_t size = 0;
  for (auto _ : state) {
    std::string rtf = WriteRtf(doc);
    size = rtf.size();
    benchmark::DoNotOptimize(rtf.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["rtf_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

void BM_ReadRtf(benchmark::State& state) {
  const std::string rtf = WriteRtf(Document());
  for (auto _ : state) {
    TRichDocument doc = ReadRtf(rtf);
    benchmark::DoNotOptimize(doc.Paragraphs.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
  state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

// The same text as other programs write it: 8-bit Cyrillic bytes in \'hh escapes.
void BM_ReadRtfHexBytes(benchmark::State& state) {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 ";
  const std::string line = WideToAnsi(Document().Paragraphs[0].Text(), 1251);
  while (rtf.size() < (5u << 20)) {
    for (unsigned char c : line) {
      if (c < 0x80) {
        rtf += static_cast<char>(c);
      } else {
        static const char kHex[] = "0123456789abcdef";
        rtf += "\\'";
        rtf += kHex[c >> 4];
        rtf += kHex[c & 15];
      }
    }
    rtf += "\\par\r\n";
  }
  rtf += "}";
  for (auto _ : state) {
    TRichDocument doc = ReadRtf(rtf);
    benchmark::DoNotOptimize(doc.Paragraphs.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtfHexBytes)->Unit(benchmark::kMillisecond);

}  // namespace
