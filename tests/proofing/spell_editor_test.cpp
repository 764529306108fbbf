// Document checks over a real rich text control with the dictionaries generated into the program
// folder.
#include "proofing/spell_editor_adapter.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "proofing/spell.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "platform/rich_text.h"

namespace {

// Three paragraphs, Russian and English, with four misspellings in runs of their own format.
const std::u16string kDocument =
    u"The quick brown fox jumpd over the lazy dog.\r"
    u"Мы пошли в лес за грибамии и ягодами.\r"
    u"Письмо дошло харошо, and I hope you recieve it.";

struct TMisspelling {
  std::u16string Wrong, Right;
  LCID Lcid;
};
const TMisspelling kMisspellings[] = {{u"jumpd", u"jumped", LANG_ENGLISH_US},
                                      {u"грибамии", u"грибами", LANG_RUSSIAN},
                                      {u"харошо", u"хорошо", LANG_RUSSIAN},
                                      {u"recieve", u"receive", LANG_ENGLISH_US}};

// The control's state as a window of the check finds it.
struct TEditorView {
  int SelStart = 0, SelEnd = 0;
  int UpdateLock = 0;
  bool SelectionHidden = false;
};

TEditorView ViewOf(TRichEditW& Edit) {
  return {Edit.SelStart(), Edit.SelStart() + Edit.SelLength(), Edit.UpdateLock(),
          Edit.Control().SelectionHidden()};
}

// Windows that answer every word with one answer (the edit field keeps the first suggestion)
// and note what the editor showed when they were asked.
class AnsweringWindows : public ISpellWindows {
public:
  explicit AnsweringWindows(TRichEditW& Edit) : FEdit(Edit) {}
  bool AskStart(bool, TSpellMode& Mode, TSpellScope& Scope) override {
    Mode = StartMode;
    Scope = TSpellScope::WholeText;
    return true;
  }
  TPopupAnswer AskWord(TWordQuestion& Question) override {
    Questions.push_back(Question);
    Views.push_back(ViewOf(FEdit));
    if (Answers.empty()) return TPopupAnswer::Replace;
    const TPopupAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  TFindingAnswer AskFinding(TWordClass Kind, int, int) override {
    Findings.push_back(Kind);
    return TFindingAnswer::Ignore;
  }
  void ShowAddWords(const std::string&, LCID, bool) override {}
  void ProcessMessages() override {}

  TSpellMode StartMode = TSpellMode::Interactive;
  std::deque<TPopupAnswer> Answers;
  std::vector<TWordQuestion> Questions;
  std::vector<TEditorView> Views;
  std::vector<TWordClass> Findings;

private:
  TRichEditW& FEdit;
};

class RecordingResults : public ISpellResults {
public:
  explicit RecordingResults(TRichEditW& Edit) : FEdit(Edit) {}
  void Clear() override { Findings.clear(); }
  void AddBranch(TWordClass, const std::string&, unsigned) override {}
  void Reset() override {}
  bool Progress(int Percent) override {
    Views.push_back(ViewOf(FEdit));
    Percents.push_back(Percent);
    return false;
  }
  void AddFinding(const std::string& Word, const std::string&, LCID Lcid, bool, TWordClass Kind, int Length,
                  int Start) override {
    Findings.push_back({Kind, Word, Lcid, Start, Length});
  }
  bool ShowResults() override { return false; }
  bool HasResults() override { return !Findings.empty(); }
  void CloseResults() override { Findings.clear(); }
  void SetEditor(ISpellEditor*) override {}
  void TextChanged(int, int, int) override {}

  struct Finding {
    TWordClass Kind;
    std::string Word;
    LCID Lcid;
    int Start, Length;
    bool operator==(const Finding&) const = default;
  };
  std::vector<Finding> Findings;
  std::vector<TEditorView> Views;
  std::vector<int> Percents;

private:
  TRichEditW& FEdit;
};

std::string Ansi(const std::u16string& Word, LCID Lcid) {
  return WideToAnsi(Word, Lcid == LANG_RUSSIAN ? 1251u : 1252u);
}
std::u16string Wide(const std::string& Word, LCID Lcid) {
  return AnsiToWide(Word, Lcid == LANG_RUSSIAN ? 1251u : 1252u);
}

class SpellEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    Spell.LoadLanguages(QM_PROGRAM_DIR "/Dict/");
    Spell.EnableStandardDictionaries();
    ASSERT_EQ(Spell.LanguageCount(), 2);
    Edit.SetLanguage(LANG_RUSSIAN);
    Edit.SetTextW(kDocument);
    // "fox " italic, "jumpd" bold and red, " over" underlined, "харошо" blue.
    Format(u"fox ", [](TTextAttributesW& a) { a.SetItalic(true); });
    Format(u"jumpd", [](TTextAttributesW& a) {
      a.SetBold(true);
      a.SetColor(clRed);
    });
    Format(u" over", [](TTextAttributesW& a) { a.SetUnderlineType(1); });
    Format(u"харошо", [](TTextAttributesW& a) { a.SetColor(clBlue); });
    Edit.SetSelStart(0);
  }

  template <class F>
  void Format(const std::u16string& Part, F Change) {
    const int at = Position(Part);
    Edit.Control().SetSel(at, at + static_cast<int>(Part.size()));
    Change(*Edit.SelAttributes());
  }
  int Position(const std::u16string& Part) const {
    const size_t at = Edit.GetTextW().find(Part);
    EXPECT_NE(at, std::u16string::npos) << WideToUtf8(Part);
    return static_cast<int>(at);
  }
  TCharFormat FormatAt(int Position) const { return Edit.Control().CharFormatAt(Position); }
  // Every check but the misprint test, which flags many valid words of a real dictionary.
  static TSpellOptions Options() {
    TSpellOptions options;
    options.Suspect = false;
    return options;
  }

  TRichEditW Edit{nullptr};
  TRichEditSpellEditor Editor{Edit};
  AnsweringWindows Windows{Edit};
  RecordingResults Results{Edit};
  TQSpell Spell{&Windows, &Results};
};

TEST_F(SpellEditorTest, AutomaticPassFindsTheMisspellingsWhereTheyAre) {
  Windows.StartMode = TSpellMode::Automatic;
  Spell.CheckDocument(Editor, Options());

  std::vector<RecordingResults::Finding> expected;
  for (const auto& m : kMisspellings)
    expected.push_back({wcUnrecognized, Ansi(m.Wrong, m.Lcid), m.Lcid, Position(m.Wrong),
                        static_cast<int>(m.Wrong.size())});
  EXPECT_EQ(Results.Findings, expected);
  EXPECT_TRUE(Windows.Questions.empty());
  EXPECT_TRUE(Windows.Findings.empty());
  EXPECT_EQ(Edit.GetTextW(), kDocument);
  // English words in the Russian text now carry their language; the Russian text keeps none.
  EXPECT_EQ(FormatAt(Position(u"quick")).Lcid, LANG_ENGLISH_US);
  EXPECT_EQ(FormatAt(Position(u"recieve")).Lcid, LANG_ENGLISH_US);
  EXPECT_EQ(FormatAt(Position(u"лес")).Lcid, 0u);
  EXPECT_EQ(Editor.LanguageAt(Position(u"лес")), LANG_RUSSIAN);
  // The selection is hidden and drawing held while the pass runs, and both come back after it.
  ASSERT_FALSE(Results.Views.empty());
  for (const TEditorView& view : Results.Views) {
    EXPECT_TRUE(view.SelectionHidden);
    EXPECT_GT(view.UpdateLock, 0);
  }
  EXPECT_FALSE(Edit.Control().SelectionHidden());
  EXPECT_TRUE(Edit.HideSelection());  // the property stays as the editor's owner set it
  EXPECT_EQ(Edit.UpdateLock(), 0);
}

TEST_F(SpellEditorTest, InteractivePassCorrectsTheTextAndKeepsItsFormatting) {
  Spell.CheckDocument(Editor, Options());

  ASSERT_EQ(Windows.Questions.size(), std::size(kMisspellings));
  std::u16string corrected = kDocument;
  for (size_t i = 0; i < std::size(kMisspellings); ++i) {
    const TMisspelling& m = kMisspellings[i];
    const TWordQuestion& question = Windows.Questions[i];
    EXPECT_EQ(question.Word, Ansi(m.Wrong, m.Lcid));
    EXPECT_EQ(question.Lcid, m.Lcid);
    EXPECT_EQ(question.Replacement, Ansi(m.Right, m.Lcid));
    // The word is selected in the text as corrected so far, and the text is drawn meanwhile.
    const int start = static_cast<int>(corrected.find(m.Wrong));
    EXPECT_EQ(question.Start, start);
    EXPECT_EQ(Windows.Views[i].SelStart, start);
    EXPECT_EQ(Windows.Views[i].SelEnd, start + static_cast<int>(m.Wrong.size()));
    EXPECT_EQ(Windows.Views[i].UpdateLock, 0);
    EXPECT_EQ(question.Context.substr(question.WordStart, m.Wrong.size()), m.Wrong);
    corrected.replace(start, m.Wrong.size(), m.Right);
  }
  EXPECT_EQ(Edit.GetTextW(), corrected);
  EXPECT_TRUE(Windows.Findings.empty());

  // The replacements take the format of the words they replace; their neighbours keep theirs.
  const TCharFormat jumped = FormatAt(Position(u"jumped"));
  EXPECT_TRUE(jumped.Bold);
  EXPECT_EQ(jumped.Color, uint32_t(clRed));
  EXPECT_TRUE(FormatAt(Position(u"jumped") + 5).Bold);
  EXPECT_FALSE(FormatAt(Position(u"jumped") + 6).Bold);
  EXPECT_EQ(FormatAt(Position(u"jumped") + 6).UnderlineType, ulSingle);  // " over"
  EXPECT_TRUE(FormatAt(Position(u"fox ") + 3).Italic);
  EXPECT_FALSE(FormatAt(Position(u"fox ") + 3).Bold);
  EXPECT_EQ(FormatAt(Position(u"хорошо")).Color, uint32_t(clBlue));
  EXPECT_EQ(FormatAt(Position(u"хорошо") + 5).Color, uint32_t(clBlue));
  EXPECT_NE(FormatAt(Position(u"дошло")).Color, uint32_t(clBlue));
  EXPECT_EQ(FormatAt(Position(u"receive")).Lcid, LANG_ENGLISH_US);
  // Each correction is one undo step.
  Edit.Undo();
  EXPECT_NE(Edit.GetTextW().find(u"recieve"), std::u16string::npos);
  EXPECT_NE(Edit.GetTextW().find(u"хорошо"), std::u16string::npos);
}

TEST_F(SpellEditorTest, AbbreviationsWithTheirDotsAreWords) {
  // The dot after an abbreviation is not a missing space nor the end of a misspelt word.
  Edit.SetTextW(u"We saw pens, inks, etc. and e.g. maps in the U.S.A. today. "
                u"Мы читали книги, "
                u"т.е. журналы и т.д.");
  Windows.StartMode = TSpellMode::Automatic;
  Spell.CheckDocument(Editor, Options());
  for (const auto& finding : Results.Findings)
    ADD_FAILURE() << "kind " << finding.Kind << ": " << WideToUtf8(Wide(finding.Word, finding.Lcid));
}

TEST_F(SpellEditorTest, PlainProseHasNoFindings) {
  // Sentence starts, hyphens, apostrophes, ё, numbers with endings, tabs and line breaks.
  Edit.SetTextW(u"It's a well-known fact: the children didn't go to London on the 3rd of May.\tThey stayed home.\r"
                u"Ёлка стояла в углу, и всё-таки ребёнок её не заметил. На 5-й день пришёл дядя Иван.\r"
                u"\u201CWhere's my colour pencil?\u201D she asked (twice).");
  Windows.StartMode = TSpellMode::Automatic;
  Spell.CheckDocument(Editor, Options());
  for (const auto& finding : Results.Findings)
    ADD_FAILURE() << "kind " << finding.Kind << ": " << WideToUtf8(Wide(finding.Word, finding.Lcid));
}

TEST_F(SpellEditorTest, MisprintTestAsksOnlyAboutRealWordSlips) {
  // Every check on: of these valid words only the two slips are rare beside a frequent word
  // ("nothing", "сказал") that their neighbours bear out.
  const std::u16string prose =
      u"It's a well-known fact: the children didn't go to London on the 3rd of May.\tThey stayed home.\r"
      u"There is noting to fear, she said. The quick brown fox jumped over the lazy dog.\r"
      u"Ёлка стояла в углу, и всё-таки ребёнок её не заметил. На 5-й день пришёл дядя Иван.\r"
      u"Он скакал мне, что придёт завтра. Мы пошли в лес за грибами и ягодами.";
  Edit.SetTextW(prose);
  Edit.SetSelStart(0);
  Spell.CheckDocument(Editor, TSpellOptions());

  ASSERT_EQ(Windows.Questions.size(), 2u);
  const std::pair<std::u16string, std::u16string> slips[] = {{u"noting", u"nothing"}, {u"скакал", u"сказал"}};
  std::u16string corrected = prose;
  for (size_t i = 0; i < 2; ++i) {
    const auto& [slip, meant] = slips[i];
    const TWordQuestion& question = Windows.Questions[i];
    const LCID lcid = i == 0 ? LANG_ENGLISH_US : LANG_RUSSIAN;
    EXPECT_TRUE(question.Valid);
    EXPECT_EQ(question.Word, Ansi(slip, lcid));
    EXPECT_EQ(question.Replacement, Ansi(meant, lcid));
    corrected.replace(corrected.find(slip), slip.size(), meant);
  }
  EXPECT_EQ(Edit.GetTextW(), corrected);
  EXPECT_TRUE(Windows.Findings.empty());
}

TEST_F(SpellEditorTest, ProgressIsTheRoundedShareOfTheTextDone) {
  Edit.SetTextW(u"a b");
  Windows.StartMode = TSpellMode::Automatic;
  Spell.CheckDocument(Editor, Options());
  EXPECT_EQ(Results.Percents, (std::vector<int>{0, 67}));  // 2 of 3 characters
}

TEST_F(SpellEditorTest, ReplacedWordLeavesTheCaretAfterIt) {
  // The last answer replaces the last misspelling: the caret stays right after the new text.
  Spell.CheckDocument(Editor, Options());
  const int end = Position(u"receive") + 7;
  EXPECT_EQ(Edit.SelStart(), end);
  EXPECT_EQ(Edit.SelLength(), 0);
  EXPECT_FALSE(Edit.Control().SelectionHidden());
  EXPECT_EQ(Edit.UpdateLock(), 0);
}

TEST_F(SpellEditorTest, CancelLeavesTheWordSelected) {
  Windows.Answers = {TPopupAnswer::Ignore, TPopupAnswer::Cancel};
  Spell.CheckDocument(Editor, Options());
  EXPECT_EQ(Windows.Questions.size(), 2u);
  EXPECT_EQ(Edit.GetTextW(), kDocument);
  EXPECT_EQ(Edit.SelStart(), Position(u"грибамии"));
  EXPECT_EQ(Edit.SelLength(), 8);
  EXPECT_FALSE(Edit.Control().SelectionHidden());
  EXPECT_EQ(Edit.UpdateLock(), 0);
}

TEST_F(SpellEditorTest, IgnoredWordLosesItsMarking) {
  // Findings marked by an automatic pass; an interactive one ignores the first and keeps the rest.
  const uint32_t marking = 0xE0E0FF;
  for (const auto& m : kMisspellings) {
    const int at = Position(m.Wrong);
    Editor.MarkBackground(at, at + static_cast<int>(m.Wrong.size()), marking);
  }
  EXPECT_EQ(FormatAt(Position(u"jumpd")).BackColor, marking);
  EXPECT_EQ(FormatAt(Position(u"jumpd") + 5).BackColor, RichAutoColor);
  Windows.Answers = {TPopupAnswer::Ignore, TPopupAnswer::Cancel};
  Spell.CheckDocument(Editor, Options());
  EXPECT_EQ(FormatAt(Position(u"jumpd")).BackColor, RichAutoColor);
  EXPECT_EQ(FormatAt(Position(u"jumpd") + 4).BackColor, RichAutoColor);
  EXPECT_TRUE(FormatAt(Position(u"jumpd")).Bold);
  EXPECT_EQ(FormatAt(Position(u"грибамии")).BackColor, marking);
  EXPECT_EQ(FormatAt(Position(u"recieve") + 6).BackColor, marking);
}

TEST_F(SpellEditorTest, RedrawFollowsTheEditorsOwnUpdateLock) {
  // A check run inside an update of the editor leaves that update in force.
  Edit.BeginUpdate();
  Editor.SetRedraw(false);
  Editor.SetRedraw(false);
  EXPECT_EQ(Edit.UpdateLock(), 2);
  Editor.SetRedraw(true);
  Editor.SetRedraw(true);
  EXPECT_EQ(Edit.UpdateLock(), 1);
  {
    TRichEditSpellEditor left(Edit);
    left.SetRedraw(false);
  }
  EXPECT_EQ(Edit.UpdateLock(), 1);
  Edit.EndUpdate();
}

}  // namespace
