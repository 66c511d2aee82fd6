#pragma once
// The two four-rod layouts: how each turns its page's dimensions into rod
// angles, automatic rod lengths and the tower-side points of the solver, and
// the part of a page's recalculation they share. The functions are
// overloaded on the layout, so a page can be written once for both.
//
// A page recalculates as
//   FourRodAngles a = FourRodAnglesOf(geo);
//   Rod4 L = manual ? <lengths read from the L fields> : FourRodLengthsOf(geo, a);
//   if (any rule of BrokenFourRodRules(geo), BrokenFourRodLoadRules,
//       BrokenFourRodLengthRules(L, ..), ParallelFourRodRules(a)) -> "输入数据错误或不完整!"
//   FourRodResult r = SolveFourRodPage(FourRodGeometryOf(geo, a), L, E, S, R, M, theta);

#include <array>
#include <string>
#include <vector>

#include "core/analysis/FourRod.h"
#include "core/input/FieldText.h"

namespace tiecalc {

// Layout I: frame edges parallel to the building face. T1 = (A, -B),
// T2 = (D, C), T3' = (E, C), T4' = (F, -B); anchors (X1, Y1), (X1 - X3, Y1)
// and, mirrored, (X2 - X4, Y2), (X2, Y2).
struct FourRodLayoutI {
  double A = 0.0, B = 0.0, C = 0.0, D = 0.0, E = 0.0, F = 0.0;
  double X1 = 0.0, X2 = 0.0, X3 = 0.0, X4 = 0.0;
  double Y1 = 0.0, Y2 = 0.0;
};

// Layout II: frame turned to the building face, every rod with its own point.
// T1 = (A, -C), T2 = (E, D), T3' = (-F, H), T4' = (B, G); anchors as layout I.
struct FourRodLayoutII {
  double A = 0.0, B = 0.0, C = 0.0, D = 0.0, E = 0.0, F = 0.0, G = 0.0, H = 0.0;
  double X1 = 0.0, X2 = 0.0, X3 = 0.0, X4 = 0.0;
  double Y1 = 0.0, Y2 = 0.0;
};

// Layout I is invalid when A <= 0, D <= 0, X1 <= A and X1 <= D, X2 <= E and
// X2 <= F, Y1 <= C, Y2 <= C, X3 < 0, X3 > X1, X4 < 0 or X4 > X2.
bool IsFourRodInputValid(const FourRodLayoutI& in);
// Layout II is invalid when A, B, D, X1, X2, Y1 or Y2 is <= 0, or X3 or X4 < 0.
bool IsFourRodInputValid(const FourRodLayoutII& in);
// The conditions of IsFourRodInputValid that in breaks, each with the inputs
// it involves; empty exactly when in is valid.
std::vector<BrokenRule> BrokenFourRodRules(const FourRodLayoutI& in);
std::vector<BrokenRule> BrokenFourRodRules(const FourRodLayoutII& in);

// The inputs that set each rod's automatic length: its run towards the
// building ("Y1" and the frame point's distance to the reference line).
using RodFields = std::array<std::vector<std::string>, 4>;
RodFields FourRodRunFields(const FourRodLayoutI& in);
RodFields FourRodRunFields(const FourRodLayoutII& in);

// What keeps a four-rod page from being solved besides its layout's rule,
// each rule with its reason:
// - R, M or θ not finite; rod i without stiffness: E_i or S_i not a finite
//   number > 0 ("杆i弹性模量必须大于0" on Ei, "杆i截面积必须大于0" on Si);
std::vector<BrokenRule> BrokenFourRodLoadRules(const Rod4& E, const Rod4& S, double R, double M, double theta);
// - rod i's length L[i] not a finite number > 0 ("杆i长度必须大于0" on fields[i]);
std::vector<BrokenRule> BrokenFourRodLengthRules(const Rod4& L, const RodFields& fields);
// - rods 1 and 2 or rods 3 and 4 at the same rounded angle, so that their
//   lines never meet in P or Q ("杆1与杆2平行" on X1, X3; "杆3与杆4平行" on
//   X2, X4).
std::vector<BrokenRule> ParallelFourRodRules(const FourRodAngles& a);

// Rod angles (degrees), each through Round2.
FourRodAngles FourRodAnglesOf(const FourRodLayoutI& in);
FourRodAngles FourRodAnglesOf(const FourRodLayoutII& in);

// Automatic rod lengths from the rounded angles: the rod's run towards the
// building over the sine of its angle. Not rounded.
Rod4 FourRodLengthsOf(const FourRodLayoutI& in, const FourRodAngles& a);
Rod4 FourRodLengthsOf(const FourRodLayoutII& in, const FourRodAngles& a);

// The solver's geometry: the angles and the tower-side points of the layout.
FourRodGeometry FourRodGeometryOf(const FourRodLayoutI& in, const FourRodAngles& a);
FourRodGeometry FourRodGeometryOf(const FourRodLayoutII& in, const FourRodAngles& a);

// What a four-rod page shows after a valid recalculation (besides the angles).
struct FourRodResult {
  Rod4 L{};                               // Round2 of the lengths used
  FourRodForces Forces;                   // at theta, each through Round2
  std::array<std::string, 4> ForceText;   // F1m..F4m
  std::array<std::string, 4> AngleText;   // theta1..theta4
  // The same pairs as numbers (FourRodExtreme's First, Second and Phi,
  // PhiOpposite), rod by rod.
  std::array<std::array<double, 2>, 4> ExtremeForces{};
  std::array<std::array<double, 2>, 4> ExtremeAngles{};
};

// Steps shared by both layouts once the inputs break no rule: the solver
// with the unrounded lengths L, then the lengths rounded.
FourRodResult SolveFourRodPage(const FourRodGeometry& g, const Rod4& L, const Rod4& E, const Rod4& S,
                               double R, double M, double theta);

}  // namespace tiecalc
