// The hot keys of the global actions as the preferences keep them: one row per action 0 to 14
// with its key text and whether it is enabled, stored in section "Global" of the product key
// ("KeyName" + row, "KeyEnabled" + row), and the key each row registers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/gui_types.h"

class TLanguage;

// Global actions 0 to 14, each with its row in the key list.
inline constexpr int kGlobalActionCount = 15;
inline constexpr int kHotKeyRowCount = kGlobalActionCount;

// The English name and the default key text of a global action.
std::string DefaultActionName(int index);
std::string DefaultHotKeyText(int index);
// The action's name in the interface language ("GlobalAction" + index), else the English one.
std::string GlobalActionName(int index, TLanguage* language);

struct THotKeyRow {
  std::string KeyText;
  bool Enabled = true;
  friend bool operator==(const THotKeyRow&, const THotKeyRow&) = default;
};

// The rows as stored (missing values give the default key and enabled).
std::vector<THotKeyRow> LoadHotKeyRows();
void SaveHotKeyRows(const std::vector<THotKeyRow>& rows);

// Modifier bits of a system-wide hot key.
inline constexpr unsigned hkShift = 1, hkCtrl = 2, hkAlt = 4, hkWin = 8;

// A system-wide hot key: a virtual key (0: none) and modifier bits.
struct THotKey {
  uint16_t Key = 0;
  unsigned Modifiers = 0;
  friend bool operator==(const THotKey&, const THotKey&) = default;
};

// The hot key a row registers: none for a disabled row; a text naming "Scroll Lock" gives
// VK_SCROLL with the modifiers written before it; other texts are read as shortcut texts
// (key 0 when they name no key).
THotKey RowHotKey(const THotKeyRow& row);

// The key text of a key pressed in the key list: "" for keys that are ignored (Shift, Ctrl and
// Alt alone, Esc, arrows, keys outside the hot-key table); Scroll Lock gives "Scroll Lock" preceded
// by "Shift+", "Alt+", "Ctrl+" as held (Ctrl and Alt give "Alt+Ctrl+Scroll Lock").
std::string CapturedKeyText(uint16_t key, TShiftState shift);
// Shift, Ctrl, Alt or a Windows key pressed on its own.
bool IsModifierKey(uint16_t key);
