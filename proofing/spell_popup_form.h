// TSCPopup: the correction popup of the interactive check. It offers the suggestions for an
// unknown or suspected word and answers with the button's modal result.
#pragma once

#include <array>

#include "platform/gui/form.h"
#include "platform/gui/gui_types.h"
#include "proofing/spell_interfaces.h"

class TButton;
class TEdit;
class TLabel;
class TListBox;
class TPanel;
class TRichEditW;

// Modal results of the popup's buttons.
inline constexpr int kPopupIgnore = 7, kPopupIgnoreAll = 9, kPopupReplace = 6, kPopupReplaceAll = 10,
                     kPopupAdd = 5, kPopupCancel = 3;

class TSCPopup : public TForm {
  QM_CLASS(TSCPopup, TForm)
public:
  explicit TSCPopup(TComponent* Owner);

  TEdit* EditTrg = nullptr;
  TListBox* ListSugg = nullptr;
  TPanel* PanelSrc = nullptr;
  TRichEditW* EditSrc = nullptr;
  TLabel* Label1 = nullptr;
  TButton *BtnIgnore = nullptr, *BtnIgnoreAll = nullptr, *BtnReplace = nullptr, *BtnReplaceAll = nullptr,
          *BtnAdd = nullptr, *BtnCancel = nullptr;

  // Fills the window for a question: the suggestions, the context with the word coloured (red
  // for an unknown word, green for a suspected one), the edit field and the Add button.
  void Prepare(const TWordQuestion& Question);
  // The replacement typed or chosen, in the word's code page.
  std::string Replacement() const;
  // The columns the suggestion list is laid out in: 4 for a word under 4 characters, 2 for 4
  // or 5, else 1.
  int Columns() const { return FColumns; }
  // The answer for a modal result of the window.
  static TPopupAnswer AnswerOf(int ModalResult);

private:
  void FormShow(TObject* Sender);
  void EditTrgChange(TObject* Sender);
  void EditTrgKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void ListSuggClick(TObject* Sender);
  void ListSuggDblClick(TObject* Sender);
  void ListSuggKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void ListSuggDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  void UpdateButtons();

  std::string FWord;  // the word in the system code page, as the edit field holds text
  LCID FLcid = 0;
  TSuggestionList FSuggestions;  // with the place and length of each one's change
  int FProperCount = 0;          // entries after these are remembered replacements, drawn grey
  int FColumns = 1;
};

// A suggestion cut for drawing: the text before its change (at 1-based `Position`, `Count`
// characters long), the changed characters, the rest. No change (Position 0 or less): all first.
std::array<std::u16string, 3> SuggestionParts(const std::u16string& Word, int Position, int Count);
// The columns of the suggestion list for a word of `Length` characters.
int SuggestionColumns(int Length);
// Whether Replace applies: the trimmed edit text is not empty and differs from the trimmed word.
bool CanReplace(const std::string& EditText, const std::string& Word);
