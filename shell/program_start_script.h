// Tests drive the real program through a script of actions: $QUILLOMARK_TEST_SCRIPT names a
// file that runs once the message loop has started; the answers it starts with are queued
// before the start-up, for its questions. One action a line ('#' starts a comment):
//   click NAME       clicks the main window's component NAME (menu item, control or action) as
//                    a user does; fails when no user could (hidden, disabled, closed-off menu);
//                    "FORM.NAME" clicks a control of another window up now, as in-window does
//   type-in FORM.NAME TEXT  types TEXT into a control of another window up now
//   key KEY          presses KEY ("Ctrl+Alt+C") in the main window's focused control
//   wait-text TEXT   waits (handling messages, at most 30 s) until the editor text holds TEXT
//   wait-file FILE   waits (handling messages, at most 3 min) until FILE exists
//   save-text FILE   writes the editor text to FILE as UTF-8
//   answer KIND N    queues the answer N (modal result or ID) for the next question of KIND
//                    (messagedlg, messagebox, form: a dialog window of the program's own, left
//                    unshown; "answer form N STEP..." shows it, takes the STEPs in it and
//                    closes it with N: a STEP is a key pressed in its focused control,
//                    "type:TEXT" typed there, "click:NAME", its control NAME clicked, or
//                    "place:FILE", its place on the
//                    screen written to FILE as "LEFT TOP WIDTH HEIGHT"); questions go to a scripted
//                    dialog service, and
//                    one nobody answered fails the script instead of waiting (so does
//                    any window left waiting in its modal loop for 3 s: the failure names
//                    the window and its texts, closes it and ends the program); "answer print|
//                    pagesetup N WIDTH HEIGHT [PDF]" confirms with that paper (hundredths of
//                    millimetres; 0 0 keeps the paper offered), printing into the PDF file when named
//   asked TEXT       fails unless a question asked so far (also at start-up) holds TEXT (a
//                    window of the program's own is asked by its title)
//   in-window FORM N STEP...  the next time the window named FORM is up modally (shown by the
//                    program itself), the STEPs (as for answer form) are taken in it and it
//                    closes with N; such plans are used in the order given
//   record-opens FILE  hands nothing to the desktop from now on: each file or address the
//                    program would open with the desktop's program is appended to FILE instead
//   save-shown FILE  writes the texts of the windows up now to FILE as check-texts does
//   walk-menus REPORT [NAME...]  opens every main-menu entry and clicks every enabled item once
//                    (but the NAMEd ones, menus of the bar too), answering questions with Cancel/No/OK and closing
//                    windows left up; writes what it did to REPORT, fails on an error box
//   check-texts REPORT [NAME...]  walks as walk-menus does, then shows every other window a
//                    moment; writes each text the windows showed (title, captions, items,
//                    questions) to REPORT: "PATH<TAB>KIND<TAB>clipped|fits NEED/ROOM<TAB>TEXT"
//   walked-enabled [NAME...]  fails for a command the walks so far found disabled in every
//                    state they visited, but the NAMEd ones
//   open FILE        opens FILE as File > Open does (what goes wrong is asked, as there)
//   type TEXT        types TEXT into the editor, one key at a time, each handled before the next
//   idle MS          handles messages for MS milliseconds
//   stamp FILE LABEL appends "LABEL wall-ms cpu-ms peak-kB resident-kB" to FILE (benchmarks)
//   mouse ACTION NAME X Y [ctrl]  presses, moves or releases (ACTION press, move, release; double
//                    is the second press of a double click) the
//                    left button at X Y of the main window's control NAME, which the events reach
//                    as the user's do; "w-2" and "h-3" count from its width and height
//   save-places FILE NAME...  writes "NAME PARENT LEFT TOP WIDTH HEIGHT" (screen) of each control
//                    (a shown window of the program by its name: PARENT is "-")
//   save-states FILE NAME...  writes "NAME<TAB>usable|unusable<TAB>checked|unchecked|-<TAB>WHY"
//                    of each component of the main window: whether a user could use it now
//                    (the menus above an item opened first) and a menu item's check mark
//   screenshot FILE  saves a picture of the main window as PNG
//   close            closes the main window
// A failing action is reported on stderr and ends the program with exit code 3.
#pragma once

// Reads the script named by the variable (and removes the variable, so that a copy the program
// starts runs none) and queues its leading answers.
void PrepareTestScript();
// Schedules the rest of the prepared script; false when there is none.
bool ScheduleTestScript();
// 0 while every action succeeded, 3 after a failure.
int TestScriptExitCode();
