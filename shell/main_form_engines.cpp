// The main window's correction engines: de-transliteration (QGrammar on "translit.qg") and the
// clean-up of scanned text (CLGrammar on "ocrclean.qg"), the commands that run them inside the
// operation frame, and the conversion of the word at the caret.
#include <chrono>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/string_list.h"
#include "proofing/ask_form.h"
#include "proofing/correction_editor_adapter.h"
#include "proofing/correction_engine.h"
#include "shell/debug_form.h"
#include "shell/find_form.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "tools/tool_messages.h"
#include "shell/progress_wait_form.h"
#include "shell/speed_form.h"
#include "textcore/rich_edit.h"
#include "textcore/text_utils.h"

namespace {

constexpr int kPanelRunTime = 9;

// The replacement lists of a pass go through the find form over Start..End of the editor.
int ReplaceListRange(TRichEditW& editor, const std::vector<std::string>& lines, bool matchCase, bool wholeWords,
                     bool markChanges, int start, int end) {
  if (!MainForm || end <= start) return 0;
  TStringList list;
  for (const std::string& line : lines)
    if (!line.empty()) list.Add(line);
  if (list.Count() == 0) return 0;
  editor.SetSelStart(start);
  editor.SetSelLength(end - start);
  return MainForm->FindWindow().ReplaceFromList(list, matchCase, wholeWords, markChanges, true, 0);
}

// The engine's questions, asked with the editor's window showing the text (the pass holds it
// off the text meanwhile) and the word asked about in view.
class TShownWhileAsking : public IAskView {
public:
  TShownWhileAsking(IAskView* inner, TRichEditW& editor) : inner_(inner), editor_(editor) {}
  IAskView* Inner() const { return inner_; }
  bool ShowOptionsPage(TAskDialog& dialog) override { return inner_ ? inner_->ShowOptionsPage(dialog) : true; }
  TAskAnswer ShowConfirmPage(TAskDialog& dialog, int kind) override {
    if (!inner_) return TAskAnswer::Skip;
    editor_.Control().ShowUndoStep();  // the window is told of the changes so far
    editor_.EndUpdate();
    struct THeldAgain {
      TRichEditW& Editor;
      ~THeldAgain() { Editor.BeginUpdate(); }
    } heldAgain{editor_};
    editor_.Control().ScrollCaret();
    return inner_->ShowConfirmPage(dialog, kind);
  }

private:
  IAskView* inner_;
  TRichEditW& editor_;
};

}  // namespace

void TMainForm::CreateEngines() {
  engineEditor_ = std::make_unique<TRichEditCorrectionEditor>(*Editor);
  QGrammar = std::make_unique<TQGrammar>();
  CLGrammar = std::make_unique<TQGrammar>();
  QGrammar->GrammarFile = "translit.qg";
  CLGrammar->GrammarFile = "ocrclean.qg";
  for (TQGrammar* engine : {QGrammar.get(), CLGrammar.get()}) {
    engine->Editor = engineEditor_.get();
    engine->ListReplacer = [this](const std::vector<std::string>& lines, bool matchCase, bool wholeWords,
                                  bool markChanges, bool, int start, int end) {
      return ReplaceListRange(*Editor, lines, matchCase, wholeWords, markChanges, start, end);
    };
    engine->MultiLanguage = [](const std::string& key) { return GetLangMessage(key); };
    engine->OnMessage = [](const std::string& text) { MessageDlg(text, mtInformation, mbOK); };
    engine->OnProgress = [this](int percent) { return OperationProgress(this, percent); };
    // A pass in debug mode waits on each word's rule matching until its window is closed.
    engine->OnRuleDebug = [this](const std::vector<std::vector<std::string>>& segments,
                                 const std::vector<std::string>& variants, const std::string& caption) {
      if (!debugForm_) debugForm_ = new TDebugForm(this);
      debugForm_->ShowRuleDebug(segments, variants, caption);
    };
    // The dialog's "Options..." button: the processing-options window.
    engine->Dialog().OnChangeOptions = [] { ShowProcessingOptions(true); };
  }
  // The clean-up runs in passes: each one gets its own progress display.
  CLGrammar->OnStatus = [](int pass) {
    const std::string caption = GetLangMessage("ProgressPass" + std::to_string(pass));
    if (!caption.empty()) ProgressStart(caption);
    return ProgressStopRequested();
  };
}

void TMainForm::LoadEngineGrammar(TQGrammar& engine) {
  // The engine dialog is a window of its own, made after this one. No help is installed: F1
  // says so.
  engine.Dialog().View = Application->EnsureForm(AskForm);
  AskForm->OnHelp = [](int) { MessageDlg(GetLangMessage("HelpNotInstalled"), mtInformation, mbOK); };
  if (engine.HasGrammar()) return;
  // Reading a grammar takes a moment: the wait window (without Stop) covers it.
  if (WaitForm) WaitForm->ShowDelayed(0, false);
  try {
    engine.LoadGrammar();
  } catch (...) {
    if (WaitForm) WaitForm->HideWait();
    throw;
  }
  if (WaitForm) WaitForm->HideWait();
}

void TMainForm::RunEngine(TQGrammar& engine, const std::string& caption, const std::string& historyName,
                          bool breakOnEvents) {
  // Nothing to work on: no options page, no frame.
  if (Editor->Control().TextLength() == 0) return;
  LoadEngineGrammar(engine);
  if (!engine.Prepare()) return;
  if (breakOnEvents) {
    if (engine.IsAutomatic())
      engine.ExecMode &= ~emBreakOnEvents;
    else
      engine.ExecMode |= emBreakOnEvents;
  }
  const auto started = std::chrono::steady_clock::now();
  // The flag is down again whatever ends the run (an abort, an engine error).
  struct TRunningGuard {
    bool& Flag;
    ~TRunningGuard() { Flag = false; }
  } guard{engineRunning_};
  engineRunning_ = true;
  RunOperation(GetLangMessage(caption), true, GetLangMessage(historyName), [&] {
    // The pass works unseen (shown, every word's change and mark would be laid out at once, a
    // whole piece of a long paragraph each time) and as one undo step (inside one, reading a
    // word's format does not have Qt analyse its whole paragraph); the window shows the text
    // while a question is up.
    const TEditorUpdateHold unseen(*Editor);
    const TEditorUndoStep oneStep(*Editor);
    TShownWhileAsking view(engine.Dialog().View, *Editor);
    engine.Dialog().View = &view;
    struct TViewBack {
      TAskDialog& Dialog;
      IAskView* View;
      ~TViewBack() { Dialog.View = View; }
    } viewBack{engine.Dialog(), view.Inner()};
    engine.Execute();
  });
  const double days = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 86400.0;
  StatusBar->Panels()->Items(kPanelRunTime)->SetText(ToolMessage("StatusProcessed", "Processed in") + " " + FormatElapsedTime(days));
}

void TMainForm::ConvDeTransliterateExecute(TObject*) { RunEngine(*QGrammar, "StatDeTrans", "HistDeTrans", true); }

void TMainForm::ConvOCRFixExecute(TObject*) { RunEngine(*CLGrammar, "StatCleanup", "HistCleanup", false); }

void TMainForm::ForceCyrillicExecute(TObject*) {
  if (Editor->Control().TextLength() == 0) return;
  LoadEngineGrammar(*QGrammar);
  const int scheme = QGrammar->Dialog().SchemeIndex;
  struct TSchemeGuard {
    TQGrammar& Engine;
    int Scheme;
    ~TSchemeGuard() { Engine.SelectScheme(Scheme); }
  } guard{*QGrammar, scheme};
  QGrammar->SelectScheme(0);
  QGrammar->ConvertCurrentWord(false);
  if (Editor->Visible() && Editor->CanFocus()) Editor->SetFocus();
}
