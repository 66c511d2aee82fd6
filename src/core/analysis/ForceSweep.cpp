#include "core/analysis/ForceSweep.h"

#include <cmath>

namespace tiecalc {

ForceSweep SweepThreeRod(const ThreeRodGeometry& g, double R, double M, int lastTheta) {
  ForceSweep s;
  s.rods = 3;
  for (int theta = 0; theta <= lastTheta; ++theta) {
    const ThreeRodForces f = ThreeRodForcesAt(g, R, M, static_cast<double>(theta));
    ForceSweep::Point p;
    p.theta = theta;
    p.forces.F = {f.F1, f.F2, f.F3, 0.0};
    p.forces.Fx = {f.F1x, f.F2x, f.F3x, 0.0};
    p.forces.Fy = {f.F1y, f.F2y, f.F3y, 0.0};
    s.points.push_back(p);
  }
  return s;
}

ForceSweep SweepFourRod(const FourRodCoefficients& k, double R, double M, int lastTheta) {
  ForceSweep s;
  s.rods = 4;
  for (int theta = 0; theta <= lastTheta; ++theta)
    s.points.push_back({theta, FourRodForcesAt(k, R, M, static_cast<double>(theta))});
  return s;
}

bool IsDefined(const ForceSweep& sweep) {
  const size_t rods = static_cast<size_t>(sweep.rods);
  for (const ForceSweep::Point& p : sweep.points)
    for (size_t i = 0; i < rods; ++i)
      if (!std::isfinite(p.forces.F[i]) || !std::isfinite(p.forces.Fx[i]) || !std::isfinite(p.forces.Fy[i]))
        return false;
  return true;
}

}  // namespace tiecalc
