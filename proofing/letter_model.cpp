#include "proofing/letter_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "platform/files.h"
#include "platform/locale.h"

namespace {

constexpr char kMagic[] = "QLM1";
constexpr int kMaxCost = 255;

// Letter indexes of the characters of a code page, small and capital letters alike.
void IndexLetters(unsigned CodePage, const std::string& Letters, unsigned char (&Index)[256]) {
  std::memset(Index, 0, sizeof Index);
  for (size_t i = 0; i < Letters.size(); ++i) Index[static_cast<unsigned char>(Letters[i])] = static_cast<unsigned char>(i + 1);
  for (int ch = 0; ch < 256; ++ch)
    if (Index[ch] == 0) Index[ch] = Index[AnsiLowerChar(static_cast<unsigned char>(ch), CodePage)];
}

}  // namespace

std::string BuildLetterModelFile(unsigned CodePage, const std::string& Letters, const std::vector<std::string>& Words) {
  if (Letters.empty() || Letters.size() > 250) throw Exception("A letter model needs 1 to 250 letters");
  unsigned char index[256];
  IndexLetters(CodePage, Letters, index);
  const size_t n = Letters.size() + 1, edge = Letters.size();
  std::vector<double> tri(n * n * n), bi(n * n), uni(n);
  auto count = [&](size_t a, size_t b, size_t c) {
    tri[(a * n + b) * n + c] += 1;
    bi[b * n + c] += 1;
    uni[c] += 1;
  };
  for (const std::string& word : Words) {
    size_t a = edge, b = edge;
    bool open = false;
    for (char ch : word) {
      const unsigned char letter = index[static_cast<unsigned char>(ch)];
      if (letter == 0) {
        if (open) count(a, b, edge);
        a = b = edge;
        open = false;
        continue;
      }
      count(a, b, letter - 1);
      a = b;
      b = letter - 1;
      open = true;
    }
    if (open) count(a, b, edge);
  }
  // Witten-Bell interpolation: each context trusts its own counts as far as it has seen many
  // letters after it and few different ones; a letter never seen at all keeps a small chance.
  double total = 0;
  for (double u : uni) total += u;
  std::string out(kMagic, 4);
  out += static_cast<char>(CodePage & 0xFF);
  out += static_cast<char>(CodePage >> 8);
  out += static_cast<char>(Letters.size());
  out += Letters;
  for (size_t a = 0; a < n; ++a)
    for (size_t b = 0; b < n; ++b) {
      double biTotal = 0, biTypes = 0, triTotal = 0, triTypes = 0;
      for (size_t c = 0; c < n; ++c) {
        biTotal += bi[b * n + c];
        biTypes += bi[b * n + c] > 0;
        triTotal += tri[(a * n + b) * n + c];
        triTypes += tri[(a * n + b) * n + c] > 0;
      }
      for (size_t c = 0; c < n; ++c) {
        double p = (uni[c] + 1) / (total + n);
        if (biTotal > 0) p = (bi[b * n + c] + biTypes * p) / (biTotal + biTypes);
        if (triTotal > 0) p = (tri[(a * n + b) * n + c] + triTypes * p) / (triTotal + triTypes);
        out += static_cast<char>(std::clamp(static_cast<int>(std::lround(-4 * std::log2(p))), 0, kMaxCost));
      }
    }
  return out;
}

void TLetterModel::LoadFromFile(const std::string& FileName) {
  try {
    LoadFromBytes(ReadFileBytes(FileName));
  } catch (const ELetterModelError&) {
    throw ELetterModelError("The letter model " + FileName + " is damaged");
  }
}

void TLetterModel::LoadFromBytes(const std::string& Bytes) {
  FCosts.clear();
  FSize = 0;
  constexpr size_t kHeader = 7;
  if (Bytes.size() < kHeader || Bytes.compare(0, 4, kMagic) != 0) throw ELetterModelError("The letter model is damaged");
  const unsigned codePage = static_cast<unsigned char>(Bytes[4]) | static_cast<unsigned char>(Bytes[5]) << 8;
  const size_t letters = static_cast<unsigned char>(Bytes[6]), n = letters + 1;
  if (letters == 0 || Bytes.size() != kHeader + letters + n * n * n) throw ELetterModelError("The letter model is damaged");
  IndexLetters(codePage, Bytes.substr(kHeader, letters), FIndex);
  FCosts.assign(Bytes.begin() + static_cast<std::ptrdiff_t>(kHeader + letters), Bytes.end());
  FSize = static_cast<int>(n);
}

int TLetterModel::Cost(const std::string& Word) const {
  if (Empty()) return 0;
  const int edge = FSize - 1;
  int cost = 0, a = edge, b = edge;
  bool open = false;
  auto at = [&](int A, int B, int C) { return static_cast<int>(FCosts[(static_cast<size_t>(A) * FSize + B) * FSize + C]); };
  for (char ch : Word) {
    const unsigned char letter = FIndex[static_cast<unsigned char>(ch)];
    if (letter == 0) {
      // Another alphabet's letter is as rare as can be; a sign or a blank ends the part.
      if (std::isalpha(static_cast<unsigned char>(ch))) cost += kMaxCost;
      if (open) cost += at(a, b, edge);
      a = b = edge;
      open = false;
      continue;
    }
    cost += at(a, b, letter - 1);
    a = b;
    b = letter - 1;
    open = true;
  }
  if (open) cost += at(a, b, edge);
  return cost;
}
