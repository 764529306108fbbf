#include "platform/locale_names_icu.h"

#include <unicode/uldnames.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <iterator>

namespace {

template <class F>
std::u16string IcuText(F call) {
  UChar buffer[256];
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length = call(buffer, int32_t(std::size(buffer)), &error);
  if (U_FAILURE(error)) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), size_t(std::clamp<int32_t>(length, 0, 255)));
}

}  // namespace

std::u16string IcuLocaleName(const std::string& locale, TIcuLocaleName kind, const std::string& display) {
  const char* loc = locale.c_str();
  switch (kind) {
    case TIcuLocaleName::Localized: {
      // The short form of the country ("English (US)"), so that a name fits a toolbar's combo.
      UDisplayContext context = UDISPCTX_LENGTH_SHORT;
      UErrorCode error = U_ZERO_ERROR;
      ULocaleDisplayNames* names = uldn_openForContext(display.c_str(), &context, 1, &error);
      if (U_FAILURE(error)) return {};
      std::u16string name =
          IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uldn_localeDisplayName(names, loc, b, n, e); });
      uldn_close(names);
      return name;
    }
    case TIcuLocaleName::Language:
      return IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uloc_getDisplayLanguage(loc, display.c_str(), b, n, e); });
    case TIcuLocaleName::English:
      return IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uloc_getDisplayLanguage(loc, "en", b, n, e); });
    case TIcuLocaleName::Native:
      return IcuText([&](UChar* b, int32_t n, UErrorCode* e) { return uloc_getDisplayLanguage(loc, loc, b, n, e); });
  }
  return {};
}
