#include "core/analysis/FourRodLayout.h"

#include <cmath>

#include "core/analysis/Angles.h"
#include "core/analysis/LoadRules.h"
#include "core/input/Format.h"

namespace tiecalc {

namespace {

// A rod angle from its run towards the building (dy) and along it (dx).
double RodAngle(double dy, double dx) { return Round2(Deg(std::atan2(dy, dx))); }

// Rod lengths from the runs towards the building and the rounded angles.
Rod4 LengthsOf(const Rod4& runs, const FourRodAngles& a) {
  const Rod4 angles = {a.Alpha, a.Beta, a.Gamma, a.Delta};
  Rod4 L{};
  for (size_t i = 0; i < 4; ++i) L[i] = runs[i] / std::sin(Rad(angles[i]));
  return L;
}

FourRodGeometry GeometryOf(const FourRodAngles& a, double t1x, double t1y, double t2x, double t2y,
                           double t3x, double t3y, double t4x, double t4y) {
  FourRodGeometry g;
  g.Angles = a;
  g.t1x = t1x;
  g.t1y = t1y;
  g.t2x = t2x;
  g.t2y = t2y;
  g.t3x = t3x;
  g.t3y = t3y;
  g.t4x = t4x;
  g.t4y = t4y;
  return g;
}

}  // namespace

bool IsFourRodInputValid(const FourRodLayoutI& in) {
  const bool invalid = in.A <= 0.0 || in.D <= 0.0 || (in.X1 <= in.A && in.X1 <= in.D) ||
                       (in.X2 <= in.E && in.X2 <= in.F) || in.Y1 <= in.C || in.Y2 <= in.C ||
                       in.X3 < 0.0 || in.X3 > in.X1 || in.X4 < 0.0 || in.X4 > in.X2;
  return !invalid;
}

bool IsFourRodInputValid(const FourRodLayoutII& in) {
  const bool invalid = in.A <= 0.0 || in.B <= 0.0 || in.D <= 0.0 || in.X1 <= 0.0 || in.X2 <= 0.0 ||
                       in.Y1 <= 0.0 || in.Y2 <= 0.0 || in.X3 < 0.0 || in.X4 < 0.0;
  return !invalid;
}

namespace {
// The rules whose breaking term is true.
std::vector<BrokenRule> Broken(std::initializer_list<std::pair<bool, BrokenRule>> rules) {
  std::vector<BrokenRule> broken;
  for (const auto& [breaks, rule] : rules)
    if (breaks) broken.push_back(rule);
  return broken;
}
}  // namespace

std::vector<BrokenRule> BrokenFourRodRules(const FourRodLayoutI& in) {
  // The terms of IsFourRodInputValid, one by one.
  return Broken({
      {in.A <= 0.0, {"A>0", {"A"}}},
      {in.D <= 0.0, {"D>0", {"D"}}},
      {in.X1 <= in.A && in.X1 <= in.D, {"X1>A 或 X1>D", {"X1", "A", "D"}}},
      {in.X2 <= in.E && in.X2 <= in.F, {"X2>E 或 X2>F", {"X2", "E", "F"}}},
      {in.Y1 <= in.C, {"Y1>C", {"Y1", "C"}}},
      {in.Y2 <= in.C, {"Y2>C", {"Y2", "C"}}},
      {in.X3 < 0.0, {"X3>=0", {"X3"}}},
      {in.X3 > in.X1, {"X3<=X1", {"X3", "X1"}}},
      {in.X4 < 0.0, {"X4>=0", {"X4"}}},
      {in.X4 > in.X2, {"X4<=X2", {"X4", "X2"}}},
  });
}

std::vector<BrokenRule> BrokenFourRodRules(const FourRodLayoutII& in) {
  return Broken({
      {in.A <= 0.0, {"A>0", {"A"}}},
      {in.B <= 0.0, {"B>0", {"B"}}},
      {in.D <= 0.0, {"D>0", {"D"}}},
      {in.X1 <= 0.0, {"X1>0", {"X1"}}},
      {in.X2 <= 0.0, {"X2>0", {"X2"}}},
      {in.Y1 <= 0.0, {"Y1>0", {"Y1"}}},
      {in.Y2 <= 0.0, {"Y2>0", {"Y2"}}},
      {in.X3 < 0.0, {"X3>=0", {"X3"}}},
      {in.X4 < 0.0, {"X4>=0", {"X4"}}},
  });
}

RodFields FourRodRunFields(const FourRodLayoutI&) { return {{{"Y1", "B"}, {"Y1", "C"}, {"Y2", "C"}, {"Y2", "B"}}}; }

RodFields FourRodRunFields(const FourRodLayoutII&) { return {{{"Y1", "C"}, {"Y1", "D"}, {"Y2", "H"}, {"Y2", "G"}}}; }

namespace {
bool Positive(double v) { return std::isfinite(v) && v > 0.0; }
std::string Rod(size_t i) { return "杆" + std::to_string(i + 1); }
}  // namespace

std::vector<BrokenRule> BrokenFourRodLoadRules(const Rod4& E, const Rod4& S, double R, double M, double theta) {
  std::vector<BrokenRule> broken;
  AddNonFiniteLoadRules(broken, R, M, theta);
  // The flexibility L / (E * S) of every rod enters the redundant.
  for (size_t i = 0; i < 4; ++i) {
    const std::string n = std::to_string(i + 1);
    if (!Positive(E[i])) broken.push_back({"", {"E" + n}, Rod(i) + "弹性模量必须大于0"});
    if (!Positive(S[i])) broken.push_back({"", {"S" + n}, Rod(i) + "截面积必须大于0"});
  }
  return broken;
}

std::vector<BrokenRule> BrokenFourRodLengthRules(const Rod4& L, const RodFields& fields) {
  std::vector<BrokenRule> broken;
  for (size_t i = 0; i < 4; ++i)
    if (!Positive(L[i])) broken.push_back({"", fields[i], Rod(i) + "长度必须大于0"});
  return broken;
}

std::vector<BrokenRule> ParallelFourRodRules(const FourRodAngles& a) {
  // The angles have two decimals: equal ones are one direction.
  const auto same = [](double x, double y) { return std::fabs(x - y) < 0.005; };
  std::vector<BrokenRule> broken;
  if (same(a.Alpha, a.Beta)) broken.push_back({"", {"X1", "X3"}, "杆1与杆2平行"});
  if (same(a.Gamma, a.Delta)) broken.push_back({"", {"X2", "X4"}, "杆3与杆4平行"});
  return broken;
}

FourRodAngles FourRodAnglesOf(const FourRodLayoutI& in) {
  FourRodAngles a;
  a.Alpha = RodAngle(in.Y1 + in.B, in.X1 - in.A);
  a.Beta = RodAngle(in.Y1 - in.C, in.X1 - in.X3 - in.D);
  a.Gamma = RodAngle(in.Y2 - in.C, in.X2 - in.E - in.X4);
  a.Delta = RodAngle(in.Y2 + in.B, in.X2 - in.F);
  return a;
}

FourRodAngles FourRodAnglesOf(const FourRodLayoutII& in) {
  FourRodAngles a;
  a.Alpha = RodAngle(in.Y1 + in.C, in.X1 - in.A);
  a.Beta = RodAngle(in.Y1 - in.D, in.X1 - in.X3 - in.E);
  a.Gamma = RodAngle(in.Y2 - in.H, in.X2 - in.X4 + in.F);
  a.Delta = RodAngle(in.Y2 - in.G, in.X2 - in.B);
  return a;
}

Rod4 FourRodLengthsOf(const FourRodLayoutI& in, const FourRodAngles& a) {
  return LengthsOf({in.Y1 + in.B, in.Y1 - in.C, in.Y2 - in.C, in.Y2 + in.B}, a);
}

Rod4 FourRodLengthsOf(const FourRodLayoutII& in, const FourRodAngles& a) {
  return LengthsOf({in.Y1 + in.C, in.Y1 - in.D, in.Y2 - in.H, in.Y2 - in.G}, a);
}

FourRodGeometry FourRodGeometryOf(const FourRodLayoutI& in, const FourRodAngles& a) {
  return GeometryOf(a, in.A, -in.B, in.D, in.C, in.E, in.C, in.F, -in.B);
}

FourRodGeometry FourRodGeometryOf(const FourRodLayoutII& in, const FourRodAngles& a) {
  return GeometryOf(a, in.A, -in.C, in.E, in.D, -in.F, in.H, in.B, in.G);
}

FourRodResult SolveFourRodPage(const FourRodGeometry& g, const Rod4& L, const Rod4& E, const Rod4& S,
                               double R, double M, double theta) {
  FourRodResult r;
  const FourRodCoefficients k = PrepareFourRod(g, L, E, S);
  const FourRodForces f = FourRodForcesAt(k, R, M, theta);
  const std::array<FourRodExtreme, 4> ext = FourRodExtremes(k, R, M);
  for (size_t i = 0; i < 4; ++i) {
    r.Forces.F[i] = Round2(f.F[i]);
    r.Forces.Fx[i] = Round2(f.Fx[i]);
    r.Forces.Fy[i] = Round2(f.Fy[i]);
    r.ForceText[i] = ext[i].ForceText;
    r.AngleText[i] = ext[i].AngleText;
    r.ExtremeForces[i] = {ext[i].First, ext[i].Second};
    r.ExtremeAngles[i] = {ext[i].Phi, ext[i].PhiOpposite};
    r.L[i] = Round2(L[i]);
  }
  return r;
}

}  // namespace tiecalc
