// Speed of the calculator's formulas: parsing, and evaluating a parsed formula over and over as
// the plotter does for each point (items per second).
#include <benchmark/benchmark.h>

#include "tools/expression_parser.h"

namespace {

constexpr const char* kFormula = "sin(x)*exp(0-x/10)+sqr(x/3)-2^(x div 4)+ln(x+1)";

void BM_ParseFormula(benchmark::State& state) {
  TParser parser;
  parser.RegisterDefaults();
  parser.AddVariable("x");
  for (auto _ : state) {
    int error = 0;
    benchmark::DoNotOptimize(parser.Parse(kFormula, error));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseFormula);

// One plot: 100,000 points of the formula, parsed once.
void BM_PlotPoints(benchmark::State& state) {
  SetAngleUnit(1);
  TParser parser;
  parser.RegisterDefaults();
  TVarDef& x = parser.AddVariable("x");
  int error = 0;
  const auto tree = parser.Parse(kFormula, error);
  constexpr int kPoints = 100'000;
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i < kPoints; ++i) {
      x.Value = i * 0.001;
      sum += tree->Evaluate();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PlotPoints);

} // namespace
