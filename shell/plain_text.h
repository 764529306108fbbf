// Plain-text files as this platform has them: UTF-8 (with or without a byte order mark), UTF-16
// with its byte order mark (either byte order), or 8-bit text in a code page, with the line ends
// the file uses. A document saves back in the encoding and with the line ends it came in, and an
// unedited one byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The code page numbers of UTF-16 (little-endian) and UTF-16 big-endian.
inline constexpr unsigned CP_UTF16 = 1200, CP_UTF16BE = 1201;

// True when `bytes` are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);

enum class TTextEncoding { Ansi, Utf16, Utf16BE, Utf8, Utf8Bom };

// The line ends of a file that mixes CR LF, LF and CR: the end of each line and a fingerprint of
// each line, so that an end stays with its line when other lines are added, removed or edited.
struct TMixedLineEnds {
  std::vector<uint8_t> Kinds;   // per line end: 0 CR LF, 1 LF, 2 CR
  std::vector<uint64_t> Lines;  // per line, one more than Kinds (the text after the last end)
  bool operator==(const TMixedLineEnds&) const = default;
};

struct TPlainTextFormat {
  TTextEncoding Encoding = TTextEncoding::Utf8;  // a new plain-text document is UTF-8 with LF
  unsigned CodePage = 1251;                      // the code page of 8-bit text
  std::string Head;  // bytes kept before 8-bit text: a UTF-8 mark its body does not follow
  std::string Tail;  // bytes kept after the text: the odd last byte of UTF-16
  std::u16string LineEnd = u"\n";  // the file's most frequent line end; new lines get it
  TMixedLineEnds Mixed;            // empty unless the file mixes line ends
  bool operator==(const TPlainTextFormat&) const = default;
};

struct TPlainText {
  std::u16string Text;  // line ends as they stand in the file
  TPlainTextFormat Format;
};

// A file's text and format: a byte order mark, else well-formed UTF-8 (no overlong forms,
// surrogates or values above U+10FFFF; plain ASCII included), else 8-bit text in `codePage`. A UTF-8 mark before a body that is no UTF-8 is kept as bytes.
TPlainText ReadPlainText(std::string_view bytes, unsigned codePage);
// The document text (paragraph ends CR) as file bytes in `format`; `lossy` is set when the
// encoding cannot hold a character (it becomes "?", or U+FFFD for a lone surrogate in UTF-8).
std::string EncodePlainText(std::u16string_view text, const TPlainTextFormat& format, bool* lossy = nullptr);
// After `text` was saved in `format`: the mixed line ends now are those written.
void KeepLineEnds(std::u16string_view text, TPlainTextFormat& format);
// `format`'s encoding as a code page number: the 8-bit code page, 65001 UTF-8, 1200 UTF-16,
// 1201 UTF-16 big-endian.
unsigned EncodingCodePage(const TPlainTextFormat& format);
// `format` in the encoding of a code page number (as EncodingCodePage gives): itself when it
// has that encoding, else with its line ends and without the bytes kept for its own encoding.
TPlainTextFormat WithCodePage(const TPlainTextFormat& format, unsigned codePage);
// The name of an encoding (a code page number): "UTF-8", "Windows-1251", "KOI-8", ...
std::string EncodingName(unsigned codePage);
