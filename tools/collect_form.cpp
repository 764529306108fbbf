#include "tools/collect_form.h"

#include "platform/gui/clipboard.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"

TCollectForm* CollectForm = nullptr;

QM_CLASS_INFO(TCollectForm, TForm, [](TClassBuilder<TCollectForm>&) {})

TCollectForm::TCollectForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TCollectForm::FormCreate);
  Handler("FormHide", &TCollectForm::FormHide);
  Field("BtnCollect", BtnCollect);
  Field("ClipboardViewer1", ClipboardViewer1);
  ReadForm();
}

TCollectForm::~TCollectForm() {
  if (listener_ >= 0) Clipboard()->RemoveChangeListener(listener_);
  if (CollectForm == this) CollectForm = nullptr;
}

void TCollectForm::FormCreate(TObject*) {
  CollectForm = this;
  listener_ = Clipboard()->AddChangeListener([this] { ClipboardChanged(); });
  ClipboardViewer1->SetTextW(Clipboard()->AsUnicodeText());
}

void TCollectForm::FormHide(TObject*) {
  if (OnHidden) OnHidden(this);
}

void TCollectForm::ClipboardChanged() {
  TClipboard& clipboard = *Clipboard();
  const std::u16string text = clipboard.AsUnicodeText();
  ClipboardViewer1->SetTextW(text);
  if (!BtnCollect->Down() || !Editor || clipboard.Writing() || !clipboard.HasFormat(CF_UNICODETEXT)) return;
  const auto appended = collector_.Capture(text);
  if (!appended) return;
  // Append at the end, then give the user back the caret and selection.
  const int start = Editor->SelStart(), length = Editor->SelLength();
  Editor->SetSelStart(int(Editor->GetTextW().size()));
  Editor->SetSelLength(0);
  Editor->SetSelTextW(*appended);
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
}
