#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "core/input/Format.h"
#include "core/rodcheck/LatticeMembers.h"
#include "core/rodcheck/RodCheck.h"

namespace tiecalc {
namespace {

const std::string kStiffOk = "附着杆整体刚度满足要求！";
const std::string kStiffFails = "附着杆整体刚度 不 满足要求！";
const std::string kLimbStiffOk = "\r\n附着杆单肢刚度满足要求！";
const std::string kLimbStiffFails = "\r\n附着杆单肢刚度 不 满足要求！";
const std::string kLacingStiffOk = "\r\n附着杆缀条刚度满足要求！";
const std::string kLacingStiffFails = "\r\n附着杆缀条刚度 不 满足要求！";
const std::string kStableOk = "\r\n附着杆整体稳定性满足要求！";
const std::string kStableFails = "\r\n附着杆整体稳定性 不 满足要求！";
const std::string kLimbStableOk = "\r\n附着杆单肢稳定性满足要求！";
const std::string kLimbStableFails = "\r\n附着杆单肢稳定性 不 满足要求！";
const std::string kBattenOk = "\r\n附着杆缀板强度满足要求！";
const std::string kBattenFails = "\r\n附着杆缀板强度 不 满足要求！";
const std::string kLacingOk = "\r\n附着杆缀条稳定性满足要求！";
const std::string kLacingFails = "\r\n附着杆缀条稳定性 不 满足要求！";
const std::string kInvalid = "请设定正确参数！";

using CheckFn = RodCheckDisplay (*)(RodCheckData&);

RodCheckData SolidExample() {
  RodCheckData d;
  d.F = 100;
  d.L = 6000;
  d.G = 300;
  d.A = 5000;
  d.h = 150;
  d.Imax = 5.0e7;
  d.Imin = 5.0e7;
  d.Ld = 6000;
  d.k = 1.34;
  return d;
}

RodCheckData LatticeExample() {
  RodCheckData d;
  d.F = 200;
  d.L = 8000;
  d.G = 800;
  d.A = 6000;
  d.h = 250;
  d.Imax = 1.5e8;
  d.Imin = 1.5e8;
  d.Ld = 8000;
  d.Az = 1000;
  d.I1 = 2.0e6;
  d.Iz = 5.0e5;
  d.delta = 10;
  d.L1 = 600;
  d.a = 400;
  d.k = 1.34;
  return d;
}

std::string Shown(const RodCheckDisplay& shown, int id) {
  const std::string* text = shown.Find(id);
  return text ? *text : "<unchanged>";
}

std::string F2(double v) { return FormatDecimals(v, 2); }

}  // namespace

void PrintTo(const ShownText& t, std::ostream* os) { *os << t.controlId << " \"" << t.text << '"'; }

namespace {

// ---- worked examples ----

TEST(SolidWebCheck, WorkedExample) {
  RodCheckData d = SolidExample();
  const RodCheckDisplay shown = CheckSolidWeb(d);
  EXPECT_EQ(shown.texts, (std::vector<ShownText>{{1011, "1.00"}, {1076, "60.00"}, {1073, "0.807"},
                                                 {1070, "31.81"}, {1077, kStiffOk + kStableOk}}));
  EXPECT_EQ(d.message, shown.Message());

  // What the report prints from the record.
  EXPECT_EQ(d.mu, 1.0);
  EXPECT_EQ(F2(d.r), "100.00");
  EXPECT_EQ(F2(d.M), "2250000.00");
  EXPECT_EQ(F2(d.W), "333333.33");
  EXPECT_EQ(F2(d.Fe), "2820941.11");
  EXPECT_EQ(F2(d.sigma), "31.81");
  EXPECT_EQ(F2(AllowableStress(SteelGrade::Q235, 1.34)), "175.37");
  EXPECT_EQ(d.form, RodForm::SolidWeb);
}

TEST(SolidWebCheck, SlendernessOf120FailsButStabilityIsStillJudged) {
  RodCheckData d = SolidExample();
  d.L = 12000;
  d.Ld = 12000;
  const RodCheckDisplay shown = CheckSolidWeb(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda), "120.00");
  EXPECT_EQ(Shown(shown, RodCheckId::kPsi), "0.437");
  EXPECT_EQ(shown.Message(), kStiffFails + kStableOk);

  d.L = 11999.99;
  EXPECT_EQ(CheckSolidWeb(d).Message(), kStiffOk + kStableOk);
}

TEST(TwoLimbCheck, BattenedWorkedExample) {
  RodCheckData d = LatticeExample();
  const RodCheckDisplay shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(shown.texts,
            (std::vector<ShownText>{
                {1011, "1.00"}, {1076, "54.18"}, {1075, "19.36"}, {1073, "0.837"},
                {1072, "0.972"}, {1070, "53.91"}, {1069, "34.30"}, {1068, "57.56"},
                {1077, kStiffOk + kLimbStiffOk + kStableOk + kLimbStableOk + kBattenOk}}));

  EXPECT_EQ(F2(d.r), "158.11");
  EXPECT_EQ(F2(d.r1), "25.82");
  EXPECT_EQ(d.form, RodForm::TwoLimbBattened);
  const double V = LateralForce(d.A, d.sigma, d.mainGrade);
  EXPECT_EQ(F2(V), "3805.15");
  const BattenStress b = BattenStresses(V, d.L1, d.a, d.Az, d.Iz, d.delta);
  EXPECT_EQ(F2(b.T), "2853.86");
  EXPECT_EQ(F2(b.sigmaB), "57.08");
  EXPECT_EQ(F2(b.tau), "4.28");
  EXPECT_EQ(F2(b.sigmaZ), "57.56");
  EXPECT_EQ(b.sigmaZ, d.sigmaZ);
}

TEST(TwoLimbCheck, LacedWorkedExample) {
  RodCheckData d = LatticeExample();
  d.delta = 0;  // not read by the laced form
  const RodCheckDisplay shown = CheckTwoLimbLaced(d);
  EXPECT_EQ(shown.texts,
            (std::vector<ShownText>{
                {1011, "1.00"}, {1076, "51.39"}, {1075, "23.24"}, {1074, "22.36"},
                {1073, "0.850"}, {1072, "0.959"}, {1071, "0.962"}, {1070, "53.22"},
                {1069, "34.75"}, {1068, "2.44"},
                {1077, kStiffOk + kLimbStiffOk + kLacingStiffOk + kStableOk + kLimbStableOk +
                           kLacingOk}}));

  EXPECT_EQ(F2(d.rz), "22.36");
  const double V = LateralForce(d.A, d.sigma, d.mainGrade);
  EXPECT_EQ(F2(LacingBarForce(V, LacingBarLength(d.L1, d.a), d.a)), "2348.01");
  EXPECT_EQ(F2(LacingBarLength(d.L1, d.a)), "500.00");
}

TEST(TwoLimbCheck, WideBattenSpacingFailsTheSingleLimb) {
  RodCheckData d = LatticeExample();
  d.L1 = 1400;
  const RodCheckDisplay shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda1), "50.35");
  const std::string& m = shown.Message();
  EXPECT_EQ(m.rfind(kStiffOk + kLimbStiffFails, 0), 0u) << m;
}

TEST(TwoLimbCheck, Q345MainLimbsWithQ235Battens) {
  RodCheckData d = LatticeExample();
  d.mainGrade = SteelGrade::Q345;
  RodCheckDisplay shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kPsi), "0.776");
  EXPECT_EQ(Shown(shown, RodCheckId::kPsi1), "0.959");
  EXPECT_EQ(Shown(shown, RodCheckId::kSigma), "57.03");
  EXPECT_EQ(Shown(shown, RodCheckId::kSigma1), "34.77");
  EXPECT_EQ(Shown(shown, RodCheckId::kSigmaZ), "73.79");
  EXPECT_EQ(F2(LateralForce(d.A, d.sigma, d.mainGrade)), "4878.03");
  EXPECT_EQ(F2(AllowableStress(SteelGrade::Q345, 1.34)), "257.46");

  // k = 4.3: 235/k = 54.65 and 345/k = 80.23. σ = 57.03 passes only against
  // the main-limb grade Q345; σz = 73.79 fails only against the batten grade Q235.
  d.k = 4.3;
  shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(shown.Message(), kStiffOk + kLimbStiffOk + kStableOk + kLimbStableOk + kBattenFails);
  d.lacingGrade = SteelGrade::Q345;
  shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(shown.Message(), kStiffOk + kLimbStiffOk + kStableOk + kLimbStableOk + kBattenOk);
}

TEST(TwoLimbCheck, BattenCombinedStressSquaresTheShearBeforeTripling) {
  // σ = 134.98, V = 9528.27 N, T = 7146.21 N, σb = 142.92 MPa, τ = 10.72 MPa:
  // sqrt(σb² + 3·τ²) falls exactly on 144.125, which "%.2f" rounds to even.
  // Tripling τ before squaring it ends one bit higher and shows 144.13.
  RodCheckData d = LatticeExample();
  d.F = 598.2530319916983;
  const RodCheckDisplay shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kSigma), "134.98");
  EXPECT_EQ(Shown(shown, RodCheckId::kSigmaZ), "144.12");
  EXPECT_EQ(d.sigmaZ, 144.125);
}

TEST(FourLimbCheck, BattenedWorkedExample) {
  RodCheckData d = LatticeExample();
  const RodCheckDisplay shown = CheckFourLimbBattened(d);
  EXPECT_EQ(shown.texts,
            (std::vector<ShownText>{
                {1011, "1.00"}, {1076, "52.42"}, {1075, "13.69"}, {1073, "0.845"},
                {1072, "0.986"}, {1070, "53.49"}, {1069, "33.82"}, {1068, "57.11"},
                {1077, kStiffOk + kLimbStiffOk + kStableOk + kLimbStableOk + kBattenOk}}));
  EXPECT_EQ(F2(d.r1), "36.51");
  EXPECT_EQ(F2(LateralForce(d.A, d.sigma, d.mainGrade)), "3775.64");
  EXPECT_EQ(d.form, RodForm::FourLimbBattened);
}

TEST(FourLimbCheck, LacedWorkedExample) {
  RodCheckData d = LatticeExample();
  const RodCheckDisplay shown = CheckFourLimbLaced(d);
  EXPECT_EQ(shown.texts,
            (std::vector<ShownText>{
                {1011, "1.00"}, {1076, "51.77"}, {1075, "16.43"}, {1074, "22.36"},
                {1073, "0.848"}, {1072, "0.980"}, {1071, "0.962"}, {1070, "53.32"},
                {1069, "34.02"}, {1068, "2.45"},
                {1077, kStiffOk + kLimbStiffOk + kLacingStiffOk + kStableOk + kLimbStableOk +
                           kLacingOk}}));
  EXPECT_EQ(F2(d.r1), "36.51");
  const double V = LateralForce(d.A, d.sigma, d.mainGrade);
  EXPECT_EQ(F2(LacingBarForce(V, LacingBarLength(d.L1, d.a), d.a)), "2352.32");
}

TEST(SteppedRod, EachFamilyTakesItsOwnLengthFactor) {
  // Imin/Imax = 0.3, Ld/L = 0.5. 1.0275 lies on a "%.3f" tie: the interpolation
  // in its written order lands just above it.
  RodCheckData d = LatticeExample();
  d.Imin = 4.5e7;
  d.Ld = 4000;
  RodCheckDisplay shown = CheckTwoLimbLaced(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kMu), "1.028");
  EXPECT_NEAR(d.mu, 1.0275, 1e-12);
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda), "52.76");
  EXPECT_EQ(Shown(CheckTwoLimbBattened(d), RodCheckId::kMu), "1.028");

  shown = CheckFourLimbLaced(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kMu), "1.035");
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda), "53.50");
  EXPECT_EQ(Shown(CheckFourLimbBattened(d), RodCheckId::kMu), "1.035");

  RodCheckData s = SolidExample();
  s.Imin = 1.5e7;
  s.Ld = 3000;
  shown = CheckSolidWeb(s);
  EXPECT_EQ(Shown(shown, RodCheckId::kMu), "1.040");
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda), "62.40");
}

// ---- invalid inputs ----

struct FormCase {
  const char* name;
  CheckFn check;
  bool lattice;
  bool battened;
};
const FormCase kAllForms[] = {
    {"solid-web", CheckSolidWeb, false, false},
    {"two-limb battened", CheckTwoLimbBattened, true, true},
    {"two-limb laced", CheckTwoLimbLaced, true, false},
    {"four-limb battened", CheckFourLimbBattened, true, true},
    {"four-limb laced", CheckFourLimbLaced, true, false},
};

TEST(InvalidInput, ShowsMuAndTheMessageAndKeepsEverythingElse) {
  struct Breaker {
    const char* what;
    void (*apply)(RodCheckData&);
    bool latticeOnly;
    bool battenedOnly;
  };
  const Breaker breakers[] = {
      {"F = 0", [](RodCheckData& d) { d.F = 0; }, false, false},
      {"L = 0", [](RodCheckData& d) { d.L = 0; }, false, false},
      {"G < 0", [](RodCheckData& d) { d.G = -1; }, false, false},
      {"A = 0", [](RodCheckData& d) { d.A = 0; }, false, false},
      {"h < 0", [](RodCheckData& d) { d.h = -150; }, false, false},
      {"Imax = Imin = 0", [](RodCheckData& d) { d.Imax = d.Imin = 0; }, false, false},
      {"Imax = Imin < 0", [](RodCheckData& d) { d.Imax = d.Imin = -1; }, false, false},
      {"Az = 0", [](RodCheckData& d) { d.Az = 0; }, true, false},
      {"I1 = 0", [](RodCheckData& d) { d.I1 = 0; }, true, false},
      {"Iz = 0", [](RodCheckData& d) { d.Iz = 0; }, true, false},
      {"L1 = 0", [](RodCheckData& d) { d.L1 = 0; }, true, false},
      {"a = 0", [](RodCheckData& d) { d.a = 0; }, true, false},
      {"delta = 0", [](RodCheckData& d) { d.delta = 0; }, true, true},
      // Field expressions such as pow(-1, 0.5) or cosh(1000) give no finite number.
      {"F not a number", [](RodCheckData& d) { d.F = std::nan(""); }, false, false},
      {"L infinite", [](RodCheckData& d) { d.L = HUGE_VAL; }, false, false},
      {"k not a number", [](RodCheckData& d) { d.k = std::nan(""); }, false, false},
      {"Iz infinite", [](RodCheckData& d) { d.Iz = HUGE_VAL; }, true, false},
      {"delta infinite", [](RodCheckData& d) { d.delta = HUGE_VAL; }, true, true},
  };
  for (const FormCase& form : kAllForms) {
    for (const Breaker& b : breakers) {
      if ((b.latticeOnly && !form.lattice) || (b.battenedOnly && !form.battened)) continue;
      RodCheckData d = form.lattice ? LatticeExample() : SolidExample();
      form.check(d);
      const RodCheckData before = d;
      b.apply(d);
      const RodCheckDisplay shown = form.check(d);
      SCOPED_TRACE(std::string(form.name) + ", " + b.what);
      EXPECT_EQ(shown.texts, (std::vector<ShownText>{{1011, "1.00"}, {1077, kInvalid}}));
      EXPECT_EQ(d.message, kInvalid);
      EXPECT_EQ(d.lambda, before.lambda);
      EXPECT_EQ(d.lambda1, before.lambda1);
      EXPECT_EQ(d.psi, before.psi);
      EXPECT_EQ(d.sigma, before.sigma);
      EXPECT_EQ(d.sigmaZ, before.sigmaZ);
      EXPECT_EQ(d.r, before.r);
      EXPECT_EQ(d.Fe, before.Fe);
    }
  }
}

TEST(InvalidInput, RatiosOutsideTheTableShowTheErrorMark) {
  for (const FormCase& form : kAllForms) {
    SCOPED_TRACE(form.name);
    RodCheckData d = form.lattice ? LatticeExample() : SolidExample();
    d.Imin = d.Imax * 1.5;  // Imin greater than Imax
    RodCheckDisplay shown = form.check(d);
    EXPECT_EQ(shown.texts, (std::vector<ShownText>{{1011, "-1.000"}, {1077, kInvalid}}));
    EXPECT_EQ(d.mu, -1.0);

    d.Imin = d.Imax / 2;
    d.Ld = d.L * 1.2;
    shown = form.check(d);
    EXPECT_EQ(Shown(shown, RodCheckId::kMu), "-1.000");
    EXPECT_EQ(shown.Message(), kInvalid);

    // A large section over the whole rod: μ = 1 from the table, shown with 3 decimals.
    d.Ld = d.L;
    shown = form.check(d);
    EXPECT_EQ(Shown(shown, RodCheckId::kMu), "1.000");
    EXPECT_NE(shown.Message(), kInvalid);
  }
}

TEST(InvalidInput, EqualSectionsIgnoreTheLargeSectionLength) {
  for (const FormCase& form : kAllForms) {
    for (double Ld : {-5.0, 0.0, 1e9}) {
      RodCheckData d = form.lattice ? LatticeExample() : SolidExample();
      d.Ld = Ld;
      const RodCheckDisplay shown = form.check(d);
      EXPECT_EQ(Shown(shown, RodCheckId::kMu), "1.00") << form.name << " " << Ld;
      EXPECT_EQ(shown.Message().rfind(kStiffOk, 0), 0u) << form.name << " " << Ld;
    }
  }
}

TEST(InvalidInput, LacedFormsDoNotReadTheBattenThickness) {
  for (CheckFn check : {CheckTwoLimbLaced, CheckFourLimbLaced}) {
    RodCheckData d = LatticeExample();
    const std::string expected = check(d).Message();
    for (double delta : {0.0, -3.0, std::nan("")}) {
      d.delta = delta;
      EXPECT_EQ(check(d).Message(), expected);
    }
  }
}

// ---- verdict boundaries ----

// Two-limb battened rod with r = 100, r1 = 20 and battens Az/δ = 100 wide.
RodCheckData RoundBattenedRod(double L, double L1) {
  RodCheckData d = LatticeExample();
  d.A = 5000;
  d.Imax = d.Imin = 5.0e7;
  d.I1 = 1.0e6;
  d.L = L;
  d.L1 = L1;
  return d;
}

TEST(VerdictBoundaries, BattenedSingleLimbAt40) {
  // λx = 80, λ1 = (900 - 100) / 20 = 40, λ换 = 89.44: the 40 limit decides.
  RodCheckData d = RoundBattenedRod(8000, 900);
  RodCheckDisplay shown = CheckTwoLimbBattened(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda1), "40.00");
  EXPECT_EQ(d.lambda1, 40.0);
  EXPECT_NE(shown.Message().find(kLimbStiffFails), std::string::npos);
  d.L1 = 899.9;
  EXPECT_NE(CheckTwoLimbBattened(d).Message().find(kLimbStiffOk), std::string::npos);
}

TEST(VerdictBoundaries, BattenedSingleLimbAtHalfTheConvertedSlenderness) {
  // λ1 = 20; λx = 34.64 gives λ换 = 39.999 (λ1 above half of it), λx = 34.65
  // gives λ换 = 40.008.
  RodCheckData d = RoundBattenedRod(3464, 500);
  EXPECT_NE(CheckTwoLimbBattened(d).Message().find(kLimbStiffFails), std::string::npos);
  EXPECT_LT(d.lambda1, 40);
  d.L = 3465;
  EXPECT_NE(CheckTwoLimbBattened(d).Message().find(kLimbStiffOk), std::string::npos);
}

TEST(VerdictBoundaries, LacedSingleLimbAtSevenTenths) {
  // λx = 4000/100 = 40, 13.5·A/Az = 900, λ换 = 50; λ1 = 700/20 = 35 = 0.7·λ换.
  RodCheckData d = LatticeExample();
  d.A = 6000;
  d.Imax = d.Imin = 6.0e7;
  d.L = 4000;
  d.Az = 90;
  d.Iz = 5.0e5;
  d.I1 = 1.2e6;
  d.L1 = 700;
  RodCheckDisplay shown = CheckTwoLimbLaced(d);
  EXPECT_EQ(d.lambda, 50.0);
  EXPECT_EQ(d.lambda1, 35.0);
  EXPECT_EQ(shown.Message().rfind(kStiffOk + kLimbStiffFails, 0), 0u) << shown.Message();
  d.L1 = 699.9;
  shown = CheckTwoLimbLaced(d);
  EXPECT_EQ(shown.Message().rfind(kStiffOk + kLimbStiffOk, 0), 0u) << shown.Message();
}

TEST(VerdictBoundaries, StressAtTheAllowableFails) {
  RodCheckData d = SolidExample();
  CheckSolidWeb(d);
  const double sigma = d.sigma;
  // A safety factor whose allowable stress is σ itself.
  double k = 235.0 / sigma;
  while (AllowableStress(SteelGrade::Q235, k) < sigma) k = std::nextafter(k, 0.0);
  while (AllowableStress(SteelGrade::Q235, k) > sigma) k = std::nextafter(k, 10.0);
  ASSERT_EQ(AllowableStress(SteelGrade::Q235, k), sigma);
  d.k = k;
  EXPECT_EQ(CheckSolidWeb(d).Message(), kStiffOk + kStableFails);
  d.k = std::nextafter(k, 0.0);
  EXPECT_EQ(CheckSolidWeb(d).Message(), kStiffOk + kStableOk);
}

TEST(VerdictBoundaries, SafetyFactorZeroPassesAndNegativeFails) {
  RodCheckData d = SolidExample();
  d.F = 1000;  // σ above 235 MPa
  CheckSolidWeb(d);
  ASSERT_GT(d.sigma, 235);
  d.k = 0;
  EXPECT_EQ(CheckSolidWeb(d).Message(), kStiffOk + kStableOk);
  d.F = 100;
  d.k = -1.34;
  EXPECT_EQ(CheckSolidWeb(d).Message(), kStiffOk + kStableFails);
  RodCheckData lattice = LatticeExample();
  lattice.k = -1;
  EXPECT_EQ(CheckTwoLimbBattened(lattice).Message(),
            kStiffOk + kLimbStiffOk + kStableFails + kLimbStableFails + kBattenFails);
}

TEST(VerdictBoundaries, TensionGivesNoStabilityLine) {
  RodCheckData d = SolidExample();
  d.F = -100;
  const RodCheckDisplay shown = CheckSolidWeb(d);
  EXPECT_LT(d.sigma, 0);
  EXPECT_EQ(shown.Message(), kStiffOk);

  // Laced: σ, σ1 and the lacing-bar stress all turn negative.
  RodCheckData laced = LatticeExample();
  laced.F = -200;
  laced.G = 0;
  EXPECT_EQ(CheckTwoLimbLaced(laced).Message(), kStiffOk + kLimbStiffOk + kLacingStiffOk);
}

TEST(VerdictBoundaries, BattensWiderThanTheirSpacingGiveNoSingleLimbStiffnessLine) {
  RodCheckData d = LatticeExample();
  d.L1 = 80;  // battens Az/δ = 100 wide
  const RodCheckDisplay shown = CheckTwoLimbBattened(d);
  EXPECT_LT(d.lambda1, 0);
  EXPECT_EQ(Shown(shown, RodCheckId::kPsi1), "1.000");
  EXPECT_EQ(shown.Message(), kStiffOk + kStableOk + kLimbStableOk + kBattenOk);

  d.L1 = 100;  // battens exactly as wide as their spacing: λ1 = 0
  EXPECT_EQ(CheckTwoLimbBattened(d).Message(), kStiffOk + kStableOk + kLimbStableOk + kBattenOk);
  EXPECT_EQ(d.lambda1, 0.0);
}

TEST(VerdictBoundaries, EveryFailingLineOfTheLatticeForms) {
  // A long rod (λx = 126.5) with wide panels (L1 = 3400) and thin lacing bars
  // (rz = 10): every slenderness fails; k < 0 makes every stress fail too.
  RodCheckData base = LatticeExample();
  base.L = base.Ld = 20000;
  base.L1 = 3400;
  base.Iz = 1.0e5;
  base.k = -1;
  const std::string battened =
      kStiffFails + kLimbStiffFails + kStableFails + kLimbStableFails + kBattenFails;
  const std::string laced = kStiffFails + kLimbStiffFails + kLacingStiffFails + kStableFails +
                            kLimbStableFails + kLacingFails;
  RodCheckData d = base;
  EXPECT_EQ(CheckTwoLimbBattened(d).Message(), battened);
  EXPECT_EQ(Shown(CheckTwoLimbLaced(d), RodCheckId::kLambdaZ), "174.64");
  EXPECT_EQ(d.message, laced);
  EXPECT_EQ(CheckFourLimbBattened(d).Message(), battened);
  const RodCheckDisplay shown = CheckFourLimbLaced(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda), "126.96");
  EXPECT_EQ(Shown(shown, RodCheckId::kLambda1), "93.11");  // 0.7·λ换 = 88.87
  EXPECT_EQ(shown.Message(), laced);
}

TEST(VerdictBoundaries, CompressionJustBelowTheEulerLimitKeepsTheFormula) {
  // 0.9·Fe = 2538847.0 N; at 2538.8 kN the amplifier 1 - F/(0.9·Fe) is 1.85e-5.
  RodCheckData d = SolidExample();
  d.F = 2538.8;
  RodCheckDisplay shown = CheckSolidWeb(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kSigma), "365250.84");
  EXPECT_EQ(shown.Message(), kStiffOk + kStableFails);
  // Without self-weight only the axial part 2538800 / (5000·0.807) is left,
  // and an allowable stress above it passes.
  d.G = 0;
  d.k = 0.01;
  shown = CheckSolidWeb(d);
  EXPECT_EQ(Shown(shown, RodCheckId::kSigma), "629.19");
  EXPECT_EQ(shown.Message(), kStiffOk + kStableOk);
}

TEST(VerdictBoundaries, CompressionBeyondTheEulerLimitFails) {
  // Fe = 2820941.11 N for the solid-web example; 0.9·Fe is 2538.85 kN.
  for (double G : {300.0, 0.0}) {
    RodCheckData d = SolidExample();
    d.G = G;
    d.F = 2600;
    const RodCheckDisplay shown = CheckSolidWeb(d);
    EXPECT_EQ(Shown(shown, RodCheckId::kSigma), "inf");
    EXPECT_EQ(shown.Message(), kStiffOk + kStableFails) << G;
  }
  RodCheckData d = LatticeExample();
  d.F = 9000;
  const RodCheckDisplay shown = CheckTwoLimbLaced(d);
  EXPECT_EQ(shown.Message().find(kStableOk), std::string::npos) << shown.Message();
  EXPECT_NE(shown.Message().find(kStableFails), std::string::npos) << shown.Message();
}

}  // namespace
}  // namespace tiecalc

namespace tiecalc {
namespace {

// The broken rules name the inputs to fix, and none is reported exactly
// when the check of the form runs instead of refusing the inputs.
TEST(RodCheckRules, NoneExactlyWhenTheCheckRuns) {
  const CheckFn checks[] = {CheckSolidWeb, CheckTwoLimbBattened, CheckTwoLimbLaced, CheckFourLimbBattened,
                            CheckFourLimbLaced};
  const RodForm forms[] = {RodForm::SolidWeb, RodForm::TwoLimbBattened, RodForm::TwoLimbLaced,
                           RodForm::FourLimbBattened, RodForm::FourLimbLaced};
  std::mt19937 rng(3);
  const double values[] = {-1, 0, 1, INFINITY};
  for (int i = 0; i < 5000; ++i) {
    RodCheckData d = LatticeExample();
    // Spoil one or two inputs, or none.
    double* fields[] = {&d.F, &d.L, &d.G, &d.A, &d.h, &d.Imax, &d.Imin, &d.Ld, &d.k,
                        &d.Az, &d.I1, &d.Iz, &d.delta, &d.L1, &d.a};
    for (int k = 0; k < 2; ++k)
      if (rng() % 3) *fields[rng() % std::size(fields)] = values[rng() % std::size(values)];
    const size_t f = rng() % 5;
    checks[f](d);
    EXPECT_EQ(d.message == kInvalid, !BrokenRodCheckRules(d, forms[f]).empty()) << i;
  }
  RodCheckData d = SolidExample();
  d.Imin = 6.0e7;  // the small section stiffer than the large one
  d.G = -1;
  CheckSolidWeb(d);
  const std::vector<BrokenRule> broken = BrokenRodCheckRules(d, RodForm::SolidWeb);
  ASSERT_EQ(2u, broken.size());
  EXPECT_EQ("G>=0", broken[0].rule);
  EXPECT_EQ((std::vector<std::string>{"Imax", "Imin", "Ld"}), broken[1].fields);
}

}  // namespace
}  // namespace tiecalc
