// The expression evaluator: results, status codes and syntax errors of the
// three passes, and the limits of its fixed storage.
#include "core/input/MathString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tiecalc {
namespace {

constexpr int kSyntaxError = 100;  // outcome when CheckSyntax fails

struct Outcome {
  int status;    // kSyntaxError or the status of Calculate
  double value;  // meaningful for status 0
};

Outcome Evaluate(const std::string& text) {
  CMathString ms(text);
  if (!ms.CheckSyntax()) return {kSyntaxError, 0.0};
  ms.ToPostfix();
  const int status = ms.Calculate();
  return {status, status == kMathOk ? ms.GetResult() : 0.0};
}

struct ValueCase {
  const char* text;
  double value;
};

TEST(MathString, EvaluatesExpressions) {
  const ValueCase cases[] = {
      {"2(3)", 6.0},
      {"10(2)", 20.0},
      {"2sin(0)", 0.0},
      {"2sqrt(9)", 6.0},
      {"-2*3", -6.0},
      {"-(2+3)", -5.0},
      {"2*(-3)", -6.0},
      {"-2+5", 3.0},
      {"2+3*4", 14.0},
      {"2*3+4", 10.0},
      {"10-2-3", 5.0},
      {"8/2/2", 2.0},
      {"2850-1200/2", 2250.0},
      {"2*(3+4)", 14.0},
      {"((((1+1))))", 2.0},
      {"pow(2,10)", 1024.0},
      {"pow(2,(-1))", 0.5},
      {"pow(2,3)*2", 16.0},
      {"mod(7,3)", 1.0},
      {"mod(-7,3)", -1.0},
      {"mod(7.5,2)", 1.5},
      {"abs(-2)", 2.0},
      {"floor(2.7)", 2.0},
      {"floor(-2.5)", -3.0},
      {"sin(30)", std::sin(30.0)},
      {"cos(1)", std::cos(1.0)},
      {"tan(1)", std::tan(1.0)},
      {"cot(1)", 1.0 / std::tan(1.0)},
      {"acot(1)", 1.5707963 - std::atan(1.0)},
      {"atan(1)", std::atan(1.0)},
      {"acos(1)", 0.0},
      {"asin(1)", std::asin(1.0)},
      {"cosh(0)", 1.0},
      {"sinh(0)", 0.0},
      {"tanh(0)", 0.0},
      {"cosh(1)", std::cosh(1.0)},
      {"sinh(1)", std::sinh(1.0)},
      {"tanh(1)", std::tanh(1.0)},
      {"exp(1)", std::exp(1.0)},
      {"ln(1)", 0.0},
      {"log(100)", 2.0},
      {"sqrt(16)", 4.0},
      {"sqrt(1500*1500+900*900)", std::sqrt(1500.0 * 1500.0 + 900.0 * 900.0)},
      {"sin(0)+1", 1.0},
      {"2*sqrt(4)*3", 12.0},
      {"sqrt(4)/2", 1.0},
      {".5", 0.5},
      {"3.", 3.0},
      {"1.2.3", 0.15},
      {"0.1", 0.1},
      {"1234567890123456789", 1234567890123456789.0},
  };
  for (const ValueCase& c : cases) {
    const Outcome o = Evaluate(c.text);
    EXPECT_EQ(o.status, kMathOk) << c.text;
    EXPECT_DOUBLE_EQ(o.value, c.value) << c.text;
  }
}

struct StatusCase {
  const char* text;
  int status;
};

TEST(MathString, ReportsEachFailure) {
  const StatusCase cases[] = {
      {"", kMathMalformed},
      {"(2)(3)", kMathMalformed},  // no multiplication after a closing bracket
      {"+3", kMathMalformed},
      {"3+", kMathMalformed},
      {"*3", kMathMalformed},
      {"pow(2,-1)", kMathMalformed},  // the minus after a comma subtracts
      {"pow(2)", kMathMalformed},
      {"1,2", kMathMalformed},        // a comma outside brackets leaves two values
      {"sin(1,2)", kMathMalformed},
      {"()", kMathMalformed},
      {"1/0", kMathDivideByZero},
      {"1/(1-1)", kMathDivideByZero},
      {"acos(2)", kMathAcosDomain},
      {"acos(-1.5)", kMathAcosDomain},
      {"asin(2)", kMathAsinDomain},
      {"cot(0)", kMathCotPole},
      {"mod(7,0)", kMathModByZero},
      {"ln(0)", kMathLnDomain},
      {"ln(-1)", kMathLnDomain},
      {"log(0)", kMathLogDomain},
      {"sqrt(-1)", kMathSqrtDomain},
      {"sin30", kSyntaxError},  // a name needs its bracket
      {"e", kSyntaxError},
      {"sin(1", kSyntaxError},
      {"2*-3", kSyntaxError},  // two operators in a row
      {"1++2", kSyntaxError},
      {"1)", kSyntaxError},
      {")(", kSyntaxError},
      {"1 2", kSyntaxError},
      {"SIN(1)", kSyntaxError},  // the field reader lower-cases first
      {"1#2", kSyntaxError},
      {"pi", kSyntaxError},
      {"1e5", kSyntaxError},
      {"acosh(1)", kSyntaxError},
  };
  for (const StatusCase& c : cases) EXPECT_EQ(Evaluate(c.text).status, c.status) << c.text;
}

TEST(MathString, LongerFunctionNameWins) {
  EXPECT_EQ(MatchFunction("cosh(1)")->code, 7);
  EXPECT_EQ(MatchFunction("cos(1)")->code, 6);
  EXPECT_EQ(MatchFunction("sinh(")->code, 16);
  EXPECT_EQ(MatchFunction("tanh(")->code, 19);
  EXPECT_EQ(MatchFunction("co"), nullptr);
}

TEST(MathString, ReadsNumbersDigitByDigit) {
  EXPECT_EQ(ParseNumber("12"), 12.0);
  EXPECT_EQ(ParseNumber("0"), 0.0);
  EXPECT_EQ(ParseNumber("."), 0.0);
  EXPECT_EQ(ParseNumber("3."), 3.0);
  EXPECT_DOUBLE_EQ(ParseNumber("1.2.3"), 0.15);
  EXPECT_EQ(ParseNumber("250"), 250.0);
  EXPECT_DOUBLE_EQ(ParseNumber("1.25"), 1.25);
  EXPECT_DOUBLE_EQ(ParseNumber("0.001"), 0.001);
}

TEST(MathString, FixedStorageLimits) {
  // 99 characters are the most a text may hold.
  std::string sum = "1";
  while (sum.size() < 99) sum += "+1";
  ASSERT_EQ(sum.size(), 99u);
  EXPECT_EQ(Evaluate(sum).status, kMathOk);
  EXPECT_EQ(Evaluate(sum).value, 50.0);
  EXPECT_EQ(Evaluate(sum + "0").status, kSyntaxError);
  EXPECT_EQ(Evaluate(std::string(5000, '1')).status, kSyntaxError);

  // Numbers of up to 19 characters.
  EXPECT_EQ(Evaluate("1234567890.12345678").status, kMathOk);
  EXPECT_EQ(Evaluate("12345678901234567890").status, kSyntaxError);
  EXPECT_EQ(Evaluate("1+12345678901234567890").status, kSyntaxError);

  // The deepest nesting that fits 99 characters: 49 brackets, functions too.
  const std::string deep49 = std::string(49, '(') + "1" + std::string(49, ')');
  EXPECT_EQ(Evaluate(deep49).status, kMathOk);
  std::string nested = "1";
  for (int i = 0; i < 16; ++i) nested = "abs(" + nested + ")";
  EXPECT_EQ(Evaluate("-" + nested).value, -1.0);
  EXPECT_EQ(Evaluate(std::string(60, '(') + "1" + std::string(60, ')')).status, kSyntaxError);

  // Fifty values on the stack at once exceed its 49 places.
  std::string values = "1";
  while (values.size() < 99) values += ",1";
  EXPECT_EQ(Evaluate(values).status, kMathMalformed);
  std::string inBrackets = "(1";
  while (inBrackets.size() < 97) inBrackets += ",1";
  EXPECT_EQ(Evaluate(inBrackets + ")").status, kMathMalformed);
}

TEST(MathString, ConversionRequiresASuccessfulCheck) {
  CMathString ms("1+");
  ms.ToPostfix();  // not checked: nothing to evaluate
  EXPECT_EQ(ms.Calculate(), kMathMalformed);
  CMathString bad("1+*2");
  EXPECT_FALSE(bad.CheckSyntax());
  bad.ToPostfix();
  EXPECT_EQ(bad.Calculate(), kMathMalformed);
}

TEST(MathString, NonFiniteResultsAreValues) {
  const Outcome big = Evaluate("cosh(1000)");
  EXPECT_EQ(big.status, kMathOk);
  EXPECT_TRUE(std::isinf(big.value));
  const Outcome nan = Evaluate("cosh(1000)-cosh(1000)");
  EXPECT_EQ(nan.status, kMathOk);
  EXPECT_TRUE(std::isnan(nan.value));
}

}  // namespace
}  // namespace tiecalc
