// A key sent to a control as though the user pressed it there (a key handed on from another
// control goes through the receiver's own key handling and default action).
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/gui_types.h"

class TWinControl;

// Presses and releases virtual key `key` with `shift` in `control`; keys that type a character
// carry none (they arrive as a key only).
void SendKeyTo(TWinControl* control, uint16_t key, TShiftState shift);
// Types `text` into `control` as the keyboard does: for each character a press and a release of
// its key, the press carrying the character ("\r" is Enter, "\t" Tab, capitals come with Shift).
void TypeTextTo(TWinControl* control, const std::u16string& text);
