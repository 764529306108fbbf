#include "proofing/spell_unpack_form.h"

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TSCUnpack, TForm, [](TClassBuilder<TSCUnpack>&) {})

TSCUnpack::TSCUnpack(TComponent* Owner) : TForm(Owner) {
  Field("Label1", Label1);
  Field("LabelDic", LabelDic);
  Field("Label2", Label2);
  for (size_t i = 0; i < Steps.size(); ++i) Field("Step" + std::to_string(i + 1), Steps[i]);
  ReadForm();
}

void TSCUnpack::BeginUnpack(const std::string& DictionaryLabel) {
  LabelDic->SetCaption(DictionaryLabel);
  if (!Visible()) Show();
}

void TSCUnpack::CheckStep(int Step) {
  for (size_t i = 0; i < Steps.size(); ++i) Steps[i]->SetChecked(static_cast<int>(i) < Step);
  Application->ProcessMessages();
}

void TSCUnpack::ShowFreeSpace(const std::string& Text) { Label2->SetCaption(Text); }

TLowSpaceAnswer TSCUnpack::AskLowSpace(const std::string& Message) {
  switch (MessageDlg(Message, mtError, mbAbortRetryIgnore)) {
    case mrAbort: return TLowSpaceAnswer::Abort;
    case mrIgnore: return TLowSpaceAnswer::Ignore;
    default: return TLowSpaceAnswer::Retry;
  }
}

void TSCUnpack::ShowError(const std::string& Message) { MessageDlg(Message, mtError, mbOK); }
