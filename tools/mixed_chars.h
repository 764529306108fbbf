// Words that mix look-alike Latin and Cyrillic letters (a common error of scanned text) and
// words made only of look-alike letters, found in UTF-16 text, with what each should become.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TMixedTarget { Auto, Cyrillic, Latin };  // words with mixed characters
enum class TAmbiguousTarget { Cyrillic, Latin, Leave };  // words of look-alike letters only

// One word to change or to mark: its 0-based position and length, and its new text (same
// length) when it changes; an ambiguous word left as it is has Changed false.
struct TMixedWord {
  int Start = 0, Length = 0;
  std::u16string Text;
  bool Changed = false;
};

// The words of `text` to change or mark, in order. Digits are never turned into letters or
// back, and a word with a character outside code page 1251 is left alone.
std::vector<TMixedWord> FindMixedWords(std::u16string_view text, TMixedTarget mixed, TAmbiguousTarget ambiguous);
