// The main window's pick list: spelling and conversion suggestions, dates and times, text
// fragments; the right click that selects a word; the program's own text files; numbers in words.
#include <algorithm>
#include <chrono>
#include <ctime>

#include "platform/exceptions.h"
#include "platform/code_pages.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/files.h"
#include "platform/gui/key_send.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "shell/convert_text.h"
#include "shell/insertion_lists.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/program_data_files.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"
#include "textcore/rich_edit_attributes.h"
#include "tools/num_words.h"

namespace {

constexpr int kListWidth = 260, kListRows = 10, kCaretLineHeight = 20;


// The program files of File > System Files, by the items' tags.
const char* const kSystemFiles[] = {"fragment.ini", "datetime.ini", "pretranslit.ini", "prehtml.ini", "interlook.ini"};

bool IsWordChar(char16_t c) {
  return c == u'-' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0x2000);
}

}  // namespace


void TMainForm::ShowSuggList(const std::vector<std::u16string>& entries, int tag) {
  suggEntries_ = entries;
  suggWordStart_ = -1;
  suggCaseForms_ = false;
  SuggList->Clear();
  for (const std::u16string& entry : entries) SuggList->Items()->Add(WideToAnsi(entry));
  SuggList->SetTag(tag);
  if (entries.empty()) {
    SuggList->Hide();
    return;
  }
  // Just below the caret, kept inside the window.
  const int rows = std::min(int(entries.size()), kListRows);
  const int height = rows * SuggList->ItemHeight() + 4;
  POINTL caret{};
  Editor->Perform(EM_POSFROMCHAR, reinterpret_cast<uintptr_t>(&caret), Editor->SelStart());
  TPoint at = Editor->ClientToScreen({int(caret.x), int(caret.y) + kCaretLineHeight});
  if (TWinControl* parent = SuggList->Parent()) {
    at = parent->ScreenToClient(at);
    at.X = std::max(0, std::min(at.X, parent->ClientWidth() - kListWidth));
    at.Y = std::max(0, std::min(at.Y, parent->ClientHeight() - height));
  }
  SuggList->SetBounds(at.X, at.Y, kListWidth, height);
  SuggList->Show();
  SuggList->BringToFront();
  SuggList->SetItemIndex(0);
  if (SuggList->CanFocus()) SuggList->SetFocus();
}

void TMainForm::PickSuggestion() {
  // A pick is a command of the list like any other: the command rule decides.
  if (!AllowCommand(SuggList)) return;
  const int index = SuggList->ItemIndex();
  SuggList->Hide();
  if (Editor->CanFocus()) Editor->SetFocus();
  if (index < 0 || index >= int(suggEntries_.size())) return;
  const std::u16string entry = suggEntries_[size_t(index)];
  if (SuggList->Tag() < 0) {
    Editor->SetSelTextW(entry);
    LastPick = index;
    return;
  }
  std::u16string word;
  unsigned lcid = 0;
  if (!suggCaseForms_ && UserWordEntry(entry, word, lcid)) {
    if (!SpellingInitialized() || word.empty()) return;
    if (TQLanguage* language = SpellChecker().FindLanguage(lcid)) language->AddUserWord(WideToAnsi(word, CodePageOf(lcid)));
    return;
  }
  // The suggestion replaces the word it was offered for: the word just typed, the selection,
  // or the word at the caret.
  if (Editor->SelLength() == 0 && suggWordStart_ >= 0) {
    Editor->SetSelStart(suggWordStart_);
    Editor->SetSelLength(suggWordLength_);
  } else if (Editor->SelLength() == 0) {
    SelectWordAt(Editor->SelStart());
  }
  Editor->SetSelTextW(entry);
}

void TMainForm::SuggListKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  switch (Key) {
    case VK_RETURN:
      Key = 0;
      PickSuggestion();
      return;
    case VK_ESCAPE:
      Key = 0;
      SuggList->Hide();
      if (Editor->CanFocus()) Editor->SetFocus();
      return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      return;  // the list moves its choice
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
      return;
    case VK_BACK:
    case VK_DELETE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_TAB:
      // An editing or moving key ends the choice and acts in the editor.
      SuggList->Hide();
      if (Editor->CanFocus()) Editor->SetFocus();
      SendKeyTo(Editor, Key, Shift);
      Key = 0;
      return;
    default:
      // Any other key ends the choice; a typed character follows in SuggListKeyPress.
      SuggList->Hide();
      if (Editor->CanFocus()) Editor->SetFocus();
  }
}

void TMainForm::SuggListKeyPress(TObject*, char& Key) {
  char typed = Key;
  Key = 0;
  if (!AllowCommand(SuggList)) return;
  if (SuggList->Visible()) SuggList->Hide();
  if (Editor->CanFocus()) Editor->SetFocus();
  // The character goes on to the editor as though typed there: its input mode, then the text.
  if (Editor->OnKeyPress) Editor->OnKeyPress(Editor, typed);
  if (typed >= ' ' || typed == '\t') Editor->SetSelTextW(AnsiToWide(std::string(1, typed)));
}

void TMainForm::SuggListMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  const int index = SuggList->ItemAtPos({X, Y}, true);
  if (index < 0) return;
  SuggList->SetItemIndex(index);
  PickSuggestion();
}

void TMainForm::SuggListExit(TObject*) { SuggList->Hide(); }

void TMainForm::SelectWordAt(int position) {
  const std::u16string text = Editor->GetTextW();
  int start = std::clamp(position, 0, int(text.size())), end = start;
  while (start > 0 && IsWordChar(text[size_t(start - 1)])) --start;
  while (end < int(text.size()) && IsWordChar(text[size_t(end)])) ++end;
  Editor->SetSelStart(start);
  Editor->SetSelLength(end - start);
}

unsigned TMainForm::SelectionLanguage() const { return Editor->SelAttributes()->Language(); }

void TMainForm::EditorMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && (Shift & ssDouble)) OpenObjectAt(X, Y);
  if (Button != mbRight) return;
  const int position = Editor->CharFromPos({X, Y});
  const int start = Editor->SelStart(), length = Editor->SelLength();
  if (length > 0 && position >= start && position < start + length) return;
  SelectWordAt(position);
}

void TMainForm::DateTime1Click(TObject*) {
  const std::string file = ProgramDataFile("datetime.ini");
  const std::vector<std::string> formats = FileExists(file) ? RuleFileLines(file) : DefaultDateTimeFormats();
  ShowSuggList(DateTimeEntries(formats, Clock(), DateTimeSettings), -1);
}

void TMainForm::HTMLTag1Click(TObject*) {
  const std::string file = ProgramDataFile("fragment.ini");
  const std::vector<std::string> fragments = FileExists(file) ? RuleFileLines(file) : DefaultFragments();
  // The selection as it stands: characters of every script stay, and the editor keeps the
  // formatting of the replaced text.
  const std::u16string selection = Editor->GetSelTextW();
  std::vector<std::u16string> entries;
  for (const std::string& fragment : fragments) entries.push_back(ApplyFragment(fragment, selection));
  ShowSuggList(entries, -2);
}

void TMainForm::SystemFileClick(TObject* Sender) {
  auto* item = dynamic_cast<TComponent*>(Sender);
  const int tag = item ? item->Tag() : -1;
  if (tag < 0 || tag >= int(std::size(kSystemFiles))) return;
  OS->OpenFile(UserDataFile(kSystemFiles[tag]));
}

void TMainForm::ToolsVerbalExecute(TObject*) {
  if (Editor->SelLength() == 0) SelectWordAt(Editor->SelStart());
  const std::string text = WideToAnsi(Editor->GetSelTextW(), 1251);
  int64_t number = 0;
  try {
    size_t used = 0;
    number = std::stoll(text, &used, 10);
    if (used != text.size()) number = 0;
  } catch (const std::exception&) {
    number = 0;
  }
  if (number == 0) return;
  SuggList->Clear();
  SuggList->Hide();
  // The first language's limit is the command's: above it the error, and no list.
  try {
    CreateNumWordsDriver(7, 25)->NumberToWords(number, 2);
  } catch (const Exception& e) {
    Application->ShowException(e);
    return;
  }
  // Every other language that can say the number (one refusing a negative hides no other).
  const std::vector<std::u16string> entries = NumberToWordsInEveryLanguage(number);
  ShowSuggList(entries, 0);
}
