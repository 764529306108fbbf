// The quick sort of TXStringList: Hoare partitions around a copy of the middle item's key, with
// a step callback at every partition step. It stays within the range and ends even when the
// comparison contradicts itself.
#pragma once

#include <utility>
#include <vector>

// Sorts items[L..R]. `keyOf(item)` gives the key copied as the pivot, `compare(item, pivot)` a
// negative, zero or positive order, and `step()` runs before each partition step.
template <class Item, class KeyOf, class Compare, class Step>
void PartitionSort(std::vector<Item>& items, int L, int R, const KeyOf& keyOf, const Compare& compare,
                   const Step& step) {
  while (L < R) {
    const auto pivot = keyOf(items[L + (R - L) / 2]);
    int i = L, j = R;
    do {
      step();
      // Bounded scans: a comparison that contradicts itself cannot lead them out of the range.
      while (i <= R && compare(items[i], pivot) < 0) ++i;
      while (j >= L && compare(items[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(items[i], items[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    // With a consistent comparison both parts are smaller than L..R already; these bounds keep
    // an inconsistent one from partitioning the whole range again forever.
    if (j >= R) j = R - 1;
    if (i <= L) i = L + 1;
    // The smaller part first keeps the recursion depth logarithmic; the parts do not overlap,
    // so the order in which they are sorted does not change the result.
    if (j - L < R - i) {
      PartitionSort(items, L, j, keyOf, compare, step);
      L = i;
    } else {
      PartitionSort(items, i, R, keyOf, compare, step);
      R = j;
    }
  }
}
