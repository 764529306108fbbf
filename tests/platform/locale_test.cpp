#include "platform/locale.h"

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/locale_names.h"
#include "platform/locale_names_icu.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

// UTF-8 source text as 8-bit text in `codePage`.
std::string In(unsigned codePage, const std::string& utf8) {
  return WideToAnsi(Utf8ToWide(utf8), codePage);
}
std::string Cp1251(const std::string& utf8) { return In(1251, utf8); }

// Runs a test under another system code page and default locale, restoring both afterwards.
class WesternSystem : public ::testing::Test {
protected:
  void SetUp() override {
    SetSystemCodePage(1252);
    SetSystemDefaultLcid(LANG_ENGLISH_US);
  }
  void TearDown() override {
    SetSystemCodePage(1251);
    SetSystemDefaultLcid(LANG_RUSSIAN);
  }
};

TEST(LocaleTable, CodePagesAndNames) {
  struct Case {
    LCID lcid;
    unsigned ansi, oem;
    std::string name;
  };
  const Case cases[] = {
      {1033, 1252, 437, "English (United States)"},
      {2057, 1252, 850, "English (United Kingdom)"},
      {1049, 1251, 866, "Russian"},
      {1058, 1251, 866, "Ukrainian"},
      {1059, 1251, 866, "Belarusian"},
      {1026, 1251, 866, "Bulgarian"},
      {1087, 1251, 866, "Kazakh"},
      {1031, 1252, 850, "German (Germany)"},
      {1045, 1250, 852, "Polish"},
      {1032, 1253, 737, "Greek"},
      {1055, 1254, 857, "Turkish"},
      {1037, 1255, 862, "Hebrew"},
      {1025, 1256, 720, "Arabic (Saudi Arabia)"},
      {1062, 1257, 775, "Latvian"},
      {3098, 1251, 855, "Serbian (Cyrillic)"},
      {2074, 1250, 852, "Serbian (Latin)"},
      {1054, 874, 874, "Thai"},
      {1041, 932, 932, "Japanese"},
      {2052, 936, 936, "Chinese (PRC)"},
      {1042, 949, 949, "Korean"},
      {1028, 950, 950, "Chinese (Taiwan)"},
      // The neutral locales, a bare primary language and a sort identifier.
      {0, 1251, 866, "Russian"},
      {LOCALE_USER_DEFAULT, 1251, 866, "Russian"},
      {LOCALE_SYSTEM_DEFAULT, 1251, 866, "Russian"},
      {0x0009, 1252, 437, "English (United States)"},
      {0x0019, 1251, 866, "Russian"},
      {0x10419, 1251, 866, "Russian"},
      // Unknown.
      {0x0477, 0, 0, ""},
      {0x7F, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    EXPECT_EQ(LocaleAnsiCodePage(c.lcid), c.ansi);
    EXPECT_EQ(LocaleOemCodePage(c.lcid), c.oem);
    EXPECT_EQ(LocaleLanguageDisplayName(c.lcid), c.name);
    EXPECT_EQ(IsLocaleKnown(c.lcid), c.ansi != 0);
    EXPECT_EQ(LocaleIcuName(c.lcid).empty(), c.ansi == 0);
  }
  const LCID requested[] = {1033, 2057, 1049, 1058, 1059, 1026, 1087, 1031, 1036, 1040,
                            3082, 1045, 1029, 1032, 1055, 1061, 1062, 1063, 1035, 1053,
                            1030, 1044, 1043, 1046, 2070, 1038, 1048, 1050, 2074, 3098,
                            1071, 1037, 1025, 1054, 1041, 2052, 1042, 1028};
  for (LCID lcid : requested) EXPECT_TRUE(IsLocaleKnown(lcid)) << lcid;
  // The table's own list is every identifier that is known and is its own resolution.
  std::vector<LCID> scanned;
  for (LCID lcid = 0; lcid < 0x10000; ++lcid)
    if (IsLocaleKnown(lcid) && ResolveLcid(lcid) == lcid) scanned.push_back(lcid);
  EXPECT_EQ(KnownLocales(), scanned);
}

TEST(LocaleNames, LocalisedNamesAreInTheInterfacesLanguage) {
  // Names in code page 1251; a capital first letter, as list items begin.
  const struct {
    LCID interface;
    LCID named;
    std::string full, language;
  } cases[] = {
      {1033, 1049, "Russian (Russia)", "Russian"},
      {1049, 1049, "\xd0\xf3\xf1\xf1\xea\xe8\xe9 (\xd0\xee\xf1\xf1\xe8\xff)", "\xd0\xf3\xf1\xf1\xea\xe8\xe9"},
      // The country in its short form, so that the name fits the main toolbar's combo.
      {1049, 1033, "\xc0\xed\xe3\xeb\xe8\xe9\xf1\xea\xe8\xe9 (\xd1\xd8\xc0)", "\xc0\xed\xe3\xeb\xe8\xe9\xf1\xea\xe8\xe9"},
      {1033, 1033, "English (US)", "English"},
      {1033, 2057, "English (UK)", "English"},
  };
  for (const auto& c : cases) {
    SetInterfaceLcid(c.interface);
    EXPECT_EQ(LocaleName(c.named, lnLocalized), c.full) << c.interface << " " << c.named;
    EXPECT_EQ(InterfaceLanguageName(c.named), c.language) << c.interface << " " << c.named;
    EXPECT_EQ(LocaleName(c.named, lnEnglish), c.named == 1049 ? "Russian" : "English");
  }
  SetInterfaceLcid(LANG_ENGLISH_US);
}

TEST(LocaleNames, BuiltInNamesAreThoseOfIcu) {
  // Every known locale in both interface languages the built-in table holds, and in one it does
  // not (answered by ICU); the first letter is capitalised for the lists, so case is compared apart.
  const auto icu = [](LCID lcid, TIcuLocaleName kind) {
    return AnsiLowerCase(WideToAnsi(
        IcuLocaleName(std::string(LocaleIcuName(lcid)), kind, std::string(LocaleIcuName(InterfaceLcid()))), CP_ACP));
  };
  for (LCID ui : {LANG_ENGLISH_US, LANG_RUSSIAN, LCID(1031)}) {
    SetInterfaceLcid(ui);
    for (LCID lcid : KnownLocales()) {
      EXPECT_EQ(AnsiLowerCase(LocaleName(lcid, lnLocalized)), icu(lcid, TIcuLocaleName::Localized)) << ui << " " << lcid;
      EXPECT_EQ(AnsiLowerCase(InterfaceLanguageName(lcid)), icu(lcid, TIcuLocaleName::Language)) << ui << " " << lcid;
      EXPECT_EQ(LocaleName(lcid, lnEnglish), WideToAnsi(IcuLocaleName(std::string(LocaleIcuName(lcid)), TIcuLocaleName::English, {}), CP_ACP));
      EXPECT_EQ(LocaleName(lcid, lnNative), WideToAnsi(IcuLocaleName(std::string(LocaleIcuName(lcid)), TIcuLocaleName::Native, {}), CP_ACP));
    }
  }
  SetInterfaceLcid(1031);
  EXPECT_EQ(LocaleName(1049, lnLocalized), "Russisch (Russland)");
  SetInterfaceLcid(LANG_ENGLISH_US);
  // Neutral and primary-language identifiers name the locale they stand for; a locale outside the
  // table is still named by ICU.
  EXPECT_EQ(LocaleName(LOCALE_SYSTEM_DEFAULT, lnEnglish), "Russian");
  EXPECT_EQ(LocaleName(9, lnLocalized), "English (US)");
  EXPECT_EQ(LocaleName(0x0437, lnEnglish), "Georgian");
  EXPECT_EQ(LocaleName(0x0437, lnLocalized), "Georgian (Georgia)");
}

TEST(LocaleTable, CodePageCharsets) {
  const std::pair<unsigned, unsigned> cases[] = {
      {1250, 238}, {1251, 204}, {1252, 0},   {1253, 161}, {1254, 162},
      {1255, 177}, {1256, 178}, {1257, 186}, {1258, 163}, {874, 222},
      {932, 128},  {936, 134},  {949, 129},  {950, 136}};
  for (auto [codePage, charset] : cases) EXPECT_EQ(CodePageCharset(codePage, 1), charset) << codePage;
  EXPECT_EQ(CodePageCharset(866, 1), 1u);
  EXPECT_EQ(CodePageCharset(12345, 77), 77u);
}

TEST(LocaleSettings, DefaultsAndThreadLocale) {
  EXPECT_EQ(SystemDefaultLcid(), LANG_RUSSIAN);
  EXPECT_EQ(ThreadLocale(), LANG_RUSSIAN);
  EXPECT_THROW(SetSystemDefaultLcid(0x0477), EConvertError);
  EXPECT_EQ(SystemDefaultLcid(), LANG_RUSSIAN);
  SetThreadLocale(2057);
  EXPECT_EQ(ThreadLocale(), 2057u);
  SetThreadLocale(LOCALE_USER_DEFAULT);
  EXPECT_EQ(ThreadLocale(), LANG_RUSSIAN);
}

TEST(LocaleCompare, Table) {
  struct Case {
    LCID lcid;
    bool ignoreCase;
    std::string a, b;  // UTF-8 here, compared in the locale's code page
    int expected;
  };
  const Case cases[] = {
      {1049, true, "Ёж", "ёж", 0},
      {1049, false, "Ёж", "ёж", 1},  // tertiary order: small letters first
      {1049, true, "ёж", "еж", 1},
      {1049, false, "ёж", "еж", 1},
      {1049, true, "ПРИВЕТ", "привет", 0},
      {1049, true, "ёлка", "елка", 1},
      {1049, true, "ёлка", "жук", -1},
      {1049, true, "яблоко", "Арбуз", 1},
      {1049, false, "Яблоко", "арбуз", 1},
      {1049, true, "дом", "домик", -1},
      {1049, true, "", "а", -1},
      {1049, true, "", "", 0},
      {1049, true, "zebra", "абв", 1},   // Russian puts Cyrillic before Latin
      {1049, true, "10", "9", -1},       // digits compare as text
      {1033, true, "apple", "Banana", -1},
      {1033, false, "apple", "Apple", -1},
      {1033, false, "a", "A", -1},
      {1033, false, "A", "b", -1},
      {1033, true, "a", "A", 0},
      {1033, true, "résumé", "resume", 1},  // accents still count when case does not
      {1033, true, "Résumé", "résumé", 0},
      {1033, true, "co-op", "coop", -1},
      {1031, true, "Müller", "Mueller", 1},
      {1053, true, "ö", "z", 1},   // Swedish puts ö after z
      {1031, true, "ö", "z", -1},  // German does not
      {1029, true, "chata", "hrad", 1},  // Czech: ch is a letter after h
      {1029, true, "chata", "ihla", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    SCOPED_TRACE(c.a + " / " + c.b);
    const unsigned codePage = LocaleAnsiCodePage(c.lcid);
    EXPECT_EQ(CompareLocaleStrings(c.lcid, c.ignoreCase, In(codePage, c.a), In(codePage, c.b)),
              c.expected);
    EXPECT_EQ(CompareLocaleStrings(c.lcid, c.ignoreCase, In(codePage, c.b), In(codePage, c.a)),
              -c.expected);
    EXPECT_EQ(CompareLocaleStringsW(c.lcid, c.ignoreCase, Utf8ToWide(c.a), Utf8ToWide(c.b)),
              c.expected);
  }
}

TEST(LocaleCompare, AlphabetOrder) {
  const std::pair<LCID, std::string> alphabets[] = {
      {1049, "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
      {1058, "абвгґдеєжзиіїйклмнопрстуфхцчшщьюя"},
      {1033, "abcdefghijklmnopqrstuvwxyz"},
  };
  for (const auto& alphabet : alphabets) {
    const LCID lcid = alphabet.first;
    const std::string& letters = alphabet.second;
    const std::u16string wide = Utf8ToWide(letters);
    const std::string bytes = In(LocaleAnsiCodePage(lcid), letters);
    ASSERT_EQ(bytes.size(), wide.size());
    std::vector<std::string> words;
    for (char ch : bytes) words.push_back(std::string(1, ch) + "x");
    std::vector<std::string> upper = words;
    for (std::string& word : upper) word[0] = static_cast<char>(AnsiUpperChar(word[0], LocaleAnsiCodePage(lcid)));
    std::mt19937 random(42);
    for (bool ignoreCase : {false, true}) {
      std::vector<std::string> shuffled = words;
      std::shuffle(shuffled.begin(), shuffled.end(), random);
      std::sort(shuffled.begin(), shuffled.end(), [&](const std::string& a, const std::string& b) {
        return CompareLocaleStrings(lcid, ignoreCase, a, b) < 0;
      });
      EXPECT_EQ(shuffled, words) << lcid;
      for (size_t i = 0; i + 1 < words.size(); ++i) {
        EXPECT_EQ(CompareLocaleStrings(lcid, ignoreCase, upper[i], words[i + 1]), -1) << lcid << " " << i;
        EXPECT_EQ(CompareLocaleStrings(lcid, ignoreCase, upper[i], words[i]), ignoreCase ? 0 : 1);
      }
    }
  }
}

TEST(LocaleCompare, FallbacksNeverThrowAndStillOrder) {
  // A locale we do not know: root collation over the system code page.
  EXPECT_EQ(CompareLocaleStrings(0x0477, true, Cp1251("ёж"), Cp1251("Ёж")), 0);
  EXPECT_EQ(CompareLocaleStrings(0x0477, false, "b", "a"), 1);
  // A locale whose code page we cannot convert (932): byte order.
  EXPECT_EQ(CompareLocaleStrings(1041, false, "\x82\xA0", "\x82\x9F"), 1);
  EXPECT_EQ(CompareLocaleStrings(1041, true, "B", "a"), -1);
  EXPECT_EQ(CompareLocaleStrings(1041, true, "\x82\xA0", "\x82\xA0"), 0);
  // Long strings go through the heap and embedded zero bytes count.
  const std::string longA(1000, '\xE0'), longB = longA + "\xE1";
  EXPECT_EQ(CompareLocaleStrings(1049, true, longA, longB), -1);
  EXPECT_EQ(CompareLocaleStrings(1049, true, std::string("a\0b", 3), std::string("a\0c", 3)), -1);
}

// Printable ASCII is ordered without a collator in the locales whose collation keeps the root
// order for it; every answer must still be the collation's own.
TEST(LocaleCompare, PrintableAsciiOrderIsTheCollations) {
  std::vector<std::u16string> texts{u""};
  for (char16_t c = 0x20; c < 0x7F; ++c) texts.push_back(std::u16string(1, c));
  std::mt19937 random(24);
  const std::u16string pool = u" _-.,'AaBbZz09~$x";
  for (int i = 0; i < 300; ++i) {
    std::u16string text(random() % 6, u' ');
    for (char16_t& c : text) c = random() % 3 ? pool[random() % pool.size()] : char16_t(0x20 + random() % 95);
    texts.push_back(text);
  }
  for (LCID lcid : {1033u, 1049u, 1058u, 1059u, 0x0477u}) {
    for (bool ignoreCase : {false, true}) {
      UErrorCode status = U_ZERO_ERROR;
      UCollator* collator = ucol_open(std::string(LocaleIcuName(lcid)).c_str(), &status);
      ASSERT_TRUE(U_SUCCESS(status));
      ucol_setStrength(collator, ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
      for (const std::u16string& a : texts)
        for (const std::u16string& b : texts) {
          const UCollationResult icu = ucol_strcoll(collator, a.data(), int32_t(a.size()), b.data(), int32_t(b.size()));
          ASSERT_EQ(CompareLocaleStringsW(lcid, ignoreCase, a, b), icu == UCOL_LESS ? -1 : icu == UCOL_GREATER ? 1 : 0)
              << lcid << " " << ignoreCase << " '" << WideToUtf8(a) << "' '" << WideToUtf8(b) << "'";
        }
      ucol_close(collator);
    }
  }
  // Text beyond printable ASCII still goes to the collation.
  EXPECT_EQ(CompareLocaleStringsW(1049, true, u"a\tb", u"a\tB"), 0);
  EXPECT_EQ(CompareLocaleStringsW(1049, false, u"ёж", u"еж"), 1);
}

TEST(LocaleCompare, ProbeAnswersAsTheComparisonDoes) {
  const std::vector<std::string> words = {Cp1251("ёж"), Cp1251("Ёж"), Cp1251("еж"), "apple", "Apple",
                                          "", Cp1251("яблоко"), std::string(300, 'z'), "\xff\x01"};
  for (LCID lcid : {1049u, 1033u, 1041u, 0x7ABCu})
    for (bool ignoreCase : {false, true})
      for (const std::string& probe : words) {
        const TLocaleProbe order(lcid, ignoreCase, probe);
        for (const std::string& other : words)
          EXPECT_EQ(order.Compare(other), CompareLocaleStrings(lcid, ignoreCase, other, probe)) << lcid;
      }
}

TEST(LocaleCompare, SystemDefaultLocale) {
  EXPECT_EQ(AnsiCompareText(Cp1251("Ёж"), Cp1251("ёж")), 0);
  EXPECT_EQ(AnsiCompareStr(Cp1251("Ёж"), Cp1251("ёж")), 1);
  EXPECT_EQ(AnsiCompareText(Cp1251("яблоко"), Cp1251("Арбуз")), 1);
}

TEST(LocaleCompare, ManyThreadsAtOnce) {
  const LCID locales[] = {1049, 1033, 1031, 1053};
  std::vector<std::string> words;
  for (const char* word : {"ёж", "Ёж", "еж", "жук", "арбуз", "Яблоко", "apple", "Zebra", "öl"})
    words.push_back(Cp1251(word));
  auto run = [&](std::vector<int>& results) {
    for (int round = 0; round < 50; ++round)
      for (LCID lcid : locales)
        for (bool ignoreCase : {false, true})
          for (const std::string& a : words)
            for (const std::string& b : words) results.push_back(CompareLocaleStrings(lcid, ignoreCase, a, b));
  };
  std::vector<std::vector<int>> results(4);
  std::vector<std::thread> threads;
  for (auto& result : results) threads.emplace_back(run, std::ref(result));
  for (auto& thread : threads) thread.join();
  std::vector<int> expected;
  run(expected);
  for (const auto& result : results) EXPECT_EQ(result, expected);
}

TEST(AnsiCase, RussianSystemCodePage) {
  EXPECT_EQ(AnsiUpperCase(Cp1251("ёжик Ель abc №")), Cp1251("ЁЖИК ЕЛЬ ABC №"));
  EXPECT_EQ(AnsiLowerCase(Cp1251("ЁЖИК Ель ABC ЯЧЬ")), Cp1251("ёжик ель abc ячь"));
  EXPECT_EQ(AnsiUpperCase(Cp1251("ђѓєѕіїјљњћќўџґ")), Cp1251("ЂЃЄЅІЇЈЉЊЋЌЎЏҐ"));
  EXPECT_EQ(AnsiLowerCase("\x98\x97\xB9\xB5"), "\x98\x97\xB9\xB5");  // no letters: unchanged
  EXPECT_EQ(AnsiUpperCase(""), "");
}

TEST(AnsiCase, OtherCodePages) {
  struct Case {
    unsigned codePage;
    std::string lower, upper;  // UTF-8
  };
  const Case cases[] = {
      {866, "абвпрсяёўє", "АБВПРСЯЁЎЄ"},
      {20866, "абвпрсяё", "АБВПРСЯЁ"},
      {21866, "ґєії", "ҐЄІЇ"},
      {28595, "абвяёђџ", "АБВЯЁЂЏ"},
      {10007, "абвпряё", "АБВПРЯЁ"},
      {1252, "àéîõüÿšœž", "ÀÉÎÕÜŸŠŒŽ"},
      {1250, "ąćęłńóśźżřů", "ĄĆĘŁŃÓŚŹŻŘŮ"},
      {1253, "αβγωάέ", "ΑΒΓΩΆΈ"},
      {437, "çüéäåæñ", "ÇÜÉÄÅÆÑ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    const std::string lower = In(c.codePage, c.lower), upper = In(c.codePage, c.upper);
    ASSERT_EQ(lower.find('?'), std::string::npos);
    ASSERT_EQ(upper.find('?'), std::string::npos);
    for (size_t i = 0; i < lower.size(); ++i) {
      EXPECT_EQ(AnsiUpperChar(lower[i], c.codePage), static_cast<unsigned char>(upper[i])) << i;
      EXPECT_EQ(AnsiLowerChar(upper[i], c.codePage), static_cast<unsigned char>(lower[i])) << i;
    }
  }
  // Letters whose other case is not in the code page stay as they are.
  EXPECT_EQ(AnsiUpperChar(0xDF, 1252), 0xDF);             // ß
  EXPECT_EQ(AnsiUpperChar(0xB5, 1252), 0xB5);             // µ
  EXPECT_EQ(AnsiUpperChar(0xE6, 437), 0xE6);              // µ
  EXPECT_EQ(AnsiUpperChar('i', 1254), 'I');               // simple mapping, not Turkish
  EXPECT_EQ(AnsiUpperChar(0xFD, 1254), 'I');              // dotless i
  EXPECT_EQ(AnsiUpperChar(0xE0, CP_OEMCP), 0x90);         // р in 866
  EXPECT_THROW(AnsiUpperChar('a', 932), EConvertError);
}

TEST_F(WesternSystem, CaseAndComparisonFollowTheSettings) {
  EXPECT_EQ(OemCodePage(), 437u);
  // 0xFF is я in 1251 but ÿ in 1252; 0xB8 is ё in 1251 but a cedilla in 1252.
  EXPECT_EQ(AnsiUpperCase("\xFF\xB8\xE0 ab"), "\x9F\xB8\xC0 AB");
  EXPECT_EQ(AnsiLowerCase("\xDF\xA8\xC0\x8A"), "\xDF\xA8\xE0\x9A");
  EXPECT_EQ(AnsiUpperChar(0xFF), 0x9F);
  EXPECT_NE(AnsiCompareText("\xB8", "\xA8"), 0);  // ¸ against ¨: no longer ё and Ё
  EXPECT_EQ(AnsiCompareText("R\xC9SUM\xC9", "r\xE9sum\xE9"), 0);
  EXPECT_EQ(AnsiCompareStr("resume", "r\xE9sum\xE9"), -1);
  EXPECT_EQ(AnsiCompareStr("a", "A"), -1);
  EXPECT_EQ(LocaleAnsiCodePage(0), 1252u);
  EXPECT_EQ(LocaleLanguageDisplayName(LOCALE_USER_DEFAULT), "English (United States)");
}

} // namespace
