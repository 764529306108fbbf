#include "platform/gui/names.h"

#include <cstdint>
#include <cstring>

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  size_t i = 0;
  for (; i + 8 <= a.size(); i += 8)  // equal words first: names are mostly written alike
    if (std::memcmp(a.data() + i, b.data() + i, 8) != 0) break;
  for (; i < a.size(); ++i)
    if (a[i] != b[i] && UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

size_t TNameHash::operator()(std::string_view name) const noexcept {
  // Eight bytes at a time (the last word overlapping the one before), bit 5 set in every byte so
  // that both cases of a letter hash alike.
  constexpr uint64_t kFold = 0x2020202020202020ull, kMul = 0x9E3779B97F4A7C15ull;
  auto load = [&](size_t at, size_t bytes) {
    uint64_t word = 0;
    std::memcpy(&word, name.data() + at, bytes);
    return word;
  };
  const size_t n = name.size();
  uint64_t h = n;
  auto mix = [&](uint64_t word) { h = (h ^ (word | kFold)) * kMul; };
  if (n >= 8) {
    for (size_t i = 0; i + 8 <= n; i += 8) mix(load(i, 8));
    if (n % 8) mix(load(n - 8, 8));
  } else if (n >= 4) {
    mix(load(0, 4) | load(n - 4, 4) << 32);
  } else {
    for (size_t i = 0; i < n; ++i) mix(static_cast<unsigned char>(name[i]));
  }
  return size_t(h ^ (h >> 32));
}
