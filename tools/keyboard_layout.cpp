#include "tools/keyboard_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/locale.h"
#include "textcore/keyboard_layouts.h"

namespace {

const char* const kRows[4][2] = {{"`1234567890-=", "~!@#$%^&*()_+"},
                                 {"qwertyuiop[]\\", "QWERTYUIOP{}|"},
                                 {"asdfghjkl;'", "ASDFGHJKL:\""},
                                 {"zxcvbnm,./", "ZXCVBNM<>?"}};

int Round(double v) { return int(std::lround(v)); }

TKbKey Key(TKbKeyKind kind, const std::string& caption, double left, int top, double width, int height) {
  return {kind, caption, caption, Round(left), top, Round(width), height};
}

void AlphaNumeric(std::vector<TKbKey>& keys, bool function, int width, int height, int x0, int y0) {
  const int w = int(width / 14.5);
  const int h = int(height / (function ? 6.2 : 5.0));
  const int f = function ? Round(h * 1.2) : 0;
  if (function) {
    keys.push_back(Key(kkEscape, "Esc", x0, y0, w, h));
    for (int i = 2; i <= 13; ++i)
      keys.push_back(Key(kkFunction, "F" + std::to_string(i - 1), x0 + (i - 1) * w + w / 2.0, y0, w, h));
  }
  const int top = y0 + f;
  const double offsets[4] = {0, 1.5, 2, 2.5};
  for (int row = 0; row < 4; ++row) {
    const std::string normal = kRows[row][0], shifted = kRows[row][1];
    for (size_t i = 0; i < normal.size(); ++i)
      keys.push_back({kkChar, std::string(1, normal[i]), std::string(1, shifted[i]),
                      Round(x0 + (offsets[row] + double(i)) * w), top + row * h, w, h});
  }
  keys.push_back(Key(kkBackspace, "BkSp", x0 + 13.0 * w, top, 1.5 * w, h));
  keys.push_back(Key(kkTab, "Tab", x0, top + h, 1.5 * w, h));
  keys.push_back(Key(kkCaps, "Caps", x0, top + 2 * h, 2.0 * w, h));
  keys.push_back(Key(kkEnter, "Enter", x0 + 13.0 * w, top + 2 * h, 1.5 * w, h));
  keys.push_back(Key(kkLeftShift, "Shift", x0, top + 3 * h, 2.5 * w, h));
  keys.push_back(Key(kkRightShift, "Shift", x0 + 12.5 * w, top + 3 * h, 2.0 * w, h));
  keys.push_back(Key(kkSpace, " ", x0 + 3.0 * w, top + 4 * h, 8.5 * w, h));
}

void Calculator(std::vector<TKbKey>& keys, int width, int height, int x0, int y0) {
  const int w = width / 4, h = height / 5;
  const auto at = [&](const char* caption, int col, int row) { keys.push_back(Key(kkChar, caption, x0 + col * w, y0 + row * h, w, h)); };
  at("/", 0, 0);
  at("*", 1, 0);
  const char* digits[3][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) at(digits[row][col], col, row + 1);
  at("-", 3, 3);
  at("0", 0, 4);
  at(".", 1, 4);
  keys.push_back(Key(kkBackspace, "BkSp", x0 + 2 * w, y0, 2 * w, h));
  keys.push_back(Key(kkChar, "+", x0 + 3 * w, y0 + h, w, 2 * h));
  keys.push_back(Key(kkEnter, "Enter", x0 + 2 * w, y0 + 4 * h, 2 * w, h));
}

void Numeric(std::vector<TKbKey>& keys, int width, int height, int x0, int y0) {
  const int w = width / 3, h = height / 4;
  const char* digits[3][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) keys.push_back(Key(kkChar, digits[row][col], x0 + col * w, y0 + row * h, w, h));
  keys.push_back(Key(kkChar, "0", x0, y0 + 3 * h, w, h));
  keys.push_back(Key(kkBackspace, "BkSp", x0 + 2 * w, y0 + 3 * h, w, h));
}

}  // namespace

std::vector<TKbKey> KeyboardKeys(TKbMode mode, int width, int height, int x0, int y0) {
  std::vector<TKbKey> keys;
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (mode == kbmCalculator) Calculator(keys, width, height, x0, y0);
  else if (mode == kbmNumeric) Numeric(keys, width, height, x0, y0);
  else AlphaNumeric(keys, mode == kbmAlphaNumericFunction, width, height, x0, y0);
  return keys;
}

char TypedChar(const std::string& caption, bool shift, bool caps, TKbCharCase charCase) {
  if (caption.empty()) return 0;
  const bool upper = charCase == ecUpperCase || (charCase == ecNormal && shift != caps);
  const std::string cased = upper ? AnsiUpperCase(caption.substr(0, 1)) : AnsiLowerCase(caption.substr(0, 1));
  return cased.empty() ? caption[0] : cased[0];
}

std::string MapKeyCaption(const std::string& caption, const std::string& layout) {
  if (caption.size() != 1) return caption;
  if (layout == "EMU" || layout == "RUS") return std::string(1, LatinKeyToCyrillic(caption[0]));
  if (layout == "FON") return std::string(1, PhoneticKeyChar(caption[0]));
  return caption;
}
