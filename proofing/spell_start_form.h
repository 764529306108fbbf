// TSCStart: asks for the mode and the scope of a document check. Its mode is kept under
// "<application title> Run".
#pragma once

#include "platform/gui/form.h"
#include "proofing/spell_interfaces.h"

class TButton;
class TFormStorage;
class TLabel;
class TRadioGroup;

class TSCStart : public TForm {
  QM_CLASS(TSCStart, TForm)
public:
  explicit TSCStart(TComponent* Owner);

  TLabel* Label1 = nullptr;
  TRadioGroup *RGMode = nullptr, *RGScope = nullptr;
  TLabel *LabelSelection = nullptr, *LabelCursor = nullptr;  // hidden: the scope's second texts
  TButton *BtnStart = nullptr, *BtnSettings = nullptr, *BtnCancel = nullptr;
  TFormStorage* FormStorage1 = nullptr;

  // The second scope item reads "Selection" and is chosen with a selection, else it reads
  // "From cursor" and the stored choice stays; false for Cancel.
  bool Ask(bool HasSelection, TSpellMode& Mode, TSpellScope& Scope);
  // "Settings..." opens the options window through this.
  TNotifyEvent OnSettings;

private:
  void BtnSettingsClick(TObject* Sender);
};
