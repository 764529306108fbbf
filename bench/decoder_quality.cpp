// Quality of the Cyrillic decoder's automatic search on real text, damaged the way it happens:
// each step of a chain of one, two or three wrong encoding changes is applied to the text in
// whatever encoding it is in at that moment (the kinds of chain in turn), and the chain is kept
// when the reverse chain gives the sentence back byte for byte; nothing asks whether the search
// could follow the undoing steps. The search must give back each sentence exactly; correct
// Russian and English sentences must come through unchanged, and a lone letter or two stays.
// Two sets: the held-out prose of the word frequencies (datagen/corpus.py: fortunes and manual
// pages the frequency table never saw) and the manual-page sentences of bench/data/decoder.
// The shares are reported as counters (percent) and printed as a table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/string_list.h"
#include "proofing/language.h"
#include "bench/program_spell.h"
#include "proofing/spell.h"
#include "proofing/word_frequencies.h"
#include "proofing/word_routines.h"
#include "tools/cyr_decoder.h"

namespace {

constexpr size_t kMaxSentences = 700;

std::vector<std::string> Lines(const std::string& path) {
  TStringList lines;
  lines.SetText(ReadFileBytes(path));
  std::vector<std::string> result;
  for (int i = 0; i < lines.Count(); ++i)
    if (!lines[i].empty()) result.push_back(lines[i]);
  return result;
}

std::vector<std::string> ShippedSentences(const char* name) {
  std::vector<std::string> result;
  for (const std::string& line : Lines(std::string(QM_SOURCE_DIR "/bench/data/decoder/") + name))
    result.push_back(WideToAnsi(Utf8ToWide(line), 1251));
  return result;
}

bool IsCapital(unsigned char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 0xC0 && ch <= 0xDF) || ch == 0xA8; }

// Sentences of the held-out prose (one unit a line, UTF-8) that code page 1251 holds: split
// after . ! ? before a capital (but after an initial), 30 to 220 bytes, starting with a capital and ending with . ! ?,
// for Russian with three words or more of Cyrillic letters; at most kMaxSentences, spread
// evenly over the file.
std::vector<std::string> HeldOutSentences(const char* name, bool russian) {
  std::vector<std::string> all;
  for (const std::string& line : Lines(std::string(QM_CORPUS_DIR "/") + name)) {
    bool lossy = false;
    const std::string unit = WideToAnsi(Utf8ToWide(line), 1251, &lossy);
    if (lossy) continue;
    size_t start = 0;
    for (size_t i = 0; i < unit.size(); ++i) {
      // Not after an initial ("В. Белинский").
      const bool initial = i >= 1 && (i == 1 || unit[i - 2] == ' ' || unit[i - 2] == '.');
      const bool end = i + 1 == unit.size() ||
                       ((unit[i] == '.' || unit[i] == '!' || unit[i] == '?') && !initial && unit[i + 1] == ' ' &&
                        i + 2 < unit.size() && IsCapital(static_cast<unsigned char>(unit[i + 2])));
      if (!end) continue;
      const std::string sentence = unit.substr(start, i + 1 - start);
      start = i + 2;
      if (sentence.size() < 30 || sentence.size() > 220 || !IsCapital(static_cast<unsigned char>(sentence[0]))) continue;
      const char last = sentence.back();
      if (last != '.' && last != '!' && last != '?') continue;
      int cyrillicWords = 0;
      for (size_t k = 0; k < sentence.size(); ++k)
        if (IsCyrillicLetter(static_cast<unsigned char>(sentence[k])) && (k == 0 || sentence[k - 1] == ' ')) ++cyrillicWords;
      if (russian ? cyrillicWords < 3 : cyrillicWords > 0) continue;
      all.push_back(sentence);
    }
  }
  if (all.size() <= kMaxSentences) return all;
  std::vector<std::string> spread;
  for (size_t i = 0; i < kMaxSentences; ++i) spread.push_back(all[i * all.size() / kMaxSentences]);
  return spread;
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

// The search as the program runs it: with the Russian dictionary and word frequencies.
TCyrSearchResult Search(const std::string& text, int maxDepth) {
  TCyrSearchEvents events;
  events.IsKnownWord = [](const std::string& word) { return ProgramSpell().IsValidWord(word, LANG_RUSSIAN); };
  const TWordFrequencies& frequencies = ProgramSpell().FindLanguage(LANG_RUSSIAN)->Frequencies();
  events.WordClass = [&frequencies](const std::string& word) {
    return frequencies.ClassOf(FrequencyKey(word, LANG_RUSSIAN));
  };
  return SearchCyrChain(text, maxDepth, events);
}

std::string Decoded(const std::string& text, int maxDepth) {
  const TCyrSearchResult result = Search(text, maxDepth);
  std::string decoded = text;
  if (result.Outcome == TCyrSearchOutcome::Accepted) ApplyCyrChain(decoded, result.Chain);
  return decoded;
}

std::string Utf8(const std::string& text) { return WideToUtf8(AnsiToWide(text, 1251)); }

// Damages each sentence by a chain of `depth` steps (the chains in turn; one that changes
// nothing or cannot be undone exactly is passed over for the next) and answers the share the
// search gives back exactly.
double Recovered(const std::vector<std::string>& russian, int depth, bool list) {
  const std::vector<TCyrChain> chains = Chains(depth);
  int tried = 0, recovered = 0;
  size_t next = 0;
  for (const std::string& sentence : russian) {
    for (size_t attempt = 0; attempt < chains.size(); ++attempt) {
      const TCyrChain& chain = chains[next++ % chains.size()];
      std::string damaged = sentence, undone;
      for (const TCyrStep& step : chain) ApplyCyrChain(damaged, {step});
      undone = damaged;
      for (const TCyrStep& step : Reversed(chain)) ApplyCyrChain(undone, {step});
      if (damaged == sentence || undone != sentence) continue;
      ++tried;
      const std::string decoded = Decoded(damaged, kCyrMaxDepth);
      if (decoded == sentence)
        ++recovered;
      else if (list)
        std::printf("  depth %d, %s-> %s: %s\n    for %s\n", depth, CyrChainText(chain).c_str(),
                    CyrChainText(Search(damaged, kCyrMaxDepth).Chain).c_str(), Utf8(decoded).c_str(), Utf8(sentence).c_str());
      break;
    }
  }
  const double share = tried ? 100.0 * recovered / tried : 0;
  std::printf("  depth %d: %d of %d recovered exactly (%.2f %%)\n", depth, recovered, tried, share);
  return share;
}

// The share of `sentences` both ways the program runs the search leave alone: silently one
// step deep, and from the window.
double Unchanged(const std::vector<std::string>& sentences, const char* name, bool list) {
  int unchanged = 0;
  for (const std::string& sentence : sentences) {
    const std::string silent = Decoded(sentence, 1), deep = Decoded(sentence, kCyrMaxDepth);
    if (silent == sentence && deep == sentence) ++unchanged;
    else if (list) std::printf("  %s changed: %s\n    to %s\n", name, Utf8(sentence).c_str(), Utf8(silent != sentence ? silent : deep).c_str());
  }
  const double share = sentences.empty() ? 0 : 100.0 * unchanged / sentences.size();
  std::printf("  correct %s left unchanged: %d of %zu (%.2f %%)\n", name, unchanged, sentences.size(), share);
  return share;
}

void DecoderQuality(benchmark::State& state) {
  SetProgramFolder(QM_PROGRAM_DIR "/");
  struct Set {
    const char* Name;
    std::vector<std::string> Russian, English;
  };
  const Set sets[] = {
      {"held_out", HeldOutSentences("ru_test.txt", true), HeldOutSentences("en_test.txt", false)},
      {"manpages", ShippedSentences("ru_sentences.txt"), ShippedSentences("en_sentences.txt")},
  };
  const bool list = state.range(0) != 0;
  for (auto _ : state) {
    for (const Set& set : sets) {
      std::printf("%s: %zu Russian and %zu English sentences\n", set.Name, set.Russian.size(), set.English.size());
      for (int depth = 1; depth <= 3; ++depth)
        state.counters[std::string(set.Name) + "_depth" + std::to_string(depth) + "_pct"] = Recovered(set.Russian, depth, list);
      state.counters[std::string(set.Name) + "_russian_unchanged_pct"] = Unchanged(set.Russian, "Russian", list);
      state.counters[std::string(set.Name) + "_english_unchanged_pct"] = Unchanged(set.English, "English", list);
    }
    // Texts of one or two Cyrillic letters give no evidence: the search leaves each of them.
    int thin = 0, thinUnchanged = 0;
    for (int first = 0xC0; first <= 0xFF; ++first) {
      for (const std::string& text : {std::string(1, char(first)), std::string(1, char(first)) + "\xEE"}) {
        ++thin;
        thinUnchanged += Decoded(text, 1) == text && Decoded(text, kCyrMaxDepth) == text;
      }
    }
    std::printf("texts of one or two letters left unchanged: %d of %d\n", thinUnchanged, thin);
    state.counters["thin_unchanged_pct"] = 100.0 * thinUnchanged / thin;
  }
}
// Argument 1 also lists every sentence that went wrong.
BENCHMARK(DecoderQuality)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
