// The on-screen keyboard's keys: the layouts of its four modes, their places in the panel, the
// case of a typed letter and the keyboard-layout mapping of the captions.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/std_controls.h"

enum TKbMode { kbmAlphaNumeric, kbmAlphaNumericFunction, kbmCalculator, kbmNumeric };
// Letter case of typed keys: ecNormal, ecUpperCase, ecLowerCase (the edit controls' TEditCharCase).
using TKbCharCase = TEditCharCase;
enum TKbKeyKind { kkChar, kkFunction, kkEscape, kkTab, kkCaps, kkLeftShift, kkRightShift, kkEnter, kkBackspace, kkSpace };

struct TKbKey {
  TKbKeyKind Kind = kkChar;
  std::string Normal, Shifted;  // captions (the same for keys without a shifted one)
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

// The keys of a mode placed in an inner area of `width` x `height` from (x0, y0).
std::vector<TKbKey> KeyboardKeys(TKbMode mode, int width, int height, int x0 = 0, int y0 = 0);
// Whether the shifted captions show: exactly one of Shift and Caps Lock is on.
inline bool ShowsShifted(bool shift, bool caps) { return shift != caps; }
// The character a key with caption `caption` types (its first character, cased per the mode).
char TypedChar(const std::string& caption, bool shift, bool caps, TKbCharCase charCase);
// A one-character caption mapped through the main window's layout indicator: "EMU" and "RUS"
// the Russian key at that place, "FON" the phonetic one; other texts unchanged.
std::string MapKeyCaption(const std::string& caption, const std::string& layout);
