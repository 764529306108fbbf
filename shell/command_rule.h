// The one rule for the main window's commands: what a command needs of the window before a
// user can start it. The window's enabled states and its command gate both ask it.
#pragma once

#include <string>
#include <vector>

enum class TCommandNeed {
  Always,  // runs whatever the window does (the Stop button, the tray's Open)
  Idle,    // no operation runs: every command not listed otherwise
  Text,    // no operation runs and the document holds text
};

struct TCommandState {
  bool Busy = false;     // an operation works on the text
  bool HasText = false;  // the editor is not empty
};

bool CommandAllowed(TCommandNeed need, const TCommandState& state);
// The need of the main window's command component `name` (menu item, button, action, combo).
TCommandNeed CommandNeed(const std::string& name);
// The components whose enabled state follows the document (need Text).
const std::vector<std::string>& TextCommandNames();
