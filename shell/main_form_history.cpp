// The history of changes: entries stored by operations and "Add to History", the history list
// on its toolbar, the memo of the history pane beside the editor, the preview line, and the
// commands that load, save and clear entries.
#include <algorithm>

#include "components/flat_dock.h"
#include "components/adv_splitter.h"
#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/wide_edit.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "textcore/rich_edit.h"

void TMainForm::BindHistory() {
  Handler("ConvSendToHistoryExecute", &TMainForm::ConvSendToHistoryExecute);
  Handler("RevListChange", &TMainForm::RevListChange);
  Handler("ConvLoadRevExecute", &TMainForm::ConvLoadRevExecute);
  Handler("ConvSaveRevExecute", &TMainForm::ConvSaveRevExecute);
  Handler("ClearAll1Click", &TMainForm::ClearAll1Click);
  Handler("ConvLoadRevUpdate", &TMainForm::ConvLoadRevUpdate);
  Handler("HistoryPane1Click", &TMainForm::HistoryPane1Click);
  Field("RevList", RevList);
  Field("RevMemo", RevMemo);
  Field("EditPreview", EditPreview);
  Field("OriginalPreview", OriginalPreview);
  Field("HistPanes", HistPanes);
  Field("HistoryMain", HistoryMain);
  Field("HistoryPane1", HistoryPane1);
  Field("ClearAll1", ClearAll1);
  Field("ConvLoadRev", ConvLoadRev);
  Field("ConvSaveRev", ConvSaveRev);
  Field("RevSaveDialog", RevSaveDialog);
}

std::vector<std::string> TMainForm::HistoryNames() const {
  std::vector<std::string> names;
  for (int i = history_.Count() - 1; i >= 0; --i) names.push_back(history_.Entry(i).Name);
  return names;
}

void TMainForm::AddToHistory(const std::string& name) {
  if (int(Editor->GetTextW().size()) > ProcessingOptions().HistIgnoreSize * 1000) return;
  StoreHistory(name);
}

void TMainForm::ConvSendToHistoryExecute(TObject*) {
  StoreHistory(GetLangMessage("HistOrigText"));
}

void TMainForm::StoreHistory(const std::string& name) {
  // The caption keeps the document's file: the entry is a copy, not a new document.
  history_.Add(name, Editor->GetTextW());
  historyPreview_.Entry = -1;  // the entries moved down
  RevList->Items()->Insert(0, name);
  while (RevList->Items()->Count() > history_.Count()) RevList->Items()->Delete(RevList->Items()->Count() - 1);
  // After an addition the entry before the newest is shown (the text before the change).
  RevList->SetItemIndex(history_.Count() >= 2 ? 1 : 0);
  ShowChosenEntry();
}

void TMainForm::ClearHistory() {
  EditPreview->SetWideText(u"");
  history_.Clear();
  historyPreview_.Entry = -1;
  RevList->Items()->Clear();
  RevList->SetItemIndex(-1);
  RevMemo->SetTextW(u"");
}

void TMainForm::ShowChosenEntry() {
  const int chosen = RevList->ItemIndex();
  RevMemo->SetTextW(chosen >= 0 && chosen < history_.Count() ? history_.Entry(chosen).Text : u"");
}

void TMainForm::RevListChange(TObject*) {
  ShowChosenEntry();
  UpdateStatusBar();
}

void TMainForm::ConvLoadRevExecute(TObject*) {
  const int chosen = RevList->ItemIndex();
  if (chosen < 0 || chosen >= history_.Count()) return;
  if (MessageDlg(GetLangMessage("MainLoadVer"), mtConfirmation, mbYesNoCancel) != mrYes) return;
  // A copy: the new document empties the history.
  const std::u16string text = history_.Entry(chosen).Text;
  const int before = newDocuments_;
  FileNew(this);
  if (newDocuments_ == before) return;  // the user kept the present document
  Editor->SetTextW(text);
  // The loaded text is not in any file yet: closing asks about it.
  Editor->SetModified(true);
  SetModified(true);
  UpdateStatusBar();
}

void TMainForm::ConvSaveRevExecute(TObject*) {
  const int chosen = RevList->ItemIndex();
  if (chosen < 0 || chosen >= history_.Count() || !RevSaveDialog->Execute()) return;
  // Code page 1251 like the documents' plain text; a text it cannot hold goes as UTF-8.
  const std::u16string lines = HistoryLinesText(history_.Entry(chosen).Text);
  bool lossy = false;
  std::string bytes = WideToAnsi(lines, 1251, &lossy);
  if (lossy) bytes = "\xEF\xBB\xBF" + WideToUtf8(lines);
  WriteFileAtomic(RevSaveDialog->FileName(), bytes);
}

void TMainForm::ClearAll1Click(TObject*) {
  if (MessageDlg(GetLangMessage("MainEraseHistory"), mtConfirmation, mbYesNoCancel) == mrYes) {
    ClearHistory();
    UpdateStatusBar();
  }
}

void TMainForm::ConvLoadRevUpdate(TObject*) {
  const bool chosen = RevList->ItemIndex() >= 0 && RevList->ItemIndex() < history_.Count();
  ConvLoadRev->SetEnabled(chosen);
  ConvSaveRev->SetEnabled(chosen);
  ClearAll1->SetEnabled(chosen);
}

void TMainForm::HistoryPane1Click(TObject* Sender) {
  if (IniViewActive()) return;  // the tree sits beside the editor then
  if (Sender == HistoryPane1) HistoryPane1->SetChecked(!HistoryPane1->Checked());
  const bool shown = HistoryPane1->Checked();
  // The editor keeps the keyboard when it moves into its pane or back.
  const bool typing = ActiveControl() == Editor;
  HistoryMain->SetVisible(shown);
  if (shown) {
    HistPanes->SetVisible(true);
    // The first time in a session the panes share the window, unless a kept place is sensible.
    if (!historyPanesPlaced_ && HistPanes->Position() < HistPanes->ClientLength() / 4) HistPanes->CenterPanes();
    historyPanesPlaced_ = true;
    // The editor takes the pane the history memo is not in.
    TAdvPane* pane = RevMemo->Parent() == HistPanes->Pane1() ? HistPanes->Pane2() : HistPanes->Pane1();
    Editor->SetParent(pane);
  } else {
    Editor->SetParent(this);
    HistPanes->SetVisible(false);
  }
  if (typing && Editor->CanFocus()) Editor->SetFocus();
  UpdateStatusBar();
}

void TMainForm::UpdateHistoryPreview(int selStart, int line) {
  const int chosen = RevList->ItemIndex();
  if (!TBHistory->Visible() || chosen < 0 || chosen >= history_.Count()) {
    EditPreview->SetWideText(u"");
    return;
  }
  // Runs at every keystroke: the entry's lines and line feeds are made once per chosen entry.
  if (historyPreview_.Entry != chosen) {
    historyPreview_.Entry = chosen;
    historyPreview_.Lines = HistoryLinesText(history_.Entry(chosen).Text);
    historyPreview_.Feeds.clear();
    for (size_t i = 0; i < historyPreview_.Lines.size(); ++i)
      if (historyPreview_.Lines[i] == u'\n') historyPreview_.Feeds.push_back(int(i));
  }
  const std::u16string& lines = historyPreview_.Lines;
  const std::vector<int>& feedAt = historyPreview_.Feeds;
  const int p = HistoryPreviewPosition(int(lines.size()), int(feedAt.size()), Editor->Control().TextLength(), selStart, line);
  EditPreview->SetWideText(HistoryPreviewLine(lines, p));
  if (HistPanes->Visible()) {
    // The memo holds the entry without line feeds: the same place there.
    const int feeds = int(std::lower_bound(feedAt.begin(), feedAt.end(), std::max(0, p)) - feedAt.begin());
    RevMemo->SetSelStart(std::max(0, p - feeds));
    RevMemo->SetSelLength(0);
  }
}
