// Formatting commands of the main window: font name and size, bold, italic, underline, sub- and
// superscript, alignment, bullets and numbering, indents, text colour and highlight, the
// selection's language, removing colours and highlighting, and the history memo's font. While
// a selection change fills the controls (UpdatingControls) they change nothing.
#include "components/color_menu.h"
#include "components/languages_combo.h"
#include "components/toolbar_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "shell/formatting.h"
#include "components/font_combo.h"
#include "shell/main_form.h"
#include "shell/num_style_form.h"
#include "shell/preferences.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/ruler.h"

void TMainForm::BindFormat() {
  Handler("FontNameChange", &TMainForm::FontNameChange);
  Handler("FontSizeChange", &TMainForm::FontSizeChange);
  Handler("FontSizeKeyDown", &TMainForm::FontSizeKeyDown);
  Handler("StyleButtonClick", &TMainForm::StyleButtonClick);
  Handler("UnderlineButtonClick", &TMainForm::UnderlineButtonClick);
  Handler("ScriptButtonClick", &TMainForm::ScriptButtonClick);
  Handler("AlignButtonClick", &TMainForm::AlignButtonClick);
  Handler("BulletsButtonClick", &TMainForm::BulletsButtonClick);
  Handler("EditNoColorExecute", &TMainForm::EditNoColorExecute);
  Handler("RemoveColorCheckmark1Click", &TMainForm::RemoveColorCheckmark1Click);
  Handler("Font1Click", &TMainForm::Font1Click);
  Handler("DecIndentBtnClick", &TMainForm::DecIndentBtnClick);
  Handler("IncIndentBtnClick", &TMainForm::IncIndentBtnClick);
  Handler("TextColorBtnClick", &TMainForm::TextColorBtnClick);
  Handler("BackColorBtnClick", &TMainForm::BackColorBtnClick);
  Handler("ColorMenuColorSelect", &TMainForm::ColorMenuColorSelect);
  Handler("LanguagesCombo1Change", &TMainForm::LanguagesCombo1Change);
  BindBackground();
  BindNumStyle();
  Field("FontName", FontName);
  Field("FontSize", FontSize);
  Field("BoldButton", BoldButton);
  Field("ItalicButton", ItalicButton);
  Field("UnderlineButton", UnderlineButton);
  Field("SubscriptButton", SubscriptButton);
  Field("SuperscriptButton", SuperscriptButton);
  Field("LeftAlign", LeftAlign);
  Field("CenterAlign", CenterAlign);
  Field("RightAlign", RightAlign);
  Field("BulletsButton", BulletsButton);
  Field("NumbersButton", NumbersButton);
  Field("JustifyAlign", JustifyAlign);
  Field("DecIndentBtn", DecIndentBtn);
  Field("IncIndentBtn", IncIndentBtn);
  Field("TextColorBtn", TextColorBtn);
  Field("BackColorBtn", BackColorBtn);
  Field("ColorMenu", ColorMenu);
  Field("HighlightMenu", HighlightMenu);
  Field("LanguagesCombo1", LanguagesCombo1);
}

bool TMainForm::FormattingAllowed() const { return !updatingControls_ && !busy_; }

void TMainForm::FontNameChange(TObject*) {
  const std::string name = FontName->GetText();
  if (!FormattingAllowed() || name.empty() || name == "-") return;
  Editor->SelAttributes()->SetName(name);
  FontName->SaveRecentFonts(name);  // the chosen font heads the list from now on
  if (Editor->CanFocus()) Editor->SetFocus();
}

void TMainForm::FontSizeChange(TObject*) {
  if (!FormattingAllowed()) return;
  Editor->SelAttributes()->SetSize(FontSizeFromText(FontSize->GetText()));
}

void TMainForm::FontSizeKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Key = 0;
  FontSizeChange(FontSize);
  if (Editor->CanFocus()) Editor->SetFocus();
}

void TMainForm::StyleButtonClick(TObject*) {
  if (!FormattingAllowed()) return;
  TFontStyles style = Editor->SelAttributes()->Style() & ~(fsBold | fsItalic);
  if (BoldButton->Down()) style |= fsBold;
  if (ItalicButton->Down()) style |= fsItalic;
  Editor->SelAttributes()->SetStyle(style);
}

void TMainForm::UnderlineButtonClick(TObject*) {
  if (!FormattingAllowed()) return;
  Editor->SelAttributes()->SetUnderlineType(UnderlineButton->Down() ? RememberedFormat().UnderlineIndex + 1 : 0);
}

void TMainForm::ScriptButtonClick(TObject* Sender) {
  if (!FormattingAllowed()) return;
  auto* button = dynamic_cast<TFlatToolbarButton*>(Sender);
  if (!button) return;
  // Subscript 1, superscript 2 (the button's tag); up: normal.
  Editor->SelAttributes()->SetSubscriptStyle(button->Down() ? button->Tag() : 0);
  (button == SubscriptButton ? SuperscriptButton : SubscriptButton)->SetDown(false);
}

void TMainForm::AlignButtonClick(TObject* Sender) {
  if (!FormattingAllowed()) return;
  if (auto* button = dynamic_cast<TFlatToolbarButton*>(Sender))
    Editor->Paragraph()->SetAlignment(TParaAlignment(button->Tag()));
}

void TMainForm::BulletsButtonClick(TObject* Sender) {
  if (!FormattingAllowed()) return;
  auto* button = dynamic_cast<TFlatToolbarButton*>(Sender);
  if (!button) return;
  TParaAttributesW& paragraph = *Editor->Paragraph();
  if (!button->Down()) {
    paragraph.SetNumbering(0);
    return;
  }
  (button == BulletsButton ? NumbersButton : BulletsButton)->SetDown(false);
  const TRememberedFormat remembered = RememberedFormat();
  paragraph.SetNumbering(button->Tag());
  paragraph.SetNumberingStart(remembered.NumStart);
  if (button == NumbersButton) {
    const TNumberingChoice choice = NumberingForStyle(remembered.NumStyleIndex, remembered.NumStart);
    paragraph.SetNumbering(choice.Numbering);
    paragraph.SetNumberingStart(choice.Start);
    paragraph.SetNumberingStyle(remembered.NumFollower);
  }
}

void TMainForm::DecIndentBtnClick(TObject*) {
  if (FormattingAllowed() && !PlainView()) Ruler1->DecIndent();
}

void TMainForm::IncIndentBtnClick(TObject*) {
  if (FormattingAllowed() && !PlainView()) Ruler1->IncIndent();
}

void TMainForm::TextColorBtnClick(TObject*) {
  if (FormattingAllowed()) Editor->SelAttributes()->SetColor(textColor_);
}

void TMainForm::BackColorBtnClick(TObject*) {
  if (!FormattingAllowed()) return;
  // "None" (or a colour the editor cannot show behind text) means no highlight.
  Editor->SelAttributes()->SetBackColor(highlightColor_ == clNone ? clDefault : highlightColor_);
}

void TMainForm::PaintColorGlyph(TFlatToolbarButton* button, TColor color) {
  button->SetGlyphName(button->GlyphName());
  TBitmap bitmap;
  bitmap.Assign(*button->Glyph());
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(color == clNone ? clWhite : color);
  canvas->FillRect(Rect(1, 12, 15, 16));
  button->SetGlyph(bitmap);
}

void TMainForm::ColorMenuColorSelect(TObject* Sender, int, TColor Color) {
  const bool text = Sender == ColorMenu;
  (text ? textColor_ : highlightColor_) = Color;
  PaintColorGlyph(text ? TextColorBtn : BackColorBtn, Color);
  (text ? TextColorBtn : BackColorBtn)->Click();
}

void TMainForm::LanguagesCombo1Change(TObject*) {
  if (updatingControls_) return;
  Editor->SelAttributes()->SetLanguage(LanguagesCombo1->Language());
  Editor->SetLanguage(LanguagesCombo1->Language());
  if (Editor->CanFocus()) Editor->SetFocus();
}

void TMainForm::EditNoColorExecute(TObject*) {
  if (!PrefForm) return;
  // The selection (all the text when nothing is selected) takes the default colours.
  const int start = Editor->SelStart(), length = Editor->SelLength();
  if (length == 0) Editor->SelectAll();
  Editor->SelAttributes()->SetColor(PrefForm->DefFont->Font()->Color());
  Editor->SelAttributes()->SetBackColor(PrefForm->Shape1->Brush()->Color());
  Editor->SetSelStart(start);
  Editor->SetSelLength(length);
}

void TMainForm::RemoveColorCheckmark1Click(TObject*) {
  const int start = Editor->SelStart();
  Editor->SelectAll();
  Editor->SelAttributes()->SetBackColor(clDefault);
  Editor->SetSelStart(start);
  Editor->SetSelLength(0);
}

void TMainForm::Font1Click(TObject*) {
  TFontDialog dialog(nullptr);
  dialog.Font()->Assign(*RevMemo->Font());
  if (dialog.Execute()) RevMemo->SetFont(*dialog.Font());
}

void TMainForm::UpdateFormatControls() {
  updatingControls_ = true;
  TTextAttributesW& text = *Editor->SelAttributes();
  FontName->SetText(text.Name());
  FontSize->SetText(std::to_string(text.Size()));
  BoldButton->SetDown(text.Style() & fsBold);
  ItalicButton->SetDown(text.Style() & fsItalic);
  UnderlineButton->SetDown(text.UnderlineType() != 0);
  SubscriptButton->SetDown(text.SubscriptStyle() == 1);
  SuperscriptButton->SetDown(text.SubscriptStyle() == 2);
  const TParaAlignment alignment = Editor->Paragraph()->Alignment();
  for (TFlatToolbarButton* button : {LeftAlign, CenterAlign, RightAlign, JustifyAlign})
    button->SetDown(button->Tag() == int(alignment));
  const int numbering = Editor->Paragraph()->Numbering();
  BulletsButton->SetDown(numbering == 1);
  NumbersButton->SetDown(numbering >= 2);
  // Text without a language of its own (an empty document) is typed in the editor's language.
  LanguagesCombo1->SetLanguage(text.Language() ? text.Language() : Editor->Language());
  updatingControls_ = false;
}
