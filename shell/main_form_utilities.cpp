// The main window's spelling commands and the utility windows it shows: calculator, character
// map, keyboard, special symbols, clipboard window and history manager.
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "shell/single_instance_window.h"
#include "textcore/rich_edit.h"
#include "tools/calc_form.h"
#include "tools/char_map_form.h"
#include "tools/collect_form.h"
#include "tools/keyboard.h"
#include "tools/rev_form.h"
#include "tools/special_char_form.h"

void TMainForm::ConvGrammarCheckExecute(TObject*) {
  if (!SpellWindows) return;
  SpellWindows->CheckDocument(*Editor);
}

void TMainForm::Configure1Click(TObject*) {
  if (SpellWindows) SpellWindows->ShowOptions();
}

void TMainForm::AddSpellWordsClick(TObject*) {
  if (SpellWindows) SpellWindows->AddWords();
}

void TMainForm::ToolsCalcExecute(TObject*) {
  Application->EnsureForm(CalcForm)->Show();
}

void TMainForm::ToolsCharMapExecute(TObject*) {
  Application->EnsureForm(FormGenChar);
  BindInsertingWindows();
  FormGenChar->Show();
}

void TMainForm::ToolsGenCharExecute(TObject*) {
  Application->EnsureForm(VirtualKbd);
  BindInsertingWindows();
  VirtualKbd->Show();
}

void TMainForm::InsertSymbol1Click(TObject*) { SymbolsWindow().Show(); }

TSpecialCharForm& TMainForm::SymbolsWindow() {
  Application->EnsureForm(SpecialCharForm);
  BindInsertingWindows();
  return *SpecialCharForm;
}

void TMainForm::BindInsertingWindows() {
  // The tool windows that write into the text let go of the editor while an operation runs
  // (captured clipboard text waits): the operation's work text must not change under it.
  TRichEditW* target = busy_ ? nullptr : Editor;
  if (FormGenChar) {
    FormGenChar->Editor = target;
    FormGenChar->OnAddSymbol = [this](int code, const std::string& fontName) {
      TSpecialCharForm& symbols = SymbolsWindow();
      symbols.AddSymbol(code, fontName);
      symbols.Show();
    };
  }
  if (SpecialCharForm) {
    SpecialCharForm->Editor = target;
    SpecialCharForm->OnShowCharMap = [this](TObject* sender) { ToolsCharMapExecute(sender); };
  }
  if (CollectForm) CollectForm->Editor = target;
  if (VirtualKbd) VirtualKbd->Keyboard1->SetLinkedControl(target);
}

void TMainForm::ClipboardPane1Click(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(FindComponent("ClipboardPane1"));
  if (!item) return;
  if (Sender == item) item->SetChecked(!item->Checked());
  if (!CollectForm && !item->Checked()) return;  // a window never made has nothing to hide
  Application->EnsureForm(CollectForm);
  BindInsertingWindows();
  // Hiding the window by its own close button takes the check mark away.
  CollectForm->OnHidden = [item](TObject*) { item->SetChecked(false); };
  CollectForm->SetVisible(item->Checked());
}

void TMainForm::EditAutoPasteExecute(TObject*) {
  Application->EnsureForm(CollectForm);
  BindInsertingWindows();
  CollectForm->BtnCollect->SetDown(!CollectForm->BtnCollect->Down());
}

void TMainForm::EditMenuClick(TObject*) {
  if (auto* item = dynamic_cast<TMenuItem*>(FindComponent("Autopaste1")))
    item->SetChecked(CollectForm && CollectForm->BtnCollect->Down());
}

void TMainForm::ConvRevisionsExecute(TObject*) {
  Application->EnsureForm(RevForm);
  std::vector<TRevEntry> entries;
  for (int i = 0; i < history_.Count(); ++i) {
    const THistoryEntry& entry = history_.Entry(i);
    entries.push_back({entry.Name, entry.Text});
  }
  RevForm->SetEntries(std::move(entries));
  const int result = ShowModalDialog(*RevForm);
  const int chosen = RevForm->Selected();
  if (result == mrAbort) {
    ClearAll1Click(nullptr);
  } else if ((result == mrOk || result == mrYes) && chosen >= 0) {
    RevList->SetItemIndex(chosen);
    if (result == mrOk) ConvLoadRevExecute(nullptr);
    else RevListChange(nullptr);
  }
}
