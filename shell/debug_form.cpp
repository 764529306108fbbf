#include "shell/debug_form.h"

#include "components/adv_splitter.h"
#include "platform/gui/grids.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TDebugForm, TForm, [](TClassBuilder<TDebugForm>&) {})

TDebugForm::TDebugForm(TComponent* owner) : TForm(owner) {
  Handler("BtnContinueClick", &TDebugForm::BtnContinueClick);
  Field("Splitter", Splitter);
  Field("List", List);
  Field("Grid", Grid);
  Field("Status", Status);
  Field("BtnContinue", BtnContinue);
  ReadForm();
}

void TDebugForm::BtnContinueClick(TObject*) { continue_ = true; }
