// TLetterModel: how likely a string of letters is as a word of a language, from how often each
// letter follows the two before it (word edges included) in the language's words. It ranks the
// readings of a word that no dictionary knows (a name), where the validator only says yes or no.
#pragma once

#include <string>
#include <vector>

#include "platform/exceptions.h"

// A letter-model file that cannot be read as one.
class ELetterModelError : public Exception { using Exception::Exception; };

// The file: "QLM1", the code page (16 bits, little-endian), the number n of letters (one byte),
// the letters (small letters of that code page), then (n+1)^3 costs, one byte each: the cost of letter c after letters
// a and b is at ((a·(n+1)) + b)·(n+1) + c, index n standing for the word edge. A cost is
// −log2 of the letter's chance in quarter bits. `Letters` and `Words` are text of `CodePage`;
// characters that are not among the letters (in either case) end a word part.
std::string BuildLetterModelFile(unsigned CodePage, const std::string& Letters, const std::vector<std::string>& Words);

class TLetterModel {
public:
  // Reads a file of BuildLetterModelFile; a damaged file raises ELetterModelError naming it and
  // leaves the model empty.
  void LoadFromFile(const std::string& FileName);
  void LoadFromBytes(const std::string& Bytes);
  bool Empty() const { return FCosts.empty(); }
  // The cost of Word in quarter bits (0 for an empty model): the letters of each part between
  // other characters, their end included, as one word each; a letter of another alphabet costs
  // as much as the rarest.
  int Cost(const std::string& Word) const;

private:
  int FSize = 0;                  // letters, plus one for the word edge
  unsigned char FIndex[256] = {};  // character -> letter index + 1 (either case); 0 for none
  std::vector<unsigned char> FCosts;
};
