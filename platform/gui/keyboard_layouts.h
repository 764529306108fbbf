// Keyboard layouts, as the program asks for them: the language (LCID) of the current layout,
// activating the layout of a language or the next one, and the simple beep. On an X11 display
// with XKB the layouts are the server's groups; elsewhere (Wayland, no display) a program has
// no say over the desktop's layout, so the layer keeps the program's own choice among English
// and Russian: activation is recorded and reported back, and the start is the input locale's.
#pragma once

#include <cstdint>
#include <vector>

// The language of the current keyboard layout (1033 English, 1049 Russian...).
uint16_t GetKeyboardLayoutLanguage();
// Makes the layout of `language` current; false when the language is not among the layouts.
bool ActivateKeyboardLayout(uint16_t language);
// Makes the next layout of the list current (HKL_NEXT); answers its language.
uint16_t ActivateNextKeyboardLayout();
// The languages of the installed layouts, in their order.
std::vector<uint16_t> GetKeyboardLayoutList();
// True when the layouts are the X server's (XKB), false for the program's own record.
bool SystemKeyboardLayouts();
// The simple beep (MessageBeep 0xFFFFFFFF).
void MessageBeep();
