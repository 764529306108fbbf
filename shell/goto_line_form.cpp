#include "shell/goto_line_form.h"

#include <algorithm>

#include "components/spin_edit.h"
#include "platform/gui/std_controls.h"

TGotoLineForm* GotoLineForm = nullptr;

QM_CLASS_INFO(TGotoLineForm, TForm, [](TClassBuilder<TGotoLineForm>&) {})

TGotoLineForm::TGotoLineForm(TComponent* owner) : TForm(owner) {
  Handler("FormShow", &TGotoLineForm::FormShow);
  Field("SpinLineNum", SpinLineNum);
  Field("RBLine", RBLine);
  Field("RBChar", RBChar);
  ReadForm();
}

TGotoLineForm::~TGotoLineForm() {
  if (GotoLineForm == this) GotoLineForm = nullptr;
}

void TGotoLineForm::FormShow(TObject*) {
  if (SpinLineNum->CanFocus()) SpinLineNum->SetFocus();
}

int TGotoLineForm::Target() const {
  return int(std::clamp(SpinLineNum->Value(), 1.0, 2147483647.0) - 1);
}

bool TGotoLineForm::ByLine() const { return !RBChar->Checked(); }
