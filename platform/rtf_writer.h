// Writing the rich text model as RTF.
//
// The output is what common word processors read: \rtf1\ansi\ansicpgN\deff0, a font table with
// character sets, a colour table, \viewkind4\uc1, then each paragraph as \pard with its format
// and runs each after \plain with their format, ended by \par. Text beyond ASCII is written as
// \uN followed by its byte in the font's code page ('?' when it has none). Hyperlinks become
// HYPERLINK fields, pictures \pict groups, and embedded objects their original group.
// ReadRtf reads the output back to an equal document (see rich_text.h for the value ranges
// that RTF stores: sizes in half points, names without surrounding blanks).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/rich_text.h"

struct TRtfWriteOptions {
  // The document's code page written as \ansicpg; 0 for the document's own.
  unsigned CodePage = 0;
  // Every object written as a blank (the rich edit control's "RTF without objects").
  bool NoObjects = false;
  // No language keywords (\lang, \deflang).
  bool Plain = false;
  // Called now and then with the paragraphs written so far and their total; it may throw.
  std::function<void(std::size_t position, std::size_t size)> Progress;
};

std::string WriteRtf(const TRichDocument& document, const TRtfWriteOptions& options = {});
