// The main window's commands that show a tool window and apply it to the editor's text.
#include "platform/gui/application.h"
#include "shell/main_form.h"
#include "shell/speed_form.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"
#include "tools/mail_form.h"

void TMainForm::ConvCodeToCharExecute(TObject*) {
  if (busy_ || !MailForm) return;
  // "Options..." shows the processing options without the style choice (the decoder writes
  // plain text).
  MailForm->OnOptions = [](TObject*) {
    if (!SpeedForm) return;
    SpeedForm->CBPreserveStyle->SetEnabled(false);
    SpeedForm->ShowModal();
    SpeedForm->CBPreserveStyle->SetEnabled(true);
  };
  if (MailForm->ShowModal() != mrOk) return;
  const bool whole = Editor->SelLength() == 0;
  const int start = whole ? 0 : Editor->SelStart();
  const std::u16string text = whole ? Editor->GetTextW() : Editor->GetSelTextW();
  std::u16string decoded;
  if (!MailForm->Execute(text, decoded) || decoded == text) return;
  // One replacement: one undo step takes the whole decoding back.
  if (whole) Editor->SelectAll();
  Editor->SetSelTextW(decoded);
  Editor->SetSelStart(start);
  Editor->SetSelLength(0);
  Editor->SetModified(false);
  SetModified(true);
}
