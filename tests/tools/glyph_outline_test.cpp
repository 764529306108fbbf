// Glyph outlines as lines: the stroke collection's queries, quadratic flattening, the contour
// walk and real glyphs read through FreeType.
#include <gtest/gtest.h>

#include "tools/glyph_outline.h"

namespace {

TEST(StrokeCollection, EmptyAndQueries) {
  TStrokeCollection empty;
  EXPECT_EQ(empty.ContourCount(), 0);
  EXPECT_EQ(empty.Bounds(), TStrokeRect{});
  EXPECT_EQ(empty.FirstLine(0), -1);
  EXPECT_EQ(empty.LineCount(0), -1);
  EXPECT_FALSE(empty.Line(0));

  TStrokeCollection s;
  s.Add(0, 0, 0, 10.4, 0);
  s.Add(0, 10.4, 0, 0, 0);
  s.Add(1, -5, 3, 2, 7.6);
  EXPECT_EQ(s.ContourCount(), 2);
  EXPECT_EQ(s.FirstLine(1), 2);
  EXPECT_EQ(s.LineCount(0), 2);
  EXPECT_EQ(s.LineCount(1), 1);
  EXPECT_EQ(s.LineCount(2), -1);
  EXPECT_EQ(*s.Line(2), (TStrokeLine{1, -5, 3, 2, 8}));
  EXPECT_FALSE(s.Line(3));
  EXPECT_EQ(s.Bounds(), (TStrokeRect{-5, 0, 10, 8}));
}

TEST(StrokeCollection, QuadraticPiecesAndContours) {
  TStrokeCollection s;
  const TOutlinePoint end = FlattenQuadratic(s, 0, {0, 0}, {0, 8}, {8, 8}, 2);
  EXPECT_EQ(end, (TOutlinePoint{8, 8}));
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(*s.Line(0), (TStrokeLine{0, 0, 0, 2, 6}));
  EXPECT_EQ(*s.Line(1), (TStrokeLine{0, 2, 6, 8, 8}));

  // A square of lines closed back to its start, and a spline with an implied midpoint.
  std::vector<TOutlineContour> contours(2);
  contours[0].Start = {0, 0};
  contours[0].Curves = {{TOutlineCurve::Line, {{10, 0}, {10, 10}, {0, 10}}}};
  contours[1].Start = {0, 0};
  contours[1].Curves = {{TOutlineCurve::QSpline, {{0, 8}, {8, 8}, {8, 0}}}, {TOutlineCurve::Other, {{5, 5}}}};
  const auto strokes = OutlineToStrokes(contours, 1);
  EXPECT_EQ(strokes->ContourCount(), 2);
  EXPECT_EQ(strokes->LineCount(0), 4);
  EXPECT_EQ(*strokes->Line(3), (TStrokeLine{0, 0, 10, 0, 0}));
  // Pieces (0,0)-(4,8) and (4,8)-(8,0) at precision 1, then the closing line.
  EXPECT_EQ(strokes->LineCount(1), 3);
  EXPECT_EQ(*strokes->Line(4), (TStrokeLine{1, 0, 0, 4, 8}));
}

TEST(TTFToVector, PrecisionAndRealGlyphs) {
  TTTFToVectorConverter converter;
  EXPECT_EQ(converter.Precision(), 8);
  converter.SetPrecision(0);
  converter.SetPrecision(101);
  EXPECT_EQ(converter.Precision(), 8);
  converter.SetPrecision(20);
  EXPECT_EQ(converter.Precision(), 20);
  converter.SetFontName("DejaVu Sans");
  const auto o = converter.Convert(U'O');
  if (!o) GTEST_SKIP() << "DejaVu Sans is not installed";
  ASSERT_EQ(o->ContourCount(), 2);
  for (int k = 0; k < 2; ++k) {
    const auto first = o->Line(o->FirstLine(k)), last = o->Line(o->FirstLine(k) + o->LineCount(k) - 1);
    EXPECT_EQ(last->X2, first->X1);
    EXPECT_EQ(last->Y2, first->Y1);
  }
  EXPECT_GT(o->Bounds().Bottom, 500);  // the design at 1024 points
  EXPECT_EQ(converter.Convert(U' '), nullptr);  // a blank glyph has no outline
}

}  // namespace
