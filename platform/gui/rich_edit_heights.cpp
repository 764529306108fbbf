#include "platform/gui/rich_edit_heights.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace rich_edit {

namespace {
constexpr size_t kChunk = 512;          // entries in a chunk as it is made
constexpr size_t kLargest = 2 * kChunk;  // a chunk split in two beyond this
constexpr size_t kSmall = kChunk / 4;    // neighbours both below this are joined

int HighestBit(int n) {
  int bit = 1;
  while (bit * 2 <= n) bit *= 2;
  return bit;
}
}  // namespace

double ParagraphHeights::Total() const { return Top(count_); }

const ParagraphHeights::Entry& ParagraphHeights::At(int index) const {
  if (index < 0 || index >= count_) throw std::out_of_range("paragraph height index out of range");
  const auto [c, i] = Locate(index);
  return chunks_[size_t(c)].entries[size_t(i)];
}

void ParagraphHeights::Set(int index, Entry entry) {
  if (index < 0 || index >= count_) throw std::out_of_range("paragraph height index out of range");
  const auto [c, i] = Locate(index);
  Chunk& chunk = chunks_[size_t(c)];
  Entry& old = chunk.entries[size_t(i)];
  const double delta = double(entry.height) - double(old.height);
  old = entry;
  if (delta == 0) return;
  chunk.sum += delta;
  Add(c, delta, 0);
}

void ParagraphHeights::Splice(int first, int removed, int added, Entry fill) {
  if (first < 0 || removed < 0 || added < 0 || first + removed > count_)
    throw std::out_of_range("paragraph height splice out of range");
  if (removed > 0) {
    auto [c, i] = Locate(first);
    for (int left = removed; left > 0; ++c, i = 0) {
      Chunk& chunk = chunks_[size_t(c)];
      const int take = std::min(left, int(chunk.entries.size()) - i);
      chunk.entries.erase(chunk.entries.begin() + i, chunk.entries.begin() + i + take);
      Resum(chunk);
      left -= take;
    }
    count_ -= removed;
  }
  if (added > 0) {
    if (chunks_.empty()) chunks_.emplace_back();
    auto [c, i] = first < count_ && removed == 0 ? Locate(first) : Place(first);
    Chunk& chunk = chunks_[size_t(c)];
    chunk.entries.insert(chunk.entries.begin() + i, size_t(added), fill);
    Resum(chunk);
    count_ += added;
  }
  Rebuild();
}

std::pair<int, int> ParagraphHeights::Place(int index) const {
  // After a removal the trees are stale: walks the chunks (they are few).
  int c = 0;
  for (; c + 1 < int(chunks_.size()) && index > int(chunks_[size_t(c)].entries.size()); ++c)
    index -= int(chunks_[size_t(c)].entries.size());
  return {c, std::min(index, int(chunks_[size_t(c)].entries.size()))};
}

void ParagraphHeights::Resum(Chunk& chunk) {
  chunk.sum = 0;
  for (const Entry& e : chunk.entries) chunk.sum += e.height;
}

double ParagraphHeights::Top(int index) const {
  if (index <= 0 || count_ == 0) return 0;
  int c = int(chunks_.size()), i = 0;
  if (index < count_) std::tie(c, i) = Locate(index);
  double top = 0;
  for (int k = c; k > 0; k -= k & -k) top += heightTree_[size_t(k)];
  if (c < int(chunks_.size()))
    for (int k = 0; k < i; ++k) top += chunks_[size_t(c)].entries[size_t(k)].height;
  return top;
}

int ParagraphHeights::Find(double y) const {
  if (count_ == 0) return -1;
  if (y < 0) return 0;
  // The last chunk whose start lies at or above y.
  const int chunks = int(chunks_.size());
  int pos = 0, index = 0;
  double rest = y;
  for (int step = HighestBit(chunks); step > 0; step /= 2) {
    if (pos + step <= chunks && heightTree_[size_t(pos + step)] <= rest && pos + step < chunks) {
      pos += step;
      rest -= heightTree_[size_t(pos)];
      index += countTree_[size_t(pos)];
    }
  }
  const std::vector<Entry>& entries = chunks_[size_t(pos)].entries;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (rest < entries[k].height) return index + int(k);
    rest -= entries[k].height;
  }
  // Beyond the chunk: rounding, or y beyond the total.
  return pos + 1 < chunks ? index + int(entries.size()) : count_ - 1;
}

std::pair<int, int> ParagraphHeights::Locate(int index) const {
  const int chunks = int(chunks_.size());
  int pos = 0, rest = index;
  for (int step = HighestBit(chunks); step > 0; step /= 2) {
    if (pos + step <= chunks && countTree_[size_t(pos + step)] <= rest) {
      pos += step;
      rest -= countTree_[size_t(pos)];
    }
  }
  return {pos, rest};
}

void ParagraphHeights::Rebuild() {
  std::vector<Chunk> chunks;
  chunks.reserve(chunks_.size());
  for (Chunk& chunk : chunks_) {
    if (chunk.entries.empty()) continue;
    if (!chunks.empty() && chunks.back().entries.size() < kSmall && chunk.entries.size() < kSmall) {
      chunks.back().entries.insert(chunks.back().entries.end(), chunk.entries.begin(), chunk.entries.end());
      chunks.back().sum += chunk.sum;
      continue;
    }
    if (chunk.entries.size() <= kLargest) {
      chunks.push_back(std::move(chunk));
      continue;
    }
    for (size_t a = 0; a < chunk.entries.size(); a += kChunk) {
      Chunk part;
      part.entries.assign(chunk.entries.begin() + long(a),
                          chunk.entries.begin() + long(std::min(chunk.entries.size(), a + kChunk)));
      Resum(part);
      chunks.push_back(std::move(part));
    }
  }
  chunks_ = std::move(chunks);
  const size_t n = chunks_.size();
  heightTree_.assign(n + 1, 0);
  countTree_.assign(n + 1, 0);
  for (size_t c = 0; c < n; ++c) {
    const Chunk& chunk = chunks_[c];
    heightTree_[c + 1] += chunk.sum;
    countTree_[c + 1] += int(chunk.entries.size());
    const size_t parent = (c + 1) + ((c + 1) & (~c));  // (c + 1) plus its lowest set bit
    if (parent <= n) {
      heightTree_[parent] += heightTree_[c + 1];
      countTree_[parent] += countTree_[c + 1];
    }
  }
}

void ParagraphHeights::Add(int chunk, double height, int count) {
  for (size_t k = size_t(chunk) + 1; k < heightTree_.size(); k += k & (~k + 1)) {
    heightTree_[k] += height;
    countTree_[k] += count;
  }
}

}  // namespace rich_edit
