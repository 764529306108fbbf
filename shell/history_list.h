// THistoryList: earlier states of the document text, newest first. The texts are kept in
// UTF-16, so that characters outside the work code page survive a round trip through it.
#pragma once

#include <string>
#include <vector>

struct THistoryEntry {
  std::string Name;     // shown in the history list (code page 1251)
  std::u16string Text;  // the editor text at that moment
};

class THistoryList {
public:
  // What an addition leaves at most: the oldest entry goes beyond this.
  static constexpr int kMaxEntries = 99;
  // Puts an entry at the top (index 0).
  void Add(std::string name, std::u16string text);
  void Clear() { entries_.clear(); }
  int Count() const { return int(entries_.size()); }
  // Entry `index` (0 the newest); an index outside the list raises std::out_of_range.
  const THistoryEntry& Entry(int index) const { return entries_.at(size_t(index)); }

private:
  std::vector<THistoryEntry> entries_;
};

// An editor text as the history memo's lines give it: every paragraph end (CR) becomes CR LF
// and a non-empty text ends with CR LF.
std::u16string HistoryLinesText(const std::u16string& editorText);
// Where the caret of the editor (0-based `selStart` on 1-based `line`, text `editorLength`
// long) falls in an entry's lines text that has `lineCount` lines: the text length less its
// line count over the editor length (2 for an empty editor), times selStart + line - 1.
int HistoryPreviewPosition(int entryLength, int lineCount, int editorLength, int selStart, int line);
// The preview line: the 80 characters of `linesText` from `position` - 40 (at least 0), line
// feeds removed and carriage returns shown as blanks.
std::u16string HistoryPreviewLine(const std::u16string& linesText, int position);
