// One redraw of the chart window, as on every keystroke: the chart data of a
// four-rod page (its sweep), the layout and the bitmap at 1x, at the window's
// opening size; and the same at 2x.

#include <benchmark/benchmark.h>

#include "chart/ChartData.h"
#include "chart/PlanDrawing.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"

namespace {

using namespace tiecalc;

CFourRodParallelPage& Page() {
  static CFourRodParallelPage* page = [] {
    auto* p = new CFourRodParallelPage;
    p->Create();
    const std::pair<int, const char*> texts[] = {
        {CFourRodPage::kA, "800"},    {CFourRodPage::kB, "800"},    {CFourRodPage::kC, "800"},
        {CFourRodPage::kD, "800"},    {CFourRodParallelPage::kE, "800"},        {CFourRodParallelPage::kF, "800"},
        {CFourRodPage::kX1, "3000"},  {CFourRodPage::kX2, "3000"},  {CFourRodPage::kX3, "1200"},
        {CFourRodPage::kX4, "1200"},  {CFourRodPage::kY1, "4000"},  {CFourRodPage::kY2, "4000"},
        {CFourRodPage::kR, "100"},    {CFourRodPage::kM, "300"},    {CFourRodPage::kTheta, "30"}};
    for (const auto& [id, text] : texts) p->UserType(id, text);
    return p;
  }();
  return *page;
}

// The window keeps its bitmap from one redraw to the next.
void Redraw(benchmark::State& state, double scale) {
  const CFourRodParallelPage& page = Page();
  ChartBitmap bitmap;
  for (auto _ : state) {
    const ChartScene scene = LayOutForceChart(ChartDataOf(page.Record()), 648, 418);
    DrawChart(scene, scale, bitmap);
    benchmark::DoNotOptimize(bitmap.pixels.data());
  }
}

// The calculation book's figures of the same page: its force chart and its
// plan to scale, laid out and encoded as PNG at 150 dpi across 14.5 cm.
void BM_BookChartPng(benchmark::State& state) {
  const ForceChartData data = ChartDataOf(Page().Record());
  for (auto _ : state) benchmark::DoNotOptimize(ChartPng(LayOutForceChart(data, 548, 330), 150.0 / 96.0));
}
void BM_BookPlanLayout(benchmark::State& state) {
  const ForcePageRecord record = Page().Record();
  for (auto _ : state) benchmark::DoNotOptimize(LayOutPlanDrawing(record, 548, 400, 145));
}
void BM_BookPlanPng(benchmark::State& state) {
  const ChartScene scene = LayOutPlanDrawing(Page().Record(), 548, 400, 145);
  for (auto _ : state) benchmark::DoNotOptimize(ChartPngPrinted(scene, 145, 150));
}
BENCHMARK(BM_BookChartPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookPlanLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookPlanPng)->Unit(benchmark::kMillisecond);

void BM_FourRodChartRedraw1x(benchmark::State& state) { Redraw(state, 1.0); }
void BM_FourRodChartRedraw2x(benchmark::State& state) { Redraw(state, 2.0); }

}  // namespace

BENCHMARK(BM_FourRodChartRedraw1x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourRodChartRedraw2x)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
