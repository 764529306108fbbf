// The replace-list format shared by the find form, the main window's rule files and the
// correction engine: escapes in find, replace and condition texts, one rule a line with
// sections and comments, and the character classes and case helpers the rules use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The class marker a "{@}", "{#}", "{&}" or "{|}" escape puts into a pattern.
inline constexpr char16_t kClassMarker = 1;
// Class flags: letter, digit, neither letter nor digit nor space, neither letter nor digit.
inline constexpr int kClassLetter = 1, kClassDigit = 2, kClassNoAlnumSpace = 4, kClassNoAlnum = 8;

struct TDecodedText {
  std::u16string Text;
  int ClassFlag = 0;  // the class of the last marker, 0 without one
};

// Decodes code page 1251 text with escapes to UTF-16: "{n}" (up to five digits, "}" optional)
// is nothing for 0, the 1251 character for 1-254, the UTF-16 unit for 255-65535; "{{" is "{";
// any other "{" stays.
TDecodedText DecodeEscapes(std::string_view text);

// Letters are A-Z, a-z and the Cyrillic letters of code page 1251 (Ё and ё included).
bool IsListLetter(char16_t c);
bool IsListDigit(char16_t c);
// Whether `c` belongs to the class of `flag` (one of the class flags).
bool InCharClass(char16_t c, int flag);

// One line of a replace list.
struct TListLine {
  enum Kind { kSkip, kRule, kSection, kComment } LineKind = kSkip;
  std::string Section;     // kSection: the trimmed name
  std::string Find;        // kRule: the text before the first "=" (not trimmed)
  std::string Replace;     // kRule: the trimmed text after it, up to "|"
  std::string Conditions;  // kRule: the trimmed text after "|"
};
// Parses a line; a line without "=" or whose find text decodes to nothing is kSkip.
TListLine ParseListLine(std::string_view line);

// Puts `text` at the top of a history list unless it is there already; keeps 20 entries.
void PushHistory(std::vector<std::string>& items, const std::string& text);

// Upper and lower case of one UTF-16 unit (Latin, Latin-1, Greek and Cyrillic letters).
char16_t WideUpper(char16_t c);
char16_t WideLower(char16_t c);
// `replacement` in all capitals when `match` is (and holds a letter), capitalised when `match`
// is, beginning in lower case when `match` does.
std::u16string PreserveCase(std::u16string_view match, std::u16string_view replacement);

// Code page 1251 text of the same length as `text`: one byte per UTF-16 unit, "?" for units
// the code page lacks, so positions stay the same in both.
std::string UnitsTo1251(std::u16string_view text);
