#include "tools/colour_swatch.h"

#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"

bool PickSwatchColour(TShape* swatch) {
  if (!swatch) return false;
  TColorDialog dialog(nullptr);
  dialog.SetColor(swatch->Brush()->Color());
  if (!dialog.Execute()) return false;
  swatch->Brush()->SetColor(dialog.Color());
  swatch->Invalidate();
  return true;
}
