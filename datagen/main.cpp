// Builds the spelling data of the program folder from the hunspell dictionaries of Debian:
// the English and Russian dictionaries (".qdi" + ".qd" in Dict/, packed copies elsewhere), their
// language descriptors (".qlx"), letter models (".qlm") and the validators "english.qgo" and "russian.qgo"; and the
// Russian rare-word dictionary "ru_rare" from the thesaurus of mythes-ru.
//
// qm_datagen HUNSPELL_DIR SOURCE_DIR PROGRAM_DIR PACKED_DIR THESAURUS_DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <string>
#include <unordered_set>
#include <vector>

#include "datagen/hunspell_words.h"
#include "datagen/letter_tables.h"
#include "datagen/rare_words.h"
#include "datagen/validator_training.h"
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "proofing/dictionary_format.h"
#include "proofing/language_format.h"
#include "proofing/letter_model.h"

namespace {

constexpr char kRightQuote = '\x92';  // the right single quotation mark in code pages 1251 and 1252

struct LanguageRecipe {
  std::string Hunspell;         // base name of the .aff/.dic pair
  LCID Lcid;
  std::string DataName;         // dictionary base name
  std::string Title, Description;
  std::string Descriptor;       // ".qlx" base name
  std::string Name;             // language name in the descriptor
  std::string CommonWordsFile;  // UTF-8, one word a line
  std::string ValidatorFile;
  // UTF-8 text of the letter tables.
  std::string Alphabet;
  std::vector<std::string> KeyboardRows;
  std::vector<std::string> SoundAlikes;
  std::string InsertionLetters;
  std::vector<std::string> ExtraWords;  // forms the checker relies on that hunspell lacks
  bool AsciiValidator;                  // train only on words the 1251 validator can read alike
  bool TypographicApostrophes;          // also store each form with "'" written as the right quote
  std::string Thesaurus;                // MyThes base name of the rare words ("" for none)
  std::string RareDataName;             // their dictionary, off by default
};

std::string ToCodePage(const std::string& Utf8, unsigned CodePage) { return WideToAnsi(Utf8ToWide(Utf8), CodePage); }

std::vector<std::string> ToCodePage(const std::vector<std::string>& Utf8, unsigned CodePage) {
  std::vector<std::string> out;
  for (const auto& text : Utf8) out.push_back(ToCodePage(text, CodePage));
  return out;
}

std::vector<std::string> ReadLines(const std::string& FileName) {
  std::ifstream in(NativePath(FileName));
  if (!in) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

// The word forms in the language's code page: forms the code page cannot hold, forms longer
// than a dictionary record and forms with control characters are left out.
std::vector<std::string> DictionaryWords(const LanguageRecipe& Recipe, const std::string& HunspellDir, unsigned CodePage) {
  const std::string base = HunspellDir + Recipe.Hunspell;
  const auto forms = ExpandHunspellDictionary(base + ".aff", base + ".dic");
  std::vector<std::string> words;
  words.reserve(forms.size() + Recipe.ExtraWords.size());
  for (const auto& form : forms) {
    bool lossy = false;
    std::string word = WideToAnsi(form, CodePage, &lossy);
    if (lossy || word.empty() || word.size() > size_t(kMaxDictWordLength)) continue;
    if (std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) < 32; })) continue;
    if (Recipe.TypographicApostrophes && word.find('\'') != std::string::npos) {
      std::string typographic = word;
      std::replace(typographic.begin(), typographic.end(), '\'', kRightQuote);
      words.push_back(std::move(typographic));
    }
    words.push_back(std::move(word));
  }
  for (const auto& extra : ToCodePage(Recipe.ExtraWords, CodePage)) words.push_back(extra);
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

// The look-up's binary search needs the case-insensitive order to follow the stored order.
void CheckLookupOrder(LCID Lcid, const std::vector<std::string>& Words) {
  for (size_t i = 1; i < Words.size(); ++i)
    if (Words[i - 1].size() == Words[i].size() && CompareLocaleStrings(Lcid, true, Words[i - 1], Words[i]) > 0)
      throw Exception("Dictionary order breaks the look-up at \"" + Words[i] + "\"");
}

TQDictHeader DictionaryHeader(LCID Lcid, const std::string& Title, const std::string& Description,
                               const std::string& DataName, int Group, bool OnByDefault) {
  TQDictHeader header;
  header.SetLcid(Lcid);
  header.SetTitle(Title);
  header.SetDescription(Description);
  header.SetDataName(DataName);
  header.SetGroupNumber(Group);
  header.SetOnByDefault(OnByDefault ? 1 : 0);
  return header;
}

// The rare words in a dictionary of their own (group 2, off by default): the correction engine
// switches it on for its passes that read unusual spellings.
void BuildRareDictionary(const LanguageRecipe& Recipe, const std::string& ThesaurusDir, const std::string& ProgramDir,
                         unsigned CodePage, const std::vector<std::string>& Words) {
  const std::string base = ThesaurusDir + Recipe.Thesaurus;
  std::vector<std::string> rare =
      RareThesaurusWords(base + ".idx", base + ".dat", ToCodePage(Recipe.Alphabet, CodePage), CodePage,
                         std::unordered_set<std::string>(Words.begin(), Words.end()));
  SortDictWords(Recipe.Lcid, rare);
  CheckLookupOrder(Recipe.Lcid, rare);
  TQDictHeader header = DictionaryHeader(Recipe.Lcid, Recipe.Name + " (rare words)", "from mythes-ru",
                                         Recipe.RareDataName, 2, false);
  const std::string data = BuildDictData(rare, header);
  WriteFileAtomic(ProgramDir + "Dict/" + Recipe.RareDataName + ".qd", data);
  WriteFileAtomic(ProgramDir + "Dict/" + Recipe.RareDataName + ".qdi", std::string(header.Bytes.data(), kDictHeaderSize));
  std::printf("%s: %zu words\n", Recipe.RareDataName.c_str(), rare.size());
}

void Build(const LanguageRecipe& Recipe, const std::string& HunspellDir, const std::string& SourceDir,
           const std::string& ProgramDir, const std::string& PackedDir, const std::string& ThesaurusDir) {
  const auto started = std::chrono::steady_clock::now();
  const unsigned codePage = LocaleAnsiCodePage(Recipe.Lcid);
  std::vector<std::string> words = DictionaryWords(Recipe, HunspellDir, codePage);
  SortDictWords(Recipe.Lcid, words);
  CheckLookupOrder(Recipe.Lcid, words);

  TQDictHeader header = DictionaryHeader(Recipe.Lcid, Recipe.Title, Recipe.Description, Recipe.DataName, 1, true);
  const std::string data = BuildDictData(words, header);
  const std::string headerBytes(header.Bytes.data(), kDictHeaderSize);
  const std::string dictDir = ProgramDir + "Dict/";
  WriteFileAtomic(dictDir + Recipe.DataName + ".qd", data);
  WriteFileAtomic(dictDir + Recipe.DataName + ".qdi", headerBytes);
  WriteFileAtomic(PackedDir + Recipe.DataName + ".qdi", headerBytes);
  WriteFileAtomic(PackedDir + Recipe.DataName + ".qdp", headerBytes + PackDictWords(words));
  if (!Recipe.Thesaurus.empty()) BuildRareDictionary(Recipe, ThesaurusDir, ProgramDir, codePage, words);

  const std::unordered_set<std::string> known(words.begin(), words.end());
  std::vector<std::string> common;
  for (const auto& word : ToCodePage(ReadLines(SourceDir + Recipe.CommonWordsFile), codePage))
    if (known.count(word)) common.push_back(word);

  TQLanguageBlock block;
  block.SetLcid(Recipe.Lcid);
  block.SetName(Recipe.Name);
  TLetterSources sources;
  sources.Alphabet = ToCodePage(Recipe.Alphabet, codePage);
  sources.KeyboardRows = ToCodePage(Recipe.KeyboardRows, codePage);
  sources.SoundAlikes = ToCodePage(Recipe.SoundAlikes, codePage);
  sources.InsertionLetters = ToCodePage(Recipe.InsertionLetters, codePage);
  BuildLetterTables(block, sources, words);
  WriteFileAtomic(dictDir + Recipe.Descriptor + ".qlx", BuildLanguageFile(block, common, {}));
  // The letter model ranks the readings of words no dictionary knows (names).
  WriteFileAtomic(dictDir + Recipe.Descriptor + ".qlm", BuildLetterModelFile(codePage, ToCodePage(Recipe.Alphabet, codePage), words));

  // Validators judge code page 1251 text.
  std::vector<std::string> training;
  for (const auto& word : words)
    if (!Recipe.AsciiValidator ||
        std::all_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) < 128; }))
      training.push_back(Recipe.AsciiValidator ? word : WideToAnsi(AnsiToWide(word, codePage), 1251));
  WriteFileAtomic(ProgramDir + Recipe.ValidatorFile, TrainValidator(training, ToCodePage(Recipe.Alphabet, 1251)));

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%s: %zu words, %zu common words, %.1f s\n", Recipe.DataName.c_str(), words.size(), common.size(), seconds);
}

std::vector<LanguageRecipe> Languages() {
  LanguageRecipe english{
      "en_GB", LANG_ENGLISH_US, "en_uk", "English (British)", "from hunspell-en-gb", "english", "English",
      "common_en.txt", "english.qgo", "abcdefghijklmnopqrstuvwxyz",
      {"qwertyuiop", "asdfghjkl", "zxcvbnm"},
      {"aeiou", "iy", "ck", "cs", "sz", "mn"}, "aeiou", {}, true, true, "", ""};
  LanguageRecipe russian{
      "ru_RU", LANG_RUSSIAN, "ru_yo", "Russian (with yo)", "from hunspell-ru", "russian", "Russian",
      "common_ru.txt", "russian.qgo", "абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
      {"йцукенгшщзхъ", "фывапролджэ", "ячсмитьбю"},
      {"ао", "еиэя", "иы", "ьъ", "зс", "бп", "дт", "гк", "вф", "жш", "шщ", "цс", "юу"},
      "аеиоуыэюя",
      // Endings written after a number and a hyphen ("5-й", "10-го"), the particles "б" and "ж"
      // ("если б", "что ж") and the common abbreviations with their dots, which hunspell-ru does
      // not list.
      {"б", "ж", "#-й", "#-я", "#-е", "#-ю", "#-м", "#-х", "#-го", "#-му", "#-ми", "#-ой", "#-ый", "#-ий", "#-ая",
       "#-ое", "#-ые", "#-ей", "#-ом", "#-ых", "#-ым", "#-ого", "#-ому", "#-ыми", "#-ти",
       "т.е.", "т.д.", "т.п.", "т.к.", "т.н.", "т.ч.", "н.э.", "г.", "гг.", "в.", "вв.", "ул.", "д.", "стр.",
       "тыс.", "млн.", "млрд.", "коп.", "им.", "напр.", "с."},
      false, false, "th_ru_RU_v2", "ru_rare"};
  return {english, russian};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: qm_datagen HUNSPELL_DIR SOURCE_DIR PROGRAM_DIR PACKED_DIR THESAURUS_DIR\n");
    return 2;
  }
  const std::string hunspellDir = IncludeTrailingPathDelimiter(argv[1]);
  const std::string sourceDir = IncludeTrailingPathDelimiter(argv[2]);
  const std::string programDir = IncludeTrailingPathDelimiter(argv[3]);
  const std::string packedDir = IncludeTrailingPathDelimiter(argv[4]);
  const std::string thesaurusDir = IncludeTrailingPathDelimiter(argv[5]);
  try {
    ForceDirectories(programDir + "Dict");
    ForceDirectories(packedDir);
    std::vector<std::future<void>> jobs;
    for (const auto& recipe : Languages())
      jobs.push_back(std::async(std::launch::async, Build, recipe, hunspellDir, sourceDir, programDir, packedDir, thesaurusDir));
    for (auto& job : jobs) job.get();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qm_datagen: %s\n", error.what());
    return 1;
  }
  return 0;
}
