#include "proofing/misprint.h"

#include <algorithm>

#include "platform/code_pages.h"

namespace {

// A word of at most this class (seen about three times or less) may be a slip.
constexpr int kRareClass = 7;
// The word meant is common: seen at least about 64 times.
constexpr int kFrequentClass = 25;
// How many classes more frequent the word meant must be: four classes double the count.
constexpr int kNearGap = 24;  // a slip between similar letters or a doubled letter
constexpr int kFarGap = 32;   // any other slip
// Less is needed when the word meant stands beside a neighbour of the context in the prose.
constexpr int kContextBonus = 8;

struct TCandidate {
  std::string Key;
  int Score;
};

class TSlips {
public:
  TSlips(const TWordFrequencies& Frequencies, const TQLanguageBlock& Block, const std::string& Key,
         const TMisprintContext& Context)
      : F(Frequencies), B(Block), W(Key), C(Context), FWordClass(Frequencies.ClassOf(Key)) {}

  // The prose shows `Key` beside the word before or after it.
  bool InContext(const std::string& Key) const {
    return (!C.Previous.empty() && F.ClassOf(PairKey(C.Previous, Key)) > 0) ||
           (!C.Next.empty() && F.ClassOf(PairKey(Key, C.Next)) > 0);
  }

  bool Similar(char X, char Y) const {
    return B.Similar(static_cast<unsigned char>(X)).find(Y) != std::string::npos ||
           B.Similar(static_cast<unsigned char>(Y)).find(X) != std::string::npos;
  }
  // The letter at `At` of `Text` stands beside the same or a similar letter.
  bool Neighboured(const std::string& Text, size_t At) const {
    for (size_t other : {At - 1, At + 1})
      if (other < Text.size() && (Text[other] == Text[At] || Similar(Text[other], Text[At]))) return true;
    return false;
  }

  void Try(std::string Candidate, bool Near) {
    if (Candidate == W) return;
    const int candidateClass = F.ClassOf(Candidate);
    const int gap = candidateClass - FWordClass;
    if (candidateClass < kFrequentClass) return;
    const int bonus = InContext(Candidate) ? kContextBonus : 0;
    if (gap + bonus < (Near ? kNearGap : kFarGap)) return;
    const int score = gap + bonus - (Near ? 0 : kFarGap - kNearGap);
    auto known = std::find_if(Found.begin(), Found.end(), [&](const TCandidate& c) { return c.Key == Candidate; });
    if (known == Found.end()) Found.push_back({std::move(Candidate), score});
    else known->Score = std::max(known->Score, score);
  }

  void Generate() {
    const std::string alphabet = B.Alphabet();
    const size_t n = W.size();
    for (size_t i = 0; i + 1 < n; ++i) {
      std::string swapped = W;
      std::swap(swapped[i], swapped[i + 1]);
      Try(swapped, true);
    }
    for (size_t i = 0; i < n; ++i) {
      for (char c : alphabet) {
        if (c == W[i]) continue;
        std::string changed = W;
        changed[i] = c;
        Try(changed, Similar(W[i], c));
      }
      if (n > 2) Try(W.substr(0, i) + W.substr(i + 1), Neighboured(W, i));  // a letter typed in excess
    }
    for (size_t i = 0; i <= n; ++i)
      for (char c : alphabet) {
        const std::string longer = W.substr(0, i) + c + W.substr(i);
        Try(longer, Neighboured(longer, i));  // a letter left out
      }
  }

  std::vector<TCandidate> Found;

private:
  const TWordFrequencies& F;
  const TQLanguageBlock& B;
  const std::string& W;
  const TMisprintContext& C;
  int FWordClass;
};

}  // namespace

std::vector<std::string> MisprintCandidates(const TWordFrequencies& Frequencies, const TQLanguageBlock& Block,
                                            const std::string& Key, const TMisprintContext& Context) {
  if (Frequencies.Empty() || Key.size() < 2 || Frequencies.ClassOf(Key) > kRareClass) return {};
  TSlips slips(Frequencies, Block, Key, Context);
  if (slips.InContext(Key)) return {};
  slips.Generate();
  std::stable_sort(slips.Found.begin(), slips.Found.end(),
                   [](const TCandidate& a, const TCandidate& b) { return a.Score > b.Score; });
  std::vector<std::string> keys;
  for (auto& candidate : slips.Found) keys.push_back(std::move(candidate.Key));
  return keys;
}

TMisprintContext MisprintContextAt(const std::u16string& Text, int Start, int Length, LCID Lcid) {
  const unsigned codePage = LocaleAnsiCodePage(Lcid);
  auto letter = [codePage](char16_t Ch) {
    bool lossy = false;
    const std::string byte = WideToAnsi(std::u16string_view(&Ch, 1), codePage, &lossy);
    if (lossy || byte.size() != 1) return false;
    const auto b = static_cast<unsigned char>(byte[0]);
    return AnsiUpperChar(b, codePage) != AnsiLowerChar(b, codePage);
  };
  auto blank = [](char16_t Ch) { return Ch == u' ' || Ch == u'\t' || Ch == u'\u00A0'; };
  auto key = [&](size_t From, size_t To) { return FrequencyKey(WideToAnsi(Text.substr(From, To - From), codePage), Lcid); };
  TMisprintContext context;
  size_t before = std::min<size_t>(Start, Text.size());
  while (before > 0 && blank(Text[before - 1])) --before;
  if (before < static_cast<size_t>(Start)) {
    size_t from = before;
    while (from > 0 && letter(Text[from - 1])) --from;
    if (from < before) context.Previous = key(from, before);
  }
  size_t after = std::min(Text.size(), static_cast<size_t>(Start) + Length);
  const size_t wordEnd = after;
  while (after < Text.size() && blank(Text[after])) ++after;
  if (after > wordEnd) {
    size_t to = after;
    while (to < Text.size() && letter(Text[to])) ++to;
    if (to > after) context.Next = key(after, to);
  }
  return context;
}
