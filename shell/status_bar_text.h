// The texts of the main window's status bar and of "Copy Info", and the zoom typed into the
// zoom box.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

// `pattern` with each "%d", "%u" or "%x" replaced by the next of `numbers` (hexadecimal for
// "%x") and "%%" by "%"; anything else, other "%" forms too, stands as written, so a pattern
// from a language file can never read past the numbers given.
std::string FillNumbers(const std::string& pattern, std::initializer_list<long long> numbers);

// The panels' texts follow the interface language (keys "StatusCode", "StatusSel", "StatusPos",
// "StatusLine"), English when it has none.
// Panel 2: "Code: %d (#%x)" of the character at `position` (the one before it at the end of
// the text); a surrogate pair is one character. Empty for an empty text.
std::string CharCodeText(const std::u16string& text, int position);
// Panel 1: "Sel: %d to %d (%d chars)" with a selection, else "Pos: %d of %d".
std::string PositionText(int selStart, int selLength, int textLength);
// Panel 0: "Line: %d of %d    Col: %d" (1-based line and column).
std::string LineText(int line, int lineCount, int column);
// "Offs:%d; Length:%d; Line: %d; Column: %d;" (0-based offset, line and column).
std::string CopyInfoText(int selStart, int selLength, int line, int column);
// The image of an indicator panel (3 modified, 4 spelling while typing, 5 automatic keyboard
// switching, 6 automatic de-transliteration): 56, 58, 57, 59; -1 for any other panel.
int IndicatorImage(int panel);
// The letter the indicator's picture carries ("M", "S", "K", "C"), empty for other panels.
std::string IndicatorLetter(int panel);
// The zoom in percent typed into the zoom box: a number with or without "%", blanks around it
// allowed. Not a number gives 100; a number outside 2..6400 (1/64 to 64 times) gives nothing.
std::optional<int> ParseZoom(const std::string& text);
