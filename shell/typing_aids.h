// Typing aids of the main window: the input modes and their indicator, the characters typed in
// the emulated and phonetic modes, the word ends of the typing automation and smart quotes.
// Characters are code page 1251.
#pragma once

#include <cstdint>
#include <string>

enum class TInputMode { Russian, English, Emulated, Phonetic };

// The status-bar text: "EMU" or "FON" in those modes, else "ENG" or "RUS" after the keyboard
// layout's language (1033 or 1049), empty for any other.
std::string InputModeText(TInputMode mode, uint16_t layoutLanguage);
// The character a key gives in the mode: the phonetic layout's or the Russian layout's key in
// the phonetic and emulated modes, the key itself otherwise.
char TypedChar(TInputMode mode, char key);
// A typed '"' as a smart quote: "«" at the start of the text or a line and after a blank, a tab
// or an opening bracket or quote; "»" after anything else.
char SmartQuote(bool hasPrevious, char16_t previous);
// The characters that end a word for the typing automation: carriage return, space and
// ! # $ ) * + = ? ^ |.
bool IsWordEndChar(char key);
