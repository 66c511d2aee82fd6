// The broken rules of the force pages: each names the inputs to fix, and
// none is reported exactly when the validity rule holds.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/analysis/FourRodLayout.h"
#include "core/analysis/ThreeRod.h"

namespace tiecalc {
namespace {

// The values a field can take that sit on or around the rules' edges.
double Pick(std::mt19937& rng) {
  static const double kValues[] = {-900, 0, 300, 900, 1800, 3000, 5000, NAN};
  return kValues[std::uniform_int_distribution<size_t>(0, std::size(kValues) - 1)(rng)];
}

std::vector<std::string> Rules(const std::vector<BrokenRule>& broken) {
  std::vector<std::string> out;
  for (const BrokenRule& b : broken) out.push_back(b.rule);
  return out;
}

TEST(BrokenRules, NoneExactlyWhenTheInputsAreValid) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    ThreeRodInput t{Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng)};
    EXPECT_EQ(IsThreeRodInputValid(t), BrokenThreeRodRules(t).empty());
    FourRodLayoutI a{Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng),
                     Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng)};
    EXPECT_EQ(IsFourRodInputValid(a), BrokenFourRodRules(a).empty());
    FourRodLayoutII b{Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng),
                      Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng), Pick(rng)};
    EXPECT_EQ(IsFourRodInputValid(b), BrokenFourRodRules(b).empty());
  }
}

TEST(BrokenRules, NameTheRuleAndItsInputs) {
  ThreeRodInput t{900, 900, 2000, 900, 3000, 3000, 1500, 800};
  const std::vector<BrokenRule> broken = BrokenThreeRodRules(t);
  EXPECT_EQ((std::vector<std::string>{"C<=2A", "H>B"}), Rules(broken));
  EXPECT_EQ((std::vector<std::string>{"H", "B"}), broken[1].fields);
  FourRodLayoutI a{800, 800, 800, 800, 800, 800, 700, 3000, 1200, 1200, 4000, 800};
  EXPECT_EQ((std::vector<std::string>{"X1>A 或 X1>D", "Y2>C", "X3<=X1"}), Rules(BrokenFourRodRules(a)));
  FourRodLayoutII b{};
  b.A = b.B = b.D = b.X1 = b.X2 = b.Y1 = 900;
  b.X4 = -1;
  EXPECT_EQ((std::vector<std::string>{"Y2>0", "X4>=0"}), Rules(BrokenFourRodRules(b)));
}

}  // namespace
}  // namespace tiecalc
