#include "proofing/text_scanner.h"

#include <cstdint>

namespace {

TObject* OffsetObject(int Offset) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(Offset)); }

TCharSet CharSetOf(std::initializer_list<std::pair<int, int>> Ranges) {
  TCharSet set;
  for (auto [from, to] : Ranges)
    for (int ch = from; ch <= to; ++ch) set.set(ch);
  return set;
}

}  // namespace

TCharSet DefaultScannerSeparators() {
  return CharSetOf({{0, 0}, {9, 11}, {13, 13}, {32, 32}, {34, 34}, {44, 44}, {59, 59}, {96, 96}, {124, 124},
                    {147, 149}, {151, 151}, {171, 171}, {187, 187}});
}

TCharSet EngineWordDelimiters() {
  return CharSetOf({{0, 38}, {40, 44}, {46, 47}, {58, 64}, {91, 93}, {95, 96}, {123, 125}, {134, 134},
                    {147, 151}, {160, 160}, {171, 172}, {185, 185}, {187, 187}});
}

TTextScanner::TTextScanner() : SeparatorChars(DefaultScannerSeparators()) {}

int TTextScanner::OffsetOf(const TStringList& List, int Index) {
  return static_cast<int>(reinterpret_cast<intptr_t>(List.Objects(Index)));
}

void TTextScanner::Scan(const std::string& AText) {
  Words.Clear();
  Separators.Clear();
  Text = AText;
  const int length = static_cast<int>(Text.size());
  std::string word, separator;
  int wordStart = 0, separatorStart = 0;
  bool inTag = false, inQuote = false, inComment = false;
  // Markup needs its closing mark somewhere after it: a "<" that none follows is text.
  const size_t lastTagEnd = Text.rfind('>'), lastCommentEnd = Text.rfind("-->");
  // The next "<" after a position, found again only once the scan has passed it, so that many
  // quotes in a tag cost one look ahead.
  size_t nextOpen = 0;
  auto nextOpenAfter = [&](size_t Position) {
    if (nextOpen != std::string::npos && nextOpen <= Position) nextOpen = Text.find('<', Position + 1);
    return nextOpen;
  };

  auto percentAt = [length](int i) { return length == 0 ? 100 : static_cast<int>(int64_t(i) * 100 / length); };
  // Hands the window over when it is full; true when the owner asks to stop.
  auto emitPair = [&](int i) {
    Words.AddObject(word, OffsetObject(wordStart));
    Separators.AddObject(separator, OffsetObject(separatorStart));
    if (Words.Count() < BatchSize) return false;
    if (OnWords && OnWords(Owner, Words, Separators, percentAt(i))) return true;
    Words.Delete(0);
    Separators.Delete(0);
    return false;
  };

  for (int i = 0; i <= length; ++i) {
    const bool virtualBlank = i == length;
    const unsigned char c = virtualBlank ? ' ' : static_cast<unsigned char>(Text[i]);
    // Quotes count only in tags, never in comments, and only when closed before the next "<":
    // an unbalanced quote would otherwise turn the rest of the text into separators.
    if (inTag && !inComment && c == '"') {
      if (inQuote) {
        inQuote = false;
      } else {
        const size_t close = Text.find('"', i + 1);
        inQuote = close != std::string::npos && close < nextOpenAfter(static_cast<size_t>(i));
      }
    }
    if (HtmlAware && c == '<' && !inQuote) {
      const bool comment = Text.compare(i, 4, "<!--") == 0;
      const size_t closing = comment ? lastCommentEnd : lastTagEnd;
      if (closing != std::string::npos && closing > size_t(i) + (comment ? 1 : 0)) {
        inTag = true;
        inComment = inComment || comment;
      }
    }
    const bool separatorChar = inTag || SeparatorChars.test(c);
    if (separatorChar) {
      if (separator.empty()) separatorStart = i;
      separator += static_cast<char>(c);
    }
    if (!separatorChar || virtualBlank) {
      if (!separator.empty()) {
        if (emitPair(i)) return;
        word.clear();
        separator.clear();
      }
      if (word.empty()) wordStart = i;
      word += static_cast<char>(c);
    }
    if (HtmlAware && c == '>' && !inQuote) {
      if (i >= 2 && Text.compare(i - 2, 3, "-->") == 0) {
        inComment = false;
        inTag = false;
      } else if (!inComment) {
        inTag = false;
      }
    }
  }
  if (!word.empty()) {
    Words.AddObject(word, OffsetObject(wordStart));
    Separators.AddObject(separator, OffsetObject(separatorStart));
  }
  while (Words.Count() > 0) {
    if (OnWords && OnWords(Owner, Words, Separators, 100)) return;
    Words.Delete(0);
    Separators.Delete(0);
  }
}
