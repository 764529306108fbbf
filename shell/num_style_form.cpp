#include "shell/num_style_form.h"

#include "components/spin_edit.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

TNumStyleForm* NumStyleForm = nullptr;

QM_CLASS_INFO(TNumStyleForm, TForm, [](TClassBuilder<TNumStyleForm>&) {})

namespace {

constexpr int kMultipleRule = 5;

}  // namespace

TRememberedFormat RememberedFormat() { return NumStyleForm ? NumStyleForm->Remembered : TRememberedFormat{}; }

TNumStyleForm::TNumStyleForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TNumStyleForm::FormCreate);
  Handler("FormShow", &TNumStyleForm::FormShow);
  Handler("FormDeactivate", &TNumStyleForm::FormDeactivate);
  Handler("NumStyleChange", &TNumStyleForm::NumStyleChange);
  Handler("NumFollowChange", &TNumStyleForm::NumFollowChange);
  Handler("NumStartChange", &TNumStyleForm::NumStartChange);
  Handler("LineRuleChange", &TNumStyleForm::LineRuleChange);
  Handler("LineSpaceChange", &TNumStyleForm::LineSpaceChange);
  Handler("UnderStyleChange", &TNumStyleForm::UnderStyleChange);
  Field("PanelNum", PanelNum);
  Field("PanelLine", PanelLine);
  Field("PanelUnder", PanelUnder);
  Field("NumStyle", NumStyle);
  Field("NumFollow", NumFollow);
  Field("NumStart", NumStart);
  Field("LineRule", LineRule);
  Field("LineSpace", LineSpace);
  Field("UnderStyle", UnderStyle);
  ReadForm();
}

TNumStyleForm::~TNumStyleForm() {
  if (NumStyleForm == this) NumStyleForm = nullptr;
}

void TNumStyleForm::FormCreate(TObject*) { Remembered = TRememberedFormat{}; }

void TNumStyleForm::ShowPanel(int index) {
  TPanel* const panels[] = {PanelNum, PanelLine, PanelUnder};
  if (index < 0 || index > 2) return;
  TPanel* shown = panels[index];
  for (TPanel* panel : panels) panel->SetVisible(panel == shown);
  SetCaption(shown->Caption());
  SetClientWidth(shown->Width());
  SetClientHeight(shown->Height());
  if (Visible()) FormShow(this);  // shown again under another button: read the text anew
  Show();
  BringToFront();
}

void TNumStyleForm::FormShow(TObject*) {
  if (!Editor) return;
  filling_ = true;
  TParaAttributesW& paragraph = *Editor->Paragraph();
  if (!Numbered()) {
    NumStart->SetValue(Remembered.NumStart);
    NumStyle->SetItemIndex(Remembered.NumStyleIndex);
    NumFollow->SetItemIndex(Remembered.NumFollower);
  } else {
    const TNumberingStyle style = StyleForNumbering(paragraph.Numbering(), paragraph.NumberingStart());
    NumStyle->SetItemIndex(style.Index);
    NumStart->SetValue(style.Start);
    NumFollow->SetItemIndex(paragraph.NumberingStyle());
  }
  const int rule = paragraph.LineSpacingRule();
  LineRule->SetItemIndex(rule);
  LineSpace->SetEnabled(rule > 2);
  LineSpace->SetValue(rule > 2 ? paragraph.LineSpacing() : 0);
  const int underline = Editor->SelAttributes()->UnderlineType();
  UnderStyle->SetItemIndex(underline == 0 ? Remembered.UnderlineIndex : underline - 1);
  filling_ = false;
}

void TNumStyleForm::FormDeactivate(TObject*) { Hide(); }

bool TNumStyleForm::Numbered() const { return Editor && Editor->Paragraph()->Numbering() >= 2; }

void TNumStyleForm::ApplyNumbering() {
  const TNumberingChoice choice = NumberingForStyle(NumStyle->ItemIndex(), NumStart->AsInteger());
  TParaAttributesW& paragraph = *Editor->Paragraph();
  paragraph.SetNumbering(choice.Numbering);
  paragraph.SetNumberingStart(choice.Start);
}

void TNumStyleForm::NumStyleChange(TObject*) {
  if (filling_ || !Editor || NumStyle->ItemIndex() < 0) return;
  if (!Numbered()) Remembered.NumStyleIndex = NumStyle->ItemIndex();
  // The start goes with the style: letters of a sequence become numbers and back.
  else ApplyNumbering();
}

void TNumStyleForm::NumFollowChange(TObject*) {
  if (filling_ || !Editor || NumFollow->ItemIndex() < 0) return;
  if (!Numbered()) Remembered.NumFollower = NumFollow->ItemIndex();
  else Editor->Paragraph()->SetNumberingStyle(NumFollow->ItemIndex());
}

void TNumStyleForm::NumStartChange(TObject*) {
  if (filling_ || !Editor) return;
  if (!Numbered()) Remembered.NumStart = NumStart->AsInteger();
  else if (NumStyle->ItemIndex() >= 0) ApplyNumbering();
}

void TNumStyleForm::ApplyLineSpacing() {
  if (LineRule->ItemIndex() >= 0) Editor->Paragraph()->SetLineSpacing(LineRule->ItemIndex(), LineSpace->Value());
}

void TNumStyleForm::LineRuleChange(TObject*) {
  if (filling_ || !Editor) return;
  const int rule = LineRule->ItemIndex();
  filling_ = true;
  LineSpace->SetEnabled(rule > 2);
  if (rule <= 2) LineSpace->SetValue(0);
  else LineSpace->SetValue(rule == kMultipleRule ? 3 : Editor->SelAttributes()->Size());
  filling_ = false;
  ApplyLineSpacing();
}

void TNumStyleForm::LineSpaceChange(TObject*) {
  if (filling_ || !Editor) return;
  ApplyLineSpacing();
}

void TNumStyleForm::UnderStyleChange(TObject*) {
  if (filling_ || !Editor || UnderStyle->ItemIndex() < 0) return;
  TTextAttributesW& text = *Editor->SelAttributes();
  if (text.UnderlineType() == 0) Remembered.UnderlineIndex = UnderStyle->ItemIndex();
  else text.SetUnderlineType(UnderStyle->ItemIndex() + 1);
}
