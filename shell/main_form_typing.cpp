// Typing in the main window: the input modes and their status-bar indicator, the characters
// of the emulated and phonetic modes, smart quotes, and the window keys for bookmarks.
#include "platform/gui/actions.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/std_controls.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "textcore/rich_edit.h"

namespace {

constexpr int kStatusInputMode = 7;

}  // namespace

void TMainForm::BindTyping() {
  Handler("InputModeClick", &TMainForm::InputModeClick);
  Field("EditKbdRussian", EditKbdRussian);
  Field("EditKbdEnglish", EditKbdEnglish);
  Field("EditKbdEmulated", EditKbdEmulated);
  Field("EditKbdFonetic", EditKbdFonetic);
}

void TMainForm::InitTyping() {
  Editor->OnKeyPress = [this](TObject* sender, char& key) { EditorKeyPress(sender, key); };
  Editor->OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState shift) { EditorKeyDown(sender, key, shift); };
  KeyboardLayout1Click(this);
}

void TMainForm::InputModeClick(TObject* Sender) {
  TAction* chosen = dynamic_cast<TAction*>(Sender);
  if (!chosen) return;
  ActivateKeyboardLayout(chosen == EditKbdEnglish ? 1033 : 1049);
  for (TAction* action : {EditKbdRussian, EditKbdEnglish, EditKbdEmulated, EditKbdFonetic})
    action->SetChecked(action == chosen);
  KeyboardLayout1Click(this);
}

TInputMode TMainForm::InputMode() const {
  if (EditKbdEmulated->Checked()) return TInputMode::Emulated;
  if (EditKbdFonetic->Checked()) return TInputMode::Phonetic;
  return GetKeyboardLayoutLanguage() == 1033 ? TInputMode::English : TInputMode::Russian;
}

void TMainForm::KeyboardLayout1Click(TObject*) {
  const std::string text = InputModeText(InputMode(), GetKeyboardLayoutLanguage());
  if (text == "ENG" || text == "RUS") {
    EditKbdEnglish->SetChecked(text == "ENG");
    EditKbdRussian->SetChecked(text == "RUS");
  }
  StatusBar->Panels()->Items(kStatusInputMode)->SetText(text);
}

void TMainForm::EditorKeyPress(TObject*, char& Key) {
  // Nothing is typed into the text an operation works on.
  if (busy_ || Key == 0) return;
  // A tab comes from the Tab key only (Ctrl+I gives one too).
  if (Key == '\t' && !tabPressed_) {
    Key = 0;
    return;
  }
  if (Editor->Focused()) Key = TypedChar(InputMode(), Key);
  if (Key == '"' && PrefForm && PrefForm->CBSmartQuotes->Checked()) {
    const int caret = Editor->SelStart();
    const std::u16string text = Editor->GetTextW();
    const bool hasPrevious = caret > 0 && size_t(caret) <= text.size();
    Key = SmartQuote(hasPrevious, hasPrevious ? text[size_t(caret) - 1] : u' ');
  }
}

void TMainForm::EditorKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  tabPressed_ = Key == VK_TAB;
  if (busy_ || (Shift & (ssCtrl | ssAlt | ssShift)) != ssCtrl) return;
  // Ctrl with a letter of the formatting buttons presses that button in the formatted view;
  // the plain view has no formatting to give, so the key does nothing there. Every other
  // Ctrl key (Home, End, the arrows, the clipboard keys) goes on to the editor.
  TSpeedButton* button = nullptr;
  switch (Key) {
    case 'B': button = BoldButton; break;
    case 'I': button = ItalicButton; break;
    case 'U': button = UnderlineButton; break;
    case 'L': button = LeftAlign; break;
    case 'E': button = CenterAlign; break;
    case 'R': button = RightAlign; break;
    default: return;
  }
  Key = 0;
  if (!PlainView()) button->Click();
}

bool TMainForm::BookmarkKey(uint16_t key, TShiftState shift) {
  // Ctrl+1 to Ctrl+9 choose bookmark 1 to 9.
  if ((shift & (ssShift | ssAlt | ssCtrl)) != ssCtrl || key < '1' || key > '9') return false;
  const int index = key - '1';
  if (index >= int(Bookmarks().size())) return false;
  BmSet->SetItemIndex(index);
  BmSetChange(BmSet);
  return true;
}
