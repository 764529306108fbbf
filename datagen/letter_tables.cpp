#include "datagen/letter_tables.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>

#include "platform/locale.h"

namespace {

// The following letters bound the insertions of the misprint test of valid words, where every
// hit is a finding: only the few letters that follow c most often.
constexpr size_t kMaxFollowing = 4;
constexpr double kFollowingShare = 0.08;  // a letter follows c in at least 8% of c's pairs
constexpr double kDoubledShare = 0.005;   // cc makes at least 0.5% of c's pairs

void AddLetter(std::string& Entry, char Letter, char Self) {
  if (Letter != Self && Entry.find(Letter) == std::string::npos && Entry.size() < size_t(kMaxLetterEntry))
    Entry += Letter;
}

std::string Capitals(const std::string& Letters) { return AnsiUpperCase(Letters); }

// Keys next to each key of a staggered keyboard: left, right, the two above and the two below.
std::map<char, std::string> KeyboardNeighbours(const std::vector<std::string>& Rows) {
  std::map<char, std::string> neighbours;
  for (size_t r = 0; r < Rows.size(); ++r) {
    for (size_t j = 0; j < Rows[r].size(); ++j) {
      std::string& entry = neighbours[Rows[r][j]];
      auto add = [&](size_t row, long col) {
        if (col >= 0 && size_t(col) < Rows[row].size()) AddLetter(entry, Rows[row][col], Rows[r][j]);
      };
      add(r, long(j) - 1);
      add(r, long(j) + 1);
      if (r > 0) {
        add(r - 1, long(j));
        add(r - 1, long(j) + 1);
      }
      if (r + 1 < Rows.size()) {
        add(r + 1, long(j) - 1);
        add(r + 1, long(j));
      }
    }
  }
  return neighbours;
}

}  // namespace

void BuildLetterTables(TQLanguageBlock& Block, const TLetterSources& Sources, const std::vector<std::string>& Words) {
  Block.SetAlphabet(Sources.Alphabet);
  Block.SetInsertionLetters(Sources.InsertionLetters);

  // Letter pairs of the word list, in small letters.
  std::vector<std::array<int64_t, 256>> pairs(256);
  for (const auto& word : Words) {
    const std::string lower = AnsiLowerCase(word);
    for (size_t i = 1; i < lower.size(); ++i)
      ++pairs[static_cast<unsigned char>(lower[i - 1])][static_cast<unsigned char>(lower[i])];
  }

  const auto neighbours = KeyboardNeighbours(Sources.KeyboardRows);
  for (char letter : Sources.Alphabet) {
    const auto c = static_cast<unsigned char>(letter);
    std::string similar;
    for (const auto& group : Sources.SoundAlikes)
      if (group.find(letter) != std::string::npos)
        for (char other : group) AddLetter(similar, other, letter);
    if (const auto it = neighbours.find(letter); it != neighbours.end())
      for (char other : it->second) AddLetter(similar, other, letter);

    int64_t total = 0;
    std::vector<std::pair<int64_t, char>> followers;
    for (char other : Sources.Alphabet) {
      const int64_t n = pairs[c][static_cast<unsigned char>(other)];
      total += n;
      if (n > 0) followers.push_back({n, other});
    }
    std::sort(followers.begin(), followers.end(), [](auto a, auto b) { return a.first > b.first; });
    std::string following;
    for (auto [n, other] : followers)
      if (following.size() < kMaxFollowing && n >= kFollowingShare * total) following += other;
    const bool doubles = total > 0 && pairs[c][c] >= kDoubledShare * total;
    const std::string doubled = doubles ? std::string(1, letter) : std::string();

    const auto capital = static_cast<unsigned char>(Capitals(std::string(1, letter))[0]);
    Block.SetSimilar(c, similar);
    Block.SetFollowing(c, following);
    Block.SetDoubled(c, doubled);
    if (capital != c) {
      Block.SetSimilar(capital, Capitals(similar));
      Block.SetFollowing(capital, following);
      Block.SetDoubled(capital, doubled);
    }
  }
}
