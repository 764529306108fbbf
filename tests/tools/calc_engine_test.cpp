// The calculator's arithmetic: number systems, colours, values tables, history, copy text and
// the plot view's mapping, panning, zooming and step.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/calc_result.h"
#include "tools/plot_view.h"

namespace {

TEST(CalcResult, NumberSystems) {
  struct Case {
    double value;
    TNumberSystem system;
    const char* text;
  } cases[] = {
      {255, nsHex, "FF"},       {255, nsOct, "377"},          {255, nsBin, "11111111"}, {1994, nsRoman, "MCMXCIV"},
      {0, nsRoman, ""},         {3999, nsRoman, "MMMCMXCIX"}, {3.5, nsDec, "3.5"},      {255.9, nsHex, "FF"},
      {-255, nsHex, "-FF"},     {0, nsBin, "0"},              {-1e18, nsHex, "-DE0B6B3A7640000"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatCalcResult(c.value, c.system), c.text) << c.value << " " << c.system;
}

TEST(CalcResult, ValuesNoSystemCanWriteAreRefused) {
  // Roman numerals of a huge value would be a gigabyte of "M"; beyond 64 bits no integer part.
  for (const auto& [value, system] : {std::pair{4000.0, nsRoman}, {1e12, nsRoman}, {-1.0, nsRoman}, {1e19, nsHex},
                                      {-1e300, nsBin}, {double(NAN), nsOct}, {double(INFINITY), nsHex}})
    EXPECT_THROW(FormatCalcResult(value, system), ECalcError) << value;
  try {
    FormatCalcResult(1e12, nsRoman);
  } catch (const ECalcError& e) {
    EXPECT_EQ(e.Key, "CalcRomanRange");
  }
}

TEST(CalcResult, ColourTakesTheRoundedBytes) {
  EXPECT_EQ(CalcResultColor(255), 0x0000FFu);  // pure red
  EXPECT_EQ(CalcResultColor(0x123456 + 0.4), 0x123456u);
  EXPECT_EQ(CalcResultColor(0x1FF0000), 0xFF0000u);
  EXPECT_EQ(CalcResultColor(-1), 0xFFFFFFu);
  EXPECT_EQ(CalcResultColor(1e300), 0u);
  EXPECT_EQ(CalcResultColor(NAN), 0u);
}

TEST(CalcResult, ValueTable) {
  const auto rows = ValueTable(1, 10, 1, [](double x) { return x * x + x; });
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows.back().X, 10);
  EXPECT_EQ(*rows.back().Y, 110);
  // A failing point keeps its row without a value.
  const auto gaps = ValueTable(-1, 1, 1, [](double x) {
    if (x == 0) throw std::runtime_error("no value");
    return 1 / x;
  });
  ASSERT_EQ(gaps.size(), 3u);
  EXPECT_FALSE(gaps[1].Y);
  EXPECT_TRUE(ValueTable(5, 1, 1, [](double x) { return x; }).empty());
}

TEST(CalcResult, TableNeedsAPositiveStepAndStaysBounded) {
  const auto f = [](double x) { return x; };
  for (double step : {0.0, -1.0, double(NAN)}) EXPECT_THROW(ValueTable(1, 10, step, f), ECalcError) << step;
  EXPECT_THROW(ValueTable(-65535, 65535, 0.001, f), ECalcError);
  EXPECT_EQ(ValueTable(0, kMaxTableRows - 1, 1, f).size(), size_t(kMaxTableRows));
}

TEST(CalcResult, HistoryKeepsTwentyNewestFirstWithoutDuplicates) {
  std::vector<std::string> history;
  for (int i = 0; i < 21; ++i) AddToHistory(history, "x+" + std::to_string(i));
  ASSERT_EQ(history.size(), 20u);
  EXPECT_EQ(history.front(), "x+20");
  EXPECT_EQ(history.back(), "x+1");
  AddToHistory(history, "x+5");
  EXPECT_EQ(history.size(), 20u);
  EXPECT_EQ(history.front(), "x+20");
}

TEST(CalcResult, CellsAsText) {
  EXPECT_EQ(CellsAsText({{"x1", "y1"}, {"x2", "y2"}}), "\tx1\ty1\r\n\tx2\ty2\r\n");
}

TEST(PlotView, PixelMapping) {
  const TPlotBounds b{-10, -10, 10, 10};
  EXPECT_EQ(PlotPixelX(b, 5, 200), 150);
  EXPECT_EQ(PlotPixelY(b, 5, 100), 25);
  EXPECT_EQ(PlotPixelX({1, 1, 1, 1}, 5, 200), 0);
  EXPECT_EQ(PlotPixelY({1, 1, 1, 1}, 5, 100), 0);
}

TEST(PlotView, PanZoomAndCentre) {
  const TPlotBounds b{-10, -10, 10, 10};
  EXPECT_EQ(PanBounds(b, 20, 0, 200, 100), (TPlotBounds{-12, -10, 8, 10}));
  EXPECT_EQ(PanBounds(b, 0, 10, 200, 100), (TPlotBounds{-10, -8, 10, 12}));
  const TPlotBounds in = ZoomBounds(b, 0, 0, 2.0 / 3);
  EXPECT_NEAR(in.MaxX, 6.6667, 1e-4);
  EXPECT_NEAR(in.MinY, -6.6667, 1e-4);
  const TPlotBounds back = ZoomBounds(in, 0, 0, 1.5);
  EXPECT_NEAR(back.MinX, -10, 1e-9);
  EXPECT_NEAR(back.MaxY, 10, 1e-9);
  EXPECT_EQ(CentreBounds({-3, 2, 9, 8}), (TPlotBounds{-6, -3, 6, 3}));
  EXPECT_EQ(CentreBounds({-1, 0, 1, 0.4}), (TPlotBounds{-1, 0, 1, 0.4}));
}

TEST(PlotView, ViewStaysWithinWhatTheSpinEditsShow) {
  // A pan never leaves the spin edits' ranges and keeps the view's width.
  const TPlotBounds panned = PanBounds({-10, -10, 10, 10}, -400, 0, 200, 100);
  EXPECT_EQ(panned.MinX, -1);
  EXPECT_EQ(panned.MaxX - panned.MinX, 20);
  const TPlotBounds far = ZoomBounds({-65535, -65535, 65535, 65535}, 0, 0, 1.5);
  EXPECT_EQ(far, (TPlotBounds{-65535, -65535, 65535, 65535}));
  const TPlotBounds fixed = LimitBounds({NAN, 5, 0.5, 5});
  EXPECT_EQ(fixed.MinX, -65535);
  EXPECT_EQ(fixed.MaxX, 1);
  EXPECT_GT(fixed.MaxY, fixed.MinY);
}

TEST(PlotView, StepFollowsTheRangeAndPaintsAreBounded) {
  EXPECT_DOUBLE_EQ(StepForRange({-10, -10, 10, 10}, 100), 0.2);
  EXPECT_DOUBLE_EQ(StepForRange({-65535, -1, 65535, 1}, 65535), 2);
  EXPECT_DOUBLE_EQ(PaintStep({-10, -10, 10, 10}, 0.2), 0.2);
  EXPECT_DOUBLE_EQ(PaintStep({-65535, -1, 65535, 1}, 0.002), 131070.0 / kMaxPlotPoints);
  EXPECT_DOUBLE_EQ(PaintStep({-1, -1, 1, 1}, 0), 2.0 / kMaxPlotPoints);
}

}  // namespace
