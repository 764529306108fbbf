#include "shell/insertion_lists.h"

#include "platform/code_pages.h"

namespace {

constexpr size_t kLongestTemplate = 1000;

bool Blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

const std::vector<std::string>& DefaultDateTimeFormats() {
  static const std::vector<std::string> formats = {
      "dd.mm.yyyy", "mm'/'dd'/'yyyy", "ddd, dd", "dddd, dd", "ddddd", "dddddd", "dd-mmm-yyyy", "mmmm dd, yyyy",
      "tt",         "t",              "c"};
  return formats;
}

const std::vector<std::string>& DefaultFragments() {
  static const std::vector<std::string> fragments = {
      "<p>...</p>",     "<b>...</b>",     "<i>...</i>", "<nobr>...</nobr>",
      "<sub>...</sub>", "<sup>...</sup>", "<blockquote>...</blockquote>",
      "<big>...</big>", "<small>...</small>", "<br>", "<hr>", "&nbsp;", "&quot;"};
  return fragments;
}

std::vector<std::u16string> DateTimeEntries(const std::vector<std::string>& formats, const TDateTimeValue& now,
                                            const TDateTimeSettings& settings) {
  std::vector<std::u16string> entries;
  for (const std::string& format : formats) entries.push_back(FormatDateTime(AnsiToWide(format, 1251), now, settings));
  return entries;
}

std::u16string ApplyFragment(const std::string& fragment, const std::u16string& selection) {
  const std::u16string text = AnsiToWide(fragment, 1251);
  const std::u16string mark = u"...";
  if (text.find(mark) == std::u16string::npos) return selection + text;
  std::u16string result;
  size_t from = 0;
  for (size_t at = text.find(mark); at != std::u16string::npos; at = text.find(mark, from)) {
    result += text.substr(from, at - from) + selection;
    from = at + mark.size();
  }
  return result + text.substr(from);
}

std::vector<TLookupService> LookupServices(const std::vector<std::string>& lines) {
  std::vector<TLookupService> services;
  for (const std::string& line : lines) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    std::string address = line.substr(equals + 1, kLongestTemplate);
    while (!address.empty() && (address.back() == '\r' || address.back() == ' ')) address.pop_back();
    services.push_back({line.substr(0, equals), address});
  }
  if (services.empty())
    services = {{"Wikipedia", "https://en.wikipedia.org/w/index.php?search=#"},
                {"Wiktionary", "https://en.wiktionary.org/w/index.php?search=#"},
                {"DuckDuckGo", "https://duckduckgo.com/?q=#"}};
  return services;
}

bool UserWordEntry(const std::u16string& entry, std::u16string& word, unsigned& lcid) {
  if (entry.empty() || entry.front() != u'+') return false;
  size_t first = 1, last = entry.size();
  while (first < last && Blank(entry[first])) ++first;
  while (last > first && Blank(entry[last - 1])) --last;
  word = entry.substr(first, last - first);
  // The word's own first letter tells its language, not the blank that usually follows "+".
  lcid = !word.empty() && word.front() >= 128 ? 1049 : 1033;
  return true;
}
