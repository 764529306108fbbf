// Glyph outlines as straight lines: a stroke collection (lines by contour, in glyph units with y
// upwards), the flattening of quadratic curve pieces and the walk over an outline's contours.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TStrokeLine {
  int Contour = 0;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  friend bool operator==(const TStrokeLine&, const TStrokeLine&) = default;
};

struct TStrokeRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TStrokeRect&, const TStrokeRect&) = default;
};

class TStrokeCollection {
public:
  // Adds a line, its coordinates rounded.
  void Add(int contour, double x1, double y1, double x2, double y2);
  void Clear() { lines_.clear(); }
  int Count() const { return int(lines_.size()); }
  // The last line's contour + 1 (0 when empty).
  int ContourCount() const { return lines_.empty() ? 0 : lines_.back().Contour + 1; }
  // The index of contour k's first line and its number of lines; -1 for an invalid k.
  int FirstLine(int k) const;
  int LineCount(int k) const;
  // A copy of line i; none outside the list.
  std::optional<TStrokeLine> Line(int i) const;
  // The rectangle of all end points (all zero when empty).
  TStrokeRect Bounds() const;

private:
  std::vector<TStrokeLine> lines_;
};

struct TOutlinePoint {
  double X = 0, Y = 0;
  friend bool operator==(const TOutlinePoint&, const TOutlinePoint&) = default;
};

// One record of a contour: straight lines through its points, or a quadratic B-spline whose
// on-curve points between two control points are implied at their midpoints.
struct TOutlineCurve {
  enum TKind { Line = 1, QSpline = 2, Other = 3 } Kind = Line;
  std::vector<TOutlinePoint> Points;
};

struct TOutlineContour {
  TOutlinePoint Start;
  std::vector<TOutlineCurve> Curves;
};

// A quadratic piece A (start), B (control), C (end) as lines of `precision` steps; answers the
// last point computed.
TOutlinePoint FlattenQuadratic(TStrokeCollection& strokes, int contour, TOutlinePoint a, TOutlinePoint b,
                               TOutlinePoint c, int precision);
// Every contour as lines, each closed by a line back to its start.
std::unique_ptr<TStrokeCollection> OutlineToStrokes(const std::vector<TOutlineContour>& contours, int precision);

// Turns glyphs of a font into line strokes.
class TTTFToVectorConverter {
public:
  const std::string& FontName() const { return fontName_; }
  void SetFontName(const std::string& name) { fontName_ = name; }
  int Precision() const { return precision_; }
  // Values outside 1..100 are ignored.
  void SetPrecision(int v);
  // The glyph's strokes; none when the font or the glyph has no outline.
  std::unique_ptr<TStrokeCollection> Convert(char32_t ch) const;

private:
  std::string fontName_ = "Arial";
  int precision_ = 8;
};
