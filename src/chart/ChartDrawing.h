#pragma once
// The chart's drawings behind ForceChart.h. The layout (ChartLayout.cpp) is
// the same everywhere; it measures its texts through the drawing in use,
// which then draws the scene with the same fonts:
// - on Linux, cairo and pango (CairoDrawing.cpp). They and the fonts behind
//   them are most of what a program linking them loads at its start, and most
//   of the programs' runs never draw a chart, so that drawing is a module of
//   its own, libtiecalc-chart.so, loaded at the first chart;
// - on Windows, where there is no cairo, QPainter (QtDrawing.cpp), linked in.
//   Linux builds it too, for the test that holds the two drawings together,
//   and takes it instead of cairo with -DTIECALC_CHART_QPAINTER=ON.

#include <algorithm>
#include <cmath>
#include <string>

#include "chart/ForceChart.h"

namespace tiecalc {

// The advance width of text at size pixels in the chart's fonts, at 1x.
using ChartTextWidth = double (*)(const std::string& text, double size);

struct ChartDrawing {
  ChartTextWidth textWidth;
  void (*draw)(const ChartScene& scene, double scale, ChartBitmap& bitmap);
  std::string (*png)(const ChartScene& scene, double scale);
};

// The module's one exported symbol: a function returning its table.
inline constexpr const char* kChartDrawingEntry = "tiecalc_chart_drawing_v2";

// The QPainter drawing (QtDrawing.cpp, where the build has it).
const ChartDrawing& QtChartDrawing();

// The chart laid out with its texts measured by textWidth.
ChartScene LayOutForceChart(const ForceChartData& data, double width, double height, const ChartState& state,
                            ChartTextWidth textWidth);

// ---- shared by the drawings ----

// The ground and the frame around the plot and the status; the marks' rim.
inline constexpr ChartColour kChartWhite{0xff, 0xff, 0xff};
inline constexpr ChartColour kChartAxis{0x40, 0x40, 0x40};

// A bitmap's side for a chart's side at scale.
inline int DevicePixels(double size, double scale) { return std::max(1, static_cast<int>(std::lround(size * scale))); }
// The resolution QPainter's PNG states (pixels per metre): the true one, a
// chart pixel being a 96th of an inch. cairo's PNG states none.
inline int QtPngDotsPerMetre(double scale) { return static_cast<int>(std::lround(96 * scale / 0.0254)); }

// A text's rectangle while the layouts place labels clear of each other.
struct ChartBox {
  double left, top, right, bottom;
  bool Overlaps(const ChartBox& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

// How far a text of that width starts left of its anchor point.
inline double AnchorShift(TextAnchor anchor, double width) {
  return anchor == TextAnchor::Start ? 0.0 : anchor == TextAnchor::Middle ? width / 2 : width;
}

}  // namespace tiecalc
