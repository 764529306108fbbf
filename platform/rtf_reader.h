// Reading RTF into the rich text model.
//
// The reader takes what common word processors and the rich edit control write: font and colour
// tables, 8-bit text in each font's code page, \u escapes with their fallbacks, character and
// paragraph formatting, hyperlink fields, pictures and embedded objects (kept byte for byte).
// Style sheets, list tables, headers, footers and other destinations it has no use for are
// skipped. Damaged input gives the best document it can: a truncated file keeps what was read,
// surplus closing braces and anything after the last one are ignored, bad escapes and
// out-of-range values are dropped or clamped. Only two faults make it refuse the whole input
// with EConvertError: bytes that do not start as RTF ("{\rtf") and groups nested deeper than
// RtfMaxGroupDepth.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/rich_text.h"

inline constexpr int RtfMaxGroupDepth = 4096;

struct TRtfReadOptions {
  // Language keywords (\lang, \deflang) are ignored: text keeps no language of its own.
  bool Plain = false;
  // Called now and then with the bytes read so far and the total; it may throw to stop reading.
  std::function<void(std::size_t position, std::size_t size)> Progress;
  // When given, each paragraph goes here as soon as it is complete instead of into the document
  // returned, whose paragraphs are then one empty one.
  std::function<void(TRichParagraph& paragraph)> Paragraph;
};

// True when `data` starts as an RTF document (after blanks and a UTF-8 byte order mark).
bool IsRtf(std::string_view data);

// Reads an RTF document. Raises EConvertError when the data is not RTF or nests too deeply.
TRichDocument ReadRtf(std::string_view rtf, const TRtfReadOptions& options = {});
