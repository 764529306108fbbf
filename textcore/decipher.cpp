#include "textcore/decipher.h"

#include "platform/string_list.h"

namespace {

// The byte an escape of six equal bytes `lead` stands for.
unsigned char EscapedByte(unsigned char lead) {
  switch (lead) {
    case 1: return 0;
    case 2: return 13;
    default: return 10;
  }
}

}  // namespace

std::string DecipherString(std::string_view s, std::uint32_t key, std::uint32_t multiplier,
                           std::uint32_t addend) {
  constexpr size_t kEscapeLength = 6;
  std::string result;
  result.reserve(s.size());
  std::uint32_t k = key;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 1 && c <= 3 && s.size() - i >= kEscapeLength &&
        s.substr(i, kEscapeLength).find_first_not_of(static_cast<char>(c)) == std::string_view::npos) {
      c = EscapedByte(c);
      i += kEscapeLength - 1;
    }
    result.push_back(static_cast<char>((c ^ (k >> 8)) & 255));
    k = (k + c) * multiplier + addend;
  }
  return result;
}

void DecipherStrings(TStrings& lines, std::uint32_t key, std::uint32_t multiplier) {
  for (int i = 0; i < lines.Count(); ++i) {
    lines.SetStrings(i, DecipherString(lines[i], key, multiplier, kDecipherAddend));
  }
}
