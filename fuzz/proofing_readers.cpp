// The spelling checker's files: dictionaries (also packed), language descriptors with their user
// dictionaries and word frequencies, validators, and the correction engine's grammars.
#include <string>

#include "fuzz/fuzz_readers.h"
#include "fuzz/fuzz_support.h"
#include "platform/exceptions.h"
#include "platform/ini_document.h"
#include "proofing/dictionary.h"
#include "proofing/dictionary_format.h"
#include "proofing/grammar.h"
#include "proofing/grammar_cipher.h"
#include "proofing/language.h"
#include "proofing/validator.h"
#include "textcore/decipher.h"

namespace {

const char* const kProbeWords[] = {"a", "the", "word", "Word", "WORD", "\xEF\xF0\xE8\xE2\xE5\xF2", "x-y", "abc."};

}  // namespace

// A dictionary header and its data file (the first 1024 bytes, then the rest), or with a first
// byte 'P' a packed dictionary to unpack; then look-ups. The data file's name is ours, so that
// the header cannot send the reader elsewhere.
int FuzzDictionary(const std::uint8_t* Data, std::size_t Size) {
  std::string_view input = FuzzText(Data, Size);
  const bool packed = !input.empty() && input[0] == 'P';
  if (packed) input.remove_prefix(1);
  TQDictHeader header;
  std::copy_n(input.begin(), std::min(input.size(), header.Bytes.size()), header.Bytes.begin());
  header.SetDataName("fuzz");
  std::string headerBytes(header.Bytes.data(), header.Bytes.size());
  headerBytes.resize(std::min(input.size(), header.Bytes.size()));
  const std::string rest(input.substr(std::min(input.size(), header.Bytes.size())));
  if (packed) {
    WriteFuzzFile("fuzz.qdi", std::string(header.Bytes.data(), header.Bytes.size()));
    WriteFuzzFile("fuzz.qdp", headerBytes + rest);
  } else {
    WriteFuzzFile("fuzz.qdi", headerBytes);
    WriteFuzzFile("fuzz.qd", rest);
  }
  {
    TQDictionary dictionary(FuzzFile("fuzz.qdi"));
    dictionary.Open();
    std::string found;
    for (const char* word : kProbeWords) dictionary.FindWord(word, found, true);
  }
  ClearFuzzFiles();
  return 0;
}

// A language descriptor, its user dictionary and its word frequencies (three parts), then the
// look-ups and suggestions that read them.
int FuzzSpellLanguage(const std::uint8_t* Data, std::size_t Size) {
  const std::vector<std::string> parts = FuzzParts(FuzzText(Data, Size), 3);
  WriteFuzzFile("fuzz.qlx", parts[0]);
  if (!parts[1].empty()) WriteFuzzFile("fuzz.qud", parts[1]);
  if (!parts[2].empty()) WriteFuzzFile("fuzz.qwf", parts[2]);
  {
    TQLanguage language(FuzzFile("fuzz.qlx"), [](const std::string&) {});
    std::string found;
    TSuggestionList suggestions;
    for (const char* word : kProbeWords) {
      language.Lookup(word, found, false);
      language.CheckWord(word);
    }
    language.Suggest("wrod", suggestions, sfMisspelt);
  }
  ClearFuzzFiles();
  return 0;
}

// A validator file (".qgo"), then the scores of a few words.
int FuzzValidator(const std::uint8_t* Data, std::size_t Size) {
  WriteFuzzFile("fuzz.qgo", FuzzText(Data, Size));
  {
    TQValidator validator;
    validator.LoadFromFile(FuzzFile("fuzz.qgo"));
    for (const char* word : kProbeWords) validator.Score(word);
  }
  ClearFuzzFiles();
  return 0;
}

// A grammar: its lines deciphered as the engine reads a rule file, and the text itself read as
// the deciphered rule file (validators it names are missing).
int FuzzGrammar(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view text = FuzzText(Data, Size);
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    DecipherString(text.substr(start, end - start), 0, kGrammarMultiplier, kDecipherAddend);
    start = end + 1;
  }
  IniDocument ini;
  ini.Parse(text);
  TGrammarContent content;
  TEventColours colours = DefaultEventColours();
  ReadGrammar(ini, content, colours, true, [](const std::string&) { return FuzzFile("missing.qgo"); }, {});
  return 0;
}
