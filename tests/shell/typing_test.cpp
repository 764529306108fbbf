// Typing in the main window: input modes and their indicator, the emulated and phonetic keys,
// smart quotes, the automation at a word end with the real grammar and dictionaries, Ctrl+Enter,
// Alt+Shift, the window's own keys, Ctrl+digit bookmarks, and no typing while an operation runs.
// Keys reach the window as Qt key events, as they come from the keyboard.
#include <gtest/gtest.h>

#include "components/toolbar_controls.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/key_send.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/validator.h"
#include "shell/find_form.h"
#include "shell/preferences.h"
#include "shell/typing_aids.h"
#include "shell/unicode_form.h"
#include "tests/shell/operation_test_fixture.h"
#include "tests/shell/preferences_test_env.h"
#include "tools/special_char_form.h"

#include "tests/shell/real_spelling.h"

namespace {

constexpr char kOpen = char(0xAB), kClose = char(0xBB);

TEST(TypingAids, SmartQuotesOpenAfterBlanksLineStartsAndBrackets) {
  struct Case {
    bool hasPrevious;
    char16_t previous;
    char quote;
  };
  const Case cases[] = {
      {false, 0, kOpen}, {true, u' ', kOpen}, {true, u'\t', kOpen}, {true, u'\r', kOpen},
      {true, u'(', kOpen}, {true, u'a', kClose}, {true, u'ж', kClose}, {true, u'.', kClose},
  };
  for (const Case& c : cases) EXPECT_EQ(SmartQuote(c.hasPrevious, c.previous), c.quote) << int(c.previous);
}

TEST(TypingAids, ModesAndIndicator) {
  EXPECT_EQ(TypedChar(TInputMode::Emulated, 'f'), char(0xE0));  // а
  EXPECT_EQ(TypedChar(TInputMode::English, 'f'), 'f');
  EXPECT_EQ(TypedChar(TInputMode::Phonetic, 'a'), char(0xE0));
  EXPECT_EQ(InputModeText(TInputMode::Emulated, 1049), "EMU");
  EXPECT_EQ(InputModeText(TInputMode::Phonetic, 1049), "FON");
  EXPECT_EQ(InputModeText(TInputMode::English, 1033), "ENG");
  EXPECT_EQ(InputModeText(TInputMode::Russian, 1049), "RUS");
}

class TypingTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    PrefForm = new TPrefForm(Application);
    layout_ = GetKeyboardLayoutLanguage();
  }
  // The keyboard layout is the desktop's: it is left as the test found it.
  void TearDown() override {
    ActivateKeyboardLayout(layout_);
    TComponent::Free(PrefForm);
    PrefForm = nullptr;
    OperationTest::TearDown();
  }
  char Press(char key) {
    form->Editor->OnKeyPress(form->Editor, key);
    return key;
  }
  std::string Panel7() const { return form->StatusBar->Panels()->Items(7)->Text(); }
  // The window on screen with the caret at the end of `text` in the focused editor.
  void Start(const std::u16string& text) {
    form->Show();
    form->Editor->SetFocus();
    Application->ProcessMessages();  // the window becomes active: the editor has the keyboard
    ASSERT_TRUE(form->Editor->Focused());
    SetText(text);
    form->Editor->SetSelStart(int(text.size()));
  }
  void Type(const std::u16string& text) { TypeTextTo(form->Editor, text); }
  void Key(uint16_t key, TShiftState shift) { SendKeyTo(form->Editor, key, shift); }

  uint16_t layout_ = 0;
};

TEST_F(TypingTest, InputModesCheckOneActionAndShowTheirIndicator) {
  form->InputModeClick(form->EditKbdFonetic);
  EXPECT_EQ(Panel7(), "FON");
  EXPECT_TRUE(form->EditKbdFonetic->Checked());
  EXPECT_FALSE(form->EditKbdRussian->Checked());
  EXPECT_EQ(GetKeyboardLayoutLanguage(), 1049);
  form->InputModeClick(form->EditKbdEnglish);
  EXPECT_EQ(Panel7(), "ENG");
  EXPECT_FALSE(form->EditKbdFonetic->Checked());
  EXPECT_EQ(form->InputMode(), TInputMode::English);
}

TEST_F(TypingTest, SmartQuotesAndNothingWhileBusy) {
  PrefForm->CBSmartQuotes->SetChecked(true);
  SetText(u"say (");
  form->Editor->SetSelStart(5);
  EXPECT_EQ(Press('"'), kOpen);
  SetText(u"word");
  form->Editor->SetSelStart(4);
  EXPECT_EQ(Press('"'), kClose);
  form->Editor->SetSelStart(0);
  EXPECT_EQ(Press('"'), kOpen);
  PrefForm->CBSmartQuotes->SetChecked(false);
  EXPECT_EQ(Press('"'), '"');
  PrefForm->CBSmartQuotes->SetChecked(true);
  form->SetBusy(true);
  EXPECT_EQ(Press('"'), '"');
  form->SetBusy(false);
}

TEST_F(TypingTest, CtrlKeysFormatInTheFormattedViewAndNavigationKeysAlwaysPass) {
  SetText(u"some text");
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(4);
  uint16_t key = 'B';
  form->Editor->OnKeyDown(form->Editor, key, ssCtrl);
  EXPECT_EQ(key, 0);
  EXPECT_TRUE(form->BoldButton->Down());
  form->UpdateViewMode(true);
  for (uint16_t navigation : {uint16_t(VK_HOME), uint16_t(VK_END), uint16_t(VK_LEFT), uint16_t(VK_RIGHT)}) {
    key = navigation;
    form->Editor->OnKeyDown(form->Editor, key, ssCtrl);
    EXPECT_EQ(key, navigation);
  }
  key = 'I';
  form->Editor->OnKeyDown(form->Editor, key, ssCtrl);
  EXPECT_EQ(key, 0);
  EXPECT_FALSE(form->ItalicButton->Down());
  // A tab character counts only after the Tab key.
  EXPECT_EQ(Press('\t'), 0);
  key = VK_TAB;
  form->Editor->OnKeyDown(form->Editor, key, 0);
  EXPECT_EQ(Press('\t'), '\t');
}

TEST_F(TypingTest, CtrlDigitChoosesABookmark) {
  SetText(u"one two three");
  form->Editor->SetSelStart(4);
  form->FindAddBookmarkExecute(form);
  form->Editor->SetSelStart(0);
  uint16_t key = '1';
  form->OnKeyDown(form, key, ssCtrl);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(form->Editor->SelStart(), 4);
  key = '2';  // no second bookmark: the key goes on
  form->OnKeyDown(form, key, ssCtrl);
  EXPECT_EQ(key, '2');
}


TEST_F(TypingTest, TypedKeysFollowTheInputModeAndQuotesOpenAfterBlanksAndBrackets) {
  struct Case {
    TAction* TMainForm::*mode;
    std::u16string before, typed, after;
  };
  const Case cases[] = {
      {&TMainForm::EditKbdFonetic, u"", u"a", u"а"},
      {&TMainForm::EditKbdFonetic, u"", u"priwet", u"привет"},
      {&TMainForm::EditKbdEmulated, u"", u"ghbdtn", u"привет"},
      {&TMainForm::EditKbdEnglish, u"", u"ghbdtn", u"ghbdtn"},
      {&TMainForm::EditKbdEnglish, u"", u"\"", u"«"},
      {&TMainForm::EditKbdEnglish, u"say ", u"\"", u"say «"},
      {&TMainForm::EditKbdEnglish, u"a\t", u"\"", u"a\t«"},
      {&TMainForm::EditKbdEnglish, u"see (", u"\"", u"see («"},
      {&TMainForm::EditKbdEnglish, u"line\r", u"\"", u"line\r«"},
      {&TMainForm::EditKbdEnglish, u"word", u"\"", u"word»"},
      {&TMainForm::EditKbdRussian, u"«да", u"\"!", u"«да»!"},
  };
  PrefForm->CBSmartQuotes->SetChecked(true);
  for (const Case& c : cases) {
    form->InputModeClick(form->*c.mode);
    Start(c.before);
    Type(c.typed);
    EXPECT_EQ(Text(), c.after) << WideToUtf8(c.before + c.typed);
  }
}

TEST_F(TypingTest, CtrlEnterAndTheMenuItemRetypeTheWordOnTheOtherLayout) {
  form->InputModeClick(form->EditKbdEnglish);
  Start(u"say ghbdtn");
  Key(VK_RETURN, ssCtrl);
  EXPECT_EQ(Text(), u"say привет");
  EXPECT_EQ(GetKeyboardLayoutLanguage(), 1049);
  EXPECT_EQ(Panel7(), "RUS");
  EXPECT_EQ(form->Editor->SelStart(), 10);
  // The Convert menu's item does the same, back to English.
  SetText(u"руддщ");
  form->Editor->SetSelStart(5);
  auto* item = dynamic_cast<TMenuItem*>(form->FindComponent("SwitchKeyboardLayout1"));
  ASSERT_NE(item, nullptr);
  form->ToolsAutoConvertUpdate(form->ForceKbdLayout);
  EXPECT_TRUE(item->Enabled());
  item->Click();
  EXPECT_EQ(Text(), u"hello");
  EXPECT_EQ(Panel7(), "ENG");
  // Nothing to convert: the command is off.
  SetText(u"");
  form->ToolsAutoConvertUpdate(form->ForceKbdLayout);
  EXPECT_FALSE(item->Enabled());
}

TEST_F(TypingTest, AltShiftSwitchesTheLayoutAndEndsThePhoneticMode) {
  form->InputModeClick(form->EditKbdFonetic);
  Start(u"");
  Key(VK_SHIFT, ssAlt | ssShift);
  Application->ProcessMessages();
  EXPECT_FALSE(form->EditKbdFonetic->Checked());
  EXPECT_EQ(GetKeyboardLayoutLanguage(), 1033);
  EXPECT_EQ(Panel7(), "ENG");
  EXPECT_EQ(form->SavedLayout, 1033);
  Key(VK_MENU, ssAlt | ssShift);
  Application->ProcessMessages();
  EXPECT_EQ(Panel7(), "RUS");
  Type(u"f");
  EXPECT_EQ(Text(), u"f");  // the system layout types the key's own character here
}

TEST_F(TypingTest, KeysThatEditTextDoNothingWhileAnOperationRuns) {
  auto* symbols = new TSpecialCharForm(Application);
  symbols->Editor = form->Editor;
  Clipboard()->SetAsUnicodeText(u"pasted");
  form->InputModeClick(form->EditKbdEnglish);
  Start(u"ghbdtn");
  form->SetBusy(true);
  Type(u"x\"");
  Key('G', ssCtrl | ssAlt);  // the degree sign's shortcut
  Key(VK_INSERT, ssShift);
  Key(VK_RETURN, ssCtrl);
  form->SetBusy(false);
  EXPECT_EQ(Text(), u"ghbdtn");
  // Idle, the same keys act.
  form->Editor->SetFocus();
  Key('G', ssCtrl | ssAlt);
  Key(VK_INSERT, ssShift);
  EXPECT_EQ(Text(), u"ghbdtn°pasted");
  TComponent::Free(symbols);
}

TEST_F(TypingTest, AltArrowsFindAgainAndAltDigitsOpenTheFontCombos) {
  auto* find = new TFindForm(Application);
  form->BindFindForm();
  Start(u"two one two one two");
  form->Editor->SetSelStart(1);
  find->FindText("two", false);
  EXPECT_EQ(form->Editor->SelStart(), 8);
  struct Step {
    uint16_t key;
    int found;
  };
  for (const Step& step : {Step{VK_RIGHT, 16}, Step{VK_LEFT, 8}, Step{VK_HOME, 0}, Step{VK_END, 16}}) {
    Key(step.key, ssAlt);
    EXPECT_EQ(form->Editor->SelStart(), step.found) << step.key;
    EXPECT_EQ(form->Editor->SelLength(), 3);
  }
  Key('2', ssAlt);
  EXPECT_TRUE(form->FontSize->Focused());
  EXPECT_TRUE(form->FontSize->DroppedDown());
  form->FontSize->SetDroppedDown(false);
  TComponent::Free(find);
}

TEST_F(TypingTest, TheEmulatedModeRereadsTheLastCharactersInTheLocaleConvertersCodePage) {
  auto* locale = new TUnicodeForm(Application);
  form->InputModeClick(form->EditKbdEmulated);
  Start(u"");
  Type(u"f");
  EXPECT_EQ(Text(), u"а");  // Russian: read as typed
  // Western European: the Cyrillic byte reads as its Latin-1 letter; a character the system
  // code page cannot hold stays as it is.
  locale->SetLanguage(1033);
  Start(u"中");
  Type(u"f");
  EXPECT_EQ(Text(), u"中à");
  TComponent::Free(locale);
}

// The automation at a word end runs the real de-transliteration grammar and dictionaries.
class TypingAutomationTest : public TypingTest {
protected:
  static void SetUpTestSuite() {
    Spell = LoadRealSpelling();
  }
  static void TearDownTestSuite() {
    delete Spell;
    Spell = nullptr;
  }
  void SetUp() override {
    for (const char* name : {"translit.qg", "translit.qge"})
      world.WriteProgramFile(name, ReadFileBytes(std::string(QM_PROGRAM_DIR) + "/" + name));
    TypingTest::SetUp();
    form->QGrammar->Spell = Spell;
    form->QGrammar->Dialog().Automatic = true;
  }
  static TQSpell* Spell;
  TTestWorld world;
};

TQSpell* TypingAutomationTest::Spell = nullptr;

TEST_F(TypingAutomationTest, AWordEndConvertsTheWordJustTyped) {
  struct Case {
    TAction* TMainForm::*automation;
    std::u16string typed, after;
    uint16_t layout;
  };
  const Case cases[] = {
      {&TMainForm::EditAutoDeTrans, u"privet ", u"привет ", 1033},
      {&TMainForm::EditAutoDeTrans, u"mir!", u"мир!", 1033},
      {&TMainForm::EditAutoSwitch, u"ghbdtn ", u"привет ", 1049},
      {&TMainForm::EditAutoSwitch, u"ghbdtn?", u"привет?", 1049},
      {&TMainForm::EditAutoSwitch, u"hello ", u"hello ", 1033},
  };
  for (const Case& c : cases) {
    form->InputModeClick(form->EditKbdEnglish);
    form->EditAutoSwitchExecute(form->*c.automation);
    Start(u"");
    Type(c.typed);
    EXPECT_EQ(Text(), c.after) << WideToUtf8(c.typed);
    EXPECT_EQ(GetKeyboardLayoutLanguage(), c.layout) << WideToUtf8(c.typed);
    form->EditAutoSwitchExecute(form->*c.automation);
  }
}

TEST_F(TypingAutomationTest, AutoSpellOffersSuggestionsThatReplaceTheTypedWord) {
  form->EditAutoSpellExecute(form->EditAutoSpell);
  Start(u"a ");
  Type(u"helo ");
  ASSERT_TRUE(form->SuggList->Visible());
  const auto& entries = form->SuggEntries();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front(), u"+ helo");
  const auto hello = std::find(entries.begin(), entries.end(), u"hello");
  ASSERT_NE(hello, entries.end());
  form->SuggList->SetItemIndex(int(hello - entries.begin()));
  form->PickSuggestion();
  EXPECT_EQ(Text(), u"a hello ");
  // A known word brings no list.
  Start(u"");
  Type(u"house ");
  EXPECT_FALSE(form->SuggList->Visible());
}

TEST_F(TypingAutomationTest, CtrlAltShiftF9ReadsTheGrammarAgain) {
  Start(u"");
  EXPECT_FALSE(form->QGrammar->HasGrammar());
  Key(VK_F1 + 8, ssCtrl | ssAlt | ssShift);
  EXPECT_TRUE(form->QGrammar->HasGrammar());
}

}  // namespace
