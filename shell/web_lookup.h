// Looking a word up on the web: an address template whose "#" stands for the word, opened
// in the user's browser through the desktop.
#pragma once

#include <string>

// The template with every "#" replaced by `word` (code-page text) percent-encoded as UTF-8;
// raises Exception when the template is not an http or https address.
std::string LookupAddress(const std::string& urlTemplate, const std::string& word);
// The same for a UTF-16 word: characters of every script reach the address.
std::string LookupAddress(const std::string& urlTemplate, const std::u16string& word);
// Opens LookupAddress(urlTemplate, word) with the desktop; false when the desktop refused it.
bool WebLookup(const std::string& urlTemplate, const std::string& word);
bool WebLookup(const std::string& urlTemplate, const std::u16string& word);
