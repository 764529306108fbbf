// The misprint test of valid words: word-frequency files, the decision on their evidence and a
// language that reads them beside its descriptor.
#include "proofing/misprint.h"

#include <gtest/gtest.h>

#include "proofing/language.h"
#include "spell_fixtures.h"

namespace {

const std::map<std::string, uint64_t> kCounts = {{"the", 100000}, {"then", 3000}, {"than", 2500}, {"from", 5000},
                                                 {"form", 2},     {"cat", 300},   {"vat", 3},     {"bat", 3},
                                                 {"farm", 4}};

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
}

TEST(WordFrequencies, FileKeepsEveryWordsClass) {
  const TWordFrequencies frequencies = Frequencies();
  EXPECT_EQ(frequencies.Lcid(), LANG_ENGLISH_US);
  for (const auto& [word, count] : kCounts) EXPECT_EQ(frequencies.ClassOf(word), FrequencyClass(count)) << word;
  EXPECT_EQ(frequencies.ClassOf("fro"), 0);
  EXPECT_EQ(frequencies.ClassOf("unseen"), 0);
  EXPECT_EQ(FrequencyClass(1), 1);
  EXPECT_EQ(FrequencyClass(2), 5);  // four classes double the count
  EXPECT_EQ(FrequencyClass(uint64_t(1) << 62), 249);
}

TEST(WordFrequencies, DamagedFileIsRefusedAndLeavesNoData) {
  const std::string good = BuildFrequencyFile(LANG_ENGLISH_US, 10, kCounts);
  const std::pair<const char*, std::string> damages[] = {
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
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"form", {"from"}},  // seen twice, "from" 5000 times: two letters swapped
      {"the", {}},         // frequent words are never suspected
      {"then", {}},
      {"vat", {"cat"}},    // rare, a neighbouring key away from a frequent word
      {"bat", {}},         // as rare, but "c" for "b" is no keyboard slip: too little evidence
      {"farm", {}},        // seen four times: not rare enough
      {"xyzzy", {}},       // nothing frequent near
  };
  for (const auto& [word, expected] : cases) EXPECT_EQ(MisprintCandidates(frequencies, block, word), expected) << word;
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
  std::vector<std::string> Suggested(const std::string& Word) {
    TQLanguage language(Folder / "english.qlx", [this](const std::string& m) { Errors.push_back(m); });
    language.AddDictionary(std::make_unique<TQDictionary>(Folder / "en.qdi"));
    language.OpenDictionaries();
    TSuggestionList list;
    language.SuggestMisprints(Word, {}, list);
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
  EXPECT_EQ(Suggested("FORM"), std::vector<std::string>{"FROM"});
  EXPECT_TRUE(Suggested("from").empty());
  EXPECT_TRUE(Errors.empty());
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
