#include "fuzz/fuzz_readers.h"

const std::vector<TFuzzReader>& FuzzReaders() {
  static const std::vector<TFuzzReader> readers = {
      {"rtf", FuzzRtf},
      {"registry", FuzzRegistry},
      {"ini", FuzzIni},
      {"language_file", FuzzLanguageFile},
      {"dictionary", FuzzDictionary},
      {"spell_language", FuzzSpellLanguage},
      {"grammar", FuzzGrammar},
      {"validator", FuzzValidator},
      {"bookmarks", FuzzBookmarks},
      {"form_layout", FuzzFormLayout},
      {"data_tree_stream", FuzzDataTreeStream},
      {"plain_text", FuzzPlainText},
      {"symbols", FuzzSymbols},
      {"web_directory", FuzzWebDirectory},
      {"expression", FuzzExpression},
      {"mail_decoder", FuzzMailDecoder},
  };
  return readers;
}
