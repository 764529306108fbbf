// Builds the records of a validator (".qgo") from a word list: one record per letter, whose
// masks allow exactly the letter neighbourhoods that occur in the words.
#pragma once

#include <string>
#include <vector>

// The file content: one 172-byte record per letter of `Alphabet` seen in the words (code page
// 1251 text); every word of the list then scores 0.
std::string TrainValidator(const std::vector<std::string>& Words, const std::string& Alphabet);
