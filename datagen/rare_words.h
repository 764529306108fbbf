// The rare words of a language: words of the thesaurus (MyThes data of Debian's mythes packages,
// from the same dictionaries as hunspell's) that the spelling dictionary lacks.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

// Headwords and synonyms of the thesaurus that are one word of small letters of `Alphabet`
// (code page CodePage, hyphens allowed) and that `Known` holds neither as written, capitalised
// nor with "ё" read as "е"; sorted, in the code page.
std::vector<std::string> RareThesaurusWords(const std::string& IdxFile, const std::string& DatFile,
                                            const std::string& Alphabet, unsigned CodePage,
                                            const std::unordered_set<std::string>& Known);
