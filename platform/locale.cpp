#include "platform/locale.h"

#include <algorithm>

#include "platform/exceptions.h"

#include <atomic>

namespace {

struct LocaleInfo {
  LCID Lcid;
  unsigned AnsiCodePage;
  unsigned OemCodePage;
  const char* Name;     // as LOCALE_SLANGUAGE gives it
  const char* IcuName;  // the ICU locale whose collation the locale uses
};

// The locales the program knows. The first row of a primary language is its default sublanguage.
constexpr LocaleInfo kLocales[] = {
    {1025, 1256, 720, "Arabic (Saudi Arabia)", "ar_SA"},
    {1026, 1251, 866, "Bulgarian", "bg_BG"},
    {1027, 1252, 850, "Catalan", "ca_ES"},
    {1028, 950, 950, "Chinese (Taiwan)", "zh_TW"},
    {1029, 1250, 852, "Czech", "cs_CZ"},
    {1030, 1252, 850, "Danish", "da_DK"},
    {1031, 1252, 850, "German (Germany)", "de_DE"},
    {1032, 1253, 737, "Greek", "el_GR"},
    {1033, 1252, 437, "English (United States)", "en_US"},
    {1034, 1252, 850, "Spanish (Traditional Sort)", "es_ES@collation=traditional"},
    {1035, 1252, 850, "Finnish", "fi_FI"},
    {1036, 1252, 850, "French (France)", "fr_FR"},
    {1037, 1255, 862, "Hebrew", "he_IL"},
    {1038, 1250, 852, "Hungarian", "hu_HU"},
    {1039, 1252, 850, "Icelandic", "is_IS"},
    {1040, 1252, 850, "Italian (Italy)", "it_IT"},
    {1041, 932, 932, "Japanese", "ja_JP"},
    {1042, 949, 949, "Korean", "ko_KR"},
    {1043, 1252, 850, "Dutch (Netherlands)", "nl_NL"},
    {1044, 1252, 850, "Norwegian (Bokmal)", "nb_NO"},
    {1045, 1250, 852, "Polish", "pl_PL"},
    {1046, 1252, 850, "Portuguese (Brazil)", "pt_BR"},
    {1048, 1250, 852, "Romanian", "ro_RO"},
    {1049, 1251, 866, "Russian", "ru_RU"},
    {1050, 1250, 852, "Croatian", "hr_HR"},
    {1051, 1250, 852, "Slovak", "sk_SK"},
    {1053, 1252, 850, "Swedish", "sv_SE"},
    {1054, 874, 874, "Thai", "th_TH"},
    {1055, 1254, 857, "Turkish", "tr_TR"},
    {1057, 1252, 850, "Indonesian", "id_ID"},
    {1058, 1251, 866, "Ukrainian", "uk_UA"},
    {1059, 1251, 866, "Belarusian", "be_BY"},
    {1060, 1250, 852, "Slovenian", "sl_SI"},
    {1061, 1257, 775, "Estonian", "et_EE"},
    {1062, 1257, 775, "Latvian", "lv_LV"},
    {1063, 1257, 775, "Lithuanian", "lt_LT"},
    {1066, 1258, 1258, "Vietnamese", "vi_VN"},
    {1071, 1251, 866, "FYRO Macedonian", "mk_MK"},
    {1087, 1251, 866, "Kazakh", "kk_KZ"},
    {1092, 1251, 866, "Tatar", "tt_RU"},
    {2052, 936, 936, "Chinese (PRC)", "zh_CN"},
    {2055, 1252, 850, "German (Switzerland)", "de_CH"},
    {2057, 1252, 850, "English (United Kingdom)", "en_GB"},
    {2058, 1252, 850, "Spanish (Mexico)", "es_MX"},
    {2060, 1252, 850, "French (Belgium)", "fr_BE"},
    {2070, 1252, 850, "Portuguese (Portugal)", "pt_PT"},
    {2074, 1250, 852, "Serbian (Latin)", "sr_Latn_RS"},
    {3079, 1252, 850, "German (Austria)", "de_AT"},
    {3081, 1252, 850, "English (Australia)", "en_AU"},
    {3082, 1252, 850, "Spanish (International Sort)", "es_ES"},
    {3084, 1252, 850, "French (Canada)", "fr_CA"},
    {3098, 1251, 855, "Serbian (Cyrillic)", "sr_Cyrl_RS"},
    {4105, 1252, 850, "English (Canada)", "en_CA"},
};

constexpr LCID kFollowSystem = 0;  // the thread locale before SetThreadLocale

std::atomic<LCID> systemDefaultLcid{LANG_RUSSIAN};
std::atomic<LCID> threadLocale{kFollowSystem};

const LocaleInfo* FindLocale(LCID lcid) {
  lcid = ResolveLcid(lcid);
  for (const LocaleInfo& info : kLocales)
    if (info.Lcid == lcid) return &info;
  return nullptr;
}

} // namespace

LCID SystemDefaultLcid() { return systemDefaultLcid.load(std::memory_order_relaxed); }

void SetSystemDefaultLcid(LCID lcid) {
  const LocaleInfo* info = FindLocale(lcid);
  if (!info) throw EConvertError("Locale " + std::to_string(lcid) + " is not supported");
  systemDefaultLcid.store(info->Lcid, std::memory_order_relaxed);
}

LCID ThreadLocale() {
  const LCID lcid = threadLocale.load(std::memory_order_relaxed);
  return lcid == kFollowSystem ? SystemDefaultLcid() : lcid;
}

void SetThreadLocale(LCID lcid) { threadLocale.store(ResolveLcid(lcid), std::memory_order_relaxed); }

LCID ResolveLcid(LCID lcid) {
  lcid &= 0xFFFF;  // the sort identifier
  if (lcid == 0 || lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT)
    return SystemDefaultLcid();
  if (lcid < 0x400) {  // a primary language without sublanguage
    for (const LocaleInfo& info : kLocales)
      if ((info.Lcid & 0x3FF) == lcid) return info.Lcid;
  }
  return lcid;
}

unsigned LocaleAnsiCodePage(LCID lcid) {
  const LocaleInfo* info = FindLocale(lcid);
  return info ? info->AnsiCodePage : 0;
}

unsigned LocaleOemCodePage(LCID lcid) {
  const LocaleInfo* info = FindLocale(lcid);
  return info ? info->OemCodePage : 0;
}

std::string LocaleLanguageDisplayName(LCID lcid) {
  const LocaleInfo* info = FindLocale(lcid);
  return info ? info->Name : std::string();
}

unsigned LocaleCountryCode(LCID lcid) {
  // Region of the ICU id ("de_AT" -> "AT", "sr_Latn_RS" -> "RS") to its telephone code.
  static constexpr struct { std::string_view Region; unsigned Code; } kCodes[] = {
      {"AE", 971}, {"AT", 43}, {"AU", 61}, {"BE", 32}, {"BG", 359}, {"BR", 55}, {"BY", 375},
      {"CA", 2},   {"CH", 41}, {"CN", 86}, {"CZ", 420}, {"DE", 49}, {"DK", 45}, {"EE", 372},
      {"ES", 34},  {"FI", 358}, {"FR", 33}, {"GB", 44}, {"GR", 30}, {"HR", 385}, {"HU", 36},
      {"ID", 62},  {"IE", 353}, {"IL", 972}, {"IS", 354}, {"IT", 39}, {"JP", 81}, {"KR", 82},
      {"KZ", 7},   {"LT", 370}, {"LV", 371}, {"MK", 389}, {"MX", 52}, {"NL", 31}, {"NO", 47},
      {"NZ", 64},  {"PL", 48}, {"PT", 351}, {"RO", 40}, {"RS", 381}, {"RU", 7}, {"SA", 966},
      {"SE", 46},  {"SI", 386}, {"SK", 421}, {"TH", 66}, {"TR", 90}, {"TW", 886}, {"UA", 380},
      {"US", 1},   {"VN", 84}};
  std::string_view name = LocaleIcuName(lcid);
  name = name.substr(0, name.find('@'));
  const size_t sep = name.rfind('_');
  if (sep == std::string_view::npos) return 0;
  const std::string_view region = name.substr(sep + 1);
  for (const auto& entry : kCodes)
    if (entry.Region == region) return entry.Code;
  return 0;
}

std::string_view LocaleIcuName(LCID lcid) {
  const LocaleInfo* info = FindLocale(lcid);
  return info ? info->IcuName : std::string_view();
}

unsigned CodePageCharset(unsigned codePage, unsigned fallback) {
  switch (codePage) {
  case 1250: return 238;  // EASTEUROPE_CHARSET
  case 1251: return 204;  // RUSSIAN_CHARSET
  case 1252: return 0;    // ANSI_CHARSET
  case 1253: return 161;  // GREEK_CHARSET
  case 1254: return 162;  // TURKISH_CHARSET
  case 1255: return 177;  // HEBREW_CHARSET
  case 1256: return 178;  // ARABIC_CHARSET
  case 1257: return 186;  // BALTIC_CHARSET
  case 1258: return 163;  // VIETNAMESE_CHARSET
  case 874: return 222;   // THAI_CHARSET
  case 932: return 128;   // SHIFTJIS_CHARSET
  case 936: return 134;   // GB2312_CHARSET
  case 949: return 129;   // HANGEUL_CHARSET
  case 950: return 136;   // CHINESEBIG5_CHARSET
  default: return fallback;
  }
}

bool IsLocaleKnown(LCID lcid) { return FindLocale(lcid) != nullptr; }

std::vector<LCID> KnownLocales() {
  std::vector<LCID> list;
  for (const LocaleInfo& info : kLocales)
    if (ResolveLcid(info.Lcid) == info.Lcid) list.push_back(info.Lcid);
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  return list;
}
