#include "proofing/suggestions.h"

#include "platform/locale.h"

int TSuggestionList::IndexOf(const std::string& Word) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (AnsiCompareText(Items[i].Word, Word) == 0) return static_cast<int>(i);
  return -1;
}
