// The special symbols list: lines "code=font///shortcut" (decimal UTF-16 code, font name,
// optional shortcut text), their shortcuts and their places in the window's grid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/gui_types.h"

struct TSymbolEntry {
  char16_t Code = 0;
  std::string Font;
  std::string Shortcut;  // empty: none
};

// The eight lines used when "symbols.dat" is missing ("Load Defaults").
std::vector<std::string> DefaultSymbolLines();
// The lines of `path`, or the defaults when the file does not exist.
std::vector<std::string> LoadSymbolLines(const std::string& path);
// A line read; nullopt when its code does not read as a character (0, a surrogate, not a number).
std::optional<TSymbolEntry> ParseSymbolLine(const std::string& line);
// `line` with its shortcut replaced by `shortcut` (removed when empty).
std::string WithShortcut(const std::string& line, const std::string& shortcut);

// The text of a key with its shift state ("Ctrl+Alt+C", "Shift+Alt+Ctrl+Scroll Lock"); empty
// when the key cannot be a symbol's shortcut: it needs Ctrl or Alt, and modifiers, Esc and
// arrows alone are no shortcut.
std::string SymbolShortcutText(uint16_t key, TShiftState shift);
// Whether `text` (modifiers in any order, any case) names this key and shift state.
bool ShortcutMatches(const std::string& text, uint16_t key, TShiftState shift);
// The first readable line whose shortcut matches the key, or -1.
int FindSymbolHotKey(const std::vector<std::string>& lines, uint16_t key, TShiftState shift);

// Grid columns for a window `width` pixels wide (width div 25 - 1, at least 1).
int SymbolGridColumns(int width);
// Grid rows: 256 div columns, more when the list has more lines than that shows.
int SymbolGridRows(int columns, int lines);
