// Reads a hunspell dictionary (".aff" and ".dic" in UTF-8) and lists every word form it
// accepts on its own: the stems with all their prefixes, suffixes and cross products.
// Compound-only stems, forms that need an affix and forbidden forms are left out.
#pragma once

#include <string>
#include <vector>

// Every word form of the dictionary, as UTF-16, in no particular order, without repeats.
// Raises Exception for a file that cannot be read or uses features this reader lacks.
std::vector<std::u16string> ExpandHunspellDictionary(const std::string& AffFile, const std::string& DicFile);
