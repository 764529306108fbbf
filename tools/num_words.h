// Numbers and sums of money written out in words, in seven languages. `TNumWords` holds one
// language driver chosen by a language and a country (the country gives the currency names).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One language's rules. Numbers are 64-bit, so every 32-bit value, the most negative included,
// has a magnitude; drivers with a limit raise above it. Texts are UTF-16.
class TNumWordsLangDriver {
public:
  // Sets the currency names of a telephone country code; raises EConvertError
  // "NumWords - Country Not Supported" for any other country.
  explicit TNumWordsLangDriver(int country);
  virtual ~TNumWordsLangDriver() = default;

  // Whether the language distinguishes the style byte (no caller relies on the answer).
  virtual bool StyleMatters(uint8_t style) const { return false; }
  // The number in words; `style` is the driver's style byte.
  virtual std::u16string NumberToWords(int64_t number, uint8_t style) const = 0;
  // An amount of money: units and sub-units with the currency names (Euro names when `euro`).
  virtual std::u16string CurrencyToWords(int64_t units, int64_t subUnits, bool euro) const = 0;

  std::u16string UnitSingular, UnitPlural, SubUnitSingular, SubUnitPlural;
  // Russian "few" forms (2 to 4): "Рубля", "Копейки"; the plural elsewhere.
  std::u16string UnitFew, SubUnitFew;
  uint8_t Style = 0;

protected:
  // The unit or sub-unit name for an amount in the English manner (singular for exactly 1).
  std::u16string UnitName(int64_t units, bool euro) const;
  std::u16string SubUnitName(int64_t subUnits, bool euro) const;
};

// Creates the driver for a primary language identifier (7 German, 9 English, 10 Spanish,
// 12 French, 16 Italian, 25 Russian, 31 Turkish); raises EConvertError
// "Language not supported: <name>" for any other.
std::unique_ptr<TNumWordsLangDriver> CreateNumWordsDriver(int country, int language);

// The facade: one driver at a time.
class TNumWords {
public:
  // Replaces the driver by the one for `language` with `country`.
  void SetLanguage(int country, int language);
  // The number in words; without a driver, first takes one from the user's default locale.
  std::u16string NumberToWords(int64_t number, uint8_t style);
  // The current driver (after SetLanguage or a first NumberToWords); null before.
  TNumWordsLangDriver* Driver() const { return driver_.get(); }

private:
  std::unique_ptr<TNumWordsLangDriver> driver_;
};

// The number in words in each language the program offers, in its order (Russian, English,
// German, French, Italian, Spanish, Turkish); a language that cannot say it is left out, so one
// refusal never hides the others.
std::vector<std::u16string> NumberToWordsInEveryLanguage(int64_t number);

// The program-wide instance.
TNumWords& NumWords();
