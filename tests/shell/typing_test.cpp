// Typing in the main window: input modes and their indicator, the emulated and phonetic keys,
// smart quotes, Ctrl+digit bookmarks, and no typing while an operation runs.
#include <gtest/gtest.h>

#include "platform/gui/actions.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/std_controls.h"
#include "shell/preferences.h"
#include "shell/typing_aids.h"
#include "tests/shell/operation_test_fixture.h"

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
  }
  void TearDown() override {
    form->InputModeClick(form->EditKbdRussian);
    TComponent::Free(PrefForm);
    PrefForm = nullptr;
    OperationTest::TearDown();
  }
  char Press(char key) {
    form->Editor->OnKeyPress(form->Editor, key);
    return key;
  }
  std::string Panel7() const { return form->StatusBar->Panels()->Items(7)->Text(); }
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

}  // namespace
