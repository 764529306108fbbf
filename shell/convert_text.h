// The text changes of the Convert and case menus that need no window: HTML tag removal, case
// changes and transliteration, on UTF-16 text so that characters code page 1251 lacks survive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/operation.h"

// Removes tags: "<" marks a tag start, ">" deletes from the last tag start through itself (a
// later ">" without a new "<" deletes back to the same place); a ">" before any "<" stays.
// Then "&lt;", "&gt;", "&nbsp;" and "&quot;" become their characters. False, with `text`
// unchanged, when `step` asked to stop.
bool RemoveHtmlTags(std::u16string& text, const TStepEvent& step);

// Case modes of the case menu: 1 sentence, 2 upper, 3 lower, 4 title, 5 toggle.
// `text` (code page 1251 bytes) in the case of `mode`; word characters are the Latin and 1251
// Cyrillic letters, the digits, "+" and "-".
// `step` hears the progress now and then; when it asks to stop, EAbort is raised.
std::string ChangeCase(std::string_view text, int mode, const TStepEvent& step = nullptr);
// The same for UTF-16 text: letters outside code page 1251 change case too, other characters
// the code page lacks stay as they are.
std::u16string ChangeCaseW(std::u16string_view text, int mode, const TStepEvent& step = nullptr);

// Cyrillic-to-Latin transliteration of UTF-16 text; characters code page 1251 lacks stay.
std::u16string TransliterateW(std::u16string_view text);

// Drops blank lines and comment lines (beginning with "#") of a rule file's lines.
std::vector<std::string> RuleFileLines(const std::string& fileName);
