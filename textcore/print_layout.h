// The rich text printer's page geometry: lengths in millimetres or inches against device
// pixels, margins kept on the paper, the printable rectangle and the border pen.
#pragma once

#include "platform/gui/gui_types.h"
#include "platform/gui/rich_print.h"

enum TMeasureUnit { muMillimeters, muInches };

// A length in the unit as device pixels at `dpi` (rounded), and pixels back as a length.
int LengthToPixels(double length, TMeasureUnit unit, int dpi);
double PixelsToLength(int pixels, TMeasureUnit unit, int dpi);
// A length in the other unit (the factor 25.4).
double ConvertLength(double length, TMeasureUnit from, TMeasureUnit to);

// Four lengths, one a side of the paper.
struct TPageSides {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The unprintable border of the paper on each side, in the unit.
TPageSides PrinterGutters(const TPrinterMetrics& m, TMeasureUnit unit);
// The paper's width and height in the unit.
double PaperWidth(const TPrinterMetrics& m, TMeasureUnit unit);
double PaperHeight(const TPrinterMetrics& m, TMeasureUnit unit);
// A margin raised to its side's gutter and lowered to the paper's size less the opposite gutter.
double ClampMargin(double margin, double gutter, double paper, double oppositeGutter);

// The rectangle the text goes into, in device pixels from the printable area's corner; the
// bottom margin is at least `minBottom` pixels (one line of the header and footer font).
TRect PrintableRect(const TPrinterMetrics& m, const TPageSides& margins, const TPageSides& gutters,
                    TMeasureUnit unit, int minBottom);
// The pen of the border lines: 2 pixels for each full 600 of the resolution (0: the thinnest).
inline int BorderPenWidth(int dpi) { return dpi / 600 * 2; }
