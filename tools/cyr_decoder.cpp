#include "tools/cyr_decoder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

#include "platform/exceptions.h"
#include "proofing/text_scanner.h"
#include "proofing/word_routines.h"
#include "textcore/cyr_case.h"
#include "textcore/cyr_codes.h"

namespace {

using Clock = std::chrono::steady_clock;
using ByteMap = std::array<unsigned char, 256>;

// Pairs of distinct columns: a chain's first step has 20 choices, every later one 16 (neither
// the same column twice nor the reverse of the step before).
constexpr int64_t kFirstChoices = kCyrCodeColumns * (kCyrCodeColumns - 1);
constexpr int64_t kLaterChoices = kFirstChoices - 4;
// How deep the search looks for a better reading of text that reads as Russian already.
constexpr int kImproveDepth = 3;
// How many passes of longer chains the search tries past a reading with doubts.
constexpr int kLookAhead = 2;
// Chains longer than this are tried only when no shorter one reads as Russian at all.
constexpr int kLookAheadDepth = 3;

void CheckStep(const TCyrStep& step) {
  if (step.From < 0 || step.From >= kCyrCodeColumns || step.To < 0 || step.To >= kCyrCodeColumns)
    throw EInvalidOperation("Encoding change out of range (" + std::to_string(step.From) + " to " +
                            std::to_string(step.To) + ")");
}

// The byte maps and source-letter tests of every pair of columns, made once.
struct StepTables {
  std::array<std::array<ByteMap, kCyrCodeColumns>, kCyrCodeColumns> Maps;
  std::array<std::array<bool, 256>, kCyrCodeColumns> Letters{};
  StepTables() {
    for (int from = 0; from < kCyrCodeColumns; ++from) {
      for (int to = 0; to < kCyrCodeColumns; ++to) Maps[from][to] = CyrCodeMap(from, to);
      for (const auto& row : CyrCodeTable) Letters[from][row[from]] = true;
    }
  }
};

const StepTables& Tables() {
  static const StepTables tables;
  return tables;
}

// Answers the step test; `unmatched` gets the number of bytes of 128 or above that are no
// letter of the source column (a right step leaves none).
bool StepTest(std::string& sample, const TCyrStep& step, const StepTables& tables, int& unmatched) {
  const ByteMap& map = tables.Maps[step.From][step.To];
  const auto& letters = tables.Letters[step.From];
  int high = 0, matches = 0;
  for (char& ch : sample) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    if (byte < 128) continue;
    ++high;
    if (letters[byte]) {
      ++matches;
      ch = static_cast<char>(map[byte]);
    }
  }
  unmatched = high - matches;
  return matches > high / 1.5;
}

// 16^k for the node counts.
int64_t Power(int64_t base, int exponent) {
  int64_t result = 1;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}

// Nodes strictly below a node of `level` in a pass limited to `limit` steps.
int64_t NodesBelow(int level, int limit) {
  int64_t nodes = 0;
  for (int k = 1; k <= limit - level; ++k) nodes += Power(kLaterChoices, k);
  return nodes;
}

// Nodes of every pass from depth 1 to `maxDepth`.
int64_t TotalNodes(int maxDepth) {
  int64_t total = 0;
  for (int depth = 1; depth <= maxDepth; ++depth) total += kFirstChoices * (1 + NodesBelow(1, depth));
  return total;
}

uint64_t SampleHash(std::string_view text) {
  uint64_t hash = 1469598103934665603ull;  // FNV-1a
  for (char ch : text) hash = (hash ^ static_cast<unsigned char>(ch)) * 1099511628211ull;
  return hash ^ text.size();
}

// `text` with "ё" and "Ё" as "е" and "Е": the validator reads them so, the word test of the
// Cyrillic-text test would take them for signs.
std::string FoldYo(std::string_view text) {
  constexpr char kYo = '\xB8', kYe = '\xE5', kCapitalYo = '\xA8', kCapitalYe = '\xC5';
  std::string folded(text);
  for (char& ch : folded) ch = ch == kYo ? kYe : ch == kCapitalYo ? kCapitalYe : ch;
  return folded;
}

// How a text that passes the Cyrillic-text test reads. Flaws: words holding a sign among their
// letters, words with capitals inside, words that do not look Russian, one-letter words that
// are none (short words with capitals excepted: abbreviations), dashes glued to letters.
// Unknown: Russian-looking words the dictionary does not know. Score: each Russian-looking word,
// in small letters or capitalised most, in capitals less, the frequent one-letter words more
// than the rare ones.
struct TReading {
  int Flaws = 0;
  int Unknown = 0;
  int Score = 0;
  // Fewer flaws first, then fewer unknown words, then the higher score.
  bool operator<(const TReading& other) const {
    if (Flaws != other.Flaws) return Flaws > other.Flaws;
    if (Unknown != other.Unknown) return Unknown > other.Unknown;
    return Score < other.Score;
  }
  // What a longer chain might still put right.
  int Doubts() const { return Flaws + Unknown; }
};

// The one-letter words of code page 1251, frequent ones first ("в", "и", "с", "а", "к", "у",
// "о", "я"), and the score of a one-letter word: more for the frequent ones.
int OneLetterScore(unsigned char letter) {
  static const std::string_view frequent = "\xE2\xE8\xF1\xE0\xEA\xF3\xEE\xFF";
  const size_t rank = frequent.find(static_cast<char>(CyrLowerCase(std::string(1, char(letter)))[0]));
  return rank == std::string_view::npos ? 0 : rank < 2 ? 3 : rank < 5 ? 2 : 1;
}

TReading ReadingOf(std::string_view text, const std::function<bool(const std::string&)>& isKnown) {
  static const TCharSet delimiters = EngineWordDelimiters();
  constexpr unsigned char kEnDash = 0x96, kEmDash = 0x97;
  constexpr size_t kAbbreviation = 3;
  TReading reading;
  const auto letterAt = [&](size_t i) { return i < text.size() && IsCyrillicLetter(static_cast<unsigned char>(text[i])); };
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && delimiters.test(static_cast<unsigned char>(text[i]))) {
      const unsigned char ch = static_cast<unsigned char>(text[i]);
      if ((ch == kEnDash || ch == kEmDash) && (letterAt(i + 1) || (i > 0 && letterAt(i - 1)))) ++reading.Flaws;
      ++i;
    }
    const size_t start = i;
    bool high = false, sign = false, other = false;
    while (i < text.size() && !delimiters.test(static_cast<unsigned char>(text[i]))) {
      const unsigned char ch = static_cast<unsigned char>(text[i]);
      high |= ch >= 128;
      sign |= ch >= 128 && !IsCyrillicLetter(ch);
      other |= ch < 128;
      ++i;
    }
    if (!high) continue;
    if (sign) {
      ++reading.Flaws;
      continue;
    }
    if (other) continue;  // Cyrillic with Latin letters or digits: judged alike in every reading
    const std::string_view word = text.substr(start, i - start);
    const std::string lower = CyrLowerCase(word), upper = CyrUpperCase(word);
    const bool russian = RussianScore(FoldYo(word)) == 0;
    if (word.size() == 1) {
      if (russian) reading.Score += OneLetterScore(static_cast<unsigned char>(word[0]));
      else ++reading.Flaws;  // a letter that is no word of its own
      continue;
    }
    if (word == lower || word.substr(1) == std::string_view(lower).substr(1)) {
      // Small letters, or a capital and small letters.
      if (!russian) ++reading.Flaws;
      else reading.Score += 3;
    } else if (word == upper) {
      if (word.size() <= kAbbreviation) continue;  // an abbreviation: no judgement
      if (russian) reading.Score += 1;
      else ++reading.Flaws;
    } else if (word.size() > kAbbreviation) {
      ++reading.Flaws;  // capitals inside a word
    }
    if (russian && isKnown && !isKnown(std::string(word))) ++reading.Unknown;
  }
  return reading;
}

struct StopSearch {};
struct AcceptChain {};

// The state of one search, shared by its levels.
class Search {
public:
  Search(const TCyrSearchEvents& events, int maxDepth) : events_(events), maxDepth_(maxDepth) {
    // Readings of one search share most of their words: the dictionary is asked once a word.
    if (events_.IsKnownWord)
      known_ = [this](const std::string& word) {
        const auto found = knownWords_.find(word);
        if (found != knownWords_.end()) return found->second;
        return knownWords_.emplace(word, events_.IsKnownWord(word)).first->second;
      };
  }

  TCyrSearchResult Run(std::string_view text) {
    TCyrSearchResult result;
    const std::string_view sample = CyrDecoderSample(text);
    running_ = Clock::now();
    buffers_.assign(kCyrMaxDepth + 1, std::string());
    if (sample.empty()) {
      result.Outcome = TCyrSearchOutcome::AlreadyRight;
      return Finish(result);
    }
    try {
      // A reading must be better than the text's own: fewer flaws, or as many and fewer
      // unknown words. Text that reads as Russian already is searched for a better reading
      // only a few steps deep (Russian text with only its capitals and "я" moved, as Mac
      // Cyrillic does).
      const bool readsRussian = IsRussian(sample);
      offered_.insert(SampleHash(sample));
      floor_ = ReadingOf(sample, known_);
      floor_.Score = std::numeric_limits<int>::max();
      int depth = 1;
      for (;;) {
        total_ = TotalNodes(maxDepth_);
        while (depth <= maxDepth_ && !(readsRussian && depth > kImproveDepth)) {
          Pass(sample, depth);
          if (!found_.empty()) {
            // A longer chain may read better still (a shorter one can get the small letters
            // right and miss the capitals): while the best reading has doubts, go on up to
            // kLookAhead steps past the last pass that removed some.
            TReading best = Best();
            const int lookAheadLimit = std::min(maxDepth_, kLookAheadDepth);
            for (int improved = depth; best.Doubts() > 0 && depth < lookAheadLimit && depth - improved < kLookAhead;) {
              Pass(sample, ++depth);
              if (Best().Doubts() < best.Doubts()) {
                best = Best();
                improved = depth;
              }
            }
            Offer();
          }
          ++depth;
        }
        if (readsRussian) {
          result.Outcome = TCyrSearchOutcome::AlreadyRight;
          return Finish(result);
        }
        if (!events_.Fail) break;
        const int deeper = Paused([&] { return events_.Fail(maxDepth_); });
        if (deeper <= maxDepth_ || deeper > kCyrMaxDepth) break;
        maxDepth_ = deeper;
      }
      result.Outcome = TCyrSearchOutcome::NotFound;
    } catch (const StopSearch&) {
      result.Outcome = TCyrSearchOutcome::Stopped;
    } catch (const AcceptChain&) {
      result.Outcome = TCyrSearchOutcome::Accepted;
      result.Chain = chain_;
    }
    return Finish(result);
  }

private:
  // One pass over the chains of `depth` steps.
  void Pass(std::string_view sample, int depth) {
    if (events_.Pass) events_.Pass(depth, maxDepth_);
    visited_.clear();
    visited_.emplace(SampleHash(sample), 0);
    Level(sample, 1, depth, TCyrStep{-1, -1});
  }

  // False when this pass met the same text at this level or above: the chains from there on
  // were (or are being) tried with at least as many steps to go.
  bool FirstVisit(const std::string& sample, int level) {
    const auto [it, inserted] = visited_.try_emplace(SampleHash(sample), level);
    if (inserted) return true;
    if (it->second <= level) return false;
    it->second = level;
    return true;
  }

  TReading Best() const {
    TReading best = floor_;
    for (const Candidate& candidate : found_) best = std::max(best, candidate.Reading);
    return best;
  }

  void Level(std::string_view input, int level, int limit, const TCyrStep& previous) {
    const StepTables& tables = Tables();
    std::string& sample = buffers_[size_t(level)];
    for (int from = 0; from < kCyrCodeColumns; ++from) {
      for (int to = 0; to < kCyrCodeColumns; ++to) {
        if (to == from || (to == previous.From && from == previous.To)) continue;
        ++counter_;
        Step();
        const TCyrStep step{from, to};
        chain_.resize(size_t(level - 1));
        chain_.push_back(step);
        sample.assign(input);
        if (!StepTest(sample, step, tables, unmatched_[size_t(level)]) || !FirstVisit(sample, level)) {
          counter_ += NodesBelow(level, limit);  // the branch not entered counts as done
          continue;
        }
        if (level == limit)
          Collect(sample);
        else
          Level(sample, level + 1, limit, step);
      }
    }
  }

  // A chain of the pass's full depth whose result reads as Russian joins the pass's candidates,
  // unless an earlier chain of the pass gave the same result.
  void Collect(const std::string& sample) {
    ++candidates_;
    if (!IsRussian(sample)) return;
    if (!offered_.insert(SampleHash(sample)).second) return;
    const TReading reading = ReadingOf(sample, known_);
    if (!(floor_ < reading)) return;
    int unmatched = 0;
    for (size_t level = 1; level <= chain_.size(); ++level) unmatched += unmatched_[level];
    found_.push_back({chain_, sample, reading, unmatched});
  }

  // The candidates of a pass, best first (the loop order among equals): the first is taken
  // when there are no questions; otherwise each is offered until one is accepted.
  void Offer() {
    std::stable_sort(found_.begin(), found_.end(), [](const Candidate& a, const Candidate& b) {
      if (a.Reading < b.Reading || b.Reading < a.Reading) return b.Reading < a.Reading;
      return a.Unmatched < b.Unmatched;
    });
    std::vector<Candidate> found = std::move(found_);
    found_.clear();
    for (const Candidate& candidate : found) {
      chain_ = candidate.Chain;
      if (!events_.Variant) throw AcceptChain();
      int maxDepth = maxDepth_;
      const bool accepted = Paused([&] { return events_.Variant(chain_, candidate.Sample, maxDepth); });
      if (accepted) throw AcceptChain();
      if (maxDepth != maxDepth_) {
        maxDepth_ = std::clamp(maxDepth, 1, kCyrMaxDepth);
        total_ = std::max(TotalNodes(maxDepth_), counter_);
      }
    }
  }

  // Progress, asked when the percentage changes and at least every few milliseconds, so that
  // the caller's window stays responsive and the Stop button works through any depth.
  void Step() {
    if (!events_.Progress) return;
    const int percent = total_ > 0 ? int(std::min<int64_t>(counter_ * 100 / total_, 100)) : 100;
    if (percent == lastPercent_ && (counter_ & 63) != 0) return;
    const Clock::time_point now = Clock::now();
    if (percent == lastPercent_ && now - lastProgress_ < std::chrono::milliseconds(20)) return;
    lastPercent_ = percent;
    lastProgress_ = now;
    if (events_.Progress(percent)) throw StopSearch();
  }

  bool IsRussian(std::string_view sample) {
    const uint64_t key = SampleHash(sample);
    const auto found = judged_.find(key);
    if (found != judged_.end()) return found->second;
    // "ё" reads as "е" (the word test would take it for a sign).
    const std::string folded = FoldYo(sample);
    const bool russian = events_.IsRussian ? events_.IsRussian(folded) : IsCyrillicText(folded);
    if (judged_.size() > 100000) judged_.clear();
    judged_.emplace(key, russian);
    return russian;
  }

  // Runs a question to the user with the search clock stopped.
  template <typename F>
  std::invoke_result_t<F> Paused(F question) {
    elapsed_ += Clock::now() - running_;
    auto answer = question();
    running_ = Clock::now();
    return answer;
  }

  TCyrSearchResult& Finish(TCyrSearchResult& result) {
    elapsed_ += Clock::now() - running_;
    result.ElapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed_).count();
    result.CandidatesTested = candidates_;
    result.MaxDepth = maxDepth_;
    return result;
  }

  struct Candidate {
    TCyrChain Chain;
    std::string Sample;
    TReading Reading;  // how the result reads
    int Unmatched;  // bytes the steps left alone for not being letters of their source
  };

  const TCyrSearchEvents& events_;
  int maxDepth_;
  std::vector<Candidate> found_;
  TReading floor_;  // a candidate must read better than this
  std::unordered_set<uint64_t> offered_;
  std::function<bool(const std::string&)> known_;
  std::unordered_map<std::string, bool> knownWords_;
  std::unordered_map<uint64_t, int> visited_;  // texts met in this pass, by the level met
  TCyrChain chain_;
  std::vector<std::string> buffers_;
  std::array<int, kCyrMaxDepth + 1> unmatched_{};
  std::unordered_map<uint64_t, bool> judged_;
  int64_t counter_ = 0, total_ = 0;
  int candidates_ = 0;
  int lastPercent_ = -1;
  Clock::time_point running_, lastProgress_;
  Clock::duration elapsed_{};
};

}  // namespace

std::string CyrStepName(const TCyrStep& step) {
  CheckStep(step);
  return std::string(CyrCodeNames[size_t(step.From)]) + " to " + std::string(CyrCodeNames[size_t(step.To)]);
}

std::string CyrChainText(const TCyrChain& chain) {
  std::string text;
  for (const TCyrStep& step : chain) text += CyrStepName(step) + "\r";
  return text;
}

void ApplyCyrChain(std::string& text, const TCyrChain& chain) {
  if (chain.empty()) return;
  // The steps are byte maps: their composition converts the text in one pass.
  ByteMap map;
  for (int byte = 0; byte < 256; ++byte) map[size_t(byte)] = static_cast<unsigned char>(byte);
  for (const TCyrStep& step : chain) {
    CheckStep(step);
    const ByteMap& next = Tables().Maps[step.From][step.To];
    for (unsigned char& byte : map) byte = next[byte];
  }
  for (char& ch : text) ch = static_cast<char>(map[static_cast<unsigned char>(ch)]);
}

std::string_view CyrDecoderSample(std::string_view text) {
  const auto first = std::find_if(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 128; });
  if (first == text.end()) return {};
  return text.substr(size_t(first - text.begin()), size_t(kCyrSampleSize));
}

bool CyrStepTest(std::string& sample, const TCyrStep& step) {
  CheckStep(step);
  int unmatched = 0;
  return StepTest(sample, step, Tables(), unmatched);
}

TCyrSearchResult SearchCyrChain(std::string_view text, int maxDepth, const TCyrSearchEvents& events) {
  Search search(events, std::clamp(maxDepth, 1, kCyrMaxDepth));
  return search.Run(text);
}
