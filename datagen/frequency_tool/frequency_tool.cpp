// Counts how often the words of the spelling dictionaries, and pairs of them with only blanks
// between, occur in the prose corpus.py wrote (and how often Russian ones are written with "ё"),
// and how often capitalised words the dictionaries lack (names) occur as written, alone, after
// an initial and joined by a hyphen, and writes the word-frequency files "english.qwf" and "russian.qwf" beside the
// language descriptors of the program folder's Dict/.
//
// qm_freqgen PROGRAM_DIR CORPUS_DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <map>
#include <string>
#include <unordered_map>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "proofing/spell.h"
#include "proofing/word_frequencies.h"

namespace {

struct TCorpusLanguage {
  LCID Lcid;
  const char* Corpus;      // base name of the training text
  const char* Descriptor;  // base name of the ".qlx"
};

bool JoinsWord(char16_t Ch) { return Ch == u'\'' || Ch == u'\u2019'; }

void Count(const TCorpusLanguage& Language, const std::string& ProgramDir, const std::string& CorpusDir) {
  const auto started = std::chrono::steady_clock::now();
  TQSpell spell;
  spell.LoadLanguages(ProgramDir + "Dict");
  spell.EnableStandardDictionaries();
  TQLanguage* language = spell.FindLanguage(Language.Lcid);
  if (!language) throw Exception("No language " + std::to_string(Language.Lcid) + " in " + ProgramDir + "Dict");
  const unsigned codePage = LocaleAnsiCodePage(Language.Lcid);
  const std::u16string text = Utf8ToWide(ReadFileBytes(CorpusDir + Language.Corpus + "_train.txt"));
  const std::string letters = language->Letters();
  auto isLetter = [&](char16_t ch) {
    if (ch < 65) return false;
    bool lossy = false;
    const std::string byte = WideToAnsi(std::u16string(1, ch), codePage, &lossy);
    return !lossy && byte.size() == 1 && letters.find(byte[0]) != std::string::npos;
  };
  std::unordered_map<char16_t, bool> letterCache;
  auto letter = [&](char16_t ch) {
    auto it = letterCache.find(ch);
    return it != letterCache.end() ? it->second : (letterCache[ch] = isLetter(ch));
  };

  std::unordered_map<std::string, bool> valid;
  std::map<std::string, uint64_t> counts, pairs, names;
  uint64_t total = 0;
  std::string previous;  // the key of the word before, when only blanks lie between
  std::string initial;   // the word before when it is a capital letter with a full stop
  size_t initialEnd = 0;  // where the text after that full stop begins
  std::string hyphenated;      // the word before, which a hyphen may join to the next
  size_t hyphenatedEnd = 0;    // where it ends
  bool hyphenatedValid = false;  // whether the dictionaries have it
  for (size_t i = 0; i < text.size();) {
    if (!letter(text[i])) {
      if (text[i] != u' ' && text[i] != u'\t') previous.clear();
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && (letter(text[end]) || (JoinsWord(text[end]) && end + 1 < text.size() &&
                                                        letter(text[end + 1]) && end > i)))
      ++end;
    const std::string word = WideToAnsi(text.substr(i, end - i), codePage);
    // An initial and the name after it ("Э. Кроткий"), so that the engine reads an initial as
    // the prose writes it before that name.
    if (!initial.empty() && initialEnd <= i &&
        std::all_of(text.begin() + initialEnd, text.begin() + i, [](char16_t c) { return c == u' '; }))
      if (const std::string name = NameKey(initial + ' ' + word, Language.Lcid); !name.empty()) ++names[name];
    initial.clear();
    const bool capital = AnsiLowerChar(static_cast<unsigned char>(word[0]), codePage) != static_cast<unsigned char>(word[0]);
    if (word.size() == 1 && capital && end < text.size() && text[end] == u'.') {
      initial = word;
      initialEnd = end + 1;
    }
    const size_t start = i;
    i = end;
    ++total;
    auto known = valid.find(word);
    if (known == valid.end()) known = valid.emplace(word, spell.IsValidWord(word, Language.Lcid)).first;
    // A double name ("Крайнов-Рытов") also as a whole, when the dictionaries lack a part of it.
    if (!hyphenated.empty() && hyphenatedEnd + 1 == start && text[hyphenatedEnd] == u'-' && (!known->second || !hyphenatedValid) &&
        !NameKey(word, Language.Lcid).empty())
      if (const std::string name = NameKey(hyphenated + '-' + word, Language.Lcid); !name.empty()) ++names[name];
    hyphenated = word;
    hyphenatedEnd = end;
    hyphenatedValid = known->second;
    if (!known->second) {
      // Names the dictionaries lack: the correction engine reads a name as the prose writes it.
      if (const std::string name = NameKey(word, Language.Lcid); !name.empty()) ++names[name];
      previous.clear();
      continue;
    }
    const std::string key = FrequencyKey(word, Language.Lcid);
    ++counts[key];
    // How often a word is written with "ё": the correction engine restores it where a text
    // writes no "ё" of its own.
    if (Language.Lcid == LANG_RUSSIAN)
      if (const std::string yo = YoKey(word); !yo.empty()) ++counts[yo];
    if (!previous.empty()) ++pairs[previous + ' ' + key];
    previous = key;
  }
  // Pairs seen once say little and would double the file; a name seen once is worth its place.
  for (const auto& [pair, count] : pairs)
    if (count >= 2) counts[pair] = count;
  counts.insert(names.begin(), names.end());
  WriteFileAtomic(ProgramDir + "Dict/" + Language.Descriptor + ".qwf", BuildFrequencyFile(Language.Lcid, total, counts));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%s.qwf: %llu words counted, %zu words and pairs kept, %.1f s\n", Language.Descriptor,
              static_cast<unsigned long long>(total), counts.size(), seconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qm_freqgen PROGRAM_DIR CORPUS_DIR\n");
    return 2;
  }
  const std::string programDir = IncludeTrailingPathDelimiter(argv[1]);
  const std::string corpusDir = IncludeTrailingPathDelimiter(argv[2]);
  try {
    std::vector<std::future<void>> jobs;
    for (const TCorpusLanguage& language : {TCorpusLanguage{LANG_ENGLISH_US, "en", "english"},
                                             TCorpusLanguage{LANG_RUSSIAN, "ru", "russian"}})
      jobs.push_back(std::async(std::launch::async, Count, language, programDir, corpusDir));
    for (auto& job : jobs) job.get();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qm_freqgen: %s\n", error.what());
    return 1;
  }
  return 0;
}
