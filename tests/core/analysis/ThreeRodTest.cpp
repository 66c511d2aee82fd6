// The three-rod model: worked examples to the printed digit, validity, and
// the equilibrium of the rod forces for random frames.
#include "core/analysis/ThreeRod.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>

#include "core/analysis/Angles.h"
#include "core/input/Format.h"

namespace tiecalc {
namespace {

ThreeRodInput WorkedExample() {
  ThreeRodInput in;
  in.A = 900;
  in.B = 900;
  in.C = 900;
  in.D = 900;
  in.X1 = 3000;
  in.X2 = 3000;
  in.X3 = 1500;
  in.H = 5000;
  in.R = 100;
  in.M = 200;
  in.Theta = 30;
  return in;
}

// What a read-only field bound to the value shows.
std::string Shown(double v) { return FormatBound(v); }

TEST(ThreeRodExample, ShowsThePrintedResults) {
  const auto r = SolveThreeRod(WorkedExample());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(Shown(r->Alpha), "62.88");
  EXPECT_EQ(Shown(r->Beta), "69.9");
  EXPECT_EQ(Shown(r->Gamma), "62.88");
  EXPECT_EQ(Shown(r->L1), "4606.46");
  EXPECT_EQ(Shown(r->L2), "4365.9");
  EXPECT_EQ(Shown(r->L3), "4606.46");
  EXPECT_EQ(Shown(r->Forces.F1), "311.42");
  EXPECT_EQ(Shown(r->Forces.F2), "-208.23");
  EXPECT_EQ(Shown(r->Forces.F3), "-35.54");
  EXPECT_EQ(Shown(r->Forces.F1x), "141.96");
  EXPECT_EQ(Shown(r->Forces.F1y), "277.18");
  EXPECT_EQ(Shown(r->Forces.F2x), "-71.56");
  EXPECT_EQ(Shown(r->Forces.F2y), "-195.55");
  EXPECT_EQ(Shown(r->Forces.F3x), "16.2");
  EXPECT_EQ(Shown(r->Forces.F3y), "-31.63");
  EXPECT_EQ(r->F1m, "358.77/-358.77");
  EXPECT_EQ(r->Theta1, "108.45/288.45");
  EXPECT_EQ(r->F2m, "-473.17/473.17");
  EXPECT_EQ(r->Theta2, "180.00/0.00");
  EXPECT_EQ(r->F3m, "-192.48/192.48");
  EXPECT_EQ(r->Theta3, "336.80/516.80");
}

TEST(ThreeRodExample, ReversedForceSwapsTheExtremePairs) {
  ThreeRodInput in = WorkedExample();
  const auto forward = SolveThreeRod(in);
  in.R = -100;
  in.Theta = 210;
  const auto reversed = SolveThreeRod(in);
  ASSERT_TRUE(forward && reversed);
  EXPECT_EQ(Shown(reversed->Forces.F1), "311.42");
  EXPECT_EQ(Shown(reversed->Forces.F2), "-208.23");
  EXPECT_EQ(Shown(reversed->Forces.F3), "-35.54");
  EXPECT_EQ(reversed->F1m, "-358.77/358.77");
  EXPECT_EQ(reversed->F2m, "473.17/-473.17");
  EXPECT_EQ(reversed->F3m, "192.48/-192.48");
  EXPECT_EQ(reversed->Theta1, forward->Theta1);
  EXPECT_EQ(reversed->Theta2, forward->Theta2);
  EXPECT_EQ(reversed->Theta3, forward->Theta3);
}

TEST(ThreeRodExample, RodPerpendicularToTheWall) {
  ThreeRodInput in = WorkedExample();
  in.X1 = 900;  // rod 1 straight down: tan of 90 degrees via 3.1416 is finite
  const auto r = SolveThreeRod(in);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(Shown(r->Alpha), "90");
  EXPECT_EQ(Shown(r->L1), "4100");
  EXPECT_EQ(Shown(r->Forces.F1), "86.74");
  EXPECT_EQ(Shown(r->Forces.F2), "187.31");
  EXPECT_EQ(Shown(r->Forces.F3), "-249.51");
  const ThreeRodGeometry g = ThreeRodGeometryOf(in, ThreeRodAnglesOf(in));
  EXPECT_NEAR(g.tAlpha, -272242.0, 1.0);
}

TEST(ThreeRodExample, ForcesAtTheDirectionMatchTheSolve) {
  // The sweep export builds the geometry from the stored angles and calls
  // the forces alone; its row for theta must agree with the page.
  const ThreeRodInput in = WorkedExample();
  const auto r = SolveThreeRod(in);
  ASSERT_TRUE(r.has_value());
  const ThreeRodGeometry g = ThreeRodGeometryOf(in, {r->Alpha, r->Beta, r->Gamma});
  const ThreeRodForces f = ThreeRodForcesAt(g, in.R, in.M, 30.0);
  EXPECT_EQ(Format2(f.F1), "311.42");
  EXPECT_EQ(Format2(f.F3x), "16.20");
  EXPECT_EQ(Format2(f.F3y), "-31.63");
}

TEST(ThreeRodValidity, EachConditionOfTheInput) {
  EXPECT_TRUE(IsThreeRodInputValid(WorkedExample()));
  auto with = [](auto change) {
    ThreeRodInput in = WorkedExample();
    change(in);
    return IsThreeRodInputValid(in);
  };
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.A = 0; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.B = 0; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.H = in.B; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.C = 2 * in.A + 0.01; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.C = -0.01; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.D = -1; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.X1 = 0; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.X2 = 0; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.X3 = in.X1 + in.X2 + 0.01; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.X3 = -1; }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.H = std::numeric_limits<double>::quiet_NaN(); }));
  EXPECT_FALSE(with([](ThreeRodInput& in) { in.A = std::numeric_limits<double>::quiet_NaN(); }));
  EXPECT_TRUE(with([](ThreeRodInput& in) { in.C = 0; }));
  EXPECT_TRUE(with([](ThreeRodInput& in) { in.C = 2 * in.A; }));
  EXPECT_TRUE(with([](ThreeRodInput& in) { in.D = 0; }));
  EXPECT_TRUE(with([](ThreeRodInput& in) { in.X3 = 0; }));
  EXPECT_TRUE(with([](ThreeRodInput& in) { in.X3 = in.X1 + in.X2; }));
  EXPECT_TRUE(with([](ThreeRodInput& in) { in.R = -5; in.M = -5; in.Theta = -720; }));
  ThreeRodInput zero;
  EXPECT_FALSE(SolveThreeRod(zero).has_value());
}

TEST(ThreeRodDegenerate, ParallelRodsGiveNonFiniteForces) {
  // Rods 1 and 2 parallel: X1 - A = X1 - X3 + D - C.
  ThreeRodInput in = WorkedExample();
  in.X3 = 900;
  auto r = SolveThreeRod(in);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Alpha, r->Beta);
  EXPECT_FALSE(std::isfinite(r->Forces.F1) && std::isfinite(r->Forces.F2) && std::isfinite(r->Forces.F3));

  EXPECT_NE(r->F1m.find("nan"), std::string::npos);

  // Rods 2 and 3 parallel: beta + gamma = 180. Through 3.1416 the tangents
  // do not cancel exactly, so Q lies far away rather than nowhere.
  in = WorkedExample();
  in.C = 0;
  in.D = 0;
  in.X3 = in.X1 + in.X2;
  r = SolveThreeRod(in);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Beta + r->Gamma, 180.0);
  EXPECT_GT(std::fabs(r->Forces.F2), 1e4 * in.R);
}

// Frames on a 300 mm grid, where rods meet in one point now and then: that
// is decided exactly on the grid (the three lines' determinant is 0). The
// page decides it from its own numbers, at the rounded angles: a symmetric
// frame (rod 2 upright, rods 1 and 3 its mirror images) still meets in one
// point there and is always refused; so are about half of the others, which
// the rounding leaves close enough. Of the frames that do not meet in one
// point hardly any is refused (random valid frames keep what they gave), and
// every frame kept has finite forces, exactly as before.
TEST(ThreeRodDegenerate, FramesWhoseRodsMeetInOnePointAreRefusedAndHardlyAnyOther) {
  std::mt19937_64 rng(23);
  const auto grid = [&rng](int from, int to) { return std::uniform_int_distribution<long>(from, to)(rng); };
  int concurrent = 0, refusedConcurrent = 0, nearlyConcurrent = 0, valid = 0;
  for (int n = 0; n < 100000; ++n) {
    const long A = grid(1, 6), B = grid(1, 5), C = grid(0, 2 * A), D = grid(0, 6), X1 = grid(1, 20),
               X2 = grid(1, 20), X3 = grid(0, X1 + X2), H = B + grid(1, 20);
    const ThreeRodInput in{300.0 * A, 300.0 * B, 300.0 * C, 300.0 * D, 300.0 * X1, 300.0 * X2, 300.0 * X3, 300.0 * H, 1};
    ASSERT_TRUE(IsThreeRodInputValid(in));
    const ThreeRodGeometry g = ThreeRodGeometryOf(in, ThreeRodAnglesOf(in));
    const std::vector<BrokenRule> broken = DegenerateThreeRodRules(in, g);
    if (!broken.empty() && broken[0].Reason() == "杆1与杆2平行") continue;  // P does not exist: never valid
    ++valid;
    // Each rod's line a u + b v = c through its ends.
    const auto line = [](long u1, long v1, long u2, long v2) { return std::array<long, 3>{v2 - v1, u1 - u2, u1 * v2 - u2 * v1}; };
    const auto l1 = line(A, B, X1, H), l2 = line(C - D, B, X1 - X3, H), l3 = line(-D, B, -X2, H);
    const long det = l1[0] * (l2[1] * l3[2] - l2[2] * l3[1]) - l1[1] * (l2[0] * l3[2] - l2[2] * l3[0]) +
                     l1[2] * (l2[0] * l3[1] - l2[1] * l3[0]);
    const long u2 = C - D;  // rod 2's foot
    const bool symmetric = u2 == X1 - X3 && A - u2 == u2 + D && X1 - u2 == u2 + X2;
    if (det == 0) {
      ++concurrent;
      refusedConcurrent += broken.empty() ? 0 : 1;
      if (symmetric) EXPECT_EQ(broken.size(), 1u) << n;
    } else if (!broken.empty()) {
      ++nearlyConcurrent;
    }
    if (broken.empty()) {
      const ThreeRodForces f = ThreeRodForcesAt(g, 1, 0, 0);
      ASSERT_TRUE(std::isfinite(f.F1) && std::isfinite(f.F2) && std::isfinite(f.F3));
    }
  }
  EXPECT_GT(concurrent, 1000);
  EXPECT_GT(refusedConcurrent, concurrent / 3);
  EXPECT_LT(nearlyConcurrent, valid / 2000);
}

// Random valid frames, off-centre masts (A != D) included.
ThreeRodInput RandomFrame(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  ThreeRodInput in;
  in.A = 300 + 1500 * u(rng);
  in.D = 1800 * u(rng);
  in.B = 200 + 1500 * u(rng);
  in.C = 2 * in.A * u(rng);
  in.H = in.B + 1000 + 6000 * u(rng);
  in.X1 = in.A + 500 + 5000 * u(rng);
  in.X2 = in.D + 500 + 5000 * u(rng);
  in.X3 = 0.9 * in.X1 * u(rng);
  in.R = -300 + 600 * u(rng);
  in.M = -500 + 1000 * u(rng);
  in.Theta = 360 * u(rng);
  return in;
}

TEST(ThreeRodEquilibrium, RodPullsBalanceTheLoadAndTheTorque) {
  std::mt19937_64 rng(2024);
  int checked = 0;
  for (int n = 0; n < 2000; ++n) {
    const ThreeRodInput in = RandomFrame(rng);
    ASSERT_TRUE(IsThreeRodInputValid(in));
    const ThreeRodGeometry g = ThreeRodGeometryOf(in, ThreeRodAnglesOf(in));
    // Keep away from nearly parallel rods, where the forces blow up.
    if (std::fabs(g.Alpha - g.Beta) < 2 || std::fabs(g.Beta + g.Gamma - 180) < 2) continue;
    const ThreeRodForces f = ThreeRodForcesAt(g, in.R, in.M, in.Theta);
    const double a = Rad(g.Alpha), b = Rad(g.Beta), c = Rad(g.Gamma), t = Rad(in.Theta);
    // Unit vectors of the rods from the mast to the wall, in (u, v).
    const double u1[2] = {std::cos(a), std::sin(a)};
    const double u2[2] = {std::cos(b), std::sin(b)};
    const double u3[2] = {-std::cos(c), std::sin(c)};
    const double scale = std::fabs(f.F1) + std::fabs(f.F2) + std::fabs(f.F3) + std::fabs(in.R);
    EXPECT_NEAR(f.F1 * u1[0] + f.F2 * u2[0] + f.F3 * u3[0], in.R * std::cos(t), 1e-9 * scale);
    EXPECT_NEAR(f.F1 * u1[1] + f.F2 * u2[1] + f.F3 * u3[1], in.R * std::sin(t), 1e-9 * scale);
    // Moments about the mast centre on the model's rod lines: rod 1 through
    // its anchor, rod 2 through P, rod 3 through its fixing point.
    auto moment = [](double x, double y, const double* dir, double force) {
      return x * dir[1] * force - y * dir[0] * force;
    };
    const double mz = moment(in.X1, in.H, u1, f.F1) + moment(g.xP, g.yP, u2, f.F2) +
                      moment(-in.D, in.B, u3, f.F3);
    EXPECT_NEAR(mz, in.M * 1000.0, 1e-9 * scale * (in.H + in.X1 + in.X2 + std::fabs(g.xP) + std::fabs(g.yP)));
    // The components are those of F_i along its rod.
    EXPECT_DOUBLE_EQ(f.F1x, u1[0] * f.F1);
    EXPECT_DOUBLE_EQ(f.F3x, u3[0] * f.F3);
    EXPECT_DOUBLE_EQ(f.F2y, u2[1] * f.F2);
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

TEST(ThreeRodExtremes, PairsBoundTheForceOverEveryDirection) {
  std::mt19937_64 rng(99);
  for (int n = 0; n < 200; ++n) {
    const ThreeRodInput in = RandomFrame(rng);
    const auto r = SolveThreeRod(in);
    ASSERT_TRUE(r.has_value());
    if (std::fabs(r->Alpha - r->Beta) < 2 || std::fabs(r->Beta + r->Gamma - 180) < 2) continue;
    const ThreeRodGeometry g = ThreeRodGeometryOf(in, {r->Alpha, r->Beta, r->Gamma});
    double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
    for (double M : {in.M, -in.M}) {
      for (int deg = 0; deg < 3600; ++deg) {
        const ThreeRodForces f = ThreeRodForcesAt(g, in.R, M, deg / 10.0);
        const double F[3] = {f.F1, f.F2, f.F3};
        for (int i = 0; i < 3; ++i) {
          lo[i] = std::min(lo[i], F[i]);
          hi[i] = std::max(hi[i], F[i]);
        }
      }
    }
    const std::string* texts[3] = {&r->F1m, &r->F2m, &r->F3m};
    for (int i = 0; i < 3; ++i) {
      const std::string& t = *texts[i];
      const double first = ParseDouble(t.substr(0, t.find('/')));
      const double second = ParseDouble(t.substr(t.find('/') + 1));
      const double top = std::max(first, second), bottom = std::min(first, second);
      // The sampled sweep stays inside the pair and comes close to both ends.
      const double tol = 0.01 + 1e-4 * (hi[i] - lo[i]);
      EXPECT_LE(hi[i], top + tol) << "rod " << i + 1 << " " << t;
      EXPECT_GE(lo[i], bottom - tol) << "rod " << i + 1 << " " << t;
      EXPECT_NEAR(hi[i], top, 0.01 + 1e-3 * (hi[i] - lo[i])) << "rod " << i + 1 << " " << t;
      EXPECT_NEAR(lo[i], bottom, 0.01 + 1e-3 * (hi[i] - lo[i])) << "rod " << i + 1 << " " << t;
    }
  }
}

TEST(ThreeRodPeriodicity, FullTurnRepeatsWithinTheErrorOf3_1416) {
  // 360 degrees through 3.1416 is 6.2832 rad, 1.47e-5 more than a full turn:
  // the forces repeat only within |dF/dtheta| times that.
  const ThreeRodInput in = WorkedExample();
  const ThreeRodGeometry g = ThreeRodGeometryOf(in, ThreeRodAnglesOf(in));
  const double turnError = 360.0 * kModelPi / 180.0 - 2.0 * std::acos(-1.0);
  for (double theta : {0.0, 30.0, 123.0, 300.0}) {
    const ThreeRodForces f0 = ThreeRodForcesAt(g, in.R, in.M, theta);
    const ThreeRodForces f1 = ThreeRodForcesAt(g, in.R, in.M, theta + 360.0);
    const ThreeRodForces f2 = ThreeRodForcesAt(g, in.R, 0.0, theta + 180.0);
    const ThreeRodForces fr = ThreeRodForcesAt(g, in.R, 0.0, theta);
    // 500 kN bounds the R part's amplitude of every rod in this frame.
    const double bound = 500.0 * std::fabs(turnError) + 1e-9;
    EXPECT_NEAR(f1.F1, f0.F1, bound);
    EXPECT_NEAR(f1.F2, f0.F2, bound);
    EXPECT_NEAR(f1.F3, f0.F3, bound);
    EXPECT_NEAR(f2.F1, -fr.F1, bound / 2);
    EXPECT_NEAR(f2.F2, -fr.F2, bound / 2);
    EXPECT_NEAR(f2.F3, -fr.F3, bound / 2);
  }
}

}  // namespace
}  // namespace tiecalc
