#pragma once
// The chart's drawing library (cairo, pango and the fonts behind them) is
// most of what a program linking it loads at its start, and most of the
// programs' runs never draw a chart. So the layout and drawing live in a
// module of their own, libtiecalc-chart.so, loaded at the first chart; the
// functions of ForceChart.h that need it call into it through this table.

#include <string>

#include "chart/ForceChart.h"

namespace tiecalc {

struct ChartDrawing {
  ChartScene (*layOut)(const ForceChartData& data, double width, double height, const ChartState& state);
  void (*draw)(const ChartScene& scene, double scale, ChartBitmap& bitmap);
  std::string (*png)(const ChartScene& scene, double scale);
};

// The module's one exported symbol: a function returning its table.
inline constexpr const char* kChartDrawingEntry = "tiecalc_chart_drawing_v1";

}  // namespace tiecalc
