#include "tools/glyph_outline.h"

#include <algorithm>
#include <cmath>

void TStrokeCollection::Add(int contour, double x1, double y1, double x2, double y2) {
  lines_.push_back({contour, int(std::lround(x1)), int(std::lround(y1)), int(std::lround(x2)), int(std::lround(y2))});
}

int TStrokeCollection::FirstLine(int k) const {
  if (k < 0 || k >= ContourCount()) return -1;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].Contour >= k) return int(i);
  return -1;
}

int TStrokeCollection::LineCount(int k) const {
  const int first = FirstLine(k);
  if (first < 0) return -1;
  const int next = k + 1 < ContourCount() ? FirstLine(k + 1) : Count();
  return next - first;
}

std::optional<TStrokeLine> TStrokeCollection::Line(int i) const {
  if (i < 0 || i >= Count()) return std::nullopt;
  return lines_[size_t(i)];
}

TStrokeRect TStrokeCollection::Bounds() const {
  if (lines_.empty()) return {};
  TStrokeRect r{lines_[0].X1, lines_[0].Y1, lines_[0].X1, lines_[0].Y1};
  for (const TStrokeLine& l : lines_)
    for (const auto& [x, y] : {std::pair{l.X1, l.Y1}, {l.X2, l.Y2}}) {
      r.Left = std::min(r.Left, x);
      r.Right = std::max(r.Right, x);
      r.Top = std::min(r.Top, y);
      r.Bottom = std::max(r.Bottom, y);
    }
  return r;
}

TOutlinePoint FlattenQuadratic(TStrokeCollection& strokes, int contour, TOutlinePoint a, TOutlinePoint b,
                               TOutlinePoint c, int precision) {
  const double s = 1.0 / std::max(precision, 1);
  TOutlinePoint previous = a, point = a;
  for (int i = 1;; ++i) {
    double t = i * s;
    if (t > 1 - s / 2) t = 1;
    point = {a.X + 2 * (b.X - a.X) * t + (a.X - 2 * b.X + c.X) * t * t,
             a.Y + 2 * (b.Y - a.Y) * t + (a.Y - 2 * b.Y + c.Y) * t * t};
    if (!(point == previous)) strokes.Add(contour, previous.X, previous.Y, point.X, point.Y);
    previous = point;
    if (t >= 1) break;
  }
  return point;
}

std::unique_ptr<TStrokeCollection> OutlineToStrokes(const std::vector<TOutlineContour>& contours, int precision) {
  auto strokes = std::make_unique<TStrokeCollection>();
  for (size_t c = 0; c < contours.size(); ++c) {
    const int contour = int(c);
    TOutlinePoint current = contours[c].Start;
    for (const TOutlineCurve& curve : contours[c].Curves) {
      const auto& p = curve.Points;
      if (curve.Kind == TOutlineCurve::Line) {
        for (const TOutlinePoint& point : p) {
          if (!(point == current)) strokes->Add(contour, current.X, current.Y, point.X, point.Y);
          current = point;
        }
      } else if (curve.Kind == TOutlineCurve::QSpline && p.size() >= 2) {
        for (size_t i = 0; i + 1 < p.size(); ++i) {
          const bool last = i + 2 == p.size();
          const TOutlinePoint end = last ? p[i + 1] : TOutlinePoint{(p[i].X + p[i + 1].X) / 2, (p[i].Y + p[i + 1].Y) / 2};
          current = FlattenQuadratic(*strokes, contour, current, p[i], end, precision);
        }
      }
    }
    if (!(current == contours[c].Start))
      strokes->Add(contour, current.X, current.Y, contours[c].Start.X, contours[c].Start.Y);
  }
  return strokes;
}

void TTTFToVectorConverter::SetPrecision(int v) {
  if (v >= 1 && v <= 100) precision_ = v;
}
