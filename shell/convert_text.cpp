#include "shell/convert_text.h"

#include <array>
#include <vector>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "shell/replace_list_rules.h"
#include "textcore/cyr_case.h"
#include "textcore/locale_text.h"
#include "textcore/transliteration.h"

namespace {

constexpr unsigned kCodePage = 1251;
constexpr int kStepEvery = 1024;  // characters between progress calls

struct TCaseTables {
  std::array<unsigned char, 256> upper{}, lower{};
};

const TCaseTables& CaseTables() {
  static const TCaseTables tables = [] {
    TCaseTables t;
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, char(b));
      t.upper[size_t(b)] = static_cast<unsigned char>(CyrUpperCase(one)[0]);
      t.lower[size_t(b)] = static_cast<unsigned char>(CyrLowerCase(one)[0]);
    }
    return t;
  }();
  return tables;
}

bool IsWordByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c >= 0xC0 || c == 0xA8 ||
         c == 0xB8 || c == '+' || c == '-';
}

void ReplaceEvery(std::u16string& text, std::u16string_view what, std::u16string_view with) {
  std::u16string out;
  size_t from = 0;
  for (size_t at = text.find(what); at != std::u16string::npos; at = text.find(what, from)) {
    out.append(text, from, at - from);
    out.append(with);
    from = at + what.size();
  }
  out.append(text, from, std::u16string::npos);
  text.swap(out);
}

bool HasByte(char16_t c) { return c == u'?' || UnitsTo1251(std::u16string_view(&c, 1))[0] != '?'; }

}  // namespace

bool RemoveHtmlTags(std::u16string& text, const TStepEvent& step) {
  std::u16string out;
  out.reserve(text.size());
  long tagStart = -1;  // in `out`
  const int64_t total = int64_t(text.size());
  for (int64_t i = 0; i < total; ++i) {
    if (step && i % kStepEvery == 0 && step(i + 1, total)) return false;
    const char16_t c = text[size_t(i)];
    if (c == u'<') {
      tagStart = long(out.size());
      out += c;
    } else if (c == u'>' && tagStart >= 0) {
      out.resize(size_t(tagStart));
    } else {
      out += c;
    }
  }
  if (step && step(total, total)) return false;
  ReplaceEvery(out, u"&lt;", u"<");
  ReplaceEvery(out, u"&gt;", u">");
  ReplaceEvery(out, u"&nbsp;", u" ");
  ReplaceEvery(out, u"&quot;", u"\"");
  text.swap(out);
  return true;
}

std::string ChangeCase(std::string_view text, int mode, const TStepEvent& step) {
  const TCaseTables& t = CaseTables();
  std::string out(text);
  bool start = true;
  unsigned char last = 0;
  const int64_t total = int64_t(out.size());
  for (int64_t i = 0; i < total; ++i) {
    if (step && i % (64 * kStepEvery) == 0 && step(i + 1, total)) throw EAbort("");
    char& ch = out[size_t(i)];
    const auto c = static_cast<unsigned char>(ch);
    switch (mode) {
      case 1:
        if (last == '.' || last == '!' || last == '?') start = true;
        if (start && IsWordByte(c)) {
          ch = char(t.upper[c]);
          start = false;
        }
        if (c != 10 && c != 11 && c != 13 && c != ' ' && c != '-' && c != 151) last = c;
        break;
      case 2: ch = char(t.upper[c]); break;
      case 3: ch = char(t.lower[c]); break;
      case 4:
        if (start && c != ' ') {
          ch = char(t.upper[c]);
          start = false;
        } else {
          ch = char(t.lower[c]);
        }
        if (!IsWordByte(c)) start = true;
        break;
      case 5: ch = char(t.upper[c] == c ? t.lower[c] : t.upper[c]); break;
      default: break;
    }
  }
  return out;
}

std::u16string ChangeCaseW(std::u16string_view text, int mode, const TStepEvent& step) {
  // Characters the code page lacks stand in as "X"/"x" (letters) or a neutral control byte.
  std::string bytes = UnitsTo1251(text);
  std::vector<bool> foreign(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (HasByte(c)) continue;
    foreign[i] = true;
    const bool letter = WideUpper(c) != WideLower(c);
    bytes[i] = letter ? (WideUpper(c) == c ? 'X' : 'x') : '\x01';
  }
  const std::string changed = ChangeCase(bytes, mode, step);
  std::u16string out = AnsiToWideString(changed, kCodePage);
  for (size_t i = 0; i < text.size(); ++i) {
    if (!foreign[i]) continue;
    const char16_t c = text[i];
    out[i] = changed[i] == 'X' ? WideUpper(c) : changed[i] == 'x' ? WideLower(c) : c;
  }
  return out;
}

std::u16string TransliterateW(std::u16string_view text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    if (!HasByte(text[i])) {
      while (j < text.size() && !HasByte(text[j])) ++j;
      out.append(text.substr(i, j - i));
    } else {
      while (j < text.size() && HasByte(text[j])) ++j;
      out += AnsiToWideString(Transliterate(UnitsTo1251(text.substr(i, j - i)), nullptr), kCodePage);
    }
    i = j;
  }
  return out;
}

std::vector<std::string> RuleFileLines(const std::string& fileName) {
  std::vector<std::string> lines;
  if (!FileExists(fileName)) return lines;
  const std::string bytes = ReadFileBytes(fileName);
  size_t from = 0;
  while (from <= bytes.size()) {
    size_t end = bytes.find('\n', from);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] != '#') lines.push_back(line);
    from = end + 1;
  }
  return lines;
}
