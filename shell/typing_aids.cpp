#include "shell/typing_aids.h"

#include <cstring>

#include "textcore/keyboard_layouts.h"

std::string InputModeText(TInputMode mode, uint16_t layoutLanguage) {
  if (mode == TInputMode::Emulated) return "EMU";
  if (mode == TInputMode::Phonetic) return "FON";
  if (layoutLanguage == 1033) return "ENG";
  if (layoutLanguage == 1049) return "RUS";
  return {};
}

char TypedChar(TInputMode mode, char key) {
  if (mode == TInputMode::Phonetic) return PhoneticKeyChar(key);
  if (mode == TInputMode::Emulated) return LatinKeyToCyrillic(key);
  return key;
}

char SmartQuote(bool hasPrevious, char16_t previous) {
  constexpr char kOpen = char(0xAB), kClose = char(0xBB);
  if (!hasPrevious) return kOpen;
  switch (previous) {
    case u' ': case u'\t': case u'\r': case u'\n': case u'\v': case u'\u00A0':
    case u'(': case u'[': case u'{': case u'\u00AB': case u'\u201E':
      return kOpen;
    default:
      return kClose;
  }
}

bool IsWordEndChar(char key) { return key != 0 && std::strchr("\r !#$)*+=?^|", key) != nullptr; }
