// TAutoForm: the status dialog of the automatic search ("Auto-Decode Cyrillic"): shows a chain
// found with the decoded sample (OK 6 accepts, Continue 5 searches on) or that nothing was found.
#pragma once

#include <string>
#include <string_view>

#include "platform/gui/form.h"

class TButton;
class TGroupBox;
class TLabel;
class TRichEditW;

class TAutoForm : public TForm {
  QM_CLASS(TAutoForm, TForm)
public:
  explicit TAutoForm(TComponent* owner);
  ~TAutoForm() override;

  TButton *BtnStop = nullptr, *BtnContinue = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TRichEditW* SampleText = nullptr;  // the decoded sample, read-only

  // A variant: `message` (code page 1251) with the decoded sample shown; Continue enabled.
  void ShowVariant(const std::string& message, std::string_view sample);
  // Nothing found: `message` without a sample; Continue enabled only when `canContinue`.
  void ShowFail(const std::string& message, bool canContinue);
};

extern TAutoForm* AutoForm;
