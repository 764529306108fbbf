// Quality of the Cyrillic decoder's automatic search on real text: Russian sentences from the
// Debian manual pages (bench/data/decoder, made by its extract_sentences.py) are damaged by chains of one,
// two and three wrong encoding changes, the kinds of chain in turn, keeping those that can be
// undone (the reverse chain gives the sentence back by steps that pass the search's step test);
// the search must give back each sentence exactly. Correct Russian and English sentences must come through unchanged.
// The shares are reported as counters (percent) and printed as a table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/string_list.h"
#include "proofing/spell.h"
#include "tools/cyr_decoder.h"

namespace {

std::vector<std::string> Sentences(const char* name) {
  TStringList lines;
  lines.SetText(ReadFileBytes(std::string(QM_SOURCE_DIR "/bench/data/decoder/") + name));
  std::vector<std::string> result;
  for (int i = 0; i < lines.Count(); ++i)
    if (!lines[i].empty()) result.push_back(WideToAnsi(Utf8ToWide(lines[i]), 1251));
  return result;
}

// Every chain of `depth` steps the search itself could try: no step to the same encoding and
// none that undoes the step before.
std::vector<TCyrChain> Chains(int depth) {
  std::vector<TCyrChain> chains{{}};
  for (int level = 0; level < depth; ++level) {
    std::vector<TCyrChain> longer;
    for (const TCyrChain& chain : chains)
      for (int from = 0; from < 5; ++from)
        for (int to = 0; to < 5; ++to) {
          if (from == to || (!chain.empty() && chain.back() == TCyrStep{to, from})) continue;
          TCyrChain next = chain;
          next.push_back({from, to});
          longer.push_back(next);
        }
    chains = longer;
  }
  return chains;
}

TCyrChain Reversed(const TCyrChain& chain) {
  TCyrChain undo;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) undo.push_back({it->To, it->From});
  return undo;
}

// True when `undo` turns `damaged` back into `original` by steps the search can follow: each
// step finds the text mostly in its source encoding (the step test). A damaging step that
// found little to convert cannot be told from no step at all.
bool Undoable(const std::string& damaged, const TCyrChain& undo, const std::string& original) {
  std::string text = damaged;
  for (const TCyrStep& step : undo) {
    std::string sample(CyrDecoderSample(text));
    if (!CyrStepTest(sample, step)) return false;
    ApplyCyrChain(text, {step});
  }
  return text == original;
}

// The text after the silent search (one step deep at most `maxDepth`).
TQSpell& Spell() {
  static TQSpell* spell = [] {
    auto* s = new TQSpell();
    s->LoadLanguages(QM_PROGRAM_DIR "/Dict/");
    s->EnableStandardDictionaries();
    return s;
  }();
  return *spell;
}

// The search as the program runs it: with the Russian dictionary.
TCyrSearchResult Search(const std::string& text, int maxDepth) {
  TCyrSearchEvents events;
  events.IsKnownWord = [](const std::string& word) { return Spell().IsValidWord(word, LANG_RUSSIAN); };
  return SearchCyrChain(text, maxDepth, events);
}

std::string Decoded(const std::string& text, int maxDepth) {
  const TCyrSearchResult result = Search(text, maxDepth);
  std::string decoded = text;
  if (result.Outcome == TCyrSearchOutcome::Accepted) ApplyCyrChain(decoded, result.Chain);
  return decoded;
}

void DecoderQuality(benchmark::State& state) {
  SetProgramFolder(QM_PROGRAM_DIR "/");
  const std::vector<std::string> russian = Sentences("ru_sentences.txt");
  const std::vector<std::string> english = Sentences("en_sentences.txt");
  for (auto _ : state) {
    std::printf("%zu Russian and %zu English sentences\n", russian.size(), english.size());
    for (int depth = 1; depth <= 3; ++depth) {
      const std::vector<TCyrChain> chains = Chains(depth);
      int tried = 0, recovered = 0;
      size_t next = 0;
      for (const std::string& sentence : russian) {
        // The chains go round in turn; one that cannot be undone on this sentence (or does not
        // change it) is passed over for the next.
        for (size_t attempt = 0; attempt < chains.size(); ++attempt) {
          const TCyrChain& chain = chains[next++ % chains.size()];
          std::string damaged = sentence;
          ApplyCyrChain(damaged, chain);
          if (damaged == sentence || !Undoable(damaged, Reversed(chain), sentence)) continue;
          ++tried;
          if (Decoded(damaged, kCyrMaxDepth) == sentence) {
            ++recovered;
          } else if (state.range(0)) {
            std::printf("  depth %d, %s: found %s: %s\n", depth, CyrChainText(chain).c_str(),
                        CyrChainText(Search(damaged, kCyrMaxDepth).Chain).c_str(),
                        WideToUtf8(AnsiToWide(Decoded(damaged, kCyrMaxDepth), 1251)).c_str());
          }
          break;
        }
      }
      const double share = tried ? 100.0 * recovered / tried : 0;
      std::printf("depth %d: %d of %d recovered exactly (%.2f %%)\n", depth, recovered, tried, share);
      state.counters["depth" + std::to_string(depth) + "_pct"] = share;
    }
    for (const auto& [name, sentences] : {std::pair{"russian", &russian}, std::pair{"english", &english}}) {
      int unchanged = 0;
      for (const std::string& sentence : *sentences) {
        // Both ways the program runs the search: silently one step deep, and from the window.
        if (Decoded(sentence, 1) == sentence && Decoded(sentence, kCyrMaxDepth) == sentence) ++unchanged;
        else if (state.range(0)) std::printf("  %s changed: %s\n", name, WideToUtf8(AnsiToWide(sentence, 1251)).c_str());
      }
      const double share = sentences->empty() ? 0 : 100.0 * unchanged / sentences->size();
      std::printf("correct %s left unchanged: %d of %zu (%.2f %%)\n", name, unchanged, sentences->size(), share);
      state.counters[std::string(name) + "_unchanged_pct"] = share;
    }
  }
}
// Argument 1 also lists every sentence that went wrong.
BENCHMARK(DecoderQuality)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
