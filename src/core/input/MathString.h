#pragma once
// Arithmetic expressions of the input fields: numbers, + - * /, brackets, a
// leading or bracketed minus, and nineteen functions (angles in radians).
//
// The evaluator works on its own copy of the text in three passes: a syntax
// check, a conversion to postfix order with an operator stack, and an
// evaluation of the postfix list on a value stack. Calling order:
//
//   CMathString ms(text);
//   if (!ms.CheckSyntax()) ...            // syntax error
//   ms.ToPostfix();
//   if (ms.Calculate() != 0) ...          // status code, see MathStatus
//   double v = ms.GetResult();
//
// All storage is fixed: 99 characters of text, 50 bracket levels, numbers of
// at most 19 characters, 49 values on the value stack. Anything beyond these
// limits is rejected as a syntax error or a failed evaluation, never written
// past a buffer.

#include <array>
#include <string>
#include <string_view>

namespace tiecalc {

// Status codes of CMathString::Calculate.
enum MathStatus : int {
  kMathOk = 0,
  kMathDivideByZero = 1,
  kMathAcosDomain = 2,
  kMathAsinDomain = 3,
  kMathCotPole = 4,
  kMathModByZero = 5,
  kMathLnDomain = 6,
  kMathLogDomain = 7,
  kMathSqrtDomain = 8,
  kMathMalformed = -1,  // an operator or function lacked operands, or more than one value remained
};

// One entry of the postfix list or of the operator stack.
struct PostfixItem {
  enum Kind : int { kNumber = 0, kOperator = 1, kFunction = 2 };
  int kind = kNumber;
  double value = 0.0;  // kNumber
  char op = 0;         // kOperator: + - * / ( , the negation kNegate, the end marker '#'
  int function = 0;    // kFunction: code 1..19 of the function table
};

// The operator character of a negation (a "-" at the start or right after "(").
inline constexpr char kNegate = '~';

// A function of the table: name, code and number of arguments.
struct MathFunction {
  std::string_view name;
  int code;
  int args;
};

// The function table, in the order of the codes 1..19.
const std::array<MathFunction, 19>& MathFunctions();

// The function whose name starts text at its beginning; where one name is the
// start of another (cos, cosh) the longer one that text spells wins. nullptr
// when no name matches.
const MathFunction* MatchFunction(std::string_view text);

// Reads a run of digits and points the way the evaluator does: digit by
// digit, every step rounded to double; a second point divides by ten again
// ("1.2.3" reads as 0.15).
double ParseNumber(std::string_view digits);

class CMathString {
 public:
  static constexpr int kMaxText = 99;      // characters of the expression
  static constexpr int kMaxBrackets = 50;  // nesting depth
  static constexpr int kMaxNumber = 19;    // characters of one number
  static constexpr int kMaxValues = 49;    // value stack
  static constexpr int kMaxItems = 100;    // postfix list, end item included

  // A text longer than kMaxText characters is kept as unusable: CheckSyntax
  // then fails.
  explicit CMathString(std::string_view expression);
  virtual ~CMathString() = default;

  // false on a syntax error; on success the text is closed by the end marker "#".
  bool CheckSyntax();
  // Converts the checked text into the postfix list.
  void ToPostfix();
  // Evaluates the postfix list; 0 on success, otherwise a MathStatus code.
  int Calculate();
  // The value of the last successful Calculate.
  double GetResult() const { return m_Result; }

 private:
  char m_Expression[kMaxText + 2] = {};  // text, end marker and terminator
  int m_Length = 0;                      // characters of text, marker excluded
  bool m_Checked = false;                // CheckSyntax succeeded
  bool m_Unusable = false;               // text too long
  double m_Result = 0.0;
  PostfixItem m_Postfix[kMaxItems] = {};
  int m_PostfixCount = 0;                // items written, end item included
};

}  // namespace tiecalc
