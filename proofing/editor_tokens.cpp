#include "proofing/editor_tokens.h"

#include <string_view>

namespace {

constexpr std::u16string_view kSentencePunctuation = u"!,.:;?";

bool IsLatin(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsLetter(char16_t c) {
  return IsLatin(c) || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x400 && c <= 0x4FF);
}

bool IsWordChar(char16_t c) { return IsLetter(c) || IsDigit(c); }

// Characters that join two word parts into one token.
bool IsJoiner(char16_t c) { return c == u'-' || c == u'/' || c == u'.' || c == u'\'' || c == u'\u2019'; }

bool IsUrlChar(char16_t c) {
  return IsLatin(c) || IsDigit(c) || std::u16string_view(u"%&-./:?@\\_~").find(c) != std::u16string_view::npos;
}

std::u16string Lower(std::u16string s) {
  for (auto& c : s)
    if (c >= u'A' && c <= u'Z') c = c - u'A' + u'a';
  return s;
}

bool StartsWith(const std::u16string& s, std::u16string_view prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

// Length of an HTML entity at `Start` ("&amp;", "&#160;"); 0 when there is none.
int EntityLength(const std::u16string& Text, int Start) {
  if (Text[Start] != u'&') return 0;
  const int limit = std::min<int>(static_cast<int>(Text.size()), Start + 8);
  for (int i = Start + 4; i < limit; ++i) {
    if (Text[i] != u';') continue;
    const bool numeric = Text[Start + 1] == u'#';
    for (int j = Start + (numeric ? 2 : 1); j < i; ++j)
      if (numeric ? !IsDigit(Text[j]) : !IsLatin(Text[j])) return 0;
    return i - Start + 1;
  }
  return 0;
}

// End of the markup that starts at `Start` (after its closing mark); 0 when none starts there.
// A "<" that no closing mark follows is plain text, so that it cannot hide the rest of it.
int MarkupEnd(const std::u16string& Text, int Start) {
  auto endAfter = [&](std::u16string_view close) {
    const size_t at = Text.find(close, Start + 1);
    return at == std::u16string::npos ? 0 : static_cast<int>(at + close.size());
  };
  if (Text.compare(Start, 4, u"<!--") == 0) return endAfter(u"-->");
  if (Text.compare(Start, 2, u"<%") == 0) return endAfter(u"%>");
  if (Text[Start] == u'<' && Start + 1 < static_cast<int>(Text.size()) &&
      (Text[Start + 1] == u'/' || IsLatin(Text[Start + 1])))
    return endAfter(u">");
  return 0;
}

}  // namespace

bool IsCheckWhitespace(char16_t Ch) { return Ch == u' ' || Ch == u'\t' || Ch == u'\r' || Ch == u'\n' || Ch == u'\v'; }

bool IsUrlToken(const std::u16string& Text) {
  const int n = static_cast<int>(Text.size());
  if (n < 5 || Text.back() == u'.' || Text.find(u"..") != std::u16string::npos) return false;
  for (char16_t c : Text)
    if (c < 33 || c > 126) return false;
  const std::u16string lower = Lower(Text);
  if (StartsWith(lower, u"www.")) return true;
  if (StartsWith(Text, u"news:") && n > 6) return true;
  if (n > 12 && StartsWith(Text, u"mailto:")) return true;
  const size_t at = Text.find(u'@', 1);
  if (at != std::u16string::npos) {
    const size_t dot = Text.find(u'.', std::max<size_t>(4, at + 2));
    if (dot != std::u16string::npos) return true;
  }
  if (Text.find(u"http://") != std::u16string::npos) return true;
  if (Text.find(u"ftp://") != std::u16string::npos && n >= 11) {
    const size_t dot = Text.find(u'.');
    if (dot != std::u16string::npos && dot >= 7) return true;
  }
  return false;
}

bool IsFileNameToken(const std::u16string& Text) {
  if (Text.size() < 4) return false;
  const bool drive = IsLatin(Text[0]) && Text[1] == u':';
  const bool unc = Text[0] == u'\\' && Text[1] == u'\\' && Text.find(u'\\', 2) != std::u16string::npos;
  return drive || unc;
}

TEditorToken GetEditorWordAt(const std::u16string& Text, int Start, const TCheckOptions& Options) {
  const int n = static_cast<int>(Text.size());
  TEditorToken token;
  token.Start = Start;
  if (Start >= n) {
    token.End = token.WordEnd = Start;
    return token;
  }
  int i = Start;
  const char16_t first = Text[i];
  if (Options[3] && first == u'<') {
    if (const int end = MarkupEnd(Text, i)) {
      token.InMarkup = true;
      i = end;
    }
  }
  if (!token.InMarkup) {
    int entity = Options[3] ? EntityLength(Text, i) : 0;
    int address = 0;
    if (Options[4] || Options[5]) {
      int j = i;
      while (j < n && IsUrlChar(Text[j])) ++j;
      while (j > i && !IsWordChar(Text[j - 1]) && Text[j - 1] != u'/') --j;
      const std::u16string candidate = Text.substr(i, j - i);
      if (Options[4] && IsUrlToken(candidate)) token.Kind = 4, address = j - i;
      else if (Options[5] && IsFileNameToken(candidate)) token.Kind = 5, address = j - i;
    }
    if (entity > 0) {
      token.Kind = 3;
      i += entity;
    } else if (address > 0) {
      i += address;
    } else if (IsWordChar(first)) {
      token.Kind = 0;
      while (i < n && (IsWordChar(Text[i]) || (IsJoiner(Text[i]) && i + 1 < n && IsWordChar(Text[i + 1])))) ++i;
      // Punctuation straight before a letter: a missing space ("word,next").
      if (i + 1 < n && kSentencePunctuation.find(Text[i]) != std::u16string_view::npos && IsLetter(Text[i + 1])) {
        token.Kind = 6;
        token.WordEnd = i;
        token.End = i + 1;
        return token;
      }
    } else if (IsCheckWhitespace(first)) {
      // Whitespace at the start of the text: a token of its own.
    } else {
      while (i < n && !IsWordChar(Text[i]) && !IsCheckWhitespace(Text[i]) &&
             !(Options[3] && Text[i] == u'<' && i > Start))
        ++i;
    }
  }
  token.WordEnd = i;
  while (i < n && IsCheckWhitespace(Text[i])) ++i;
  token.End = i;
  if (token.Kind == 0 && token.End > token.WordEnd && token.End < n &&
      kSentencePunctuation.find(Text[token.End]) != std::u16string_view::npos)
    token.Kind = 7;
  return token;
}
