#include "shell/plain_text.h"

#include <algorithm>

#include "platform/code_pages.h"

bool IsUtf8(std::string_view bytes) {
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
    i += size_t(length);
  }
  return true;
}

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::u16string_view kLineEnds[] = {u"\r\n", u"\n", u"\r"};  // by TMixedLineEnds kind
constexpr uint64_t kHashStart = 14695981039346656037ull, kHashFactor = 1099511628211ull;

bool StartsWith(std::string_view bytes, std::string_view head) { return bytes.substr(0, head.size()) == head; }


std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  const int high = bigEndian ? 0 : 1;
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(static_cast<unsigned char>(bytes[2 * i + 1 - high]) |
                       (static_cast<unsigned char>(bytes[2 * i + high]) << 8));
  return text;
}

void AppendUtf16(std::string& bytes, std::u16string_view text, bool bigEndian) {
  const size_t start = bytes.size();
  bytes.resize(start + text.size() * 2);
  const int high = bigEndian ? 0 : 1;
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[start + 2 * i + 1 - high] = char(text[i] & 0xFF);
    bytes[start + 2 * i + high] = char(text[i] >> 8);
  }
}

uint64_t Hash(uint64_t hash, char16_t c) { return (hash ^ c) * kHashFactor; }

// The kind of each line end of the file text, the fingerprint of each line, and the most
// frequent kind (the first met on a tie; LF when there is none).
void ScanLineEnds(std::u16string_view text, TPlainTextFormat& format) {
  TMixedLineEnds ends;
  size_t counts[3] = {0, 0, 0}, first[3] = {SIZE_MAX, SIZE_MAX, SIZE_MAX};
  uint64_t hash = kHashStart;
  for (size_t i = 0; i < text.size(); ++i) {
    uint8_t kind;
    if (text[i] == u'\r') kind = i + 1 < text.size() && text[i + 1] == u'\n' ? 0 : 2;
    else if (text[i] == u'\n') kind = 1;
    else {
      hash = Hash(hash, text[i]);
      continue;
    }
    if (kind == 0) ++i;
    if (counts[kind]++ == 0) first[kind] = ends.Kinds.size();
    ends.Kinds.push_back(kind);
    ends.Lines.push_back(hash);
    hash = kHashStart;
  }
  ends.Lines.push_back(hash);
  int main = 1;
  for (int kind = 0; kind < 3; ++kind)
    if (counts[kind] > counts[main] || (counts[kind] == counts[main] && first[kind] < first[main])) main = kind;
  format.LineEnd = kLineEnds[main];
  const int kinds = (counts[0] > 0) + (counts[1] > 0) + (counts[2] > 0);
  format.Mixed = kinds > 1 ? std::move(ends) : TMixedLineEnds();
}

// The fingerprint of each line of the document text (paragraph ends CR).
std::vector<uint64_t> LineHashes(std::u16string_view text) {
  std::vector<uint64_t> lines;
  uint64_t hash = kHashStart;
  for (char16_t c : text) {
    if (c != u'\r') {
      hash = Hash(hash, c);
      continue;
    }
    lines.push_back(hash);
    hash = kHashStart;
  }
  lines.push_back(hash);
  return lines;
}

// The end each paragraph end of the document text gets: lines that match the file's from the
// start or from the end keep their ends; between them, lines edited in place keep theirs and
// lines added get the main line end.
std::vector<uint8_t> PlanLineEnds(const std::vector<uint64_t>& lines, const TPlainTextFormat& format) {
  const TMixedLineEnds& file = format.Mixed;
  const size_t n = lines.size(), m = file.Lines.size();
  size_t prefix = 0, suffix = 0;
  while (prefix < std::min(n, m) && lines[prefix] == file.Lines[prefix]) ++prefix;
  while (suffix < std::min(n, m) - prefix && lines[n - 1 - suffix] == file.Lines[m - 1 - suffix]) ++suffix;
  const uint8_t main = uint8_t(std::find(std::begin(kLineEnds), std::end(kLineEnds), format.LineEnd) - std::begin(kLineEnds));
  std::vector<uint8_t> kinds(n - 1, main);
  for (size_t j = 0; j + 1 < n; ++j) {
    // End j closes line j and opens line j + 1.
    if (j < prefix || n == m) kinds[j] = file.Kinds[j];
    else if (j + 1 >= n - suffix) kinds[j] = file.Kinds[j + m - n];
  }
  return kinds;
}

}  // namespace

TPlainText ReadPlainText(std::string_view bytes, unsigned codePage) {
  TPlainText result;
  TPlainTextFormat& format = result.Format;
  format.CodePage = codePage;
  if (StartsWith(bytes, kUtf16Mark) || StartsWith(bytes, kUtf16BEMark)) {
    const bool bigEndian = StartsWith(bytes, kUtf16BEMark);
    format.Encoding = bigEndian ? TTextEncoding::Utf16BE : TTextEncoding::Utf16;
    bytes.remove_prefix(2);
    if (bytes.size() % 2) format.Tail = bytes.substr(bytes.size() - 1);
    result.Text = DecodeUtf16(bytes, bigEndian);
  } else {
    const bool marked = StartsWith(bytes, kUtf8Mark);
    const std::string_view body = marked ? bytes.substr(kUtf8Mark.size()) : bytes;
    if (IsUtf8(body)) {
      format.Encoding = marked ? TTextEncoding::Utf8Bom : TTextEncoding::Utf8;
      result.Text = Utf8ToWide(body);
    } else {
      // Not UTF-8 whatever its mark says: 8-bit text, the mark kept as it stands.
      format.Encoding = TTextEncoding::Ansi;
      if (marked) format.Head = kUtf8Mark;
      result.Text = AnsiToWide(body, codePage);
    }
  }
  ScanLineEnds(result.Text, format);
  return result;
}

std::string EncodePlainText(std::u16string_view text, const TPlainTextFormat& format, bool* lossy) {
  std::u16string lines;
  lines.reserve(text.size() + text.size() / 32);
  if (format.Mixed.Kinds.empty()) {
    for (char16_t c : text) {
      if (c == u'\r') lines += format.LineEnd;
      else lines += c;
    }
  } else {
    const std::vector<uint8_t> kinds = PlanLineEnds(LineHashes(text), format);
    size_t line = 0;
    for (char16_t c : text) {
      if (c == u'\r') lines += kLineEnds[kinds[line++]];
      else lines += c;
    }
  }
  std::string bytes;
  switch (format.Encoding) {
    case TTextEncoding::Utf16:
    case TTextEncoding::Utf16BE: {
      const bool bigEndian = format.Encoding == TTextEncoding::Utf16BE;
      bytes = bigEndian ? kUtf16BEMark : kUtf16Mark;
      AppendUtf16(bytes, lines, bigEndian);
      return bytes + format.Tail;
    }
    case TTextEncoding::Utf8:
      return WideToAnsi(lines, CP_UTF8, lossy);
    case TTextEncoding::Utf8Bom:
      return std::string(kUtf8Mark) + WideToAnsi(lines, CP_UTF8, lossy);
    case TTextEncoding::Ansi:
      break;
  }
  return format.Head + WideToAnsi(lines, format.CodePage, lossy);
}

void KeepLineEnds(std::u16string_view text, TPlainTextFormat& format) {
  if (format.Mixed.Kinds.empty()) return;
  std::vector<uint64_t> lines = LineHashes(text);
  format.Mixed.Kinds = PlanLineEnds(lines, format);
  format.Mixed.Lines = std::move(lines);
}

unsigned EncodingCodePage(const TPlainTextFormat& format) {
  switch (format.Encoding) {
    case TTextEncoding::Utf16: return CP_UTF16;
    case TTextEncoding::Utf16BE: return CP_UTF16BE;
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf8Bom: return CP_UTF8;
    case TTextEncoding::Ansi: break;
  }
  return format.CodePage;
}

TPlainTextFormat WithCodePage(const TPlainTextFormat& format, unsigned codePage) {
  if (EncodingCodePage(format) == codePage) return format;
  TPlainTextFormat result;
  result.LineEnd = format.LineEnd;
  result.Mixed = format.Mixed;
  if (codePage == CP_UTF16) result.Encoding = TTextEncoding::Utf16;
  else if (codePage == CP_UTF16BE) result.Encoding = TTextEncoding::Utf16BE;
  else if (codePage != CP_UTF8) result.Encoding = TTextEncoding::Ansi, result.CodePage = codePage;
  return result;
}

std::string EncodingName(unsigned codePage) {
  switch (codePage) {
    case CP_UTF8: return "UTF-8";
    case CP_UTF16: return "UTF-16";
    case CP_UTF16BE: return "UTF-16 BE";
    case 866: return "DOS-866";
    case 20866: return "KOI-8";
    case 21866: return "KOI-8U";
    case 10007: return "Mac";
    case 10000: return "Mac Roman";
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28595) return "ISO-8859-" + std::to_string(codePage - 28590);
  if (codePage >= 1250 && codePage <= 1258) return "Windows-" + std::to_string(codePage);
  return "CP" + std::to_string(codePage);
}
