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


struct CheckCase {
  const char* text;
  FieldReading reading;
  const char* reason;
};

TEST(FieldText, ChecksSayWhyATextDoesNotReadAsTyped) {
  const CheckCase cases[] = {
      {"100kN", FieldReading::Unreadable, "数值后不能写单位或字母“kN”，按 0 计算"},
      {"1OO", FieldReading::Unreadable, "字母 O 不是数字 0，按 0 计算"},
      {"1.5.2", FieldReading::Misread, "数字中有多个小数点，读作 0.17"},
      {"12 34", FieldReading::Misread, "数字中间有空格，读作 1234"},
      {"１００", FieldReading::Unreadable, "全角数字“１００”无法识别，请用半角数字，按 0 计算"},
      {"2e3", FieldReading::Unreadable, "不支持指数写法“2e3”，按 0 计算"},
      {"2E-3", FieldReading::Unreadable, "不支持指数写法“2E-3”，按 0 计算"},
      {"exp(1)", FieldReading::Unreadable, "exp 无法输入（x 读作乘号），按 0 计算"},
      {"1l", FieldReading::Unreadable, "字母 l 不是数字 1，按 0 计算"},
      {"abc", FieldReading::Unreadable, "无法识别的名称“abc”，按 0 计算"},
      {"5。", FieldReading::Unreadable, "无法识别的字符“。”，按 0 计算"},
      {"\t1", FieldReading::Unreadable, "含无法识别的控制字符，按 0 计算"},
      {"2*-3", FieldReading::Unreadable, "无法识别的算式，按 0 计算"},
      {"(1+2", FieldReading::Unreadable, "无法识别的算式，按 0 计算"},
      {"1,5", FieldReading::Unreadable, "逗号只用于分隔函数的参数，小数点请用“.”，按 0 计算"},
      {"1/0", FieldReading::Unreadable, "算式中除数为 0，按 0 计算"},
      {"sqrt(-1)", FieldReading::Unreadable, "不能对负数开平方，按 0 计算"},
      {"log(0)", FieldReading::Unreadable, "对数的参数须大于 0，按 0 计算"},
      {"pow(10,400)", FieldReading::Misread, "算式的值溢出或无定义，读作 inf"},
      // Clean: what the reader takes as written.
      {"900", FieldReading::Clean, ""},
      {"2 * 450", FieldReading::Clean, ""},
      {"（1+2）×3", FieldReading::Clean, ""},
      {"sqrt(1500*1500+900*900)", FieldReading::Clean, ""},
      {"3x4", FieldReading::Clean, ""},
      {"-12.5", FieldReading::Clean, ""},
      {"", FieldReading::Clean, ""},  // a blank field shows itself
      {"  ", FieldReading::Clean, ""},
  };
  for (const CheckCase& c : cases) {
    const FieldCheck check = CheckFieldText(c.text);
    EXPECT_EQ(c.reading, check.reading) << c.text;
    EXPECT_EQ(c.reason, check.reason) << c.text;
    // The check never reads otherwise than the reader.
    const double read = EvaluateFieldText(c.text);
    if (std::isfinite(read)) {
      EXPECT_EQ(read, check.value) << c.text;
    }
  }
  std::string sum = "1";
  while (sum.size() < 100) sum += "+1";
  EXPECT_EQ("算式超过 99 个字符，按 0 计算", CheckFieldText(sum).reason);
}

}  // namespace
}  // namespace tiecalc
