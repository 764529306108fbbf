#include "datagen/rare_words.h"

#include <algorithm>

#include "platform/code_pages.h"
#include "textcore/cyr_case.h"
#include "tools/thesaurus/thesaurus_data.h"

namespace {

constexpr char kSmallYo = '\xB8', kSmallIe = '\xE5';

bool IsOneSmallWord(const std::string& Word, const std::string& Alphabet) {
  if (Word.empty() || Word.front() == '-' || Word.back() == '-' || Word.find("--") != std::string::npos) return false;
  return std::all_of(Word.begin(), Word.end(), [&](char c) { return c == '-' || Alphabet.find(c) != std::string::npos; });
}

}  // namespace

std::vector<std::string> RareThesaurusWords(const std::string& IdxFile, const std::string& DatFile,
                                            const std::string& Alphabet, unsigned CodePage,
                                            const std::unordered_set<std::string>& Known) {
  const TThesaurusData thesaurus(IdxFile, DatFile);
  std::unordered_set<std::string> seen;
  for (const std::string& headword : thesaurus.Words()) {
    seen.insert(headword);
    for (const TThesMeaning& meaning : thesaurus.Lookup(headword))
      for (const std::string& synonym : meaning.Synonyms) seen.insert(PlainSynonym(synonym));
  }
  std::vector<std::string> rare;
  for (const std::string& utf8 : seen) {
    bool lossy = false;
    const std::string word = WideToAnsi(Utf8ToWide(utf8), CodePage, &lossy);
    if (lossy || !IsOneSmallWord(word, Alphabet)) continue;
    std::string plain = word;
    std::replace(plain.begin(), plain.end(), kSmallYo, kSmallIe);
    const std::string capitalised = CyrUpperCase(word.substr(0, 1)) + word.substr(1);
    if (Known.count(word) || Known.count(plain) || Known.count(capitalised)) continue;
    rare.push_back(word);
  }
  std::sort(rare.begin(), rare.end());
  return rare;
}
