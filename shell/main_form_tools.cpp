// The main window's commands that show a tool window and apply it to the editor's text.
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "proofing/correction_engine.h"
#include "shell/convert_text.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/progress_form.h"
#include "shell/plain_text.h"
#include "shell/preferences.h"
#include "shell/progress.h"
#include "shell/speed_form.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "tools/auto_lang_form.h"
#include "tools/mail_form.h"
#include "tools/mixed_char_form.h"
#include "tools/quick_form.h"
#include "tools/reformat_form.h"
#include "tools/sort_form.h"

namespace {

// "Options..." of a tool window: the processing options without the style choice (the tools
// write plain text).
void ShowToolOptions(TObject*) { ShowProcessingOptions(false); }

bool ToolStep(int64_t done, int64_t total) { return ProgressStep(done, total); }

}  // namespace

void TMainForm::ConvCodeToCharExecute(TObject*) {
  Application->EnsureForm(MailForm);
  MailForm->OnOptions = ShowToolOptions;
  if (MailForm->ShowModal() != mrOk) return;
  // In the operation frame: progress, and Stop leaves the text as it was.
  RunOperation(GetLangMessage("StatMailDecode"), false, "", [&] {
    const bool whole = Editor->SelLength() == 0;
    const int start = whole ? 0 : Editor->SelStart();
    const std::u16string text = whole ? Editor->GetTextW() : Editor->GetSelTextW();
    std::u16string decoded;
    if (!MailForm->Execute(text, decoded, ToolStep) || decoded == text) return;
    // One replacement: one undo step takes the whole decoding back.
    if (whole) Editor->SelectAll();
    Editor->SetSelTextW(decoded);
    Editor->SetSelStart(start);
    Editor->SetSelLength(0);
  });
}

void TMainForm::ToolsVerifyLangExecute(TObject*) {
  // An empty editor has nothing to verify: no window, no frame.
  if (Editor->Control().TextLength() == 0) return;
  if (Application->EnsureForm(AutoLangForm)->ShowModal() != mrOk) return;
  RunOperation(GetLangMessage("StatAutoLang"), false, "", [&] { AutoLangForm->Execute(*Editor, ToolStep); });
}

void TMainForm::ToolsMixedCharExecute(TObject*) {
  if (Editor->Control().TextLength() == 0) return;
  Application->EnsureForm(MixedCharForm);
  MixedCharForm->OnOptions = ShowToolOptions;
  if (MixedCharForm->ShowModal() != mrOk) return;
  RunOperation(GetLangMessage("StatMixedChar"), true, GetLangMessage("HistMixedChar"),
               [&] { MixedCharForm->Execute(*Editor, ToolStep, ProgressSetChanges); });
}

void TMainForm::TextReformatExecute(TObject*) {
  if (Editor->Control().TextLength() == 0) return;
  Application->EnsureForm(ReformatForm);
  // Cancel leaves the document as it was, its modified state included.
  if (ReformatForm->ShowModal() != mrOk) return;
  RunOperation(GetLangMessage("StatReformat"), true, GetLangMessage("HistReformat"),
               [&] { ReformatForm->Execute(*QGrammar, *Editor, ToolStep); });
}

void TMainForm::ToolsSortExecute(TObject*) {
  Application->EnsureForm(SortForm);
  if (SortForm->ShowModal() != mrOk) return;
  // Input files are read as the program reads every plain-text file: UTF-8, UTF-16 or a code page.
  SortForm->DecodeFile = [](const std::string& bytes, unsigned codePage) { return ReadPlainText(bytes, codePage).Text; };
  TSortResult result = TSortResult::Done;
  // A file can be sorted with nothing in the editor.
  RunOperation(
      GetLangMessage("StatSorting"), false, "",
      [&] {
        result = SortForm->Execute(*Editor, ToolStep, [](const std::string& key) { ProgressSetCaption(GetLangMessage(key)); });
      },
      !SortForm->RBInFile->Checked());
  const char* message = result == TSortResult::NoData   ? "SortNoData"
                        : result == TSortResult::NoFile ? "SortNoFile"
                        : result == TSortResult::NoOutFile ? "SortNoOutFile"
                                                           : nullptr;
  if (message) MessageDlg(GetLangMessage(message), mtError, mbOK);
}

TQuickForm& TMainForm::QuickWindow() {
  // Bound when made here, or when first used after another made it (a test script showing
  // every window).
  if (!Application->EnsureForm(QuickForm)->RunWithProgress) {
    BindQuickForm();
    if (PrefForm) ApplyQuickFormFont();
  }
  return *QuickForm;
}

void TMainForm::BindQuickForm() {
  if (!QuickForm) return;
  QuickForm->OnRecode = [this](int source, int target) { RecodeWorkText(source, target); };
  QuickForm->OnTransliterate = [this] { WorkText = WideStringToAnsi(TransliterateW(AnsiToWideString(WorkText, 1251)), 1251); };
  QuickForm->DeTransliterator = QGrammar.get();
  QuickForm->Cleaner = CLGrammar.get();
  QuickForm->RunWithProgress = RunInProgressWindow;
}
