// The force chart's layout: axes, grid, legend, curves, the marked extremes
// and their labels, placed from the data and the texts' widths as the
// drawing in use measures them (ChartDrawing.h).

#include "chart/ChartDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

namespace {

// Colours that stay apart on screen and in print, each with its own dash
// pattern and mark, so that the rods stay apart in greyscale too.
struct RodLook {
  ChartColour colour;
  std::vector<double> dash;
  MarkShape mark;
};
const std::array<RodLook, 4> kRodLooks = {{
    {{0x0b, 0x3c, 0x8c}, {}, MarkShape::Circle},            // dark blue, solid
    {{0xd5, 0x5e, 0x00}, {9, 4}, MarkShape::Square},        // vermilion, long dashes
    {{0x00, 0x8c, 0x5a}, {9, 3, 2, 3}, MarkShape::Triangle},  // green, dash-dot
    {{0xa8, 0x2c, 0x8c}, {2, 3}, MarkShape::Diamond},       // purple, dotted
}};
constexpr ChartColour kBlack{0, 0, 0};
constexpr ChartColour kGrid{0xe2, 0xe2, 0xe2};
constexpr ChartColour kGrey{0xb4, 0xb4, 0xb4};
constexpr ChartColour kThetaLine{0x70, 0x70, 0x70};

constexpr double kTickSize = 12.0;
constexpr double kLabelSize = 11.0;
constexpr double kTitleSize = 13.0;

constexpr const char* kXTitle = "θ (°)";
constexpr const char* kYTitle = "轴力 (kN)";
constexpr const char* kNote = "正值为拉力,负值为压力";
constexpr const char* kMarksNote = "标记点为各杆极值(已考虑M正负向)";

// ---- axes ----

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals.
double NiceStep(double span, int count) {
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (raw <= m * power * 1.0000001) return m * power;
  return 10.0 * power;
}

std::string TickText(double value, double step) {
  int decimals = 0;
  while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9)
    ++decimals;
  if (std::fabs(value) < step * 1e-9) value = 0.0;
  return FormatFixed(value, decimals);
}

double Wrap360(double theta) {
  double t = std::fmod(theta, 360.0);
  if (t < 0) t += 360.0;
  return t;
}

// An angle as an engineer writes it: whole degrees without decimals.
std::string AngleText(double theta) {
  return std::fabs(theta - std::round(theta)) < 1e-9 ? FormatFixed(theta, 0) : FormatFixed(theta, 2);
}

}  // namespace

ChartScene LayOutForceChart(const ForceChartData& data, double width, double height, const ChartState& state,
                            ChartTextWidth textWidth) {
  ChartScene scene;
  scene.width = width;
  scene.height = height;
  const int rods = data.sweep.rods;

  // The force range: every finite force and extreme, and zero.
  double lo = 0.0, hi = 0.0;
  for (const ForceSweep::Point& p : data.sweep.points)
    for (int i = 0; i < rods; ++i)
      if (std::isfinite(p.forces.F[static_cast<size_t>(i)])) {
        lo = std::min(lo, p.forces.F[static_cast<size_t>(i)]);
        hi = std::max(hi, p.forces.F[static_cast<size_t>(i)]);
      }
  for (const auto& marks : data.extremes)
    for (const ChartExtreme& e : marks)
      if (std::isfinite(e.force)) lo = std::min(lo, e.force), hi = std::max(hi, e.force);
  if (hi - lo < 1e-9) lo = -1.0, hi = 1.0;
  const double pad = (hi - lo) * 0.08;  // room for the extremes' labels
  const double step = NiceStep(hi - lo + 2 * pad, 6);
  const double yLo = std::floor((lo - pad) / step) * step;
  const double yHi = std::ceil((hi + pad) / step) * step;

  // Margins from the texts they hold.
  double tickWidth = 0.0;
  for (double v = yLo; v <= yHi + step * 0.5; v += step) tickWidth = std::max(tickWidth, textWidth(TickText(v, step), kTickSize));
  const double left = 8 + kTitleSize + 8 + tickWidth + 6;
  const double right = 18.0;
  const double top = 30.0;     // the legend
  const double bottom = 62.0;  // tick texts, the axis title, the note
  const double plotW = std::max(10.0, width - left - right);
  const double plotH = std::max(10.0, height - top - bottom);
  scene.x0 = left;
  scene.sx = plotW / 360.0;
  scene.sy = plotH / (yHi - yLo);
  scene.y0 = top + yHi * scene.sy;
  auto X = [&](double theta) { return scene.x0 + theta * scene.sx; };
  auto Y = [&](double force) { return scene.y0 - force * scene.sy; };
  const double plotBottom = top + plotH;

  // Grid, axes and their texts.
  for (int t = 0; t <= 360; t += 30) {
    scene.items.push_back(SceneLine{{X(t), top}, {X(t), plotBottom}, {kGrid, 1.0, {}}});
    scene.items.push_back(SceneLine{{X(t), plotBottom}, {X(t), plotBottom + 4}, {kChartAxis, 1.0, {}}});
    scene.items.push_back(SceneText{{X(t), plotBottom + 18}, std::to_string(t), kTickSize, kBlack, TextAnchor::Middle});
  }
  for (double v = yLo; v <= yHi + step * 0.5; v += step) {
    scene.items.push_back(SceneLine{{left, Y(v)}, {left + plotW, Y(v)}, {kGrid, 1.0, {}}});
    scene.items.push_back(SceneLine{{left - 4, Y(v)}, {left, Y(v)}, {kChartAxis, 1.0, {}}});
    scene.items.push_back(
        SceneText{{left - 7, Y(v) + kTickSize * 0.36}, TickText(v, step), kTickSize, kBlack, TextAnchor::End});
  }
  scene.items.push_back(SceneRect{{left, top}, plotW, plotH, kChartWhite, 0.0, true});
  scene.items.push_back(SceneLine{{left, Y(0)}, {left + plotW, Y(0)}, {kBlack, 1.2, {}}});
  scene.items.push_back(
      SceneText{{left + plotW / 2, plotBottom + 36}, kXTitle, kTitleSize, kBlack, TextAnchor::Middle});
  scene.items.push_back(SceneText{{8 + kTitleSize, top + plotH / 2}, kYTitle, kTitleSize, kBlack, TextAnchor::Middle, true});
  scene.items.push_back(SceneText{{left, plotBottom + 56}, kNote, kLabelSize, kBlack, TextAnchor::Start});
  scene.items.push_back(SceneText{{left + plotW, plotBottom + 56}, kMarksNote, kLabelSize, kBlack, TextAnchor::End});

  // The current θ.
  const double thetaX = X(Wrap360(data.theta));
  scene.items.push_back(SceneLine{{thetaX, top}, {thetaX, plotBottom}, {kThetaLine, 1.2, {4, 3}}});
  const std::string thetaText = "θ=" + AngleText(data.theta) + "°";
  const double thetaW = textWidth(thetaText, kLabelSize);
  const bool thetaLeft = thetaX + 4 + thetaW > left + plotW;
  scene.items.push_back(SceneText{{thetaLeft ? thetaX - 4 : thetaX + 4, top + 13}, thetaText, kLabelSize, kThetaLine,
                                  thetaLeft ? TextAnchor::End : TextAnchor::Start});

  // The legend above the plot.
  double legendX = left;
  for (int i = 0; i < rods; ++i) {
    const RodLook& look = kRodLooks[static_cast<size_t>(i)];
    const ChartColour c = state.greyed ? kGrey : look.colour;
    scene.items.push_back(SceneLine{{legendX, top - 12}, {legendX + 30, top - 12}, {c, 2.0, look.dash}});
    scene.items.push_back(SceneMark{{legendX + 15, top - 12}, look.mark, 3.5, c});
    scene.items.push_back(SceneText{{legendX + 36, top - 12 + kTickSize * 0.36}, RodLabel(i), kTickSize, kBlack});
    legendX += 36 + textWidth(RodLabel(i), kTickSize) + 22;
  }

  // The curves.
  for (int i = 0; i < rods; ++i) {
    const RodLook& look = kRodLooks[static_cast<size_t>(i)];
    ScenePath path{"rod" + std::to_string(i + 1), RodLabel(i), {}, {state.greyed ? kGrey : look.colour, 2.0, look.dash}};
    std::vector<ChartPoint> run;
    for (const ForceSweep::Point& p : data.sweep.points) {
      const double f = p.forces.F[static_cast<size_t>(i)];
      if (std::isfinite(f)) {
        run.push_back({X(p.theta), Y(f)});
      } else if (!run.empty()) {
        path.runs.push_back(std::move(run));
        run.clear();
      }
    }
    if (!run.empty()) path.runs.push_back(std::move(run));
    scene.items.push_back(std::move(path));
  }

  // The extremes, each labelled with its value above (tension) or below
  // (compression) its mark, moved off labels placed before it.
  std::vector<ChartBox> placed;
  for (int i = 0; i < rods && i < static_cast<int>(data.extremes.size()); ++i) {
    const RodLook& look = kRodLooks[static_cast<size_t>(i)];
    const ChartColour c = state.greyed ? kGrey : look.colour;
    for (const ChartExtreme& e : data.extremes[static_cast<size_t>(i)]) {
      if (!std::isfinite(e.force) || !std::isfinite(e.theta)) continue;
      const ChartPoint at{X(Wrap360(e.theta)), Y(e.force)};
      scene.items.push_back(SceneMark{at, look.mark, 4.0, c});
      const double w = textWidth(e.label, kLabelSize);
      const double h = kLabelSize + 2;
      double cx = std::clamp(at.x, left + w / 2 + 2, left + plotW - w / 2 - 2);
      const double dir = e.force >= 0 ? -1.0 : 1.0;
      double baseline = e.force >= 0 ? at.y - 7 : at.y + 7 + kLabelSize * 0.8;
      ChartBox box{cx - w / 2, baseline - kLabelSize * 0.8, cx + w / 2, baseline - kLabelSize * 0.8 + h};
      for (int tries = 0; tries < 6; ++tries) {
        bool clash = false;
        for (const ChartBox& b : placed) clash = clash || box.Overlaps(b);
        if (!clash) break;
        baseline += dir * h;
        box.top += dir * h;
        box.bottom += dir * h;
      }
      placed.push_back(box);
      scene.items.push_back(SceneText{{cx, baseline}, e.label, kLabelSize, c, TextAnchor::Middle});
    }
  }

  // The status over greyed curves.
  if (!state.status.empty()) {
    const double w = textWidth(state.status, kTitleSize) + 24;
    const double h = kTitleSize + 16;
    const ChartPoint centre{left + plotW / 2, top + plotH / 2};
    scene.items.push_back(SceneRect{{centre.x - w / 2, centre.y - h / 2}, w, h, kChartWhite, 0.9, true});
    scene.items.push_back(
        SceneText{{centre.x, centre.y + kTitleSize * 0.36}, state.status, kTitleSize, kBlack, TextAnchor::Middle});
  }
  return scene;
}

}  // namespace tiecalc
