#include "proofing/ask_form.h"

#include <algorithm>

#include "components/color_menu.h"
#include "components/colour_swatch.h"
#include "platform/code_pages.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

QM_CLASS_INFO(TAskForm, TForm, [](TClassBuilder<TAskForm>&) {})

TAskForm* AskForm = nullptr;

namespace {

constexpr int kRowHeight = 22;

}  // namespace

TAskForm::~TAskForm() {
  if (AskForm == this) AskForm = nullptr;
}

TAskForm::TAskForm(TComponent* owner) : TForm(owner) {
  Handler("FormShow", &TAskForm::FormShow);
  Handler("AnswerClick", &TAskForm::AnswerClick);
  Handler("SuggListClick", &TAskForm::SuggListClick);
  Handler("SuggListDblClick", &TAskForm::SuggListDblClick);
  Handler("ChangeMode", &TAskForm::ChangeMode);
  Handler("ColorMenu1ColorSelect", &TAskForm::ColorMenu1ColorSelect);
  Field("ColorMenu1", ColorMenu1);
  Handler("BtnOptClick", &TAskForm::BtnOptClick);
  Handler("SpeedButton1Click", &TAskForm::SpeedButton1Click);
  Handler("SpeedButton2Click", &TAskForm::SpeedButton2Click);
  Handler("SpeedButton3Click", &TAskForm::SpeedButton3Click);
  Field("PageControl1", PageControl1);
  Field("TabSheet1", TabSheet1);
  Field("TabSheet2", TabSheet2);
  Field("TabSheet4", TabSheet4);
  Field("Shape1", Shape1);
  Field("Label1", Label1);
  Field("RichText", RichText);
  Field("EditSugg", EditSugg);
  Field("SuggList", SuggList);
  Field("ListNew", ListNew);
  Field("ListError", ListError);
  Field("BtnReplace", BtnReplace);
  Field("Button2", Button2);
  Field("BtnReplaceAll", BtnReplaceAll);
  Field("Button1", Button1);
  Field("BtnAdd", BtnAdd);
  Field("BtnContinue", BtnContinue);
  Field("Button3", Button3);
  Field("BtnOpt", BtnOpt);
  Field("CBAuto", CBAuto);
  Field("CBIgnoreEvent", CBIgnoreEvent);
  Field("PanelMode", PanelMode);
  Field("PanelSch", PanelSch);
  Field("PanelOpt", PanelOpt);
  Field("PanelEvent", PanelEvent);
  Field("BtnManual", BtnManual);
  Field("BtnAuto", BtnAuto);
  Field("ListScheme", ListScheme);
  Field("ListOpt", ListOpt);
  Field("ListEvent", ListEvent);
  ReadForm();
  OnKeyDown = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };
}

void TAskForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key != VK_F1) return;
  Key = 0;
  if (OnHelp) OnHelp(FDialog ? FDialog->HelpContext : HelpContext());
}

void TAskForm::ShowPage(TTabSheet* Page) {
  for (TTabSheet* sheet : {TabSheet1, TabSheet2, TabSheet4}) sheet->SetTabVisible(sheet == Page);
  PageControl1->SetActivePage(Page);
}

void TAskForm::FillOptions() {
  for (auto* boxes : {&OptionBoxes, &EventBoxes})
    for (TCheckBox* box : *boxes) delete box;
  for (TShape* shape : EventShapes) delete shape;
  OptionBoxes.clear();
  EventBoxes.clear();
  EventShapes.clear();
  SetCaption(FDialog->Caption.empty() ? "Translation" : FDialog->Caption);
  ListScheme->Items()->Clear();
  for (const std::string& scheme : FDialog->Schemes) ListScheme->Items()->Add(scheme);
  ListScheme->SetItemIndex(FDialog->SchemeIndex);
  for (size_t i = 0; i < FDialog->Options.size(); ++i) {
    auto* box = new TCheckBox(this);
    box->SetParent(ListOpt);
    box->SetBounds(4, 4 + static_cast<int>(i) * kRowHeight, 440, 18);
    box->SetCaption(FDialog->Options[i].Caption);
    box->SetChecked(FDialog->Options[i].Checked);
    OptionBoxes.push_back(box);
  }
  for (size_t i = 0; i < FDialog->Events.size(); ++i) {
    const TAskEventRow& row = FDialog->Events[i];
    auto* box = new TCheckBox(this);
    box->SetParent(ListEvent);
    box->SetBounds(4, 4 + static_cast<int>(i) * kRowHeight, 380, 18);
    box->SetCaption(row.Title);
    box->SetChecked(row.Enabled);
    box->OnClick = [this](TObject* Sender) { EventClick(Sender); };
    EventBoxes.push_back(box);
    // The colour box, 14 pixels wide and 36 pixels left of the row's right edge.
    auto* shape = new TShape(this);
    shape->SetParent(ListEvent);
    shape->SetBounds(440 - 36, 6 + static_cast<int>(i) * kRowHeight, 14, 14);
    shape->Brush()->SetColor(static_cast<TColor>(FDialog->Colours[row.Kind]));
    shape->OnMouseDown = [this](TObject* Sender, TMouseButton, TShiftState, int, int) { EventColourClick(Sender); };
    EventShapes.push_back(shape);
  }
  PanelSch->SetVisible(!FDialog->Schemes.empty());
  PanelMode->SetVisible(FDialog->ModePanel);
  BtnAuto->SetDown(FDialog->Automatic);
  BtnManual->SetDown(!FDialog->Automatic);
  ChangeMode(nullptr);
}

bool TAskForm::ShowOptionsPage(TAskDialog& Dialog) {
  FDialog = &Dialog;
  FillOptions();
  ShowPage(TabSheet2);
  BtnContinue->SetVisible(true);
  Button3->SetVisible(true);
  BtnOpt->SetVisible(static_cast<bool>(Dialog.OnChangeOptions));
  // Through the dialog service, which a script of the program's tests answers.
  const int result = ShowModalDialog(*this);
  Dialog.Automatic = BtnAuto->Down();
  if (result != mrOk) return false;
  Dialog.SchemeIndex = ListScheme->ItemIndex();
  for (size_t i = 0; i < OptionBoxes.size() && i < Dialog.Options.size(); ++i)
    Dialog.Options[i].Checked = OptionBoxes[i]->Checked();
  return true;
}

TAskAnswer TAskForm::ShowConfirmPage(TAskDialog& Dialog, int Kind) {
  FDialog = &Dialog;
  FPressed = nullptr;
  BtnManual->SetDown(true);
  BtnAuto->SetDown(false);
  Shape1->Brush()->SetColor(static_cast<TColor>(Dialog.Colours[Kind]));
  std::string caption;
  for (const TAskEventRow& row : Dialog.Events)
    if (row.Kind == Kind) caption = row.Title;
  Label1->SetCaption(caption);
  RichText->SetReadOnly(false);
  RichText->Control().SetText(AnsiToWide(Dialog.Context, 1251));
  // The word asked about stands out in bold and in its event's colour, and stays selected.
  RichText->Control().SetSel(Dialog.WordPosition, Dialog.WordPosition + static_cast<int>(Dialog.Word.size()));
  RichText->SelAttributes()->SetBold(true);
  RichText->SelAttributes()->SetColor(static_cast<TColor>(Dialog.Colours[Kind]));
  RichText->SetHideSelection(false);
  RichText->SetReadOnly(true);
  SuggList->Items()->Clear();
  for (const std::string& suggestion : Dialog.Suggestions) SuggList->Items()->Add(suggestion);
  EditSugg->SetText(Dialog.Edit);
  CBAuto->SetChecked(false);
  CBIgnoreEvent->SetChecked(false);
  ShowPage(TabSheet1);
  BtnContinue->SetVisible(false);
  Button3->SetVisible(false);
  BtnOpt->SetVisible(false);
  // Through the dialog service, as the options page: a test script answers the question.
  const int result = ShowModalDialog(*this);
  Dialog.Edit = EditSugg->Text();
  Dialog.IgnoreEvent = CBIgnoreEvent->Checked();
  Dialog.IgnoreAll = CBAuto->Checked();
  Dialog.Automatic = BtnAuto->Down();
  if (FPressed == BtnReplaceAll) return TAskAnswer::ReplaceAll;
  if (FPressed == Button1) return TAskAnswer::SkipAll;
  if (FPressed == BtnAdd) return TAskAnswer::AddToDictionary;
  if (result == mrOk) return TAskAnswer::Replace;
  if (result == mrIgnore) return TAskAnswer::Skip;
  return TAskAnswer::Stop;
}

void TAskForm::FormShow(TObject*) {
  if (PageControl1->ActivePage() == TabSheet1 && SuggList->Items()->Count() > 0 && EditSugg->Text().empty()) {
    SuggList->SetItemIndex(0);
    EditSugg->SetText(SuggList->Items()->Strings(0));
  }
  if (PageControl1->ActivePage() == TabSheet1) EditSugg->SelectAll();
}

void TAskForm::AnswerClick(TObject* Sender) {
  FPressed = Sender;
  const bool skip = Sender == Button2 || Sender == Button1;
  SetModalResult(skip ? mrIgnore : mrOk);
}

void TAskForm::SuggListClick(TObject*) {
  const int index = SuggList->ItemIndex();
  if (index >= 0) EditSugg->SetText(SuggList->Items()->Strings(index));
}

void TAskForm::SuggListDblClick(TObject* Sender) {
  if (SuggList->ItemIndex() < 0) return;
  SuggListClick(Sender);
  FPressed = BtnReplace;
  SetModalResult(mrOk);
}

void TAskForm::ChangeMode(TObject*) {
  if (FDialog == nullptr) return;
  const bool automatic = BtnAuto->Down();
  PanelOpt->SetVisible(automatic && !FDialog->Options.empty());
  PanelEvent->SetVisible(!automatic && !FDialog->Events.empty());
}

void TAskForm::EventClick(TObject*) {
  for (size_t i = 0; i < EventBoxes.size() && i < FDialog->Events.size(); ++i)
    FDialog->Events[i].Enabled = EventBoxes[i]->Checked();
  FDialog->SaveEvents();
}

void TAskForm::EventColourClick(TObject* Sender) { PopupSwatchMenu(ColorMenu1, Sender); }

void TAskForm::ColorMenu1ColorSelect(TObject*, int, TColor Color) {
  const auto it = std::find(EventShapes.begin(), EventShapes.end(), MenuSwatch(ColorMenu1));
  if (it == EventShapes.end()) return;
  SwatchColourChosen(ColorMenu1, Color);
  Shape1->Brush()->SetColor(Color);
  FDialog->SetEventColour(static_cast<int>(it - EventShapes.begin()), static_cast<unsigned>(Color));
}

void TAskForm::BtnOptClick(TObject*) {
  if (FDialog != nullptr && FDialog->OnChangeOptions) FDialog->OnChangeOptions();
}

void TAskForm::MoveWords(TListBox* From, TListBox* To, bool All) {
  std::vector<std::string> moved;
  for (int i = From->Items()->Count() - 1; i >= 0; --i) {
    if (!All && !From->Selected(i)) continue;
    moved.push_back(From->Items()->Strings(i));
    From->Items()->Delete(i);
  }
  for (const std::string& word : moved) To->Items()->Insert(0, word);  // moved words go to the top
  if (FDialog == nullptr) return;
  FDialog->NewWords.clear();
  FDialog->ErrorWords.clear();
  for (int i = 0; i < ListNew->Items()->Count(); ++i) FDialog->NewWords.push_back(ListNew->Items()->Strings(i));
  for (int i = 0; i < ListError->Items()->Count(); ++i) FDialog->ErrorWords.push_back(ListError->Items()->Strings(i));
}

void TAskForm::SpeedButton1Click(TObject*) { MoveWords(ListNew, ListError, false); }
void TAskForm::SpeedButton2Click(TObject*) { MoveWords(ListError, ListNew, false); }
void TAskForm::SpeedButton3Click(TObject*) { MoveWords(ListNew, ListError, true); }
