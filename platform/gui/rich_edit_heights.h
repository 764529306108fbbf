// The heights of a text's paragraphs in order, with their running sums: where a paragraph
// starts and which paragraph lies at a height. Changing one height costs O(log n); inserting
// or removing paragraphs costs the change plus O(n / 512).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace rich_edit {

class ParagraphHeights {
public:
  struct Entry {
    float height = 0;
    uint32_t stamp = 0;  // the layout pass that measured the height (0: an estimate)
  };

  int Count() const { return count_; }
  double Total() const;
  const Entry& At(int index) const;
  void Set(int index, Entry entry);
  // Replaces the `removed` entries from `first` with `added` entries of `fill`.
  void Splice(int first, int removed, int added, Entry fill);
  // The sum of the heights before entry `index` (the total for `index` == Count()).
  double Top(int index) const;
  // The entry that spans height `y`: the first for y < 0, the last for y at or beyond the total;
  // -1 when there is none.
  int Find(double y) const;

private:
  struct Chunk {
    std::vector<Entry> entries;
    double sum = 0;
  };
  // The chunk holding entry `index` (< Count()), and the index within it.
  std::pair<int, int> Locate(int index) const;
  // The same without the running sums, where an insertion at `index` goes: after a removal.
  std::pair<int, int> Place(int index) const;
  static void Resum(Chunk& chunk);
  // Splits oversized chunks, joins small ones and rebuilds the running sums.
  void Rebuild();
  // Running sums over the chunks (Fenwick trees): heights and entry counts.
  void Add(int chunk, double height, int count);

  std::vector<Chunk> chunks_;
  std::vector<double> heightTree_;
  std::vector<int> countTree_;
  int count_ = 0;
};

}  // namespace rich_edit
