#include "core/analysis/ThreeRod.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/Angles.h"
#include "core/analysis/LoadRules.h"
#include "core/input/Format.h"

namespace tiecalc {

namespace {

// The R parts of the three force numerators at the direction t (degrees).
double P1(const ThreeRodGeometry& g, double R, double t) {
  return std::cos(Rad(t)) * (g.yQ * R) + std::sin(Rad(t)) * (g.q * R);
}
double P2(const ThreeRodGeometry& g, double R, double t) {
  return (std::sin(Rad(t)) * R) * g.K - (std::cos(Rad(t)) * R) * (g.d3 * g.yQ - g.d1 * g.yP);
}
double P3(const ThreeRodGeometry& g, double R, double t) {
  return std::sin(Rad(t)) * (g.xP * R) - std::cos(Rad(t)) * (g.yP * R);
}

// Denominators of the three forces.
double Den1(const ThreeRodGeometry& g) { return std::sin(Rad(g.Alpha)) * g.d1; }
double Den2(const ThreeRodGeometry& g) { return (std::sin(Rad(g.Beta)) * g.d1) * g.d3; }
double Den3(const ThreeRodGeometry& g) { return std::sin(Rad(g.Gamma)) * g.d3; }

std::string Pair(double a, double b) { return FormatFixed(a, 2) + "/" + FormatFixed(b, 2); }

}  // namespace

bool IsThreeRodInputValid(const ThreeRodInput& in) {
  return in.A > 0.0 && in.B > 0.0 && in.C >= 0.0 && in.C <= 2.0 * in.A && in.D >= 0.0 &&
         in.X1 > 0.0 && in.X2 > 0.0 && in.X3 >= 0.0 && in.X3 <= in.X1 + in.X2 && in.H > in.B &&
         std::isfinite(in.R) && std::isfinite(in.M) && std::isfinite(in.Theta);
}

std::vector<BrokenRule> BrokenThreeRodRules(const ThreeRodInput& in) {
  // The terms of IsThreeRodInputValid, one by one.
  const std::pair<bool, BrokenRule> rules[] = {
      {in.A > 0.0, {"A>0", {"A"}}},
      {in.B > 0.0, {"B>0", {"B"}}},
      {in.C >= 0.0, {"C>=0", {"C"}}},
      {in.C <= 2.0 * in.A, {"C<=2A", {"C", "A"}}},
      {in.D >= 0.0, {"D>=0", {"D"}}},
      {in.X1 > 0.0, {"X1>0", {"X1"}}},
      {in.X2 > 0.0, {"X2>0", {"X2"}}},
      {in.X3 >= 0.0, {"X3>=0", {"X3"}}},
      {in.X3 <= in.X1 + in.X2, {"X3<=X1+X2", {"X3", "X1", "X2"}}},
      {in.H > in.B, {"H>B", {"H", "B"}}},
  };
  std::vector<BrokenRule> broken;
  for (const auto& [holds, rule] : rules)
    if (!holds) broken.push_back(rule);
  AddNonFiniteLoadRules(broken, in.R, in.M, in.Theta);
  return broken;
}

ThreeRodAngles ThreeRodAnglesOf(const ThreeRodInput& in) {
  ThreeRodAngles a;
  a.Alpha = Round2(Deg(std::atan2(in.H - in.B, in.X1 - in.A)));
  a.Beta = Round2(Deg(std::atan2(in.H - in.B, in.X1 - in.X3 + in.D - in.C)));
  a.Gamma = Round2(Deg(std::atan2(in.H - in.B, in.X2 - in.D)));
  return a;
}

ThreeRodGeometry ThreeRodGeometryOf(const ThreeRodInput& in, const ThreeRodAngles& angles) {
  ThreeRodGeometry g;
  g.Alpha = angles.Alpha;
  g.Beta = angles.Beta;
  g.Gamma = angles.Gamma;
  g.tAlpha = std::tan(Rad(g.Alpha));
  g.tBeta = std::tan(Rad(g.Beta));
  g.tGamma = std::tan(Rad(g.Gamma));

  // P, where the lines of rods 1 and 2 meet.
  const double k = in.A + in.D - in.C;
  const double e = g.tBeta * (g.tAlpha * k) / (g.tAlpha - g.tBeta) - in.H + in.B;
  g.yP = e + in.H;
  g.xP = e / g.tAlpha + in.X1;

  // Q, where the lines of rods 2 and 3 meet, and the lever arms.
  g.s3 = (g.yP - in.B) / g.tGamma + in.D;
  g.q = (g.tGamma * g.s3 - g.tBeta * g.xP) / (g.tGamma + g.tBeta);
  g.yQ = in.B - g.tGamma * (in.D - g.q);
  g.x1Q = in.X1 - (in.H - g.yQ) / g.tAlpha;
  g.d1 = g.x1Q + g.q;
  g.d3 = g.xP + g.s3;
  g.K = g.d1 * g.d3 - g.d3 * g.q - g.d1 * g.xP;
  return g;
}

std::vector<BrokenRule> DegenerateThreeRodRules(const ThreeRodInput& in, const ThreeRodGeometry& g) {
  // Equal rounded directions (the angles have two decimals): P, where the
  // forces are taken from, does not exist. Rods 2 and 3 parallel need no
  // rule: through 3.1416 their tangents never cancel, Q lies far away and
  // the forces come out right; if they are one line, P lies on rod 3 below.
  if (std::fabs(g.Alpha - g.Beta) < 0.005) return {{"", {"X3", "A", "C", "D"}, "杆1与杆2平行"}};
  // Rod 1 passes Q at the distance d1 * sin(alpha) across its line, rod 3
  // passes P at d3 * sin(gamma). The lines are drawn through the rods' ends
  // at rounded angles, so a miss is judged against the distance from the
  // point to the farthest rod end: the rounding moves a line by up to 1e-4
  // of that distance.
  const double ends[6][2] = {{in.A, in.B}, {in.X1, in.H}, {in.C - in.D, in.B}, {in.X1 - in.X3, in.H},
                             {-in.D, in.B}, {-in.X2, in.H}};
  const auto span = [&ends](double u, double v) {
    double farthest = 0.0;
    for (const auto& e : ends) farthest = std::max(farthest, std::hypot(e[0] - u, e[1] - v));
    return farthest;
  };
  const double missQ = std::fabs(g.d1 * std::sin(Rad(g.Alpha)));
  const double missP = std::fabs(g.d3 * std::sin(Rad(g.Gamma)));
  if (missQ <= kConcurrencyTolerance * span(-g.q, g.yQ) || missP <= kConcurrencyTolerance * span(g.xP, g.yP))
    return {{"", {"X1", "X2", "X3"}, "三根杆的轴线交于一点"}};
  return {};
}

ThreeRodForces ThreeRodForcesAt(const ThreeRodGeometry& g, double R, double M, double theta) {
  const double m = M * 1000.0;  // kN*mm
  ThreeRodForces f;
  // Moments about Q give F1, moments about P give F3, the balance across the
  // wall gives F2.
  f.F1 = (P1(g, R, theta) + m) / Den1(g);
  f.F2 = (P2(g, R, theta) - m * (g.d3 - g.d1)) / Den2(g);
  f.F3 = (P3(g, R, theta) - m) / Den3(g);

  f.F1x = std::cos(Rad(g.Alpha)) * f.F1;
  f.F1y = std::sin(Rad(g.Alpha)) * f.F1;
  f.F2x = std::cos(Rad(g.Beta)) * f.F2;
  f.F2y = std::sin(Rad(g.Beta)) * f.F2;
  f.F3x = std::cos(Rad(g.Gamma)) * (-f.F3);
  f.F3y = std::sin(Rad(g.Gamma)) * f.F3;
  return f;
}

std::optional<ThreeRodResult> SolveThreeRod(const ThreeRodInput& in) {
  if (!IsThreeRodInputValid(in)) return std::nullopt;

  const ThreeRodAngles angles = ThreeRodAnglesOf(in);
  const ThreeRodGeometry g = ThreeRodGeometryOf(in, angles);
  const ThreeRodForces f = ThreeRodForcesAt(g, in.R, in.M, in.Theta);

  ThreeRodResult r;
  r.Alpha = angles.Alpha;
  r.Beta = angles.Beta;
  r.Gamma = angles.Gamma;

  // Extremes: each R part is a sinusoid in theta, so its maximum and minimum
  // lie 180 degrees apart; the torque is added with the sense that enlarges
  // the extreme.
  const double s = in.R >= 0.0 ? 1.0 : -1.0;
  const double m = in.M * 1000.0;

  const double t1a = Deg(std::atan2(g.q, g.yQ));
  const double t1b = t1a + 180.0;
  const double e1a = (P1(g, in.R, t1a) + s * std::fabs(m)) / Den1(g);
  const double e1b = (P1(g, in.R, t1b) - s * std::fabs(m)) / Den1(g);

  const double t2a = Deg(std::atan2(g.K, g.d1 * g.yP - g.d3 * g.yQ)) + 360.0;
  const double t2b = t2a - 180.0;
  const double m2 = std::fabs(m * (g.d3 - g.d1));
  const double e2a = (P2(g, in.R, t2a) + s * m2) / Den2(g);
  const double e2b = (P2(g, in.R, t2b) - s * m2) / Den2(g);

  const double t3a = Deg(std::atan2(-g.xP, g.yP)) + 360.0;
  const double t3b = t3a - 180.0;
  const double e3a = (P3(g, in.R, t3a) - s * std::fabs(m)) / Den3(g);
  const double e3b = (P3(g, in.R, t3b) + s * std::fabs(m)) / Den3(g);

  r.Theta1 = Pair(t1a, t1b);
  r.Theta2 = Pair(t2a, t2b);
  r.Theta3 = Pair(t3b, t3a);
  r.F1m = Pair(e1a, e1b);
  r.F2m = Pair(e2a, e2b);
  r.F3m = Pair(e3b, e3a);
  r.ExtremeForces = {{{e1a, e1b}, {e2a, e2b}, {e3b, e3a}}};
  r.ExtremeAngles = {{{t1a, t1b}, {t2a, t2b}, {t3b, t3a}}};

  const double run = in.H - in.B;
  r.L1 = Round2(run / std::sin(Rad(angles.Alpha)));
  r.L2 = Round2(run / std::sin(Rad(angles.Beta)));
  r.L3 = Round2(run / std::sin(Rad(angles.Gamma)));

  r.Forces.F1 = Round2(f.F1);
  r.Forces.F2 = Round2(f.F2);
  r.Forces.F3 = Round2(f.F3);
  r.Forces.F1x = Round2(f.F1x);
  r.Forces.F1y = Round2(f.F1y);
  r.Forces.F2x = Round2(f.F2x);
  r.Forces.F2y = Round2(f.F2y);
  r.Forces.F3x = Round2(f.F3x);
  r.Forces.F3y = Round2(f.F3y);
  return r;
}

}  // namespace tiecalc
