// The status bar's indicators (modified, spelling while typing, automatic keyboard switching,
// automatic de-transliteration) and the typing automation commands that switch them.
#include "platform/gui/actions.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/graphics.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/status_bar_text.h"

namespace {

constexpr int kPanelAutoSpell = 4, kPanelAutoSwitch = 5, kPanelAutoDeTrans = 6, kPanelEncoding = 8;

}  // namespace

void TMainForm::BindStatus() {
  Handler("StatusBarDrawPanel", &TMainForm::StatusBarDrawPanel);
  Handler("EditAutoSpellExecute", &TMainForm::EditAutoSpellExecute);
  Handler("EditAutoSwitchExecute", &TMainForm::EditAutoSwitchExecute);
  Field("EditAutoSpell", EditAutoSpell);
  Field("EditAutoSwitch", EditAutoSwitch);
  Field("EditAutoDeTrans", EditAutoDeTrans);
}

void TMainForm::StatusBarDrawPanel(TStatusBar* Bar, TStatusPanel* Panel, const TRect& Rect) {
  const int index = Panel->Index();
  if (IndicatorImage(index) < 0) return;
  TCanvas& canvas = *Bar->Canvas();
  canvas.FillRect(Rect);
  // The panel's text is a flag: while it is set the indicator's picture is shown.
  if (Panel->Text().empty()) return;
  // The canvas goes on to draw the panels after this one: its colours are given back.
  const TColor savedBrush = canvas.Brush()->Color(), savedFont = canvas.Font()->Color();
  canvas.Brush()->SetColor(clHighlight);
  canvas.RoundRect(Rect.Left + 1, Rect.Top + 1, Rect.Left + 17, Rect.Top + 17, 4, 4);
  canvas.Font()->SetColor(clHighlightText);
  canvas.TextOut(Rect.Left + 5, Rect.Top + 2, IndicatorLetter(index));
  canvas.Brush()->SetColor(savedBrush);
  canvas.Font()->SetColor(savedFont);
}

void TMainForm::ShowDocumentEncoding() {
  StatusBar->Panels()->Items(kPanelEncoding)->SetText(OS->EncodingText());
}

void TMainForm::SetIndicator(int panel, const char* text) {
  StatusBar->Panels()->Items(panel)->SetText(text);
}

void TMainForm::EditAutoSpellExecute(TObject*) {
  EditAutoSpell->SetChecked(!EditAutoSpell->Checked());
  SetIndicator(kPanelAutoSpell, EditAutoSpell->Checked() ? "Auto-Spl" : "");
}

void TMainForm::EditAutoSwitchExecute(TObject* Sender) {
  // Automatic switching and automatic de-transliteration exclude each other.
  TAction* action = Sender == EditAutoDeTrans ? EditAutoDeTrans : EditAutoSwitch;
  TAction* other = action == EditAutoSwitch ? EditAutoDeTrans : EditAutoSwitch;
  action->SetChecked(!action->Checked());
  if (action->Checked()) other->SetChecked(false);
  SetIndicator(kPanelAutoSwitch, EditAutoSwitch->Checked() ? "Auto-Kbd" : "");
  SetIndicator(kPanelAutoDeTrans, EditAutoDeTrans->Checked() ? "Auto-Cyr" : "");
}
