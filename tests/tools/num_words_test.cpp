#include "tools/num_words.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/locale.h"

namespace {

struct Case {
  int Language;
  int64_t Number;
  std::u16string Words;
};

// Country codes giving each language its usual currency.
int CountryOf(int language) {
  switch (language) {
  case 7: return 49;
  case 12: return 33;
  case 16: return 39;
  case 25: return 7;
  case 31: return 90;
  default: return 1;
  }
}

std::u16string Say(int language, int64_t number) {
  return CreateNumWordsDriver(CountryOf(language), language)->NumberToWords(number, 2);
}

TEST(NumWords, NumbersInEachLanguage) {
  const Case cases[] = {
      {9, 121, u"one hundred and twenty one"},
      {9, 1'000'001, u"one million, one"},
      {9, 100, u"one hundred"},
      {9, 0, u""},
      {9, -999'999'999, u"Minus nine hundred and ninety nine million, nine hundred and ninety nine "
                         u"thousand, nine hundred and ninety nine"},
      {25, 21, u"двадцать один"},
      {25, 1000, u"одна тысяча"},
      {25, 2000, u"две тысячи"},
      {25, 5000, u"пять тысяч"},
      {25, 1001, u"одна тысяча, один"},
      {25, 13'000, u"тринадцать тысяч"},
      {25, 1'000'000, u"один миллион"},
      {25, 2'000'000, u"два миллиона"},
      {25, 5'000'000, u"пять миллионов"},
      {25, 10'000'000, u"десять миллионов"},
      {25, 100'000'000, u"сто миллионов"},
      {25, -7, u"минус семь"},
      {7, 17, u"siebzehn"},
      {7, 21, u"einundzwanzig"},
      {7, 101, u"einhundertein"},
      {7, 1000, u"eintausend"},
      {7, 2'000'000, u"zweimillionen"},
      {7, 1'000'000, u"einemillion"},
      {7, -1, u"minus eins"},
      {7, 0, u"null"},
      {10, 0, u"Cero"},
      {10, 16, u"dieciseis"},
      {10, 21, u"veintiuno"},
      {10, 1000, u" mil "},
      {10, 21'000, u"veintiun mil "},
      {10, 100'000, u"cien mil "},
      {10, 101'000, u"ciento un mil "},
      {10, 2'500'000, u"dos millones quinientos  mil "},
      {16, 20, u"Venti"},
      {16, 21, u"VentUno"},
      {16, 108, u"CentOtto"},
      {16, 2000, u"Duemila"},
      {16, 1'000'000, u"Unmilione"},
      {16, -5, u"Meno Cinque"},
      {12, 71, u"soixante et onze"},
      {12, 80, u"quatre-vingts"},
      {12, 81, u"quatre-vingt-un"},
      {12, 200, u"deux cents"},
      {12, 201, u"deux cent un"},
      {12, 1000, u"mille"},
      {12, 2'000'000, u"deux millions"},
      {12, -21, u"vingt et un"},
      {12, 80'000, u"quatre-vingt mille"},
      {12, 301'000, u"trois cent un mille"},
      {12, 500'000'000, u"cinq cents millions"},
      {31, 0, u""},
      {31, 115, u"yüz on beş"},
      {31, 1500, u"bin beş yüz"},
      {31, 2000, u"iki bin"},
      {31, 1'001'000, u"bir milyon bin"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Say(c.Language, c.Number), c.Words) << "language " << c.Language << ", " << c.Number;
}

TEST(NumWords, LimitsAndRefusals) {
  EXPECT_THROW(
      {
        try {
          Say(9, 1'000'000'000);
        } catch (const Exception& e) {
          EXPECT_EQ(e.Message, "Can't express more than 999,999,999 in words");
          throw;
        }
      },
      Exception);
  EXPECT_THROW(Say(9, INT32_MIN), Exception);
  EXPECT_THROW(Say(25, -1'000'000'000), Exception);
  EXPECT_THROW(Say(31, 1'000'000'000), Exception);
  EXPECT_THROW(Say(10, -1), EConvertError);
  EXPECT_THROW(Say(10, 1'000'000'000), EConvertError);
  // No upper limit in German; the most negative 64-bit number has a magnitude.
  EXPECT_EQ(Say(7, 3'000'000'000), u"dreitausendmillionen");
  EXPECT_FALSE(Say(16, INT64_MIN).empty());
  EXPECT_FALSE(Say(7, INT64_MIN).empty());
}

TEST(NumWords, Currencies) {
  auto english = CreateNumWordsDriver(1, 9);
  EXPECT_EQ(english->CurrencyToWords(5, 0, false), u"five Dollars only");
  EXPECT_EQ(english->CurrencyToWords(0, 50, false), u"no Dollars and fifty Cents");
  EXPECT_EQ(english->CurrencyToWords(1, 1, true), u"one Euro and one Cent");

  auto russian = CreateNumWordsDriver(7, 25);
  EXPECT_EQ(russian->CurrencyToWords(1, 1, false), u"один Рубль и одна Копейка");
  EXPECT_EQ(russian->CurrencyToWords(2, 22, false), u"два Рубля и двадцать две Копейки");
  EXPECT_EQ(russian->CurrencyToWords(11, 5, false), u"одиннадцать Рублей и пять Копеек");
  EXPECT_EQ(russian->CurrencyToWords(0, 0, false), u"нет Рублей ровно");

  auto german = CreateNumWordsDriver(49, 7);
  EXPECT_EQ(german->CurrencyToWords(1, 0, false), u"eine Mark");
  EXPECT_EQ(german->CurrencyToWords(0, 1, false), u"ein Pfennig");
  EXPECT_EQ(german->CurrencyToWords(3, 20, false), u"drei Mark zwanzig");

  EXPECT_EQ(CreateNumWordsDriver(1, 10)->CurrencyToWords(1, 0, false), u"Currency support not yet included");
  EXPECT_EQ(CreateNumWordsDriver(39, 16)->CurrencyToWords(-3, 5, false), u"Meno Tre virgola Cinque");
  EXPECT_EQ(CreateNumWordsDriver(33, 12)->CurrencyToWords(2, 1, false), u"deux Francs et un Centime");
  EXPECT_EQ(CreateNumWordsDriver(90, 31)->CurrencyToWords(1, 0, false), u"bir Lira only");

  auto pounds = CreateNumWordsDriver(44, 9);
  EXPECT_EQ(pounds->UnitSingular, u"Pound");
  EXPECT_EQ(pounds->SubUnitPlural, u"Pence");
  EXPECT_EQ(pounds->Style, 2);
}

TEST(NumWords, CountryAndLanguageErrors) {
  try {
    CreateNumWordsDriver(55, 9);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "NumWords - Country Not Supported");
  }
  try {
    CreateNumWordsDriver(1, 14);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Language not supported: Hungarian");
  }
}

TEST(NumWords, EveryLanguageAnswersWhatItCan) {
  const std::vector<std::u16string> five = NumberToWordsInEveryLanguage(5);
  ASSERT_EQ(five.size(), 7u);
  EXPECT_EQ(five[0], u"пять");
  EXPECT_EQ(five[6], u"beş");
  // Spanish refuses a negative number, the others still say it.
  const std::vector<std::u16string> minus = NumberToWordsInEveryLanguage(-5);
  EXPECT_EQ(minus.size(), 6u);
  EXPECT_EQ(minus[0], u"минус пять");
  // Russian, English and Turkish stop below two milliards; German, French and Italian go on.
  const std::vector<std::u16string> large = NumberToWordsInEveryLanguage(2'000'000'000);
  ASSERT_EQ(large.size(), 3u);
  EXPECT_EQ(large[0], u"zweitausendmillionen");
  EXPECT_EQ(large[1], u"deux milliards");
  EXPECT_EQ(large[2], u"Duemiliardi");
}

TEST(NumWords, FacadeTakesTheDefaultLocale) {
  SetSystemDefaultLcid(1049);
  TNumWords words;
  EXPECT_EQ(words.NumberToWords(3, 2), u"три");
  words.SetLanguage(44, 9);
  EXPECT_EQ(words.NumberToWords(3, 2), u"three");
  EXPECT_EQ(words.Driver()->UnitPlural, u"Pounds");
}

} // namespace
