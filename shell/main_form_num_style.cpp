// The main window's buttons that drop down the paragraph-style window.
#include "platform/gui/application.h"
#include "platform/gui/control.h"
#include "shell/main_form.h"
#include "shell/num_style_form.h"

namespace {

constexpr int kDropBelow = 27;  // pixels from the button's top to the window's

}  // namespace

void TMainForm::BindNumStyle() {
  Handler("BtnNumStyleClick", &TMainForm::BtnNumStyleClick);
  Handler("UnderStyleBtnClick", &TMainForm::UnderStyleBtnClick);
}

void TMainForm::DropNumStyle(TObject* button, int panel) {
  auto* control = dynamic_cast<TControl*>(button);
  if (!control || !FormattingAllowed()) return;
  Application->EnsureForm(NumStyleForm);
  const TPoint corner = control->ClientToScreen({0, 0});
  NumStyleForm->SetLeft(corner.X);
  NumStyleForm->SetTop(corner.Y + kDropBelow);
  NumStyleForm->Editor = Editor;
  NumStyleForm->ShowPanel(panel);
}

void TMainForm::BtnNumStyleClick(TObject* Sender) {
  auto* control = dynamic_cast<TControl*>(Sender);
  DropNumStyle(Sender, control && control->Tag() == 1 ? 0 : 1);
}

void TMainForm::UnderStyleBtnClick(TObject* Sender) { DropNumStyle(Sender, 2); }
