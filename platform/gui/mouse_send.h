// The left mouse button used at a point of the screen as the user uses it: the event goes to
// the window under the point (tool windows above their form) and the control under it there;
// while the button is held, every event goes to the control it was pressed on.
#pragma once

#include "platform/gui/gui_types.h"

// DoubleClick is the second press of a double click (a release follows it as after a press).
enum class TMouseAction { Press, DoubleClick, Move, Release };

// Sends `action` of the left button at screen point `p` with the keys of `shift` held.
void SendMouseAt(TMouseAction action, TPoint p, TShiftState shift = 0);
