#include "platform/locale_names.h"

#include <unicode/uldnames.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <set>
#include <tuple>

#include "platform/code_pages.h"
#include "platform/locale.h"

namespace {

std::string IcuNameOf(LCID lcid) {
  if (IsLocaleKnown(lcid)) return std::string(LocaleIcuName(lcid));
  char name[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode error = U_ZERO_ERROR;
  uloc_getLocaleForLCID(lcid, name, sizeof name, &error);
  return U_FAILURE(error) ? std::string() : std::string(name);
}

std::string FromUChars(const UChar* text, int32_t length) {
  return WideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text), size_t(std::max(0, length))), CP_ACP);
}

template <class F>
std::string IcuText(F call) {
  UChar buffer[256];
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length = call(buffer, int32_t(std::size(buffer)), &error);
  return U_FAILURE(error) ? std::string() : FromUChars(buffer, std::min<int32_t>(length, 255));
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

}  // namespace

LCID InterfaceLcid() { return InterfaceLcidSetting(); }
void SetInterfaceLcid(LCID lcid) { InterfaceLcidSetting() = lcid; }

std::string InterfaceLanguageName(LCID lcid) {
  const std::string loc = IcuNameOf(lcid);
  if (loc.empty()) return {};
  const std::string ui(LocaleIcuName(InterfaceLcid()));
  return Capitalised(
      IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uloc_getDisplayLanguage(loc.c_str(), ui.c_str(), b, n, e); }));
}

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
  const std::string loc = IcuNameOf(lcid);
  if (loc.empty()) return {};
  switch (kind) {
    case lnLocalized: {
      // The short form of the country ("English (US)"), so that a name fits a toolbar's combo.
      const std::string ui(LocaleIcuName(InterfaceLcid()));
      UDisplayContext context = UDISPCTX_LENGTH_SHORT;
      UErrorCode error = U_ZERO_ERROR;
      ULocaleDisplayNames* names = uldn_openForContext(ui.c_str(), &context, 1, &error);
      if (U_FAILURE(error)) return {};
      const std::string name = Capitalised(
          IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uldn_localeDisplayName(names, loc.c_str(), b, n, e); }));
      uldn_close(names);
      return name;
    }
    case lnEnglish:
      return IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uloc_getDisplayLanguage(loc.c_str(), "en", b, n, e); });
    case lnNative:
      return IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uloc_getDisplayLanguage(loc.c_str(), loc.c_str(), b, n, e); });
    case lnAbbrev: {
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
