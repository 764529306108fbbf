// The installed font families with their kind: outline fonts count as TrueType (TrueType and
// OpenType files alike), bitmap-only families as raster; Type 1 PostScript fonts are not loaded
// by the toolkit, so none is ever reported.
#pragma once

#include <string>
#include <vector>

enum TFontFamilyType { ftTrueType, ftPostScript, ftRaster };

struct TFontFamily {
  std::string Name;  // in the system code page
  TFontFamilyType Type = ftTrueType;
};

// Every family once, sorted by name.
std::vector<TFontFamily> InstalledFontFamilies();

// A family name without the toolkit's foundry suffix: "C059 [urw]" is "C059".
std::string PlainFamilyName(const std::string& name);
