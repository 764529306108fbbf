// The Cyrillic decoder's engine: chains of encoding changes between the five columns of the
// Cyrillic code table, and the automatic search for the chain of wrong changes a code page 1251
// text went through. It works on a sample of the text and knows nothing of windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kCyrMaxDepth = 6;       // the deepest chain the search tries
inline constexpr int kCyrSampleSize = 512;   // bytes of the text the search looks at

// One change of encoding: from column `From` to column `To` (0 "WIN" .. 4 "MAC").
struct TCyrStep {
  int From = 0;
  int To = 0;
  bool operator==(const TCyrStep&) const = default;
};
using TCyrChain = std::vector<TCyrStep>;

// "KOI to WIN".
std::string CyrStepName(const TCyrStep& step);
// Each step's name followed by a carriage return.
std::string CyrChainText(const TCyrChain& chain);
// Converts `text` by each step in order through the code table (bytes in no row stay; "№" is a
// sign like any other and stays). Columns outside 0..4 raise EInvalidOperation.
void ApplyCyrChain(std::string& text, const TCyrChain& chain);
// The part of `text` the search looks at: up to 512 bytes from its first byte of 128 or above
// (empty when there is none).
std::string_view CyrDecoderSample(std::string_view text);
// The step test: converts `sample` in place by `step` and answers whether more than two thirds
// of its bytes of 128 or above were letters of the source column.
bool CyrStepTest(std::string& sample, const TCyrStep& step);

// What a search asks of its caller. Every member may be empty.
struct TCyrSearchEvents {
  // Progress in percent (0..100, never more); true asks the search to stop.
  std::function<bool(int percent)> Progress;
  // A pass over chains of `depth` steps starts (of at most `maxDepth`).
  std::function<void(int depth, int maxDepth)> Pass;
  // A chain of the pass's depth that turns the sample (`decoded`) into Russian: true accepts
  // it; false goes on searching, up to the depth `maxDepth` is left at. Empty: accept.
  std::function<bool(const TCyrChain& chain, std::string_view decoded, int& maxDepth)> Variant;
  // Nothing found up to `maxDepth`: answers a deeper limit to go on with, or anything else to
  // end. Empty: end.
  std::function<int(int maxDepth)> Fail;
  // Whether a code page 1251 text reads as Russian. Empty: IsCyrillicText.
  std::function<bool(std::string_view text)> IsRussian;
  // Whether a Russian word (code page 1251) is in the dictionary; ranks the chains that pass.
  // Empty: no dictionary.
  std::function<bool(const std::string& word)> IsKnownWord;
  // The frequency class of a Russian word in ordinary prose (0: never seen); ranks the readings
  // by how common their words are. Empty: no frequencies.
  std::function<int(const std::string& word)> WordClass;
};

enum class TCyrSearchOutcome {
  AlreadyRight,  // the sample already reads as Russian (or holds no byte of 128 or above)
  Accepted,      // Chain was found and accepted
  NotFound,      // no chain up to the depth limit
  Stopped,       // the progress asked to stop
};

struct TCyrSearchResult {
  TCyrSearchOutcome Outcome = TCyrSearchOutcome::NotFound;
  TCyrChain Chain;            // the accepted chain (Accepted only)
  int CandidatesTested = 0;   // chains whose result was judged
  int64_t ElapsedMs = 0;      // search time, without the time spent in Variant and Fail
  int MaxDepth = 0;           // the depth limit at the end
};

// Searches for the chain of at most `maxDepth` (1..6) steps that turns the sample of `text` into
// Russian. Chains of up to three steps are judged together and offered best reading first
// (fewest wrong words, then case doubts, then the most common words, then the shortest chain):
// the steps that fit the text (pass the step test) depth by depth until a reading is clean, then
// every chain up to that length (three steps when none is clean) whether its steps fit or not.
// Longer chains, by fitting steps only, are tried a depth at a time when none of those is
// accepted. A step never changes an encoding into itself nor undoes the step before it. A
// sample that reads as Russian already is left alone unless a chain of at most three steps
// makes it read with fewer wrong words; one with at most two bytes of 128 or above is left
// alone always (AlreadyRight).
TCyrSearchResult SearchCyrChain(std::string_view text, int maxDepth, const TCyrSearchEvents& events = {});
