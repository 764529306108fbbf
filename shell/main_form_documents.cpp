// The main window and its document: the File commands, the recent and favourite files, files
// dropped on the window, the auto-save timer and the recovery copies offered at start-up.
// Opening and saving themselves are TOpenSave's (OS); the window keeps its caption, its
// document state and the recent list in step with them.
#include "components/form_placement.h"
#include "components/mru_manager.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/drop_files.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/preferences.h"
#include "shell/program_start.h"
#include "textcore/rich_edit.h"

void TMainForm::BindDocuments() {
  Handler("FileNew", &TMainForm::FileNew);
  Handler("FileOpen", &TMainForm::FileOpen);
  Handler("FileSave", &TMainForm::FileSave);
  Handler("FileSaveAs", &TMainForm::FileSaveAs);
  Handler("AddCurrent1Click", &TMainForm::AddCurrent1Click);
  Handler("MRUManagerClick", &TMainForm::MRUManagerClick);
  Handler("Timer1Timer", &TMainForm::Timer1Timer);
  Handler("OSNewDoc", &TMainForm::OSNewDoc);
  Field("ActionList1", ActionList1);
  Field("FileNewCmd", FileNewCmd);
  Field("FileOpenCmd", FileOpenCmd);
  Field("FileSaveCmd", FileSaveCmd);
  Field("FileSaveAsCmd", FileSaveAsCmd);
  Field("RecentFiles1", RecentFiles1);
  Field("FavoriteFiles1", FavoriteFiles1);
  Field("AddCurrent1", AddCurrent1);
  Field("FormStorage1", FormStorage1);
  Field("MRUManager1", MRUManager1);
  Field("MRUManager2", MRUManager2);
  Field("Timer1", Timer1);
}

void TMainForm::InitDocuments() {
  // The window's place and the recent lists come back now, before the start document joins
  // the list; the storage saves them all when the window closes.
  try {
    FormStorage1->RestoreFormPlacement();
  } catch (const std::exception&) {
    // An unreadable settings store: the designed place and empty lists.
  }
  DragAcceptFiles(this, [this](const std::vector<std::string>& files) { DropFiles(files); });
}

void TMainForm::DoneDocuments() {
  Timer1->SetEnabled(false);
  DragAcceptFiles(this, nullptr);
}

void TMainForm::OpenStartDocument() {
  // What the start-up settings did to the editor is no edit of the document.
  ResetDocument();
  const std::vector<std::string>& params = ProgramParams();
  const std::string unnamedCopy = TOpenSave::AutoSaveName();
  if (!params.empty() && !params[0].empty()) {
    // The file's own recovery copy is offered while it loads; a name that is no file (missing,
    // or a folder) is said to be not found.
    OS->OpenFile(ExpandFileName(params[0]));
  } else if (FileExists(unnamedCopy)) {
    // A new document's recovery copy: Yes takes it back as a new document, No discards it,
    // Cancel keeps it for the next start.
    const int answer = MessageDlg(TOpenSave::GetMsg("MainOpenRecover"), mtConfirmation, mbYesNoCancel);
    if (answer == mrYes && OS->OpenFile(unnamedCopy) > 0) {
      OS->SetFileName("");
      SetCaption("");
      Editor->SetModified(true);
      SetModified(true);
    } else if (answer == mrNo) {
      DeleteFile(unnamedCopy);
    }
  }
  recoveredAtStart_ = DocModified();
  Timer1->SetInterval(AutoSaveInterval());
  Timer1->SetEnabled(true);
}

// --- Commands ------------------------------------------------------------------------------------

// The command rule keeps every document command away while an operation works on the text.

void TMainForm::FileNew(TObject*) { OS->New(); }

void TMainForm::FileOpen(TObject*) { OS->Open(); }

void TMainForm::FileSave(TObject*) {
  if (DocModified()) Editor->SetModified(true);
  OS->Save();
}

void TMainForm::FileSaveAs(TObject*) {
  if (DocModified()) Editor->SetModified(true);
  if (OS->SaveAs()) MRUManager1->Add(OS->FileName(), -1);
}

void TMainForm::AddCurrent1Click(TObject*) {
  if (!OS->FileName().empty()) MRUManager2->Add(OS->FileName(), OS->FormatNumber());
}

void TMainForm::MRUManagerClick(TObject*, const std::string& RecentName, const std::string&, int UserData) {
  // The document state is OS's business here: a cancelled open keeps the document as it was,
  // and a recovered copy stays modified.
  OS->OpenRecent(RecentName, UserData);
}

void TMainForm::DropFiles(const std::vector<std::string>& Files) {
  if (!Files.empty() && !busy_) OS->OpenFile(Files.front());
}

void TMainForm::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  if (PrefForm && PrefForm->CBAutoSave->Checked() && DocModified() && !busy_) OS->AutoSave();
  Timer1->SetInterval(AutoSaveInterval());
  Timer1->SetEnabled(true);
}

// --- Reactions to OS -----------------------------------------------------------------------------

void TMainForm::DocumentOpened() {
  // A new document's recovery copy is not a file of the user's.
  if (OS->FileName() != TOpenSave::AutoSaveName()) MRUManager1->Add(OS->FileName(), OS->FormatNumber());
}

void TMainForm::OSNewDoc(TObject*) {
  SetCaption("");
  ShowViewState();
  ResetDocument();
  ClearHistory();
  CloseSpellResults();
  ClearIniTree();
  ClearBookmarks();
  ShowDocumentEncoding();
  ++newDocuments_;
}
