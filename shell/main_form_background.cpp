// The editor background of the main window: View > "Background Color..." pops up the colour
// menu; the chosen colour becomes the editor background and the preferences' sample, stored at once.
#include "components/color_menu.h"
#include "components/form_placement.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/system_tray.h"
#include "shell/main_form.h"
#include "shell/preferences.h"

void TMainForm::BindBackground() {
  Handler("BackgroundColor2Click", &TMainForm::BackgroundColor2Click);
  Handler("BackgroundMenuColorSelect", &TMainForm::BackgroundMenuColorSelect);
  Field("BackgroundMenu", BackgroundMenu);
}

void TMainForm::SetEditorBackground(TColor color) {
  if (!PrefForm) return;
  // The window colour and the default colour both mean the system's own background.
  const TColor background = color == clWindow || color == clDefault ? clWindow : color;
  PrefForm->Shape1->Brush()->SetColor(background);
  ApplyDefaultFormat();
}

void TMainForm::BackgroundColor2Click(TObject*) {
  if (PrefForm) BackgroundMenu->ColorDialog()->SetColor(PrefForm->Shape1->Brush()->Color());
  const TPoint cursor = CursorPos();
  BackgroundMenu->Popup(cursor.X, cursor.Y);
}

void TMainForm::BackgroundMenuColorSelect(TObject*, int, TColor Color) {
  if (!PrefForm) return;
  SetEditorBackground(Color == kAutoColor ? clWindow : Color);
  PrefForm->FormStorage1->SaveFormPlacement();
}
