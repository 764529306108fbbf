// TSCOptions: the options of the document check on three pages, kept by its form storage in
// HKEY_CURRENT_USER "Software\Vortanel\Shared\Proof", section "<application title> Options".
#pragma once

#include <vector>

#include "platform/gui/form.h"
#include "proofing/spell.h"

class TButton;
class TCheckBox;
class TExSpinEdit;
class TFormStorage;

class TSCOptions : public TForm {
  QM_CLASS(TSCOptions, TForm)
public:
  explicit TSCOptions(TComponent* Owner);

  TCheckBox *CBLang = nullptr, *CBSusp = nullptr, *CBMiss = nullptr, *CBExtra = nullptr, *CBCaps = nullptr,
            *CBRep = nullptr, *CBAddr = nullptr, *CBFile = nullptr, *CBTags = nullptr, *CBRepValid = nullptr,
            *CBRepSave = nullptr, *CBRemoveVerified = nullptr, *CBListColors = nullptr, *CBTextColors = nullptr;
  TExSpinEdit* SpinRep = nullptr;
  TButton *BtnOK = nullptr, *BtnCancel = nullptr, *BtnDictionaries = nullptr;
  TFormStorage* FormStorage1 = nullptr;

  // The check boxes that shape a document check.
  TSpellOptions SpellOptions() const;
  // "Dictionaries..." opens the languages window through this.
  TNotifyEvent OnDictionaries;

private:
  void FormShow(TObject* Sender);
  // Closing without OK puts back the options shown, so the storage keeps them.
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void BtnDictionariesClick(TObject* Sender);
  std::vector<TCheckBox*> CheckBoxes() const;

  std::vector<bool> FShownChecks;
  double FShownRepeats = 4;
};
