#include "tools/symbol_list.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace {

constexpr const char* kShortcutMark = "///";
constexpr const char* kScrollLock = "Scroll Lock";

// Punctuation keys, which the menu shortcut text does not name.
struct TKeyName {
  uint16_t Key;
  const char* Name;
};
constexpr TKeyName kPunctuation[] = {{0xBA, ";"}, {0xBB, "="}, {0xBC, ","},  {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"},
                                     {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}};

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The name of a key without modifiers; empty for a key without one.
std::string KeyName(uint16_t key) {
  if (key == VK_SCROLL) return kScrollLock;
  for (const TKeyName& k : kPunctuation)
    if (k.Key == key) return k.Name;
  return ShortCutToText(key);
}

}  // namespace

std::vector<std::string> DefaultSymbolLines() {
  return {"169=Arial///Ctrl+Alt+C", "174=Arial///Ctrl+Alt+R", "8482=Arial///Ctrl+Alt+T", "167=Arial///Ctrl+Alt+P",
          "178=Arial///Ctrl+Alt+2", "179=Arial///Ctrl+Alt+3", "176=Arial///Ctrl+Alt+G", "8230=Arial///Ctrl+Alt+."};
}

std::vector<std::string> LoadSymbolLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return DefaultSymbolLines();
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::optional<TSymbolEntry> ParseSymbolLine(const std::string& line) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return std::nullopt;
  unsigned code = 0;
  const auto [end, ec] = std::from_chars(line.data(), line.data() + eq, code);
  if (ec != std::errc() || end != line.data() + eq || code == 0 || code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF))
    return std::nullopt;
  TSymbolEntry entry;
  entry.Code = char16_t(code);
  const std::string rest = line.substr(eq + 1);
  const size_t mark = rest.find(kShortcutMark);
  entry.Font = rest.substr(0, mark);
  if (mark != std::string::npos) entry.Shortcut = rest.substr(mark + 3);
  return entry;
}

std::string WithShortcut(const std::string& line, const std::string& shortcut) {
  std::string out = line.substr(0, line.find(kShortcutMark));
  if (!shortcut.empty()) out += kShortcutMark + shortcut;
  return out;
}

std::string SymbolShortcutText(uint16_t key, TShiftState shift) {
  if (!(shift & (ssCtrl | ssAlt))) return {};
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_ESCAPE || (key >= VK_LEFT && key <= VK_DOWN))
    return {};
  const std::string name = KeyName(key);
  if (name.empty()) return {};
  if (key == VK_SCROLL) {
    std::string text = name;
    if (shift & ssCtrl) text = "Ctrl+" + text;
    if (shift & ssAlt) text = "Alt+" + text;
    if (shift & ssShift) text = "Shift+" + text;
    return text;
  }
  std::string text;
  if (shift & ssShift) text += "Shift+";
  if (shift & ssCtrl) text += "Ctrl+";
  if (shift & ssAlt) text += "Alt+";
  return text + name;
}

bool ShortcutMatches(const std::string& text, uint16_t key, TShiftState shift) {
  TShiftState mods = 0;
  std::string_view rest = text;
  for (bool taken = true; taken;) {
    taken = false;
    for (const auto& [prefix, bit] : {std::pair{"Shift+", ssShift}, {"Ctrl+", ssCtrl}, {"Alt+", ssAlt}}) {
      const std::string_view p = prefix;
      if (rest.size() > p.size() && SameText(rest.substr(0, p.size()), p)) {
        mods |= bit;
        rest.remove_prefix(p.size());
        taken = true;
      }
    }
  }
  const std::string name = KeyName(key);
  return !name.empty() && SameText(rest, name) && mods == (shift & (ssShift | ssCtrl | ssAlt));
}

int FindSymbolHotKey(const std::vector<std::string>& lines, uint16_t key, TShiftState shift) {
  if (!(shift & (ssCtrl | ssAlt))) return -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto entry = ParseSymbolLine(lines[i]);
    if (entry && !entry->Shortcut.empty() && ShortcutMatches(entry->Shortcut, key, shift)) return int(i);
  }
  return -1;
}

int SymbolGridColumns(int width) { return std::max(1, width / 25 - 1); }

int SymbolGridRows(int columns, int lines) {
  columns = std::max(1, columns);
  return std::max(256 / columns, (lines + columns - 1) / columns);
}
