// TAskForm: the correction engine's dialog window (layout forms/TAskForm.qfm). It shows the
// pages of a TAskDialog modally: the options before a pass and the question about one word.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gui/form.h"
#include "proofing/ask_dialog.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TPageControl;
class TPanel;
class TRichEditW;
class TScrollBox;
class TColorMenu;
class TShape;
class TSpeedButton;
class TTabSheet;

class TAskForm : public TForm, public IAskView {
  QM_CLASS(TAskForm, TForm)
public:
  explicit TAskForm(TComponent* owner);
  ~TAskForm() override;

  bool ShowOptionsPage(TAskDialog& Dialog) override;
  TAskAnswer ShowConfirmPage(TAskDialog& Dialog, int Kind) override;

  TPageControl* PageControl1 = nullptr;
  TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet4 = nullptr;
  TShape* Shape1 = nullptr;
  TColorMenu* ColorMenu1 = nullptr;  // colour choice for an event row
  TLabel* Label1 = nullptr;
  TRichEditW* RichText = nullptr;
  TEdit* EditSugg = nullptr;
  TListBox *SuggList = nullptr, *ListNew = nullptr, *ListError = nullptr;
  TButton *BtnReplace = nullptr, *Button2 = nullptr, *BtnReplaceAll = nullptr, *Button1 = nullptr,
          *BtnAdd = nullptr, *BtnContinue = nullptr, *Button3 = nullptr, *BtnOpt = nullptr;
  TCheckBox *CBAuto = nullptr, *CBIgnoreEvent = nullptr;
  TPanel *PanelMode = nullptr, *PanelSch = nullptr, *PanelOpt = nullptr, *PanelEvent = nullptr;
  TSpeedButton *BtnManual = nullptr, *BtnAuto = nullptr;
  TComboBox* ListScheme = nullptr;
  TScrollBox *ListOpt = nullptr, *ListEvent = nullptr;
  // The check boxes of the options and events, and the colour boxes of the events, made for
  // the dialog shown.
  std::vector<TCheckBox*> OptionBoxes, EventBoxes;
  std::vector<TShape*> EventShapes;
  // F1: the help of the shown dialog's help context; the key goes no further either way.
  std::function<void(int HelpContext)> OnHelp;

private:
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormShow(TObject* Sender);
  void AnswerClick(TObject* Sender);
  void SuggListClick(TObject* Sender);
  void SuggListDblClick(TObject* Sender);
  void ChangeMode(TObject* Sender);
  void EventClick(TObject* Sender);
  // A click on an event's colour box asks for its colour.
  void EventColourClick(TObject* Sender);
  void ColorMenu1ColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  void BtnOptClick(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void SpeedButton3Click(TObject* Sender);
  void ShowPage(TTabSheet* Page);
  void FillOptions();
  void MoveWords(TListBox* From, TListBox* To, bool All);

  TAskDialog* FDialog = nullptr;
  TObject* FPressed = nullptr;
};

// The program's one engine dialog window (made at start-up).
extern TAskForm* AskForm;
