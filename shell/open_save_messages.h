// The messages of document open and save: the interface language's text of a key, else the
// built-in English text.
#pragma once

#include <initializer_list>
#include <string>

// The text of `key`: the interface language's (GetLangMessage), else the built-in English
// one, else "OpenSave: undefined message " followed by the key.
std::string OpenSaveMessage(const std::string& key);

// `text` with each "%s" replaced by the next of `args` (a "%s" without an argument stays).
std::string FormatMessageText(const std::string& text, std::initializer_list<std::string> args);
