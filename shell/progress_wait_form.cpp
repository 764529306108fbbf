#include "shell/progress_wait_form.h"

#include "components/form_placement.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"

TWaitForm* WaitForm = nullptr;

QM_CLASS_INFO(TWaitForm, TForm, [](TClassBuilder<TWaitForm>&) {})

TWaitForm::TWaitForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TWaitForm::FormCreate);
  Handler("Timer1Timer", &TWaitForm::Timer1Timer);
  Field("Label1", Label1);
  Field("BtnStop", BtnStop);
  Field("Timer1", Timer1);
  Field("FormStorage1", FormStorage1);
  ReadForm();
}

TWaitForm::~TWaitForm() {
  if (WaitForm == this) WaitForm = nullptr;
}

void TWaitForm::FormCreate(TObject*) { countdown_ = 0; }

void TWaitForm::ShowDelayed(int delay, bool showStop) {
  countdown_ = delay + 1;
  BtnStop->SetVisible(showStop);
  Timer1->SetEnabled(true);  // ticks from now on
}

void TWaitForm::HideWait() {
  Timer1->SetEnabled(false);
  Hide();
  countdown_ = 0;
}

void TWaitForm::Timer1Timer(TObject*) {
  if (countdown_ > 1) {
    --countdown_;
    return;
  }
  // Nothing is pending any more: the timer rests until the next ShowDelayed.
  Timer1->SetEnabled(false);
  if (countdown_ == 1 && !Visible()) Show();
}
