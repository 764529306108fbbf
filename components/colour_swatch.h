// Colour swatches of the tool windows: a click pops the form's colour menu up under the swatch,
// and the colour chosen there becomes the swatch's brush colour.
#pragma once

#include "platform/gui/gui_types.h"

class TColorMenu;
class TObject;
class TShape;

// Pops `menu` up under `swatch` (a TShape); "Other" starts from the swatch's colour.
void PopupSwatchMenu(TColorMenu* menu, TObject* swatch);
// The swatch `menu` was last popped up under, or nullptr.
TShape* MenuSwatch(const TColorMenu* menu);
// Gives the menu's swatch the chosen colour (the menu's OnColorSelect).
void SwatchColourChosen(TColorMenu* menu, TColor color);
