// The main window's Convert commands that change the text's script, markup or case, and the
// Search commands that open the find form.
#include <algorithm>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "platform/rich_text.h"
#include "platform/string_list.h"
#include "shell/convert_text.h"
#include "shell/find_form.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/replace_list_rules.h"
#include "shell/unicode_form.h"
#include "shell/program_data_files.h"
#include "textcore/app_files.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"

namespace {

int TagOf(TObject* sender) {
  auto* component = dynamic_cast<TComponent*>(sender);
  return component ? component->Tag() : 0;
}

bool IsCaseWordChar(char16_t c) { return IsListLetter(c) || IsListDigit(c) || WideUpper(c) != WideLower(c); }

// The selected range, or the whole text when nothing is selected.
void WorkRange(TRichEditW& editor, int& start, int& length) {
  start = editor.SelLength() > 0 ? editor.SelStart() : 0;
  length = editor.SelLength() > 0 ? editor.SelLength() : editor.Control().TextLength();
}

// Runs the rule file's list over the selection (or the whole text) with the find form;
// answers false when the run was stopped.
bool RunRuleFile(const std::string& name, bool matchCase, const std::u16string* onlyIfIn) {
  std::vector<std::string> lines = RuleFileLines(ProgramDataFile(name));
  if (onlyIfIn) {
    // Rules whose text does not occur cannot change anything: leave them out of the run.
    std::erase_if(lines, [&](const std::string& line) {
      const TListLine rule = ParseListLine(line);
      return rule.LineKind == TListLine::kRule && rule.Conditions.empty() &&
             onlyIfIn->find(DecodeEscapes(rule.Find).Text) == std::u16string::npos;
    });
  }
  if (lines.empty() || !MainForm) return true;
  TStringList list;
  for (const std::string& line : lines) list.Add(line);
  TFindForm& find = MainForm->FindWindow();
  find.ReplaceFromList(list, matchCase, false, false, true, 0);
  return !find.Stopped() && !ProgressStopRequested();
}

}  // namespace

// --- The find form -------------------------------------------------------------------------------

TFindForm& TMainForm::FindWindow() {
  // Bound when made here, or when first used after another made it (a test script showing
  // every window).
  if (Application->EnsureForm(FindForm)->Editor != Editor) BindFindForm();
  return *FindForm;
}

void TMainForm::BindFindForm() {
  if (!FindForm) return;
  FindForm->Editor = Editor;
  FindForm->OnReplaceStart = [this](TObject*) {
    if (engineRunning_) return;
    findWasBusy_ = busy_;
    ProgressStart(GetLangMessage("StatReplace"));
    SetBusy(true);
  };
  FindForm->OnReplaceEnd = [this](TObject*) {
    // A list run inside an operation leaves the operation's busy state as it was.
    if (!engineRunning_ && !findWasBusy_) SetBusy(false);
    UpdateStatusBar();  // the editor's notices were held while the replacements ran
  };
  // A search of the user's waits until the running operation has ended.
  FindForm->OnBeforeFind = [this](TObject*) {
    if (busy_) throw EAbort("");
    SetBusy(true);
  };
  FindForm->OnAfterFind = [this](TObject*) { SetBusy(false); };
  FindForm->OnProgress = [this](TObject* sender, int percent) { return OperationProgress(sender, percent); };
}

void TMainForm::ShowFindForm(int page) {
  TFindForm& find = FindWindow();
  find.ShowPage(page);
  const int length = Editor->SelLength();
  if (length >= 30) {
    find.RBSelOnly->SetChecked(true);
  } else if (length > 0) {
    std::string text = WideStringToAnsi(Editor->GetSelTextW(), LocaleCodePage(Editor->Language()));
    const size_t first = text.find_first_not_of(" \t\r\n\v");
    const size_t last = text.find_last_not_of(" \t\r\n\v");
    find.EditFind->SetText(first == std::string::npos ? "" : text.substr(first, last - first + 1));
    const uint32_t color = Editor->Control().CharFormatAt(Editor->SelStart()).Color;
    find.ColorFind->Brush()->SetColor(color == RichAutoColor ? clWindowText : TColor(color));
  }
  find.Show();
}

void TMainForm::ShowFindFormClick(TObject* Sender) { ShowFindForm(std::clamp(TagOf(Sender), 1, 4)); }

void TMainForm::SelectWordAtCaret() {
  const std::u16string text = Editor->GetTextW();
  int start = std::min(Editor->SelStart(), int(text.size())), end = start;
  while (start > 0 && IsCaseWordChar(text[size_t(start - 1)])) --start;
  while (end < int(text.size()) && IsCaseWordChar(text[size_t(end)])) ++end;
  Editor->SetSelStart(start);
  Editor->SetSelLength(end - start);
}

void TMainForm::FindNextOccClick(TObject* Sender) {
  if (Editor->SelLength() == 0) SelectWordAtCaret();
  if (Editor->SelLength() == 0) return;
  const bool backward = TagOf(Sender) == 1;
  // The text is searched as written: a "{" is not an escape here.
  std::string text;
  for (const char c : WideStringToAnsi(Editor->GetSelTextW(), 1251)) text += c == '{' ? std::string("{{") : std::string(1, c);
  const int start = Editor->SelStart(), end = start + Editor->SelLength();
  Editor->SetSelStart(backward ? start : end);
  Editor->SetSelLength(0);
  TFindForm& find = FindWindow();
  find.Show();
  find.FindText(text, backward);
  if (Editor->CanFocus()) Editor->SetFocus();
}

// --- Convert commands ----------------------------------------------------------------------------

void TMainForm::EditRemoveHTMLExecute(TObject*) {
  RunOperation(GetLangMessage("StatRemoveHTML"), false, GetLangMessage("HistRemoveHTML"), [this] {
    int start = 0, length = 0;
    WorkRange(*Editor, start, length);
    const int before = Editor->Control().TextLength();
    const std::u16string original = Editor->Control().TextRange(start, start + length);
    if (!RunRuleFile("prehtml.ini", true, &original)) return;  // the replacements made stay
    length += Editor->Control().TextLength() - before;
    std::u16string text = Editor->Control().TextRange(start, start + length);
    ProgressSetCaption(GetLangMessage("StatRemoveHTML"));
    if (!RemoveHtmlTags(text, [](int64_t position, int64_t total) { return ProgressStep(position, total); }))
      return;  // the list replacements made stay; the tags do
    Editor->SetSelStart(start);
    Editor->SetSelLength(length);
    Editor->SetSelTextW(text);
  });
}

void TMainForm::ConvTransliterateExecute(TObject*) {
  if (Editor->Control().TextLength() == 0) return;
  const int selStart = Editor->SelStart(), selLength = Editor->SelLength();
  const int before = Editor->Control().TextLength();
  // The list run shows its own progress, which ends with it however it ends (a stop included);
  // the letter pass below starts one of its own.
  bool listDone = false;
  {
    struct TListProgress {
      bool ends;
      ~TListProgress() {
        if (ends) ProgressEnd();
      }
    } listProgress{!busy_};  // never the display of an operation running already
    listDone = RunRuleFile("pretranslit.ini", false, nullptr);
  }
  if (!listDone) return;
  // The selection again, grown or shrunk by what the list changed.
  if (selLength > 0) {
    Editor->SetSelStart(selStart);
    Editor->SetSelLength(std::max(0, selLength + Editor->Control().TextLength() - before));
  } else {
    Editor->SetSelStart(selStart);
    Editor->SetSelLength(0);
  }
  Application->ProcessMessages();
  RunOperation("", false, GetLangMessage("HistTrans"), [this] {
    int start = 0, length = 0;
    WorkRange(*Editor, start, length);
    const std::u16string text = Editor->Control().TextRange(start, start + length);
    const int64_t paragraphs = std::count(text.begin(), text.end(), u'\r') + 1;
    // Paragraph by paragraph, whole (however long), each written back only when it changed;
    // the window lays the text out once at the end. Plain text has one format for all of it:
    // there the whole result (what was done before a stop, then the rest) is written at once.
    const TEditorUpdateHold unseen(*Editor);
    const bool plain = Editor->PlainText();
    std::u16string result;
    int pos = start;
    size_t from = 0;
    for (int64_t i = 0; i < paragraphs; ++i) {
      size_t end = text.find(u'\r', from);
      if (end == std::u16string::npos) end = text.size();
      const std::u16string_view paragraph = std::u16string_view(text).substr(from, end - from);
      const std::u16string converted = TransliterateW(paragraph);
      if (plain) {
        result += converted;
        if (end < text.size()) result += u'\r';
      } else if (converted != paragraph) {
        Editor->SetSelStart(pos);
        Editor->SetSelLength(int(paragraph.size()));
        Editor->SetSelTextW(converted);
      }
      pos += int(converted.size()) + 1;
      from = end + 1;
      if (ProgressStep(i + 1, paragraphs)) break;
    }
    if (plain && from < text.size()) result.append(text, from);
    if (plain && result != text) {
      Editor->SetSelStart(start);
      Editor->SetSelLength(length);
      Editor->SetSelTextW(result);
    }
  });
}

void TMainForm::CaseToggleClick(TObject* Sender) {
  if (Editor->SelLength() == 0) SelectWordAtCaret();
  if (Editor->SelLength() == 0) return;
  const int start = Editor->SelStart(), mode = TagOf(Sender);
  int length = Editor->SelLength();
  // An operation: a long text shows its progress and can be stopped (then nothing changes).
  RunOperation(GetLangMessage("StatCase"), false, "", [&] {
    const std::u16string text = ChangeCaseW(Editor->GetSelTextW(), mode, [](int64_t position, int64_t total) {
      return ProgressStep(position, total);
    });
    Editor->SetSelStart(start);
    Editor->SetSelLength(length);
    Editor->SetSelTextW(text);
    length = int(text.size());
  });
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
}

void TMainForm::ToolsChangeCaseExecute(TObject*) {
  if (Editor->SelLength() == 0) SelectWordAtCaret();
  // The list offers the selection without its surrounding blanks, and picking replaces just that.
  const std::u16string selected = Editor->GetSelTextW();
  const size_t first = selected.find_first_not_of(u" \t\r\v");
  if (first == std::u16string::npos) return;
  const size_t last = selected.find_last_not_of(u" \t\r\v");
  Editor->SetSelStart(Editor->SelStart() + int(first));
  Editor->SetSelLength(int(last - first + 1));
  const std::u16string text = selected.substr(first, last - first + 1);
  std::vector<std::u16string> forms;
  for (int mode : {2, 3, 4}) forms.push_back(ChangeCaseW(text, mode));
  if (text.find(u' ') != std::u16string::npos) forms.push_back(ChangeCaseW(text, 1));
  ShowSuggList(forms, 0);
  suggCaseForms_ = true;
}

void TMainForm::ConvUNICODEExecute(TObject*) {
  Application->EnsureForm(UnicodeForm);
  if (Editor->SelLength() == 0) Editor->SelectAll();
  if (UnicodeForm->ShowModal() != mrOk) return;  // Cancel leaves the document as it was
  const bool upgrade = UnicodeForm->RGMap->ItemIndex() == 0;
  const LCID language = UnicodeForm->Language();
  const int start = Editor->SelStart();
  int length = Editor->SelLength();
  // An operation: a long text shows its progress and can be stopped (then nothing changes).
  RunOperation(GetLangMessage("StatEncode"), false, "", [&] {
    const std::u16string text = ConvertLocaleText(Editor->GetSelTextW(), upgrade, LocaleCodePage(language),
                                                  [](int64_t position, int64_t total) { return ProgressStep(position, total); });
    Editor->SetLanguage(upgrade ? language : LANG_ENGLISH_US);
    Editor->SetSelStart(start);
    Editor->SetSelLength(length);
    Editor->SetSelTextW(text);
    Editor->SetModified(true);
    length = int(text.size());
  });
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
}
