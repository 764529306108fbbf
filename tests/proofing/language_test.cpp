#include "proofing/language.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "spell_fixtures.h"

namespace {

class LanguageTest : public ::testing::Test {
protected:
  void SetUp() override {
    WriteTestDictionary(Folder.Name(), "en", LANG_ENGLISH_US,
                        {"house", "Paris", "e.g.", "well", "known", "twenty", "-fold", "re-", "#-th", "the", "cat",
                         "cats", "act", "bat", "at", "a", "form", "from", "he", "lot", "dear", "forms", "alot-of"});
    WriteTestLanguage(Folder.Name(), "english", LANG_ENGLISH_US, "abcdefghijklmnopqrstuvwxyz", {"the", "form"});
  }
  std::unique_ptr<TQLanguage> Load() {
    auto language =
        std::make_unique<TQLanguage>(Folder / "english.qlx", [this](const std::string& m) { Errors.push_back(m); });
    language->AddDictionary(std::make_unique<TQDictionary>(Folder / "en.qdi"));
    language->OpenDictionaries();
    return language;
  }
  std::vector<std::string> Words(const TSuggestionList& List) {
    std::vector<std::string> words;
    for (const auto& s : List.Items) words.push_back(s.Word);
    return words;
  }

  TTempFolder Folder;
  std::vector<std::string> Errors;
};

TEST_F(LanguageTest, DescriptorIsRead) {
  auto language = Load();
  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(language->Lcid(), LANG_ENGLISH_US);
  EXPECT_EQ(language->Name(), "english");
  EXPECT_EQ(language->Letters(), "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_TRUE(language->IsCommonWord("the"));
  EXPECT_FALSE(language->IsCommonWord("unused"));  // the second list is not consulted
  EXPECT_EQ(language->UserFileName(), Folder / "english.qud");
  EXPECT_EQ(language->FindDictionary("en"), &language->Dictionary(0));
}

TEST_F(LanguageTest, CorruptDescriptorIsReportedAndKept) {
  const std::string bytes = ReadFileBytes(Folder / "english.qlx");
  WriteFileAtomic(Folder / "short.qlx", bytes.substr(0, 20000));
  TQLanguage language(Folder / "short.qlx", [this](const std::string& m) { Errors.push_back(m); });
  EXPECT_EQ(Errors, std::vector<std::string>{"Language descriptor " + (Folder / "short.qlx") + " is corrupt."});
  EXPECT_EQ(language.Lcid(), LANG_ENGLISH_US);
}

TEST_F(LanguageTest, CheckWordRules) {
  auto language = Load();
  struct Case {
    const char* Word;
    bool Valid;
  };
  const Case cases[] = {
      {"house", true},       {"House", true},     {"HOUSE", true},        {"paris", false},
      {"house.", true},      {"U.S.A.", true},    {"A.", true},           {"u.s.a.", false},
      {"e.g.", true},        {"E.G.", true},      {"e.g", false},         {"well-known", true},
      {"well-knowm", false}, {"x-known", false},  {"twenty-fold", true},  {"re-form", true},
      {"5-th", true},        {"th", false},       {"house-", false},      {"5-cat", true},
      {"a-house", false},    {"AT-HOUSE", true},
  };
  for (const auto& c : cases) EXPECT_EQ(language->CheckWord(c.Word), c.Valid) << c.Word;
}

TEST_F(LanguageTest, SuggestStepsInOrder) {
  auto language = Load();
  TSuggestionList list;
  language->Suggest("fomr", list, sfMisspelt);  // transposition
  ASSERT_GE(list.Count(), 1);
  EXPECT_EQ(list[0].Word, "form");
  EXPECT_EQ(list[0].Position, 3);
  EXPECT_EQ(list[0].Kind, 2);

  list.Clear();
  language->Suggest("ct", list, sfMisspelt);  // insertion (by position) before substitution
  EXPECT_EQ(Words(list), (std::vector<std::string>{"act", "cat", "at"}));
  EXPECT_EQ(list[0].Position, 1);
  EXPECT_EQ(list[1].Position, 2);

  list.Clear();
  language->Suggest("alot", list, sfMisspelt);  // deletion before the split into two words
  EXPECT_EQ(Words(list), (std::vector<std::string>{"lot", "a lot"}));
  EXPECT_EQ(list[0].Position, -1);

  list.Clear();
  language->Suggest("alotof", list, sfMisspelt);  // the hyphenated form of a split
  EXPECT_EQ(Words(list), (std::vector<std::string>{"alot-of"}));
}

TEST_F(LanguageTest, CorrectionsAreRankedByTheSlipTheyUndo) {
  auto language = Load();  // every letter's similar letters are the vowels
  struct Case {
    const char* Word;
    const char* Candidate;
    int Cost;
  };
  const Case cases[] = {
      {"HOUSE", "House", 0},      {"teh", "the", 1},          {"hbuse", "house", 1},  // similar letter
      {"hoube", "house", 3},      {"hous", "house", 1},       {"houe", "house", 2},   // left-out vowel
      {"hosue", "house", 1},      {"writting", "writing", 1}, {"wrihting", "writing", 3},
      {"finaly", "finally", 1},   {"alot", "a lot", 2},       {"pairs", "Paris", 3},  // a name costs 2 more
      {"hose", "Hose", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(language->CorrectionCost(c.Word, c.Candidate), c.Cost) << c.Word;

  TSuggestionList list;
  list.Add("keep", 9, 9);
  for (const char* word : {"fritting", "writhing", "writing", "witting"}) list.Add(word, 1, 1);
  language->RankSuggestions("writting", list, 1);
  EXPECT_EQ(Words(list), (std::vector<std::string>{"keep", "writing", "fritting", "writhing", "witting"}));
}

TEST_F(LanguageTest, WordTooLongForAnyCorrectionGetsNone) {
  // A long run of letters (a pasted code, a hash) cannot be one edit away from a word of at most
  // 40 characters, and trying every edit of it would cost its length squared times the alphabet.
  auto language = Load();
  TSuggestionList list;
  language->Suggest(std::string(40, 'a') + std::string(40, 'b'), list, sfMisspelt);
  EXPECT_EQ(list.Count(), 0);
  language->Suggest(std::string(200000, 'x'), list, sfMisspelt);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(LanguageTest, SuggestKeepsTheWordsCase) {
  auto language = Load();
  TSuggestionList list;
  language->Suggest("HOUES", list, sfMisspelt);
  EXPECT_EQ(Words(list), std::vector<std::string>{"HOUSE"});
  list.Clear();
  language->Suggest("Huose", list, sfMisspelt);
  EXPECT_EQ(Words(list), std::vector<std::string>{"House"});
  list.Clear();
  language->Suggest("pairs", list, sfMisspelt);  // a name keeps its capital
  EXPECT_EQ(Words(list), std::vector<std::string>{"Paris"});
}

TEST_F(LanguageTest, MisprintFlagsLeaveShortWordsAndEdgesAlone) {
  auto language = Load();
  TSuggestionList list;
  language->Suggest("cat", list, sfMisprint);  // no deletions for three letters, no first-letter changes
  EXPECT_EQ(Words(list), std::vector<std::string>{"act"});
  list.Clear();
  language->Suggest("cat", list, sfMisspelt);
  const auto words = Words(list);
  EXPECT_NE(std::find(words.begin(), words.end(), "at"), words.end());
  EXPECT_NE(std::find(words.begin(), words.end(), "bat"), words.end());
}

TEST_F(LanguageTest, CanSpellAndFitsCodePage) {
  auto language = Load();
  EXPECT_TRUE(language->CanSpell("don't-5"));
  EXPECT_FALSE(language->CanSpell(Cp1251("дом")));
  EXPECT_TRUE(language->FitsCodePage(u"caf\u00e9"));
  EXPECT_FALSE(language->FitsCodePage(u"\u0434\u043e\u043c"));
}

// The word lists are read as they stand and sorted when first searched or listed.
TEST_F(LanguageTest, UserWordsOutOfOrderAreFoundAndListedSorted) {
  WriteFileAtomic(Folder / "english.qud", "zebra\r\nant\r\nmole\r\n");
  std::string found;
  EXPECT_TRUE(Load()->FindUserWord("zebra", found, true));
  EXPECT_EQ(found, "zebra");
  EXPECT_EQ(Load()->UserWords().Text(), "ant\r\nmole\r\nzebra\r\n");
  auto language = Load();
  language->AddUserWord("quokka");
  EXPECT_EQ(ReadFileBytes(Folder / "english.qud"), "ant\r\nmole\r\nquokka\r\nzebra\r\n");
}

TEST_F(LanguageTest, UserWordsAreAddedOnceAndSavedAtomically) {
  WriteFileAtomic(Folder / "english.qud", "zebra\r\n");
  struct stat before{};
  ASSERT_EQ(stat((Folder / "english.qud").c_str(), &before), 0);
  auto language = Load();
  std::string found;
  EXPECT_TRUE(language->FindUserWord("Zebra", found, true));
  EXPECT_TRUE(language->CheckWord("zebra"));
  language->AddUserWord("  quokka ");
  language->AddUserWord("house");   // valid already
  language->AddUserWord("quokka");  // known already
  EXPECT_EQ(ReadFileBytes(Folder / "english.qud"), "quokka\r\nzebra\r\n");
  // Written beside and renamed over: a new file, and nothing left over.
  struct stat after{};
  ASSERT_EQ(stat((Folder / "english.qud").c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino);
  EXPECT_EQ(ListDirectory(Folder.Name(), "*qud*").size(), 1u);
  EXPECT_TRUE(language->CheckWord("Quokka"));
}

TEST_F(LanguageTest, DictionaryAlternatives) {
  WriteTestDictionary(Folder.Name(), "alt1", LANG_ENGLISH_US, {"one"}, 2, 1);
  WriteTestDictionary(Folder.Name(), "alt2", LANG_ENGLISH_US, {"two"}, 2, 0);
  auto language = Load();
  language->AddDictionary(std::make_unique<TQDictionary>(Folder / "alt1.qdi"));
  language->AddDictionary(std::make_unique<TQDictionary>(Folder / "alt2.qdi"));
  TQDictionary& en = language->Dictionary(0);
  TQDictionary& alt1 = language->Dictionary(1);
  TQDictionary& alt2 = language->Dictionary(2);
  // Nothing saved in group 2: its dictionaries fall back to their defaults.
  en.SavedEnabled = false;
  alt1.SavedEnabled = alt2.SavedEnabled = false;
  language->ReevaluateDictionaries();
  EXPECT_FALSE(en.Enabled);  // alone in its group: its saved state
  EXPECT_TRUE(alt1.Enabled);
  EXPECT_FALSE(alt2.Enabled);
  alt2.SavedEnabled = true;
  language->ReevaluateDictionaries();
  EXPECT_FALSE(alt1.Enabled);
  EXPECT_TRUE(alt2.Enabled);
  std::filesystem::remove(Folder / "alt2.qd");
  language->ReevaluateDictionaries();
  EXPECT_FALSE(alt2.Enabled);  // not ready
}

}  // namespace

// A locale whose code page the program holds no table of (Japanese, 932) still ranks.
TEST_F(LanguageTest, RankingWithALocaleOfAnotherCodePage) {
  WriteTestLanguage(Folder.Name(), "japanese", 1041, "abcdefghijklmnopqrstuvwxyz");
  WriteTestDictionary(Folder.Name(), "ja", 1041, {"write", "writing", "written"});
  TQLanguage language(Folder / "japanese.qlx");
  language.AddDictionary(std::make_unique<TQDictionary>(Folder / "ja.qdi"));
  language.OpenDictionaries();
  TSuggestionList list;
  EXPECT_NO_THROW(language.Suggest("writting", list, sfMisspelt));
  EXPECT_NO_THROW(language.RankSuggestions("writting", list, 0));
  EXPECT_EQ(language.CorrectionCost("writting", "writing"), 1);
}
