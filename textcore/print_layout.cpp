#include "textcore/print_layout.h"

#include <algorithm>
#include <cmath>

namespace {
double PerInch(TMeasureUnit unit) { return unit == muInches ? 1.0 : 25.4; }
}  // namespace

int LengthToPixels(double length, TMeasureUnit unit, int dpi) {
  return int(std::lround(length / PerInch(unit) * dpi));
}

double PixelsToLength(int pixels, TMeasureUnit unit, int dpi) {
  return dpi > 0 ? double(pixels) / dpi * PerInch(unit) : 0;
}

double ConvertLength(double length, TMeasureUnit from, TMeasureUnit to) {
  return from == to ? length : length / PerInch(from) * PerInch(to);
}

TPageSides PrinterGutters(const TPrinterMetrics& m, TMeasureUnit unit) {
  return {PixelsToLength(m.OffsetX, unit, m.DpiX), PixelsToLength(m.OffsetY, unit, m.DpiY),
          PixelsToLength(m.PaperWidth - m.OffsetX - m.PageWidth, unit, m.DpiX),
          PixelsToLength(m.PaperHeight - m.OffsetY - m.PageHeight, unit, m.DpiY)};
}

double PaperWidth(const TPrinterMetrics& m, TMeasureUnit unit) { return PixelsToLength(m.PaperWidth, unit, m.DpiX); }
double PaperHeight(const TPrinterMetrics& m, TMeasureUnit unit) { return PixelsToLength(m.PaperHeight, unit, m.DpiY); }

double ClampMargin(double margin, double gutter, double paper, double oppositeGutter) {
  return std::max(gutter, std::min(margin, paper - oppositeGutter));
}

TRect PrintableRect(const TPrinterMetrics& m, const TPageSides& margins, const TPageSides& gutters,
                    TMeasureUnit unit, int minBottom) {
  TRect r;
  r.Left = LengthToPixels(margins.Left - gutters.Left, unit, m.DpiX);
  r.Top = LengthToPixels(margins.Top - gutters.Top, unit, m.DpiY);
  r.Right = m.PageWidth - LengthToPixels(margins.Right - gutters.Right, unit, m.DpiX);
  r.Bottom = m.PageHeight - std::max(minBottom, LengthToPixels(margins.Bottom - gutters.Bottom, unit, m.DpiY));
  return r;
}
