// The keys of the US, Russian and Russian phonetic keyboard layouts, and re-typing of text typed
// on the wrong one. Text is code page 1251.
#pragma once

#include <string>
#include <string_view>

// 92 characters each, indexed by key position: position N of one string and of another is the
// same physical key in the same shift state (the shifted keys first, then the unshifted ones).
extern const std::string_view UsLayoutKeys;
extern const std::string_view RussianLayoutKeys;
extern const std::string_view PhoneticLayoutKeys;

// Each character found in UsLayoutKeys becomes the Russian key at its position; otherwise one
// found in RussianLayoutKeys becomes the US key; any other stays. Signs on both layouts are taken
// as US keys (".", "," and "?" give «ю», «б» and ",").
std::string SwitchKeyboardLayout(std::string_view s);
// The same for UTF-16 text; characters code page 1251 lacks stay.
std::u16string SwitchKeyboardLayoutW(std::u16string_view s);
// The Russian key at the position of `ch` in UsLayoutKeys, or `ch` itself.
char LatinKeyToCyrillic(char ch);
// The phonetic-layout key at the position of `ch` in RussianLayoutKeys or, failing that, in
// UsLayoutKeys; `ch` itself when it is in neither.
char PhoneticKeyChar(char ch);
