// The context conditions of a replace-list rule: "+token" must and "-token" must not be found
// near the match ("$" stands for the found text, class markers for one character of a class).
#pragma once

#include <string>
#include <string_view>

// Whether the match of `matchLength` units at `matchStart` of `text` passes `conditions`
// (code page 1251 with escapes). The comparison ignores case unless `matchCase`.
bool ConditionsAllow(std::u16string_view text, int matchStart, int matchLength, std::string_view conditions,
                     bool matchCase);
