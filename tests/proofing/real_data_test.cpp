// Checks on the dictionaries generated from the hunspell packages into the program folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files.h"
#include "proofing/spell.h"
#include "spell_fixtures.h"

namespace {

class RealData : public ShippedSpellTest {
protected:
  static void ExpectSuggested(const std::string& Wrong, const std::string& Right, LCID Lcid) {
    EXPECT_FALSE(Spell->IsValidWord(Wrong, Lcid)) << Wrong;
    TSuggestionList list;
    Spell->Suggest(Wrong, list, sfMisspelt, Lcid);
    std::vector<std::string> first;
    for (int i = 0; i < std::min(list.Count(), 3); ++i) first.push_back(list[i].Word);
    EXPECT_NE(std::find(first.begin(), first.end(), Right), first.end())
        << Wrong << " -> " << ::testing::PrintToString(first);
  }
};

TEST_F(RealData, LanguagesAndDictionariesAreThere) {
  ASSERT_EQ(Spell->LanguageCount(), 2);
  for (auto [lcid, name] : {std::pair{LANG_ENGLISH_US, "en_uk"}, std::pair{LANG_RUSSIAN, "ru_yo"}}) {
    TQLanguage* language = Spell->FindLanguage(lcid);
    ASSERT_NE(language, nullptr) << lcid;
    TQDictionary* dictionary = language->FindDictionary(name);
    ASSERT_NE(dictionary, nullptr) << name;
    EXPECT_TRUE(dictionary->IsReady());
    EXPECT_TRUE(dictionary->Enabled);
    EXPECT_GT(dictionary->WordCount(), 200000);
  }
}

// The thesaurus's rare words that hunspell-ru lacks are a dictionary of their own, off until a
// correction pass switches it on; it adds words, never a form the main dictionary has.
TEST_F(RealData, TheRareRussianWordsAreADictionaryOfTheirOwn) {
  TQDictionary* rare = Spell->FindLanguage(LANG_RUSSIAN)->FindDictionary("ru_rare");
  ASSERT_NE(rare, nullptr);
  EXPECT_TRUE(rare->IsReady());
  EXPECT_FALSE(rare->Enabled);
  EXPECT_GT(rare->WordCount(), 1000);
  const std::string word = Cp1251("элоквенция");
  EXPECT_FALSE(Spell->IsValidWord(word, LANG_RUSSIAN));
  rare->Enabled = true;
  EXPECT_TRUE(Spell->IsValidWord(word, LANG_RUSSIAN));
  std::string found;
  EXPECT_TRUE(rare->FindWord(word, found, true));
  EXPECT_FALSE(rare->FindWord(Cp1251("дом"), found, false));
  EXPECT_FALSE(rare->FindWord(Cp1251("америка"), found, false));  // a name in small letters is no rare word
  rare->Enabled = false;
}

TEST_F(RealData, CommonEnglishWordsAreAccepted) {
  const char* words[] = {"the",        "house",      "colour",     "organise",      "centre",    "travelled",
                         "Britain",    "London",     "running",    "children",      "knowledge", "beautiful",
                         "because",    "government", "receive",    "necessary",     "February",  "Wednesday",
                         "definitely", "separate",   "favourite",  "accommodation", "I",         "isn't",
                         "well-known", "U.S.A.",     "programme",  "analyse",       "The",       "HOUSE",
                         "people",     "went",       "gone",       "studies",       "wolves",    "mice",
                         "women",      "teeth",      "happiest",   "written",       "travelling", "cancelled",
                         "neighbour",  "theatre",    "don't",      "they're",       "mother-in-law", "twenty-one",
                         "self-esteem", "Monday",    "English",    "NASA",          "However",   "etc.",
                         "e.g.",       "Mr."};
  for (const char* word : words) EXPECT_TRUE(Spell->IsValidWord(word, LANG_ENGLISH_US)) << word;
  EXPECT_TRUE(Spell->IsValidWord("isn\x92t", LANG_ENGLISH_US));  // the typographic apostrophe
  EXPECT_FALSE(Spell->IsValidWord("london", LANG_ENGLISH_US));
}

TEST_F(RealData, CommonRussianWordsAreAccepted) {
  const char* words[] = {"дом",     "мама",      "работа",   "человек",    "время",       "жизнь",
                         "ещё",     "ёлка",      "Москва",   "Россия",     "говорить",    "сказал",
                         "который", "большой",   "первый",   "новый",      "хорошо",      "сегодня",
                         "завтра",  "пожалуйста", "спасибо", "здравствуйте", "красивый",  "учитель",
                         "школа",   "город",     "улица",    "Дом",        "МОСКВА",      "5-й",
                         "ребёнок", "ребёнка",   "шёл",      "пошёл",      "всё",         "её",
                         "Ёлка",    "ЁЛКА",      "зелёный",  "самолёт",    "что-то",      "кто-нибудь",
                         "из-за",   "по-русски", "Санкт-Петербург", "Москве", "России",    "книгу",
                         "книгой",  "книгах",    "читаешь",  "прочитала",  "красивого",   "Сегодня",
                         "людей",   "Пушкина",   "Ивановна", "10-го",      "т.е.",        "т.д."};
  for (const char* word : words) EXPECT_TRUE(Spell->IsValidWord(Cp1251(word), LANG_RUSSIAN)) << word;
  EXPECT_FALSE(Spell->IsValidWord(Cp1251("москва"), LANG_RUSSIAN));
}

TEST_F(RealData, EnglishMisspellingsAreCorrected) {
  const std::pair<const char*, const char*> cases[] = {
      {"recieve", "receive"},     {"teh", "the"},          {"seperate", "separate"},
      {"definately", "definitely"}, {"occured", "occurred"}, {"accomodation", "accommodation"},
      {"goverment", "government"}, {"neccessary", "necessary"}, {"beleive", "believe"},
      {"wierd", "weird"},         {"untill", "until"},     {"freind", "friend"},
      {"becuase", "because"},     {"knowlege", "knowledge"}, {"Enviroment", "Environment"},
      {"writting", "writing"},    {"adress", "address"},   {"begining", "beginning"},
      {"truely", "truly"},        {"thier", "their"},      {"finaly", "finally"},
      {"sucess", "success"},      {"foriegn", "foreign"},  {"Beleive", "Believe"},
      {"TEH", "THE"},
  };
  for (auto [wrong, right] : cases) ExpectSuggested(wrong, right, LANG_ENGLISH_US);
}

TEST_F(RealData, RussianMisspellingsAreCorrected) {
  const std::pair<const char*, const char*> cases[] = {
      {"превет", "привет"},       {"сабака", "собака"},         {"карова", "корова"},
      {"малоко", "молоко"},       {"здраствуйте", "здравствуйте"}, {"пожалуста", "пожалуйста"},
      {"извените", "извините"},   {"симпотичный", "симпатичный"}, {"будующий", "будущий"},
      {"агенство", "агентство"},  {"сдесь", "здесь"},           {"чуство", "чувство"},
      {"прийдти", "прийти"},      {"еслибы", "если бы"},        {"ТОЕСТЬ", "ТО ЕСТЬ"},
      {"жыть", "жить"},           {"шыло", "шило"},             {"длинну", "длину"},
      {"сегодя", "сегодня"},      {"пачему", "почему"},         {"каторый", "который"},
      {"Првет", "Привет"},        {"скажыте", "скажите"},       {"ничево", "ничего"},
      {"девчёнка", "девчонка"},
  };
  for (auto [wrong, right] : cases) ExpectSuggested(Cp1251(wrong), Cp1251(right), LANG_RUSSIAN);
}

TEST_F(RealData, FirstSuggestionIsTheWordMeant) {
  // The popup fills in the first suggestion: a letter struck extra is no split with a
  // one-letter part, the common word comes before the rare one, and a word two slips away is
  // still found.
  const std::pair<const char*, const char*> english[] = {
      {"lovev", "love"},      {"ocircling", "circling"}, {"sevral", "several"},
      {"acheivments", "achievements"}, {"accomodation", "accommodation"}, {"Becuase", "Because"},
  };
  const std::pair<const char*, const char*> russian[] = {
      {"превет", "привет"}, {"сабака", "собака"}, {"спасиба", "спасибо"},
      {"каторый", "который"}, {"зделать", "сделать"}, {"Пачему", "Почему"},
  };
  TSuggestionList list;
  for (auto [wrong, right] : english) {
    Spell->Suggest(wrong, list, sfMisspelt, LANG_ENGLISH_US);
    EXPECT_EQ(list.Count() ? list[0].Word : "", right) << wrong;
  }
  for (auto [wrong, right] : russian) {
    Spell->Suggest(Cp1251(wrong), list, sfMisspelt, LANG_RUSSIAN);
    EXPECT_EQ(list.Count() ? list[0].Word : "", Cp1251(right)) << wrong;
  }
}

TEST_F(RealData, ValidWordsAreNotSuspectedForTheirYoOrTheirEnding) {
  // Both spellings with ё and е are valid, and a changed ending is another form of the same word.
  for (const char* word : {"ребёнок", "пришёл", "дядя", "Ёлка", "книгу"}) {
    TSuggestionList list;
    Spell->Suggest(Cp1251(word), list, sfMisprint, 0);
    EXPECT_EQ(list.Count(), 0) << word << ": " << (list.Count() ? list[0].Word : "");
  }
}

#ifdef QM_PACKED_DICT_DIR
TEST_F(RealData, PackedDictionaryUnpacksToTheGeneratedDataFile) {
  TTempFolder folder;
  const std::string packed = QM_PACKED_DICT_DIR "/en_uk";
  WriteFileAtomic(folder / "en_uk.qdi", ReadFileBytes(packed + ".qdi"));
  WriteFileAtomic(folder / "en_uk.qdp", ReadFileBytes(packed + ".qdp"));
  TQDictionary dictionary(folder / "en_uk.qdi");
  ASSERT_TRUE(dictionary.IsReady());
  EXPECT_TRUE(ReadFileBytes(folder / "en_uk.qd") == ReadFileBytes(QM_PROGRAM_DIR "/Dict/en_uk.qd"));
}
#endif

TEST_F(RealData, EveryStoredWordIsFound) {
  // The look-up's binary search relies on the order the generator wrote.
  for (LCID lcid : {LANG_ENGLISH_US, LANG_RUSSIAN}) {
    TQDictionary& dictionary = Spell->FindLanguage(lcid)->Dictionary(0);
    const std::string data = ReadFileBytes(dictionary.DataFileName());
    for (int L = 1; L <= kMaxDictWordLength; ++L) {
      const uint32_t count = dictionary.Header().GroupCount(L);
      for (uint32_t i = 0; i < count; i += 97) {
        const std::string word = data.substr(dictionary.Header().GroupOffset(L) + size_t(i) * L, L);
        std::string found;
        ASSERT_TRUE(dictionary.FindWord(word, found, true)) << word;
      }
    }
  }
}

}  // namespace
