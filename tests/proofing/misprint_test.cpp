// The misprint test of valid words: word-frequency files, the decision on their evidence and a
// language that reads them beside its descriptor.
#include "proofing/misprint.h"

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "proofing/language.h"
#include "spell_fixtures.h"

namespace {

// Words and pairs of neighbouring words as counted in prose.
const std::map<std::string, uint64_t> kCounts = {
    {"the", 100000}, {"then", 3000}, {"than", 2500}, {"from", 5000},  {"form", 2},     {"cat", 300},
    {"vat", 3},      {"bat", 3},     {"farm", 4},    {"the cat", 40}, {"a form", 2}};

TWordFrequencies Frequencies(const std::map<std::string, uint64_t>& Counts = kCounts) {
  TWordFrequencies frequencies;
  frequencies.LoadFromBytes(BuildFrequencyFile(LANG_ENGLISH_US, 123456, Counts));
  return frequencies;
}

// Latin letters; c, v and b are neighbouring keys.
TQLanguageBlock Letters() {
  TQLanguageBlock block;
  block.SetLcid(LANG_ENGLISH_US);
  block.SetAlphabet("abcdefghijklmnopqrstuvwxyz");
  block.SetSimilar('c', "xv");
  block.SetSimilar('v', "cb");
  block.SetSimilar('b', "vn");
  return block;
}

TEST(WordFrequencies, KeysFoldCaseAndRussianYo) {
  EXPECT_EQ(FrequencyKey("From", LANG_ENGLISH_US), "from");
  EXPECT_EQ(FrequencyKey(Cp1251("ЕЩЁ"), LANG_RUSSIAN), Cp1251("еще"));
  EXPECT_EQ(FrequencyKey(Cp1251("Ёлка"), LANG_RUSSIAN), Cp1251("елка"));
  // Names are counted as written, in capitals as capitalised, and an initial with the name after it.
  for (const char* name : {"Шевелёв", "ШЕВЕЛЁВ"}) EXPECT_EQ(NameKey(Cp1251(name), LANG_RUSSIAN), Cp1251("^шевелёв")) << name;
  EXPECT_EQ(NameKey(Cp1251("Э Кроткий"), LANG_RUSSIAN), Cp1251("^э кроткий"));
  for (const char* notName : {"шевелёв", "шЕВЕЛЁВ", "ШЕ", "Ш", ""})
    EXPECT_EQ(NameKey(Cp1251(notName), LANG_RUSSIAN), "") << notName;
}

TEST(WordFrequencies, FileKeepsEveryWordsClass) {
  const TWordFrequencies frequencies = Frequencies();
  EXPECT_EQ(frequencies.Lcid(), LANG_ENGLISH_US);
  for (const auto& [word, count] : kCounts) EXPECT_EQ(frequencies.ClassOf(word), FrequencyClass(count)) << word;
  EXPECT_EQ(frequencies.ClassOf("fro"), 0);
  EXPECT_EQ(frequencies.ClassOf(""), 0);      // before the first key
  EXPECT_EQ(frequencies.ClassOf("zzzz"), 0);  // after the last
  EXPECT_EQ(frequencies.ClassOf("unseen"), 0);
  for (const char* prefix : {"", "a f", "t", "the c", "the cat", "fa", "vat"}) EXPECT_TRUE(frequencies.HasKeyStartingWith(prefix)) << prefix;
  for (const char* prefix : {"cats", "fro0", "zz", "the d", "x"}) EXPECT_FALSE(frequencies.HasKeyStartingWith(prefix)) << prefix;
  EXPECT_EQ(FrequencyClass(1), 1);
  EXPECT_EQ(FrequencyClass(2), 5);  // four classes double the count
  EXPECT_EQ(FrequencyClass(uint64_t(1) << 62), 249);
}

// Entries "b" then "a" (out of the order look-ups rely on) under a correct checksum.
std::string OutOfOrderFile() {
  std::string bytes = BuildFrequencyFile(LANG_ENGLISH_US, 2, {{"a", 1}, {"b", 1}});
  std::swap(bytes[16], bytes[20]);
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i + 4 < bytes.size(); ++i) hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 16777619u;
  for (int k = 0; k < 4; ++k) bytes[bytes.size() - 4 + size_t(k)] = char(hash >> (8 * k));
  return bytes;
}

TEST(WordFrequencies, DamagedFileIsRefusedAndLeavesNoData) {
  const std::string good = BuildFrequencyFile(LANG_ENGLISH_US, 10, kCounts);
  const std::pair<const char*, std::string> damages[] = {
      {"entries out of order", OutOfOrderFile()},
      {"empty", ""},
      {"other magic", "QWF2" + good.substr(4)},
      {"cut short", good.substr(0, good.size() - 7)},
      {"a byte changed", good.substr(0, 20) + char(good[20] ^ 0x20) + good.substr(21)},
      {"bytes appended", good + "x"},
  };
  for (const auto& [what, bytes] : damages) {
    TWordFrequencies frequencies = Frequencies();
    EXPECT_THROW(frequencies.LoadFromBytes(bytes), EWordFrequencyError) << what;
    EXPECT_TRUE(frequencies.Empty()) << what;
  }
  TTempFolder folder;
  WriteFileAtomic(folder / "english.qwf", good.substr(0, 30));
  TWordFrequencies frequencies;
  try {
    frequencies.LoadFromFile(folder / "english.qwf");
    ADD_FAILURE() << "no error";
  } catch (const EWordFrequencyError& error) {
    EXPECT_NE(error.Message.find("english.qwf"), std::string::npos) << error.Message;
  }
}

TEST(Misprint, OnlyARareWordBesideAFarMoreFrequentOneIsSuspected) {
  const TWordFrequencies frequencies = Frequencies();
  const TQLanguageBlock block = Letters();
  struct {
    const char* Word;
    TMisprintContext Context;
    std::vector<std::string> Expected;
  } const cases[] = {
      {"form", {}, {"from"}},           // seen twice, "from" 5000 times: two letters swapped
      {"form", {"a", ""}, {}},          // ... but the prose has "a form": the context bears it out
      {"the", {}, {}},                  // frequent words are never suspected
      {"then", {}, {}},
      {"vat", {}, {"cat"}},             // rare, a neighbouring key away from a frequent word
      {"bat", {}, {}},                  // as rare, but "b" for "c" is no keyboard slip: too little evidence
      {"bat", {"the", ""}, {"cat"}},    // ... unless the prose has the word meant in this context
      {"bat", {"", "the"}, {}},         // ("cat the" it has not)
      {"farm", {}, {}},                 // seen four times: not rare enough
      {"xyzzy", {}, {}},                // nothing frequent near
  };
  for (const auto& c : cases)
    EXPECT_EQ(MisprintCandidates(frequencies, block, c.Word, c.Context), c.Expected)
        << c.Word << " after '" << c.Context.Previous << "' before '" << c.Context.Next << "'";
}

TEST(Misprint, ContextIsTheNeighbouringWordsWithOnlyBlanksBetween) {
  struct {
    std::u16string Text, Word;
    LCID Lcid;
    TMisprintContext Expected;
  } const cases[] = {
      {u"We came form the city.", u"form", LANG_ENGLISH_US, {"came", "the"}},
      {u"Well, form.", u"form", LANG_ENGLISH_US, {"", ""}},
      {u"form", u"form", LANG_ENGLISH_US, {"", ""}},
      {u"Line one\rform two", u"form", LANG_ENGLISH_US, {"", "two"}},
      {u"Мы  ЁЛКУ\tвидели", u"ЁЛКУ", LANG_RUSSIAN, {Cp1251("мы"), Cp1251("видели")}},
      {u"Ещё нашли", u"нашли", LANG_RUSSIAN, {Cp1251("еще"), ""}},
  };
  for (const auto& c : cases) {
    const int start = static_cast<int>(c.Text.find(c.Word));
    const TMisprintContext context = MisprintContextAt(c.Text, start, static_cast<int>(c.Word.size()), c.Lcid);
    EXPECT_EQ(context.Previous, c.Expected.Previous) << WideToUtf8(c.Text);
    EXPECT_EQ(context.Next, c.Expected.Next) << WideToUtf8(c.Text);
  }
}

TEST(Misprint, WithoutFrequenciesNothingIsSuspected) {
  const TWordFrequencies none;
  for (const auto& [word, count] : kCounts) EXPECT_TRUE(MisprintCandidates(none, Letters(), word).empty()) << word;
}

class MisprintLanguageTest : public ::testing::Test {
protected:
  void SetUp() override {
    WriteTestDictionary(Folder.Name(), "en", LANG_ENGLISH_US, {"the", "then", "than", "from", "form", "cat", "vat"});
    WriteTestLanguage(Folder.Name(), "english", LANG_ENGLISH_US, "abcdefghijklmnopqrstuvwxyz");
  }
  std::vector<std::string> Suggested(const std::string& Word, const TMisprintContext& Context = {}) {
    TQLanguage language(Folder / "english.qlx", [this](const std::string& m) { Errors.push_back(m); });
    language.AddDictionary(std::make_unique<TQDictionary>(Folder / "en.qdi"));
    language.OpenDictionaries();
    TSuggestionList list;
    language.SuggestMisprints(Word, Context, list);
    std::vector<std::string> words;
    for (const auto& s : list.Items) words.push_back(s.Word);
    return words;
  }

  TTempFolder Folder;
  std::vector<std::string> Errors;
};

TEST_F(MisprintLanguageTest, FrequenciesBesideTheDescriptorGiveSuggestionsInTheWordsCase) {
  WriteFileAtomic(Folder / "english.qwf", BuildFrequencyFile(LANG_ENGLISH_US, 10, kCounts));
  EXPECT_EQ(Suggested("form"), std::vector<std::string>{"from"});
  EXPECT_EQ(Suggested("Form"), std::vector<std::string>{"From"});
  EXPECT_TRUE(Suggested("from").empty());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MisprintLanguageTest, WordsInCapitalsAndNamesAfterAWordAreLeftAlone) {
  WriteFileAtomic(Folder / "english.qwf", BuildFrequencyFile(LANG_ENGLISH_US, 10, kCounts));
  EXPECT_EQ(Suggested("Form", {"", ""}), std::vector<std::string>{"From"});  // a sentence may start with it
  EXPECT_TRUE(Suggested("Form", {"then", ""}).empty());                       // a name after a word
  EXPECT_TRUE(Suggested("FORM", {"then", ""}).empty());                       // capitals: an abbreviation
  EXPECT_TRUE(Suggested("FORM", {}).empty());
}

TEST_F(MisprintLanguageTest, MissingOrDamagedFrequenciesSuspectNothing) {
  EXPECT_TRUE(Suggested("form").empty());
  EXPECT_TRUE(Errors.empty());
  WriteFileAtomic(Folder / "english.qwf", "QWF1 and then rubbish");
  EXPECT_TRUE(Suggested("form").empty());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_NE(Errors[0].find("english.qwf"), std::string::npos) << Errors[0];
}

}  // namespace
