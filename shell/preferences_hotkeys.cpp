#include "shell/preferences_hotkeys.h"

#include "shell/language.h"
#include "shell/preferences_key.h"
#include "shell/sys_hot_key.h"
#include "textcore/win_registry.h"

namespace {

struct TGlobalAction {
  const char* Name;
  const char* Key;
};

// The default keys are free on X servers and the common desktops: Ctrl+Alt with a function key
// switches virtual terminals, and Ctrl+Alt with D or K (show desktop, next keyboard layout) and
// with the arrows (workspaces) belong to desktops.
const TGlobalAction kActions[kGlobalActionCount] = {
    {"Show Quick Panel", "Scroll Lock"},         {"Open in Quillomark", "Alt+Scroll Lock"},
    {"Switch keyboard layout", "Ctrl+Shift+F11"}, {"Transliterate", "Ctrl+Shift+F10"},
    {"De-transliterate", "Ctrl+Shift+F9"},       {"Text cleanup", "Ctrl+Shift+F8"},
    {"Convert to DOS", "Ctrl+Shift+D"},          {"Convert to ISO", "Ctrl+Shift+I"},
    {"Convert to KOI", "Ctrl+Shift+K"},          {"Convert to MAC", "Ctrl+Shift+M"},
    {"Decode from DOS", "Shift+Ctrl+Alt+D"},     {"Decode from ISO", "Shift+Ctrl+Alt+I"},
    {"Decode from KOI", "Shift+Ctrl+Alt+K"},     {"Decode from MAC", "Shift+Ctrl+Alt+M"},
    {"Apply Template", "Ctrl+Shift+A"},
};

const char* const kSection = "Global";
const std::string kScrollLock = "Scroll Lock";

}  // namespace

std::string DefaultActionName(int index) { return kActions[index].Name; }
std::string DefaultHotKeyText(int index) { return kActions[index].Key; }

std::string GlobalActionName(int index, TLanguage* language) {
  std::string name = language ? language->GetMessage("GlobalAction" + std::to_string(index)) : std::string();
  return name.empty() ? DefaultActionName(index) : name;
}

std::vector<THotKeyRow> LoadHotKeyRows() {
  TWinRegistry reg(kProductKey);
  std::vector<THotKeyRow> rows;
  for (int i = 0; i < kHotKeyRowCount; ++i) {
    const std::string n = std::to_string(i);
    rows.push_back({reg.ReadString(kSection, "KeyName" + n, DefaultHotKeyText(i)),
                    reg.ReadBool(kSection, "KeyEnabled" + n, true)});
  }
  return rows;
}

void SaveHotKeyRows(const std::vector<THotKeyRow>& rows) {
  TWinRegistry reg(kProductKey);
  for (int i = 0; i < kHotKeyRowCount && i < int(rows.size()); ++i) {
    const std::string n = std::to_string(i);
    reg.WriteString(kSection, "KeyName" + n, rows[size_t(i)].KeyText);
    reg.WriteBool(kSection, "KeyEnabled" + n, rows[size_t(i)].Enabled);
  }
}

THotKey RowHotKey(const THotKeyRow& row) {
  if (!row.Enabled) return {};
  std::string text = row.KeyText;
  const size_t scroll = text.find(kScrollLock);
  if (scroll != std::string::npos) text.replace(scroll, kScrollLock.size(), "F1");
  const TShortCut shortCut = TextToShortCut(text);
  THotKey hotKey;
  hotKey.Key = scroll != std::string::npos ? VK_SCROLL : uint16_t(shortCut & 0x0FFF);
  if (shortCut & scShift) hotKey.Modifiers |= hkShift;
  if (shortCut & scCtrl) hotKey.Modifiers |= hkCtrl;
  if (shortCut & scAlt) hotKey.Modifiers |= hkAlt;
  return hotKey;
}

bool IsModifierKey(uint16_t key) {
  constexpr uint16_t kRightWin = 0x5C;
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_LWIN || key == kRightWin;
}

std::string CapturedKeyText(uint16_t key, TShiftState shift) {
  switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_ESCAPE:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
      return {};
    case VK_SCROLL: {
      std::string text = kScrollLock;
      if (shift & ssCtrl) text = "Ctrl+" + text;
      if (shift & ssAlt) text = "Alt+" + text;
      if (shift & ssShift) text = "Shift+" + text;
      return text;
    }
    default:
      // Only keys of the hot-key table can be had system-wide.
      return HotKeyIndexOf(key) ? ShortCutToText(ShortCut(key, shift)) : std::string();
  }
}
