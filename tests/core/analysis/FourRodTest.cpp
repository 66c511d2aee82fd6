// The four-rod solver and its two layouts: worked examples to the printed
// digit, validity rules, and equilibrium, moments and compatibility on random
// frames of both layouts.
#include "core/analysis/FourRod.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/analysis/Angles.h"
#include "core/analysis/FourRodLayout.h"
#include "core/input/Format.h"

namespace tiecalc {
namespace {

const Rod4 kE = {206, 206, 206, 206};
const Rod4 kS = {2000, 2000, 2000, 2000};

FourRodLayoutI LayoutIExample() {
  FourRodLayoutI in;
  in.A = in.B = in.C = in.D = in.E = in.F = 800;
  in.X1 = in.X2 = 3000;
  in.X3 = in.X4 = 1200;
  in.Y1 = in.Y2 = 4000;
  return in;
}

FourRodLayoutII LayoutIIExample() {
  FourRodLayoutII in;
  in.A = 900;
  in.B = 900;
  in.C = 300;
  in.D = 1000;
  in.E = 300;
  in.F = 100;
  in.G = 300;
  in.H = 1000;
  in.X1 = in.X2 = 3500;
  in.X3 = in.X4 = 1500;
  in.Y1 = in.Y2 = 4500;
  return in;
}

struct Expected {
  const char* angles[4];
  const char* lengths[4];  // Format2, as the L fields show them
  const char* forces[4];   // bound doubles
  const char* fx[4];
  const char* fy[4];
  const char* forceText[4];
  const char* angleText[4];
};

template <class Layout>
void ExpectPage(const Layout& geo, const Expected& x) {
  ASSERT_TRUE(IsFourRodInputValid(geo));
  const FourRodAngles a = FourRodAnglesOf(geo);
  const double angles[4] = {a.Alpha, a.Beta, a.Gamma, a.Delta};
  const FourRodResult r =
      SolveFourRodPage(FourRodGeometryOf(geo, a), FourRodLengthsOf(geo, a), kE, kS, 100, 300, 30);
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE("rod " + std::to_string(i + 1));
    EXPECT_EQ(FormatBound(angles[i]), x.angles[i]);
    EXPECT_EQ(Format2(r.L[i]), x.lengths[i]);
    EXPECT_EQ(FormatBound(r.Forces.F[i]), x.forces[i]);
    EXPECT_EQ(FormatBound(r.Forces.Fx[i]), x.fx[i]);
    EXPECT_EQ(FormatBound(r.Forces.Fy[i]), x.fy[i]);
    EXPECT_EQ(r.ForceText[i], x.forceText[i]);
    EXPECT_EQ(r.AngleText[i], x.angleText[i]);
  }
}

TEST(FourRodExample, LayoutI) {
  ExpectPage(LayoutIExample(),
             {{"65.38", "72.65", "72.65", "65.38"},
              {"5279.99", "3352.53", "3352.53", "5279.99"},
              {"235.57", "-153.23", "186.47", "-215.47"},
              {"98.14", "-45.69", "-55.61", "89.77"},
              {"214.16", "-146.26", "177.99", "-195.88"},
              {"-728.53/728.53", "-1185.40/1185.40", "-1185.40/1185.40", "-728.53/728.53"},
              {"-4.27/175.73", "-176.50/3.50", "-3.50/176.50", "-175.73/4.27"}});
  const FourRodLayoutI geo = LayoutIExample();
  const FourRodAngles a = FourRodAnglesOf(geo);
  const FourRodCoefficients k = PrepareFourRod(FourRodGeometryOf(geo, a), FourRodLengthsOf(geo, a), kE, kS);
  EXPECT_NEAR(k.xP, -770.74, 0.005);
  EXPECT_NEAR(k.xQ, -770.74, 0.005);
  EXPECT_NEAR(k.yP, -4227.65, 0.005);
  EXPECT_NEAR(k.yQ, -4227.65, 0.005);
  EXPECT_NEAR(k.W, -1541.47, 0.005);
}

TEST(FourRodExample, LayoutII) {
  ExpectPage(LayoutIIExample(),
             {{"61.56", "64.09", "59.04", "58.24"},
              {"5458.78", "3891.13", "4081.50", "4939.66"},
              {"156.57", "-44.03", "92.38", "-149.7"},
              {"74.57", "-19.24", "-47.52", "78.8"},
              {"137.68", "-39.61", "79.21", "-127.29"},
              {"-156.62/156.62", "-205.92/205.92", "-214.60/214.60", "-184.13/184.13"},
              {"-152.87/27.13", "-146.67/33.33", "-15.75/164.25", "-42.67/137.33"}});
}

TEST(FourRodRules, RodsWithoutStiffnessOrLengthAreNamedWithTheirReason) {
  // Without a positive flexibility L / (E * S) the redundant is undefined or
  // of the wrong sign: the page must not solve such rods at all.
  const auto reasons = [](const std::vector<BrokenRule>& broken) {
    std::vector<std::string> out;
    for (const BrokenRule& b : broken) out.push_back(b.Reason() + " @" + b.fields.front());
    return out;
  };
  EXPECT_EQ(reasons(BrokenFourRodLoadRules({NAN, 206, 206, -206}, {2000, 0, INFINITY, 2000}, 100, 300, 30)),
            (std::vector<std::string>{"杆1弹性模量必须大于0 @E1", "杆2截面积必须大于0 @S2", "杆3截面积必须大于0 @S3",
                                      "杆4弹性模量必须大于0 @E4"}));
  EXPECT_EQ(reasons(BrokenFourRodLoadRules(kE, kS, NAN, 300, INFINITY)),
            (std::vector<std::string>{"不满足 数值有限 @R", "不满足 数值有限 @theta"}));
  EXPECT_EQ(reasons(BrokenFourRodLengthRules({5000, -0.0, -1, NAN}, FourRodRunFields(LayoutIIExample()))),
            (std::vector<std::string>{"杆2长度必须大于0 @Y1", "杆3长度必须大于0 @Y2", "杆4长度必须大于0 @Y2"}));
  EXPECT_TRUE(BrokenFourRodLoadRules(kE, kS, -100, -300, 720).empty());
}

TEST(FourRodExample, ManualLengthsAreUsedUnroundedAndStoredRounded) {
  const FourRodLayoutI geo = LayoutIExample();
  const FourRodAngles a = FourRodAnglesOf(geo);
  Rod4 L = FourRodLengthsOf(geo, a);
  const FourRodResult automatic = SolveFourRodPage(FourRodGeometryOf(geo, a), L, kE, kS, 100, 300, 30);
  L[0] = 5000.004;
  const FourRodResult manual = SolveFourRodPage(FourRodGeometryOf(geo, a), L, kE, kS, 100, 300, 30);
  EXPECT_EQ(manual.L[0], 5000.0);
  EXPECT_NE(manual.Forces.F[0], automatic.Forces.F[0]);
}

TEST(FourRodValidity, LayoutIRules) {
  auto with = [](auto change) {
    FourRodLayoutI in = LayoutIExample();
    change(in);
    return IsFourRodInputValid(in);
  };
  EXPECT_TRUE(with([](FourRodLayoutI&) {}));
  EXPECT_FALSE(IsFourRodInputValid(FourRodLayoutI{}));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.A = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.D = 0; }));
  // X1 must exceed A or D; X2 must exceed E or F.
  EXPECT_TRUE(with([](FourRodLayoutI& in) { in.X1 = in.A; in.D = 700; in.X3 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.X1 = 800; in.X3 = 0; }));
  EXPECT_TRUE(with([](FourRodLayoutI& in) { in.X2 = in.E; in.F = 700; in.X4 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.X2 = 800; in.X4 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.Y1 = in.C; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.Y2 = in.C; }));
  EXPECT_TRUE(with([](FourRodLayoutI& in) { in.X3 = in.X1; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.X3 = in.X1 + 0.01; }));
  EXPECT_TRUE(with([](FourRodLayoutI& in) { in.X3 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.X3 = -0.01; }));
  EXPECT_TRUE(with([](FourRodLayoutI& in) { in.X4 = in.X2; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.X4 = in.X2 + 0.01; }));
  EXPECT_FALSE(with([](FourRodLayoutI& in) { in.X4 = -0.01; }));
  // B, E and F may have either sign.
  EXPECT_TRUE(with([](FourRodLayoutI& in) { in.B = -300; in.E = -100; in.F = -100; }));
}

TEST(FourRodValidity, LayoutIIRules) {
  auto with = [](auto change) {
    FourRodLayoutII in = LayoutIIExample();
    change(in);
    return IsFourRodInputValid(in);
  };
  EXPECT_TRUE(with([](FourRodLayoutII&) {}));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.A = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.B = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.D = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.X1 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.X2 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.Y1 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.Y2 = 0; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.X3 = -1; }));
  EXPECT_FALSE(with([](FourRodLayoutII& in) { in.X4 = -1; }));
  EXPECT_TRUE(with([](FourRodLayoutII& in) { in.X3 = 0; in.X4 = 0; }));
  EXPECT_TRUE(with([](FourRodLayoutII& in) { in.C = -1; in.E = -1; in.F = -1; in.G = -1; in.H = -1; }));
  EXPECT_TRUE(with([](FourRodLayoutII& in) { in.X3 = in.X1 + 1; in.X4 = in.X2 + 1; }));
}

// Random frames of both layouts, anchored well clear of the mast.
struct Frame {
  FourRodGeometry g;
  Rod4 L, E, S;
};

template <class Layout>
Frame MakeFrame(const Layout& geo, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  Frame f;
  const FourRodAngles a = FourRodAnglesOf(geo);
  f.g = FourRodGeometryOf(geo, a);
  f.L = FourRodLengthsOf(geo, a);
  for (size_t i = 0; i < 4; ++i) {
    f.E[i] = 150 + 100 * u(rng);
    f.S[i] = 500 + 5000 * u(rng);
  }
  return f;
}

FourRodLayoutI RandomLayoutI(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  FourRodLayoutI in;
  in.A = 300 + 1200 * u(rng);
  in.D = 300 + 1200 * u(rng);
  in.E = 300 + 1200 * u(rng);
  in.F = 300 + 1200 * u(rng);
  in.B = -500 + 2000 * u(rng);
  in.C = -500 + 2000 * u(rng);
  in.X1 = std::max(in.A, in.D) + 300 + 4000 * u(rng);
  in.X2 = std::max(in.E, in.F) + 300 + 4000 * u(rng);
  in.X3 = in.X1 * u(rng);
  in.X4 = in.X2 * u(rng);
  in.Y1 = std::max(in.C, -in.B) + 1000 + 5000 * u(rng);
  in.Y2 = std::max(in.C, -in.B) + 1000 + 5000 * u(rng);
  return in;
}

FourRodLayoutII RandomLayoutII(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  FourRodLayoutII in;
  in.A = 300 + 1200 * u(rng);
  in.B = 300 + 1200 * u(rng);
  in.C = -500 + 1500 * u(rng);
  in.D = 300 + 1200 * u(rng);
  in.E = -800 + 1600 * u(rng);
  in.F = -800 + 1600 * u(rng);
  in.G = -800 + 1600 * u(rng);
  in.H = -500 + 1500 * u(rng);
  in.X1 = 1500 + 4000 * u(rng);
  in.X2 = 1500 + 4000 * u(rng);
  in.X3 = 1000 * u(rng);
  in.X4 = 1000 * u(rng);
  in.Y1 = 2500 + 5000 * u(rng);
  in.Y2 = 2500 + 5000 * u(rng);
  return in;
}

// Rod unit vectors and tower-side points in the x frame.
struct Rods {
  double ux[4], uy[4], x[4], y[4];
};

Rods RodsOf(const FourRodGeometry& g) {
  Rods r;
  const double ang[4] = {Rad(g.Angles.Alpha), Rad(g.Angles.Beta), Rad(g.Angles.Gamma), Rad(g.Angles.Delta)};
  const double side[4] = {1, 1, -1, -1};
  const double px[4] = {g.t1x, g.t2x, -g.t3x, -g.t4x};
  const double py[4] = {g.t1y, g.t2y, g.t3y, g.t4y};
  for (int i = 0; i < 4; ++i) {
    r.ux[i] = side[i] * std::cos(ang[i]);
    r.uy[i] = std::sin(ang[i]);
    r.x[i] = px[i];
    r.y[i] = py[i];
  }
  return r;
}

// A self-balanced set of rod forces (zero resultant, zero moment): the null
// vector of the 3x4 equilibrium matrix, by cofactors.
std::array<double, 4> SelfBalanced(const Rods& r) {
  double a[3][4];
  for (int i = 0; i < 4; ++i) {
    a[0][i] = r.ux[i];
    a[1][i] = r.uy[i];
    a[2][i] = r.x[i] * r.uy[i] - r.y[i] * r.ux[i];
  }
  auto det3 = [&](int c0, int c1, int c2) {
    return a[0][c0] * (a[1][c1] * a[2][c2] - a[1][c2] * a[2][c1]) -
           a[0][c1] * (a[1][c0] * a[2][c2] - a[1][c2] * a[2][c0]) +
           a[0][c2] * (a[1][c0] * a[2][c1] - a[1][c1] * a[2][c0]);
  };
  return {det3(1, 2, 3), -det3(0, 2, 3), det3(0, 1, 3), -det3(0, 1, 2)};
}

bool WellConditioned(const FourRodGeometry& g) {
  const FourRodAngles& a = g.Angles;
  return std::fabs(a.Alpha - a.Beta) > 3 && std::fabs(a.Gamma - a.Delta) > 3;
}

// Checks force balance, moment balance and compatibility at random loads.
void CheckSolution(const Frame& f, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  const FourRodCoefficients k = PrepareFourRod(f.g, f.L, f.E, f.S);
  if (std::fabs(k.W) < 100) return;  // P and Q nearly on one vertical
  const Rods rods = RodsOf(f.g);
  const std::array<double, 4> self = SelfBalanced(rods);
  for (int n = 0; n < 5; ++n) {
    const double R = -300 + 600 * u(rng), M = -500 + 1000 * u(rng), theta = 720 * u(rng) - 360;
    const FourRodForces F = FourRodForcesAt(k, R, M, theta);
    double scale = std::fabs(R);
    for (double v : F.F) scale += std::fabs(v);
    double sx = 0, sy = 0, mz = 0, compat = 0, compatScale = 0, reach = 0;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_DOUBLE_EQ(F.Fx[i], rods.ux[i] * F.F[i]);
      EXPECT_DOUBLE_EQ(F.Fy[i], rods.uy[i] * F.F[i]);
      sx += F.Fx[i];
      sy += F.Fy[i];
      mz += rods.x[i] * F.Fy[i] - rods.y[i] * F.Fx[i];
      reach = std::max(reach, std::hypot(rods.x[i], rods.y[i]));
      const double w = f.L[i] / (f.E[i] * f.S[i]);
      compat += F.F[i] * self[i] * w;
      compatScale += std::fabs(F.F[i] * self[i] * w);
    }
    EXPECT_NEAR(sx, R * std::cos(Rad(theta)), 1e-9 * scale);
    EXPECT_NEAR(sy, R * std::sin(Rad(theta)), 1e-9 * scale);
    EXPECT_NEAR(mz, M * 1000.0, 1e-9 * scale * reach + 1e-9 * std::fabs(M) * 1000.0);
    EXPECT_NEAR(compat, 0.0, 1e-9 * compatScale);
  }
}

TEST(FourRodInvariants, LayoutIBalancesAndIsCompatible) {
  std::mt19937_64 rng(11);
  int checked = 0;
  for (int n = 0; n < 1000; ++n) {
    const FourRodLayoutI geo = RandomLayoutI(rng);
    ASSERT_TRUE(IsFourRodInputValid(geo));
    const Frame f = MakeFrame(geo, rng);
    if (!WellConditioned(f.g)) continue;
    CheckSolution(f, rng);
    ++checked;
  }
  EXPECT_GT(checked, 500);
}

TEST(FourRodInvariants, LayoutIIBalancesAndIsCompatible) {
  std::mt19937_64 rng(12);
  int checked = 0;
  for (int n = 0; n < 1000; ++n) {
    const FourRodLayoutII geo = RandomLayoutII(rng);
    ASSERT_TRUE(IsFourRodInputValid(geo));
    const Frame f = MakeFrame(geo, rng);
    if (!WellConditioned(f.g)) continue;
    CheckSolution(f, rng);
    ++checked;
  }
  EXPECT_GT(checked, 500);
}

TEST(FourRodInvariants, OnlyTheRatiosOfTheStiffnessesMatter) {
  std::mt19937_64 rng(13);
  for (int n = 0; n < 100; ++n) {
    const Frame f = MakeFrame(RandomLayoutI(rng), rng);
    if (!WellConditioned(f.g)) continue;
    Frame e2 = f, s3 = f, l = f;
    for (size_t i = 0; i < 4; ++i) {
      e2.E[i] *= 2;
      s3.S[i] *= 3;
    }
    l.L[0] *= 1.5;  // one rod more flexible: the redundant changes
    const FourRodForces base = FourRodForcesAt(PrepareFourRod(f.g, f.L, f.E, f.S), 150, 250, 40);
    const FourRodForces byE = FourRodForcesAt(PrepareFourRod(e2.g, e2.L, e2.E, e2.S), 150, 250, 40);
    const FourRodForces byS = FourRodForcesAt(PrepareFourRod(s3.g, s3.L, s3.E, s3.S), 150, 250, 40);
    const FourRodForces byL = FourRodForcesAt(PrepareFourRod(l.g, l.L, l.E, l.S), 150, 250, 40);
    double change = 0;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_NEAR(byE.F[i], base.F[i], 1e-9 * (1 + std::fabs(base.F[i])));
      EXPECT_NEAR(byS.F[i], base.F[i], 1e-9 * (1 + std::fabs(base.F[i])));
      change += std::fabs(byL.F[i] - base.F[i]);
    }
    EXPECT_GT(change, 1e-6);
  }
}

TEST(FourRodExtremes, SignOfROrMSwapsOrKeepsThePair) {
  std::mt19937_64 rng(14);
  for (int n = 0; n < 200; ++n) {
    const Frame f = MakeFrame(RandomLayoutII(rng), rng);
    const FourRodCoefficients k = PrepareFourRod(f.g, f.L, f.E, f.S);
    const auto pos = FourRodExtremes(k, 120, 340);
    const auto neg = FourRodExtremes(k, -120, 340);
    const auto negM = FourRodExtremes(k, 120, -340);
    const auto none = FourRodExtremes(k, 0, 340);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_NEAR(neg[i].First, pos[i].Second, 1e-9 * std::fabs(pos[i].First));
      EXPECT_NEAR(neg[i].Second, pos[i].First, 1e-9 * std::fabs(pos[i].First));
      EXPECT_EQ(neg[i].AngleText, pos[i].AngleText);
      EXPECT_EQ(negM[i].ForceText, pos[i].ForceText);
      // Equal and opposite: (|m M 1000| + |R| sqrt(s^2 + c^2)) / |W|.
      const double size = (std::fabs(k.m[i] * 340 * 1000.0) + 120 * std::hypot(k.s[i], k.c[i])) / std::fabs(k.W);
      EXPECT_NEAR(std::fabs(pos[i].First), size, 1e-9 * size);
      EXPECT_NEAR(pos[i].First, -pos[i].Second, 1e-9 * size);
      const double torqueOnly = std::fabs(k.m[i] * 340 * 1000.0) / k.W;
      EXPECT_NEAR(none[i].First, torqueOnly, 1e-12 * std::fabs(torqueOnly));
      EXPECT_NEAR(none[i].Second, -torqueOnly, 1e-12 * std::fabs(torqueOnly));
    }
  }
}

TEST(FourRodExtremes, PairsBoundTheSweep) {
  const FourRodLayoutI geo = LayoutIExample();
  const FourRodAngles a = FourRodAnglesOf(geo);
  const FourRodCoefficients k = PrepareFourRod(FourRodGeometryOf(geo, a), FourRodLengthsOf(geo, a), kE, kS);
  const auto ext = FourRodExtremes(k, 100, 300);
  for (size_t i = 0; i < 4; ++i) {
    double lo = 1e300, hi = -1e300;
    for (double M : {300.0, -300.0})
      for (int t = 0; t < 3600; ++t) {
        const double F = FourRodForcesAt(k, 100, M, t / 10.0).F[i];
        lo = std::min(lo, F);
        hi = std::max(hi, F);
      }
    const double top = std::max(ext[i].First, ext[i].Second);
    const double bottom = std::min(ext[i].First, ext[i].Second);
    EXPECT_LE(hi, top + 1e-9);
    EXPECT_GE(lo, bottom - 1e-9);
    EXPECT_NEAR(hi, top, 0.1);
    EXPECT_NEAR(lo, bottom, 0.1);
  }
}

TEST(FourRodPeriodicity, TurnsRepeatWithinTheErrorOf3_1416) {
  const FourRodLayoutI geo = LayoutIExample();
  const FourRodAngles a = FourRodAnglesOf(geo);
  const FourRodCoefficients k = PrepareFourRod(FourRodGeometryOf(geo, a), FourRodLengthsOf(geo, a), kE, kS);
  const double turnError = std::fabs(360.0 * kModelPi / 180.0 - 2.0 * std::acos(-1.0));
  for (double theta : {0.0, 30.0, 200.0}) {
    const FourRodForces f0 = FourRodForcesAt(k, 100, 300, theta);
    const FourRodForces f360 = FourRodForcesAt(k, 100, 300, theta + 360);
    const FourRodForces r0 = FourRodForcesAt(k, 100, 0, theta);
    const FourRodForces r180 = FourRodForcesAt(k, 100, 0, theta + 180);
    const FourRodForces m0 = FourRodForcesAt(k, 0, 300, theta);
    const FourRodForces m180 = FourRodForcesAt(k, 0, 300, theta + 180);
    for (size_t i = 0; i < 4; ++i) {
      const double amplitude = 100 * std::hypot(k.s[i], k.c[i]) / std::fabs(k.W);
      EXPECT_NEAR(f360.F[i], f0.F[i], amplitude * turnError + 1e-9);
      EXPECT_NEAR(r180.F[i], -r0.F[i], amplitude * turnError / 2 + 1e-9);
      EXPECT_EQ(m180.F[i], m0.F[i]);  // the torque part does not depend on theta
    }
  }
}

TEST(FourRodDegenerate, ParallelRodsGiveNonFiniteForces) {
  // Rods 1 and 2 at the same rounded angle: their lines never meet.
  FourRodLayoutI geo = LayoutIExample();
  geo.C = -geo.B;
  geo.D = geo.A;
  geo.X3 = 0;
  ASSERT_TRUE(IsFourRodInputValid(geo));
  const FourRodAngles a = FourRodAnglesOf(geo);
  ASSERT_EQ(a.Alpha, a.Beta);
  const FourRodResult r = SolveFourRodPage(FourRodGeometryOf(geo, a), FourRodLengthsOf(geo, a), kE, kS, 100, 300, 30);
  bool finite = true;
  for (double v : r.Forces.F) finite = finite && std::isfinite(v);
  EXPECT_FALSE(finite);
  EXPECT_NE(r.ForceText[0].find("nan"), std::string::npos);
  ASSERT_EQ(ParallelFourRodRules(a).size(), 1u);
  EXPECT_EQ(ParallelFourRodRules(a)[0].Reason(), "杆1与杆2平行");
  EXPECT_TRUE(ParallelFourRodRules(FourRodAnglesOf(LayoutIExample())).empty());
}

}  // namespace
}  // namespace tiecalc
