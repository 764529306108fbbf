#include "shell/progress_form.h"

#include "components/form_placement.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/std_controls.h"

TProgressForm* ProgressForm = nullptr;

QM_CLASS_INFO(TProgressForm, TForm, [](TClassBuilder<TProgressForm>&) {})

TProgressForm::TProgressForm(TComponent* owner) : TForm(owner) {
  Handler("SpeedButton1Click", &TProgressForm::SpeedButton1Click);
  Field("ProgressBar1", ProgressBar1);
  Field("LabelOp", LabelOp);
  Field("SpeedButton1", SpeedButton1);
  Field("FormStorage1", FormStorage1);
  ReadForm();
  AttachProgressView(this);
}

TProgressForm::~TProgressForm() {
  DetachProgressView(this);
  if (ProgressForm == this) ProgressForm = nullptr;
}

void TProgressForm::CloseForm() { Close(); }

void TProgressForm::SpeedButton1Click(TObject*) { ProgressCancel(); }

void TProgressForm::ShowGauge(int percent) { ProgressBar1->SetPosition(percent); }

bool RunInProgressWindow(const std::string& caption, const std::function<void()>& step) {
  struct TShown {
    TShown() {
      if (ProgressForm) ProgressForm->ShowInputModal();
    }
    ~TShown() {
      ProgressEnd();
      if (ProgressForm) ProgressForm->CloseForm();
    }
  } shown;
  ProgressStart(caption);
  step();
  return !ProgressStopRequested();
}
