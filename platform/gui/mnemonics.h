// Private to platform/gui: Alt+key mnemonics matched by the key as well as by the character,
// so that the mnemonics of one keyboard layout work while the other is active.
#pragma once

class QKeyEvent;
class QWidget;

// The letter on the same key of the other layout (QWERTY and the Russian layout), upper case;
// 0 for a character on no such key.
char16_t LayoutTwin(char16_t c);
// Runs the mnemonic of `window` that the key of `event` names: a visible, enabled button is
// clicked, a label's buddy gets the focus, a menu-bar item opens its menu. False when none.
bool TriggerMnemonic(QWidget* window, const QKeyEvent& event);
