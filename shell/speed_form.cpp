#include "shell/speed_form.h"

#include <algorithm>

#include "components/form_placement.h"
#include "platform/gui/application.h"
#include "components/spin_edit.h"
#include "platform/gui/std_controls.h"

TSpeedForm* SpeedForm = nullptr;

QM_CLASS_INFO(TSpeedForm, TForm, [](TClassBuilder<TSpeedForm>&) {})

TSpeedForm::TSpeedForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TSpeedForm::FormCreate);
  Field("CBEnableUndo", CBEnableUndo);
  Field("CBEnableHist", CBEnableHist);
  Field("CBPreserveStyle", CBPreserveStyle);
  Field("HistIgnoreSize", HistIgnoreSize);
  Field("BtnClose", BtnClose);
  Field("FormStorage1", FormStorage1);
  ReadForm();
}

TSpeedForm::~TSpeedForm() {
  if (SpeedForm == this) SpeedForm = nullptr;
}

void TSpeedForm::FormCreate(TObject*) {
  try {
    FormStorage1->RestoreFormPlacement();
  } catch (const std::exception&) {
    // An unreadable settings store: the designed values.
  }
}

TProcessingOptions TSpeedForm::Options() const {
  TProcessingOptions options;
  options.EnableUndo = CBEnableUndo->Checked();
  options.EnableHist = CBEnableHist->Checked();
  options.PreserveStyle = CBPreserveStyle->Checked();
  options.HistIgnoreSize = std::clamp(HistIgnoreSize->AsInteger(), 10, 1000);
  return options;
}

void ShowProcessingOptions(bool preserveStyles) {
  Application->EnsureForm(SpeedForm);
  SpeedForm->CBPreserveStyle->SetEnabled(preserveStyles);
  SpeedForm->ShowModal();
  SpeedForm->CBPreserveStyle->SetEnabled(true);
}
