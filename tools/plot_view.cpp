#include "tools/plot_view.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLimit = 65535;

int Scale(double value, double lo, double hi, int size) {
  if (!(hi > lo)) return 0;
  const double p = std::round((value - lo) / (hi - lo) * size);
  return int(std::clamp(p, -100000.0, 100000.0));
}

// Shifts [lo, hi] by `shift`, limited so that lo stays in [loMin, loMax] and hi in [hiMin, hiMax].
void Shift(double& lo, double& hi, double shift, double loMin, double loMax, double hiMin, double hiMax) {
  shift = std::clamp(shift, std::max(loMin - lo, hiMin - hi), std::min(loMax - lo, hiMax - hi));
  if (shift > 0 || shift < 0) lo += shift, hi += shift;
}

}  // namespace

int PlotPixelX(const TPlotBounds& b, double x, int width) { return Scale(x, b.MinX, b.MaxX, width); }

int PlotPixelY(const TPlotBounds& b, double y, int height) {
  if (!(b.MaxY > b.MinY)) return 0;
  return height - Scale(y, b.MinY, b.MaxY, height);
}

TPlotBounds PanBounds(const TPlotBounds& b, int dx, int dy, int width, int height) {
  TPlotBounds r = LimitBounds(b);
  if (width > 0) Shift(r.MinX, r.MaxX, -(r.MaxX - r.MinX) * dx / width, -kLimit, -1, 1, kLimit);
  if (height > 0) Shift(r.MinY, r.MaxY, (r.MaxY - r.MinY) * dy / height, -kLimit, kLimit, -kLimit, kLimit);
  return r;
}

TPlotBounds ZoomBounds(const TPlotBounds& b, double cx, double cy, double factor) {
  return LimitBounds({cx + (b.MinX - cx) * factor, cy + (b.MinY - cy) * factor, cx + (b.MaxX - cx) * factor,
                      cy + (b.MaxY - cy) * factor});
}

TPlotBounds CentreBounds(const TPlotBounds& b) {
  const long long h = std::llround(std::clamp(b.MaxX - b.MinX, 0.0, 2 * kLimit)) / 2;
  const long long v = std::llround(std::clamp(b.MaxY - b.MinY, 0.0, 2 * kLimit)) / 2;
  if (h == 0 || v == 0) return b;
  return LimitBounds({double(-h), double(-v), double(h), double(v)});
}

TPlotBounds LimitBounds(const TPlotBounds& b) {
  auto fix = [](double v, double lo, double hi) { return std::isnan(v) ? lo : std::clamp(v, lo, hi); };
  TPlotBounds r{fix(b.MinX, -kLimit, -1), fix(b.MinY, -kLimit, kLimit - 1), fix(b.MaxX, 1, kLimit),
                fix(b.MaxY, -kLimit, kLimit)};
  if (!(r.MaxY > r.MinY)) r.MaxY = std::min(kLimit, r.MinY + 1);
  return r;
}

double StepForRange(const TPlotBounds& b, int steps) { return (b.MaxX - b.MinX) / std::max(steps, 1); }

double PaintStep(const TPlotBounds& b, double step) {
  const double range = b.MaxX - b.MinX;
  if (!(range > 0)) return 1;
  const double least = range / kMaxPlotPoints;
  return std::isfinite(step) && step >= least ? step : least;
}
