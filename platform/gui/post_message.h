// A message sent to a control once the current message is handled (PostMessage): what a key
// handler leaves for after the system's own handling of the key.
#pragma once

#include <cstdint>

class TWinControl;

// Sends the message through the control's WindowProc on the next turn of the message loop;
// nothing when the control is gone by then.
void PostMessage(TWinControl* control, unsigned msg, uintptr_t wParam = 0, intptr_t lParam = 0);
