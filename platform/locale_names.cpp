#include "platform/locale_names.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <set>
#include <tuple>

#include "platform/code_pages.h"
#include "platform/locale.h"
#include "platform/locale_name_table.h"
#include "platform/locale_names_icu.h"

namespace {

std::string IcuNameOf(LCID lcid) {
  if (IsLocaleKnown(lcid)) return std::string(LocaleIcuName(lcid));
  char name[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode error = U_ZERO_ERROR;
  uloc_getLocaleForLCID(lcid, name, sizeof name, &error);
  return U_FAILURE(error) ? std::string() : std::string(name);
}

LCID& InterfaceLcidSetting() {
  static LCID lcid = LANG_ENGLISH_US;  // the interface is English until a language is applied
  return lcid;
}

// The text with its first letter a capital, as a list item begins.
std::string Capitalised(std::string text) {
  if (!text.empty()) text[0] = char(AnsiUpperChar(static_cast<unsigned char>(text[0])));
  return text;
}

// The name from the built-in table when it holds the locale (and the interface language for the
// names displayed in it), else from ICU; in the system code page.
std::string DisplayName(LCID lcid, TIcuLocaleName kind) {
  const bool known = IsLocaleKnown(lcid);
  const LCID resolved = ResolveLcid(lcid);
  const LCID ui = ResolveLcid(InterfaceLcid());
  const TLocaleNameRow* end = kLocaleNameTable + kLocaleNameTableSize;
  const TLocaleNameRow* row = std::lower_bound(kLocaleNameTable, end, resolved,
                                               [](const TLocaleNameRow& r, LCID id) { return r.Lcid < id; });
  const auto column = std::find(std::begin(kTabledInterfaceLcids), std::end(kTabledInterfaceLcids), ui) -
                      std::begin(kTabledInterfaceLcids);
  const bool tabledUi = size_t(column) < std::size(kTabledInterfaceLcids);
  if (known && row != end && row->Lcid == resolved) {
    const char16_t* name = kind == TIcuLocaleName::English   ? row->English
                           : kind == TIcuLocaleName::Native  ? row->Native
                           : !tabledUi                       ? nullptr
                           : kind == TIcuLocaleName::Localized ? row->Localized[column]
                                                               : row->Language[column];
    if (name) return WideToAnsi(name, CP_ACP);
  }
  const std::string loc = IcuNameOf(lcid);
  if (loc.empty()) return {};
  return WideToAnsi(IcuLocaleName(loc, kind, std::string(LocaleIcuName(ui))), CP_ACP);
}

}  // namespace

LCID InterfaceLcid() { return InterfaceLcidSetting(); }
void SetInterfaceLcid(LCID lcid) { InterfaceLcidSetting() = lcid; }

std::string InterfaceLanguageName(LCID lcid) { return Capitalised(DisplayName(lcid, TIcuLocaleName::Language)); }
std::vector<LCID> EnumSystemLocales(bool supported) {
  static const std::vector<LCID> installed = KnownLocales();
  if (!supported) return installed;
  // Every locale ICU knows: asked only by the lists that show them, never at start-up.
  static const std::vector<LCID> all = [] {
    std::set<LCID> set(installed.begin(), installed.end());
    for (int32_t i = 0, n = uloc_countAvailable(); i < n; ++i)
      if (LCID lcid = uloc_getLCID(uloc_getAvailable(i)); lcid != 0 && lcid < 0x10000) set.insert(lcid);
    return std::vector<LCID>(set.begin(), set.end());
  }();
  return all;
}

bool IsValidLocale(LCID lcid) {
  const std::vector<LCID> list = EnumSystemLocales(false);
  return std::binary_search(list.begin(), list.end(), lcid);
}

namespace {

std::string LookUpLocaleName(LCID lcid, TLocaleNameKind kind) {
  switch (kind) {
    case lnLocalized: return Capitalised(DisplayName(lcid, TIcuLocaleName::Localized));
    case lnEnglish: return DisplayName(lcid, TIcuLocaleName::English);
    case lnNative: return DisplayName(lcid, TIcuLocaleName::Native);
    case lnAbbrev: {
      const std::string loc = IcuNameOf(lcid);
      if (loc.empty()) return {};
      std::string iso = uloc_getISO3Language(loc.c_str());
      for (char& c : iso) c = char(std::toupper(static_cast<unsigned char>(c)));
      return iso;
    }
  }
  return {};
}

}  // namespace

std::string LocaleName(LCID lcid, TLocaleNameKind kind) {
  // Every locale list of every window asks for the same names: ICU is asked once for each.
  static std::mutex mutex;
  static std::map<std::tuple<LCID, int, LCID, LCID, unsigned>, std::string> names;
  const auto key = std::make_tuple(lcid, int(kind), InterfaceLcid(), SystemDefaultLcid(), SystemCodePage());
  std::lock_guard lock(mutex);
  auto it = names.find(key);
  if (it == names.end()) it = names.emplace(key, LookUpLocaleName(lcid, kind)).first;
  return it->second;
}
