// The engine of the lists-and-sorting tool: lines filtered, sorted in a language's order,
// duplicates removed and the order reversed. Lines are UTF-16, so that no character is lost
// whatever language orders them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TSortOptions {
  // Sorting.
  bool Sort = true, Duplicates = false, CaseSensitive = false, LengthSensitive = false, Reverse = false;
  unsigned Locale = 1049;
  // Pre-filtering; the columns are 1-based.
  bool Trim = false, Extract = false, Delete = false, NoEmpty = false, RemoveIf = false, RemoveIfNot = false;
  int ExtractColumn = 1, DeleteColumn = 1;
  std::u16string RemoveIfText, RemoveIfNotText;  // an empty text filters nothing

  bool Filtering() const { return Trim || Extract || Delete || NoEmpty || RemoveIf || RemoveIfNot; }
};

// Reports how far a step is (done of total); answers true to stop.
using TSortStep = std::function<bool(int64_t done, int64_t total)>;

// The lines of a text, split at CR, LF or CR LF; a break at the very end opens no extra line.
std::vector<std::u16string> SplitSortLines(std::u16string_view text);
// Filters the lines as the options say; false (and `lines` as they were) when stopped.
bool FilterSortLines(std::vector<std::u16string>& lines, const TSortOptions& options, const TSortStep& step = nullptr);
// Sorts (when on), removes duplicates and reverses: equal lines differing only in case keep the
// small-letter form.
void SortSortLines(std::vector<std::u16string>& lines, const TSortOptions& options);
