// Opening a web address, mail link or document with the desktop's own program (the "open" verb).
#pragma once

#include <functional>
#include <string>

// Opens `target` (a URL or a file name in the system code page); false when nothing could open it.
bool ShellOpen(const std::string& target);
// Replaces the desktop for tests: every ShellOpen goes to `handler` while it is set (empty: the desktop).
void SetShellOpenHandler(std::function<bool(const std::string&)> handler);
