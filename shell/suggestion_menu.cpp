#include "shell/suggestion_menu.h"

#include "platform/code_pages.h"

namespace {

constexpr size_t kLongestWord = 64;
constexpr size_t kColumnHeight = 10;
constexpr size_t kLastColumnStart = 50;

std::string Caption(const std::u16string& text) {
  std::string caption;
  for (const char c : WideToAnsi(text)) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

}  // namespace

std::u16string SpellableWord(const std::u16string& selection) {
  if (selection.size() > kLongestWord) return {};
  for (const char16_t c : selection)
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x0B || c == 0xFFFC) return {};
  return selection;
}

std::vector<TSuggestionMenuItem> SuggestionMenu(const std::u16string& word, bool valid,
                                                const std::vector<std::u16string>& suggestions) {
  std::vector<TSuggestionMenuItem> items;
  if (valid) {
    items.push_back({Caption(word), word, true, true, false});
    items.push_back({"-", {}, false, true, false});
  }
  const bool period = !word.empty() && word.back() == u'.';
  for (size_t i = 0; i < suggestions.size(); ++i) {
    const bool hasPeriod = !suggestions[i].empty() && suggestions[i].back() == u'.';
    const std::u16string entry = period && !hasPeriod ? suggestions[i] + u"." : suggestions[i];
    const bool newColumn = i > 0 && i % kColumnHeight == 0 && i <= kLastColumnStart;
    items.push_back({Caption(entry), entry, true, true, newColumn});
  }
  if (suggestions.empty() && !valid) items.insert(items.begin(), {"- None -", {}, false, false, false});
  return items;
}
