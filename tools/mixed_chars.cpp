#include "tools/mixed_chars.h"

#include "platform/code_pages.h"
#include "proofing/word_routines.h"

namespace {

constexpr unsigned kWordCodePage = 1251;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Letters and digits of any script (and the halves of surrogate pairs) make words; ASCII and
// Latin-1 punctuation, blanks and general punctuation separate them.
bool IsWordChar(char16_t c) {
  if (c < 0x80) return (c >= u'0' && c <= u'9') || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z');
  if (c < 0xC0) return false;
  if (c == 0xD7 || c == 0xF7) return false;
  return c < 0x2000 || c > 0x2BFF;
}

// The word in code page 1251 changed to `mode`; digits keep their place.
std::string Fixed(const std::string& word, int mode) {
  std::string fixed = word;
  FixMixedWord(fixed, mode);
  for (size_t i = 0; i < fixed.size(); ++i)
    if (IsDigit(fixed[i]) != IsDigit(word[i])) fixed[i] = word[i];
  return fixed;
}

}  // namespace

std::vector<TMixedWord> FindMixedWords(std::u16string_view text, TMixedTarget mixed, TAmbiguousTarget ambiguous) {
  std::vector<TMixedWord> found;
  size_t pos = 0;
  while (pos < text.size()) {
    if (!IsWordChar(text[pos])) {
      ++pos;
      continue;
    }
    const size_t start = pos;
    while (pos < text.size() && IsWordChar(text[pos])) ++pos;
    const std::u16string_view wide = text.substr(start, pos - start);
    bool lossy = false;
    const std::string word = WideToAnsi(wide, kWordCodePage, &lossy);
    if (lossy || word.size() != wide.size()) continue;
    const int kind = ClassifyMixedWord(word);
    if (kind == 0) continue;
    const bool isMixed = kind == 1 || kind == 2;
    int mode = 0;
    if (isMixed)
      mode = mixed == TMixedTarget::Cyrillic ? 1 : mixed == TMixedTarget::Latin ? 2 : kind;
    else if (ambiguous != TAmbiguousTarget::Leave)
      mode = ambiguous == TAmbiguousTarget::Cyrillic ? 1 : 2;
    const std::string fixed = mode == 0 ? word : Fixed(word, mode);
    TMixedWord entry{int(start), int(wide.size()), {}, fixed != word};
    if (entry.Changed)
      entry.Text = AnsiToWide(fixed, kWordCodePage);
    else if (isMixed)
      continue;  // a mixed word that stays as it is has nothing to show
    found.push_back(std::move(entry));
  }
  return found;
}
