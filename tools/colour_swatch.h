// A colour swatch of a tool window: a click asks for its colour.
#pragma once

class TShape;

// Shows the colour dialog on the swatch's colour; true (and the swatch recoloured) on OK.
bool PickSwatchColour(TShape* swatch);
