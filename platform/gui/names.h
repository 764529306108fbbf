// Identifiers (component, class, property and handler names) compare ignoring ASCII case; the
// tables here find them under any spelling.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// ASCII case-insensitive equality of identifiers.
bool SameName(std::string_view a, std::string_view b);

// Hash and equality of identifiers ignoring ASCII case, for unordered containers that are
// looked up by any spelling of a name.
struct TNameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const noexcept;
};
struct TNameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return SameName(a, b); }
};
// A map by identifier, any ASCII case finding the entry.
template <class Key, class T>
using TNameMap = std::unordered_map<Key, T, TNameHash, TNameEqual>;

// Objects kept by their name (`NameOf`, a member giving it), without copies of the names: an open-
// addressed table that grows at half full. An entry's name must not change while it is kept.
template <class T, auto NameOf>
class TNameTable {
public:
  // The entry of that name, or nullptr.
  T* Find(std::string_view name) const {
    if (count_ == 0) return nullptr;
    const size_t hash = TNameHash()(name);
    for (size_t i = hash & Mask(); slots_[i].Entry; i = (i + 1) & Mask())
      if (slots_[i].Hash == hash && SameName(std::invoke(NameOf, *slots_[i].Entry), name)) return slots_[i].Entry;
    return nullptr;
  }
  // Keeps `entry` unless an entry of the same name is kept already; returns the one kept.
  T* Insert(T* entry) {
    if (2 * (count_ + 1) > slots_.size()) Rehash(slots_.empty() ? 8 : 2 * slots_.size());
    const std::string_view name = std::invoke(NameOf, *entry);
    const size_t hash = TNameHash()(name);
    size_t i = hash & Mask();
    for (; slots_[i].Entry; i = (i + 1) & Mask())
      if (slots_[i].Hash == hash && SameName(std::invoke(NameOf, *slots_[i].Entry), name)) return slots_[i].Entry;
    slots_[i] = {hash, entry};
    ++count_;
    return entry;
  }
  // Makes room for `count` entries in all.
  void Reserve(size_t count) {
    size_t size = slots_.empty() ? 8 : slots_.size();
    while (size < 2 * count) size *= 2;
    if (size > slots_.size()) Rehash(size);
  }
  // Forgets `entry` when it is kept.
  void Erase(const T* entry) {
    if (count_ == 0) return;
    size_t i = TNameHash()(std::invoke(NameOf, *entry)) & Mask();
    for (; slots_[i].Entry != entry; i = (i + 1) & Mask())
      if (!slots_[i].Entry) return;
    // Close the gap: a later entry of the run moves into it unless its home lies after the gap.
    for (size_t j = (i + 1) & Mask(); slots_[j].Entry; j = (j + 1) & Mask())
      if (((j - slots_[j].Hash) & Mask()) >= ((j - i) & Mask())) {
        slots_[i] = slots_[j];
        i = j;
      }
    slots_[i] = Slot{};
    --count_;
  }

private:
  struct Slot {  // all zero when free
    size_t Hash;
    T* Entry;
  };
  size_t Mask() const { return slots_.size() - 1; }
  void Rehash(size_t size) {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(size));
    for (const Slot& s : old) {
      if (!s.Entry) continue;
      size_t i = s.Hash & Mask();
      while (slots_[i].Entry) i = (i + 1) & Mask();
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;  // empty, or a power of two long
  size_t count_ = 0;
};
