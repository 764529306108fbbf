// Small routines on code page 1251 words and texts that every subsystem calls.
#pragma once

#include <string>
#include <string_view>

#include "textcore/string_routines.h"

// `word` with the capitalisation of `templ`: small letters, all capitals when `templ` is all
// capitals with a capital first, or a capital first letter when only `templ`'s first is one.
std::string MatchCase(std::string_view templ, std::string_view word);

// True for a word of digits and "%+,-." only (an empty word too), or of at least two of the
// Roman-numeral capitals "CILMVX" only.
bool IsNumberLike(std::string_view word);

// The next token of `s` from the 1-based `position` (0 counts as 1) up to a byte in `delims`.
// After a delimiter, `position` is just past it and `field` is the token, or "empty" for an empty
// token; at the end of the text `position` becomes length + 2 and `field` the token; past the end
// `position` grows by one and `field` is empty. Callers loop until `field` is empty.
std::string ExtractToken(std::string_view s, const TCharSet& delims, int& position, std::string& field);

// `n` blanks; empty for n of 0 or less.
std::string Spaces(int n);

// A time span given in days as "%d h %d m %d s", "%d min %d sec" or "%d sec" (whole seconds;
// hours go on counting past a day).
std::string FormatElapsedTime(double span);
