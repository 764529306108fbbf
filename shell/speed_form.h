// TSpeedForm: the processing-options window ("Processing Options"): step-by-step undo, history
// of original texts, preserved text styles and the size above which texts are not kept in the
// history. Its form storage keeps the four values in section "Speed" of the product key; the
// operation framework reads them through Options().
#pragma once

#include "platform/gui/form.h"
#include "shell/operation.h"

class TButton;
class TCheckBox;
class TExSpinEdit;
class TFormStorage;

class TSpeedForm : public TForm {
  QM_CLASS(TSpeedForm, TForm)
public:
  explicit TSpeedForm(TComponent* owner);
  ~TSpeedForm() override;

  TCheckBox *CBEnableUndo = nullptr, *CBEnableHist = nullptr, *CBPreserveStyle = nullptr;
  TExSpinEdit* HistIgnoreSize = nullptr;  // "Ignore files over" ... "KB", 10 to 1000, step 10
  TButton* BtnClose = nullptr;
  TFormStorage* FormStorage1 = nullptr;

  // The options as the window shows them.
  TProcessingOptions Options() const;

private:
  void FormCreate(TObject* Sender);
};

extern TSpeedForm* SpeedForm;

// Shows the program's processing-options window modally (when there is one), with "Preserve text
// styles" enabled or not (tools that write plain text disable it); enables it again after.
void ShowProcessingOptions(bool preserveStyles);
