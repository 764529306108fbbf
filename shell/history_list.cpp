#include "shell/history_list.h"

#include <algorithm>
#include <cmath>

void THistoryList::Add(std::string name, std::u16string text) {
  entries_.insert(entries_.begin(), THistoryEntry{std::move(name), std::move(text)});
  if (Count() > kMaxEntries) entries_.pop_back();
}

std::u16string HistoryLinesText(const std::u16string& editorText) {
  std::u16string lines;
  lines.reserve(editorText.size() + editorText.size() / 16 + 2);
  for (char16_t c : editorText) {
    lines += c;
    if (c == u'\r') lines += u'\n';
  }
  if (!lines.empty() && lines.back() != u'\n') lines += u"\r\n";
  return lines;
}

int HistoryPreviewPosition(int entryLength, int lineCount, int editorLength, int selStart, int line) {
  const double ratio = editorLength > 0 ? double(entryLength - lineCount) / editorLength : 2.0;
  return int(std::lround((selStart + line - 1) * ratio));
}

std::u16string HistoryPreviewLine(const std::u16string& linesText, int position) {
  const size_t from = size_t(std::max(0, position - 40));
  if (from >= linesText.size()) return {};
  std::u16string line;
  for (char16_t c : linesText.substr(from, 80)) {
    if (c == u'\n') continue;
    line += c == u'\r' ? u' ' : c;
  }
  return line;
}
