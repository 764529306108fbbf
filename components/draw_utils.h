// Drawing and window helpers of the component library: cells of a glyph strip, gradient bands,
// text shortened to a width, centring, command-line tokens.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/gui_types.h"

class TCanvas;
class TControl;

inline int MaxInteger(int a, int b) { return a > b ? a : b; }
inline int MinInteger(int a, int b) { return a < b ? a : b; }
inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
// The colour marked palette-relative.
inline TColor PaletteRelativeColor(TColor c) { return TColor(ColorToRGB(c) | 0x02000000); }

// The source rectangle of cell `index` (row by row) of a picture of width × height divided into
// columns × rows cells (each at least 1, the index at least 0).
TRect BitmapCellRect(int width, int height, int columns, int rows, int index);

enum TGradientDirection { gdTopToBottom, gdBottomToTop, gdLeftToRight, gdRightToLeft };
struct TGradientBand {
  TRect Rect;
  TColor Color;
  friend bool operator==(const TGradientBand&, const TGradientBand&) = default;
};
// The bands of a gradient over `r`: one band of the begin colour with fewer than 2 colours;
// otherwise max(2, min(colours, extent)) bands interpolated from begin to end (end to begin for
// the reverse directions), the remainder at the far side taking the last colour.
std::vector<TGradientBand> GradientBands(const TRect& r, TColor begin, TColor end, TGradientDirection direction,
                                         int colors);
void FillGradientBands(TCanvas& canvas, const TRect& r, TColor begin, TColor end, TGradientDirection direction,
                       int colors);

// The text cut from its end with "..." appended until `width(text)` fits `maxWidth`; "..." alone
// or, when even that does not fit, "" at the end.
std::string ShortenTextToWidth(const std::string& text, const std::function<int(const std::string&)>& width,
                               int maxWidth);
std::string ShortenTextToWidth(const std::string& text, TCanvas& canvas, int maxWidth);

// Where a rectangle of width × height sits centred in `area`, never at a negative coordinate.
TPoint CentredPosition(const TRect& area, int width, int height);
// Centres a control in its parent's client area, a form on the screen.
void CentreInParent(TControl& control);

// Tokens of a command line: blanks separate, double quotes group, "" is skipped.
std::vector<std::string> CommandTokens(const std::string& line);
int CommandTokenCount(const std::string& line);
// The first token, and the rest joined by blanks with tokens that hold blanks quoted again.
void SplitCommandTokens(const std::string& line, std::string& first, std::string& rest);
