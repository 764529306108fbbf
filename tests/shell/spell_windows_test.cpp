// The windows of the interactive check, driven offscreen: the correction popup and the finding
// window answering a real pass over a rich text control, their placement, and the start window.
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/files.h"
#include "platform/gui/control_grab.h"
#include "platform/gui/graphics.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/form.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "platform/registry.h"
#include "proofing/spell.h"
#include "proofing/spell_editor_adapter.h"
#include "components/languages_combo.h"
#include "components/spin_edit.h"
#include "proofing/spell_addword_form.h"
#include "proofing/spell_message_form.h"
#include "proofing/spell_options_form.h"
#include "proofing/spell_placement.h"
#include "proofing/spell_popup_form.h"
#include "proofing/spell_start_form.h"
#include "proofing/spell_windows.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/shell/spell_windows_test_env.h"
#include "textcore/rich_edit.h"

namespace {

std::string Cp1251Of(const std::string& Utf8) { return WideToAnsi(Utf8ToWide(Utf8), 1251); }

class SpellWindowsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Application->SetTitle("Quillomark");
    Windows = std::make_unique<TSpellWindows>(nullptr);
    // The dictionaries of the program, with the user dictionaries written beside links to them.
    DictFolder = LinkProgramDictionaries(World.ProgramFolder);
    Spell.LoadLanguages(DictFolder);
    Spell.EnableStandardDictionaries();
    ASSERT_EQ(Spell.LanguageCount(), 2);
  }
  std::string PopupWord() const { return WideToUtf8(Windows->Popup()->EditSrc->GetSelTextW()); }

  TTestWorld World;
  std::string DictFolder;
  std::unique_ptr<TSpellWindows> Windows;
  TQSpell Spell{nullptr, nullptr};
  TModalScript Script{[this] {
    return Windows->Popup()->Modal() || Windows->Message()->Modal() || Windows->Start()->Modal() ||
           Windows->Options()->Modal();
  }};
};

TEST_F(SpellWindowsTest, InteractivePassAnswersEveryKindOfFinding) {
  TRichEditW edit(nullptr);
  edit.SetLanguage(LANG_ENGLISH_US);
  edit.SetTextW(u"Teh garden was the the best place in the wrold.  and xqzvbw stayed.Then it ended.");
  edit.SetSelStart(0);
  TRichEditSpellEditor editor(edit);
  std::vector<std::string> seen;
  auto popup = [&](std::function<void(TSCPopup&)> Answer) {
    Script.Then([&, Answer] {
      seen.push_back("word " + PopupWord());
      Answer(*Windows->Popup());
    });
  };
  auto finding = [&](std::function<void(TSCMessage&)> Answer) {
    Script.Then([&, Answer] {
      seen.push_back("finding " + Windows->Message()->Label1->Caption());
      Answer(*Windows->Message());
    });
  };
  // The mouse: a suggestion clicked in the list, then Replace.
  popup([](TSCPopup& p) {
    EXPECT_TRUE(p.BtnReplace->Enabled());
    const int at = p.ListSugg->Items()->IndexOf("The");
    ASSERT_GE(at, 0);
    p.ListSugg->SetItemIndex(at);
    p.ListSugg->Click();
    EXPECT_EQ(p.EditTrg->Text(), "The");
    p.BtnReplace->Click();
  });
  finding([](TSCMessage& m) {  // "the the": Delete
    EXPECT_TRUE(m.BtnDelete->Visible());
    EXPECT_FALSE(m.BtnFix->Visible());
    m.BtnDelete->Click();
  });
  // The keyboard: the replacement typed, Enter in the edit field.
  popup([](TSCPopup& p) {
    p.EditTrg->SetText("world");
    uint16_t key = VK_RETURN;
    p.EditTrg->OnKeyDown(p.EditTrg, key, 0);
  });
  finding([](TSCMessage& m) { m.DialogKey(VK_ESCAPE, 0); });  // the extra space: Esc ignores it
  finding([](TSCMessage& m) { m.BtnFix->Click(); });          // "and" after the full stop: raised
  // No suggestion: the word itself in the edit field, Replace off until it changes; Ignore All.
  popup([](TSCPopup& p) {
    EXPECT_EQ(p.EditTrg->Text(), "xqzvbw");
    EXPECT_FALSE(p.BtnReplace->Enabled());
    p.BtnIgnoreAll->Click();
  });
  finding([](TSCMessage& m) {  // "stayed.Then": Fix adds the space
    EXPECT_TRUE(m.BtnFix->Visible());
    EXPECT_FALSE(m.BtnDelete->Visible());
    m.BtnFix->Click();
  });

  TSpellOptions options;
  options.Suspect = false;
  TQSpell spell(Windows.get(), nullptr);
  spell.LoadLanguages(QM_PROGRAM_DIR "/Dict/");
  spell.EnableStandardDictionaries();
  spell.CheckRange(editor, options.CheckOptions(), TSpellMode::Interactive);
  EXPECT_EQ(Script.Left(), 0u);
  EXPECT_EQ(WideToUtf8(edit.GetTextW()), "The garden was the best place in the world.  And xqzvbw stayed. Then it ended.");
  EXPECT_EQ(seen, (std::vector<std::string>{"word Teh", "finding Repeated word is found", "word wrold",
                                            "finding Extra whitespace is found",
                                            "finding Sentence needs capitalization", "word xqzvbw",
                                            "finding Missing space after punctuation"}));
}

TEST_F(SpellWindowsTest, PopupEnablesReplaceOnlyForAChangedWordAndEscIgnores) {
  TWordQuestion question;
  question.Word = "colour";
  question.Lcid = LANG_ENGLISH_US;
  question.Context = u"The colour of it";
  question.WordStart = 4;
  question.Length = 6;
  question.Suggestions.Add("color", 5, 1);
  question.ProperCount = 1;
  question.Replacement = "color";
  // The context holds more than 5 characters, the word itself 6: one column; a short word gets 4.
  Script.Then([&] {
    TSCPopup& p = *Windows->Popup();
    EXPECT_EQ(p.Columns(), 1);
    EXPECT_EQ(PopupWord(), "colour");
    EXPECT_TRUE(p.BtnAdd->Visible());
    EXPECT_FALSE(p.Label1->Visible());
    EXPECT_TRUE(p.BtnReplace->Enabled());
    p.EditTrg->SetText(" colour ");  // the word again: nothing to replace
    EXPECT_FALSE(p.BtnReplace->Enabled());
    EXPECT_FALSE(p.BtnReplaceAll->Enabled());
    uint16_t key = VK_RETURN;
    p.EditTrg->OnKeyDown(p.EditTrg, key, 0);  // Enter does not replace while Replace is off
    EXPECT_EQ(p.ModalResult(), mrNone);
    p.DialogKey(VK_ESCAPE, 0);
  });
  EXPECT_EQ(Windows->AskWord(question), TPopupAnswer::Ignore);

  // A suspected valid word: no Add button, the edit field starts empty; the list's Enter replaces.
  question.Valid = true;
  question.Word = "cat";
  question.Context = u"a cat";
  question.WordStart = 2;
  question.Length = 3;
  Script.Then([&] {
    TSCPopup& p = *Windows->Popup();
    EXPECT_EQ(p.Columns(), 4);
    EXPECT_FALSE(p.BtnAdd->Visible());
    EXPECT_TRUE(p.Label1->Visible());
    EXPECT_EQ(p.EditTrg->Text(), "");
    p.ListSugg->SetItemIndex(0);
    p.ListSugg->Click();
    uint16_t key = VK_RETURN;
    p.ListSugg->OnKeyDown(p.ListSugg, key, 0);
  });
  EXPECT_EQ(Windows->AskWord(question), TPopupAnswer::Replace);
  EXPECT_EQ(question.Replacement, "color");
  Script.Then([&] { Windows->Popup()->BtnCancel->Click(); });
  EXPECT_EQ(Windows->AskWord(question), TPopupAnswer::Cancel);
}

TEST_F(SpellWindowsTest, PopupContextScrollsToTheWord) {
  // The word stands far below the first lines of the context, and far right on a line of its own.
  struct Case {
    const char* name;
    std::u16string before;
  };
  const Case cases[] = {
      {"down", std::u16string(30, u'\r')},
      {"right", std::u16string(300, u'x') + u' '},
  };
  for (const Case& c : cases) {
    TWordQuestion question;
    question.Word = "wrold";
    question.Lcid = LANG_ENGLISH_US;
    question.Context = c.before + u"wrold" + std::u16string(20, u'\r');
    question.WordStart = int(c.before.size());
    question.Length = 5;
    int x = -1, y = -1;
    Script.Then([&] {
      TSCPopup& p = *Windows->Popup();
      std::tie(x, y) = p.EditSrc->Control().PosFromChar(question.WordStart);
      EXPECT_EQ(PopupWord(), "wrold");
      p.BtnCancel->Click();
    });
    Windows->AskWord(question);
    TRichEditW& edit = *Windows->Popup()->EditSrc;
    EXPECT_TRUE(x >= 0 && x < edit.ClientWidth() && y >= 0 && y < edit.ClientHeight())
        << c.name << ": the word is at " << x << "," << y << " of " << edit.ClientWidth() << "x" << edit.ClientHeight();
  }
}

// How many pixels of `bitmap` have exactly `colour`.
int CountColour(TBitmap& bitmap, TColor colour) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.Canvas()->Pixel(x, y) == colour;
  return count;
}

TEST_F(SpellWindowsTest, PopupColoursTheChangedLettersAndGreysRememberedReplacements) {
  TWordQuestion question;
  question.Word = "teh";
  question.Lcid = LANG_ENGLISH_US;
  question.Context = u"in teh end";
  question.WordStart = 3;
  question.Length = 3;
  question.Suggestions.Add("the", 2, 2);  // "eh" swapped
  question.Suggestions.Add("tea", 0, 0);  // remembered from an earlier answer
  question.ProperCount = 1;
  question.Replacement = "the";
  Script.Then([&] {
    TSCPopup& p = *Windows->Popup();
    EXPECT_EQ(p.ListSugg->Columns(), 4);  // a three-letter word
    p.ListSugg->SetItemIndex(-1);
    TBitmap plain;
    GrabControl(*p.ListSugg, plain);
    EXPECT_GT(CountColour(plain, clBlue), 0);
    EXPECT_GT(CountColour(plain, clGray), 0);
    EXPECT_EQ(CountColour(plain, clYellow), 0);
    p.ListSugg->SetItemIndex(0);
    TBitmap chosen;
    GrabControl(*p.ListSugg, chosen);
    EXPECT_GT(CountColour(chosen, clYellow), 0);
    EXPECT_EQ(CountColour(chosen, clBlue), 0);
    p.BtnCancel->Click();
  });
  EXPECT_EQ(Windows->AskWord(question), TPopupAnswer::Cancel);
}

TEST(SpellPopup, SuggestionPartsCutAroundTheChange) {
  struct Case {
    int position, count;
    std::array<std::u16string, 3> parts;
  } cases[] = {
      {2, 2, {u"t", u"he", u""}}, {1, 1, {u"", u"t", u"he"}}, {3, 5, {u"th", u"e", u""}},
      {0, 0, {u"the", u"", u""}}, {-2, 1, {u"the", u"", u""}}, {4, 1, {u"the", u"", u""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SuggestionParts(u"the", c.position, c.count), c.parts) << c.position;
}

TEST_F(SpellWindowsTest, FindingWindowShowsTheButtonsOfItsKind) {
  struct Case {
    TWordClass Kind;
    const char* Text;
    bool Fix, FixAll, Delete, DeleteAll;
  };
  const Case cases[] = {{wcRepeated, "Repeated word is found", false, false, true, true},
                        {wcExtraSpace, "Extra whitespace is found", false, false, true, true},
                        {wcUrl, "URL is found", false, false, false, false},
                        {wcFileName, "File name is found", false, false, false, false},
                        {wcMissingSpace, "Missing space after punctuation", true, true, false, false},
                        {wcUncapitalized, "Sentence needs capitalization", true, true, false, false}};
  for (const Case& c : cases) {
    Windows->Message()->Prepare(c.Kind);
    TSCMessage& m = *Windows->Message();
    EXPECT_EQ(m.Label1->Caption(), c.Text);
    EXPECT_EQ(m.BtnFix->Visible(), c.Fix) << c.Text;
    EXPECT_EQ(m.BtnFixAll->Visible(), c.FixAll) << c.Text;
    EXPECT_EQ(m.BtnDelete->Visible(), c.Delete) << c.Text;
    EXPECT_EQ(m.BtnDeleteAll->Visible(), c.DeleteAll) << c.Text;
  }
  const std::pair<TButton* TSCMessage::*, TFindingAnswer> answers[] = {
      {&TSCMessage::BtnIgnoreAll, TFindingAnswer::IgnoreAll}, {&TSCMessage::BtnDeleteAll, TFindingAnswer::FixAll},
      {&TSCMessage::BtnDelete, TFindingAnswer::Fix}, {&TSCMessage::BtnCancel, TFindingAnswer::Cancel}};
  for (auto [button, answer] : answers) {
    Script.Then([&, button = button] { (Windows->Message()->*button)->Click(); });
    EXPECT_EQ(Windows->AskFinding(wcRepeated, 0, 3), answer);
  }
}

std::string StoredValue(const std::string& Section, const std::string& Name) {
  TRegistry reg;
  if (!reg.OpenKeyReadOnly("Software\\Vortanel\\Shared\\Proof\\Quillomark " + Section)) return "<no key>";
  if (reg.GetDataType(Name) != rdString) return "<no value>";
  return reg.ReadString(Name);
}
std::string StoredRunValue(const std::string& Name) { return StoredValue("Run", Name); }

TEST_F(SpellWindowsTest, OptionsAreKeptUnderTheirNamesAndCancelPutsThemBack) {
  TSCOptions* o = Windows->Options();
  struct Box {
    TCheckBox* TSCOptions::*Control;
    const char* Name;
    bool TSpellOptions::*Option;  // the check option it sets, if any
  };
  const Box boxes[] = {{&TSCOptions::CBLang, "CBLang", &TSpellOptions::AutoLanguage},
                       {&TSCOptions::CBSusp, "CBSusp", &TSpellOptions::Suspect},
                       {&TSCOptions::CBMiss, "CBMiss", &TSpellOptions::MissingSpaces},
                       {&TSCOptions::CBExtra, "CBExtra", &TSpellOptions::ExtraSpaces},
                       {&TSCOptions::CBCaps, "CBCaps", &TSpellOptions::Capitals},
                       {&TSCOptions::CBRep, "CBRep", &TSpellOptions::Repeats},
                       {&TSCOptions::CBAddr, "CBAddr", &TSpellOptions::Urls},
                       {&TSCOptions::CBFile, "CBFile", &TSpellOptions::FileNames},
                       {&TSCOptions::CBTags, "CBTags", &TSpellOptions::Tags},
                       {&TSCOptions::CBRepValid, "CBRepValid", nullptr},
                       {&TSCOptions::CBRepSave, "CBRepSave", nullptr},
                       {&TSCOptions::CBRemoveVerified, "CBRemoveVerified", nullptr},
                       {&TSCOptions::CBListColors, "CBListColors", nullptr},
                       {&TSCOptions::CBTextColors, "CBTextColors", nullptr}};
  // Every box starts checked, the repeat count at 4 within 2..100.
  for (const Box& b : boxes) EXPECT_TRUE((o->*b.Control)->Checked()) << b.Name;
  EXPECT_EQ(o->SpinRep->AsInteger(), 4);
  EXPECT_EQ(o->SpinRep->MinValue(), 2);
  EXPECT_EQ(o->SpinRep->MaxValue(), 100);

  // Each box alone unchecked (OK) reaches its check option and its stored value.
  for (const Box& b : boxes) {
    Script.Then([&] {
      for (const Box& other : boxes) (o->*other.Control)->SetChecked(&other != &b);
      o->SpinRep->SetValue(7);
      o->BtnOK->Click();
    });
    ASSERT_TRUE(Windows->ShowOptions());
    const TSpellOptions options = o->SpellOptions();
    for (const Box& other : boxes) {
      if (other.Option) EXPECT_EQ(options.*other.Option, &other != &b) << b.Name << " " << other.Name;
      EXPECT_EQ(StoredValue("Options", std::string(other.Name) + "_Checked"), &other != &b ? "True" : "False")
          << b.Name << " " << other.Name;
    }
    EXPECT_EQ(StoredValue("Options", "SpinRep_Value"), "7");
  }
  // Cancel puts back what was shown and stores nothing.
  Script.Then([&] {
    o->CBTags->SetChecked(true);
    o->SpinRep->SetValue(9);
    o->DialogKey(VK_ESCAPE, 0);
  });
  EXPECT_FALSE(Windows->ShowOptions());
  EXPECT_TRUE(o->CBTags->Checked());  // the last box was the one left unchecked: CBTextColors
  EXPECT_FALSE(o->CBTextColors->Checked());
  EXPECT_EQ(o->SpinRep->AsInteger(), 7);
  // A new window restores the stored values; the start window's "Settings..." opens it.
  Windows = std::make_unique<TSpellWindows>(nullptr);
  EXPECT_FALSE(Windows->Options()->CBTextColors->Checked());
  EXPECT_TRUE(Windows->Options()->CBLang->Checked());
  EXPECT_EQ(Windows->Options()->SpinRep->AsInteger(), 7);
  Script.Then([&] { Windows->Start()->BtnSettings->Click(); });
  Script.Then([&] { Windows->Options()->BtnCancel->Click(); });
  Script.Then([&] { Windows->Start()->BtnCancel->Click(); });
  TSpellMode mode;
  TSpellScope scope;
  EXPECT_FALSE(Windows->AskStart(false, mode, scope));
  EXPECT_EQ(Script.Left(), 0u);
}

TEST_F(SpellWindowsTest, StartWindowNamesTheScopeAndKeepsTheMode) {
  TSCStart& start = *Windows->Start();
  TSpellMode mode = TSpellMode::Interactive;
  TSpellScope scope = TSpellScope::WholeText;
  // Without a selection: "From cursor", the stored choice kept; Automatic chosen and kept.
  Script.Then([&] {
    EXPECT_EQ(start.RGScope->Items()->Strings(1), "From cursor");
    EXPECT_EQ(start.RGScope->ItemIndex(), 1);
    start.RGMode->SetItemIndex(1);
    start.RGScope->SetItemIndex(0);
    start.BtnStart->Click();
  });
  ASSERT_TRUE(Windows->AskStart(false, mode, scope));
  EXPECT_EQ(mode, TSpellMode::Automatic);
  EXPECT_EQ(scope, TSpellScope::WholeText);
  EXPECT_EQ(StoredRunValue("RGMode_ItemIndex"), "1");
  // With a selection: "Selection", and chosen.
  Script.Then([&] {
    EXPECT_EQ(start.RGScope->Items()->Strings(1), "Selection");
    EXPECT_EQ(start.RGScope->ItemIndex(), 1);
    start.DialogKey(VK_RETURN, 0);
  });
  ASSERT_TRUE(Windows->AskStart(true, mode, scope));
  EXPECT_EQ(scope, TSpellScope::FromCursor);
  // A new start window restores the mode; Cancel answers false.
  Windows = std::make_unique<TSpellWindows>(nullptr);
  EXPECT_EQ(Windows->Start()->RGMode->ItemIndex(), 1);
  Script.Then([&] { Windows->Start()->DialogKey(VK_ESCAPE, 0); });
  EXPECT_FALSE(Windows->AskStart(false, mode, scope));
}

TEST_F(SpellWindowsTest, AddWordsGoToTheUserDictionaryOfTheirLanguage) {
  Windows->SetSpell(&Spell);
  TSCAddWord& a = *Windows->AddWord();
  EXPECT_FALSE(a.BtnAdd->Enabled());
  EXPECT_EQ(a.LangCombo->LanguageCount(), 2);  // the spelling languages
  Windows->ShowAddWords("qwertyzz", LANG_ENGLISH_US, false);
  EXPECT_TRUE(a.Visible());
  Windows->ShowAddWords(Cp1251Of("фывапрол"), LANG_RUSSIAN, false);
  Windows->ShowAddWords("house", LANG_ENGLISH_US, false);  // valid already: nothing to add
  Windows->ShowAddWords("Strasse", 1031, false);           // German: no spelling language
  EXPECT_TRUE(a.BtnAdd->Enabled());
  // The caret on a line shows its language in the combo.
  a.NewWords->SetSelStart(0);
  EXPECT_EQ(a.LangCombo->Language(), LANG_ENGLISH_US);

  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  a.BtnAdd->Click();
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_NE(dialogs.Asked()[0].Text.find("Strasse"), std::string::npos);  // says which line stayed, and why
  EXPECT_NE(dialogs.Asked()[0].Text.find("dictionary"), std::string::npos);
  EXPECT_EQ(WideToUtf8(a.NewWords->GetTextW()), "Strasse\r");
  EXPECT_EQ(ReadFileBytes(DictFolder + "english.qud"), "qwertyzz\r\n");
  EXPECT_EQ(ReadFileBytes(DictFolder + "russian.qud"), Cp1251Of("фывапрол") + "\r\n");
  EXPECT_TRUE(Spell.IsValidWord("qwertyzz", LANG_ENGLISH_US));

  // Title and lower case line by line, in each line's code page; Ctrl+Up raises too.
  a.NewWords->SetTextW(u"");
  Windows->ShowAddWords("hello", LANG_ENGLISH_US, false);
  Windows->ShowAddWords(Cp1251Of("мир"), LANG_RUSSIAN, false);
  uint16_t key = VK_UP;
  a.NewWords->OnKeyDown(a.NewWords, key, ssCtrl);
  EXPECT_EQ(WideToUtf8(a.NewWords->GetTextW()), "Hello\rМир\r");
  a.SBLower->Click();
  EXPECT_EQ(WideToUtf8(a.NewWords->GetTextW()), "hello\rмир\r");
  // "Clear all" asks first.
  dialogs.Answer(TDialogKind::MessageDlg, mrNo).Answer(TDialogKind::MessageDlg, mrYes);
  a.SBClear->Click();
  EXPECT_EQ(WideToUtf8(a.NewWords->GetTextW()), "hello\rмир\r");
  a.SBClear->Click();
  EXPECT_EQ(dialogs.Asked()[1].Text, "Clear all words?");
  EXPECT_EQ(a.NewWords->GetTextW(), u"");
  EXPECT_FALSE(a.BtnAdd->Enabled());
  a.BtnClose->Click();
  EXPECT_FALSE(a.Visible());
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST_F(SpellWindowsTest, DocumentCheckStartsFromTheStartWindowWithTheOptionsShown) {
  TQSpell spell(Windows.get(), nullptr);
  spell.LoadLanguages(DictFolder);
  spell.EnableStandardDictionaries();
  Windows->SetSpell(&spell);
  TRichEditW edit(nullptr);
  edit.SetLanguage(LANG_ENGLISH_US);
  edit.SetTextW(u"One two two wrold.");
  edit.SetSelStart(0);
  TRichEditSpellEditor editor(edit);
  // Repeated words are not looked for when their box is off: the first question is the word.
  Windows->Options()->CBRep->SetChecked(false);
  Script.Then([&] {
    Windows->Start()->RGMode->SetItemIndex(0);
    Windows->Start()->RGScope->SetItemIndex(0);
    Windows->Start()->BtnStart->Click();
  });
  std::string asked;
  Script.Then([&] {
    asked = PopupWord();
    Windows->Popup()->BtnCancel->Click();
  });
  Windows->CheckDocument(editor);
  EXPECT_EQ(asked, "wrold");
  EXPECT_EQ(Script.Left(), 0u);
  EXPECT_EQ(edit.GetTextW(), u"One two two wrold.");
  // "Add words" with nothing waiting shows the window empty.
  Windows->AddWords();
  EXPECT_TRUE(Windows->AddWord()->Visible());
  EXPECT_FALSE(Windows->AddWord()->BtnAdd->Enabled());
}

TEST_F(SpellWindowsTest, ThePopupStandsBelowTheWordOfTheCheckedEditor) {
  TQSpell spell(Windows.get(), nullptr);
  spell.LoadLanguages(DictFolder);
  spell.EnableStandardDictionaries();
  Windows->SetSpell(&spell);
  // Before any check the added-words window opens mid-screen, not in the corner.
  Windows->AddWords();
  EXPECT_GT(Windows->AddWord()->Left() + Windows->AddWord()->Top(), 0);
  Windows->AddWord()->Hide();
  TForm form(nullptr);
  form.SetBounds(120, 90, 600, 400);
  auto* edit = new TRichEditW(&form);
  edit->SetParent(&form);
  edit->SetBounds(0, 0, 600, 400);
  form.Show();
  edit->SetLanguage(LANG_ENGLISH_US);
  edit->SetTextW(u"One two wrold.");
  edit->SetSelStart(0);
  Windows->Options()->CBRep->SetChecked(false);
  Script.Then([&] {
    Windows->Start()->RGMode->SetItemIndex(0);
    Windows->Start()->RGScope->SetItemIndex(0);
    Windows->Start()->BtnStart->Click();
  });
  TPoint at;
  Script.Then([&] {
    at = Point(Windows->Popup()->Left(), Windows->Popup()->Top());
    Windows->Popup()->BtnCancel->Click();
  });
  Windows->CheckDocument(*edit);
  EXPECT_EQ(Script.Left(), 0u);
  const auto [x, y] = edit->Control().PosFromChar(8);
  const TPoint word = edit->ClientToScreen(Point(x, std::max(y, 20)));
  EXPECT_EQ(at.X, word.X);
  EXPECT_EQ(at.Y, word.Y + 20);
}

TEST(SpellPlacement, PopupMovesOnlyWhenItCoversTheWord) {
  struct Case {
    TRect Popup;
    TPoint Word, Expected;
  };
  const int width = 1000, height = 800;
  const Case cases[] = {
      {{0, 0, 200, 100}, {500, 500}, {0, 0}},          // far away: stays
      {{450, 450, 650, 550}, {500, 500}, {500, 520}},  // covers: below the word
      {{850, 450, 1050, 550}, {900, 500}, {680, 520}}, // near the right edge: left of the word
      {{450, 700, 650, 800}, {500, 720}, {500, 600}},  // near the bottom: above the word
      {{0, 0, 200, 100}, {50, 5}, {50, 40}},           // the word's y is raised to 20
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlacePopup(c.Popup, c.Word, width, height), c.Expected) << c.Word.X << "," << c.Word.Y;
  EXPECT_EQ(PlaceFinding(80, {100, 200}, 800), (TPoint{100, 220}));
  EXPECT_EQ(PlaceFinding(80, {100, 690}, 800), (TPoint{100, 590}));
  EXPECT_EQ(PlaceFinding(80, {100, 0}, 800), (TPoint{100, 30}));
}

}  // namespace
