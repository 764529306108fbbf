#include "tools/collect_form.h"

#include "components/clipboard_viewer.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"

TCollectForm* CollectForm = nullptr;

QM_CLASS_INFO(TCollectForm, TForm, [](TClassBuilder<TCollectForm>&) {})

TCollectForm::TCollectForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TCollectForm::FormCreate);
  Handler("FormHide", &TCollectForm::FormHide);
  Handler("ClipboardViewer1Change", &TCollectForm::ClipboardViewer1Change);
  Field("BtnCollect", BtnCollect);
  Field("ClipboardViewer1", ClipboardViewer1);
  ReadForm();
}

TCollectForm::~TCollectForm() {
  if (CollectForm == this) CollectForm = nullptr;
}

void TCollectForm::FormCreate(TObject*) { CollectForm = this; }

void TCollectForm::FormHide(TObject*) {
  if (OnHidden) OnHidden(this);
}

void TCollectForm::ClipboardViewer1Change(TObject*) { ClipboardChanged(); }

void TCollectForm::ClipboardChanged() {
  TClipboard& clipboard = *Clipboard();
  if (!BtnCollect->Down() || !Editor || clipboard.Writing() || !clipboard.HasFormat(CF_UNICODETEXT)) return;
  const auto appended = collector_.Capture(clipboard.AsUnicodeText());
  if (!appended) return;
  // Append at the end, then give the user back the caret and selection.
  const int start = Editor->SelStart(), length = Editor->SelLength();
  Editor->SetSelStart(Editor->Control().TextLength());
  Editor->SetSelLength(0);
  Editor->SetSelTextW(*appended);
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
}
