#include "core/input/FieldText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

#include "core/input/Format.h"
#include "core/input/MathString.h"

namespace tiecalc {

namespace {

// Applied in this order; every replacement yields ASCII, so none of them
// creates a match for a later one.
constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kReplacements = {{
    {"\xEF\xBC\x88", "("},  // （ full-width opening bracket
    {"[", "("},
    {"{", "("},
    {"\xEF\xBC\x89", ")"},  // ） full-width closing bracket
    {"]", ")"},
    {"}", ")"},
    {"\xEF\xBC\x8C", ","},  // ， full-width comma
    {"\xEF\xBC\x8B", "+"},  // ＋ full-width plus
    {"\xEF\xBC\x8D", "-"},  // － full-width minus
    {"x", "*"},
    {"X", "*"},
    {"\xC3\x97", "*"},      // × multiplication sign
    {"\\", "/"},
    {"\xC3\xB7", "/"},      // ÷ division sign
}};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    out.append(text, start, at - start);
    out.append(to);
    start = at + from.size();
  }
  if (start == 0) return;
  out.append(text, start, std::string::npos);
  text = std::move(out);
}

}  // namespace

std::string NormaliseFieldText(std::string text) {
  std::erase(text, ' ');
  for (const auto& [from, to] : kReplacements) ReplaceAll(text, from, to);
  for (char& ch : text)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return text;
}

namespace {

// The reader's own failures beyond the evaluator's status codes.
constexpr int kTooLong = -100;
constexpr int kSyntax = -101;

// Evaluates a normalised text: kMathOk with the value in out, or why not.
int EvaluateNormalised(const std::string& normalised, double& out) {
  out = 0.0;
  // The working buffer holds 99 characters and the terminator; a longer text
  // is a failure like any other.
  char buffer[CMathString::kMaxText + 1];
  if (normalised.size() > static_cast<size_t>(CMathString::kMaxText)) return kTooLong;
  std::memcpy(buffer, normalised.data(), normalised.size());
  buffer[normalised.size()] = '\0';

  CMathString expression(std::string_view(buffer, normalised.size()));
  if (!expression.CheckSyntax()) return kSyntax;
  expression.ToPostfix();
  const int status = expression.Calculate();
  if (status == kMathOk) out = expression.GetResult();
  return status;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsNumberChar(char ch) { return IsDigit(ch) || ch == '.'; }
bool IsLower(char ch) { return ch >= 'a' && ch <= 'z'; }

// The UTF-8 character that starts at text[i].
std::string CharAt(const std::string& text, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return text.substr(i, length);
}

// The run of full-width digits and points (０-９, ．) from text[i] on.
std::string FullWidthDigitsAt(const std::string& text, size_t i) {
  std::string run;
  while (i + 2 < text.size() && text.compare(i, 2, "\xEF\xBC") == 0 &&
         ((static_cast<unsigned char>(text[i + 2]) >= 0x90 && static_cast<unsigned char>(text[i + 2]) <= 0x99) ||
          static_cast<unsigned char>(text[i + 2]) == 0x8E)) {
    run += text.substr(i, 3);
    i += 3;
  }
  return run;
}

// word as the user typed it (letters in their own case), found in text
// without regard to the case of ASCII letters.
std::string AsTyped(const std::string& text, const std::string& word) {
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size()) {
      char ch = text[i + k];
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
      if (ch != word[k]) break;
      ++k;
    }
    if (k == word.size()) return text.substr(i, word.size());
  }
  return word;
}

std::string Quoted(const std::string& s) { return "“" + s + "”"; }

// Why a text the syntax check refuses cannot be read: the first thing in it
// that a field does not take.
std::string WhySyntaxFails(const std::string& text, const std::string& n) {
  static const std::string kZero = "，按 0 计算";
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string digits = FullWidthDigitsAt(text, i);
    if (!digits.empty()) return "全角数字" + Quoted(digits) + "无法识别，请用半角数字" + kZero;
  }
  std::string lower = text;
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  if (lower.find("exp") != std::string::npos) return "exp 无法输入（x 读作乘号）" + kZero;
  for (size_t i = 0; i < n.size(); ++i) {
    const char ch = n[i];
    const bool afterNumber = i > 0 && IsNumberChar(n[i - 1]);
    const bool beforeNumber = i + 1 < n.size() && IsNumberChar(n[i + 1]);
    if (ch == 'e' && afterNumber &&
        (beforeNumber || (i + 2 < n.size() && (n[i + 1] == '+' || n[i + 1] == '-') && IsDigit(n[i + 2])))) {
      size_t start = i, end = i + 1;
      while (start > 0 && IsNumberChar(n[start - 1])) --start;
      if (n[end] == '+' || n[end] == '-') ++end;
      while (end < n.size() && IsNumberChar(n[end])) ++end;
      return "不支持指数写法" + Quoted(AsTyped(text, n.substr(start, end - start))) + kZero;
    }
    if ((ch == 'o' || ch == 'l') && (afterNumber || beforeNumber)) {
      const std::string letter = AsTyped(text, std::string(1, ch));
      return "字母 " + letter + " 不是数字 " + (ch == 'o' ? "0" : "1") + kZero;
    }
  }
  for (size_t i = 0; i < n.size();) {
    if (IsLower(n[i])) {
      const MathFunction* f = MatchFunction(std::string_view(n).substr(i));
      if (f && i + f->name.size() < n.size() && n[i + f->name.size()] == '(') {
        i += f->name.size();
        continue;
      }
      size_t end = i;
      while (end < n.size() && IsLower(n[end])) ++end;
      const std::string word = AsTyped(text, n.substr(i, end - i));
      if (i > 0 && (IsNumberChar(n[i - 1]) || n[i - 1] == ')'))
        return "数值后不能写单位或字母" + Quoted(word) + kZero;
      return "无法识别的名称" + Quoted(word) + kZero;
    }
    const unsigned char ch = static_cast<unsigned char>(n[i]);
    if (ch < 0x20 || ch == 0x7F) return "含无法识别的控制字符" + kZero;
    if (!IsNumberChar(n[i]) && std::string_view("+-*/(),").find(n[i]) == std::string_view::npos)
      return "无法识别的字符" + Quoted(CharAt(n, i)) + kZero;
    ++i;
  }
  return "无法识别的算式" + kZero;
}

// Why an evaluation failed, by the evaluator's status.
std::string WhyUnreadable(const std::string& text, const std::string& n, int status) {
  switch (status) {
    case kTooLong: return "算式超过 99 个字符，按 0 计算";
    case kSyntax: return WhySyntaxFails(text, n);
    case kMathDivideByZero: return "算式中除数为 0，按 0 计算";
    case kMathModByZero: return "mod 的除数为 0，按 0 计算";
    case kMathAcosDomain:
    case kMathAsinDomain: return "acos、asin 的参数须在 -1 与 1 之间，按 0 计算";
    case kMathCotPole: return "cot 的参数使正切为 0，按 0 计算";
    case kMathLnDomain:
    case kMathLogDomain: return "对数的参数须大于 0，按 0 计算";
    case kMathSqrtDomain: return "不能对负数开平方，按 0 计算";
    default:
      if (n.find(',') != std::string::npos && std::none_of(n.begin(), n.end(), IsLower))
        return "逗号只用于分隔函数的参数，小数点请用“.”，按 0 计算";
      return "无法识别的算式，按 0 计算";
  }
}

}  // namespace

double EvaluateFieldText(std::string text) {
  double value = 0.0;
  EvaluateNormalised(NormaliseFieldText(std::move(text)), value);
  return value;
}

FieldCheck CheckFieldText(const std::string& text) {
  FieldCheck c;
  const std::string n = NormaliseFieldText(text);
  const int status = EvaluateNormalised(n, c.value);
  // A blank field shows itself as what it is: no mark.
  if (status != kMathOk && !n.empty()) {
    c.reading = FieldReading::Unreadable;
    c.reason = WhyUnreadable(text, n, status);
    return c;
  }
  const std::string readAs = "，读作 " + FormatBound(c.value);
  // A number the reader takes digit by digit: "1.5.2" reads as 0.17.
  for (size_t i = 0; i < n.size();) {
    size_t end = i, points = 0;
    while (end < n.size() && IsNumberChar(n[end])) points += n[end++] == '.';
    if (points > 1) {
      c.reading = FieldReading::Misread;
      c.reason = "数字中有多个小数点" + readAs;
      return c;
    }
    i = end == i ? i + 1 : end;
  }
  // Blanks are removed before reading: "12 34" reads as 1234.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ' ' || i == 0 || !IsNumberChar(text[i - 1])) continue;
    size_t next = i;
    while (next < text.size() && text[next] == ' ') ++next;
    if (next < text.size() && IsNumberChar(text[next])) {
      c.reading = FieldReading::Misread;
      c.reason = "数字中间有空格" + readAs;
      return c;
    }
  }
  if (!std::isfinite(c.value)) {
    c.reading = FieldReading::Misread;
    c.reason = "算式的值溢出或无定义" + readAs;
  }
  return c;
}

}  // namespace tiecalc
