// The Edit commands of the main window: undo and redo, the clipboard, select all and delete,
// enabled after the editor's state and the command rule, and Go to.
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "shell/goto_line_form.h"
#include "shell/main_form.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"

void TMainForm::BindEdit() {
  Handler("EditCommandExecute", &TMainForm::EditCommandExecute);
  Handler("EditUndoCmdUpdate", &TMainForm::EditUndoCmdUpdate);
  Handler("GotoLine1Click", &TMainForm::GotoLine1Click);
  Field("EditUndoCmd", EditUndoCmd);
  Field("EditRedoCmd", EditRedoCmd);
  Field("EditCutCmd", EditCutCmd);
  Field("EditCopyCmd", EditCopyCmd);
  Field("EditPasteCmd", EditPasteCmd);
  Field("EditSelectAll", EditSelectAll);
  Field("EditClear1", EditClear1);
}

void TMainForm::EditCommandExecute(TObject* Sender) {
  if (Sender == EditUndoCmd) Editor->Undo();
  else if (Sender == EditRedoCmd) Editor->Redo();
  else if (Sender == EditCutCmd) Editor->CutToClipboard();
  else if (Sender == EditCopyCmd) Editor->CopyToClipboard();
  else if (Sender == EditPasteCmd) Editor->PasteFromClipboard();
  else if (Sender == EditSelectAll) Editor->SelectAll();
  else if (Sender == EditClear1 && Editor->SelLength() > 0) Editor->ClearSelection();
}

void TMainForm::EditUndoCmdUpdate(TObject*) {
  const bool selected = Editor->SelLength() > 0, idle = CommandAllowed(TCommandNeed::Idle, CommandState());
  EditCutCmd->SetEnabled(idle && selected);
  EditCopyCmd->SetEnabled(selected);
  EditClear1->SetEnabled(idle && selected);
  CopyInfo1->SetEnabled(selected);
  EditUndoCmd->SetEnabled(idle && Editor->CanUndo());
  ObjectProperties1->SetEnabled(idle && Editor->Control().SelectionType() == SEL_OBJECT);
  EditRedoCmd->SetEnabled(idle && Editor->CanRedo());
  EditPasteCmd->SetEnabled(idle && Editor->Perform(EM_CANPASTE, 0, 0) != 0);
}

void TMainForm::GotoLine1Click(TObject*) {
  TGotoLineForm* dialog = Application->EnsureForm(GotoLineForm);
  if (dialog->ShowModal() == mrOk) GoTo(*dialog);
}

void TMainForm::GoTo(const TGotoLineForm& dialog) {
  const int n = dialog.Target();
  if (dialog.ByLine()) {
    Editor->SetCaretLine(n);  // the column is kept
  } else {
    Editor->SetSelStart(n);
    Editor->SetSelLength(0);
  }
}
