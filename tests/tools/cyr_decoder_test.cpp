// The Cyrillic decoder's engine on real Russian sentences (the quality program's sample) and the
// generated validator and dictionary of the program folder: chains of one, two and three wrong
// changes come back exactly; correct Russian and English stay; the search's order, limits,
// progress, stop and time.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/string_list.h"
#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/word_frequencies.h"
#include "tools/cyr_decoder.h"

namespace {

std::string Cp1251(const std::u16string& text) { return WideToAnsi(text, 1251); }

class CyrDecoderTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!FileExists(QM_PROGRAM_DIR "/russian.qgo")) GTEST_SKIP() << "no generated validators (spelling data off)";
  }
  static void SetUpTestSuite() {
    SetProgramFolder(QM_PROGRAM_DIR "/");
    spell_ = new TQSpell();
    spell_->LoadLanguages(QM_PROGRAM_DIR "/Dict/");
    spell_->EnableStandardDictionaries();
  }
  static void TearDownTestSuite() {
    delete spell_;
    spell_ = nullptr;
  }
  // The events as the program gives them: the Russian dictionary, nothing asked.
  static TCyrSearchEvents Events() {
    TCyrSearchEvents events;
    events.IsKnownWord = [](const std::string& word) { return spell_->IsValidWord(word, LANG_RUSSIAN); };
    events.WordClass = [](const std::string& word) {
      return spell_->FindLanguage(LANG_RUSSIAN)->Frequencies().ClassOf(FrequencyKey(word, LANG_RUSSIAN));
    };
    return events;
  }
  // The text after a search that takes the first chain offered.
  static std::string Decoded(std::string text, int maxDepth = kCyrMaxDepth) {
    const TCyrSearchResult result = SearchCyrChain(text, maxDepth, Events());
    if (result.Outcome == TCyrSearchOutcome::Accepted) ApplyCyrChain(text, result.Chain);
    return text;
  }
  // Sentences of the sample whose signs above 127 are all Cyrillic letters (so that every chain
  // below can be undone), code page 1251.
  static std::vector<std::string> PlainSentences(size_t count) {
    TStringList lines;
    lines.SetText(ReadFileBytes(QM_SOURCE_DIR "/bench/data/ru_sentences.txt"));
    std::vector<std::string> result;
    for (int i = 0; i < lines.Count() && result.size() < count; ++i) {
      const std::string sentence = Cp1251(Utf8ToWide(lines[i]));
      bool plain = true;
      for (char ch : sentence) plain &= static_cast<unsigned char>(ch) < 128 || static_cast<unsigned char>(ch) >= 192;
      if (plain) result.push_back(sentence);
    }
    return result;
  }
  static inline TQSpell* spell_ = nullptr;
};

TEST_F(CyrDecoderTest, ChainsOfWrongChangesComeBackExactly) {
  // Windows text made KOI-8 (DOS, ISO, Mac), and then further changed as if it were another.
  const TCyrChain damages[] = {
      {{0, 3}}, {{0, 1}}, {{0, 2}}, {{0, 4}},                     // one change
      {{0, 3}, {0, 1}}, {{0, 2}, {0, 3}}, {{0, 4}, {4, 3}},       // two
      {{0, 3}, {0, 4}, {4, 2}}, {{0, 1}, {1, 3}, {0, 2}},         // three
  };
  const std::vector<std::string> sentences = PlainSentences(12);
  ASSERT_EQ(sentences.size(), 12u);
  for (const TCyrChain& damage : damages) {
    for (const std::string& sentence : sentences) {
      std::string damaged = sentence;
      ApplyCyrChain(damaged, damage);
      ASSERT_NE(damaged, sentence);
      EXPECT_EQ(Decoded(damaged), sentence) << CyrChainText(damage) << WideToUtf8(AnsiToWide(sentence, 1251));
    }
  }
}

// The first chain of `depth` steps from the `start`-th on (in the order of the columns) that
// changes `sentence` and can be undone exactly; from two steps on, one whose undoing steps do
// not all pass the step test (damage the search cannot follow by fitting steps alone).
TCyrChain RealDamage(const std::string& sentence, int depth, int start) {
  std::vector<TCyrChain> chains{{}};
  for (int level = 0; level < depth; ++level) {
    std::vector<TCyrChain> longer;
    for (const TCyrChain& chain : chains)
      for (int from = 0; from < 5; ++from)
        for (int to = 0; to < 5; ++to)
          if (from != to && (chain.empty() || !(chain.back() == TCyrStep{to, from}))) {
            longer.push_back(chain);
            longer.back().push_back({from, to});
          }
    chains = longer;
  }
  for (size_t k = 0; k < chains.size(); ++k) {
    const TCyrChain& chain = chains[(size_t(start) + k) % chains.size()];
    std::string damaged = sentence;
    for (const TCyrStep& step : chain) ApplyCyrChain(damaged, {step});
    std::string undone = damaged;
    bool allFit = true;
    for (auto step = chain.rbegin(); step != chain.rend(); ++step) {
      std::string sample(CyrDecoderSample(undone));
      allFit = CyrStepTest(sample, {step->To, step->From}) && allFit;
      ApplyCyrChain(undone, {{step->To, step->From}});
    }
    if (damaged != sentence && undone == sentence && (depth == 1 || !allFit)) return chain;
  }
  return {};
}

TEST_F(CyrDecoderTest, DamageAsItHappensComesBackExactly) {
  // Each step applied to the text in whatever encoding it is in by then; sentences that start
  // with a letter a near reading gets wrong ("печь" for "Речь", "Шогда" for "Когда"), and one in
  // capitals.
  struct Case {
    int Depth, Start;
    const char16_t* Sentence;
  };
  const Case cases[] = {
      {1, 0, u"Речь идёт о том, как сохранить старые письма."},
      {1, 7, u"Когда мы вернулись домой, шёл сильный дождь."},
      {1, 13, u"Это начинается в запале спора, а кончается обидой."},
      {2, 0, u"При желании можно выбрать другую кодировку."},
      {2, 101, u"Все знали, что чужой голос звучит иначе."},
      {2, 211, u"Речь идёт о том, как сохранить старые письма."},
      {3, 0, u"Когда мы вернулись домой, шёл сильный дождь."},
      {3, 1777, u"ЭТО НАЧИНАЕТСЯ В ЗАПАЛЕ СПОРА, А КОНЧАЕТСЯ ОБИДОЙ."},
      {3, 3555, u"При желании можно выбрать другую кодировку."},
  };
  for (const Case& c : cases) {
    const std::string sentence = Cp1251(c.Sentence);
    const TCyrChain damage = RealDamage(sentence, c.Depth, c.Start);
    ASSERT_EQ(damage.size(), size_t(c.Depth)) << WideToUtf8(c.Sentence);
    std::string damaged = sentence;
    for (const TCyrStep& step : damage) ApplyCyrChain(damaged, {step});
    EXPECT_EQ(WideToUtf8(AnsiToWide(Decoded(damaged), 1251)), WideToUtf8(c.Sentence)) << CyrChainText(damage);
  }
}

TEST_F(CyrDecoderTest, OneOrTwoLettersAreNoEvidence) {
  for (const std::u16string text : {u"Щ", u"Ъ", u"ок", u"Ёж", u"x = Щ;"}) {
    const std::string bytes = Cp1251(text);
    for (int depth : {1, kCyrMaxDepth}) {
      EXPECT_EQ(SearchCyrChain(bytes, depth, Events()).Outcome, TCyrSearchOutcome::AlreadyRight) << WideToUtf8(text);
      EXPECT_EQ(Decoded(bytes, depth), bytes) << WideToUtf8(text);
    }
  }
}

TEST_F(CyrDecoderTest, CorrectRussianAndEnglishStay) {
  const std::u16string texts[] = {
      u"Съешь же ещё этих мягких французских булок, да выпей чаю.",
      u"В 1998 году «Юникод» — стандарт № 1 для текста; см. RFC 2279.",
      u"ПАРАМЕТРЫ командной строки описаны ниже.",
      u"The quick brown fox — said to be “quick” — jumps over the lazy dog.",
      u"Plain ASCII text without a single byte above 127.",
  };
  for (const std::u16string& text : texts) {
    const std::string bytes = Cp1251(text);
    for (int depth : {1, kCyrMaxDepth}) {
      const TCyrSearchResult result = SearchCyrChain(bytes, depth, Events());
      EXPECT_NE(result.Outcome, TCyrSearchOutcome::Accepted) << WideToUtf8(text);
      EXPECT_EQ(Decoded(bytes, depth), bytes) << WideToUtf8(text);
    }
  }
  EXPECT_EQ(SearchCyrChain("ASCII only", 1).Outcome, TCyrSearchOutcome::AlreadyRight);
}

TEST_F(CyrDecoderTest, Koi8ShownAsWindowsIsOneStepFromKoiToWin) {
  std::string text = Cp1251(u"Привет, мир! Это проверка декодера.");
  ApplyCyrChain(text, {{0, 3}});
  const TCyrSearchResult result = SearchCyrChain(text, 1, Events());
  ASSERT_EQ(result.Outcome, TCyrSearchOutcome::Accepted);
  EXPECT_EQ(result.Chain, (TCyrChain{{3, 0}}));
  EXPECT_EQ(CyrChainText(result.Chain), "KOI to WIN\r");
}

TEST_F(CyrDecoderTest, TablePassKeepsTheNumeroSign) {
  std::string text = "\xB9 5 \xE1\xE2\xF7";  // "№ 5" and KOI-8 "АБВ"
  ApplyCyrChain(text, {{3, 0}});
  EXPECT_EQ(text, "\xB9 5 \xC0\xC1\xC2");
  std::string iso = "\xB9";  // Й in ISO 8859-5 is a letter and converts as one
  ApplyCyrChain(iso, {{2, 0}});
  EXPECT_EQ(iso, "\xC9");
  std::string same = "\xB9";
  ApplyCyrChain(same, {});
  EXPECT_EQ(same, "\xB9");
  EXPECT_THROW(ApplyCyrChain(same, {{0, 5}}), EInvalidOperation);
}

TEST_F(CyrDecoderTest, SampleStartsAtTheFirstHighByteAndHoldsAtMost512Bytes) {
  const std::string text = std::string(100, 'a') + std::string(600, '\xE0');
  EXPECT_EQ(CyrDecoderSample(text), std::string(512, '\xE0'));
  EXPECT_EQ(CyrDecoderSample("abc"), "");
  // Only the sample decides, the chain goes over the whole text.
  std::string whole = std::string(1000, 'x') + Cp1251(u" Привет, мир! Это проверка декодера.");
  const std::string expected = whole;
  ApplyCyrChain(whole, {{0, 3}});
  EXPECT_EQ(Decoded(whole, 1), expected);
}

TEST_F(CyrDecoderTest, StepTestWantsTwoThirdsOfTheHighBytesInTheSource) {
  std::string sample = "\xE0\xE1\x85";  // two letters and an ellipsis: 2 > 3 / 1.5 is false
  EXPECT_FALSE(CyrStepTest(sample, {0, 3}));
  sample = "\xE0\xE1\xE2\x85";
  EXPECT_TRUE(CyrStepTest(sample, {0, 3}));
  EXPECT_EQ(sample, "\xC1\xC2\xD7\x85");  // converted in place; the sign stays
}

TEST_F(CyrDecoderTest, OfferedChainsNeverRepeatAnEncodingNorUndoTheStepBefore) {
  std::string text = Cp1251(u"Проверка порядка и ограничений поиска в длинном тексте.");
  ApplyCyrChain(text, {{0, 3}, {0, 1}});
  std::vector<TCyrChain> offered;
  std::vector<int> percents;
  TCyrSearchEvents events = Events();
  events.Variant = [&](const TCyrChain& chain, std::string_view, int&) {
    offered.push_back(chain);
    return false;
  };
  events.Progress = [&](int percent) {
    percents.push_back(percent);
    return false;
  };
  const TCyrSearchResult result = SearchCyrChain(text, 3, events);
  EXPECT_EQ(result.Outcome, TCyrSearchOutcome::NotFound);
  ASSERT_FALSE(offered.empty());
  std::set<TCyrChain::size_type> lengths;
  for (const TCyrChain& chain : offered) {
    lengths.insert(chain.size());
    EXPECT_LE(chain.size(), 3u);
    for (size_t i = 0; i < chain.size(); ++i) {
      EXPECT_NE(chain[i].From, chain[i].To);
      if (i > 0) EXPECT_FALSE(chain[i].From == chain[i - 1].To && chain[i].To == chain[i - 1].From);
    }
  }
  // Shorter chains first.
  for (size_t i = 1; i < offered.size(); ++i) EXPECT_LE(offered[i - 1].size(), offered[i].size());
  ASSERT_FALSE(percents.empty());
  for (int percent : percents) {
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
  }
  // One step deep, only single changes are offered.
  offered.clear();
  SearchCyrChain(text, 1, events);
  for (const TCyrChain& chain : offered) EXPECT_EQ(chain.size(), 1u);
}

TEST_F(CyrDecoderTest, StopEndsTheSearchAtOnce) {
  std::string text = Cp1251(u"Остановка поиска по просьбе пользователя.");
  ApplyCyrChain(text, {{0, 3}, {0, 1}, {1, 4}});
  int calls = 0;
  TCyrSearchEvents events = Events();
  events.Progress = [&](int) { return ++calls >= 1; };
  const TCyrSearchResult result = SearchCyrChain(text, kCyrMaxDepth, events);
  EXPECT_EQ(result.Outcome, TCyrSearchOutcome::Stopped);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(result.Chain.empty());
}

TEST_F(CyrDecoderTest, ElapsedTimeLeavesOutTheQuestions) {
  std::string text = Cp1251(u"Время поиска не включает время ответа пользователя.");
  ApplyCyrChain(text, {{0, 3}});
  TCyrSearchEvents events = Events();
  events.Variant = [](const TCyrChain&, std::string_view, int&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    return true;
  };
  const auto start = std::chrono::steady_clock::now();
  const TCyrSearchResult result = SearchCyrChain(text, kCyrMaxDepth, events);
  const auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_EQ(result.Outcome, TCyrSearchOutcome::Accepted);
  EXPECT_GE(result.ElapsedMs, 0);
  EXPECT_LT(result.ElapsedMs, wall.count() - 1000);
  EXPECT_GE(result.CandidatesTested, 1);
}

TEST_F(CyrDecoderTest, FailAsksForADeeperSearch) {
  std::string text = Cp1251(u"Глубже: текст, испорченный двумя сменами кодировки подряд.");
  ApplyCyrChain(text, {{0, 3}, {0, 1}});
  std::vector<int> asked;
  TCyrSearchEvents events = Events();
  events.Fail = [&](int maxDepth) {
    asked.push_back(maxDepth);
    return maxDepth + 1;
  };
  const TCyrSearchResult result = SearchCyrChain(text, 1, events);
  EXPECT_EQ(asked, std::vector<int>{1});
  ASSERT_EQ(result.Outcome, TCyrSearchOutcome::Accepted);
  EXPECT_EQ(result.MaxDepth, 2);
  std::string decoded = text;
  ApplyCyrChain(decoded, result.Chain);
  EXPECT_EQ(decoded, Cp1251(u"Глубже: текст, испорченный двумя сменами кодировки подряд."));
}

}  // namespace
