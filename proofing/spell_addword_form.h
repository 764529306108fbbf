// TSCAddWord: "Add Words", the words waiting for the user dictionaries, one a line, each line
// in its language.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/form.h"
#include "platform/locale.h"

class TButton;
class TLanguagesCombo;
class TQSpell;
class TRichEditW;
class TSpeedButton;

class TSCAddWord : public TForm {
  QM_CLASS(TSCAddWord, TForm)
public:
  explicit TSCAddWord(TComponent* Owner);

  TRichEditW* NewWords = nullptr;
  TLanguagesCombo* LangCombo = nullptr;
  TButton *BtnAdd = nullptr, *BtnClose = nullptr;
  TSpeedButton *SBTitle = nullptr, *SBLower = nullptr, *SBClear = nullptr;

  // The spelling component whose user dictionaries get the words; its languages fill the combo.
  void SetSpell(TQSpell* Spell);
  // Appends a line (8-bit in the code page of `Lcid`) in that language.
  void AppendWord(const std::string& Text, LCID Lcid);
  // Adds each line to the user dictionary of its language; the lines whose language has no
  // spelling language stay, and a message says why.
  void AddWords();
  // The first letter of each line raised, or each line lowered.
  void ToTitleCase();
  void ToLowerCase();
  // Asks "Clear all words?" when there are words, and clears them.
  void ClearAll();
  // The interface language's text of a message key.
  std::function<std::string(const std::string& Key)> Message;

private:
  void NewWordsChange(TObject* Sender);
  void NewWordsSelectionChange(TObject* Sender);
  void NewWordsKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void LangComboChange(TObject* Sender);
  void BtnAddClick(TObject* Sender);
  void BtnCloseClick(TObject* Sender);
  void SBTitleClick(TObject* Sender);
  void SBLowerClick(TObject* Sender);
  void SBClearClick(TObject* Sender);
  // Rewrites every line through `Change` (8-bit text in the line's code page).
  void ChangeLines(const std::function<void(std::string&)>& Change);

  TQSpell* FSpell = nullptr;
};
