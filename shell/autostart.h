// Starting the program with the user's desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/quillomark.desktop (XDG_CONFIG_HOME defaulting to ~/.config).
#pragma once

#include <string>

// The full name of the program's autostart entry.
std::string AutostartEntryFile();

// Writes the entry so that the session starts `programPath`, or removes it. Raises
// EFCreateError or EWriteError when the entry cannot be written.
void SetStartWithSession(bool enabled, const std::string& programPath);
