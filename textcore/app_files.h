// Files of the program folder and small file helpers. File names are system-code-page strings
// with '/' between folders.
#pragma once

#include <cstdint>
#include <string>

class TStrings;

// The full name of a file in the program folder: ProgramFolder() followed by `FileName`, a
// relative name keeping its sub-folder; of a full path (with ":\" or starting with '/') only the
// file-name part is kept.
std::string AppDirFile(const std::string& FileName);

// The file name without its folder and without everything from its first ".".
std::string ExtractFileBaseName(const std::string& Path);

// True when the first 1024 bytes look like text: no control byte below 8 or from 14 to 31, and
// no run of more than 50 characters without a line break or blank. False when the file cannot
// be read; an empty file is text.
bool IsTextFile(const std::string& Path);

// Adds to `List` every file (not hidden, not a folder) matching `Mask` (a folder part and a
// file mask), as the folder part followed by the name, and returns their total size in bytes.
// With `Recurse`, the sub-folders whose names start with neither "." nor "_" are scanned with the
// same file mask; symbolic links to folders are not followed.
std::int64_t ScanFiles(const std::string& Mask, TStrings& List, bool Recurse);
