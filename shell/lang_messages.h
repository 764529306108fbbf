// Message texts of the interface language: every window asks here for its messages.
#pragma once

#include <string>

class TLanguage;

// The text of `key` in section "Messages" of the current interface language file: "" when
// the file lacks the key (or no language is set), "???" for an empty key.
std::string GetLangMessage(const std::string& key);

// The language component that answers GetLangMessage (the preferences window's); nullptr
// detaches it.
void SetLangMessageSource(TLanguage* language);
TLanguage* LangMessageSource();
