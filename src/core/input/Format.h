#pragma once
// The one rounding and formatting rule of every calculation: a value is
// formatted as "%.2f" and, where a number is needed again, read back from that
// text. All conversions here are independent of the process locale, so a
// desktop whose decimal sign is a comma still shows and reads "33.69".

#include <string>

namespace tiecalc {

// v formatted with "%.2f" and parsed back: the rounded value every page stores.
double Round2(double v);

// v formatted with "%.2f".
std::string Format2(double v);

// v with n decimals ("%.0f" .. "%.9f" for n = 0..9); any other n gives "%.2f".
std::string FormatDecimals(double v, int n);

// v formatted with n decimals and parsed back (n as in FormatDecimals).
double RoundDecimals(double v, int n);

// The display of a double bound to a read-only field: printf's "%.15g".
std::string FormatBound(double v);

// printf-style "%.*f" in the C locale, for composing texts such as "%.2f/%.2f".
std::string FormatFixed(double v, int decimals);
// The same with a negative zero written as zero ("0.00", not "-0.00"): a
// result that comes to -0.0 in a document or a JSON field.
std::string FormatFixedNoMinusZero(double v, int decimals);

// An input as a document prints it: at most two decimals, trailing zeros
// and a trailing point dropped, no minus sign on zero (1000.5 -> "1000.5",
// 300.456 -> "300.46", 900 -> "900", -0.001 -> "0").
std::string FormatInput(double v);

// atof in the C locale: the longest leading decimal number of text, 0.0 when
// there is none (also reads "inf" and "nan" as printf writes them).
double ParseDouble(const std::string& text);

}  // namespace tiecalc
