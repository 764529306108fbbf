// The reformat tool's engine: hard-wrapped, justified, hyphenated, indented, mail-quoted and
// column text made to flow again. It works on UTF-16 text and answers the edits to make, so
// that everything it does not change (formatting, characters outside code page 1251) stays.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TReformatOptions {
  bool UndoHyphen = true;    // merge words hyphenated at line ends
  bool UndoJustify = true;   // one space between words
  bool Paragraphs = true;    // lines of a paragraph joined
  bool MultiCol = true;      // tab-separated columns one below the other
  bool DeQuote = true;       // ">" and "|" at line starts removed
  int Paragraph = 0;         // paragraph breaks: 0 as they are, 1 one, 2 two carriage returns
};

// One replacement: `Length` characters at `Start` (positions of the text the pass read)
// become `Text`. A changed word is marked from `MarkStart` (relative to `Start`) for
// `MarkLength` characters: merged or changed words (Skipped false) or ignored hyphens.
struct TReformatEdit {
  int Start = 0, Length = 0;
  std::u16string Text;
  int MarkStart = 0, MarkLength = 0;
  bool Skipped = false;
};

// Whether a word (hyphens removed or joined) is a valid Russian or English word.
using TWordTest = std::function<bool(std::u16string_view word)>;

// The column pass: the edits (in order) and the common indentation of the text's lines.
std::vector<TReformatEdit> ReformatColumns(std::u16string_view text, const TReformatOptions& options, int& indentation);
// The joining pass over the text as the column pass left it.
std::vector<TReformatEdit> ReformatJoin(std::u16string_view text, const TReformatOptions& options, int indentation,
                                        const TWordTest& isWord);
// `text` with `edits` made (used for tests and for checks).
std::u16string ApplyReformatEdits(std::u16string_view text, const std::vector<TReformatEdit>& edits);
