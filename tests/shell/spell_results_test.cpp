// The results window of the automatic check, driven offscreen over a real rich text control and
// the program's dictionaries: filling the tree, findings that follow every edit of the text,
// acting on findings, and the Recent Results command of the main window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/spin_edit.h"
#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell.h"
#include "proofing/spell_addword_form.h"
#include "proofing/spell_global.h"
#include "proofing/spell_list_form.h"
#include "proofing/spell_message_form.h"
#include "proofing/spell_options_form.h"
#include "proofing/spell_popup_form.h"
#include "proofing/spell_start_form.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/shell/spell_results_tree.h"
#include "tests/shell/spell_windows_test_env.h"
#include "textcore/rich_edit.h"

namespace {

const std::u16string kText = u"Teh wrold is big. Our wrold is wide and the the wrold is old.";

// The start window's answer: the automatic mode over the whole text.
void StartAutomatic(TSpellWindows& Windows) {
  Windows.Start()->RGMode->SetItemIndex(1);
  Windows.Start()->RGScope->SetItemIndex(0);
  Windows.Start()->BtnStart->Click();
}

class SpellResultsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Application->SetTitle("Quillomark");
    Windows = std::make_unique<TSpellWindows>(nullptr);
    Spell = std::make_unique<TQSpell>(Windows.get(), Windows->List());
    Spell->LoadLanguages(LinkProgramDictionaries(World.ProgramFolder));
    Spell->EnableStandardDictionaries();
    Windows->SetSpell(Spell.get());
    List = Windows->List();
    // Only spelling, repeated words and capitals: misprint suspicions depend on word frequencies.
    TSCOptions& o = *Windows->Options();
    o.CBSusp->SetChecked(false);
    o.CBRepValid->SetChecked(false);
    o.CBRemoveVerified->SetChecked(true);
    o.CBTextColors->SetChecked(true);
    Edit.SetLanguage(LANG_ENGLISH_US);
  }
  void TearDown() override {
    Spell->CloseResults();
    Windows.reset();
    EXPECT_TRUE(Dialogs.Unexpected().empty());
  }
  void Check(const std::u16string& Text) {
    Edit.SetTextW(Text);
    Edit.SetSelStart(0);
    Script.Then([this] { StartAutomatic(*Windows); });
    Windows->CheckDocument(Edit);
    ASSERT_EQ(Script.Left(), 0u);
  }
  std::u16string Cell(PDataNode Node, int Column) { return CellText(*List, Node, Column); }
  PDataNode Child(PDataNode Parent, const std::u16string& Text) { return ChildNode(*List, Parent, Text); }
  std::vector<PDataNode> Leaves() { return FindingLeaves(*List); }
  std::u16string TextAt(const TSpellFinding& F) { return Edit.GetTextW().substr(F.Start, F.Length); }

  TTestWorld World;
  TScriptedDialogs Dialogs;
  std::unique_ptr<TSpellWindows> Windows;
  std::unique_ptr<TQSpell> Spell;
  TSCList* List = nullptr;
  TRichEditW Edit{nullptr};
  TModalScript Script{[this] {
    return Windows->Popup()->Modal() || Windows->Message()->Modal() || Windows->Start()->Modal() ||
           Windows->AddWord()->Modal();
  }};
};

TEST_F(SpellResultsTest, AutomaticCheckFillsTheTreeByKindAndMarksTheText) {
  Check(kText);
  EXPECT_TRUE(List->Visible());
  EXPECT_FALSE(List->PanelStat->Visible());
  EXPECT_TRUE(Spell->HasResults());
  PDataNode unknown = Child(nullptr, u"Unrecognized words");
  PDataNode repeated = Child(nullptr, u"Repeated words");
  ASSERT_TRUE(unknown && repeated);
  EXPECT_EQ(Cell(unknown, 1), u"2");  // "Teh" and the group of "wrold"
  PDataNode wrold = Child(unknown, u"wrold");
  ASSERT_NE(wrold, nullptr);
  EXPECT_EQ(Cell(wrold, 1), u"3");  // one node with the word's three findings
  EXPECT_EQ(FirstChildNode(*List, wrold)->ChildCount, 0u);
  EXPECT_EQ(Cell(repeated, 1), u"1");
  // Kinds without findings stay as greyed branches.
  PDataNode missing = Child(nullptr, u"Missing space");
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->Has(vsDisabled));
  EXPECT_FALSE(unknown->Has(vsDisabled));
  // Every finding lies on its text, which carries the marking colour of its kind.
  for (PDataNode leaf : Leaves()) {
    const TSpellFinding& f = *List->Finding(leaf);
    EXPECT_EQ(TextAt(f), AnsiToWide(f.Word, CodePageOf(f.Lcid)));
    const unsigned colour = f.Kind == wcUnrecognized ? 0xE0E0FFu : SpellMarkColour(0x800080);
    EXPECT_EQ(Edit.Control().CharFormatAt(f.Start + 1).BackColor, colour) << WideToUtf8(TextAt(f));
  }
  // Selecting a finding selects its text in the editor.
  FocusNode(*List, FirstChildNode(*List, wrold));
  EXPECT_EQ(Edit.GetSelTextW(), u"wrold");
  EXPECT_EQ(Edit.SelStart(), 4);
  // The stop button stops a pass.
  EXPECT_FALSE(List->Progress(10));
  List->SpeedButton1->Click();
  EXPECT_TRUE(List->Progress(20));
}

TEST_F(SpellResultsTest, FindingsFollowEditsAnywhereInTheText) {
  struct Case {
    const char* What;
    std::u16string Find;  // the edit replaces this text (its first occurrence at or after From)
    int From;
    std::u16string By;
    int Changed;  // findings whose own text the edit touched
    bool Undo = false;
  };
  const Case cases[] = {
      {"the first finding replaced", u"Teh", 0, u"So, Teh", 1},
      {"inserted before all", u"", 0, u"Well. ", 0},
      {"deleted between findings", u" is big.", 0, u"", 0},
      {"typed inside a finding", u"rold", 22, u"rrold", 1},
      {"new paragraph between findings", u" and", 0, u"\r\rand", 0},
      {"typed after every finding", u"old.", 50, u"old, they say.", 0},
      {"the word before a repeated one removed", u"the ", 40, u"", 0},
      {"the repeated word removed", u"the ", 44, u"", 1},
      {"undone insertion before all", u"", 0, u"Long ago. ", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Check(kText);
    const std::vector<PDataNode> leaves = Leaves();
    ASSERT_EQ(leaves.size(), 5u);
    const std::u16string text = Edit.GetTextW();
    const int at = c.Find.empty() ? c.From : static_cast<int>(text.find(c.Find, c.From));
    // The caret is left elsewhere: the findings follow the text, not the caret.
    Edit.Control().SetSel(at, at + static_cast<int>(c.Find.size()));
    Edit.SetSelTextW(c.By);
    Edit.SetSelStart(static_cast<int>(Edit.GetTextW().size()));
    if (c.Undo) Edit.Undo();
    // Shown again, a finding whose text changed is greyed; the others still lie on their words.
    Spell->ShowResults();
    int changed = 0;
    for (PDataNode leaf : leaves) {
      const TSpellFinding& f = *List->Finding(leaf);
      if (leaf->Has(vsDisabled)) ++changed;
      else EXPECT_EQ(TextAt(f), AnsiToWide(f.Word, CodePageOf(f.Lcid))) << f.Start;
    }
    EXPECT_EQ(changed, c.Changed);
  }
}

TEST_F(SpellResultsTest, ALongFindingKeepsItsWholeRange) {
  const std::u16string run(300, u' ');
  Check(u"Some text" + run + u"and more text after it. A wrold here.");
  PDataNode extra = Child(nullptr, u"Extra space");
  ASSERT_NE(extra, nullptr);
  const TSpellFinding& f = *List->Finding(FirstChildNode(*List, extra));
  EXPECT_EQ(f.Length, 299);
  // An edit inside the run, past its 255th character, touches it.
  Edit.Control().SetSel(f.Start + 280, f.Start + 281);
  Edit.SetSelTextW(u"");
  Spell->ShowResults();
  EXPECT_TRUE(FirstChildNode(*List, extra)->Has(vsDisabled));
  PDataNode word = FirstChildNode(*List, Child(nullptr, u"Unrecognized words"));
  EXPECT_FALSE(word->Has(vsDisabled));
  EXPECT_EQ(TextAt(*List->Finding(word)), u"wrold");
}

TEST_F(SpellResultsTest, RussianFindingsLieOnTheirText) {
  Check(u"Это ашибка, и эта ашибка тоже.");
  PDataNode word = Child(Child(nullptr, u"Unrecognized words"), u"ашибка");
  ASSERT_NE(word, nullptr);
  EXPECT_EQ(Cell(word, 1), u"2");
  Edit.SetSelStart(0);
  Edit.SetSelTextW(u"Да. ");
  Spell->ShowResults();
  for (PDataNode leaf : Leaves()) {
    EXPECT_FALSE(leaf->Has(vsDisabled));
    EXPECT_EQ(TextAt(*List->Finding(leaf)), u"ашибка");
  }
}

TEST_F(SpellResultsTest, FindingsAreReCheckedAddedAndCopied) {
  Check(kText);
  PDataNode unknown = Child(nullptr, u"Unrecognized words");
  // Copying: the word (Ctrl+C), and the words of the branch each followed by CR.
  FocusNode(*List, Child(unknown, u"Teh"));
  EXPECT_TRUE(List->IsShortCut(scCtrl | 'C'));
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"Teh");
  List->CopyBranch();
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"Teh\rwrold\r");
  // Add Word: the add-words window with the finding's word.
  List->AddWord();
  EXPECT_TRUE(Windows->AddWord()->Visible());
  EXPECT_EQ(Windows->AddWord()->NewWords->GetTextW(), u"Teh\r");
  Windows->AddWord()->Hide();
  // Get Suggestions on the word's group: its first finding is replaced through the popup, the
  // next one is asked about and the user cancels there.
  FocusNode(*List, Child(unknown, u"wrold"));
  std::vector<std::u16string> asked;
  Script.Then([&] {
    asked.push_back(Windows->Popup()->EditSrc->GetSelTextW());
    Windows->Popup()->EditTrg->SetText("worlds");
    Windows->Popup()->BtnReplace->Click();
  });
  Script.Then([&] {
    asked.push_back(Windows->Popup()->EditSrc->GetSelTextW());
    Windows->Popup()->BtnCancel->Click();
  });
  List->GetSuggestions();
  EXPECT_EQ(Script.Left(), 0u);
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"wrold", u"wrold"}));
  EXPECT_EQ(Edit.GetTextW(), u"Teh worlds is big. Our wrold is wide and the the wrold is old.");
  // The answered finding is gone; the one cancelled stays selected and on its moved text.
  PDataNode group = Child(unknown, u"wrold");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->ChildCount, 2u);
  const TSpellFinding& next = *List->Finding(FocusedNode(*List));
  EXPECT_EQ(next.Start, 23);
  EXPECT_EQ(TextAt(next), u"wrold");
  FocusNode(*List, group);  // the group selects its first finding left
  EXPECT_EQ(Edit.SelStart(), 23);
  // A repeated word goes through the finding window (Enter): Delete removes it.
  FocusNode(*List, FirstChildNode(*List, Child(nullptr, u"Repeated words")));
  Script.Then([&] {
    EXPECT_TRUE(Windows->Message()->BtnDelete->Visible());
    Windows->Message()->BtnDelete->Click();
  });
  EXPECT_TRUE(List->IsShortCut(VK_RETURN));
  EXPECT_EQ(Script.Left(), 0u);
  EXPECT_EQ(Edit.GetTextW(), u"Teh worlds is big. Our wrold is wide and the wrold is old.");
  EXPECT_EQ(Child(nullptr, u"Repeated words"), nullptr);  // verified and removed, branch and all
  EXPECT_EQ(TextAt(*List->Finding(group->LastChild)), u"wrold");
}

TEST_F(SpellResultsTest, RepeatedUnknownWordsAreTakenAsValid) {
  TSCOptions& o = *Windows->Options();
  o.CBRepValid->SetChecked(true);
  o.SpinRep->SetValue(3);
  o.CBRepSave->SetChecked(true);
  for (bool remove : {true, false}) {
    SCOPED_TRACE(remove);
    o.CBRemoveVerified->SetChecked(remove);
    Windows->AddWord()->NewWords->SetTextW(u"");
    // The words taken as valid wait in the add-words window, shown at the end of the check.
    std::u16string waiting;
    Script.Then([this] { StartAutomatic(*Windows); });
    Script.Then([&] {
      waiting = Windows->AddWord()->NewWords->GetTextW();
      Windows->AddWord()->BtnClose->Click();
    });
    Edit.SetTextW(kText);
    Edit.SetSelStart(0);
    Windows->CheckDocument(Edit);
    EXPECT_EQ(Script.Left(), 0u);
    EXPECT_EQ(waiting, u"wrold\r");
    PDataNode unknown = Child(nullptr, u"Unrecognized words");
    PDataNode wrold = Child(unknown, u"wrold");
    if (remove) {
      EXPECT_EQ(wrold, nullptr);
    } else {
      ASSERT_NE(wrold, nullptr);
      EXPECT_TRUE(wrold->Has(vsDisabled));
      EXPECT_TRUE(FirstChildNode(*List, wrold)->Has(vsDisabled));
    }
    EXPECT_FALSE(Child(unknown, u"Teh")->Has(vsDisabled));  // once only
  }
}

// The main window's Recent Results command and the end of the program.
class SpellResultsMainFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Application->SetTitle("Quillomark");
    LinkProgramDictionaries(World.ProgramFolder);
    saved_ = SpellWindows;
    windows_ = SpellWindows = new TSpellWindows(Application);
    FinalizeSpelling();
    InitializeSpelling(windows_, windows_);
    windows_->SetSpell(&SpellChecker());
    windows_->Options()->CBSusp->SetChecked(false);
    windows_->Options()->CBRepValid->SetChecked(false);
    form = new TMainForm(Application);
    form->Editor->SetLanguage(LANG_ENGLISH_US);
  }
  void TearDown() override {
    TComponent::Free(form);
    FinalizeSpelling();
    TComponent::Free(windows_);
    SpellWindows = saved_;
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  TMenuItem* Item(const char* Name) { return dynamic_cast<TMenuItem*>(form->FindComponent(Name)); }
  // Opens the Check Spelling submenu: the item is offered as it opens.
  bool Offered() {
    Item("CheckGrammar1")->OnClick(Item("CheckGrammar1"));
    return Item("ShowSpellList")->Enabled();
  }

  TTestWorld World;
  TScriptedDialogs dialogs;
  TMainForm* form = nullptr;
  TSpellWindows* windows_ = nullptr;
  TSpellWindows* saved_ = nullptr;
  TModalScript Script{[this] { return windows_->Start()->Modal() || windows_->Popup()->Modal(); }};
};

TEST_F(SpellResultsMainFormTest, RecentResultsShowTheLastAutomaticCheckUntilTheDocumentChanges) {
  EXPECT_FALSE(Offered());
  form->Editor->SetTextW(u"A wrold of words.");
  Script.Then([this] { StartAutomatic(*windows_); });
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);  // the end of the check
  Item("CheckStart")->Click();
  EXPECT_EQ(Script.Left(), 0u);
  TSCList& list = *windows_->List();
  EXPECT_TRUE(list.Visible());
  list.Hide();
  ASSERT_TRUE(Offered());
  Item("ShowSpellList")->Click();
  EXPECT_TRUE(list.Visible());
  // Typing in the editor moves the finding with its word.
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"So. ");
  PDataNode unknown = list.FindBranch(wcUnrecognized);
  EXPECT_EQ(list.Finding(FirstChildNode(list, unknown))->Start, 6);
  // A new document closes them.
  form->ResetDocument();
  Item("FileNewItem")->Click();
  EXPECT_FALSE(list.Visible());
  EXPECT_FALSE(Offered());
  EXPECT_EQ(SpellChecker().Editor(), nullptr);
}

TEST_F(SpellResultsMainFormTest, ClosingTheMainWindowStopsTheCheckAndLetsGoOfTheEditor) {
  form->Editor->SetTextW(u"A wrold of words.");
  Script.Then([this] { StartAutomatic(*windows_); });
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);  // the end of the check
  Item("CheckStart")->Click();
  ASSERT_TRUE(SpellChecker().HasResults());
  TComponent::Free(form);
  form = nullptr;
  EXPECT_FALSE(SpellChecker().Running());
  EXPECT_FALSE(SpellChecker().HasResults());
  EXPECT_EQ(SpellChecker().Editor(), nullptr);
  EXPECT_FALSE(windows_->List()->Visible());
}

}  // namespace
