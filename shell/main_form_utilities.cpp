// The main window's spelling commands and the utilities it shows beside itself.
#include "proofing/spell_editor_adapter.h"
#include "proofing/spell_windows.h"
#include "shell/main_form.h"
#include "shell/single_instance_window.h"
#include "textcore/rich_edit.h"
#include "tools/calc_form.h"
#include "tools/char_map_form.h"

void TMainForm::ConvGrammarCheckExecute(TObject*) {
  if (busy_ || !SpellWindows) return;
  TRichEditSpellEditor editor(*Editor);
  SpellWindows->CheckDocument(editor);
}

void TMainForm::Configure1Click(TObject*) {
  if (SpellWindows) SpellWindows->ShowOptions();
}

void TMainForm::AddSpellWordsClick(TObject*) {
  if (SpellWindows) SpellWindows->AddWords();
}

void TMainForm::ToolsCalcExecute(TObject*) {
  if (CalcForm) CalcForm->Show();
}

void TMainForm::ToolsCharMapExecute(TObject*) {
  if (!FormGenChar) return;
  FormGenChar->Editor = Editor;
  FormGenChar->Show();
}

void TMainForm::ToolsGenCharExecute(TObject*) {
  if (VirtualKbd) VirtualKbd->Show();
}
