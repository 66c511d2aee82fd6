#include "core/input/Format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace tiecalc {

namespace {

// std::to_chars with a precision rounds the exact binary value, as glibc's
// printf does, and never looks at the locale.
std::string ToChars(double v, std::chars_format fmt, int precision) {
  // "%.9f" of the largest double needs 309 + 1 + 9 characters plus sign.
  char buf[400];
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  auto res = std::to_chars(buf, buf + sizeof buf, v, fmt, precision);
  if (res.ec != std::errc()) return "0";
  return std::string(buf, res.ptr);
}

}  // namespace

std::string FormatFixed(double v, int decimals) {
  return ToChars(v, std::chars_format::fixed, decimals);
}

std::string FormatFixedNoMinusZero(double v, int decimals) { return FormatFixed(v + 0.0, decimals); }

std::string Format2(double v) { return FormatFixed(v, 2); }

std::string FormatInput(double v) {
  std::string s = FormatFixed(v, 2);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

double Round2(double v) { return ParseDouble(Format2(v)); }

std::string FormatDecimals(double v, int n) {
  if (n < 0 || n > 9) n = 2;
  return FormatFixed(v, n);
}

double RoundDecimals(double v, int n) { return ParseDouble(FormatDecimals(v, n)); }

std::string FormatBound(double v) {
  return ToChars(v, std::chars_format::general, 15);
}

double ParseDouble(const std::string& text) {
  const char* p = text.c_str();
  const char* end = p + text.size();
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')) ++p;
  bool negative = false;
  const char* q = p;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = (*q == '-');
    ++q;
  }
  auto lower_is = [&](const char* at, const char* word) {
    size_t n = std::strlen(word);
    if (static_cast<size_t>(end - at) < n) return false;
    for (size_t i = 0; i < n; ++i)
      if ((at[i] | 0x20) != word[i]) return false;
    return true;
  };
  if (lower_is(q, "nan")) return negative ? -std::nan("") : std::nan("");
  if (lower_is(q, "inf")) return negative ? -HUGE_VAL : HUGE_VAL;
  double value = 0.0;
  auto res = std::from_chars(q, end, value, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // atof gives +-HUGE_VAL on overflow and 0 (or a denormal) on underflow.
    // Without an exponent only a long integer part can overflow; with one,
    // its sign tells (a mantissa long enough to outweigh it does not occur).
    bool huge = false;
    bool exponent = false;
    for (const char* c = q; c < res.ptr; ++c) {
      if (*c == 'e' || *c == 'E') {
        exponent = true;
        huge = (c + 1 < res.ptr && c[1] != '-');
        break;
      }
    }
    if (!exponent) {
      for (const char* c = q; c < res.ptr && *c != '.'; ++c)
        if (*c >= '1' && *c <= '9') huge = true;
    }
    value = huge ? HUGE_VAL : 0.0;
  } else if (res.ec != std::errc()) {
    return 0.0;
  }
  return negative ? -value : value;
}

}  // namespace tiecalc
