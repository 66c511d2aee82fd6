#pragma once
// Three-rod attachment frame: a statically determinate frame, each rod force
// from one equilibrium equation.
//
// Frame of the formulas: origin at the mast centre, u along the wall towards
// rod 1's side, v towards the wall. Rod 1 runs from (A, B) to (X1, H), rod 2
// from (C - D, B) to (X1 - X3, H), rod 3 from (-D, B) to (-X2, H). Moments
// about Q (rods 2 and 3 meet) give F1, moments about P (rods 1 and 2 meet)
// give F3, the balance across the wall gives F2. Forces in kN, tension
// positive; M in kN*m, positive clockwise in the page diagram.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/input/FieldText.h"

namespace tiecalc {

// The eleven inputs of the three-rod page (mm, kN, kN*m, degrees).
struct ThreeRodInput {
  double A = 0.0;
  double B = 0.0;
  double C = 0.0;
  double D = 0.0;
  double X1 = 0.0;
  double X2 = 0.0;
  double X3 = 0.0;
  double H = 0.0;
  double R = 0.0;
  double M = 0.0;
  double Theta = 0.0;
};

// A > 0, B > 0, 0 <= C <= 2A, D >= 0, X1 > 0, X2 > 0, 0 <= X3 <= X1 + X2,
// H > B, and R, M, Theta finite. A not-a-number fails every condition.
bool IsThreeRodInputValid(const ThreeRodInput& in);
// The conditions of IsThreeRodInputValid that in breaks, each with the
// inputs it involves; empty exactly when in is valid.
std::vector<BrokenRule> BrokenThreeRodRules(const ThreeRodInput& in);

// Rod angles to the wall line (degrees), rounded with Round2.
struct ThreeRodAngles {
  double Alpha = 0.0;
  double Beta = 0.0;
  double Gamma = 0.0;
};

// The rounded angles of the rods of in.
ThreeRodAngles ThreeRodAnglesOf(const ThreeRodInput& in);

// What the forces need of the geometry, derived once per calculation.
struct ThreeRodGeometry {
  double Alpha = 0.0, Beta = 0.0, Gamma = 0.0;  // rounded angles, degrees
  double tAlpha = 0.0, tBeta = 0.0, tGamma = 0.0;
  double xP = 0.0, yP = 0.0;  // rods 1 and 2 meet at P
  double s3 = 0.0;            // rod 3's line passes through (-s3, yP)
  double q = 0.0, yQ = 0.0;   // rods 2 and 3 meet at Q = (-q, yQ)
  double x1Q = 0.0;           // u of rod 1's line at the height yQ
  double d1 = 0.0;            // lever arm of F1 about Q, along u
  double d3 = 0.0;            // lever arm of F3 about P, along u
  double K = 0.0;             // d1*d3 - d3*q - d1*xP
};

// The geometry from the dimensions of in (R, M, Theta are not used) and the
// given rounded angles: the sweep export passes the angles the page stored.
ThreeRodGeometry ThreeRodGeometryOf(const ThreeRodInput& in, const ThreeRodAngles& angles);

// How far the third rod may miss the point where the other two meet and the
// frame still count as three rods meeting in one point, as a part of the
// distance from that point to the farthest rod end, judged in the model's
// own numbers. A symmetric frame that meets in one point (rod 2 upright,
// rods 1 and 3 mirror images) still does at the rounded angles, but for
// the model's 3.1416, which tilts the upright rod: it misses by up to about
// 3e-5. An unsymmetric frame moves by up to about 3e-4 as the angles are
// rounded to 0.01 degree; a wider tolerance would catch all of those too,
// but it would also refuse about one valid frame in a hundred that merely
// comes close (and gave forces hundreds of times the load before): 1e-4
// refuses about one in two thousand.
inline constexpr double kConcurrencyTolerance = 1e-4;

// The rules a frame that passes IsThreeRodInputValid breaks when the model,
// at the rounded angles of g, cannot give its forces: rods 1 and 2 parallel
// (equal rounded angles: P does not exist), or the three lines meeting in
// one point (within kConcurrencyTolerance, judged at Q for rod 1 and at P
// for rod 3), where no forces balance a load. Each names the inputs that
// place the rods.
std::vector<BrokenRule> DegenerateThreeRodRules(const ThreeRodInput& in, const ThreeRodGeometry& g);

// Rod forces and their components along (x) and across (y) the wall.
struct ThreeRodForces {
  double F1 = 0.0, F2 = 0.0, F3 = 0.0;
  double F1x = 0.0, F1y = 0.0;
  double F2x = 0.0, F2y = 0.0;
  double F3x = 0.0, F3y = 0.0;
};

// Forces for R (kN) in the direction theta (degrees) and the torque M (kN*m),
// unrounded. Cheap: a handful of sines and cosines, for the 360-row sweep.
ThreeRodForces ThreeRodForcesAt(const ThreeRodGeometry& g, double R, double M, double theta);

// What the page shows after a valid calculation.
struct ThreeRodResult {
  double Alpha = 0.0, Beta = 0.0, Gamma = 0.0;  // Round2
  double L1 = 0.0, L2 = 0.0, L3 = 0.0;          // Round2
  ThreeRodForces Forces;                        // at Theta, each through Round2
  // Extreme force pairs "%.2f/%.2f" (kN) and the directions of R at which
  // they occur (degrees), from unrounded values.
  std::string F1m, F2m, F3m;
  std::string Theta1, Theta2, Theta3;
  // The same pairs as numbers, rod by rod, in the order of the texts.
  std::array<std::array<double, 2>, 3> ExtremeForces{};
  std::array<std::array<double, 2>, 3> ExtremeAngles{};
};

// The whole calculation; nullopt when IsThreeRodInputValid fails.
std::optional<ThreeRodResult> SolveThreeRod(const ThreeRodInput& in);

}  // namespace tiecalc
