// The program's own toolbar glyphs, drawn in code (16 × 16 on fuchsia, the transparent
// colour): one picture per command of the main window's toolbars.
#pragma once

#include <string>
#include <vector>

class TBitmap;

// Every glyph name, in the order of the toolbars.
const std::vector<std::string>& ToolbarGlyphNames();
// Draws the glyph of that name into `bitmap`; false (bitmap untouched) for an unknown name.
bool DrawToolbarGlyph(const std::string& name, TBitmap& bitmap);
