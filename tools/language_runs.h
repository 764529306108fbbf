// The runs of Latin (1033) and Cyrillic (1049) text of a UTF-16 text, told apart by the code
// page 1251 codes of the characters: above 127 is Cyrillic, 65-127 Latin; the characters below
// 65 (digits, blanks, most punctuation) and the ignored ones join the run before them.
#pragma once

#include <string_view>
#include <vector>

struct TLanguageRun {
  int Start = 0, Length = 0;  // 0-based UTF-16 positions
  unsigned Lcid = 0;
};

// The runs of `text` in order; none for a text shorter than two characters.
std::vector<TLanguageRun> SplitLanguageRuns(std::u16string_view text, std::u16string_view ignored);
