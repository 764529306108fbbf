// "Open with this program" on the desktop: the program's .desktop entry under
// $XDG_DATA_HOME/applications and its default-application lines in $XDG_CONFIG_HOME/mimeapps.list.
#pragma once

#include <string>

// The desktop entry's file name ("quillomark.desktop").
extern const char* const kDesktopEntryName;

// Writes the program's desktop entry, whose command passes each document as one argument
// ("%f"), listing `mimeTypes` (";"-separated); answers the file's path.
std::string WriteDesktopEntry(const std::string& program, const std::string& mimeTypes);
// Makes `desktopId` the default application of `mimeType`; answers the previous one ("" none).
std::string SetDefaultApplication(const std::string& mimeType, const std::string& desktopId);
// Puts back a value SetDefaultApplication answered ("" removes the line).
void RestoreDefaultApplication(const std::string& mimeType, const std::string& previous);
// The default application of `mimeType` in the user's mimeapps.list, "" when none.
std::string DefaultApplication(const std::string& mimeType);
// The MIME type of files ending in `ext` (".txt" or "txt", any case) by the shared MIME
// database's globs ($XDG_DATA_HOME, then $XDG_DATA_DIRS), the heaviest match; "" when none.
std::string MimeTypeOfExtension(const std::string& ext);
