#include "platform/code_pages.h"

#include "platform/exceptions.h"
#include "platform/single_byte_codec.h"

#include <atomic>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

std::atomic<unsigned> systemCodePage{1251};

// The codec of `codePage` after resolving the pseudo code pages; raises EConvertError when we
// have none. UTF-8 is not a single-byte code page and must be handled before.
const SingleByteCodec& CodecOf(unsigned codePage) {
  const SingleByteCodec* codec = FindSingleByteCodec(codePage);
  if (!codec)
    throw EConvertError("Code page " + std::to_string(codePage) + " is not supported");
  return *codec;
}

// ASCII reads the same in every code page we know and in UTF-8; file names, keys and settings
// mostly are ASCII.
bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD and sets *lossy when given.
std::string EncodeUtf8(std::u16string_view text, bool* lossy) {
  std::string out;
  out.reserve(text.size() * 3 / 2 + 4);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch < 0x80) {
      out.push_back(static_cast<char>(ch));
    } else if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((char32_t(ch) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(ch) || IsLowSurrogate(ch)) {
      AppendUtf8(out, kReplacement);
      if (lossy) *lossy = true;
    } else {
      AppendUtf8(out, ch);
    }
  }
  return out;
}

} // namespace

unsigned SystemCodePage() { return systemCodePage.load(std::memory_order_relaxed); }

void SetSystemCodePage(unsigned codePage) {
  CodecOf(codePage);
  systemCodePage.store(codePage, std::memory_order_relaxed);
}

unsigned OemCodePage() {
  switch (SystemCodePage()) {
  case 1250: return 852;
  case 1251: return 866;
  case 1253: return 737;
  case 1254: return 857;
  case 1255: return 862;
  case 1256: return 720;
  case 1257: return 775;
  case 1258: return 1258;
  default: return 437;
  }
}

unsigned ResolveCodePage(unsigned codePage) {
  if (codePage == CP_ACP) return SystemCodePage();
  if (codePage == CP_OEMCP) return OemCodePage();
  return codePage;
}

bool IsCodePageSupported(unsigned codePage) {
  codePage = ResolveCodePage(codePage);
  return codePage == CP_UTF8 || FindSingleByteCodec(codePage) != nullptr;
}

std::u16string AnsiToWide(std::string_view text, unsigned codePage) {
  codePage = ResolveCodePage(codePage);
  if (codePage == CP_UTF8) return Utf8ToWide(text);
  const char16_t* table = CodecOf(codePage).Table();
  std::u16string out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = table[static_cast<unsigned char>(text[i])];
  return out;
}

std::string WideToAnsi(std::u16string_view text, unsigned codePage, bool* lossy) {
  codePage = ResolveCodePage(codePage);
  if (codePage == CP_UTF8) return EncodeUtf8(text, lossy);
  const SingleByteCodec& codec = CodecOf(codePage);
  std::string out(text.size(), '\0');
  size_t length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const int byte = codec.ToByte(text[i]);
    if (byte >= 0) {
      out[length++] = static_cast<char>(byte);
      continue;
    }
    out[length++] = '?';
    if (lossy) *lossy = true;
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
  }
  out.resize(length);
  return out;
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // The number of bytes and the allowed range of the second byte, which rules out overlong
    // forms, encoded surrogates and code points above U+10FFFF.
    int length = 0;
    char32_t cp = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    size_t next = i + 1;
    bool complete = length > 0;
    for (int k = 1; complete && k < length; ++k) {
      const unsigned char trail = next < text.size() ? static_cast<unsigned char>(text[next]) : 0;
      if (next >= text.size() || trail < low || trail > high) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (trail & 0x3F);
      ++next;
      low = 0x80;
      high = 0xBF;
    }
    // An ill-formed sequence gives one U+FFFD for its maximal valid prefix (at least the lead byte).
    AppendCodePoint(out, complete ? cp : kReplacement);
    i = next;
  }
  return out;
}

std::string WideToUtf8(std::u16string_view text) { return EncodeUtf8(text, nullptr); }

std::string AnsiToUtf8(std::string_view text) {
  return IsAscii(text) ? std::string(text) : WideToUtf8(AnsiToWide(text));
}

std::string Utf8ToAnsi(std::string_view text) {
  return IsAscii(text) ? std::string(text) : WideToAnsi(Utf8ToWide(text));
}
