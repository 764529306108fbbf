// The correction engine over plain text with a small grammar and speller: rule marks, word
// kinds, the change log, loading failures and the pass's guards.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "correction_engine_fixture.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "proofing/change_log.h"
#include "proofing/dictionary.h"
#include "proofing/language.h"

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
  const std::string log = ReadFile(Folder / "Logs/test.log");
  EXPECT_NE(log.find("\r\n" + std::string(56, '-') + ": "), std::string::npos);
  EXPECT_NE(log.find("\r\n[Changed words]\r\n00000: +xaa=" + Cp1251("жаа") + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n[Unrecognized words]\r\n00004: -zzz\r\n"), std::string::npos);
  EXPECT_EQ(Engine.FindLogEntry(Cp1251("жаа")), "xaa");
  EXPECT_EQ(Engine.FindLogEntry("xaa"), "");  // text before "=" is not a replacement
  // A second pass appends its own block.
  Run("", "a=а\nx=ж", "xaa");
  const std::string twice = ReadFile(Folder / "Logs/test.log");
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
  Editor.Text = "xaa";
  EXPECT_THROW(Engine.Execute(), EInvalidOperation);
  EXPECT_EQ(Editor.Text, "xaa");
  // The right key reads the file.
  Engine.GrammarFile = "other.qg";
  Engine.UserCode = 77;
  Engine.LoadGrammar();
  EXPECT_TRUE(Engine.HasGrammar());
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
  Engine.OnProgress = [&](int Percent) { return Percent >= 0 && ++calls == 2; };
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
  Editor.Text = Cp1251("передумать");
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
  Editor.Text = "zzz qqq xaa";
  Engine.Execute();
  EXPECT_EQ(View.Kinds, (std::vector<int>{wkUnknown, wkFixed}));  // the second unknown word is not asked
  ASSERT_TRUE(Engine.Dialog().ShowOptions());
  EXPECT_TRUE(Engine.Dialog().IsEventEnabled(wkUnknown));
}

}  // namespace
