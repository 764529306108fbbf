#include "tools/reformat.h"

#include <algorithm>

#include "textcore/locale_text.h"
#include "textcore/text_utils.h"

namespace {

constexpr int kLongLine = 120;
constexpr int kTabWidth = 8;
constexpr int kNoIndentation = 100;

bool IsBlank(char16_t c) { return c == 0 || c == 9 || c == 10 || c == 11 || c == 13 || c == 32; }
bool IsLineBreak(char16_t c) { return c == 11 || c == 13; }
bool HasLineBreak(std::u16string_view s) { return std::any_of(s.begin(), s.end(), IsLineBreak); }
bool IsLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0x400 && c <= 0x45F);
}

// The neighbours of a word lose these before a joined word is tested.
std::u16string_view TrimWord(std::u16string_view w) {
  using namespace std::string_view_literals;
  static constexpr std::u16string_view trim = u"\0\t\n\v\r \",;`|\u201C\u201D\u2022\u2014\u00AB\u00BB"sv;
  while (!w.empty() && trim.find(w.front()) != std::u16string_view::npos) w.remove_prefix(1);
  while (!w.empty() && trim.find(w.back()) != std::u16string_view::npos) w.remove_suffix(1);
  return w;
}

bool NumberLike(std::u16string_view w) { return IsNumberLike(WideStringToAnsi(w, 1251)); }

}  // namespace

std::vector<TReformatEdit> ReformatColumns(std::u16string_view text, const TReformatOptions& options, int& indentation) {
  std::vector<TReformatEdit> edits;
  indentation = kNoIndentation;
  std::u16string column2, column3;
  int previousCount = 0;
  auto flush = [&](int at, bool needBreak) {
    if (previousCount == 2 || previousCount == 3) {
      if (!column2.empty() || !column3.empty())
        edits.push_back({at, 0, (needBreak ? u"\r" : u"") + column2 + column3});
    }
    column2.clear();
    column3.clear();
  };
  size_t lineStart = 0;
  while (lineStart < text.size()) {
    size_t lineEnd = lineStart;
    while (lineEnd < text.size() && !IsLineBreak(text[lineEnd])) ++lineEnd;
    const std::u16string_view line = text.substr(lineStart, lineEnd - lineStart);
    // The common indentation of the lines that are not blank.
    int indent = 0;
    size_t first = 0;
    while (first < line.size() && (line[first] == u' ' || line[first] == u'\t'))
      indent += line[first++] == u'\t' ? kTabWidth : 1;
    if (first < line.size()) indentation = std::min(indentation, indent);
    if (options.MultiCol) {
      size_t body = 0;
      while (body < line.size() && line[body] == u'\t') ++body;
      std::vector<size_t> tabs;
      for (size_t i = body; i < line.size(); ++i)
        if (line[i] == u'\t') tabs.push_back(i);
      const int count = int(tabs.size()) + 1;
      if (count != previousCount || int(line.size()) > kLongLine) flush(int(lineStart), false);
      if (count == 2 || count == 3) {
        const size_t cut = tabs[0];
        if (count == 2) {
          column2 += std::u16string(line.substr(cut + 1)) + u"\r";
        } else {
          column2 += std::u16string(line.substr(cut + 1, tabs[1] - cut - 1)) + u"\r";
          column3 += std::u16string(line.substr(tabs[1] + 1)) + u"\r";
        }
        edits.push_back({int(lineStart + cut), int(line.size() - cut), u""});
      }
      previousCount = count;
    }
    lineStart = lineEnd + 1;
  }
  // What is left goes after the last line of the text read, never further away.
  flush(int(text.size()), !text.empty() && !IsLineBreak(text.back()));
  if (indentation == kNoIndentation) indentation = 0;
  return edits;
}

std::vector<TReformatEdit> ReformatJoin(std::u16string_view text, const TReformatOptions& options, int indentation,
                                        const TWordTest& isWord) {
  struct Token {
    size_t Start, Length, SepLength;
  };
  std::vector<Token> tokens;
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  while (pos < text.size()) {
    const size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    const size_t sepStart = pos;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    tokens.push_back({start, sepStart - start, pos - sepStart});
  }
  auto valid = [&](std::u16string_view w) { return isWord && !w.empty() && isWord(w); };
  std::vector<TReformatEdit> edits;
  bool previousBreak = true;
  for (size_t t = 0; t < tokens.size(); ++t) {
    const Token& token = tokens[t];
    const std::u16string original(text.substr(token.Start, token.Length));
    const std::u16string originalSep(text.substr(token.Start + token.Length, token.SepLength));
    const std::u16string_view next =
        t + 1 < tokens.size() ? text.substr(tokens[t + 1].Start, tokens[t + 1].Length) : std::u16string_view();
    std::u16string w = original, s;
    for (char16_t c : originalSep) s += c == u'\t' ? std::u16string(kTabWidth, u' ') : std::u16string(1, c);
    const bool sepBreak = HasLineBreak(s);
    // Only a line's own indentation goes: blanks between words on one line stay.
    if (indentation > 0 && sepBreak) {
      int cut = 0;
      while (cut < indentation && !s.empty() && s.back() == u' ') s.pop_back(), ++cut;
    }
    const bool endsWithSpace = sepBreak && !s.empty() && s.back() == u' ';
    const bool emptyLine = std::count_if(s.begin(), s.end(), IsLineBreak) > 1;
    const bool listStart =
        sepBreak && (w.empty() || std::u16string_view(u"!.:;?").find(w.back()) != std::u16string_view::npos) &&
        !next.empty() &&
        (next.front() == u'-' || (NumberLike(TrimWord(next)) && (next.back() == u'.' || next.back() == u':')));
    const bool quoted = options.DeQuote && previousBreak && (w.front() == u'>' || w.front() == u'|');
    const bool hyphenated = options.UndoHyphen && sepBreak && !next.empty() && w.size() > 2 && w.back() == u'-' &&
                            w.front() != u'-' && IsLetter(w[w.size() - 2]);
    previousBreak = sepBreak;
    if (std::count(w.begin(), w.end(), u'-') == 2) {
      const size_t dash = w.find(u"--");
      if (dash != std::u16string::npos) w.replace(dash, 2, u"\u2014");
    }
    if (quoted) {
      w.erase(0, 1);
      if (w.empty() && !s.empty() && s.front() == u' ') s.erase(0, 1);
    }
    bool skipped = false, merged = false;
    if (hyphenated) {
      const std::u16string candidate(TrimWord(w.substr(0, w.size() - 1) + std::u16string(next)));
      if (valid(candidate) && !NumberLike(w) && !NumberLike(next)) {
        merged = true;
      } else {
        skipped = true;
      }
      // Both ways the line break goes; a merge also drops the hyphen. The next word stays as it is.
      if (merged) w.pop_back();
      s.clear();
    } else if (!valid(TrimWord(w)) && !NumberLike(w) && w.find(u'-') != std::u16string::npos) {
      std::u16string joined = w;
      std::erase(joined, u'-');
      if (valid(TrimWord(joined))) w = joined;
    }
    if (!hyphenated && t + 1 < tokens.size()) {
      const bool flag = endsWithSpace || emptyLine || listStart;
      bool paragraph = false;
      if (options.Paragraphs) {
        if (flag)
          paragraph = true;
        else if (!quoted || !w.empty())
          s = options.UndoJustify ? u" " : std::u16string(std::max<size_t>(1, s.size()), u' ');
      } else {
        paragraph = HasLineBreak(s);
      }
      if (paragraph) {
        if (options.Paragraph == 1) {
          s = u"\r";
        } else if (options.Paragraph == 2) {
          s = u"\r\r";
        } else {
          std::u16string kept;
          for (char16_t c : s)
            if (c != u' ' && c != u'\t' && c != u'\n') kept += c == 11 ? u'\r' : c;
          s = kept;
        }
      }
    }
    if (w == original && s == originalSep) continue;
    TReformatEdit edit{int(token.Start), int(token.Length + token.SepLength), w + s};
    if (w != original || merged || skipped) {
      // A merged word is marked with the next word it took in.
      edit.MarkLength = int(w.size() + (merged ? next.size() : 0));
      edit.Skipped = skipped;
    }
    edits.push_back(std::move(edit));
  }
  return edits;
}

// One pass: the text between the edits is copied once, whatever the number of edits.
std::u16string ApplyReformatEdits(std::u16string_view text, const std::vector<TReformatEdit>& edits) {
  std::u16string out;
  out.reserve(text.size());
  size_t copied = 0;
  for (const TReformatEdit& edit : edits) {
    out.append(text.substr(copied, size_t(edit.Start) - copied));
    out += edit.Text;
    copied = size_t(edit.Start) + size_t(edit.Length);
  }
  out.append(text.substr(copied));
  return out;
}
