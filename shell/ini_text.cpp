#include "shell/ini_text.h"

namespace {

std::u16string Trim(const std::u16string& s) {
  const size_t begin = s.find_first_not_of(u" \t");
  if (begin == std::u16string::npos) return {};
  return s.substr(begin, s.find_last_not_of(u" \t") - begin + 1);
}

bool IsHeader(const std::u16string& line) {
  const std::u16string t = Trim(line);
  return t.size() >= 2 && t.front() == u'[' && t.back() == u']';
}

std::u16string HeaderName(const std::u16string& line) {
  const std::u16string t = Trim(line);
  return Trim(t.substr(1, t.size() - 2));
}

}  // namespace

std::vector<std::u16string> SplitIniLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(u'\r', start);
    lines.push_back(text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
    if (end == std::u16string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::u16string JoinIniLines(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u'\r';
    text += lines[i];
  }
  return text;
}

bool LooksLikeIni(const std::u16string& text) {
  bool headerSeen = false, keySeen = false;
  for (const std::u16string& line : SplitIniLines(text)) {
    const std::u16string t = Trim(line);
    if (t.empty() || t.front() == u';' || t.front() == u'#') continue;
    if (IsHeader(t)) {
      headerSeen = true;
    } else if (t.find(u'=') != std::u16string::npos && t.front() != u'=') {
      keySeen = true;
    } else {
      return false;
    }
  }
  return headerSeen && keySeen;
}

std::vector<TIniSection> SplitIni(const std::u16string& text) {
  std::vector<TIniSection> sections;
  for (std::u16string& line : SplitIniLines(text)) {
    if (IsHeader(line)) {
      sections.push_back(TIniSection{HeaderName(line), true, line, {}});
      continue;
    }
    if (sections.empty()) sections.push_back(TIniSection{u"Default", false, {}, {}});
    sections.back().Lines.push_back(std::move(line));
  }
  if (sections.empty()) sections.push_back(TIniSection{u"Default", false, {}, {}});
  return sections;
}

std::u16string JoinIni(const std::vector<TIniSection>& sections) {
  std::vector<std::u16string> lines;
  for (const TIniSection& section : sections) {
    if (section.HasHeader || section.Name != u"Default")
      lines.push_back(IsHeader(section.Header) && HeaderName(section.Header) == Trim(section.Name)
                          ? section.Header
                          : u"[" + Trim(section.Name) + u"]");
    lines.insert(lines.end(), section.Lines.begin(), section.Lines.end());
  }
  return JoinIniLines(lines);
}
