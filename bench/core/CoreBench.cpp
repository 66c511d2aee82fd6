// Costs of the calculations behind one input change and one sweep export.
#include <benchmark/benchmark.h>

#include <string>

#include "core/analysis/FourRodLayout.h"
#include "core/analysis/ThreeRod.h"
#include "core/input/FieldText.h"

namespace tiecalc {
namespace {

void BM_EvaluateFieldText(benchmark::State& state) {
  const std::string text = "sqrt（1500×1500+900*900）-2*450";
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateFieldText(text));
}
BENCHMARK(BM_EvaluateFieldText);

ThreeRodInput ThreeRodExample() {
  ThreeRodInput in;
  in.A = in.B = in.C = in.D = 900;
  in.X1 = in.X2 = 3000;
  in.X3 = 1500;
  in.H = 5000;
  in.R = 100;
  in.M = 200;
  in.Theta = 30;
  return in;
}

void BM_SolveThreeRod(benchmark::State& state) {
  ThreeRodInput in = ThreeRodExample();
  for (auto _ : state) {
    benchmark::DoNotOptimize(in);
    benchmark::DoNotOptimize(SolveThreeRod(in));
  }
}
BENCHMARK(BM_SolveThreeRod);

void BM_ThreeRodSweep360(benchmark::State& state) {
  const ThreeRodInput in = ThreeRodExample();
  for (auto _ : state) {
    const ThreeRodGeometry g = ThreeRodGeometryOf(in, ThreeRodAnglesOf(in));
    for (int t = 0; t < 360; ++t) benchmark::DoNotOptimize(ThreeRodForcesAt(g, in.R, in.M, t));
  }
}
BENCHMARK(BM_ThreeRodSweep360);

void BM_FourRodPrepareAndSweep360(benchmark::State& state) {
  FourRodLayoutI geo;
  geo.A = geo.B = geo.C = geo.D = geo.E = geo.F = 800;
  geo.X1 = geo.X2 = 3000;
  geo.X3 = geo.X4 = 1200;
  geo.Y1 = geo.Y2 = 4000;
  const FourRodAngles a = FourRodAnglesOf(geo);
  const FourRodGeometry g = FourRodGeometryOf(geo, a);
  const Rod4 L = FourRodLengthsOf(geo, a);
  const Rod4 E = {206, 206, 206, 206}, S = {2000, 2000, 2000, 2000};
  for (auto _ : state) {
    benchmark::DoNotOptimize(g);
    const FourRodCoefficients k = PrepareFourRod(g, L, E, S);
    for (int t = 0; t < 360; ++t) benchmark::DoNotOptimize(FourRodForcesAt(k, 100, 300, t));
  }
}
BENCHMARK(BM_FourRodPrepareAndSweep360);

void BM_FourRodPage(benchmark::State& state) {
  FourRodLayoutII geo;
  geo.A = geo.B = 900;
  geo.C = 300;
  geo.D = 1000;
  geo.E = 300;
  geo.F = 100;
  geo.G = 300;
  geo.H = 1000;
  geo.X1 = geo.X2 = 3500;
  geo.X3 = geo.X4 = 1500;
  geo.Y1 = geo.Y2 = 4500;
  const Rod4 E = {206, 206, 206, 206}, S = {2000, 2000, 2000, 2000};
  for (auto _ : state) {
    benchmark::DoNotOptimize(geo);
    const FourRodAngles a = FourRodAnglesOf(geo);
    benchmark::DoNotOptimize(
        SolveFourRodPage(FourRodGeometryOf(geo, a), FourRodLengthsOf(geo, a), E, S, 100, 300, 30));
  }
}
BENCHMARK(BM_FourRodPage);

}  // namespace
}  // namespace tiecalc

BENCHMARK_MAIN();
