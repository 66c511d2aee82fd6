#pragma once
// Reading a number from the text of an input field. Symbols typed with a
// Chinese input method count as their ASCII forms, letters are lower-cased,
// and the text is evaluated as an expression (CMathString). Every failure -
// an empty text, a syntax error, a division by zero, a domain error, a text
// too long for the 100-character working buffer - reads as 0.0.

#include <string>

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

}  // namespace tiecalc
