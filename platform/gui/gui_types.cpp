#include "platform/gui/gui_types.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>

#include "platform/exceptions.h"
#include "platform/gui/component.h"

namespace {

const std::pair<TColor, const char*> kColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"}};

struct KeyName {
  uint16_t key;
  const char* name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "Page Up"}, {VK_NEXT, "Page Down"}, {VK_END, "End"},
    {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},
    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}, {VK_PAUSE, "Pause"},
    // The punctuation keys of a US keyboard, by their unshifted character.
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}};

std::string KeyText(uint16_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= VK_F1 && key < VK_F1 + 24) {
    std::string name = "F";
    return name += std::to_string(key - VK_F1 + 1);
  }
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

}  // namespace

TColor StringToColor(const std::string& text) {
  for (const auto& [color, name] : kColorNames)
    if (SameName(text, name)) return color;
  try {
    size_t used = 0;
    bool hex = text.size() > 1 && text[0] == '$';
    std::string digits = hex ? text.substr(1) : text;
    long long v = std::stoll(digits, &used, hex ? 16 : 10);
    // A colour is red, green and blue in three bytes, a system colour, or "none"/"default";
    // anything else (a stored -1, say) is no colour.
    // (System colours may be written as the negative numbers they are as signed values.)
    const uint32_t bits = uint32_t(v);
    const bool fits = v >= INT32_MIN && v <= int64_t(UINT32_MAX);
    const bool rgb = bits <= 0xFFFFFF, system = bits >= 0x80000000u && bits <= 0x800000FFu;
    if (used == digits.size() && fits && (rgb || system || bits == uint32_t(clNone) || bits == uint32_t(clDefault)))
      return TColor(bits);
  } catch (const std::logic_error&) {
  }
  throw EConvertError("'" + text + "' is not a valid colour");
}

std::string ColorToString(TColor color) {
  for (const auto& [c, name] : kColorNames)
    if (c == color) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", unsigned(color));
  return buf;
}

std::string ShortCutToText(TShortCut shortCut) {
  std::string key = KeyText(uint16_t(shortCut & 0x0FFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
  TShortCut mods = 0;
  std::string_view rest = text;
  for (;;) {
    auto take = [&](std::string_view prefix, TShortCut bit) {
      if (rest.size() > prefix.size() && SameName(rest.substr(0, prefix.size()), prefix)) {
        mods |= bit;
        rest.remove_prefix(prefix.size());
        return true;
      }
      return false;
    };
    if (!take("Shift+", scShift) && !take("Ctrl+", scCtrl) && !take("Alt+", scAlt)) break;
  }
  // Every key that has a text, by that text; the lowest key of a text wins.
  static const TNameMap<std::string, uint16_t> keysByText = [] {
    TNameMap<std::string, uint16_t> keys;
    for (uint16_t key = 1; key < 0x100; ++key)
      if (std::string name = KeyText(key); !name.empty()) keys.emplace(std::move(name), key);
    return keys;
  }();
  auto it = keysByText.find(rest);
  return it == keysByText.end() ? 0 : TShortCut(mods | it->second);
}
