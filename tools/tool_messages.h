// Messages of the tool windows in the interface language: the program names the source (its
// language files) at start; without one the English text given is used.
#pragma once

#include <string>

using TToolMessageSource = std::string (*)(const std::string& key);

void SetToolMessageSource(TToolMessageSource source);
// The text of `key` from the source, or `english` when the source has none.
std::string ToolMessage(const std::string& key, const std::string& english);
