// Word tests on code page 1251 text shared by the correction engine and the text tools:
// words mixing look-alike Latin and Cyrillic letters, whether a text is Cyrillic, and how
// English or Russian a word looks.
#pragma once

#include <string>
#include <string_view>

// What a word of look-alike letters should become.
// 4: Latin look-alikes only; 3: Cyrillic look-alikes only; 2: mixed, should become Latin;
// 1: mixed, should become Cyrillic; 0: anything else. The digits 3 and 6 between letters count
// as the Latin look-alikes of "З" and "б".
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
