// The letter tables of a language descriptor, built from the keyboard layout, a few sound-alike
// pairs and letter statistics of the language's word list.
#pragma once

#include <string>
#include <vector>

#include "proofing/language_format.h"

// What the tables of one language are made from (all text in the language's code page).
struct TLetterSources {
  std::string Alphabet;                  // small letters
  std::vector<std::string> KeyboardRows; // three rows of small letters, top row first
  std::vector<std::string> SoundAlikes;  // groups of letters that are easily confused
  std::string InsertionLetters;
};

// Fills the alphabet, the similar, following and doubled letter tables (small and capital
// letters) and the insertion letters of `Block` from `Sources` and the words.
void BuildLetterTables(TQLanguageBlock& Block, const TLetterSources& Sources, const std::vector<std::string>& Words);
