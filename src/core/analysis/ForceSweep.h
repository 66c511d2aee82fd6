#pragma once
// The θ-sweep of a frame: every rod's force and its components for R turned
// through whole degrees, 0, 1, ..., last. The sweep tables and the force
// chart are made from the same sweep, so they show the same numbers.

#include <vector>

#include "core/analysis/FourRod.h"
#include "core/analysis/ThreeRod.h"

namespace tiecalc {

struct ForceSweep {
  int rods = 0;  // 3 or 4; the arrays use the first `rods` entries
  struct Point {
    int theta = 0;  // degrees
    FourRodForces forces;
  };
  std::vector<Point> points;  // theta = 0, 1, ..., last
};

// Unrounded forces, R in kN, M in kN*m.
ForceSweep SweepThreeRod(const ThreeRodGeometry& g, double R, double M, int lastTheta);
ForceSweep SweepFourRod(const FourRodCoefficients& k, double R, double M, int lastTheta);

// Every force and component of the sweep is a number (a degenerate frame
// gives inf or nan, which no table, chart or report may show).
bool IsDefined(const ForceSweep& sweep);

}  // namespace tiecalc
