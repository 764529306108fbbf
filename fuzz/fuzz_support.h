// What the reader entries share: the input as text, its parts, and a private scratch folder for
// the readers that take a file name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline std::string_view FuzzText(const std::uint8_t* Data, std::size_t Size) {
  return {reinterpret_cast<const char*>(Data), Size};
}
// The input cut at each "\n===\n" into at most `Count` parts (missing parts are empty), so that
// one input can hold several files of a reader.
std::vector<std::string> FuzzParts(std::string_view Input, std::size_t Count);
// A file name in a scratch folder of this process (created on first use, removed at exit).
std::string FuzzFile(const std::string& Name);
// Writes `Bytes` as the scratch file `Name`; returns its full name.
std::string WriteFuzzFile(const std::string& Name, std::string_view Bytes);
// Removes every file of the scratch folder.
void ClearFuzzFiles();
// Makes sure the GUI application exists (offscreen where no platform is named).
void EnsureFuzzGui();
