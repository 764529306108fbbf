// Case change of code page 1251 text that is right whatever the system code page is.
#pragma once

#include <string>
#include <string_view>

// The system lower case of `s`, with Я, Ч, Ь and Ё (which a Western code page does not map as
// Cyrillic) lowered as 1251 letters.
std::string CyrLowerCase(std::string_view s);
// The system upper case of `s`, with я, ч, ь and ё raised as 1251 letters.
std::string CyrUpperCase(std::string_view s);
