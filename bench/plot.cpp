// Speed of the plotter: one paint of a 100,000-point graph (evaluation, mapping and drawing)
// into a bitmap, points per second.
#include <benchmark/benchmark.h>

#include "platform/gui/application.h"
#include "platform/gui/graphics.h"
#include "tools/expression_parser.h"
#include "tools/func_plotter.h"

namespace {

void BM_PlotPaint(benchmark::State& state) {
  EnsureGuiApplication();
  SetAngleUnit(1);
  TFuncPlotter plotter(nullptr);
  plotter.SetFormula("sin(x)*exp(0-x/10)+sqr(x/3)-2^(x div 4)+ln(x+1)");
  const TPlotBounds view{-1, -10, 99, 10};
  constexpr int kPoints = 100'000;
  plotter.SetView(view);
  plotter.SetStep((view.MaxX - view.MinX) / kPoints);
  TBitmap bitmap;
  bitmap.SetSize(800, 600);
  for (auto _ : state) plotter.PaintTo(*bitmap.Canvas(), 800, 600);
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PlotPaint)->Unit(benchmark::kMillisecond);

}  // namespace
