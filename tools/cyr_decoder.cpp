#include "tools/cyr_decoder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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
// Chains up to this depth are all judged together; longer ones only when none of them reads as
// Russian, and only by steps that fit the text.
constexpr int kWideDepth = 3;
// A sample with this many bytes of 128 or above or fewer is no evidence to change it on.
constexpr int kThinEvidence = 2;

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

// How a text that passes the Cyrillic-text test reads. Flaws: words holding a sign (an
// ellipsis alone is none), words with capitals inside, words that do not look Russian, dashes
// glued to letters. Unknown: Russian-looking words the dictionary does not know (capitalised
// and in capitals too), one-letter words that are no Russian word nor common in prose.
// Abbreviations of up to three capitals and one letter before a full stop are not judged.
// Case doubts: each sentence that starts with a small letter, and one for text mostly in
// capitals (rare). Frequency: the known words, the more as they are common. Score: each
// Russian-looking word, in small letters or capitalised most, in capitals less, the frequent
// one-letter words more than the rare ones.
struct TReading {
  int Flaws = 0;
  int Unknown = 0;
  int CaseDoubts = 0;
  int Frequency = 0;
  int Score = 0;
  // What speaks against the letters of the reading.
  int Wrong() const { return 2 * Flaws + Unknown; }
  // Fewer wrong words first, then fewer case doubts, then more common words.
  bool operator<(const TReading& other) const {
    if (Wrong() != other.Wrong()) return Wrong() > other.Wrong();
    if (CaseDoubts != other.CaseDoubts) return CaseDoubts > other.CaseDoubts;
    return Frequency < other.Frequency;
  }
  // Reads without doubts: no chain that fails the step test need be tried.
  bool Clean() const { return Flaws == 0 && Unknown == 0 && CaseDoubts == 0; }
};

// The one-letter words of code page 1251, frequent ones first ("в", "и", "с", "а", "к", "у",
// "о", "я", "б", "ж"), and the score of a one-letter word: more for the frequent ones; 0 for a letter
// that is no word of its own.
int OneLetterScore(unsigned char letter) {
  static const std::string_view frequent = "\xE2\xE8\xF1\xE0\xEA\xF3\xEE\xFF\xE1\xE6";
  const size_t rank = frequent.find(static_cast<char>(CyrLowerCase(std::string(1, char(letter)))[0]));
  return rank == std::string_view::npos ? 0 : rank < 2 ? 3 : rank < 5 ? 2 : 1;
}

// What the reading of a text asks of the caller: the dictionary and the word frequencies (each
// may be empty), and whether the text starts a sentence.
struct TReadingContext {
  std::function<bool(const std::string&)> LooksRussian;  // the validator's word test
  std::function<bool(const std::string&)> IsKnown;
  std::function<int(const std::string&)> WordClass;
  bool SentenceStart = false;
};

TReading ReadingOf(std::string_view text, const TReadingContext& context) {
  static const TCharSet delimiters = EngineWordDelimiters();
  constexpr unsigned char kEnDash = 0x96, kEmDash = 0x97, kEllipsis = 0x85;
  constexpr size_t kAbbreviation = 3;
  constexpr int kCommonClass = 48;  // a word seen about 2^12 times in the counted prose
  constexpr int kCommonOneLetter = 29;  // a letter seen alone about 2^7 times
  TReading reading;
  const auto letterAt = [&](size_t i) { return i < text.size() && IsCyrillicLetter(static_cast<unsigned char>(text[i])); };
  bool sentenceStart = context.SentenceStart;
  int words = 0, capitals = 0;  // words judged, words of two letters or more in capitals
  size_t i = 0;
  while (i < text.size()) {
    bool stop = false;  // a full stop, "!" or "?" before the blank that ends a sentence
    while (i < text.size() && delimiters.test(static_cast<unsigned char>(text[i]))) {
      const unsigned char ch = static_cast<unsigned char>(text[i]);
      if ((ch == kEnDash || ch == kEmDash) && (letterAt(i + 1) || (i > 0 && letterAt(i - 1)))) ++reading.Flaws;
      if (ch == '.' || ch == '!' || ch == '?') stop = true;
      ++i;
    }
    if (stop) sentenceStart = true;
    const size_t start = i;
    bool high = false, sign = false, other = false, ellipsis = true;
    while (i < text.size() && !delimiters.test(static_cast<unsigned char>(text[i]))) {
      const unsigned char ch = static_cast<unsigned char>(text[i]);
      high |= ch >= 128;
      sign |= ch >= 128 && !IsCyrillicLetter(ch);
      ellipsis &= ch == kEllipsis;
      other |= ch < 128;
      ++i;
    }
    const bool startsSentence = std::exchange(sentenceStart, false);
    if (!high) continue;
    if (sign) {
      if (!ellipsis) ++reading.Flaws;
      continue;
    }
    if (other) continue;  // Cyrillic with Latin letters or digits: judged alike in every reading
    const std::string_view word = text.substr(start, i - start);
    const std::string lower = CyrLowerCase(word), upper = CyrUpperCase(word);
    ++words;
    if (word.size() > 1 && word == upper) ++capitals;
    if (startsSentence && word[0] == lower[0]) ++reading.CaseDoubts;
    if (word.size() == 1) {
      // An initial or a shortened word ("В. Белинский", "т. п.") may be any letter.
      if (i < text.size() && text[i] == '.') continue;
      const int score = OneLetterScore(static_cast<unsigned char>(word[0]));
      const int frequency = context.WordClass ? context.WordClass(std::string(word)) : 0;
      if (score == 0 && frequency < kCommonOneLetter) ++reading.Unknown;
      reading.Score += score + std::min(frequency, kCommonClass) / 8;
      continue;
    }
    const bool russian = context.LooksRussian(std::string(word));
    if (word == lower || word.substr(1) == std::string_view(lower).substr(1)) {
      // Small letters, or a capital and small letters.
      if (!russian) ++reading.Flaws;
      else reading.Score += 3;
    } else if (word == upper && word.size() <= kAbbreviation) {
      // An abbreviation ("ГБ", "ЦП") or a short word in capitals: only counted when known.
      if (russian && context.WordClass && (!context.IsKnown || context.IsKnown(std::string(word))))
        reading.Frequency += std::min(context.WordClass(std::string(word)), kCommonClass) / 8;
      continue;
    } else if (word == upper) {
      if (russian) reading.Score += 1;
      else ++reading.Flaws;
    } else if (word.size() > kAbbreviation) {
      ++reading.Flaws;  // capitals inside a word
      continue;
    }
    if (!russian) continue;
    if (context.IsKnown && !context.IsKnown(std::string(word))) {
      ++reading.Unknown;
    } else if (context.WordClass) {
      reading.Frequency += std::min(context.WordClass(std::string(word)), kCommonClass) / 8;
    }
  }
  if (capitals * 2 > words) ++reading.CaseDoubts;
  return reading;
}

struct StopSearch {};
struct AcceptChain {};

// Whether the text before `sample` ends a sentence (or there is none): only blanks, digits,
// quotes and brackets after a full stop, "!" or "?".
bool StartsSentence(std::string_view text, std::string_view sample) {
  for (size_t i = size_t(sample.data() - text.data()); i > 0; --i) {
    const char ch = text[i - 1];
    if (ch == '.' || ch == '!' || ch == '?') return true;
    if (std::string_view(" \t\r\n\"'([0123456789").find(ch) == std::string_view::npos) return false;
  }
  return true;
}

// A quick test before the Cyrillic-text test, for the chains that do not fit the text: nine in
// ten of the bytes of 128 or above in `sample` are Cyrillic letters (signs beside them: quotes,
// dashes, "№"), and of 40 letters or more, nine in twenty are of the eight most frequent of
// Russian prose ("о", "е", "а", "и", "н", "т", "с", "р": nearly three in five in prose, one in
// four in letters mixed up by a wrong table).
bool LooksLikeRussianLetters(std::string_view sample) {
  static const std::array<bool, 256> frequent = [] {
    std::array<bool, 256> table{};
    for (unsigned char ch : std::string_view("\xEE\xE5\xE0\xE8\xED\xF2\xF1\xF0\xCE\xC5\xC0\xC8\xCD\xD2\xD1\xD0"))
      table[ch] = true;
    return table;
  }();
  constexpr int kEnoughLetters = 40;
  int high = 0, letters = 0, common = 0;
  for (char ch : sample) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    high += byte >= 128;
    letters += IsCyrillicLetter(byte);
    common += frequent[byte];
  }
  return letters * 10 >= high * 9 && (letters < kEnoughLetters || common * 20 >= letters * 9);
}

// Bytes of 128 or above in `sample`.
int HighBytes(std::string_view sample) {
  return int(std::count_if(sample.begin(), sample.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 128; }));
}

// The state of one search, shared by its levels.
class Search {
public:
  Search(const TCyrSearchEvents& events, int maxDepth) : events_(events), maxDepth_(maxDepth) {
    // Readings of one search share most of their words: each is judged, and the dictionary
    // asked, once a word.
    context_.LooksRussian = [this](const std::string& word) {
      const auto found = russianWords_.find(word);
      if (found != russianWords_.end()) return found->second;
      return russianWords_.emplace(word, RussianScore(FoldYo(word)) == 0).first->second;
    };
    if (events_.IsKnownWord)
      context_.IsKnown = [this](const std::string& word) {
        const auto found = knownWords_.find(word);
        if (found != knownWords_.end()) return found->second;
        return knownWords_.emplace(word, events_.IsKnownWord(word)).first->second;
      };
    if (events_.WordClass)
      context_.WordClass = [this](const std::string& word) {
        const auto found = wordClasses_.find(word);
        if (found != wordClasses_.end()) return found->second;
        return wordClasses_.emplace(word, events_.WordClass(word)).first->second;
      };
  }

  TCyrSearchResult Run(std::string_view text) {
    TCyrSearchResult result;
    const std::string_view sample = CyrDecoderSample(text);
    running_ = Clock::now();
    buffers_.assign(kCyrMaxDepth + 1, std::string());
    // One or two letters are no evidence: such a text is left as it is.
    if (HighBytes(sample) <= kThinEvidence) {
      result.Outcome = TCyrSearchOutcome::AlreadyRight;
      return Finish(result);
    }
    try {
      context_.SentenceStart = StartsSentence(text, sample);
      // A reading must be better than the text's own. Text that reads as Russian already is
      // searched for a better reading only a few steps deep (Russian text with only its
      // capitals and "я" moved, as Mac Cyrillic does), and a better reading must have fewer
      // wrong words and no more case doubts: the case of its letters alone changes nothing.
      readsRussian_ = IsRussian(sample);
      offered_.insert(SampleHash(sample));
      floor_ = ReadingOf(sample, context_);
      const int wideDepth = std::min(maxDepth_, kWideDepth);
      total_ = TotalNodes(maxDepth_);
      // Chains whose every step fits the text first, a pass a depth, until one reads clean;
      // then every chain up to that length (kWideDepth steps when none reads clean), fitting or
      // not: real damage does not always leave the text mostly in the source encoding of the
      // next step.
      int depth = 1;
      for (; depth <= wideDepth; ++depth) {
        Pass(sample, depth, false);
        if (Clean()) break;
      }
      // A clean reading found: the chains that do not fit, up to its length, may read better still.
      const int allDepth = std::min(depth, wideDepth);
      total_ += TotalNodes(allDepth);
      for (int wide = 1; wide <= allDepth; ++wide) Pass(sample, wide, true);
      Offer();
      depth = wideDepth + 1;
      for (;;) {
        total_ = std::max(total_, counter_ + TotalNodes(maxDepth_) - TotalNodes(depth - 1));
        while (depth <= maxDepth_ && !(readsRussian_ && depth > kImproveDepth)) {
          Pass(sample, depth, false);
          Offer();
          ++depth;
        }
        if (readsRussian_) {
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
  // One pass over the chains of `depth` steps: only the steps that pass the step test, or all.
  void Pass(std::string_view sample, int depth, bool all) {
    if (events_.Pass) events_.Pass(depth, maxDepth_);
    visited_.clear();
    visited_.emplace(SampleHash(sample), 0);
    all_ = all;
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

  // Whether a candidate found so far reads clean.
  bool Clean() const {
    return std::any_of(found_.begin(), found_.end(), [](const Candidate& c) { return c.Reading.Clean(); });
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
        const bool fits = StepTest(sample, step, tables, unmatched_[size_t(level)]);
        if ((!fits && !all_) || sample == input || !FirstVisit(sample, level)) {
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

  // A chain of the pass's full depth whose result reads as Russian joins the candidates, unless
  // an earlier chain gave the same result.
  void Collect(const std::string& sample) {
    ++candidates_;
    if ((all_ && !LooksLikeRussianLetters(sample)) || !offered_.insert(SampleHash(sample)).second) return;
    if (!IsRussian(sample)) return;
    const TReading reading = ReadingOf(sample, context_);
    const bool better = readsRussian_ ? reading.Wrong() < floor_.Wrong() && reading.CaseDoubts <= floor_.CaseDoubts
                                      : reading.Wrong() < floor_.Wrong() ||
                                            (reading.Wrong() == floor_.Wrong() && reading.CaseDoubts < floor_.CaseDoubts);
    if (!better) return;
    int unmatched = 0;
    for (size_t level = 1; level <= chain_.size(); ++level) unmatched += unmatched_[level];
    found_.push_back({chain_, sample, reading, unmatched});
  }

  // The candidates found, best first (fewer wrong words, fewer case doubts, more common words,
  // the shorter chain, the higher score, the chain whose steps fitted the text best): the first is taken when there are no questions; otherwise each is
  // offered until one is accepted.
  void Offer() {
    std::stable_sort(found_.begin(), found_.end(), [](const Candidate& a, const Candidate& b) {
      const TReading& x = a.Reading;
      const TReading& y = b.Reading;
      if (x.Wrong() != y.Wrong()) return x.Wrong() < y.Wrong();
      if (x.CaseDoubts != y.CaseDoubts) return x.CaseDoubts < y.CaseDoubts;
      if (x.Frequency != y.Frequency) return x.Frequency > y.Frequency;
      if (a.Chain.size() != b.Chain.size()) return a.Chain.size() < b.Chain.size();
      if (x.Score != y.Score) return x.Score > y.Score;
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
  bool readsRussian_ = false;
  bool all_ = false;  // the pass follows steps that fail the step test too
  std::vector<Candidate> found_;
  TReading floor_;  // how the text itself reads
  std::unordered_set<uint64_t> offered_;
  TReadingContext context_;
  std::unordered_map<std::string, bool> russianWords_, knownWords_;
  std::unordered_map<std::string, int> wordClasses_;
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
