#include "shell/replace_list_rules.h"

#include <algorithm>
#include <array>

#include "platform/code_pages.h"

namespace {

constexpr size_t kHistoryItems = 20;
constexpr size_t kMaxConditions = 16384;

const std::array<char16_t, 256>& Cp1251ToWide() {
  static const std::array<char16_t, 256> table = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
      const std::u16string w = AnsiToWide(std::string(1, char(b)), 1251);
      t[size_t(b)] = w.size() == 1 ? w[0] : u'?';
    }
    return t;
  }();
  return table;
}

const std::vector<unsigned char>& WideTo1251() {
  static const std::vector<unsigned char> table = [] {
    std::vector<unsigned char> t(65536, '?');
    for (int b = 255; b >= 0; --b) t[Cp1251ToWide()[size_t(b)]] = static_cast<unsigned char>(b);
    return t;
  }();
  return table;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TDecodedText DecodeEscapes(std::string_view text) {
  TDecodedText out;
  const auto& table = Cp1251ToWide();
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c != '{' || i + 1 >= text.size()) {
      out.Text += table[static_cast<unsigned char>(c)];
      ++i;
      continue;
    }
    const char next = text[i + 1];
    if (next == '{') {
      out.Text += u'{';
      i += 2;
      continue;
    }
    static constexpr std::string_view kClasses = "@#&|";
    if (const size_t k = kClasses.find(next); k != std::string_view::npos && i + 2 < text.size() && text[i + 2] == '}') {
      out.Text += kClassMarker;
      out.ClassFlag = 1 << k;
      i += 3;
      continue;
    }
    if (!IsDigit(next)) {
      out.Text += u'{';
      ++i;
      continue;
    }
    size_t j = i + 1;
    long value = 0;
    while (j < text.size() && j < i + 6 && IsDigit(text[j])) value = value * 10 + (text[j++] - '0');
    if (value > 0xFFFF) {  // no such UTF-16 unit: the text stands as written
      out.Text += u'{';
      ++i;
      continue;
    }
    if (j < text.size() && text[j] == '}') ++j;
    if (value >= 255)
      out.Text += char16_t(value);
    else if (value > 0)
      out.Text += table[size_t(value)];
    i = j;
  }
  return out;
}

bool IsListLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0x0410 && c <= 0x044F) || c == 0x0401 ||
         c == 0x0451;
}

bool IsListDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool InCharClass(char16_t c, int flag) {
  const bool alnum = IsListLetter(c) || IsListDigit(c);
  switch (flag) {
    case kClassLetter: return IsListLetter(c);
    case kClassDigit: return IsListDigit(c);
    case kClassNoAlnumSpace: return !alnum && c != u' ';
    case kClassNoAlnum: return !alnum;
    default: return true;
  }
}

TListLine ParseListLine(std::string_view line) {
  TListLine out;
  if (line.substr(0, 3) == "###") {
    out.LineKind = TListLine::kSection;
    out.Section = Trim(line.substr(3));
    return out;
  }
  if (line.substr(0, 2) == "##") {
    out.LineKind = TListLine::kComment;
    return out;
  }
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return out;
  out.Find = std::string(line.substr(0, eq));
  if (DecodeEscapes(out.Find).Text.empty()) return out;
  const std::string_view rest = line.substr(eq + 1);
  const size_t bar = rest.find('|');
  out.Replace = Trim(rest.substr(0, bar));
  if (bar != std::string_view::npos) out.Conditions = Trim(rest.substr(bar + 1).substr(0, kMaxConditions));
  out.LineKind = TListLine::kRule;
  return out;
}

void PushHistory(std::vector<std::string>& items, const std::string& text) {
  if (std::find(items.begin(), items.end(), text) == items.end()) items.insert(items.begin(), text);
  if (items.size() > kHistoryItems) items.resize(kHistoryItems);
}

char16_t WideUpper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) || (c >= 0x0430 && c <= 0x044F) ||
      (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2))
    return char16_t(c - 32);
  if (c >= 0x0450 && c <= 0x045F) return char16_t(c - 80);
  return c;
}

char16_t WideLower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) || (c >= 0x0410 && c <= 0x042F) ||
      (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2))
    return char16_t(c + 32);
  if (c >= 0x0400 && c <= 0x040F) return char16_t(c + 80);
  return c;
}

std::u16string PreserveCase(std::u16string_view match, std::u16string_view replacement) {
  bool hasLetter = false, allUpper = true;
  for (const char16_t c : match) {
    if (WideUpper(c) != WideLower(c)) {
      hasLetter = true;
      if (WideUpper(c) != c) allUpper = false;
    }
  }
  std::u16string out(replacement);
  if (!hasLetter || out.empty()) return out;
  if (allUpper) {
    for (char16_t& c : out) c = WideUpper(c);
  } else if (WideUpper(match[0]) == match[0] && WideLower(match[0]) != match[0]) {
    out[0] = WideUpper(out[0]);
  } else if (WideLower(match[0]) == match[0] && WideUpper(match[0]) != match[0]) {
    out[0] = WideLower(out[0]);
  }
  return out;
}

std::string UnitsTo1251(std::u16string_view text) {
  const auto& table = WideTo1251();
  std::string out(text.size(), '?');
  for (size_t i = 0; i < text.size(); ++i) out[i] = char(table[text[i]]);
  return out;
}
