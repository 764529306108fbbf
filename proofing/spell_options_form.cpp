#include "proofing/spell_options_form.h"

#include "components/form_placement.h"
#include "components/spin_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TSCOptions, TForm, [](TClassBuilder<TSCOptions>&) {})

TSCOptions::TSCOptions(TComponent* Owner) : TForm(Owner) {
  Field("CBLang", CBLang);
  Field("CBSusp", CBSusp);
  Field("CBMiss", CBMiss);
  Field("CBExtra", CBExtra);
  Field("CBCaps", CBCaps);
  Field("CBRep", CBRep);
  Field("CBAddr", CBAddr);
  Field("CBFile", CBFile);
  Field("CBTags", CBTags);
  Field("CBRepValid", CBRepValid);
  Field("CBRepSave", CBRepSave);
  Field("CBRemoveVerified", CBRemoveVerified);
  Field("CBListColors", CBListColors);
  Field("CBTextColors", CBTextColors);
  Field("SpinRep", SpinRep);
  Field("BtnOK", BtnOK);
  Field("BtnCancel", BtnCancel);
  Field("BtnDictionaries", BtnDictionaries);
  Field("FormStorage1", FormStorage1);
  Handler("FormShow", &TSCOptions::FormShow);
  Handler("FormCloseQuery", &TSCOptions::FormCloseQuery);
  Handler("BtnDictionariesClick", &TSCOptions::BtnDictionariesClick);
  ReadForm();
  FormStorage1->SetIniSection(Application->Title() + " Options");
  FormStorage1->RestoreFormPlacement();
}

std::vector<TCheckBox*> TSCOptions::CheckBoxes() const {
  return {CBLang, CBSusp,     CBMiss,    CBExtra,          CBCaps,       CBRep,       CBAddr,
          CBFile, CBTags,     CBRepValid, CBRepSave,       CBRemoveVerified, CBListColors, CBTextColors};
}

void TSCOptions::FormShow(TObject*) {
  FShownChecks.clear();
  for (TCheckBox* box : CheckBoxes()) FShownChecks.push_back(box->Checked());
  FShownRepeats = SpinRep->Value();
}

void TSCOptions::FormCloseQuery(TObject*, bool&) {
  // The storage saves the options as the window closes: changes not confirmed go first.
  if (ModalResult() == mrOk) return;
  const std::vector<TCheckBox*> boxes = CheckBoxes();
  for (size_t i = 0; i < boxes.size() && i < FShownChecks.size(); ++i) boxes[i]->SetChecked(FShownChecks[i]);
  SpinRep->SetValue(FShownRepeats);
}

TSpellOptions TSCOptions::SpellOptions() const {
  TSpellOptions options;
  options.AutoLanguage = CBLang->Checked();
  options.Suspect = CBSusp->Checked();
  options.MissingSpaces = CBMiss->Checked();
  options.ExtraSpaces = CBExtra->Checked();
  options.Capitals = CBCaps->Checked();
  options.Repeats = CBRep->Checked();
  options.Urls = CBAddr->Checked();
  options.FileNames = CBFile->Checked();
  options.Tags = CBTags->Checked();
  return options;
}

void TSCOptions::BtnDictionariesClick(TObject*) {
  if (OnDictionaries) OnDictionaries(this);
}
