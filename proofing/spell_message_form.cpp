#include "proofing/spell_message_form.h"

#include "platform/gui/std_controls.h"

int FindingMessageIndex(TWordClass Kind) {
  switch (Kind) {
    case wcRepeated: return 0;
    case wcExtraSpace: return 1;
    case wcUrl: return 2;
    case wcFileName: return 3;
    case wcMissingSpace: return 4;
    case wcUncapitalized: return 5;
    default: return -1;
  }
}

QM_CLASS_INFO(TSCMessage, TForm, [](TClassBuilder<TSCMessage>&) {})

TSCMessage::TSCMessage(TComponent* Owner) : TForm(Owner) {
  Field("Label1", Label1);
  Field("MsgBox", MsgBox);
  Field("BtnIgnore", BtnIgnore);
  Field("BtnIgnoreAll", BtnIgnoreAll);
  Field("BtnDelete", BtnDelete);
  Field("BtnDeleteAll", BtnDeleteAll);
  Field("BtnFix", BtnFix);
  Field("BtnFixAll", BtnFixAll);
  Field("BtnCancel", BtnCancel);
  ReadForm();
}

void TSCMessage::Prepare(TWordClass Kind) {
  const int index = FindingMessageIndex(Kind);
  Label1->SetCaption(index >= 0 && index < MsgBox->Items()->Count() ? MsgBox->Items()->Strings(index) : "");
  const bool fix = Kind == wcMissingSpace || Kind == wcUncapitalized;
  const bool remove = Kind == wcExtraSpace || Kind == wcRepeated;
  BtnFix->SetVisible(fix);
  BtnFixAll->SetVisible(fix);
  BtnDelete->SetVisible(remove);
  BtnDeleteAll->SetVisible(remove);
}

TFindingAnswer TSCMessage::AnswerOf(int ModalResult) {
  switch (ModalResult) {
    case 7: return TFindingAnswer::Ignore;
    case 9: return TFindingAnswer::IgnoreAll;
    case 6: return TFindingAnswer::Fix;
    case 10: return TFindingAnswer::FixAll;
    default: return TFindingAnswer::Cancel;
  }
}
