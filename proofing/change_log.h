// The change log of the correction engine: one entry per logged word of a pass, and the log
// file in which the passes are appended.
#pragma once

#include <string>
#include <vector>

// An entry: the kind digit, "***", the position as ten digits, ": ", the mark ("+" or "-") and
// the word, or the original, "=" and the replacement when they differ.
std::string MakeLogEntry(int Kind, int Position, bool Plus, const std::string& Original,
                         const std::string& Replacement);
// The log line of an entry: the position with at least five digits (larger positions whole),
// ": " and the rest, cut to 1000 characters.
std::string LogLineOf(const std::string& Entry);
// Appends a pass to the log file (code page 1251, CR LF): an empty line, 56 dashes, ": " and
// `DateTime`, an empty line, then the sorted entries grouped under "[Changed words]" ...
// "[Multiple variants]".
void AppendLog(const std::string& Path, const std::vector<std::string>& Entries, const std::string& DateTime);
// The text before "=" on the first line of the log whose text after "=" is `Text`, without the
// position and the mark; empty when none.
std::string FindInLog(const std::string& Path, const std::string& Text);
