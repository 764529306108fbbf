// The list of corrections offered for a word: each entry with the 1-based position of the
// change (negative for a deletion) and the number of changed characters.
#pragma once

#include <string>
#include <vector>

struct TSuggestion {
  std::string Word;
  int Position = 0;
  int Kind = 0;
};

class TSuggestionList {
public:
  // Index of the entry equal to `Word` ignoring case (AnsiCompareText); -1 when none.
  int IndexOf(const std::string& Word) const;
  void Add(const std::string& Word, int Position, int Kind) { Items.push_back({Word, Position, Kind}); }
  void Clear() { Items.clear(); }
  int Count() const { return static_cast<int>(Items.size()); }
  const TSuggestion& operator[](int Index) const { return Items[Index]; }

  std::vector<TSuggestion> Items;
};
