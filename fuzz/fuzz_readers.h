// The readers of outside data driven by arbitrary bytes: one entry per reader, shared by the
// libFuzzer programs (fuzz_main.cpp) and the corpus test of the ordinary suite. An entry returns
// 0; a reader's documented refusal is fine, anything else (a crash, a hang, a broken promise of
// the reader) is a fault the entry lets through or aborts on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using TFuzzEntry = int (*)(const std::uint8_t* Data, std::size_t Size);

struct TFuzzReader {
  const char* Name;  // the program NAME_fuzz, the folders fuzz/corpus/NAME and fuzz/found/NAME
  TFuzzEntry Run;
};

// Every reader, in a fixed order.
const std::vector<TFuzzReader>& FuzzReaders();

int FuzzRtf(const std::uint8_t* Data, std::size_t Size);
int FuzzRegistry(const std::uint8_t* Data, std::size_t Size);
int FuzzIni(const std::uint8_t* Data, std::size_t Size);
int FuzzLanguageFile(const std::uint8_t* Data, std::size_t Size);
int FuzzDictionary(const std::uint8_t* Data, std::size_t Size);
int FuzzSpellLanguage(const std::uint8_t* Data, std::size_t Size);
int FuzzGrammar(const std::uint8_t* Data, std::size_t Size);
int FuzzValidator(const std::uint8_t* Data, std::size_t Size);
int FuzzBookmarks(const std::uint8_t* Data, std::size_t Size);
int FuzzFormLayout(const std::uint8_t* Data, std::size_t Size);
int FuzzDataTreeStream(const std::uint8_t* Data, std::size_t Size);
int FuzzPlainText(const std::uint8_t* Data, std::size_t Size);
int FuzzSymbols(const std::uint8_t* Data, std::size_t Size);
int FuzzWebDirectory(const std::uint8_t* Data, std::size_t Size);
int FuzzExpression(const std::uint8_t* Data, std::size_t Size);
int FuzzMailDecoder(const std::uint8_t* Data, std::size_t Size);
