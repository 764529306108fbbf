#include "shell/replace_list_conditions.h"

#include <algorithm>
#include <vector>

#include "shell/replace_list_rules.h"
#include "textcore/cyr_case.h"

namespace {

std::vector<std::string_view> Tokens(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    const size_t b = i;
    while (i < s.size() && s[i] != ' ') ++i;
    if (i > b) out.push_back(s.substr(b, i - b));
  }
  return out;
}

// Whether the token (sign removed) is found around the match.
bool TokenFound(std::u16string_view text, int matchStart, int matchLength, std::string_view token, bool matchCase) {
  const TDecodedText decoded = DecodeEscapes(token);
  std::u16string pattern;
  const std::u16string_view match = text.substr(size_t(matchStart), size_t(matchLength));
  for (const char16_t c : decoded.Text) {
    if (c == u'$')
      pattern += match;
    else
      pattern += c;
  }
  const bool markerFirst = !pattern.empty() && pattern[0] == kClassMarker;
  const bool hasMarker = pattern.find(kClassMarker) != std::u16string::npos;
  const int tokenLength = int(pattern.size()) + 1;  // with its sign
  pattern.erase(std::remove(pattern.begin(), pattern.end(), kClassMarker), pattern.end());
  if (pattern.empty()) return false;
  // The window reaches (token length - 2) characters beyond the match on each side, within the text.
  const int reach = std::max(0, tokenLength - 2);
  const int textLength = int(text.size());
  const int from = std::max(0, matchStart - reach);
  const int to = std::min(textLength, matchStart + matchLength + reach);
  if (to - from < int(pattern.size())) return false;
  // The window and the token as code page 1251, one byte per unit so positions stay the same.
  std::string window = UnitsTo1251(text.substr(size_t(from), size_t(to - from)));
  std::string needle = UnitsTo1251(pattern);
  if (!matchCase) {
    window = CyrLowerCase(window);
    needle = CyrLowerCase(needle);
  }
  for (size_t at = window.find(needle); at != std::string::npos; at = window.find(needle, at + 1)) {
    if (!hasMarker) return true;
    const int absolute = from + int(at);
    const int neighbour = markerFirst ? absolute - 1 : absolute + int(needle.size());
    if (neighbour >= 0 && neighbour < textLength && InCharClass(text[size_t(neighbour)], decoded.ClassFlag))
      return true;
  }
  return false;
}

}  // namespace

bool ConditionsAllow(std::u16string_view text, int matchStart, int matchLength, std::string_view conditions,
                     bool matchCase) {
  bool anyRequired = false, requiredFound = false;
  for (const std::string_view token : Tokens(conditions)) {
    const char sign = token[0];
    if ((sign != '+' && sign != '-') || token.size() == 1) continue;  // a bare sign asks nothing
    const bool found = TokenFound(text, matchStart, matchLength, token.substr(1), matchCase);
    if (sign == '-') {
      if (found) return false;
    } else {
      anyRequired = true;
      requiredFound = requiredFound || found;
    }
  }
  return !anyRequired || requiredFound;
}
