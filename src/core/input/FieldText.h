#pragma once
// Reading a number from the text of an input field. Symbols typed with a
// Chinese input method count as their ASCII forms, letters are lower-cased,
// and the text is evaluated as an expression (CMathString). Every failure -
// an empty text, a syntax error, a division by zero, a domain error, a text
// too long for the 100-character working buffer - reads as 0.0.

#include <string>
#include <vector>

namespace tiecalc {

// Steps before evaluation: remove ASCII spaces, replace the alternative
// symbols in a fixed order (（ [ { to "(", ） ] } to ")", ， to ",", ＋ to "+",
// － to "-", x X × to "*", \ ÷ to "/"), lower-case ASCII letters. Texts are
// UTF-8.
std::string NormaliseFieldText(std::string text);

// The value of a field text: normalised, evaluated, 0.0 on any failure. This
// is the one field reader of the program; the main window and every page
// forward to it.
double EvaluateFieldText(std::string text);

// How a field text reads: as typed, taken by the reader as another number
// than the one meant, or not at all (then it counts as 0).
enum class FieldReading { Clean, Misread, Unreadable };

struct FieldCheck {
  FieldReading reading = FieldReading::Clean;
  double value = 0.0;  // always what EvaluateFieldText gives
  std::string reason;  // in Chinese, empty when clean
};

// Checks a field text the way the reader takes it and says why a text is
// unreadable ("无法识别的算式，按 0 计算", a full-width digit, a unit, an
// exponent, a division by zero, ...) or misread (several decimal points in
// one number, blanks between digits: "数字中有多个小数点，读作 0.17").
FieldCheck CheckFieldText(const std::string& text);

// A rule of a page that its inputs break, and the short names of the inputs
// it involves ("H>B": H and B). A rule that is not a formula of the inputs
// says why in its own words ("杆2截面积必须大于0").
struct BrokenRule {
  std::string rule;
  std::vector<std::string> fields;
  std::string reason;  // empty: "不满足 " + rule

  // What the page says of it, beside its inputs and in a refusal.
  std::string Reason() const { return reason.empty() ? "不满足 " + rule : reason; }
};

}  // namespace tiecalc
