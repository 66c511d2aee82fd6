#pragma once
// The force chart: each rod's axial force against the direction θ of R,
// 0° to 360°, tension up, with the zero line, the current θ, and each rod's
// two extreme forces of the page marked with their values.
//
// The chart is laid out once, as a scene of lines, paths, marks and texts in
// the chart's own units (pixels at 1x), and the scene is then drawn - by cairo
// with pango for the Chinese texts on Linux, by QPainter on Windows
// (ChartDrawing.h) - into a bitmap - the window, the PNG files, the report
// figure - or written as SVG, where each rod's curve is one <path> with id
// "rodN" and its label as <title>, so that scripts can find it. Nothing here
// needs a window.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/analysis/ForceSweep.h"

namespace tiecalc {

// One marked extreme: the force and the direction of R where it occurs.
struct ChartExtreme {
  double theta = 0.0;  // degrees, as the page shows it (may be negative)
  double force = 0.0;  // kN
  std::string label;   // the value as the page shows it
};

struct ForceChartData {
  ForceSweep sweep;                               // θ = 0..360
  std::vector<std::vector<ChartExtreme>> extremes;  // per rod, as many as the page gives
  double theta = 0.0;                              // the page's θ
};

// How the chart is shown: greyed curves with a status text over them stand
// for the last valid results while the inputs are invalid.
struct ChartState {
  bool greyed = false;
  std::string status;
};

// ---- the scene ---------------------------------------------------------------

struct ChartColour {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const ChartColour&) const = default;
};

struct ChartStroke {
  ChartColour colour;
  double width = 1.0;
  std::vector<double> dash;  // on, off, ...; empty: solid
};

struct ChartPoint {
  double x = 0.0, y = 0.0;
};

struct SceneLine {
  ChartPoint from, to;
  ChartStroke stroke;
};

// A curve: one or more runs of points (a gap where a force is not finite).
struct ScenePath {
  std::string id, title;
  std::vector<std::vector<ChartPoint>> runs;
  ChartStroke stroke;
};

enum class MarkShape { Circle, Square, Triangle, Diamond };

struct SceneMark {
  ChartPoint at;
  MarkShape shape = MarkShape::Circle;
  double size = 4.0;  // half the width
  ChartColour colour;
};

enum class TextAnchor { Start, Middle, End };

struct SceneText {
  ChartPoint at;  // on the baseline
  std::string text;
  double size = 12.0;  // pixels
  ChartColour colour;
  TextAnchor anchor = TextAnchor::Start;
  bool vertical = false;  // turned a quarter anticlockwise about `at`
};

struct SceneRect {
  ChartPoint at;
  double width = 0.0, height = 0.0;
  ChartColour fill;
  double opacity = 1.0;
  bool outline = false;
};

// The corners of a mark's polygon; none for a circle.
std::vector<ChartPoint> MarkOutline(const SceneMark& mark);

using SceneItem = std::variant<SceneLine, ScenePath, SceneMark, SceneText, SceneRect>;

struct ChartScene {
  double width = 0.0, height = 0.0;
  std::vector<SceneItem> items;  // in drawing order, over a white ground
  // Where θ and F land: x = x0 + θ * sx, y = y0 - F * sy.
  double x0 = 0.0, sx = 1.0, y0 = 0.0, sy = 1.0;
};

// The label of rod i (0-based): "杆1", ...
std::string RodLabel(int rod);

// Lays the chart out on width x height (pixels at 1x).
ChartScene LayOutForceChart(const ForceChartData& data, double width, double height, const ChartState& state = {});

// ---- drawing -------------------------------------------------------------------

// A bitmap of the scene drawn at scale (device pixels per chart pixel):
// 32-bit premultiplied ARGB words in native byte order, row after row.
struct ChartBitmap {
  int width = 0, height = 0;
  int stride = 0;  // bytes per row
  std::vector<unsigned char> pixels;
};

ChartBitmap DrawChart(const ChartScene& scene, double scale);
// The same into bitmap, reusing its storage.
void DrawChart(const ChartScene& scene, double scale, ChartBitmap& bitmap);
// PNG bytes of the scene drawn at scale.
std::string ChartPng(const ChartScene& scene, double scale);
// Device pixels per chart unit of a picture width chart units wide, printed
// printedWidth mm wide at dpi dots per inch.
inline double PrintedScale(double width, double printedWidth, double dpi) { return printedWidth / 25.4 * dpi / width; }
// PNG bytes of a scene printed printedWidth mm wide at dpi dots per inch.
std::string ChartPngPrinted(const ChartScene& scene, double printedWidth, double dpi);

// What ChartPng gives for a scene of width x height at scale, known before
// it is drawn: the pixel size and the resolution the PNG states (pixels per
// metre, 0 for none), which together fix a figure's printed size.
struct ChartPngFormat {
  int width = 0, height = 0;
  int dotsPerMetre = 0;
};
ChartPngFormat ChartPngFormatOf(double width, double height, double scale);

// Loads the drawing and looks up its fonts, the first chart's slowest part
// (on Linux the module with cairo and pango, and fontconfig's fonts), so
// that a program about to draw a chart can do it on another thread while it
// reads its case and computes. Throws what loading throws; the chart itself
// then tries again.
void PrepareChartDrawing();
// SVG text of the scene.
std::string ChartSvg(const ChartScene& scene);

}  // namespace tiecalc
