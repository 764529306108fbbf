#include "textcore/keyboard_layouts.h"

#include "textcore/cp1251_literal.h"
#include "platform/code_pages.h"

namespace {

constexpr Cp1251Literal kUsKeys(
    u8"~!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?`1234567890-=qwertyuiop[]asdfghjkl;'zxcvbnm,./");
constexpr Cp1251Literal kRussianKeys(
    u8"Ё!\"№;%:?*()_+ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,ё1234567890-=йцукенгшщзхъфывапролджэячсмитьбю.");
constexpr Cp1251Literal kPhoneticKeys(
    u8"Ё!\"№;%:?*()ЧЭЯВЕРТЫУИОПШЩАСДФГХЙКЛ:\"ЗЬУЖБНМ<>?ё1234567890чэявертыуиопшщасдфгхйкл;'зьужбнм,./");

static_assert(kUsKeys.view().size() == 92 && kRussianKeys.view().size() == 92 &&
              kPhoneticKeys.view().size() == 92);

}  // namespace

const std::string_view UsLayoutKeys = kUsKeys;
const std::string_view RussianLayoutKeys = kRussianKeys;
const std::string_view PhoneticLayoutKeys = kPhoneticKeys;

std::string SwitchKeyboardLayout(std::string_view s) {
  std::string result(s);
  for (char& ch : result) {
    if (size_t at = kUsKeys.view().find(ch); at != std::string_view::npos) {
      ch = kRussianKeys.view()[at];
    } else if (size_t at = kRussianKeys.view().find(ch); at != std::string_view::npos) {
      ch = kUsKeys.view()[at];
    }
  }
  return result;
}

char LatinKeyToCyrillic(char ch) {
  size_t at = kUsKeys.view().find(ch);
  return at == std::string_view::npos ? ch : kRussianKeys.view()[at];
}

char PhoneticKeyChar(char ch) {
  size_t at = kRussianKeys.view().find(ch);
  if (at == std::string_view::npos) at = kUsKeys.view().find(ch);
  return at == std::string_view::npos ? ch : kPhoneticKeys.view()[at];
}

std::u16string SwitchKeyboardLayoutW(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    bool lossy = false;
    const std::string byte = WideToAnsi(std::u16string_view(&c, 1), 1251, &lossy);
    if (lossy || byte.size() != 1) continue;
    const std::u16string switched = AnsiToWide(SwitchKeyboardLayout(byte), 1251);
    if (switched.size() == 1) c = switched[0];
  }
  return out;
}
