// Plain-text files as this platform has them: 8-bit text in a code page, Unicode text as
// UTF-16 with its byte order mark, or UTF-8 (with or without a byte order mark), with the line
// ends the file uses. A document saves back in the encoding and with the line ends it came in.
#pragma once

#include <string>
#include <string_view>

enum class TTextEncoding { Ansi, Utf16, Utf8, Utf8Bom };

struct TPlainTextFormat {
  TTextEncoding Encoding = TTextEncoding::Ansi;
  std::u16string LineEnd = u"\n";  // a new plain-text document ends its lines with LF
  bool operator==(const TPlainTextFormat&) const = default;
};

// True when `bytes` are well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF) holding at least one multi-byte sequence.
bool IsUtf8Text(std::string_view bytes);
// The encoding of a file's bytes (a byte order mark, else UTF-8 when IsUtf8Text, else the code
// page) and its line end (the first one in the file; LF when it has none).
TPlainTextFormat DetectPlainText(std::string_view bytes);
// The file's text in UTF-16, byte order mark left out, line ends as they stand.
std::u16string DecodePlainText(std::string_view bytes, TTextEncoding encoding, unsigned codePage);
// The document text (paragraph ends CR) as file bytes in `format`; `lossy` is set when the code
// page cannot hold a character (it becomes "?").
std::string EncodePlainText(std::u16string_view text, const TPlainTextFormat& format, unsigned codePage,
                            bool* lossy = nullptr);
