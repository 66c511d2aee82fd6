// Reading field texts: normalisation, evaluation and the rule that every
// failure reads as 0.0.
#include "core/input/FieldText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tiecalc {
namespace {

TEST(FieldText, NormalisesTypedSymbols) {
  EXPECT_EQ(NormaliseFieldText(" 1 200 "), "1200");
  EXPECT_EQ(NormaliseFieldText("（1+2）×3"), "(1+2)*3");
  EXPECT_EQ(NormaliseFieldText("[1]{2}"), "(1)(2)");
  EXPECT_EQ(NormaliseFieldText("pow（2，3）"), "pow(2,3)");
  EXPECT_EQ(NormaliseFieldText("＋1－2"), "+1-2");
  EXPECT_EQ(NormaliseFieldText("3x4X5×6"), "3*4*5*6");
  EXPECT_EQ(NormaliseFieldText("6÷4\\2"), "6/4/2");
  EXPECT_EQ(NormaliseFieldText("SQRT(16)"), "sqrt(16)");
  // x becomes "*" before letters are lower-cased, so exp cannot be typed.
  EXPECT_EQ(NormaliseFieldText("EXP(1)"), "e*p(1)");
  // Full-width digits and other symbols stay as they are.
  EXPECT_EQ(NormaliseFieldText("３"), "３");
  EXPECT_EQ(NormaliseFieldText("\t1"), "\t1");
}

struct FieldCase {
  const char* text;
  double value;
};

TEST(FieldText, ReadsTypedValues) {
  const FieldCase cases[] = {
      {"", 0.0},
      {"   ", 0.0},
      {"1 200", 1200.0},
      {"（1+2）×3", 9.0},
      {"[1+2]*{2}", 6.0},
      {"6÷4", 1.5},
      {"6\\4", 1.5},
      {"３", 0.0},
      {"3x4", 12.0},
      {"3X4", 12.0},
      {"SQRT(16)", 4.0},
      {"exp(1)", 0.0},
      {"－5", -5.0},
      {"pow（2，3）", 8.0},
      {"2*450", 900.0},
      {"2850-1200/2", 2250.0},
      {"33.69", 33.69},
      {"1/0", 0.0},
      {"sqrt(-1)", 0.0},
      {"abc", 0.0},
      {"2*-3", 0.0},
      {"1,5", 0.0},  // no decimal comma: a comma separates arguments
  };
  for (const FieldCase& c : cases) EXPECT_DOUBLE_EQ(EvaluateFieldText(c.text), c.value) << c.text;
  EXPECT_DOUBLE_EQ(EvaluateFieldText("sqrt(1500*1500+900*900)"), std::sqrt(1500.0 * 1500.0 + 900.0 * 900.0));
}

TEST(FieldText, WorkingBufferHoldsNinetyNineCharacters) {
  std::string sum = "1";
  while (sum.size() < 99) sum += "+1";
  EXPECT_EQ(EvaluateFieldText(sum), 50.0);
  EXPECT_EQ(EvaluateFieldText(sum + "0"), 0.0);
  // The limit applies after normalisation: blanks and three-byte brackets
  // shrink the text.
  EXPECT_EQ(EvaluateFieldText(std::string(200, ' ') + sum), 50.0);
  std::string wide = "（1）";  // 7 bytes, 3 characters after normalisation
  std::string text = wide;
  for (int i = 0; i < 24; ++i) text += "+" + wide;  // 99 characters normalised
  ASSERT_GT(text.size(), 99u);
  EXPECT_EQ(EvaluateFieldText(text), 25.0);
  EXPECT_EQ(EvaluateFieldText(text + "0"), 0.0);
  EXPECT_EQ(EvaluateFieldText(std::string(100000, '(')), 0.0);
}

TEST(FieldText, MalformedBytesReadAsZero) {
  EXPECT_EQ(EvaluateFieldText("\xEF\xBC"), 0.0);         // a cut-off full-width bracket
  EXPECT_EQ(EvaluateFieldText("1\xEF\xBC"), 0.0);
  EXPECT_EQ(EvaluateFieldText("\xFF\xFE" "1"), 0.0);
  EXPECT_EQ(EvaluateFieldText("\xC3"), 0.0);             // half a multiplication sign
  EXPECT_EQ(EvaluateFieldText(std::string("1\0+2", 4)), 0.0);  // an embedded NUL
  EXPECT_EQ(EvaluateFieldText(std::string("\0", 1)), 0.0);
}

}  // namespace
}  // namespace tiecalc
