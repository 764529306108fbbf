#include "tools/num_words.h"

#include <array>
#include <string_view>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/locale.h"
#include "textcore/locale_text.h"

namespace {

using Text = std::u16string;
using Words = std::u16string_view;

constexpr uint64_t kBillion = 1'000'000'000;
constexpr uint64_t kMillion = 1'000'000;

// Messages are system-code-page text; a character the page lacks becomes "?".
std::string SystemText(Words text) { return WideStringToAnsi(text, SystemCodePage()); }

uint64_t Magnitude(int64_t n) { return n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n); }

Text Trim(Text s) {
  const size_t first = s.find_first_not_of(u' ');
  if (first == Text::npos) return {};
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

// Joins two parts with one blank, leaving out an empty one.
Text Join(Words a, Words b) {
  if (a.empty()) return Text(b);
  if (b.empty()) return Text(a);
  return Text(a) + u" " + Text(b);
}

void RaiseLimit(Words message) { throw Exception(SystemText(message)); }

// The words of a number's magnitude, with `minus` in front of a negative number's.
template <typename Positive>
Text Signed(int64_t number, Words minus, Positive positive) {
  return number < 0 ? Text(minus) + positive(Magnitude(number)) : positive(Magnitude(number));
}

// ---------------------------------------------------------------- English

class TNumWordsEnglish : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  Text NumberToWords(int64_t number, uint8_t style) const override {
    return Signed(number, u"Minus ", Positive);
  }

  Text CurrencyToWords(int64_t units, int64_t subUnits, bool euro) const override {
    Text text = (units == 0 ? Text(u"no") : NumberToWords(units, Style)) + u" " + UnitName(units, euro);
    if (subUnits != 0)
      return text + u" and " + SmallNumber(subUnits) + u" " + SubUnitName(subUnits, euro);
    return text + u" only";
  }

private:
  static constexpr std::array<Words, 10> kUnits = {u"",     u"one", u"two",   u"three", u"four",
                                                   u"five", u"six", u"seven", u"eight", u"nine"};
  static constexpr std::array<Words, 10> kTeens = {u"",        u"eleven",   u"twelve",  u"thirteen",
                                                   u"fourteen", u"fifteen", u"sixteen", u"seventeen",
                                                   u"eighteen", u"nineteen"};
  static constexpr std::array<Words, 10> kTens = {u"",      u"ten",   u"twenty",  u"thirty", u"forty",
                                                  u"fifty", u"sixty", u"seventy", u"eighty", u"ninety"};

  static Text Group(unsigned n) {
    const unsigned rest = n % 100, hundreds = n / 100;
    Text words = rest >= 11 && rest <= 19 ? Text(kTeens[rest - 10]) : Join(kTens[rest / 10], kUnits[rest % 10]);
    if (hundreds == 0) return words;
    return Trim(Text(kUnits[hundreds]) + u" hundred " + (words.empty() ? Text() : u"and " + words));
  }

  // The group routine below a thousand, the whole rule above (sub-units are seldom that many).
  Text SmallNumber(int64_t n) const {
    return n > 0 && n < 1000 ? Group(static_cast<unsigned>(n)) : NumberToWords(n, Style);
  }

  static Text Positive(uint64_t n) {
    if (n > 999'999'999) RaiseLimit(u"Can't express more than 999,999,999 in words");
    static constexpr std::array<Words, 3> kScale = {u"", u" thousand", u" million"};
    Text built;
    for (int level = 0; n != 0; ++level, n /= 1000) {
      const unsigned group = n % 1000;
      if (group == 0) continue;
      built = Group(group) + Text(kScale[level]) + (built.empty() ? Text() : u", " + built);
    }
    return Trim(built);
  }
};

// ---------------------------------------------------------------- Russian

class TNumWordsRussian : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  Text NumberToWords(int64_t number, uint8_t style) const override {
    return Signed(number, u"минус ", Positive);
  }

  // Names agree with the number: один Рубль, два Рубля, пять Рублей; одна Копейка, две Копейки.
  Text CurrencyToWords(int64_t units, int64_t subUnits, bool euro) const override {
    const Text unitName = euro ? UnitName(units, true) : Form(units, UnitSingular, UnitFew, UnitPlural);
    Text text = (units == 0 ? Text(u"нет") : NumberToWords(units, Style)) + u" " + unitName;
    if (subUnits == 0) return text + u" ровно";
    const Text subName =
        euro ? SubUnitName(subUnits, true) : Form(subUnits, SubUnitSingular, SubUnitFew, SubUnitPlural);
    // Копейка is feminine: the sub-units take the feminine one and two of the thousands.
    const uint64_t sub = Magnitude(subUnits);
    Text words = sub < 1000 ? Group(static_cast<unsigned>(sub), 1).Words : Positive(sub);
    if (subUnits < 0) words = u"минус " + words;
    return text + u" и " + words + u" " + subName;
  }

private:
  static constexpr std::array<Words, 10> kUnits = {u"",      u"один",  u"два",    u"три",    u"четыре",
                                                   u"пять", u"шесть", u"семь", u"восемь", u"девять"};
  static constexpr std::array<Words, 10> kTeens = {
      u"",            u"одиннадцать", u"двенадцать",   u"тринадцать", u"четырнадцать",
      u"пятнадцать", u"шестнадцать", u"семнадцать", u"восемнадцать", u"девятнадцать"};
  static constexpr std::array<Words, 10> kTens = {u"",           u"десять",     u"двадцать",
                                                  u"тридцать",  u"сорок",      u"пятьдесят",
                                                  u"шестьдесят", u"семьдесят", u"восемьдесят",
                                                  u"девяносто"};
  static constexpr std::array<Words, 10> kHundreds = {u"",         u"сто",      u"двести",
                                                      u"триста",   u"четыреста", u"пятьсот",
                                                      u"шестьсот", u"семьсот", u"восемьсот",
                                                      u"девятьсот"};

  struct GroupWords {
    Text Words;
    Text Ending;  // of "тысяч" or "миллион"
  };

  // A group below a thousand; level 0 units, 1 thousands, 2 millions.
  static GroupWords Group(unsigned n, int level) {
    const unsigned rest = n % 100, digit = n % 10;
    GroupWords group;
    if (rest >= 11 && rest <= 19) {
      group.Words = Text(kTeens[rest - 10]);
      if (level == 2) group.Ending = u"ов";
    } else {
      if (digit > 0) {
        if (level == 1 && digit == 1) {
          group.Words = u"одна";
          group.Ending = u"а";
        } else if (level == 1 && digit == 2) {
          group.Words = u"две";
          group.Ending = u"и";
        } else {
          group.Words = Text(kUnits[digit]);
          if (digit == 3 || digit == 4) group.Ending = u"и";
        }
      }
      if (level == 2) group.Ending = digit == 1 ? u"" : digit >= 2 && digit <= 4 ? u"а" : u"ов";
      group.Words = Join(kTens[rest / 10], group.Words);
    }
    group.Words = Trim(Join(kHundreds[n / 100], group.Words));
    return group;
  }

  static Text Positive(uint64_t n) {
    if (n > 999'999'999) RaiseLimit(u"Can't express more than 999,999,999 in words");
    static constexpr std::array<Words, 3> kScale = {u"", u" тысяч", u" миллион"};
    Text built;
    for (int level = 0; n != 0; ++level, n /= 1000) {
      const unsigned value = n % 1000;
      if (value == 0) continue;
      const GroupWords group = Group(value, level);
      const Text scale = level == 0 ? Text() : Text(kScale[level]) + group.Ending;
      built = group.Words + scale + (built.empty() ? Text() : u", " + built);
    }
    return Trim(built);
  }

  static Text Form(int64_t n, Words one, Words few, Words many) {
    const uint64_t m = Magnitude(n);
    const uint64_t rest = m % 100, digit = m % 10;
    if (rest >= 11 && rest <= 14) return Text(many);
    if (digit == 1) return Text(one);
    if (digit >= 2 && digit <= 4) return Text(few.empty() ? many : few);
    return Text(many);
  }
};

// ---------------------------------------------------------------- German

class TNumWordsDeutch : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  bool StyleMatters(uint8_t) const override { return true; }

  Text NumberToWords(int64_t number, uint8_t style) const override {
    return Signed(number, u"minus ", Positive);
  }

  Text CurrencyToWords(int64_t units, int64_t subUnits, bool euro) const override {
    Text text;
    if (units == 1)
      text = u"eine " + UnitName(1, euro);
    else if (units == -1)
      text = u"minus eine " + UnitName(1, euro);
    else if (units != 0)
      text = NumberToWords(units, Style) + u" " + UnitName(2, euro);
    else if (subUnits == 0)
      text = u"null " + UnitName(2, euro);
    if (subUnits > 0) {
      if (units != 0)
        text += u" " + NumberToWords(subUnits, Style);
      else if (subUnits == 1)
        text += u"ein " + SubUnitName(1, euro);
      else
        text += NumberToWords(subUnits, Style) + u" " + SubUnitName(2, euro);
    }
    return text;
  }

private:
  static constexpr std::array<Words, 18> kSmall = {
      u"",     u"ein",  u"zwei", u"drei", u"vier",  u"fünf",     u"sechs",    u"sieben",   u"acht",
      u"neun", u"zehn", u"elf",  u"zwölf", u"dreizehn", u"vierzehn", u"fünfzehn", u"sechzehn", u"siebzehn"};
  static constexpr std::array<Words, 10> kTens = {u"",        u"zehn",     u"zwanzig", u"dreissig",
                                                  u"vierzig", u"fünfzig", u"sechzig", u"siebzig",
                                                  u"achtzig", u"neunzig"};

  static Text Positive(uint64_t n) {
    if (n == 0) return u"null";
    if (n == 1) return u"eins";
    return Compose(n);
  }

  static Text Compose(uint64_t n) {
    if (n == 0) return {};
    if (n < 18) return Text(kSmall[n]);
    if (n < 20) return Text(kSmall[n - 10]) + u"zehn";
    if (n < 100) {
      if (n % 10 == 0) return Text(kTens[n / 10]);
      return Text(kSmall[n % 10]) + u"und" + Text(kTens[n / 10]);
    }
    if (n < 1000) return Compose(n / 100) + u"hundert" + Compose(n % 100);
    if (n < kMillion) return Compose(n / 1000) + u"tausend" + Compose(n % 1000);
    const uint64_t millions = n / kMillion;
    return (millions == 1 ? Text(u"eine") : Compose(millions)) + u"million" +
           (millions > 1 ? Text(u"en") : Text()) + Compose(n % kMillion);
  }
};

// ---------------------------------------------------------------- Spanish

class TNumWordsEspanol : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  bool StyleMatters(uint8_t style) const override { return style != 2; }

  Text NumberToWords(int64_t number, uint8_t style) const override {
    if (number < 0) throw EConvertError(SystemText(u"NumWords - Debe Ser un Número Positivo!!"));
    if (number > 999'999'999)
      throw EConvertError(SystemText(u"NumWords - Lo siento, Esto es solo un entero ..."));
    const unsigned millions = static_cast<unsigned>(number / kMillion);
    const unsigned low = static_cast<unsigned>(number % kMillion);
    std::array<unsigned, 6> d;  // hundred-thousands ... units
    for (int i = 5, v = static_cast<int>(low); i >= 0; --i, v /= 10) d[i] = v % 10;

    Text text;
    if (millions == 1)
      text = u"un millon ";
    else if (millions > 1)
      text = NumberToWords(millions, style) + u" millones ";

    text += Hundreds(d[0], d[1], d[2]);
    if (d[2] == 1 && d[1] != 1) {
      // "un" before "mil" stands alone only after other digits of the group (ciento un mil).
      if (d[1] == 2)
        text += u"veintiun";
      else if (d[1] >= 3)
        text += Text(Word(d[1] * 10)) + u" y un";
      else if (d[0] != 0)
        text += u"un";
    } else {
      text += TensUnits(d[1], d[2]);
    }
    if (d[0] || d[1] || d[2]) text += u" mil ";

    text += Hundreds(d[3], d[4], d[5]) + TensUnits(d[4], d[5]);
    return text.empty() ? Text(u"Cero") : text;
  }

  Text CurrencyToWords(int64_t, int64_t, bool) const override {
    return u"Currency support not yet included";
  }

private:
  static Words Word(unsigned value) {
    switch (value) {
    case 1: return u"uno";   case 2: return u"dos";    case 3: return u"tres";
    case 4: return u"cuatro"; case 5: return u"cinco"; case 6: return u"seis";
    case 7: return u"siete"; case 8: return u"ocho";   case 9: return u"nueve";
    case 10: return u"diez"; case 11: return u"once";  case 12: return u"doce";
    case 13: return u"trece"; case 14: return u"catorce"; case 15: return u"quince";
    case 20: return u"veinte"; case 30: return u"treinta"; case 40: return u"cuarenta";
    case 50: return u"cincuenta"; case 60: return u"sesenta"; case 70: return u"setenta";
    case 80: return u"ochenta"; case 90: return u"noventa"; case 100: return u"cien";
    case 500: return u"quinientos"; case 700: return u"setecientos"; case 900: return u"novecientos";
    default: return u"";
    }
  }

  static Text Hundreds(unsigned h, unsigned t, unsigned u) {
    switch (h) {
    case 0: return {};
    case 1: return t == 0 && u == 0 ? Text(u"cien") : Text(u"ciento ");
    case 5: case 7: case 9: return Text(Word(h * 100)) + u" ";
    default: return Text(Word(h)) + u"cientos ";
    }
  }

  static Text TensUnits(unsigned t, unsigned u) {
    switch (t) {
    case 0: return Text(Word(u));
    case 1: return u > 5 ? u"dieci" + Text(Word(u)) : Text(Word(10 + u));
    case 2: return u == 0 ? Text(u"veinte") : u"veinti" + Text(Word(u));
    default: return u == 0 ? Text(Word(t * 10)) : Text(Word(t * 10)) + u" y " + Text(Word(u));
    }
  }
};

// ---------------------------------------------------------------- Italian

class TNumWordsItaliano : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  bool StyleMatters(uint8_t style) const override { return style != 2; }

  Text NumberToWords(int64_t number, uint8_t style) const override {
    const Text words = Positive(Magnitude(number));
    return number < 0 ? u"Meno " + words : words;
  }

  Text CurrencyToWords(int64_t units, int64_t subUnits, bool euro) const override {
    if (euro) return u"Euro currency support not yet included";
    Text text = Positive(Magnitude(units));
    if (subUnits != 0) text += u" virgola " + Positive(Magnitude(subUnits));
    return units < 0 || subUnits < 0 ? u"Meno " + text : text;
  }

private:
  static constexpr std::array<Words, 21> kUnits = {
      u"Zero",   u"Uno",     u"Due",       u"Tre",         u"Quattro",  u"Cinque",    u"Sei",
      u"Sette",  u"Otto",    u"Nove",      u"Dieci",       u"Undici",   u"Dodici",    u"Tredici",
      u"Quattordici", u"Quindici", u"Sedici", u"Diciassette", u"Diciotto", u"Diciannove", u"Venti"};
  static constexpr std::array<Words, 10> kTens = {u"",          u"",         u"Venti",   u"Trenta",
                                                  u"Quaranta",  u"Cinquanta", u"Sessanta", u"Settanta",
                                                  u"Ottanta",   u"Novanta"};

  static bool IsVowel(char16_t c) {
    c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    return c == u'A' || c == u'E' || c == u'I' || c == u'O' || c == u'U';
  }

  // Joins two words, dropping the first's final vowel before a vowel (Venti + Otto = VentOtto).
  static Text Elide(Text first, Words second) {
    if (!first.empty() && !second.empty() && IsVowel(first.back()) && IsVowel(second.front()))
      first.pop_back();
    return first + Text(second);
  }

  static Text Tens(uint64_t n) {
    if (n == 0) return {};
    if (n <= 20) return Text(kUnits[n]);
    return Elide(Text(kTens[n / 10]), n % 10 ? kUnits[n % 10] : Words());
  }

  static Text Hundreds(uint64_t n) {
    const uint64_t h = n / 100;
    const Text head = h == 0 ? Text() : h == 1 ? Text(u"Cento") : Text(kUnits[h]) + u"cento";
    return Elide(head, Tens(n % 100));
  }

  static Text Thousands(uint64_t n) {
    const uint64_t t = n / 1000, rest = n % 1000;
    Text text = t == 0 ? Text() : t == 1 ? Text(u"Mille") : Hundreds(t) + u"mila";
    return rest ? text + Hundreds(rest) : text;
  }

  static Text Millions(uint64_t n) {
    const uint64_t m = n / kMillion, rest = n % kMillion;
    Text text = m == 0 ? Text() : m == 1 ? Text(u"Unmilione") : Hundreds(m) + u"milioni";
    return rest ? text + Thousands(rest) : text;
  }

  static Text Positive(uint64_t n) {
    if (n < 20) return Text(kUnits[n]);
    const uint64_t g = n / kBillion, rest = n % kBillion;
    Text text = g == 0 ? Text() : g == 1 ? Text(u"Unmiliardo")
                                         : (g < kBillion ? Millions(g) : Positive(g)) + u"miliardi";
    return rest ? text + Millions(rest) : text;
  }
};

// ---------------------------------------------------------------- French

class TNumWordsFrancais : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  bool StyleMatters(uint8_t style) const override { return style != 2; }

  // The sign is dropped: a negative number gives the words of its magnitude.
  Text NumberToWords(int64_t number, uint8_t style) const override {
    const uint64_t n = Magnitude(number);
    if (n >= 1'000'000'000'000)
      throw EConvertError("NumWords - number too large for French words");
    if (n == 0) return u"zéro";
    if (n < 10) return Text(kUnits[n]);

    auto digit = [n](int fromRight) {
      uint64_t v = n;
      for (int i = 0; i < fromRight; ++i) v /= 10;
      return static_cast<unsigned>(v % 10);
    };
    unsigned length = 0;
    for (uint64_t v = n; v; v /= 10) ++length;

    Text built = TwoDigits(digit(1), digit(0));
    if (length >= 3) {
      const unsigned h = digit(2);
      const Text blank = built.empty() && h >= 2 ? Text(u"s") : Text(u" ");
      built = (h > 1 ? Text(kUnits[h]) : Text()) + (h ? Text(u" cent") : Text()) + blank + built;
    }
    if (length >= 4) built = Group(digit(5), digit(4), digit(3), u" mille", false) + built;
    if (length >= 7) built = Group(digit(8), digit(7), digit(6), u" million", true) + built;
    if (length >= 10) built = Group(digit(11), digit(10), digit(9), u" milliard", true) + built;
    return Tidy(built);
  }

  Text CurrencyToWords(int64_t units, int64_t subUnits, bool euro) const override {
    Text text = NumberToWords(units, Style) + u" " + UnitName(units, euro);
    if (subUnits > 0) text += u" et " + NumberToWords(subUnits, Style) + u" " + SubUnitName(subUnits, euro);
    return text;
  }

private:
  static constexpr std::array<Words, 20> kUnits = {
      u"",      u"un",     u"deux",     u"trois",    u"quatre",   u"cinq",   u"six",
      u"sept",  u"huit",   u"neuf",     u"dix",      u"onze",     u"douze",  u"treize",
      u"quatorze", u"quinze", u"seize", u"dix-sept", u"dix-huit", u"dix-neuf"};
  static constexpr std::array<Words, 10> kTens = {u"",          u"",         u"vingt",    u"trente",
                                                  u"quarante",  u"cinquante", u"soixante", u"soixante",
                                                  u"quatre-vingt", u"quatre-vingt"};

  static Text TwoDigits(unsigned t, unsigned u) {
    if (t * 10 + u < 20) return Text(kUnits[t * 10 + u]);
    const Text tens(kTens[t]);
    if (t != 7 && t != 9) {
      if (u == 1) return tens + (t == 8 ? u"-" : u" et ") + u"un";
      if (u >= 2) return tens + u"-" + Text(kUnits[u]);
      return t == 8 ? tens + u"s" : tens;
    }
    if (u == 0) return tens + u"-dix";
    return tens + (u == 1 && t == 7 ? u" et " : u"-") + Text(kUnits[10 + u]);
  }

  // A thousands, millions or milliards group; `counted` groups take "s" and always their words.
  static Text Group(unsigned h, unsigned t, unsigned u, Words name, bool counted) {
    const unsigned value = h * 100 + t * 10 + u;
    Text text = h > 1 ? Text(kUnits[h]) : Text();
    // Counted groups are nouns' numbers (deux cents millions); only a lone one is left out
    // before "mille" (mille, but trois cent un mille).
    if (h) text += counted && h > 1 && t == 0 && u == 0 ? u" cents " : u" cent ";
    if (counted || value > 1) {
      Text tens = TwoDigits(t, u);
      // "vingt" and "cent" take no plural "s" before the invariable "mille".
      if (!counted && tens.ends_with(u"vingts")) tens.pop_back();
      text += tens;
    }
    if (value) text += Text(name);
    if (counted && value > 1) text += u"s";
    return text + u" ";
  }

  static Text Tidy(Text text) {
    for (size_t at; (at = text.find(u"  ")) != Text::npos;) text.erase(at, 1);
    return Trim(text);
  }
};

// ---------------------------------------------------------------- Turkish

class TNumWordsTurkce : public TNumWordsLangDriver {
public:
  using TNumWordsLangDriver::TNumWordsLangDriver;

  Text NumberToWords(int64_t number, uint8_t style) const override {
    return Signed(number, u"Minus ", Positive);
  }

  Text CurrencyToWords(int64_t units, int64_t subUnits, bool) const override {
    Text text = (units == 0 ? Text(u"no") : NumberToWords(units, Style)) + u" " +
                (units == 1 ? UnitSingular : UnitPlural);
    if (subUnits == 0) return text + u" only";
    const uint64_t sub = Magnitude(subUnits);
    return text + u" " + (sub < 1000 ? Group(static_cast<unsigned>(sub)) : Positive(sub)) + u" " +
           (subUnits == 1 ? SubUnitSingular : SubUnitPlural);
  }

private:
  static constexpr std::array<Words, 10> kUnits = {u"",      u"bir",   u"iki",  u"üç",    u"dört",
                                                   u"beş",   u"altı",  u"yedi", u"sekiz", u"dokuz"};
  static constexpr std::array<Words, 10> kTens = {u"",      u"on",     u"yirmi",  u"otuz",   u"kırk",
                                                  u"elli",  u"altmış", u"yetmiş", u"seksen", u"doksan"};

  static Text Group(unsigned n) {
    const unsigned h = n / 100, rest = n % 100;
    const Text tail = Join(kTens[rest / 10], kUnits[rest % 10]);
    const Text head = h == 0 ? Text() : h == 1 ? Text(u"yüz") : Text(kUnits[h]) + u" yüz";
    return Trim(Join(head, tail));
  }

  static Text Positive(uint64_t n) {
    if (n > 999'999'999) RaiseLimit(u"999,999,999 dan büyük sayılar yazıya çevirilemiyor");
    static constexpr std::array<Words, 3> kScale = {u"", u" bin", u" milyon"};
    Text built;
    for (int level = 0; n != 0; ++level, n /= 1000) {
      const unsigned value = n % 1000;
      if (value == 0) continue;
      // A thousand is "bin" alone, never "bir bin".
      const Text group = level == 1 && value == 1 ? Text(u"bin") : Group(value) + Text(kScale[level]);
      built = Join(group, built);
    }
    return built;
  }
};

struct Currency {
  std::initializer_list<int> Countries;
  Words UnitSingular, UnitPlural, SubUnitSingular, SubUnitPlural;
  uint8_t Style;
  Words UnitFew = {}, SubUnitFew = {};
};

const Currency kCurrencies[] = {
    {{1, 2, 61, 64}, u"Dollar", u"Dollars", u"Cent", u"Cents", 0},
    {{7}, u"Рубль", u"Рублей", u"Копейка", u"Копеек", 0, u"Рубля", u"Копейки"},
    {{33}, u"Franc", u"Francs", u"Centime", u"Centimes", 0},
    {{39}, u"Lira", u"Lire", u"", u"", 1},
    {{41}, u"Franken", u"Franken", u"Rappen", u"Rappen", 0},
    {{43}, u"Schilling", u"Schillinge", u"Grosche", u"Groschen", 0},
    {{44, 353}, u"Pound", u"Pounds", u"Penny", u"Pence", 2},
    {{49}, u"Mark", u"Mark", u"Pfennig", u"Pfennige", 0},
    {{90}, u"Lira", u"Lira", u"Kuruş", u"Kuruş", 0},
};

} // namespace

TNumWordsLangDriver::TNumWordsLangDriver(int country) {
  for (const Currency& c : kCurrencies)
    for (int code : c.Countries)
      if (code == country) {
        UnitSingular = c.UnitSingular;
        UnitPlural = c.UnitPlural;
        SubUnitSingular = c.SubUnitSingular;
        SubUnitPlural = c.SubUnitPlural;
        UnitFew = c.UnitFew;
        SubUnitFew = c.SubUnitFew;
        Style = c.Style;
        return;
      }
  throw EConvertError("NumWords - Country Not Supported");
}

std::u16string TNumWordsLangDriver::UnitName(int64_t units, bool euro) const {
  if (euro) return units == 1 ? u"Euro" : u"Euros";
  return units == 1 ? UnitSingular : UnitPlural;
}

std::u16string TNumWordsLangDriver::SubUnitName(int64_t subUnits, bool euro) const {
  if (euro) return subUnits == 1 ? u"Cent" : u"Cents";
  return subUnits == 1 ? SubUnitSingular : SubUnitPlural;
}

std::unique_ptr<TNumWordsLangDriver> CreateNumWordsDriver(int country, int language) {
  switch (language) {
  case 7: return std::make_unique<TNumWordsDeutch>(country);
  case 9: return std::make_unique<TNumWordsEnglish>(country);
  case 10: return std::make_unique<TNumWordsEspanol>(country);
  case 12: return std::make_unique<TNumWordsFrancais>(country);
  case 16: return std::make_unique<TNumWordsItaliano>(country);
  case 25: return std::make_unique<TNumWordsRussian>(country);
  case 31: return std::make_unique<TNumWordsTurkce>(country);
  }
  // The language's name as its default sublanguage's locale gives it.
  const LCID lcid = static_cast<LCID>(language & 0x3FF) | 0x400;
  throw EConvertError("Language not supported: " + LocaleLanguageDisplayName(lcid));
}

void TNumWords::SetLanguage(int country, int language) {
  driver_.reset();
  driver_ = CreateNumWordsDriver(country, language);
}

std::u16string TNumWords::NumberToWords(int64_t number, uint8_t style) {
  if (!driver_) {
    const LCID lcid = ResolveLcid(LOCALE_USER_DEFAULT);
    SetLanguage(static_cast<int>(LocaleCountryCode(lcid)), static_cast<int>(lcid & 0x3FF));
  }
  return driver_->NumberToWords(number, style);
}

std::vector<std::u16string> NumberToWordsInEveryLanguage(int64_t number) {
  static constexpr std::pair<int, int> kLanguages[] = {{7, 25},  {1, 9},    {49, 7},  {33, 12},
                                                       {39, 16}, {353, 10}, {90, 31}};
  std::vector<std::u16string> words;
  for (const auto& [country, language] : kLanguages) {
    try {
      words.push_back(CreateNumWordsDriver(country, language)->NumberToWords(number, 2));
    } catch (const Exception&) {
      // This language has no words for the number; the others still answer.
    }
  }
  return words;
}

TNumWords& NumWords() {
  static TNumWords instance;
  return instance;
}
