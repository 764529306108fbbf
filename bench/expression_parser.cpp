// Speed of the calculator's formulas: parsing, and evaluating a parsed formula over and over as
// the plotter does for each point (items per second).
#include <benchmark/benchmark.h>

#include <string>

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

// Long formulas, whose parsing must grow linearly with their length (the argument, in characters):
// a valid sum of a million terms, deep brackets, and chains of signs that cannot parse.
std::string LongFormula(int kind, size_t length) {
  std::string text;
  switch (kind) {
  case 0:  // 1+1+1+...+1
    while (text.size() + 2 < length) text += "1+";
    return text + "1";
  case 1:  // ((((...1...))))
    return std::string(length / 2, '(') + "1" + std::string(length / 2, ')');
  case 2:  // 1+-+-+-...-1
    text = "1";
    while (text.size() + 2 < length) text += "+-";
    return text + "1";
  default:  // ------...1
    return std::string(length - 1, '-') + "1";
  }
}

void BM_ParseLong(benchmark::State& state, int kind) {
  TParser parser;
  parser.RegisterDefaults();
  const std::string formula = LongFormula(kind, size_t(state.range(0)));
  for (auto _ : state) {
    int error = 0;
    const auto tree = parser.Parse(formula, error);
    if ((error == 0) != (kind < 2) || (tree && tree->Evaluate() != (kind == 0 ? double(formula.size() / 2 + 1) : 1)))
      state.SkipWithError("wrong result");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK_CAPTURE(BM_ParseLong, Sum, 0)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseLong, Brackets, 1)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseLong, SignChain, 2)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseLong, Minuses, 3)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
