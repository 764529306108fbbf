// The program's run from start to end: module set-up, the rich edit check, the hand-off to a
// running copy, the windows in their fixed order, the message loop and the shut-down.
// main() is a single call of RunProgram.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The product's registry key under HKEY_CURRENT_USER.
inline constexpr const char* kProductKey = "Software\\Vortanel\\Quillomark";

// Runs the program with main()'s arguments; answers the process's exit code.
int RunProgram(int argc, char** argv);

// The command-line parameters after the program name, in the system code page.
const std::vector<std::string>& ProgramParams();

// The message of the rich edit check for a library version (0: none, 1, 2, 3: current,
// -1: unknown); empty when nothing needs saying.
std::string RichEditVersionMessage(int version);

// Second start: when a running copy's "TVirtualKbd" window exists and "NewWindow" is off,
// writes the file to open (the first parameter as a full path; "" without one) to "OpenNow",
// hands over and answers true: this process ends. With
// "NewWindow" on it switches it off and answers false, as it does without a running copy.
bool HandOffToRunningCopy(const std::vector<std::string>& params);

// Why no window can be shown here (no display to connect to), or nothing when one can.
std::optional<std::string> DisplayProblem();

// Starts a program without waiting for it; it never becomes a child (or a zombie) of this
// process. False when it could not be started.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& args, bool searchPath);

// Starts the program's own executable again (the new-window command).
void StartProgramCopy();
