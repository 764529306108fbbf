#include "tools/mail_decoder.h"

#include "textcore/locale_text.h"

namespace {

constexpr unsigned kMailCodePage = 1251;
constexpr int kStepEvery = 4096;  // characters between progress reports
constexpr int kMaxDecimalDigits = 7;

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The code at `pos` as text; its length in `used`; empty when there is no valid code there.
std::u16string ReadCode(std::u16string_view text, size_t pos, bool decimal, size_t& used) {
  used = 0;
  if (!decimal) {
    if (pos + 2 > text.size()) return {};
    const int high = HexValue(text[pos]), low = HexValue(text[pos + 1]);
    if (high < 0 || low < 0 || high + low == 0) return {};
    used = 2;
    const char byte = char(high * 16 + low);
    return AnsiToWideString(std::string_view(&byte, 1), kMailCodePage);
  }
  uint32_t code = 0;
  size_t end = pos;
  while (end < text.size() && text[end] >= u'0' && text[end] <= u'9' && end - pos < kMaxDecimalDigits)
    code = code * 10 + uint32_t(text[end++] - u'0');
  // More digits than any code point has: the number is left as it is.
  if (end == pos || (end < text.size() && text[end] >= u'0' && text[end] <= u'9')) return {};
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  used = end - pos;
  if (code < 0x10000) return std::u16string(1, char16_t(code));
  code -= 0x10000;
  return {char16_t(0xD800 + (code >> 10)), char16_t(0xDC00 + (code & 0x3FF))};
}

}  // namespace

bool DecodeMailCodes(std::u16string_view text, const TMailCodes& codes, std::u16string& out, const TMailStep& step) {
  std::u16string result;
  result.reserve(text.size());
  const std::u16string_view prefix = codes.Prefix, suffix = codes.Suffix;
  size_t pos = 0, nextStep = 0;
  while (pos < text.size()) {
    if (step && pos >= nextStep) {
      if (step(int64_t(pos), int64_t(text.size()))) return false;
      nextStep = pos + kStepEvery;
    }
    const size_t found = prefix.empty() ? std::u16string_view::npos : text.find(prefix, pos);
    if (found == std::u16string_view::npos) {
      result.append(text.substr(pos));
      break;
    }
    result.append(text.substr(pos, found - pos));
    const size_t codeStart = found + prefix.size();
    size_t used = 0;
    const std::u16string decoded = ReadCode(text, codeStart, codes.Decimal, used);
    if (decoded.empty()) {
      // Not a code: the prefix stays and the search goes on right after its first character.
      result += text[found];
      pos = found + 1;
      continue;
    }
    result += decoded;
    pos = codeStart + used;
    if (!suffix.empty() && text.substr(pos, suffix.size()) == suffix) pos += suffix.size();
  }
  out = std::move(result);
  return true;
}
