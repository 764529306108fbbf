#include "tools/sort_lines.h"

#include <algorithm>

#include "platform/locale.h"

namespace {

bool IsColumnSeparator(char16_t c) { return c == u'\t' || c == u' ' || c == u',' || c == u';'; }

// The words of a line between column separators: (start, end) of each.
std::vector<std::pair<size_t, size_t>> Columns(std::u16string_view line) {
  std::vector<std::pair<size_t, size_t>> words;
  size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && IsColumnSeparator(line[pos])) ++pos;
    const size_t start = pos;
    while (pos < line.size() && !IsColumnSeparator(line[pos])) ++pos;
    if (pos > start) words.emplace_back(start, pos);
  }
  return words;
}

std::u16string Trimmed(std::u16string_view s) {
  size_t start = 0, end = s.size();
  while (start < end && s[start] <= u' ') ++start;
  while (end > start && s[end - 1] <= u' ') --end;
  return std::u16string(s.substr(start, end - start));
}

// Whether the line stays; it may change on the way.
bool FilterLine(std::u16string& line, const TSortOptions& o) {
  if (o.Trim) line = Trimmed(line);
  if (!line.empty() && line.back() == 26) line.pop_back();
  if (o.Extract) {
    const auto words = Columns(line);
    const size_t n = size_t(std::max(1, o.ExtractColumn));
    line = n <= words.size() ? line.substr(words[n - 1].first, words[n - 1].second - words[n - 1].first) : u"";
  } else if (o.Delete) {
    const auto words = Columns(line);
    const size_t n = size_t(std::max(1, o.DeleteColumn));
    // The last word of a line is never deleted.
    if (n < words.size()) line.erase(words[n - 1].first, words[n].first - words[n - 1].first);
  }
  if (o.NoEmpty && line.empty()) return false;
  if (o.RemoveIf && !o.RemoveIfText.empty() && line.find(o.RemoveIfText) != std::u16string::npos) return false;
  if (o.RemoveIfNot && !o.RemoveIfNotText.empty() && line.find(o.RemoveIfNotText) == std::u16string::npos)
    return false;
  return true;
}

}  // namespace

std::vector<std::u16string> SplitSortLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool FilterSortLines(std::vector<std::u16string>& lines, const TSortOptions& options, const TSortStep& step) {
  if (!options.Filtering()) return true;
  std::vector<std::u16string> kept;
  kept.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (step && step(int64_t(i), int64_t(lines.size()))) return false;
    std::u16string line = lines[i];
    if (FilterLine(line, options)) kept.push_back(std::move(line));
  }
  lines = std::move(kept);
  return true;
}

void SortSortLines(std::vector<std::u16string>& lines, const TSortOptions& o) {
  if (!o.Sort) return;
  auto compare = [&](const std::u16string& a, const std::u16string& b) {
    if (o.LengthSensitive && a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return CompareLocaleStringsW(o.Locale, !o.CaseSensitive, a, b);
  };
  std::stable_sort(lines.begin(), lines.end(),
                   [&](const std::u16string& a, const std::u16string& b) { return compare(a, b) < 0; });
  if (o.Duplicates) {
    std::vector<std::u16string> unique;
    for (std::u16string& line : lines) {
      if (!unique.empty() && compare(unique.back(), line) == 0) {
        // Of two equal lines the small-letter form stays (case-sensitive order puts it first).
        if (CompareLocaleStringsW(o.Locale, false, line, unique.back()) < 0) unique.back() = std::move(line);
        continue;
      }
      unique.push_back(std::move(line));
    }
    lines = std::move(unique);
  }
  if (o.Reverse) std::reverse(lines.begin(), lines.end());
}
