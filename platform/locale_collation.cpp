// Locale-aware comparison (CompareStringA/W) over ICU collation.
#include "platform/locale.h"

#include "platform/code_pages.h"
#include "platform/single_byte_codec.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>

namespace {

// Open collators, one per (ICU locale, strength), kept for the life of the process. A collator
// is configured before it is published and only used through const calls afterwards, which ICU
// allows from several threads at once.
class CollatorCache {
public:
  // The collator, or nullptr when not even the root collation can be opened.
  const UCollator* Get(std::string_view icuName, bool ignoreCase) {
    thread_local const char* lastName = nullptr;
    thread_local bool lastIgnoreCase = false;
    thread_local const UCollator* last = nullptr;
    if (lastName == icuName.data() && lastIgnoreCase == ignoreCase && last) return last;

    std::lock_guard lock(mutex_);
    auto key = std::make_pair(std::string(icuName), ignoreCase);
    auto it = collators_.find(key);
    if (it == collators_.end()) it = collators_.emplace(key, Open(key.first, ignoreCase)).first;
    lastName = icuName.data();
    lastIgnoreCase = ignoreCase;
    last = it->second;
    return last;
  }

private:
  static UCollator* Open(const std::string& icuName, bool ignoreCase) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(icuName.c_str(), &status);
    if (U_FAILURE(status)) {
      status = U_ZERO_ERROR;
      collator = ucol_open("", &status);  // the root collation
      if (U_FAILURE(status)) return nullptr;
    }
    ucol_setStrength(collator, ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
    return collator;
  }

  std::mutex mutex_;
  std::map<std::pair<std::string, bool>, UCollator*> collators_;
};

CollatorCache& Collators() {
  static CollatorCache* cache = new CollatorCache;  // never destroyed: used until exit
  return *cache;
}

template <typename Unit>
int CompareUnits(std::basic_string_view<Unit> a, std::basic_string_view<Unit> b) {
  const int result = a.compare(b);
  return (result > 0) - (result < 0);
}

int ToOrder(UCollationResult result) {
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

// 8-bit text in UTF-16, in a stack buffer when it is short.
class WideText {
public:
  WideText(std::string_view text, const char16_t* table) : length_(text.size()) {
    char16_t* out = buffer_;
    if (text.size() > kInline) {
      heap_.resize(text.size());
      out = heap_.data();
    }
    for (size_t i = 0; i < text.size(); ++i) out[i] = table[static_cast<unsigned char>(text[i])];
    data_ = out;
  }
  std::u16string_view View() const { return {data_, length_}; }

private:
  static constexpr size_t kInline = 128;
  char16_t buffer_[kInline];
  std::u16string heap_;
  const char16_t* data_;
  size_t length_;
};

// Printable ASCII in the order of the root collation, which the collations of English, Russian,
// Ukrainian and Belarusian keep for these characters: each has a primary weight of its own but for
// a letter's two cases, which differ at the tertiary level only (small letter first). Text of
// these characters alone is compared here, so that the common case (names, file extensions,
// keys) needs no collator: opening one loads a large part of ICU's data.
constexpr std::string_view kAsciiOrder =
    " _-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$0123456789"
    "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ";

struct AsciiRanks {
  unsigned char Primary[128] = {};  // 0 for a character outside the order
  constexpr AsciiRanks() {
    unsigned char rank = 0;
    for (size_t i = 0; i < kAsciiOrder.size(); ++i) {
      const char ch = kAsciiOrder[i];
      const bool upper = ch >= 'A' && ch <= 'Z';
      if (!upper) ++rank;
      Primary[static_cast<unsigned char>(ch)] = rank;
    }
  }
};
constexpr AsciiRanks kAsciiRanks;

bool KeepsRootAsciiOrder(std::string_view icuName) {
  const std::string_view language = icuName.substr(0, icuName.find('_'));
  return language.empty() || language == "en" || language == "ru" || language == "uk" || language == "be";
}

bool IsPrintableAscii(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x20 && c < 0x7F; });
}

// The collation's order of two texts of printable ASCII.
int CompareAscii(bool ignoreCase, std::u16string_view a, std::u16string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const int pa = kAsciiRanks.Primary[a[i]], pb = kAsciiRanks.Primary[b[i]];
    if (pa != pb) return pa < pb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  if (ignoreCase) return 0;
  for (size_t i = 0; i < common; ++i)
    if (a[i] != b[i]) return a[i] > b[i] ? -1 : 1;  // the same letter: the small one ('a' > 'A') first
  return 0;
}

} // namespace

int CompareLocaleStringsW(LCID lcid, bool ignoreCase, std::u16string_view a, std::u16string_view b) {
  if (a == b) return 0;
  const std::string_view icuName = LocaleIcuName(lcid);
  if (KeepsRootAsciiOrder(icuName) && IsPrintableAscii(a) && IsPrintableAscii(b)) return CompareAscii(ignoreCase, a, b);
  const UCollator* collator = Collators().Get(icuName, ignoreCase);
  if (!collator) return CompareUnits(a, b);
  return ToOrder(ucol_strcoll(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                              static_cast<int32_t>(b.size())));
}

namespace {

// The byte -> UTF-16 table through which a locale's 8-bit text is compared; nullptr when its code
// page has none (such text is compared byte by byte).
const char16_t* CollationTable(LCID lcid) {
  unsigned codePage = LocaleAnsiCodePage(lcid);
  if (codePage == 0) codePage = SystemCodePage();
  const SingleByteCodec* codec = FindSingleByteCodec(codePage);
  return codec ? codec->Table() : nullptr;
}

}  // namespace

int CompareLocaleStrings(LCID lcid, bool ignoreCase, std::string_view a, std::string_view b) {
  if (a == b) return 0;
  const char16_t* table = CollationTable(lcid);
  if (!table) return CompareUnits(a, b);  // compared as unsigned bytes by char_traits<char>
  const WideText wideA(a, table);
  const WideText wideB(b, table);
  return CompareLocaleStringsW(lcid, ignoreCase, wideA.View(), wideB.View());
}

TLocaleProbe::TLocaleProbe(LCID lcid, bool ignoreCase, std::string_view probe)
    : lcid_(lcid), ignoreCase_(ignoreCase), probe_(probe), table_(CollationTable(lcid)) {
  if (table_) wideProbe_ = WideText(probe, table_).View();
}

int TLocaleProbe::Compare(std::string_view other) const {
  if (!table_ || other == probe_) return CompareLocaleStrings(lcid_, ignoreCase_, other, probe_);
  const WideText wideOther(other, table_);
  return CompareLocaleStringsW(lcid_, ignoreCase_, wideOther.View(), wideProbe_);
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
  return CompareLocaleStrings(SystemDefaultLcid(), false, a, b);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  return CompareLocaleStrings(SystemDefaultLcid(), true, a, b);
}
