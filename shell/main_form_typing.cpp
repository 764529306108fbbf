// Typing in the main window: the input modes and their status-bar indicator, the characters
// of the emulated and phonetic modes, the automation at the end of a typed word, smart quotes,
// the conversion of a word typed on the wrong layout, Alt+Shift, and the window's own keys.
#include "components/toolbar_controls.h"
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/post_message.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "proofing/correction_engine.h"
#include "shell/find_form.h"
#include "components/font_combo.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "shell/single_instance_window.h"
#include "shell/unicode_form.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "tools/keyboard.h"
#include "tools/special_char_form.h"
#include "tools/symbol_list.h"

namespace {

constexpr int kStatusInputMode = 7;
constexpr uint16_t VK_F9 = VK_F1 + 8;
constexpr uint16_t kKeyOpenBracket = 0xDB, kKeyCloseBracket = 0xDD;  // the "[" and "]" keys
// HandleTypedKey: 0 only gives the word its language (and suggestions), 1 converts a word
// that reads better on the other layout, 2 converts always.
constexpr int kTypedKeep = 0, kTypedSwitch = 1, kTypedForce = 2;
// The characters re-read after each key in the emulated and phonetic modes.
constexpr int kRereadLength = 3;

TShiftState Modifiers(TShiftState shift) { return shift & (ssShift | ssCtrl | ssAlt); }

}  // namespace

void TMainForm::BindTyping() {
  Handler("InputModeClick", &TMainForm::InputModeClick);
  Handler("ForceKbdLayoutExecute", &TMainForm::ForceKbdLayoutExecute);
  Field("EditKbdRussian", EditKbdRussian);
  Field("EditKbdEnglish", EditKbdEnglish);
  Field("EditKbdEmulated", EditKbdEmulated);
  Field("EditKbdFonetic", EditKbdFonetic);
  Field("ForceKbdLayout", ForceKbdLayout);
}

void TMainForm::InitTyping() {
  Editor->OnKeyPress = [this](TObject* sender, char& key) { EditorKeyPress(sender, key); };
  Editor->OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState shift) { EditorKeyDown(sender, key, shift); };
  Editor->OnKeyUp = [this](TObject* sender, uint16_t& key, TShiftState shift) { EditorKeyUp(sender, key, shift); };
  // A word converted while typing: a beep, and the keyboard follows the word's language.
  QGrammar->OnTypedConversion = [](LCID lcid) {
    MessageBeep();
    ActivateKeyboardLayout(uint16_t(lcid));
  };
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
  // The on-screen keyboard shows the keys of the mode.
  if (VirtualKbd && VirtualKbd->Keyboard1) VirtualKbd->Keyboard1->RefreshCaptions();
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
  if (IsWordEndChar(Key) && (EditAutoSwitch->Checked() || EditAutoSpell->Checked() || EditAutoDeTrans->Checked()))
    TypingAutomation();
  if (Key == '"' && PrefForm && PrefForm->CBSmartQuotes->Checked()) {
    const int caret = Editor->SelStart();
    const std::u16string previous = caret > 0 ? Editor->Control().TextRange(caret - 1, caret) : std::u16string();
    const bool hasPrevious = !previous.empty();
    Key = SmartQuote(hasPrevious, hasPrevious ? previous[0] : u' ');
  }
}

void TMainForm::TypingAutomation() {
  std::vector<std::string> suggestions;
  SuggList->Clear();
  SuggList->Hide();
  StatusBar->Perform(WM_SETREDRAW, 0);
  Editor->BeginUpdate();
  struct TResume {
    TMainForm& Form;
    ~TResume() {
      Form.Editor->EndUpdate();
      Form.StatusBar->Perform(WM_SETREDRAW, 1);
    }
  } resume{*this};
  if (EditAutoDeTrans->Checked()) {
    try {
      LoadEngineGrammar(*QGrammar);
    } catch (const Exception&) {
      // Without its grammar the conversion cannot run: it goes off rather than failing at
      // every word.
      EditAutoSwitchExecute(EditAutoDeTrans);
      throw;
    }
    // Typing asks no questions (the word is converted as the engine judges it alone) and
    // handles no messages meanwhile: a key handled in the middle would land on the word.
    struct TTypingPass {
      TQGrammar& Engine;
      const TExecModes Modes = Engine.ExecMode;
      const std::function<bool(int)> Progress = Engine.OnProgress;
      ~TTypingPass() {
        Engine.ExecMode = Modes;
        Engine.OnProgress = Progress;
      }
    } pass{*QGrammar};
    QGrammar->ExecMode = (pass.Modes | emNoDialog) & ~(emBreakOnEvents | emPrompt);
    QGrammar->OnProgress = nullptr;
    QGrammar->ConvertCurrentWord(false);
  }
  QGrammar->HandleTypedKey(EditAutoSwitch->Checked() ? kTypedSwitch : kTypedKeep,
                           EditAutoSpell->Checked() ? &suggestions : nullptr);
  KeyboardLayout1Click(this);
  if (suggestions.empty()) {
    if (Editor->CanFocus()) Editor->SetFocus();
    return;
  }
  std::vector<std::u16string> entries;
  for (const std::string& entry : suggestions) entries.push_back(AnsiToWide(entry, 1251));
  ShowSuggList(entries, 0);
  // The first entry is "+ " and the word, which ends at the caret.
  suggWordLength_ = int(entries.front().size()) - 2;
  suggWordStart_ = Editor->SelStart() - suggWordLength_;
}

void TMainForm::ForceKbdLayoutExecute(TObject*) {
  QGrammar->HandleTypedKey(kTypedForce);
  KeyboardLayout1Click(this);
  if (Editor->CanFocus()) Editor->SetFocus();
}

void TMainForm::EditorKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  tabPressed_ = Key == VK_TAB;
  if (busy_ || Modifiers(Shift) != ssCtrl) return;
  if (Key == VK_RETURN) {
    Key = 0;
    ForceKbdLayoutExecute(this);
    return;
  }
  // Ctrl with a letter or bracket of the formatting buttons presses that button in the
  // formatted view; the plain view has no formatting to give, so the key does nothing there.
  // Every other Ctrl key (Home, End, the arrows, the clipboard keys) goes on to the editor.
  TFlatToolbarButton* button = nullptr;
  switch (Key) {
    case 'B': button = BoldButton; break;
    case 'I': button = ItalicButton; break;
    case 'U': button = UnderlineButton; break;
    case 'L': button = LeftAlign; break;
    case 'E': button = CenterAlign; break;
    case 'R': button = RightAlign; break;
    case 'J': button = JustifyAlign; break;
    case kKeyOpenBracket: button = DecIndentBtn; break;
    case kKeyCloseBracket: button = IncIndentBtn; break;
    default: return;
  }
  Key = 0;
  if (!PlainView()) button->Press();
}

void TMainForm::EditorKeyUp(TObject*, uint16_t& Key, TShiftState) {
  if (busy_ || Key < 65 || Key > 255) return;
  const TInputMode mode = InputMode();
  if (mode != TInputMode::Emulated && mode != TInputMode::Phonetic) return;
  const int caret = Editor->SelStart();
  if (Editor->SelLength() != 0 || caret == 0) return;
  const int start = std::max(0, caret - kRereadLength);
  const std::u16string typed = Editor->Control().TextRange(start, caret);
  // The locale converter's locale, as the window stores it.
  const LCID locale = Application->EnsureForm(UnicodeForm)->Language();
  const std::u16string reread = ConvertLocaleText(typed, true, LocaleCodePage(locale));
  // Characters the system code page cannot hold stay as they are, and an unchanged text is
  // not written again (no undo step, no modification).
  if (reread == typed) return;
  Editor->BeginUpdate();
  Editor->SetSelStart(start);
  Editor->SetSelLength(caret - start);
  Editor->SetSelTextW(reread);
  Editor->SetSelStart(start + int(reread.size()));
  Editor->EndUpdate();
}

void TMainForm::WMLayoutSwitch() {
  // Where the layouts are the program's own record nobody else switches them.
  const int current = GetKeyboardLayoutLanguage();
  if (!SystemKeyboardLayouts() || (SavedLayout >= 0 && SavedLayout == current)) ActivateNextKeyboardLayout();
  SavedLayout = GetKeyboardLayoutLanguage();
  EditKbdEmulated->SetChecked(false);
  EditKbdFonetic->SetChecked(false);
  KeyboardLayout1Click(this);
}

bool TMainForm::BookmarkKey(uint16_t key, TShiftState shift) {
  // Ctrl+1 to Ctrl+9 choose bookmark 1 to 9.
  if (Modifiers(shift) != ssCtrl || key < '1' || key > '9') return false;
  const int index = key - '1';
  if (index >= int(Bookmarks().size())) return false;
  BmSet->SetItemIndex(index);
  BmSetChange(BmSet);
  return true;
}

bool TMainForm::WindowKey(uint16_t key, TShiftState shift) {
  const TShiftState mods = Modifiers(shift);
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) {
    // Alt+Shift, the layout switch, looked at once the system has had its turn. The state of
    // a modifier's own press may or may not hold that modifier already.
    if (!(mods & ssCtrl) && ((key == VK_SHIFT && (mods & ssAlt)) || (key == VK_MENU && (mods & ssShift))))
      PostMessage(this, WM_LAYOUTSWITCH);
    return false;
  }
  char16_t symbol = 0;
  std::string fontName;
  // A key that can be a symbol's shortcut asks the special symbols (made then) for one.
  if (!SymbolShortcutText(key, shift).empty() && SymbolsWindow().FindHotKey(key, shift, symbol, fontName)) {
    SpecialCharForm->InsertSymbol(symbol, fontName);
    return true;
  }
  if (mods == ssAlt) {
    switch (key) {
      case VK_RIGHT: FindWindow().FindAgain(1); return true;
      case VK_LEFT: FindWindow().FindAgain(-1); return true;
      case VK_HOME: FindWindow().FindAgain(-2); return true;
      case VK_END: FindWindow().FindAgain(2); return true;
      default: break;
    }
  }
  if (mods == ssShift && key == VK_INSERT) {
    Editor->PasteFromClipboard();
    return true;
  }
  if (mods == ssAlt && (key == '1' || key == '2')) {
    TComboBox* combo = key == '1' ? FontName : FontSize;
    if (combo->CanFocus()) {
      combo->SetFocus();
      combo->SetDroppedDown(true);
    }
    return true;
  }
  if (mods == (ssCtrl | ssAlt | ssShift) && key == VK_F9) {
    QGrammar->LoadGrammar();
    QGrammar->UpdateAskForm();
    return true;
  }
  return BookmarkKey(key, shift);
}
