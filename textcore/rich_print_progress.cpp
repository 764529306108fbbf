#include "textcore/rich_print_progress.h"

#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TRichPrntProgDlg, TForm, [](TClassBuilder<TRichPrntProgDlg>&) {})

TRichPrntProgDlg::TRichPrntProgDlg(TComponent* owner) : TForm(owner) {
  Field("lblStatus", lblStatus);
  Field("lblTitle", lblTitle);
  Field("lblPageNumber", lblPageNumber);
  ReadForm();
}
