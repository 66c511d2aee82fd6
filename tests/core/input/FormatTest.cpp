// The rounding and formatting rule: "%.2f" text and its value read back,
// independent of the process locale.
#include "core/input/Format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Portable.h"
#include "core/input/FieldText.h"

namespace tiecalc {
namespace {

std::string Printf(const char* format, double v) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

TEST(Format, RoundsThroughTwoDecimals) {
  EXPECT_EQ(Round2(33.6900675), 33.69);
  EXPECT_EQ(Round2(62.875), 62.88);   // exact in binary: the tie goes to even
  EXPECT_EQ(Round2(2.675), 2.67);     // 2.675 is stored just below
  EXPECT_EQ(Round2(-0.004), -0.0);
  EXPECT_EQ(Format2(-0.004), "-0.00");
  EXPECT_EQ(Format2(5.0), "5.00");
  EXPECT_EQ(Format2(4606.4649), "4606.46");
  EXPECT_EQ(FormatDecimals(1.23456, 3), "1.235");
  EXPECT_EQ(FormatDecimals(1.5, 0), "2");
  EXPECT_EQ(FormatDecimals(1.23456, 12), "1.23");
  EXPECT_EQ(RoundDecimals(0.12345, 3), 0.123);
  EXPECT_EQ(FormatFixed(-473.1749, 2), "-473.17");
}

// An input as documents print it: every whole number as "%.0f" printed it.
TEST(Format, InputsShowAtMostTwoDecimalsWithoutTrailingZeros) {
  for (const auto& [v, text] : std::vector<std::pair<double, const char*>>{
           {1000.5, "1000.5"}, {300.456, "300.46"}, {900, "900"}, {-0.0, "0"}, {-0.001, "0"}, {-12.30, "-12.3"},
           {0.004, "0"}, {99.995, "100"}, {1e6, "1000000"}, {-7, "-7"}, {2.675, "2.67"}}) {
    EXPECT_EQ(FormatInput(v), text) << v;
    if (v == static_cast<long long>(v) && v != 0) {
      EXPECT_EQ(FormatInput(v), Printf("%.0f", v));
    }
  }
}

TEST(Format, BoundDoublesShowFifteenDigits) {
  EXPECT_EQ(FormatBound(1234.5), "1234.5");
  EXPECT_EQ(FormatBound(100.0), "100");
  EXPECT_EQ(FormatBound(0.0), "0");
  EXPECT_EQ(FormatBound(Round2(69.9)), "69.9");
  EXPECT_EQ(FormatBound(Round2(-208.23)), "-208.23");
  EXPECT_EQ(FormatBound(1e20), "1e+20");
  EXPECT_EQ(FormatBound(0.0001), "0.0001");
  EXPECT_EQ(FormatBound(0.00001), "1e-05");
}

TEST(Format, MatchesPrintfOfTheCLocale) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-8, 12);
  for (int i = 0; i < 20000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    ASSERT_EQ(Format2(v), Printf("%.2f", v)) << v;
    ASSERT_EQ(FormatDecimals(v, 3), Printf("%.3f", v)) << v;
    ASSERT_EQ(FormatBound(v), Printf("%.15g", v)) << v;
    ASSERT_EQ(Round2(v), std::atof(Printf("%.2f", v).c_str())) << v;
  }
  for (double v : {0.125, 0.375, 1e300, -1e-300, 1.0 / 3.0})
    EXPECT_EQ(Format2(v), Printf("%.2f", v)) << v;
}

TEST(Format, ParsesAsAtof) {
  const char* texts[] = {"33.69", " 12abc", "abc", "", "-1.5e3", "+.5", "5.", "1e", "-0",
                         "1e400", "-1e400", "1e-400", "0.5e-2x", "inf", "-nan", "  \t7",
                         "123456789012345678901234567890"};
  for (const char* t : texts) {
    // strtod is atof with an end pointer; Windows' own atof knows no "inf"
    // or "nan", its C99 strtod does.
    const double expected = std::strtod(t, nullptr);
    const double got = ParseDouble(t);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(got)) << t;
    } else {
      EXPECT_EQ(got, expected) << t;
      EXPECT_EQ(std::signbit(got), std::signbit(expected)) << t;
    }
  }
  const std::string tiny = "0." + std::string(400, '0') + "1";
  EXPECT_EQ(ParseDouble(tiny), 0.0);
  const std::string huge = std::string(400, '9') + ".5";
  EXPECT_EQ(ParseDouble(huge), HUGE_VAL);
}

// Qt sets the user's locale at start-up; a desktop with a decimal comma must
// still show and read 33.69. The test build compiles a German locale into
// LOCPATH.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    TIECALC_SKIP_ON_WINDOWS("POSIX locale names (de_DE.UTF-8) and a locale compiled into LOCPATH");
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "locale de_DE.UTF-8 not available (LOCPATH=" << (std::getenv("LOCPATH") ? std::getenv("LOCPATH") : "")
        << "); the build compiles it when localedef and the package locales are installed";
    // The locale is really active: printf writes a comma.
    ASSERT_EQ(Printf("%.2f", 33.69), "33,69");
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(CommaLocale, FormatsAndReadsWithAPoint) {
  EXPECT_EQ(Format2(33.69), "33.69");
  EXPECT_EQ(Round2(33.6900675), 33.69);
  EXPECT_EQ(FormatDecimals(1.23456, 3), "1.235");
  EXPECT_EQ(FormatBound(1234.5), "1234.5");
  EXPECT_EQ(FormatFixed(-358.77, 2), "-358.77");
  EXPECT_EQ(ParseDouble("33.69"), 33.69);
  // The evaluator reads digit by digit, within an ulp or two of atof.
  EXPECT_DOUBLE_EQ(EvaluateFieldText("33.69"), 33.69);
  EXPECT_EQ(FormatBound(EvaluateFieldText(Format2(33.69))), "33.69");
  EXPECT_EQ(Round2(EvaluateFieldText("2*16.845")), 33.69);
  EXPECT_EQ(EvaluateFieldText("1,5"), 0.0);
}

}  // namespace
}  // namespace tiecalc
