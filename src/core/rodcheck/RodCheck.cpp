#include "core/rodcheck/RodCheck.h"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "core/rodcheck/LatticeMembers.h"

namespace tiecalc {

bool RodCheckVerdict::AnyFails() const {
  for (CheckOutcome o : {overallStiffness, limbStiffness, lacingStiffness, overallStability, limbStability,
                         lacingMembers})
    if (o == CheckOutcome::Fails) return true;
  return false;
}

double AllowableStress(SteelGrade grade, double k) {
  return (grade == SteelGrade::Q345 ? 345.0 : 235.0) / k;
}

double LateralForce(double A, double sigma, SteelGrade mainGrade) {
  if (mainGrade == SteelGrade::Q345) return A * sigma / 85 * std::sqrt(345.0 / 235.0);
  return A * sigma / 85;
}

BattenStress BattenStresses(double V, double L1, double a, double Az, double Iz, double delta) {
  BattenStress s;
  s.T = V * L1 / (2 * a);
  s.Mb = s.T * a / 2;
  s.Wb = 2 * Iz * delta / Az;
  s.sigmaB = s.Mb / s.Wb;
  s.tau = 1.5 * s.T / Az;
  // τ is squared before it is tripled: 3·(τ·τ), not (3·τ)·τ, which can move
  // the last bit of σz and with it a shown digit.
  s.sigmaZ = std::sqrt(s.sigmaB * s.sigmaB + 3 * (s.tau * s.tau));
  return s;
}

double LacingBarLength(double L1, double a) { return std::sqrt(L1 * L1 / 4 + a * a); }

double LacingBarForce(double V, double ld, double a) { return V * ld / (2 * a); }

namespace {

// The outcome of a test: the value passes it, fails it, or neither.
CheckOutcome Judge(bool passes, bool fails) {
  return passes ? CheckOutcome::Holds : fails ? CheckOutcome::Fails : CheckOutcome::NotJudged;
}

// A stress test: 0 < σ < [σ] holds, σ ≥ [σ] fails.
CheckOutcome JudgeStress(double sigma, double allowable) {
  return Judge(sigma > 0 && sigma < allowable, sigma >= allowable);
}

// A slenderness test against 120: 0 < λ < 120 holds, λ ≥ 120 fails.
CheckOutcome JudgeSlenderness(double lambda) { return Judge(lambda > 0 && lambda < 120, lambda >= 120); }

// True when every value is a finite number. A field expression can evaluate to
// infinity or to no number at all (pow(-1, 0.5)); such an input cannot be
// checked, whatever the sign tests below would say of it.
bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// The start every form shares: a fresh verdict, and μ, taken even when the
// inputs turn out invalid. Returns whether the inputs can be checked; lattice
// forms add their own conditions.
bool StartCheck(RodCheckData& d, RodForm form, bool latticeInputsValid) {
  d.verdict = {};
  d.form = form;
  d.mu = d.Imax != d.Imin ? LookupMu(form, d.L, d.Ld, d.Imax, d.Imin) : 1.0;
  d.verdict.inputValid = d.F != 0 && d.L > 0 && d.G >= 0 && d.A > 0 && d.h > 0 && d.Imax > 0 && d.Imin > 0 &&
                         latticeInputsValid && d.mu >= 1 &&
                         AllFinite({d.F, d.L, d.G, d.A, d.h, d.Imax, d.Imin, d.k});
  return d.verdict.inputValid;
}

}  // namespace

std::vector<BrokenRule> BrokenRodCheckRules(const RodCheckData& d, RodForm form) {
  std::vector<BrokenRule> broken;
  auto need = [&](bool holds, const char* rule, std::vector<std::string> fields) {
    if (!holds) broken.push_back({rule, std::move(fields)});
  };
  // The terms of StartCheck and of the lattice forms, one by one.
  need(d.F != 0, "F!=0", {"F"});
  need(d.L > 0, "L>0", {"L"});
  need(d.G >= 0, "G>=0", {"G"});
  need(d.A > 0, "A>0", {"A"});
  need(d.h > 0, "h>0", {"h"});
  need(d.Imax > 0, "Imax>0", {"Imax"});
  need(d.Imin > 0, "Imin>0", {"Imin"});
  need(d.mu >= 1, "计算长度系数μ>=1（须 Imin<=Imax，0<=Ld<=L）", {"Imax", "Imin", "Ld"});
  const std::pair<const char*, double> values[] = {{"F", d.F}, {"L", d.L}, {"G", d.G}, {"A", d.A}, {"h", d.h},
                                                   {"Imax", d.Imax}, {"Imin", d.Imin}, {"k", d.k}};
  for (const auto& [name, v] : values) need(std::isfinite(v), "数值有限", {name});
  if (form != RodForm::SolidWeb) {
    const bool laced = form == RodForm::TwoLimbLaced || form == RodForm::FourLimbLaced;
    need(d.Az > 0, "Az>0", {"Az"});
    need(d.I1 > 0, "I1>0", {"I1"});
    need(d.Iz > 0, "Iz>0", {"Iz"});
    need(d.L1 > 0, "L1>0", {"L1"});
    need(d.a > 0, "a>0", {"a"});
    if (!laced) need(d.delta > 0, "δ>0", {"delta"});
    const std::pair<const char*, double> lattice[] = {
        {"Az", d.Az}, {"I1", d.I1}, {"Iz", d.Iz}, {"L1", d.L1}, {"a", d.a}, {"delta", laced ? 0.0 : d.delta}};
    for (const auto& [name, v] : lattice) need(std::isfinite(v), "数值有限", {name});
  }
  return broken;
}

namespace {

// Self-weight bending of the simply supported rod (weight G·10 N spread over L),
// the section modulus and the Euler load (π² taken as 3.14², E = 206000 MPa).
void BendingAndEuler(RodCheckData& d) {
  d.M = d.G * d.L * 10 / 8;
  d.W = d.Imax / d.h;
  d.Fe = 2031077.6 * d.A / (d.lambda * d.lambda);
}

// Overall stress: the axial part over ψ plus the self-weight bending amplified
// by 1 / (1 - N/(0.9·Fe)). A compression at or beyond 0.9·Fe leaves no finite
// amplification: the rod buckles, so the stress is infinite rather than the
// negative figure the amplifier gives past the limit.
double OverallStress(const RodCheckData& d) {
  const double amplifier = 1 - d.F * 1000 / (0.9 * d.Fe);
  if (amplifier <= 0) return std::numeric_limits<double>::infinity();
  return d.F * 1000 / (d.A * d.psi) + (d.M / d.W) / amplifier;
}

// What sets the four lattice forms apart.
struct LatticeForm {
  RodForm form;
  double limbs;          // main limbs sharing A: r1 = sqrt(limbs·I1/A)
  bool laced;            // lacing bars rather than battens
  double lacingFactor;   // laced: λ换 = sqrt(λx² + lacingFactor·A/Az)
};

constexpr LatticeForm kTwoLimbBattened{RodForm::TwoLimbBattened, 2, false, 0};
constexpr LatticeForm kTwoLimbLaced{RodForm::TwoLimbLaced, 2, true, 13.5};
constexpr LatticeForm kFourLimbBattened{RodForm::FourLimbBattened, 4, false, 0};
constexpr LatticeForm kFourLimbLaced{RodForm::FourLimbLaced, 4, true, 20};

void CheckLattice(RodCheckData& d, const LatticeForm& f) {
  const bool latticeValid = d.Az > 0 && d.I1 > 0 && d.Iz > 0 && d.L1 > 0 && d.a > 0 &&
                            (f.laced || d.delta > 0) &&
                            AllFinite({d.Az, d.I1, d.Iz, d.L1, d.a, f.laced ? 0.0 : d.delta});
  if (!StartCheck(d, f.form, latticeValid)) return;

  d.r = std::sqrt(d.Imax / d.A);
  d.r1 = std::sqrt(f.limbs * d.I1 / d.A);
  const double lambdaX = d.L * d.mu / d.r;
  double ld = 0;  // lacing bar length
  if (f.laced) {
    d.rz = std::sqrt(d.Iz / d.Az);
    d.lambda1 = d.L1 / d.r1;
    ld = LacingBarLength(d.L1, d.a);
    d.lambdaZ = ld / d.rz;
    d.lambda = std::sqrt(lambdaX * lambdaX + f.lacingFactor * d.A / d.Az);
  } else {
    // The limb is free over the clear distance between battens of width Az/δ.
    d.lambda1 = (d.L1 - d.Az / d.delta) / d.r1;
    d.lambda = std::sqrt(lambdaX * lambdaX + d.lambda1 * d.lambda1);
  }

  d.psi = LookupPsi(d.mainGrade, d.lambda);
  d.psi1 = LookupPsi(d.mainGrade, d.lambda1);
  if (f.laced) d.psiZ = LookupPsi(d.lacingGrade, d.lambdaZ);

  BendingAndEuler(d);
  d.sigma = OverallStress(d);
  d.sigma1 = d.F * 1000 / (d.A * d.psi1);
  const double V = LateralForce(d.A, d.sigma, d.mainGrade);
  if (f.laced)
    d.sigmaZ = LacingBarForce(V, ld, d.a) / (d.Az * d.psiZ);
  else
    d.sigmaZ = BattenStresses(V, d.L1, d.a, d.Az, d.Iz, d.delta).sigmaZ;

  const double mainAllowable = AllowableStress(d.mainGrade, d.k);
  RodCheckVerdict& v = d.verdict;
  v.overallStiffness = JudgeSlenderness(d.lambda);
  if (f.laced) {
    v.limbStiffness = Judge(d.lambda1 > 0 && d.lambda1 < 0.7 * d.lambda, d.lambda1 >= 0.7 * d.lambda);
    v.lacingStiffness = JudgeSlenderness(d.lambdaZ);
  } else {
    v.limbStiffness = Judge(d.lambda1 > 0 && d.lambda1 < d.lambda / 2 && d.lambda1 < 40,
                            d.lambda1 >= 40 || d.lambda1 >= d.lambda / 2);
  }
  v.overallStability = JudgeStress(d.sigma, mainAllowable);
  v.limbStability = JudgeStress(d.sigma1, mainAllowable);
  v.lacingMembers = JudgeStress(d.sigmaZ, AllowableStress(d.lacingGrade, d.k));
}

}  // namespace

void CheckSolidWeb(RodCheckData& d) {
  if (!StartCheck(d, RodForm::SolidWeb, true)) return;

  d.r = std::sqrt(d.Imax / d.A);
  d.lambda = d.L * d.mu / d.r;
  d.psi = LookupPsi(d.mainGrade, d.lambda);
  BendingAndEuler(d);
  d.sigma = OverallStress(d);

  d.verdict.overallStiffness = JudgeSlenderness(d.lambda);
  d.verdict.overallStability = JudgeStress(d.sigma, AllowableStress(d.mainGrade, d.k));
}

void CheckTwoLimbBattened(RodCheckData& d) { CheckLattice(d, kTwoLimbBattened); }
void CheckTwoLimbLaced(RodCheckData& d) { CheckLattice(d, kTwoLimbLaced); }
void CheckFourLimbBattened(RodCheckData& d) { CheckLattice(d, kFourLimbBattened); }
void CheckFourLimbLaced(RodCheckData& d) { CheckLattice(d, kFourLimbLaced); }

void CheckRod(RodCheckData& d, RodForm form) {
  switch (form) {
    case RodForm::SolidWeb: return CheckSolidWeb(d);
    case RodForm::TwoLimbBattened: return CheckTwoLimbBattened(d);
    case RodForm::TwoLimbLaced: return CheckTwoLimbLaced(d);
    case RodForm::FourLimbBattened: return CheckFourLimbBattened(d);
    case RodForm::FourLimbLaced: return CheckFourLimbLaced(d);
  }
}

}  // namespace tiecalc
