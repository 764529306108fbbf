// Word tests on code page 1251 text shared by the correction engine and the text tools:
// words mixing look-alike Latin and Cyrillic letters, whether a text is Cyrillic, and how
// English or Russian a word looks.
#pragma once

#include <string>
#include <string_view>

// What a word of look-alike letters should become.
// 4: Latin look-alikes only; 3: Cyrillic look-alikes only; 2: mixed, should become Latin;
// 1: mixed, should become Cyrillic; 0: anything else. The digits 3 and 6 between letters count
// as the Latin look-alikes of "З" and "б". A mixed word holding "и" or "п" (look-alikes of "u"
// and "n" only in italic type) is Cyrillic.
int ClassifyMixedWord(std::string_view Word);
// Mode 0 classifies first (only classes 1 and 2 go on); mode 1 turns the Latin look-alikes
// (the digits 3 and 6 between letters included) into Cyrillic letters, mode 2 the Cyrillic
// look-alikes into Latin letters. True when the word changed.
bool FixMixedWord(std::string& Word, int Mode);
// True when most words that begin with a byte above 127 begin with a Cyrillic letter and three
// quarters of those look Russian.
bool IsCyrillicText(std::string_view Text);
// 0 when the word looks English (the module-wide English validator's score).
int EnglishScore(std::string_view Word);
// 0 when the word looks Russian: 99 for a character that is neither a Cyrillic letter nor
// blank or ! , - . : ; ?; else the module-wide Russian validator's score.
int RussianScore(std::string_view Word);
// True for the Cyrillic letters of code page 1251: 192..255, Ё and ё.
bool IsCyrillicLetter(unsigned char Ch);

// The word typed on the other keyboard layout: each character of the Latin key row becomes the
// Cyrillic character of the same key, else each of the Cyrillic row the Latin one.
std::string RetypeLayout(std::string_view Word);
// The word around a 0-based position of `Text` (code page 1251), looked for within 50 characters
// on either side: its start, the word (quotes, apostrophes and a trailing full stop trimmed) and
// the text after it up to the end of that window. False when there is no word there.
bool ExtractWordAt(std::string_view Text, int Position, int& Start, std::string& Word, std::string& Rest);
// True when the word holds "." and an address mark ("http", "www", ".com", ".ru", "comp." ...).
bool IsUrlLike(std::string_view Word);
// True for a "\" or "/" between letters or digits, or a "." among the last four characters
// followed by a letter; false for initials and abbreviations of single letters ("t.k.", "A.Pop").
bool IsFileNameLike(std::string_view Word);
// Replaces the letters drawn with other characters ("}|{" for "ж", "4" for "ч" ...) by Cyrillic
// letters. 0: nothing drawn; 1: Latin letters or digits remain; 2: only single Latin look-alike
// letters were replaced; 3: a drawn letter in a word without other Cyrillic letters; 4: a word
// of Cyrillic letters in which digits or several-character groups drew letters.
int ClassifySpecialSyntax(std::string_view Word, std::string& Result);
// A number or abbreviation with an ending: digits and capitals, then "'", "-", "’" or "°", then
// nothing or a digit or one of the letters that begin Russian and English number endings.
bool IsNumberLikeWord(std::string_view Word);
// The text without the blanks and control characters at its ends.
std::string_view TrimText(std::string_view Text);
