// TGotoLineForm: the "Go to" dialog of the main window: a line or character number.
#pragma once

#include "platform/gui/form.h"

class TExSpinEdit;
class TRadioButton;

class TGotoLineForm : public TForm {
  QM_CLASS(TGotoLineForm, TForm)
public:
  explicit TGotoLineForm(TComponent* owner);
  ~TGotoLineForm() override;
  TExSpinEdit* SpinLineNum = nullptr;  // 1 to 2147483647
  TRadioButton *RBLine = nullptr, *RBChar = nullptr;
  // The number less one (0-based), clamped to the field's range.
  int Target() const;
  bool ByLine() const;

private:
  void FormShow(TObject* Sender);
};

// The program's one "Go to" window, made at start-up.
extern TGotoLineForm* GotoLineForm;
