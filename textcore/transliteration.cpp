#include "textcore/transliteration.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "textcore/cp1251_literal.h"
#include "textcore/string_routines.h"

namespace {

constexpr Cp1251Literal kCyrillicLetters(
    u8"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮйцукенгшщзхъфывапролджэячсмитьбю");
static_assert(kCyrillicLetters.view().size() == 64);

// Rule sources as 1251 literals; they must outlive the table of views below.
constexpr Cp1251Literal kRule1(u8"ция");
constexpr Cp1251Literal kRule2(u8"тся");
constexpr Cp1251Literal kRule3(u8"оци");
constexpr Cp1251Literal kRule4(u8"ые");
constexpr Cp1251Literal kRule5(u8"ыя");
constexpr Cp1251Literal kRule6(u8"ыю");
constexpr Cp1251Literal kRule8(u8"аю");
constexpr Cp1251Literal kRule9(u8"юю");
constexpr Cp1251Literal kRule10(u8"ею");
constexpr Cp1251Literal kRule11(u8"ою");
constexpr Cp1251Literal kRule12(u8"ую");
constexpr Cp1251Literal kRule13(u8"сц");
constexpr Cp1251Literal kRule14(u8"ий");
constexpr Cp1251Literal kRule15(u8"ё");
constexpr Cp1251Literal kRule16(u8"Ё");

// Index into TranslitLetters of a byte, -1 for one that is not in CyrillicLetters.
struct LetterIndex {
  int of[256];
  constexpr LetterIndex() : of() {
    for (int& i : of) i = -1;
    for (size_t i = 0; i < kCyrillicLetters.view().size(); ++i) {
      of[static_cast<unsigned char>(kCyrillicLetters.view()[i])] = static_cast<int>(i);
    }
  }
};
constexpr LetterIndex kLetterIndex;

// Calls the progress callback with done × 100 / total (at most 100: the rules may lengthen the
// text); a stop raises the silent abort.
void Report(const TProgressCallback& onProgress, long long done, long long total) {
  if (onProgress && onProgress(nullptr, static_cast<int>(std::min(done * 100 / total, 100LL)))) Abort();
}

}  // namespace

const std::string_view CyrillicLetters = kCyrillicLetters;

const std::array<std::string_view, 64> TranslitLetters = {
    // Й     Ц     У    К    Е    Н    Г    Ш     Щ      З    Х    Ъ    Ф    Ы    В    А
    "I", "Ts", "U", "K", "E", "N", "G", "Sh", "Sch", "Z", "H", "'", "F", "Y", "V", "A",
    // П   Р    О    Л    Д    Ж     Э    Я     Ч     С    М    И    Т    Ь    Б    Ю
    "P", "R", "O", "L", "D", "Zh", "E", "Ya", "Ch", "S", "M", "I", "T", "'", "B", "Yu",
    // й     ц     у    к    е    н    г    ш     щ      з    х    ъ    ф    ы    в    а
    "i", "ts", "u", "k", "e", "n", "g", "sh", "sch", "z", "h", "'", "f", "y", "v", "a",
    // п   р    о    л    д    ж     э    я     ч     с    м    и    т    ь    б    ю
    "p", "r", "o", "l", "d", "zh", "e", "ya", "ch", "s", "m", "i", "t", "'", "b", "yu",
};

const std::array<TTranslitRule, 16> TranslitRules = {{
    {kRule1, "tsia"},
    {kRule2, "tsia"},
    {kRule3, "oci"},
    {kRule4, "ie"},
    {kRule5, "iya"},
    {kRule6, "iu"},
    {kRule6, "iu"},  // the same rule again, kept so that the table keeps its 16 places
    {kRule8, "au"},
    {kRule9, "uu"},
    {kRule10, "eu"},
    {kRule11, "ou"},
    {kRule12, "uyu"},
    {kRule13, "sc"},
    {kRule14, "ij"},
    {kRule15, "e"},
    {kRule16, "E"},
}};

std::string Transliterate(std::string_view s, const TProgressCallback& onProgress) {
  const long long total = static_cast<long long>(s.size()) + 16;
  std::string text(s);
  for (size_t i = 0; i < TranslitRules.size(); ++i) {
    Report(onProgress, static_cast<long long>(i) + 1, total);
    text = ReplaceStr(text, TranslitRules[i].source, TranslitRules[i].target);
  }
  std::string result;
  result.reserve(text.size() * 2);
  for (size_t p = 0; p < text.size(); ++p) {
    Report(onProgress, static_cast<long long>(p) + 1 + 16, total);
    const int letter = kLetterIndex.of[static_cast<unsigned char>(text[p])];
    if (letter >= 0) {
      result.append(TranslitLetters[letter]);
    } else {
      result.push_back(text[p]);
    }
  }
  return result;
}
