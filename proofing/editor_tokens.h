// The tokens of the document check: a word, punctuation or markup with the whitespace that
// follows it, classified for the check.
#pragma once

#include <bitset>
#include <string>

// Elements of the check option set.
enum TCheckElement : int {
  ceAutoLanguage = 1,
  ceTags = 3,
  ceUrls = 4,
  ceFiles = 5,
  ceMissingSpace = 6,
  ceExtraSpace = 7,
  ceRepeated = 8,
  ceSuspect = 9,
  ceCapitals = 10,
  ceSingleWord = 11,
};
using TCheckOptions = std::bitset<16>;

// Token kinds: 0 word, 2 non-letter token, 3 HTML entity, 4 URL or e-mail address, 5 file name,
// 6 word followed by punctuation and no space, 7 whitespace before punctuation.
struct TEditorToken {
  int Start = 0;
  int End = 0;            // after the trailing whitespace
  int WordEnd = 0;        // before the trailing whitespace
  int Kind = 2;
  bool InMarkup = false;  // an HTML tag, comment or server block (skipped)
};

// The token that starts at `Start` of `Text`; End == Start at the end of the text.
TEditorToken GetEditorWordAt(const std::u16string& Text, int Start, const TCheckOptions& Options);

// Whitespace of the check: blank, tab, CR, LF and VT.
bool IsCheckWhitespace(char16_t Ch);
// The URL and file-name tests of the tokeniser.
bool IsUrlToken(const std::u16string& Text);
bool IsFileNameToken(const std::u16string& Text);
