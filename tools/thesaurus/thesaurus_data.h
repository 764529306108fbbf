// A thesaurus in the MyThes format: "<name>.idx" (its encoding, the number of words, then
// "word|offset" lines) and "<name>.dat" (at each offset "word|n" and n meaning lines
// "(part of speech)|synonym|synonym..."). Words are looked up in lower case.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/exceptions.h"

class EThesaurusData : public Exception { using Exception::Exception; };

struct TThesMeaning {
  std::string PartOfSpeech;           // e.g. "(noun)", UTF-8
  std::vector<std::string> Synonyms;  // UTF-8, as the data gives them
  bool operator==(const TThesMeaning&) const = default;
};

class TThesaurusData {
public:
  // Reads the index of `idxFile`; raises EThesaurusData when either file cannot be read or
  // is not UTF-8 MyThes data.
  TThesaurusData(const std::string& idxFile, const std::string& datFile);
  // The meanings of `word` (UTF-8, any case); none when the thesaurus lacks it.
  std::vector<TThesMeaning> Lookup(const std::string& word) const;
  size_t WordCount() const { return index_.size(); }
  // Every word of the index (lower case, UTF-8), in no particular order.
  std::vector<std::string> Words() const;

private:
  std::string datFile_;
  std::unordered_map<std::string, long long> index_;
};

// The files of the thesaurus for Russian (true) or English in the first folder of
// $XDG_DATA_DIRS (default /usr/local/share:/usr/share) whose "mythes" folder holds them; the
// names in the last folder when none does.
struct TThesaurusFiles {
  std::string Idx, Dat;
};
TThesaurusFiles FindThesaurusFiles(bool russian);
// A synonym without the remark the data puts after it ("city (generic term)" -> "city").
std::string PlainSynonym(const std::string& synonym);
// UTF-8 text in lower case.
std::string Utf8Lower(const std::string& text);
