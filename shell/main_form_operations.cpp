// The operation frame of the main window and the encoding conversion that runs in it.
#include "components/flat_dock.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"
#include "textcore/rich_edit_streaming.h"

namespace {

constexpr unsigned kWorkCodePage = 1251;
constexpr int kDefaultUndoLimit = 500;

}  // namespace

void TMainForm::SetBusy(bool busy) {
  if (busy) {
    Editor->OnChange = nullptr;
    Editor->OnSelectionChange = nullptr;
  } else {
    Editor->OnChange = [this](TObject* sender) { RichEditChange(sender); };
    Editor->OnSelectionChange = [this](TObject* sender) { SelectionChange(sender); };
  }
  // The editor sits on the window itself: it takes no typing or clicks while an operation
  // works on its text (the operation's own changes go through the editor as before).
  Editor->SetEnabled(!busy);
  DockTop->SetEnabled(!busy);
  DockBottom->SetEnabled(!busy);
  // Also the toolbars the user moved to the side docks or floated.
  for (int i = 0; TFlatToolbar* bar = Toolbar(i); ++i) bar->SetEnabled(!busy);
  // Every menu of the bar: no menu command reaches the text under the operation.
  TMenuItem* bar = MainMenu1->Items();
  for (int i = 0; i < bar->Count(); ++i) bar->Items(i)->SetEnabled(!busy);
  Exit1->SetEnabled(!busy);
  if (busy) SuggList->Hide();  // a pick list open at the start takes no pick
  busy_ = busy;
  BindInsertingWindows();
  ProgressArea->SetVisible(busy);
  StatusBar->SetVisible(!busy);
  UpdateCommands();
  UpdateRuler();
}

void TMainForm::BeginOperation(const std::string& caption, bool disableUndo, bool needsText) {
  // From here the editor's flag tells whether the operation changed the text; what it said
  // before (edited by hand) comes back when the operation changes nothing.
  handEdited_ = Editor->Modified();
  Editor->SetModified(false);
  if (needsText && Editor->Control().TextLength() == 0) throw EAbort("");
  // Busy before the progress display handles the first messages: a click or key waiting in
  // the queue must not start a second operation or change the text under this one.
  SetBusy(true);
  if (!caption.empty()) ProgressStart(caption);
  // An operation without step-by-step undo keeps the text before and after it in the history
  // instead, so that its change can still be taken back.
  const TProcessingOptions& options = ProcessingOptions();
  undoOff_ = disableUndo && !options.EnableUndo;
  if (options.EnableHist) {
    if (history_.Count() == 0)
      AddToHistory(GetLangMessage("HistOrigText"));
    else if (handEdited_)
      AddToHistory(GetLangMessage("HistModText"));
  } else if (undoOff_) {
    AddToHistory(GetLangMessage(history_.Count() == 0 ? "HistOrigText" : "HistModText"));
  }
  if (undoOff_) Editor->SetUndoLimit(0);
  Editor->Perform(EM_HIDESELECTION, 1, 0);
  Application->ProcessMessages();
}

void TMainForm::GetWorkText() {
  if (Editor->SelLength() > 0) {
    WorkStart = Editor->SelStart();
    WorkLength = Editor->SelLength();
    workWide_ = Editor->GetSelTextW();
  } else {
    workWide_ = Editor->GetTextW();
    WorkStart = 0;
    WorkLength = int(workWide_.size());
  }
  WorkText = WideStringToAnsi(workWide_, kWorkCodePage);
  workTextTaken_ = WorkText;
}

void TMainForm::PutWorkText() {
  // Only what the operation changed is written: every other character (also one the work
  // text's code page cannot hold) stays as it was.
  const std::u16string result = WorkTextToWide(workWide_, workTextTaken_, WorkText);
  if (result == workWide_) return;
  if (options_.PreserveStyle && result.size() == workWide_.size()) {
    // Word by word, so that every word keeps its own character formatting.
    ProgressStart(GetLangMessage("StatUpdate"));
    const bool done = WalkWorkTokens(
        WorkTextShape(result), [](int64_t position, int64_t total) { return ProgressStep(position, total); },
        [&](int offset, const std::string& token) {
          const std::u16string piece = result.substr(size_t(offset), token.size());
          if (piece == workWide_.substr(size_t(offset), token.size())) return;
          Editor->SetSelStart(WorkStart + offset);
          Editor->SetSelLength(int(token.size()));
          Editor->SetSelTextW(piece);
        });
    ProgressEnd();
    if (!done) return;  // the pieces written stay
  } else {
    Editor->SetSelStart(WorkStart);
    Editor->SetSelLength(WorkLength);
    Editor->SetSelTextW(result);
  }
  // The written text stays selected, so that the caret ends at its start.
  Editor->SetSelStart(WorkStart);
  Editor->SetSelLength(int(result.size()));
}

void TMainForm::EndOperation(const std::string& historyName) {
  ProgressEnd();
  SetBusy(false);
  // Only a real change is recorded and marks the document: an operation that was stopped, found
  // nothing to do or met an empty editor leaves it as it was.
  const bool changed = Editor->Modified();
  if (changed && !historyName.empty() && (options_.EnableHist || undoOff_)) AddToHistory(historyName);
  undoOff_ = false;
  if (Editor->UndoLimit() == 0) Editor->SetUndoLimit(kDefaultUndoLimit);
  Editor->SetModified(changed ? false : handEdited_);
  if (changed) SetModified(true);
  if (Editor->Visible() && Editor->CanFocus()) Editor->SetFocus();
  Editor->SetSelLength(0);
  Editor->Perform(EM_HIDESELECTION, 0, 0);
}

void TMainForm::RunOperation(const std::string& caption, bool disableUndo, const std::string& historyName,
                             const std::function<void()>& body, bool needsText) {
  if (busy_) return;  // one operation at a time
  try {
    BeginOperation(caption, disableUndo, needsText);
    body();
  } catch (...) {
    EndOperation(historyName);
    throw;
  }
  EndOperation(historyName);
}

bool TMainForm::OperationProgress(TObject*, int Percent) { return ProgressSetPercent(Percent); }

void TMainForm::EditorLoadProgress(TObject* Sender, int Pos, int Size) {
  if (Size == 0) return;
  if (OperationProgress(this, PercentOf(Pos, Size))) InterruptRichEditStreaming();
}

void TMainForm::BtnStopClick(TObject*) {
  if (MessageDlg(GetLangMessage("MainCancelOp"), mtConfirmation, mbYesNo) == mrYes) ProgressCancel();
}

void TMainForm::SpellerMsg(TObject*, int MsgId, std::string& Text) {
  Text = GetLangMessage("SpellerMsg" + std::to_string(MsgId));
}

void TMainForm::EndSpellCheck(TObject*) { MessageDlg(GetLangMessage("EndSpellCheck"), mtInformation, mbOK); }

void TMainForm::ConvFwdButtonClick(TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  const int tag = component ? component->Tag() : 0;
  int source = 0, target = 0;
  if (dynamic_cast<TMenuItem*>(Sender)) {
    if (tag < 10)
      source = tag;
    else
      target = tag - 10;
  } else {
    source = tag == 0 ? Enc1->ItemIndex() : Enc2->ItemIndex();
    target = tag == 0 ? Enc2->ItemIndex() : Enc1->ItemIndex();
  }
  RecodeCommand(source, target);
}

void TMainForm::RecodeCommand(int source, int target) {
  RunOperation(GetLangMessage("StatEncode"), false, RecodeHistoryName(source, target), [&] {
    GetWorkText();
    // The same column twice changes nothing: the text (and its formatting) stays as it is.
    if (source != target && RecodeWorkText(source, target)) PutWorkText();
  });
}

bool TMainForm::RecodeWorkText(int source, int target) {
  if (source == target) return true;
  ProgressSetCaption(GetLangMessage("StatEncode"));
  return RecodeCyrillicText(WorkText, source, target,
                            [](int64_t position, int64_t total) { return ProgressStep(position, total); });
}
