#include "components/colour_swatch.h"

#include "components/color_menu.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"

void PopupSwatchMenu(TColorMenu* menu, TObject* swatch) {
  auto* shape = dynamic_cast<TShape*>(swatch);
  if (!menu || !shape) return;
  menu->ColorDialog()->SetColor(shape->Brush()->Color());
  menu->PopupUnder(shape);
}

TShape* MenuSwatch(const TColorMenu* menu) { return menu ? dynamic_cast<TShape*>(menu->PopupControl()) : nullptr; }

void SwatchColourChosen(TColorMenu* menu, TColor color) {
  TShape* shape = MenuSwatch(menu);
  if (!shape) return;
  shape->Brush()->SetColor(color);
  shape->Invalidate();
}
