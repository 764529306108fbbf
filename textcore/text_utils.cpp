#include "textcore/text_utils.h"

#include <cmath>
#include <cstdio>

#include "textcore/cyr_case.h"

std::string MatchCase(std::string_view templ, std::string_view word) {
  std::string result = CyrLowerCase(word);
  if (templ.empty() || word.empty()) return result;
  const std::string_view first = templ.substr(0, 1);
  if (CyrLowerCase(first) == first) return result;
  if (CyrUpperCase(templ) == templ) return CyrUpperCase(word);
  result[0] = CyrUpperCase(result.substr(0, 1))[0];
  return result;
}

bool IsNumberLike(std::string_view word) {
  constexpr std::string_view kNumberChars = "0123456789%+,-.";
  constexpr std::string_view kRomanCapitals = "CILMVX";
  size_t capitals = 0;
  for (size_t i = 0; i < word.size(); ++i) {
    const char ch = word[i];
    if (kRomanCapitals.find(ch) != std::string_view::npos) {
      if (capitals != i) return false;  // a capital after any other character
      ++capitals;
    } else if (kNumberChars.find(ch) == std::string_view::npos) {
      return false;
    }
  }
  return capitals == 0 || (capitals == word.size() && capitals >= 2);
}

std::string ExtractToken(std::string_view s, const TCharSet& delims, int& position, std::string& field) {
  field.clear();
  if (position < 1) position = 1;
  const int length = static_cast<int>(s.size());
  if (position > length + 1) {
    ++position;
    return {};
  }
  std::string token;
  for (int i = position; i <= length; ++i) {
    const char ch = s[i - 1];
    if (delims.test(static_cast<unsigned char>(ch))) {
      position = i + 1;
      field = token.empty() ? "empty" : token;
      return token;
    }
    token.push_back(ch);
  }
  position = length + 2;
  field = token;
  return token;
}

std::string Spaces(int n) { return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string(); }

std::string FormatElapsedTime(double span) {
  const long long total = span > 0 ? static_cast<long long>(std::floor(span * 86400.0 + 1e-6)) : 0;
  const long long hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
  char text[64];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld h %lld m %lld s", hours, minutes, seconds);
  } else if (minutes > 0) {
    std::snprintf(text, sizeof text, "%lld min %lld sec", minutes, seconds);
  } else {
    std::snprintf(text, sizeof text, "%lld sec", seconds);
  }
  return text;
}
