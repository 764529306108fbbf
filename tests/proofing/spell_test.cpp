#include "proofing/spell.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/code_pages.h"
#include "textcore/win_registry.h"
#include "spell_fixtures.h"

namespace {

// An editor over a UTF-16 string, every range in one language.
class TestEditor : public ISpellEditor {
public:
  explicit TestEditor(std::u16string Text, LCID Lcid = LANG_ENGLISH_US) : FText(std::move(Text)), FLcid(Lcid) {}
  std::u16string Text() override { return FText; }
  void GetSelection(int& Start, int& End) override { Start = FStart, End = FEnd; }
  void SetSelection(int Start, int End) override { FStart = Start, FEnd = End; }
  void ReplaceSelection(const std::u16string& Text) override {
    FText.replace(FStart, FEnd - FStart, Text);
    FStart = FEnd = FStart + static_cast<int>(Text.size());
  }
  LCID LanguageAt(int) override { return FLcid; }
  void SetLanguage(int, int, LCID) override {}
  void ResetBackground(int, int) override {}
  void MarkBackground(int, int, unsigned) override {}
  void SetRedraw(bool) override {}
  void SetHideSelection(bool) override {}
  void SetOnTextChange(TTextChange) override {}

  std::u16string FText;
  LCID FLcid;
  int FStart = 0, FEnd = 0;
};

// Windows that answer from a script and remember the questions.
class ScriptedWindows : public ISpellWindows {
public:
  bool AskStart(bool, TSpellMode& Mode, TSpellScope& Scope) override {
    Mode = StartMode;
    Scope = TSpellScope::WholeText;
    return true;
  }
  TPopupAnswer AskWord(TWordQuestion& Question) override {
    Asked.push_back(Question.Word);
    Questions.push_back(Question);
    if (WordAnswers.empty()) return TPopupAnswer::Ignore;
    auto [answer, replacement] = WordAnswers.front();
    WordAnswers.pop_front();
    if (!replacement.empty()) Question.Replacement = replacement;
    return answer;
  }
  TFindingAnswer AskFinding(TWordClass Kind, int, int) override {
    Findings.push_back(Kind);
    return FindingAnswer;
  }
  void ShowAddWords(const std::string&, LCID, bool) override {}
  void ProcessMessages() override {}

  TSpellMode StartMode = TSpellMode::Interactive;
  std::deque<std::pair<TPopupAnswer, std::string>> WordAnswers;
  TFindingAnswer FindingAnswer = TFindingAnswer::Ignore;
  std::vector<std::string> Asked;
  std::vector<TWordQuestion> Questions;
  std::vector<TWordClass> Findings;
};

class RecordedResults : public ISpellResults {
public:
  void Clear() override { Findings.clear(); }
  void AddBranch(TWordClass Kind, const std::string&, unsigned) override { Branches.push_back(Kind); }
  void Reset() override {}
  bool Progress(int) override { return false; }
  void AddFinding(const std::string& Word, const std::string& Second, LCID, bool, TWordClass Kind, int,
                  int) override {
    Findings.push_back({Kind, Word, Second});
  }
  bool ShowResults() override { return false; }
  bool HasResults() override { return !Findings.empty(); }
  void CloseResults() override { Findings.clear(); }
  void SetEditor(ISpellEditor*) override {}
  void TextChanged(int, int, int) override {}
  struct Finding {
    TWordClass Kind;
    std::string Word, Second;
    bool operator==(const Finding&) const = default;
  };
  std::vector<TWordClass> Branches;
  std::vector<Finding> Findings;
};

class SpellTest : public ::testing::Test {
protected:
  void SetUp() override {
    WriteTestDictionary(Folder.Name(), "en_uk", LANG_ENGLISH_US,
                        {"the", "cat", "sat", "on", "mat", "house", "a", "big", "dog", "ran", "away", "it's", "while",
                         "There", "was", "time", "Sentence", "ends", "here", "this", "is", "it", "see", "and", "today"});
    WriteTestLanguage(Folder.Name(), "english", LANG_ENGLISH_US, "abcdefghijklmnopqrstuvwxyz", {"the", "a"});
    WriteTestDictionary(Folder.Name(), "ru_yo", LANG_RUSSIAN, {Cp1251("дом"), Cp1251("ёж"), Cp1251("кот")});
    WriteTestLanguage(Folder.Name(), "russian", LANG_RUSSIAN, Cp1251("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"));
    Spell.LoadLanguages(Folder.Name());
    Spell.EnableStandardDictionaries();
  }
  TSpellOptions Quiet() {
    TSpellOptions options;
    options.Suspect = options.MissingSpaces = options.ExtraSpaces = options.Capitals = options.Repeats = false;
    return options;
  }

  TTempFolder Folder;
  ScriptedWindows Windows;
  RecordedResults Results;
  TQSpell Spell{&Windows, &Results};
};

TEST_F(SpellTest, WordTestsAndLanguages) {
  EXPECT_EQ(Spell.LanguageCount(), 2);
  EXPECT_TRUE(Spell.IsValidWord("cat", 0));
  EXPECT_TRUE(Spell.IsValidWord("cat", LANG_ENGLISH_US));
  EXPECT_FALSE(Spell.IsValidWord("cat", LANG_RUSSIAN));
  EXPECT_TRUE(Spell.IsValidWord(Cp1251("Ёж"), 0));
  EXPECT_FALSE(Spell.IsValidWord(std::string(41, 'a'), 0));
  EXPECT_EQ(Spell.DetectLanguage(u"cat", LANG_RUSSIAN), LANG_ENGLISH_US);
  EXPECT_EQ(Spell.DetectLanguage(u"\u0451\u0436", LANG_ENGLISH_US), LANG_RUSSIAN);
  EXPECT_EQ(Spell.DetectLanguage(u"123", LANG_RUSSIAN), LANG_RUSSIAN);  // both can: the preferred
  EXPECT_EQ(Spell.DetectLanguage(u"\u4e00", LANG_ENGLISH_US), LANG_RUSSIAN);  // none fits
  TSuggestionList list;
  Spell.Suggest("cta", list, sfMisspelt, 0);
  ASSERT_GE(list.Count(), 1);
  EXPECT_EQ(list[0].Word, "cat");
  Spell.Suggest(Cp1251("дмо"), list, sfMisspelt, LANG_ENGLISH_US);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(SpellTest, InteractivePassAsksForUnknownWordsOnly) {
  // Tab, CR and LF separate words like blanks; the apostrophe and trailing dot stay outside the word.
  TestEditor editor(u"the\tcat\r\nsat on teh mat.\tit's 'dog'. www.example.com house");
  Spell.CheckDocument(editor, Quiet());
  EXPECT_EQ(Windows.Asked, std::vector<std::string>{"teh"});
  ASSERT_EQ(Windows.Questions.size(), 1u);
  EXPECT_EQ(Windows.Questions[0].Replacement, "the");
  EXPECT_EQ(Windows.Questions[0].Start, 16);
}

TEST_F(SpellTest, WordsBeforePunctuationAreChecked) {
  // "teh," before a letter (missing space) and "teh ," (space before punctuation) are words too.
  TestEditor editor(u"teh,cat sat teh , on tha mat");
  Spell.CheckDocument(editor, Quiet());
  EXPECT_EQ(Windows.Asked, (std::vector<std::string>{"teh", "teh", "tha"}));
}

TEST(SpellFolder, DictionaryPathComesFromTheRegistry) {
  TTempFolder folder;
  const char* saved = std::getenv("QUILLOMARK_CONFIG_DIR");
  const std::string previous = saved ? saved : "";
  setenv("QUILLOMARK_CONFIG_DIR", folder.Name().c_str(), 1);
  EXPECT_EQ(DefaultDictionaryPath(), ProgramFolder() + "Dict/");
  TWinRegistry(HKEY_LOCAL_MACHINE, "Software\\Vortanel\\Shared").WriteString("Proof", "DicPath", folder / "dicts");
  EXPECT_EQ(DefaultDictionaryPath(), folder / "dicts/");
  if (saved) setenv("QUILLOMARK_CONFIG_DIR", previous.c_str(), 1);
  else unsetenv("QUILLOMARK_CONFIG_DIR");
}

TEST_F(SpellTest, UrlsAreWordsWhenNotRecognised) {
  TSpellOptions options = Quiet();
  options.Urls = false;
  TestEditor editor(u"see www.exampel.com");
  Spell.CheckDocument(editor, options);
  EXPECT_FALSE(Windows.Asked.empty());
}

TEST_F(SpellTest, ReplaceAllAndIgnoreAll) {
  Windows.WordAnswers = {{TPopupAnswer::ReplaceAll, "dog"}, {TPopupAnswer::IgnoreAll, ""}};
  TestEditor editor(u"a dgo ran away, a dgo sat; zzz and zzz");
  Spell.CheckDocument(editor, Quiet());
  EXPECT_EQ(editor.FText, u"a dog ran away, a dog sat; zzz and zzz");
  EXPECT_EQ(Windows.Asked, (std::vector<std::string>{"dgo", "zzz"}));
}

TEST_F(SpellTest, EarlierReplacementsFollowTheSuggestions) {
  Windows.WordAnswers = {{TPopupAnswer::Replace, "cat"}, {TPopupAnswer::Ignore, ""}};
  TestEditor editor(u"zzz sat; zzz sat");
  Spell.CheckDocument(editor, Quiet());
  EXPECT_EQ(editor.FText, u"cat sat; zzz sat");
  ASSERT_EQ(Windows.Questions.size(), 2u);
  const TWordQuestion& second = Windows.Questions[1];
  ASSERT_EQ(second.Suggestions.Count(), second.ProperCount + 1);
  EXPECT_EQ(second.Suggestions[second.ProperCount].Word, "cat");
}

TEST_F(SpellTest, CancelEndsThePass) {
  Windows.WordAnswers = {{TPopupAnswer::Cancel, ""}};
  TestEditor editor(u"qqq www zzz");
  Spell.CheckDocument(editor, Quiet());
  EXPECT_EQ(Windows.Asked, std::vector<std::string>{"qqq"});
  EXPECT_FALSE(Spell.Running());
}

TEST_F(SpellTest, NonSpellingFindingsAreFixed) {
  Windows.FindingAnswer = TFindingAnswer::FixAll;
  TSpellOptions options;
  options.Suspect = false;
  TestEditor editor(u"the cat sat,on the the mat.  Sentence ends today. this is it");
  Spell.CheckDocument(editor, options);
  EXPECT_EQ(editor.FText, u"the cat sat, on the mat. Sentence ends today. This is it");
  EXPECT_EQ(Windows.Findings,
            (std::vector<TWordClass>{wcMissingSpace, wcRepeated, wcExtraSpace, wcUncapitalized}));
}

TEST_F(SpellTest, ParagraphBreaksAreNotExtraSpace) {
  Windows.FindingAnswer = TFindingAnswer::Fix;
  TestEditor editor(u"the cat\r\r\rsat\r\n\r\non the mat");
  Spell.CheckDocument(editor, TSpellOptions{});
  EXPECT_TRUE(Windows.Findings.empty());
  EXPECT_EQ(editor.FText, u"the cat\r\r\rsat\r\n\r\non the mat");
}

TEST_F(SpellTest, AutomaticModeFillsTheResults) {
  Windows.StartMode = TSpellMode::Automatic;
  TSpellOptions options;
  options.Suspect = false;
  TestEditor editor(u"the cta sat  on on the mat");
  Spell.CheckDocument(editor, options);
  EXPECT_TRUE(Windows.Asked.empty());
  EXPECT_EQ(Results.Branches, (std::vector<TWordClass>{wcUnrecognized, wcMissingSpace, wcExtraSpace, wcUncapitalized,
                                                        wcRepeated}));
  const std::vector<RecordedResults::Finding> expected = {
      {wcUnrecognized, "cta", ""}, {wcExtraSpace, " ", ""}, {wcRepeated, "on ", ""}};
  EXPECT_EQ(Results.Findings, expected);
  EXPECT_EQ(editor.FText, u"the cta sat  on on the mat");
}

TEST_F(SpellTest, CheckFromTheCaretAndWithinTheSelection) {
  TestEditor editor(u"qqq cat www dog zzz");
  editor.SetSelection(4, 15);
  Spell.CheckRange(editor, TSpellOptions{}.CheckOptions(), TSpellMode::Interactive);
  EXPECT_EQ(Windows.Asked, std::vector<std::string>{"www"});
}

}  // namespace
