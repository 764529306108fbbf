// The plotter's view of the plane: pixel mapping, panning, zooming and the evaluation step,
// kept within the limits the calculator's spin edits can show.
#pragma once

struct TPlotBounds {
  double MinX = -1, MinY = -1, MaxX = 1, MaxY = 1;
  friend bool operator==(const TPlotBounds&, const TPlotBounds&) = default;
};

// The most points one paint evaluates; a smaller step is widened to this many points.
inline constexpr int kMaxPlotPoints = 200000;

// Pixel column of `x` in a control `width` wide (0 when MaxX does not exceed MinX).
int PlotPixelX(const TPlotBounds& b, double x, int width);
// Pixel row of `y` in a control `height` high, growing downwards (0 when MaxY <= MinY).
int PlotPixelY(const TPlotBounds& b, double y, int height);
// The view moved by a mouse drag of (dx, dy) pixels in a width x height control.
TPlotBounds PanBounds(const TPlotBounds& b, int dx, int dy, int width, int height);
// Every bound moved towards (or away from) (cx, cy) to `factor` of its distance.
TPlotBounds ZoomBounds(const TPlotBounds& b, double cx, double cy, double factor);
// The view centred on the origin with the rounded half widths; unchanged when one is 0.
TPlotBounds CentreBounds(const TPlotBounds& b);
// The bounds the calculator's spin edits can hold (MinX -65535..-1, MaxX 1..65535, Y within
// +-65535, each minimum below its maximum); a pan keeps its extent where it can.
TPlotBounds LimitBounds(const TPlotBounds& b);
// The step of `steps` points over the x range (at least 1 point).
double StepForRange(const TPlotBounds& b, int steps);
// The step a paint uses: `step`, widened so that at most kMaxPlotPoints are evaluated.
double PaintStep(const TPlotBounds& b, double step);
