#include "tools/kept_characters.h"

#include <vector>

#include "platform/code_pages.h"

namespace {

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// `text` split into characters: a surrogate pair is one.
std::vector<std::u16string_view> Characters(std::u16string_view text) {
  std::vector<std::u16string_view> characters;
  for (size_t i = 0; i < text.size();) {
    const size_t length = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

}  // namespace

std::u16string KeepUnmappedCharacters(std::u16string_view original, std::string_view bytes, unsigned codePage) {
  const std::vector<std::u16string_view> characters = Characters(original);
  if (characters.size() != bytes.size()) return AnsiToWide(bytes, codePage);
  std::u16string result;
  result.reserve(original.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    bool lossy = false;
    WideToAnsi(characters[i], codePage, &lossy);
    if (lossy && bytes[i] == '?')
      result += characters[i];
    else
      result += AnsiToWide(bytes.substr(i, 1), codePage);
  }
  return result;
}
