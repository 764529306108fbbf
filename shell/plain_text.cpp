#include "shell/plain_text.h"

#include "platform/code_pages.h"

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view bytes, std::string_view head) { return bytes.substr(0, head.size()) == head; }

}  // namespace

bool IsUtf8Text(std::string_view bytes) {
  bool multiByte = false;
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int length;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else return false;
    if (i + size_t(length) > bytes.size()) return false;
    const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) return false;
    for (int k = 2; k < length; ++k)
      if ((static_cast<unsigned char>(bytes[i + size_t(k)]) & 0xC0) != 0x80) return false;
    multiByte = true;
    i += size_t(length);
  }
  return multiByte;
}

TPlainTextFormat DetectPlainText(std::string_view bytes) {
  TPlainTextFormat format;
  if (StartsWith(bytes, kUtf16Mark)) format.Encoding = TTextEncoding::Utf16;
  else if (StartsWith(bytes, kUtf8Mark)) format.Encoding = TTextEncoding::Utf8Bom;
  else if (IsUtf8Text(bytes)) format.Encoding = TTextEncoding::Utf8;
  const std::u16string text = DecodePlainText(bytes.substr(0, 64 * 1024), format.Encoding, 1252);
  const size_t end = text.find_first_of(u"\r\n");
  if (end != std::u16string::npos) {
    if (text[end] == u'\n') format.LineEnd = u"\n";
    else if (end + 1 < text.size() && text[end + 1] == u'\n') format.LineEnd = u"\r\n";
    else if (end + 1 < text.size() || bytes.size() <= 64 * 1024) format.LineEnd = u"\r";
    else format.LineEnd = u"\r\n";  // a CR at the end of the part looked at
  }
  return format;
}

std::u16string DecodePlainText(std::string_view bytes, TTextEncoding encoding, unsigned codePage) {
  switch (encoding) {
    case TTextEncoding::Utf16: {
      if (StartsWith(bytes, kUtf16Mark)) bytes.remove_prefix(kUtf16Mark.size());
      std::u16string text(bytes.size() / 2, u'\0');
      for (size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(static_cast<unsigned char>(bytes[2 * i]) | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
      return text;
    }
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf8Bom:
      if (StartsWith(bytes, kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
      return Utf8ToWide(bytes);
    case TTextEncoding::Ansi:
      break;
  }
  return AnsiToWide(bytes, codePage);
}

std::string EncodePlainText(std::u16string_view text, const TPlainTextFormat& format, unsigned codePage, bool* lossy) {
  std::u16string lines;
  lines.reserve(text.size() + text.size() / 32);
  for (char16_t c : text) {
    if (c == u'\r') lines += format.LineEnd;
    else lines += c;
  }
  switch (format.Encoding) {
    case TTextEncoding::Utf16: {
      std::string bytes(kUtf16Mark);
      bytes.resize(2 + lines.size() * 2);
      for (size_t i = 0; i < lines.size(); ++i) {
        bytes[2 + 2 * i] = char(lines[i] & 0xFF);
        bytes[3 + 2 * i] = char(lines[i] >> 8);
      }
      return bytes;
    }
    case TTextEncoding::Utf8:
      return WideToUtf8(lines);
    case TTextEncoding::Utf8Bom:
      return std::string(kUtf8Mark) + WideToUtf8(lines);
    case TTextEncoding::Ansi:
      break;
  }
  return WideToAnsi(lines, codePage, lossy);
}
