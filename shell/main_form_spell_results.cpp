// The main window's way to the results of the automatic spelling check: the Recent Results
// command, offered only while there are results, and their closing with the document.
#include "platform/gui/menus.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "shell/main_form.h"

void TMainForm::BindSpellResults() {
  Handler("ShowSpellListClick", &TMainForm::ShowSpellListClick);
  Handler("CheckGrammar1Click", &TMainForm::CheckGrammar1Click);
}

void TMainForm::CheckGrammar1Click(TObject*) {
  if (auto* item = dynamic_cast<TMenuItem*>(FindComponent("ShowSpellList")))
    item->SetEnabled(SpellingInitialized() && SpellChecker().HasResults());
}

void TMainForm::ShowSpellListClick(TObject*) {
  if (SpellingInitialized()) SpellChecker().ShowResults();
}

void TMainForm::CloseSpellResults() {
  if (SpellingInitialized()) SpellChecker().CloseResults();
}
