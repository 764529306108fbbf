#include "proofing/word_routines.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/locale.h"
#include "proofing/text_scanner.h"
#include "proofing/validator.h"
#include "textcore/cp1251_literal.h"
#include "textcore/cyr_case.h"

namespace {

constexpr std::string_view kLatinLookAlikes = "eryopaxcnuETYOPAHKXCBM36";
constexpr Cp1251Literal kCyrillicLookAlikes(u8"егуорахспиЕТУОРАНКХСВМЗб");
// Cyrillic look-alikes only in italic type ("и" for "u", "п" for "n"): in a mixed word they are
// Cyrillic letters a Latin word would not hold.
constexpr Cp1251Literal kItalicLookAlikes(u8"пи");
constexpr Cp1251Literal kRussianSingleLetters(u8"АВИКОСУЯабвжикосуя");

bool IsLatinLetter(unsigned char Ch) { return (Ch >= 'A' && Ch <= 'Z') || (Ch >= 'a' && Ch <= 'z'); }
bool IsLetter(unsigned char Ch) { return IsLatinLetter(Ch) || IsCyrillicLetter(Ch); }

// A 3 or 6 standing between two letters of the word: a look-alike, not part of a number.
bool IsLetterDigit(std::string_view Word, size_t i) {
  const unsigned char ch = static_cast<unsigned char>(Word[i]);
  return (ch == '3' || ch == '6') && i > 0 && i + 1 < Word.size() &&
         IsLetter(static_cast<unsigned char>(Word[i - 1])) && IsLetter(static_cast<unsigned char>(Word[i + 1]));
}

}  // namespace

bool IsCyrillicLetter(unsigned char Ch) { return Ch >= 192 || Ch == 0xA8 || Ch == 0xB8; }

int ClassifyMixedWord(std::string_view Word) {
  const std::string_view cyrillicLookAlikes = kCyrillicLookAlikes;
  const std::string_view italicLookAlikes = kItalicLookAlikes;
  int latin = 0, cyrillic = 0;
  bool latinOther = false, cyrillicOther = false, italicOnly = false;
  for (size_t i = 0; i < Word.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(Word[i]);
    if (IsLatinLetter(ch) || IsLetterDigit(Word, i)) {
      ++latin;
      if (kLatinLookAlikes.find(static_cast<char>(ch)) == std::string_view::npos) latinOther = true;
    } else if (IsCyrillicLetter(ch)) {
      ++cyrillic;
      if (cyrillicLookAlikes.find(static_cast<char>(ch)) == std::string_view::npos) cyrillicOther = true;
      if (italicLookAlikes.find(static_cast<char>(ch)) != std::string_view::npos) italicOnly = true;
    }
  }
  if (latin > 0 && cyrillic == 0) return latinOther ? 0 : 4;
  if (cyrillic > 0 && latin == 0) return cyrillicOther ? 0 : 3;
  if (latin == 0) return 0;
  if (!cyrillicOther && !italicOnly && (latinOther || latin > cyrillic)) return 2;
  if (!latinOther && (cyrillicOther || italicOnly || cyrillic >= latin)) return 1;
  return 0;
}

bool FixMixedWord(std::string& Word, int Mode) {
  if (Mode == 0) {
    Mode = ClassifyMixedWord(Word);
    if (Mode != 1 && Mode != 2) return false;
  }
  const std::string_view cyrillicLookAlikes = kCyrillicLookAlikes;
  const std::string original = Word;
  for (size_t i = 0; i < Word.size(); ++i) {
    const char ch = original[i];
    if (Mode == 1) {
      const size_t at = kLatinLookAlikes.find(ch);
      const bool digit = ch == '3' || ch == '6';
      if (at == std::string_view::npos || (digit && !IsLetterDigit(original, i))) continue;
      Word[i] = cyrillicLookAlikes[at];
      // A digit takes the case of the letters around it: capital between two capitals, else small.
      if (digit) {
        const auto before = static_cast<unsigned char>(original[i - 1]);
        const auto after = static_cast<unsigned char>(original[i + 1]);
        const bool capital = AnsiLowerChar(before, 1251) != before && AnsiLowerChar(after, 1251) != after;
        const auto letter = static_cast<unsigned char>(Word[i]);
        Word[i] = static_cast<char>(capital ? AnsiUpperChar(letter, 1251) : AnsiLowerChar(letter, 1251));
      }
    } else if (Mode == 2) {
      const size_t at = cyrillicLookAlikes.find(ch);
      if (at != std::string_view::npos) Word[i] = kLatinLookAlikes[at];
    }
  }
  return Word != original;
}

int EnglishScore(std::string_view Word) {
  if (Word.size() == 1) return (Word == "A" || Word == "I" || Word == "a") ? 0 : 100;
  return EnglishValidator().Score(Word);
}

int RussianScore(std::string_view Word) {
  for (char c : Word) {
    const unsigned char ch = static_cast<unsigned char>(c);
    if (ch == 0 || (!IsCyrillicLetter(ch) && std::strchr(" !,-.:;?", ch) == nullptr)) return 99;
  }
  if (Word.size() == 1)
    return std::string_view(kRussianSingleLetters).find(Word[0]) != std::string_view::npos ? 0 : 100;
  return RussianValidator().Score(Word);
}

bool IsCyrillicText(std::string_view Text) {
  const TCharSet delimiters = EngineWordDelimiters();
  int highInitial = 0, cyrillicInitial = 0, russianLooking = 0;
  size_t i = 0;
  while (i < Text.size()) {
    while (i < Text.size() && delimiters.test(static_cast<unsigned char>(Text[i]))) ++i;
    const size_t start = i;
    while (i < Text.size() && !delimiters.test(static_cast<unsigned char>(Text[i]))) ++i;
    if (start == i) continue;
    const std::string_view word = Text.substr(start, i - start);
    const unsigned char first = static_cast<unsigned char>(word[0]);
    if (first <= 127) continue;
    ++highInitial;
    if (!IsCyrillicLetter(first)) continue;
    ++cyrillicInitial;
    const std::string lower = CyrLowerCase(word);
    const bool capitalInitial = lower[0] != word[0];
    if (RussianScore(word) == 0 && (capitalInitial || lower == word)) ++russianLooking;
  }
  if (cyrillicInitial == 0 || cyrillicInitial * 2 < highInitial) return false;
  return russianLooking * 4 >= cyrillicInitial * 3;
}

namespace {

constexpr Cp1251Literal kCyrillicKeyRow(u8"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮйцукенгшщзхъфывапролджэячсмитьбю");
constexpr std::string_view kLatinKeyRow = "QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>qwertyuiop[]asdfghjkl;'zxcvbnm,.";

// The address marks; the table announces 33 but holds these 32.
constexpr std::string_view kAddressMarks[] = {
    "http", "www",  "file", "mailto", "ftp",   "https", "gopher", "nntp", "prospero", "telnet", "news",
    "wais", ".com", ".net", ".org",   ".ru",   ".su",   ".to",    ".us",  ".fi",      "comp.",  "alt.",
    ".bg",  ".nz",  ".au",  ".de",    ".fr",   ".uk",   ".it",    ".pl",  ".ca",      ".mx"};

// Letters drawn with other characters, applied in this order, each group in the order written.
struct TDrawnLetter {
  Cp1251Literal<3> Letter;
  std::string_view Groups;
};
constexpr TDrawnLetter kDrawnLetters[] = {
    {u8"щ", "LI|"},       {u8"ш", "LII III W w"}, {u8"ж", ">|< >I< }|{ }I{"}, {u8"ю", "Io IO I-O"},
    {u8"х", "}{ X x"},    {u8"ч", "4"},           {u8"я", "9I"},               {u8"ф", "%"},
    {u8"ц", "L| LI"},     {u8"ы", "bI b|"},       {u8"е", "E e"},              {u8"а", "A a"},
    {u8"б", "6"},         {u8"в", "B"},           {u8"г", "I^ r"},             {u8"д", "g"},
    {u8"з", "3"},         {u8"и", "u"},           {u8"к", "K k"},              {u8"л", "JI"},
    {u8"м", "M"},         {u8"н", "H"},           {u8"о", "O o"},              {u8"п", "II n"},
    {u8"р", "P p"},       {u8"с", "C c"},         {u8"т", "T"},                {u8"у", "Y y"},
    {u8"ъ", "^b"},        {u8"ь", "b"}};

bool IsDigit(unsigned char Ch) { return Ch >= '0' && Ch <= '9'; }
bool IsLetterOrDigit(unsigned char Ch) { return IsLetter(Ch) || IsDigit(Ch); }

std::string LowerAscii(std::string_view Text) {
  std::string lower(Text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace

std::string RetypeLayout(std::string_view Word) {
  const std::string_view cyrillicRow = kCyrillicKeyRow;
  std::string result(Word);
  for (char& c : result) {
    if (const size_t at = kLatinKeyRow.find(c); at != std::string_view::npos) c = cyrillicRow[at];
    else if (const size_t back = cyrillicRow.find(c); back != std::string_view::npos) c = kLatinKeyRow[back];
  }
  return result;
}

bool ExtractWordAt(std::string_view Text, int Position, int& Start, std::string& Word, std::string& Rest) {
  const TCharSet delimiters = EngineWordDelimiters();
  const int length = static_cast<int>(Text.size());
  Position = std::clamp(Position, 0, length);
  const int windowStart = std::max(0, Position - 50), windowEnd = std::min(length, Position + 50);
  auto isWordChar = [&](int i) { return !delimiters.test(static_cast<unsigned char>(Text[i])); };
  int from = Position;
  if (from >= windowEnd || !isWordChar(from)) {
    if (from == 0 || !isWordChar(from - 1)) return false;  // neither on nor just after a word
  }
  while (from > windowStart && isWordChar(from - 1)) --from;
  int to = from;
  while (to < windowEnd && isWordChar(to)) ++to;
  auto trimmable = [](char c) { return c == '\'' || c == '"' || c == '\x92' || c == '\x91'; };
  while (from < to && trimmable(Text[from])) ++from;
  while (to > from && (trimmable(Text[to - 1]) || Text[to - 1] == '.')) --to;
  if (from == to) return false;
  Start = from;
  Word = std::string(Text.substr(from, to - from));
  Rest = std::string(Text.substr(to, windowEnd - to));
  return true;
}

bool IsUrlLike(std::string_view Word) {
  if (Word.find('.') == std::string_view::npos) return false;
  const std::string lower = LowerAscii(Word);
  for (std::string_view mark : kAddressMarks) {
    if (mark.front() != '.') {
      if (lower.find(mark) != std::string::npos) return true;
      continue;
    }
    // A domain ends the name or comes before its next part ("mail.ru/x", "site.com.au",
    // "<me@host.com>"), not before more letters or digits ("L.N.Tolstoj", "x.community").
    for (size_t at = lower.find(mark); at != std::string::npos; at = lower.find(mark, at + 1)) {
      const size_t end = at + mark.size();
      if (end == lower.size() || !IsLetterOrDigit(static_cast<unsigned char>(lower[end]))) return true;
    }
  }
  return false;
}

bool IsFileNameLike(std::string_view Word) {
  const int length = static_cast<int>(Word.size());
  for (int i = 1; i + 1 < length; ++i) {
    const char ch = Word[i];
    if ((ch == '\\' || ch == '/') && IsLetterOrDigit(static_cast<unsigned char>(Word[i - 1])) &&
        IsLetterOrDigit(static_cast<unsigned char>(Word[i + 1])))
      return true;
  }
  // Initials and abbreviations of single letters are no file names: "t.k.", "M.V.", and
  // initials before a capitalised name ("A.Pop", "I.A.Krylov"); an initial may be written with a
  // capital and a small letter ("V.Ia.", "S.Zh.Pop").
  const size_t last = Word.rfind('.');
  bool single = last != std::string_view::npos;
  for (size_t start = 0; single && start < last; start = Word.find('.', start) + 1) {
    const size_t dot = Word.find('.', start);
    single = IsLetter(static_cast<unsigned char>(Word[start])) &&
             (dot == start + 1 || (dot == start + 2 && std::isupper(static_cast<unsigned char>(Word[start])) &&
                                   std::islower(static_cast<unsigned char>(Word[start + 1]))));
  }
  if (single && (last + 1 == Word.size() || (last + 2 < Word.size() && std::isupper(static_cast<unsigned char>(Word[last + 1])) &&
                                             std::islower(static_cast<unsigned char>(Word[last + 2])))))
    return false;
  // An extension follows a name, not an ellipsis ("...I opyt").
  for (int i = std::max(1, length - 4); i + 1 < length; ++i)
    if (Word[i] == '.' && Word[i - 1] != '.' && IsLetter(static_cast<unsigned char>(Word[i + 1]))) return true;
  return false;
}

int ClassifySpecialSyntax(std::string_view Word, std::string& Result) {
  int cyrillicBefore = 0;
  for (char c : Word)
    if (IsCyrillicLetter(static_cast<unsigned char>(c))) ++cyrillicBefore;
  const bool allCapitals = CyrUpperCase(Word) == Word && CyrLowerCase(Word) != Word;
  Result.assign(Word);
  int singleLetters = 0, drawn = 0;  // single Latin look-alikes; digits and several-character groups
  for (const TDrawnLetter& entry : kDrawnLetters) {
    const std::string_view letter = entry.Letter;
    size_t groupStart = 0;
    while (groupStart < entry.Groups.size()) {
      size_t groupEnd = entry.Groups.find(' ', groupStart);
      if (groupEnd == std::string_view::npos) groupEnd = entry.Groups.size();
      const std::string_view group = entry.Groups.substr(groupStart, groupEnd - groupStart);
      groupStart = groupEnd + 1;
      const bool single = group.size() == 1 && IsLatinLetter(static_cast<unsigned char>(group[0]));
      for (size_t at = Result.find(group); at != std::string::npos; at = Result.find(group, at + 1)) {
        // A drawn letter takes the case of a single capital it replaces, or of an all-capital word.
        const bool capital = allCapitals || (single && group[0] >= 'A' && group[0] <= 'Z');
        const std::string cyrillic = capital ? CyrUpperCase(letter) : std::string(letter);
        Result.replace(at, group.size(), cyrillic);
        ++(single ? singleLetters : drawn);
      }
    }
  }
  if (singleLetters + drawn == 0) return 0;
  for (char c : Result) {
    const auto ch = static_cast<unsigned char>(c);
    if (IsLatinLetter(ch) || IsDigit(ch)) return 1;
  }
  if (drawn == 0) return 2;
  return cyrillicBefore > 0 ? 4 : 3;
}

bool IsNumberLikeWord(std::string_view Word) {
  constexpr Cp1251Literal kCapitalExceptions(u8"ЪЫЬ");
  constexpr Cp1251Literal kEndingLetters(u8"aistwабвгдезийлмнорстучшыя");
  std::string_view w = Word;
  while (!w.empty() && (w.front() == ' ' || w.front() == '\t')) w.remove_prefix(1);
  while (!w.empty() && (w.back() == ' ' || w.back() == '\t')) w.remove_suffix(1);
  size_t i = 0;
  for (; i < w.size(); ++i) {
    const auto ch = static_cast<unsigned char>(w[i]);
    const bool capital = (ch >= 'A' && ch <= 'Z') ||
                         (ch >= 0xC0 && ch <= 0xDF && std::string_view(kCapitalExceptions).find(w[i]) == std::string_view::npos);
    if (!IsDigit(ch) && !capital) break;
  }
  if (i >= w.size()) return false;
  const char mark = w[i];
  if (mark != '\'' && mark != '-' && mark != '\x92' && mark != '\xB0') return false;
  if (i + 1 >= w.size()) return true;
  const char next = w[i + 1];
  return IsDigit(static_cast<unsigned char>(next)) || std::string_view(kEndingLetters).find(next) != std::string_view::npos;
}

std::string_view TrimText(std::string_view Text) {
  while (!Text.empty() && static_cast<unsigned char>(Text.front()) <= ' ') Text.remove_prefix(1);
  while (!Text.empty() && static_cast<unsigned char>(Text.back()) <= ' ') Text.remove_suffix(1);
  return Text;
}
