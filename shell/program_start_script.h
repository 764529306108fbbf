// Tests drive the real program through a script of actions: $QUILLOMARK_TEST_SCRIPT names a
// file that runs once the message loop has started. One action a line ('#' starts a comment):
//   click NAME       clicks the main window's component NAME (menu item, control or action)
//   wait-text TEXT   waits (handling messages, at most 30 s) until the editor text holds TEXT
//   save-text FILE   writes the editor text to FILE as UTF-8
//   answer KIND N    queues the answer N (modal result or ID) for the next question of KIND
//                    (messagedlg, messagebox); questions go to a scripted dialog service, and
//                    one nobody answered fails the script instead of waiting
//   close            closes the main window
// A failing action is reported on stderr and ends the program with exit code 3.
#pragma once

// Schedules the script when the variable is set (and removes the variable, so that a copy
// the program starts runs none); false when it is not set.
bool ScheduleTestScript();
// 0 while every action succeeded, 3 after a failure.
int TestScriptExitCode();
