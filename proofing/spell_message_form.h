// TSCMessage: the finding window of the interactive check. It names a finding that is not a
// spelling error and offers the buttons that fit its kind.
#pragma once

#include "platform/gui/form.h"
#include "proofing/spell_interfaces.h"

class TButton;
class TComboBox;
class TLabel;

class TSCMessage : public TForm {
  QM_CLASS(TSCMessage, TForm)
public:
  explicit TSCMessage(TComponent* Owner);

  TLabel* Label1 = nullptr;
  TComboBox* MsgBox = nullptr;  // hidden: holds the six message texts
  TButton *BtnIgnore = nullptr, *BtnIgnoreAll = nullptr, *BtnDelete = nullptr, *BtnDeleteAll = nullptr,
          *BtnFix = nullptr, *BtnFixAll = nullptr, *BtnCancel = nullptr;

  // The message of the kind and its buttons: Fix for kinds 6 and 10, Delete for 7 and 8,
  // neither (nor Fix All) for 4 and 5.
  void Prepare(TWordClass Kind);
  // The answer for a modal result of the window.
  static TFindingAnswer AnswerOf(int ModalResult);
};

// The index of a kind's text in MsgBox; -1 for kinds without one.
int FindingMessageIndex(TWordClass Kind);
