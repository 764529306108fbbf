// TRichPrntProgDlg: the rich text printer's progress window (status, job title, page number).
#pragma once

#include "platform/gui/form.h"

class TLabel;

class TRichPrntProgDlg : public TForm {
  QM_CLASS(TRichPrntProgDlg, TForm)
public:
  explicit TRichPrntProgDlg(TComponent* owner);
  TLabel *lblStatus = nullptr, *lblTitle = nullptr, *lblPageNumber = nullptr;
};
