// The correction engine over plain text with a small grammar and speller: rule marks, word
// kinds, the change log, loading failures and the pass's guards.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "correction_engine_fixture.h"
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "proofing/correction_editor_adapter.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "proofing/change_log.h"
#include "proofing/dictionary.h"
#include "proofing/language.h"
#include "proofing/word_frequencies.h"

namespace {

std::string ReadFile(const std::string& Name) {
  std::ifstream in(Name, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST_F(CorrectionEngineTest, RuleMarks) {
  struct Case {
    const char* Rules;
    const char* Text;
    const char* Expected;
  };
  const Case cases[] = {
      {"a=а\nx==ж", "xaa Xaa", "жаа Xaa"},          // "=": the group as the key is written
      {"a=а\nx=>ж", "aax xaa", "ааж xaa"},          // ">": at the end only
      {"a=а\nxaa=@жаа", "xaa axaa", "жаа axaa"},    // "@": the whole word only
      {"a=а\nx=<ж", "xaa axa", "жаа axa"},          // "<": at the start only
      {"a=а\nx=^ж", "axa xaa", "ажа xaa"},          // "^": inside only
      {"a=а\nx=/ж", "xaa Xaa", "жаа Xaa"},          // "/": a small group
      {"a=а\nx=\\ж", "Xaa xaa", "Жаа xaa"},         // "\": a capital group
      {"a=а\nx=ж\nq=#", "xqaa", "жаа"},             // "#": the group is deleted
      {"a=а\nx=ш ж", "xaa", "шаа"},                 // the first variant that makes a word
      {"a=а\nx=жжж", "xaa xaa xaa", "жжжаа жжжаа жжжаа"},  // longer replacements shift the rest
  };
  for (const Case& c : cases) EXPECT_EQ(Run("", c.Rules, c.Text), c.Expected) << c.Rules;
}

TEST_F(CorrectionEngineTest, WordKindsColoursAndTheLog) {
  Engine.ExecMode = emNoDialog | emLogChanges;
  EXPECT_EQ(Run("", "a=а\nx=ж\nz=з", "xaa zzz ажа"), "жаа zzz ажа");
  const TEventColours& colours = Engine.Colours();
  EXPECT_EQ(Editor.Colours, (std::vector<TRecordingEditor::TPaint>{{0, 3, colours[wkFixed]}, {4, 7, colours[wkUnknown]}}));
  EXPECT_EQ(Engine.ChangeCount(), 1);
  EXPECT_EQ(Engine.LogEntries(),
            (std::vector<std::string>{"0***0000000000: +xaa=" + Cp1251("жаа"), "2***0000000004: -zzz"}));
  const std::string log = ReadFile(std::filesystem::path(UserStateFolder()) / "Logs/test.log");
  EXPECT_NE(log.find("\r\n" + std::string(56, '-') + ": "), std::string::npos);
  EXPECT_NE(log.find("\r\n[Changed words]\r\n00000: +xaa=" + Cp1251("жаа") + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n[Unrecognized words]\r\n00004: -zzz\r\n"), std::string::npos);
  EXPECT_EQ(Engine.FindLogEntry(Cp1251("жаа")), "xaa");
  EXPECT_EQ(Engine.FindLogEntry("xaa"), "");  // text before "=" is not a replacement
  // A second pass appends its own block.
  Run("", "a=а\nx=ж", "xaa");
  const std::string twice = ReadFile(std::filesystem::path(UserStateFolder()) / "Logs/test.log");
  EXPECT_EQ(twice.find(std::string(56, '-'), log.size()) != std::string::npos, true);
  EXPECT_EQ(twice.compare(0, log.size(), log), 0);
}

TEST_F(CorrectionEngineTest, HighlightOnlyColoursAndKeepsTheText) {
  EXPECT_EQ(Run("HighlightOnly=1", "a=а\nx=ж", "xaa"), "xaa");
  EXPECT_EQ(Editor.Colours, (std::vector<TRecordingEditor::TPaint>{{0, 3, Engine.Colours()[wkUnknown]}}));
  EXPECT_EQ(Engine.ChangeCount(), 1);
}

TEST_F(CorrectionEngineTest, SeveralVariants) {
  Engine.ExecMode = emNoDialog;
  EXPECT_EQ(Run("ConsiderMultipleVariants=1\nAutoUseFirstOfMultiple=1", "a=а\nx=ж ш", "xaa"), "жаа");
  EXPECT_EQ(Engine.LogEntries(),
            std::vector<std::string>{"6***0000000000: +xaa=" + Cp1251("жаа|жаа|шаа")});
}

TEST_F(CorrectionEngineTest, LogLinesKeepLargePositionsWhole) {
  EXPECT_EQ(LogLineOf(MakeLogEntry(0, 123, true, "abc", "abd")), "00123: +abc=abd");
  EXPECT_EQ(LogLineOf(MakeLogEntry(5, 123456, true, "abc", "abc")), "123456: +abc");
  EXPECT_EQ(MakeLogEntry(2, 7, false, "w", ""), "2***0000000007: -w");
}

TEST_F(CorrectionEngineTest, SpacedLettersAndPairsJoin) {
  EXPECT_EQ(Run("AllowMergeAcrossSpace=1", "", "д о м, ж"), "дом, ж");
  EXPECT_EQ(Run("AllowMergeAcrossSpace=1", "", "ма ма ко т"), "мама ко т");  // "т" is one letter
}

TEST_F(CorrectionEngineTest, AStaleGuessNeverReplacesAWordThatIsFineWithoutItsMarks) {
  EXPECT_EQ(Run("AutoUseBestGuess=1", "'=ь", "жаа'"), "жаа'");
  EXPECT_EQ(Run("AutoUseBestGuess=1", "'=ь\nx=ж\na=а", "xaa'"), "жаа'");
}

TEST_F(CorrectionEngineTest, AHyphenAtTheEdgeOfAWordUsesTheLimitOfLengthOne) {
  EXPECT_EQ(Run("LimitChanges=0 0 5", "a=а\nx=ж", "-xaa xaa-"), "-жаа xaa-");
}

TEST_F(CorrectionEngineTest, GrammarThatCannotBeReadLeavesNoSchemeAndNoPass) {
  Run("", "a=а\nx=ж", "xaa");
  ASSERT_TRUE(Engine.HasGrammar());
  // The rule file is missing.
  Engine.GrammarFile = "missing.qg";
  EXPECT_THROW(Engine.LoadGrammar(), EInvalidOperation);
  EXPECT_FALSE(Engine.HasGrammar());
  EXPECT_EQ(Engine.CurrentScheme(), nullptr);
  EXPECT_THROW(Engine.Execute(), EInvalidOperation);
  // Enciphered with another key, or without "[General]".
  WriteGrammar("other", "[General]\n[Schema1]\nAnalytical=R\n[R]\na=b\n", 77);
  WriteGrammar("nohead", "[Schema1]\nAnalytical=R\n[R]\na=b\n");
  for (const char* name : {"other.qg", "nohead.qg"}) {
    Engine.GrammarFile = name;
    Engine.UserCode = 5;
    try {
      Engine.LoadGrammar();
      ADD_FAILURE() << name;
    } catch (const EInvalidOperation& e) {
      EXPECT_NE(std::string(e.what()).find("cannot be read"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Engine.UserCode, 0u);
    EXPECT_FALSE(Engine.HasGrammar());
  }
  Editor.SetText("xaa");
  EXPECT_THROW(Engine.Execute(), EInvalidOperation);
  EXPECT_EQ(Editor.Text(), "xaa");
  // The right key reads the file.
  Engine.GrammarFile = "other.qg";
  Engine.UserCode = 77;
  Engine.LoadGrammar();
  EXPECT_TRUE(Engine.HasGrammar());
}

// Of two readings that are words, a more frequent later one wins only when it is more frequent
// by more than its place in the rules; a reading that the text alone makes words with (three
// words of four letters or more) costs nothing from then on.
TEST_F(CorrectionEngineTest, FrequenciesAndTheTextsOwnReadingsChooseBetweenWords) {
  struct TCase {
    int Zhaa, Shaa;  // counts in the prose
    const char* Text;
    const char* Expected;
  } cases[] = {
      {8, 4, "qaa", "шаа"},                                        // twice as often: the rules' order stays
      {64, 4, "qaa", "жаа"},                                       // sixteen times: the frequency wins
      {8, 4, "qqqaa qqqaa qqqaa qaa", "жжжаа жжжаа жжжаа жаа"},  // "q" is this text's "ж"
      {8, 4, "qqqaa qqqaa qaa", "жжжаа жжжаа шаа"},              // two words are no evidence yet
  };
  for (const TCase& c : cases) {
    WriteFileAtomic(Folder / "Dict/russian.qwf",
                    BuildFrequencyFile(1049, 100, {{Cp1251("жаа"), c.Zhaa}, {Cp1251("шаа"), c.Shaa}}));
    TQSpell spell;
    spell.LoadLanguages(Folder / "Dict/");
    Engine.Spell = &spell;
    EXPECT_EQ(Run("", "q=ш ж\na=а", c.Text), c.Expected) << c.Text << " " << c.Zhaa;
    Engine.Spell = &Spell;
  }
}

TEST_F(CorrectionEngineTest, TheRareDictionaryIsSwitchedBackHoweverThePassEnds) {
  TQDictionary* rare = Spell.FindLanguage(1049)->FindDictionary("ru_rare");
  ASSERT_NE(rare, nullptr);
  ASSERT_FALSE(rare->Enabled);
  bool seenOn = false;
  Engine.OnNextStep = [&](int, int, int, int) {
    seenOn = rare->Enabled;
    return false;
  };
  Run("TransformSpecialSyntax=1", "a=а", "xaa");
  EXPECT_TRUE(seenOn);
  EXPECT_FALSE(rare->Enabled);
  Engine.OnNextStep = [&](int, int, int, int) -> bool { throw EAbort("stopped"); };
  EXPECT_THROW(Run("TransformSpecialSyntax=1", "a=а", "xaa"), EAbort);
  EXPECT_FALSE(rare->Enabled);
}

TEST_F(CorrectionEngineTest, APassWithoutTheDialogReportsProgressAndStops) {
  int calls = 0;
  Engine.OnProgress = [&](int) { return ++calls == 2; };
  EXPECT_EQ(Run("NoPostValidate=1", "a=а\nx=ж", "xaa xaa xaa"), "жаа xaa xaa");
  EXPECT_TRUE(Engine.Stopped());
  EXPECT_EQ(calls, 2);
}

TEST_F(CorrectionEngineTest, ASecondPassFromAnEventReturnsAtOnce) {
  int nested = 0;
  Engine.OnNextStep = [&](int, int, int, int) {
    ++nested;
    Engine.Execute();
    return false;
  };
  EXPECT_EQ(Run("", "a=а\nx=ж", "xaa"), "жаа");
  EXPECT_EQ(nested, 3);  // one call per step of the one pass
}

TEST_F(CorrectionEngineTest, AnyPrefixKeyThatLeavesAValidRestRecognisesTheWord) {
  int valid = -1;
  Engine.OnNextStep = [&](int Step, int, int Valid, int) {
    if (Step == 1) valid = Valid;
    return false;
  };
  WriteGrammar("test",
               "[General]\n[ValidPrefix]\nпере=\nперед=\n[Validator1]\nName=russian\n"
               "[Schema1]\nValidator=russian\nPerformAnalytical=1\nDetectNewWords=1\nAnalytical=R\n[R]\na=а\n");
  Engine.LoadGrammar();
  Engine.SelectScheme(0);
  Editor.SetText(Cp1251("передумать"));
  Engine.Execute();
  EXPECT_EQ(valid, 1);
}

TEST_F(CorrectionEngineTest, EachEngineHasItsOwnEventColours) {
  TQGrammar other;
  other.Spell = &Spell;
  WriteGrammar("coloured", "[General]\n[BaseOptions]\nColorFixed=255\n[Schema1]\nAnalytical=R\n[R]\na=b\n");
  other.GrammarFile = "coloured.qg";
  other.LoadGrammar();
  Run("", "a=а", "aaa");
  EXPECT_EQ(other.Colours()[wkFixed], 255u);
  EXPECT_EQ(Engine.Colours()[wkFixed], DefaultEventColours()[wkFixed]);
}

// Answers each question with the scripted answer and edit text; notes the questions.
class ScriptedAskView : public IAskView {
public:
  bool ShowOptionsPage(TAskDialog&) override { return true; }
  TAskAnswer ShowConfirmPage(TAskDialog& Dialog, int Kind) override {
    Kinds.push_back(Kind);
    Words.push_back(Dialog.Word);
    Contexts.push_back(Dialog.Context);
    if (EditText) Dialog.Edit = Cp1251(*EditText);
    Dialog.IgnoreEvent = IgnoreEvent;
    return Answer;
  }
  TAskAnswer Answer = TAskAnswer::Replace;
  std::optional<std::string> EditText;  // UTF-8; unset: the edit keeps the suggestion
  bool IgnoreEvent = false;
  std::vector<int> Kinds;
  std::vector<std::string> Words, Contexts;
};

class CorrectionEngineDialogTest : public CorrectionEngineTest {
protected:
  CorrectionEngineDialogTest() {
    Engine.Dialog().View = &View;
    Engine.ExecMode = emPrompt;
  }
  ScriptedAskView View;
};

TEST_F(CorrectionEngineDialogTest, AnOkAnswerWithAnEmptyEditKeepsTheWord) {
  for (TAskAnswer answer : {TAskAnswer::Replace, TAskAnswer::AddToDictionary, TAskAnswer::ReplaceAll}) {
    View.Answer = answer;
    View.EditText = "";
    EXPECT_EQ(Run("", "a=а\nz=з", "zzz ажа"), "zzz ажа");
    ASSERT_FALSE(View.Kinds.empty());
    EXPECT_EQ(View.Kinds.back(), wkUnknown);
  }
  EXPECT_EQ(Spell.FindLanguage(1049)->UserWords().Count(), 0);
}

TEST_F(CorrectionEngineDialogTest, AnswersReplaceSkipAndStop) {
  View.EditText = "дом";
  EXPECT_EQ(Run("", "a=а\nz=з", "zzz ажа zzz"), "дом ажа дом");
  EXPECT_EQ(View.Words, (std::vector<std::string>{"zzz", "zzz"}));
  EXPECT_EQ(View.Contexts.front(), Cp1251("zzz ажа zzz"));
  View.Answer = TAskAnswer::Skip;
  EXPECT_EQ(Run("", "a=а\nz=з", "zzz"), "zzz");
  View.Answer = TAskAnswer::Stop;
  View.Kinds.clear();
  EXPECT_EQ(Run("", "a=а\nz=з", "zzz zzz"), "zzz zzz");
  EXPECT_EQ(View.Kinds.size(), 1u);
  EXPECT_TRUE(Engine.Stopped());
}

TEST_F(CorrectionEngineDialogTest, ReplaceAllAnswersTheSameWordLater) {
  View.Answer = TAskAnswer::ReplaceAll;
  View.EditText = "кот";
  EXPECT_EQ(Run("", "z=з", "zzz ажа zzz"), "кот ажа кот");
  EXPECT_EQ(View.Kinds.size(), 1u);
  std::string word = "zzz";
  EXPECT_TRUE(Engine.Dialog().LookupRemembered(word));
  EXPECT_EQ(word, Cp1251("кот"));
}

TEST_F(CorrectionEngineDialogTest, DontStopOnThisEventHoldsForThePass) {
  Engine.ExecMode = emBreakOnEvents;
  View.Answer = TAskAnswer::Skip;
  View.IgnoreEvent = true;
  WriteGrammar("test",
               "[General]\n[ProcessOptions]\nOnUnknownWord=Unknown|No variant\nOnFixedWord=Fixed\n"
               "[Validator1]\nName=russian\n[Schema1]\nValidator=russian\nPerformAnalytical=1\nAnalytical=R\n"
               "[R]\na=а\nx=ж\n");
  Engine.LoadGrammar();
  ASSERT_EQ(Engine.Dialog().Events.size(), 2u);
  EXPECT_EQ(Engine.Dialog().Events[1].Title, "Unknown");
  EXPECT_EQ(Engine.Dialog().Events[1].Description, "No variant");
  ASSERT_TRUE(Engine.Dialog().ShowOptions());
  Engine.ApplyDialogOptions();
  Editor.SetText("zzz qqq xaa");
  Engine.Execute();
  EXPECT_EQ(View.Kinds, (std::vector<int>{wkUnknown, wkFixed}));  // the second unknown word is not asked
  ASSERT_TRUE(Engine.Dialog().ShowOptions());
  EXPECT_TRUE(Engine.Dialog().IsEventEnabled(wkUnknown));
}

// Breaking on converted words: "kot" is converted by the rules directly, so only the answer
// memory keeps a later "kot" from being converted again or asked about.
class CorrectionEngineAnswerTest : public CorrectionEngineDialogTest {
protected:
  std::string RunBreaking(const std::string& Utf8Text) {
    Engine.ExecMode = emBreakOnEvents;
    WriteGrammar("test",
                 "[General]\n[ProcessOptions]\nOnFixedWord=Fixed\nOnUnknownWord=Unknown\n"
                 "[Validator1]\nName=russian\nLanguage=1049\n[Schema1]\nValidator=russian\nPerformAnalytical=1\n"
                 "Analytical=R\n[R]\nsh=ш\nk=к\na=а\nf=ф\nd=д\no=о\nm=м\nt=т\n");
    Engine.LoadGrammar();
    EXPECT_TRUE(Engine.Dialog().ShowOptions());
    Engine.ApplyDialogOptions();
    Editor.SetText(Cp1251(Utf8Text));
    Engine.Execute();
    return Utf8(Editor.Text());
  }
};

TEST_F(CorrectionEngineAnswerTest, ReplaceAllAndSkipAllHoldForDirectlyConvertedWords) {
  View.Answer = TAskAnswer::ReplaceAll;
  View.EditText = "стол";
  EXPECT_EQ(RunBreaking("kot, kot kot"), "стол, стол стол");
  EXPECT_EQ(View.Words, (std::vector<std::string>{"kot"}));
  Engine.Dialog().ClearMemory();
  View.Words.clear();
  View.Answer = TAskAnswer::SkipAll;
  View.EditText.reset();
  EXPECT_EQ(RunBreaking("kot mama kot"), "kot mama kot");
  EXPECT_EQ(View.Words, (std::vector<std::string>{"kot", "mama"}));
}

TEST_F(CorrectionEngineAnswerTest, AddToDictionaryAddsTheEditToTheEnginesSpeller) {
  View.Answer = TAskAnswer::AddToDictionary;
  View.EditText = "мотт";
  EXPECT_EQ(RunBreaking("mott"), "мотт");
  EXPECT_TRUE(Spell.IsValidWord(Cp1251("мотт"), 1049));
  View.EditText = "motto";
  RunBreaking("zzz");
  EXPECT_TRUE(Spell.IsValidWord("motto", 1033));
}

// A word added through the dialog is known at its later occurrences in the same pass.
TEST_F(CorrectionEngineAnswerTest, AWordAddedDuringAPassIsKnownForTheRestOfIt) {
  View.Answer = TAskAnswer::AddToDictionary;
  View.EditText = "zzyzx";
  EXPECT_EQ(RunBreaking("zzyzx, zzyzx zzyzx"), "zzyzx, zzyzx zzyzx");
  EXPECT_EQ(View.Words, (std::vector<std::string>{"zzyzx"}));
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, MessagesComeInTheInterfaceLanguage) {
  Engine.MultiLanguage = [](const std::string& Key) {
    return Key == "GrammarMissing" ? std::string("Нет файла %s (%s)") : std::string();
  };
  Engine.GrammarFile = "missing.qg";
  try {
    Engine.LoadGrammar();
    ADD_FAILURE();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(std::string(e.what()), "Нет файла missing.qge (missing.qg)");
  }
}

TEST_F(CorrectionEngineTest, TheGrammarsTextsInTheDialogComeInTheInterfaceLanguage) {
  Engine.MultiLanguage = [](const std::string& Key) {
    static const std::map<std::string, std::string> texts = {
        {"GrammarRussianInLatinLetters", "Русский латиницей"},
        {"GrammarLatinText", "Латиница"},
        {"GrammarConvertedWordAWordWasConverted", "Слово|Описание"}};
    const auto at = texts.find(Key);
    return at == texts.end() ? std::string() : at->second;
  };
  WriteGrammar("named", "[General]\nInfo=Russian in Latin letters\n[ProcessOptions]\n"
                        "OnFixedWord=Converted word|A word was converted\nOnUnsure=Uncertain|Not sure\n"
                        "[Schema1]\nId=Latin text\nAnalytical=R\n[R]\na=b\n");
  Engine.GrammarFile = "named.qg";
  Engine.LoadGrammar();
  EXPECT_EQ(Engine.Dialog().Caption, "Русский латиницей");
  EXPECT_EQ(Engine.Dialog().Schemes, std::vector<std::string>{"Латиница"});
  ASSERT_EQ(Engine.Dialog().Events.size(), 2u);
  EXPECT_EQ(Engine.Dialog().Events[0].Title, "Слово");
  EXPECT_EQ(Engine.Dialog().Events[1].Title, "Uncertain");  // no text in the language: English
}

TEST_F(CorrectionEngineTest, AWordThatMovedIsLeftAloneAndReportedOnlyWhenDebugging) {
  for (bool debug : {false, true}) {
    std::vector<std::string> messages;
    Engine.OnMessage = [&](const std::string& Text) { messages.push_back(Text); };
    Engine.ExecMode = emNoDialog | (debug ? emDebug : 0);
    // Text put in front of the words behind the engine's back.
    Engine.OnProgress = [&](int) {
      if (Editor.Text().find("xaa") == 0) Editor.SetText("q" + Editor.Text());
      return false;
    };
    EXPECT_EQ(Run("NoPostValidate=1", "a=а\nx=ж", "xaa"), "qxaa");
    EXPECT_EQ(messages.size(), debug ? 1u : 0u);
    if (debug)
      EXPECT_EQ(messages[0], "Positioning failed at offset 0. Please report this error to the developer. Attach the "
                             "text file this error occured in.");
  }
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, MathematicalTextIsLeftAlone) {
  EXPECT_EQ(Run("AutoUseBestGuess=1", "x=ж\ny=у\na=а\nb=б", "x+y=2 ab+"), "ж+у=2 аб+");
  EXPECT_EQ(Run("AutoUseBestGuess=1\nDetectMath=1", "x=ж\ny=у\na=а\nb=б", "x+y=2 abcd+"), "x+y=2 абcd+");
}

TEST_F(CorrectionEngineTest, NewWordsSeenTwiceAreKeptAndLogged) {
  EXPECT_EQ(Run("DetectNewWords=1\nNewWordTreshold=3\nAutoUseBestGuess=1", "z=з\nq=к", "zzz qqq zzz"), "zzz ккк zzz");
  const std::vector<std::string>& log = Engine.LogEntries();
  EXPECT_EQ(std::count(log.begin(), log.end(), "5***0000000000: +zzz"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "5***0000000008: +zzz"), 1);
}

TEST_F(CorrectionEngineTest, SpacedLettersOfAWordAreJoinedWhereTheRangeStarts) {
  WriteGrammar("test", "[General]\n[Validator1]\nName=russian\n[Schema1]\nValidator=russian\nPerformAnalytical=1\n"
                       "DetectNewWords=1\nAnalytical=R\n[R]\na=а\n");
  Engine.LoadGrammar();
  Engine.SelectScheme(0);
  Editor.SetText(Cp1251("д о м. м а м а, д о м"));
  Editor.SetSelection(6, static_cast<int>(Editor.Text().size()));
  Engine.Execute();
  EXPECT_EQ(Utf8(Editor.Text()), "д о м. мама, дом");
}

TEST_F(CorrectionEngineTest, TypedWordOnTheOtherLayoutIsConverted) {
  Run("", "a=а", "");
  struct Case {
    const char* Typed;
    int Mode;
    const char* Expected;
  };
  const Case cases[] = {{"ghbdtn", 1, "привет"}, {"ghbdtn", 2, "привет"}, {"cat", 1, "cat"}, {"ecat", 2, "усфе"}};
  for (const Case& c : cases) {
    Editor.SetText(std::string("x ") + c.Typed);
    Editor.SetSelection(static_cast<int>(Editor.Text().size()), static_cast<int>(Editor.Text().size()));
    Engine.HandleTypedKey(c.Mode);
    EXPECT_EQ(Utf8(Editor.Text()), std::string("x ") + c.Expected) << c.Typed;
  }
}

// The same engine on a rich text control: scopes by link, and the user's links stay.
class CorrectionEngineRichTest : public CorrectionEngineTest {
protected:
  CorrectionEngineRichTest() { Engine.Editor = &RichEditor; }
  std::string RunRich(const std::string& Schema, const std::u16string& Text, const std::u16string& Linked) {
    WriteGrammar("test", "[General]\n[Validator1]\nName=russian\n[Schema1]\nValidator=russian\nPerformAnalytical=1\n"
                         "AutoUseBestGuess=1\nAnalytical=R\n" + Schema + "\n[R]\nx=ж\na=а\n");
    Engine.LoadGrammar();
    Engine.Dialog().Automatic = true;
    Engine.SelectScheme(0);
    Edit.Control().SetText(Text);
    const int at = static_cast<int>(Text.find(Linked));
    Edit.Control().SetSel(at, at + static_cast<int>(Linked.size()));
    Edit.SelAttributes()->SetLink(true);
    Edit.Control().SetSel(0, 0);
    Engine.Execute();
    EXPECT_TRUE(Edit.Control().CharFormatAt(at).Link);  // the user's link stays
    return WideToUtf8(Edit.GetTextW());
  }
  TRichEditW Edit{nullptr};
  TRichEditCorrectionEditor RichEditor{Edit};
};

TEST_F(CorrectionEngineRichTest, ReplaceScopesFollowTheLinks) {
  EXPECT_EQ(RunRich("ReplaceScope=url", u"xaa xaa aaa", u"xaa aaa"), "xaa жаа ааа");
  EXPECT_EQ(RunRich("ReplaceScope=normal", u"xaa xaa aaa", u"xaa aaa"), "жаа xaa aaa");
  EXPECT_EQ(RunRich("ReplaceScope=all", u"xaa aaa", u"aaa"), "жаа ааа");
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, TheWordBeforeTheCaretIsConverted) {
  Run("", "x=ж\na=а", "");
  Editor.SetText("xaa xaa tail");
  Editor.SetSelection(7, 7);  // just after the second word
  Engine.ConvertCurrentWord(false);
  EXPECT_EQ(Utf8(Editor.Text()), "xaa жаа tail");
  int start = 0, end = 0;
  Editor.GetSelection(start, end);
  EXPECT_EQ(start, 7);
  EXPECT_EQ(end, 7);
}

TEST_F(CorrectionEngineTest, StatusChecksBetweenStepsCanStopThePass) {
  int checks = 0;
  Engine.OnStatus = [&](int Count) {
    checks = Count;
    return true;
  };
  EXPECT_EQ(Run("", "x=ж\na=а", "xaa"), "xaa");
  EXPECT_EQ(checks, 1);
  EXPECT_TRUE(Engine.Stopped());
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, ListStepsRunThroughTheShellAndTheMarksFollowTheText) {
  std::vector<std::string> seen;
  Engine.ListReplacer = [&](const std::vector<std::string>& Lines, bool, bool, bool, bool, int Start, int End) {
    int count = 0;
    for (const std::string& line : Lines) {
      seen.push_back(line);
      const std::string from = line.substr(0, line.find('=')), to = line.substr(line.find('=') + 1);
      std::string text = Editor.TextRange(Start, End);
      for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()), ++count)
        text.replace(at, from.size(), to);
      Editor.Replace(Start, End, text);
    }
    return count;
  };
  WriteGrammar("test",
               "[General]\n[Validator1]\nName=russian\n[Schema1]\nValidator=russian\nPerformAnalytical=1\n"
               "PerformFormatting=1\nDetectMath=1\nFormatting=F\nAnalytical=R\n[F]\nq=qqqq\n[R]\nx=ж\ny=у\na=а\n");
  Engine.LoadGrammar();
  Engine.SelectScheme(0);
  Editor.SetText("q x+y=2 xaa");
  Engine.Execute();
  EXPECT_EQ(seen, std::vector<std::string>{"q=qqqq"});
  EXPECT_EQ(Utf8(Editor.Text()), "qqqq x+y=2 жаа");
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, DebuggingShowsTheSegmentsAndVariants) {
  std::vector<std::vector<std::string>> columns;
  std::vector<std::string> variants;
  std::string caption;
  Engine.OnRuleDebug = [&](const auto& Segments, const auto& Built, const std::string& Caption) {
    columns = Segments;
    variants = Built;
    caption = Caption;
  };
  Engine.ExecMode = emNoDialog | emDebug;
  EXPECT_EQ(Run("ConsiderMultipleVariants=1", "x=ж ш\na=а", "xaa"), "xaa");  // two words and no choice
  EXPECT_EQ(caption, "Debugging grammar test.qg");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0], (std::vector<std::string>{"x", Cp1251("ж"), Cp1251("ш")}));
  EXPECT_EQ(variants, (std::vector<std::string>{Cp1251("жаа"), Cp1251("шаа")}));
  EXPECT_TRUE(Engine.LogEntries().empty());  // no log entries while debugging
}

TEST_F(CorrectionEngineTest, AuxiliaryWordsAreValid) {
  std::ofstream(Folder / "aux.txt") << Cp1251("жжж\nЖук\n");
  Engine.SetAuxDictionary("aux.txt");  // taken from the program folder
  EXPECT_TRUE(Engine.IsRussianWord(Cp1251("жжж")));
  EXPECT_TRUE(Engine.IsRussianWord(Cp1251("Жжж")));  // a capitalised word is looked up in small letters
  EXPECT_FALSE(Engine.IsRussianWord(Cp1251("жук")));
  EXPECT_FALSE(Engine.IsEnglishWord("zzz"));
  std::vector<LCID> converted;
  Engine.OnTypedConversion = [&](LCID Lcid) { converted.push_back(Lcid); };
  Editor.SetText("ghbdtn");
  Editor.SetSelection(6, 6);
  EXPECT_TRUE(Engine.HandleTypedKey(2));
  EXPECT_EQ(converted, std::vector<LCID>{1049});
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, TagsAndAddressesAreLeftAloneWithHtmlDetection) {
  const char* rules = "b=б\nx=ж\na=а\nw=в\nr=р\nu=у";
  EXPECT_EQ(Run("AutoUseBestGuess=1", rules, "<b>xaa</b> xaa"), "<б>жаа</б> жаа");
  EXPECT_EQ(Run("AutoUseBestGuess=1\nDetectHTML=1", rules, "<b>xaa</b> xaa www.xaa.ru &xaa;"),
            "<b>жаа</b> жаа www.xaa.ru &xaa;");
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, TheSearchOfOneWordIsBounded) {
  size_t built = 0;
  Engine.OnRuleDebug = [&](const auto&, const auto& Variants, const std::string&) { built = std::max(built, Variants.size()); };
  Engine.ExecMode = emNoDialog | emDebug;
  const std::string word(20, 'x');  // 2^20 variants if nothing stopped the search
  EXPECT_EQ(Run("ConsiderMultipleVariants=1\nLimitVariants=100000", "x=ж ш", word), word);
  EXPECT_GT(built, 1000u);
  EXPECT_LE(built, 4096u);
  built = 0;
  EXPECT_EQ(Run("ConsiderMultipleVariants=1\nLimitVariants=50", "x=ж ш", word), word);
  EXPECT_EQ(built, 51u);  // the search stops once it holds more than LimitVariants
}

}  // namespace

namespace {

TEST_F(CorrectionEngineTest, RussianAndEnglishWordTests) {
  const std::pair<const char*, bool> russian[] = {
      {"я", true},      {"Я", true},    {"ж", true},      {"д", false},    {"Ж", false}, {"дом", true},
      {"дoм", false},   {"", false},    {"5-", false},    {"мама-", false}, {"12дом", false}, {"кот", true},
      {"жаа", true},    {"ЖАА", true},  {"ёж", false}};
  for (const auto& [word, expected] : russian) EXPECT_EQ(Engine.IsRussianWord(Cp1251(word)), expected) << word;
  EXPECT_TRUE(Engine.IsEnglishWord("cat"));
  EXPECT_FALSE(Engine.IsEnglishWord(""));
  EXPECT_FALSE(Engine.IsEnglishWord(Cp1251("кот")));
}

}  // namespace
