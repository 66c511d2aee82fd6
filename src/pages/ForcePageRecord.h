#pragma once
// What a force page computed, as values: the layout and its name, the inputs
// labelled as the reports and the exports print them, each rod's angle,
// length and extreme forces, and the θ-sweep. The exports, the chart, the
// reports, the calculation book and the 轴力取自 link all read a page through
// its record, never through its controls.

#include <array>
#include <string>
#include <vector>

#include "core/analysis/ForceSweep.h"

namespace tiecalc {

// The three force pages.
enum class ForceLayout {
  ThreeRod,
  FourRodParallel,  // four rods, frame edges parallel to the building face
  FourRodTurned,    // four rods, frame turned to the building face
};

// The sweep tables stop at 359°, the chart closes the circle at 360°: the
// record's sweep runs to the chart's end.
inline constexpr int kTableLastTheta = 359;
inline constexpr int kChartLastTheta = 360;

// An input of the page with its short label and unit ("A", "mm").
struct LabelledValue {
  std::string label;
  double value = 0.0;
  std::string unit;
};

// One rod's two extreme forces over every direction of R and the directions
// at which they occur, as the page shows them: rounded to two decimals, and
// their texts.
struct RodExtremes {
  std::array<double, 2> forces{};  // kN
  std::array<double, 2> angles{};  // degrees, -180..540
  std::array<std::string, 2> forceTexts;
  std::array<std::string, 2> angleTexts;

  // "F/F'" and "θ/θ'" as the page's extreme fields show them.
  std::string ForcePair() const { return forceTexts[0] + "/" + forceTexts[1]; }
  std::string AnglePair() const { return angleTexts[0] + "/" + angleTexts[1]; }
  // Which of the two is the larger force (the largest tension, where the
  // rod is ever pulled); the other is the largest compression.
  size_t Larger() const { return forces[1] > forces[0] ? 1 : 0; }
};

// The extremes of unrounded forces and angles as a page shows them.
RodExtremes ShownExtremes(const std::array<double, 2>& forces, const std::array<double, 2>& angles);

struct RodRecord {
  double angle = 0.0;   // degrees, rounded
  double length = 0.0;  // mm, rounded: the length the forces were solved with
  std::string lengthText;  // as the length field shows it (as typed, in manual mode)
  RodExtremes extremes;
};

struct ForcePageRecord {
  ForceLayout layout = ForceLayout::ThreeRod;
  std::string name;  // "三杆附着", "四杆附着(一)", "四杆附着(二)"
  // The inputs can be calculated: the results below are theirs. Otherwise
  // they are those of the last valid calculation (zeros before one) and the
  // sweep has no points.
  bool valid = false;
  // The inputs but θ, in the page's order: the dimensions, R, M, and on the
  // four-rod pages E1..E4 and S1..S4.
  std::vector<LabelledValue> parameters;
  double R = 0.0, M = 0.0, theta = 0.0;  // kN, kN·m, degrees
  std::vector<RodRecord> rods;
  // Every rod's force at θ = 0..kChartLastTheta from the stored angles and
  // lengths, unrounded.
  ForceSweep sweep;
};

}  // namespace tiecalc
