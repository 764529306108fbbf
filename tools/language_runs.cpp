#include "tools/language_runs.h"

#include "platform/code_pages.h"

namespace {

constexpr unsigned kLatin = 1033, kCyrillic = 1049;

// The code page 1251 code of a character; a character outside the code page (a half of a
// surrogate pair too) reads as "?".
unsigned char CodeOf(char16_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  if (c >= 0xD800 && c <= 0xDFFF) return '?';
  bool lossy = false;
  const std::string byte = WideToAnsi(std::u16string_view(&c, 1), 1251, &lossy);
  return lossy || byte.size() != 1 ? '?' : static_cast<unsigned char>(byte[0]);
}

}  // namespace

std::vector<TLanguageRun> SplitLanguageRuns(std::u16string_view text, std::u16string_view ignored) {
  std::vector<TLanguageRun> runs;
  if (text.size() < 2) return runs;
  int runStart = 0;
  unsigned language = CodeOf(text[0]) > 127 ? kCyrillic : kLatin;
  for (size_t i = 1; i < text.size(); ++i) {
    const unsigned char code = CodeOf(text[i]);
    if (ignored.find(text[i]) != std::u16string_view::npos) continue;
    const bool ends = language == kLatin ? code > 127 : code >= 65 && code <= 127;
    if (!ends) continue;
    runs.push_back({runStart, int(i) - runStart, language});
    runStart = int(i);
    language = code < 128 ? kLatin : kCyrillic;
  }
  runs.push_back({runStart, int(text.size()) - runStart, language});
  return runs;
}
