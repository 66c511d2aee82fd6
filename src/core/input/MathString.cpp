#include "core/input/MathString.h"

#include <cmath>
#include <cstring>

namespace tiecalc {

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsNumberChar(char ch) { return IsDigit(ch) || ch == '.'; }
bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool IsBinaryOperator(char ch) { return ch == '+' || ch == '-' || ch == '*' || ch == '/'; }

constexpr std::array<MathFunction, 19> kFunctions = {{
    {"abs", 1, 1},   {"acos", 2, 1},  {"asin", 3, 1}, {"atan", 4, 1},  {"acot", 5, 1},
    {"cos", 6, 1},   {"cosh", 7, 1},  {"cot", 8, 1},  {"exp", 9, 1},   {"floor", 10, 1},
    {"mod", 11, 2},  {"ln", 12, 1},   {"log", 13, 1}, {"pow", 14, 2},  {"sin", 15, 1},
    {"sinh", 16, 1}, {"sqrt", 17, 1}, {"tan", 18, 1}, {"tanh", 19, 1},
}};

bool IsOpeningBracket(const PostfixItem& item) {
  return item.kind == PostfixItem::kOperator && item.op == '(';
}

bool IsMultiplicative(const PostfixItem& item) {
  return item.kind == PostfixItem::kFunction ||
         (item.kind == PostfixItem::kOperator && (item.op == '*' || item.op == '/'));
}

PostfixItem OperatorItem(char op) {
  PostfixItem item;
  item.kind = PostfixItem::kOperator;
  item.op = op;
  return item;
}

// Applies function code to x (and y for the two-argument ones). Returns the
// status; the value goes to out.
int ApplyFunction(int code, double x, double y, double& out) {
  switch (code) {
    case 1: out = std::fabs(x); return kMathOk;
    case 2: if (x < -1.0 || x > 1.0) return kMathAcosDomain; out = std::acos(x); return kMathOk;
    case 3: if (x < -1.0 || x > 1.0) return kMathAsinDomain; out = std::asin(x); return kMathOk;
    case 4: out = std::atan(x); return kMathOk;
    case 5: out = 1.5707963 - std::atan(x); return kMathOk;
    case 6: out = std::cos(x); return kMathOk;
    case 7: out = std::cosh(x); return kMathOk;
    case 8: {
      double t = std::tan(x);
      if (t == 0.0) return kMathCotPole;
      out = 1.0 / t;
      return kMathOk;
    }
    case 9: out = std::exp(x); return kMathOk;
    case 10: out = std::floor(x); return kMathOk;
    case 11: if (y == 0.0) return kMathModByZero; out = std::fmod(x, y); return kMathOk;
    case 12: if (x <= 0.0) return kMathLnDomain; out = std::log(x); return kMathOk;
    case 13: if (x <= 0.0) return kMathLogDomain; out = std::log10(x); return kMathOk;
    case 14: out = std::pow(x, y); return kMathOk;
    case 15: out = std::sin(x); return kMathOk;
    case 16: out = std::sinh(x); return kMathOk;
    case 17: if (x < 0.0) return kMathSqrtDomain; out = std::sqrt(x); return kMathOk;
    case 18: out = std::tan(x); return kMathOk;
    case 19: out = std::tanh(x); return kMathOk;
    default: return kMathMalformed;
  }
}

}  // namespace

const std::array<MathFunction, 19>& MathFunctions() { return kFunctions; }

const MathFunction* MatchFunction(std::string_view text) {
  const MathFunction* best = nullptr;
  for (const MathFunction& f : kFunctions) {
    if (text.substr(0, f.name.size()) == f.name && (!best || f.name.size() > best->name.size()))
      best = &f;
  }
  return best;
}

double ParseNumber(std::string_view digits) {
  double v = 0.0;
  double scale = 0.1;
  bool point = false;
  for (char ch : digits) {
    if (ch == '.') {
      v = v / 10.0;
      point = true;
    } else if (!point) {
      v = (v + (ch - '0')) * 10.0;
    } else {
      v = v + (ch - '0') * scale;
      scale = scale * 0.1;
    }
  }
  if (!point) v = v / 10.0;
  return v;
}

CMathString::CMathString(std::string_view expression) {
  if (expression.size() > static_cast<size_t>(kMaxText)) {
    m_Unusable = true;
    return;
  }
  m_Length = static_cast<int>(expression.size());
  std::memcpy(m_Expression, expression.data(), expression.size());
  m_Expression[m_Length] = '\0';
}

bool CMathString::CheckSyntax() {
  m_Checked = false;
  if (m_Unusable) return false;
  const char* s = m_Expression;
  const int n = m_Length;
  int depth = 0;  // the bracket stack holds only "(", so its depth is all we need
  int i = 0;
  while (i < n) {
    const char ch = s[i];
    if (ch == '(') {
      if (depth == kMaxBrackets) return false;
      ++depth;
      ++i;
    } else if (ch == ')') {
      if (depth == 0) return false;
      --depth;
      ++i;
    } else if (IsBinaryOperator(ch)) {
      if (i + 1 < n && IsBinaryOperator(s[i + 1])) return false;
      ++i;
    } else if (IsNumberChar(ch)) {
      int j = i;
      while (j < n && IsNumberChar(s[j])) ++j;
      if (j - i > kMaxNumber) return false;
      i = j;
    } else if (ch == ',') {
      ++i;
    } else if (IsLetter(ch)) {
      const MathFunction* f = MatchFunction(std::string_view(s + i, static_cast<size_t>(n - i)));
      if (!f) return false;
      i += static_cast<int>(f->name.size());
      if (i >= n || s[i] != '(') return false;
      if (depth == kMaxBrackets) return false;
      ++depth;
      ++i;
    } else {
      return false;
    }
  }
  if (depth != 0) return false;
  m_Expression[n] = '#';
  m_Expression[n + 1] = '\0';
  m_Checked = true;
  return true;
}

void CMathString::ToPostfix() {
  m_PostfixCount = 0;
  if (!m_Checked) return;  // no end item: Calculate fails

  // Every character pushes at most one entry and emits at most one item, so
  // 99 characters fit both; the guards keep it so whatever the text.
  PostfixItem stack[kMaxText];
  int top = 0;
  bool overflow = false;
  auto emit = [&](const PostfixItem& item) {
    if (m_PostfixCount < kMaxItems - 1) m_Postfix[m_PostfixCount++] = item;
    else overflow = true;
  };
  auto push = [&](const PostfixItem& item) {
    if (top < kMaxText) stack[top++] = item;
    else overflow = true;
  };
  auto popUntilBracket = [&] {
    while (top > 0 && !IsOpeningBracket(stack[top - 1])) emit(stack[--top]);
  };
  // A digit right before "(" or a function name multiplies.
  auto implicitMultiply = [&](int i) {
    if (i == 0 || !IsDigit(m_Expression[i - 1])) return;
    while (top > 0 && IsMultiplicative(stack[top - 1])) emit(stack[--top]);
    push(OperatorItem('*'));
  };

  const char* s = m_Expression;
  int i = 0;
  for (;;) {
    const char ch = s[i];
    if (ch == '#') {
      while (top > 0) emit(stack[--top]);
      break;
    }
    if (IsNumberChar(ch)) {
      int j = i;
      while (IsNumberChar(s[j])) ++j;
      PostfixItem item;
      item.kind = PostfixItem::kNumber;
      item.value = ParseNumber(std::string_view(s + i, static_cast<size_t>(j - i)));
      emit(item);
      i = j;
    } else if (ch == '(') {
      implicitMultiply(i);
      push(OperatorItem('('));
      ++i;
    } else if (ch == ')') {
      popUntilBracket();
      if (top > 0) --top;
      ++i;
    } else if (ch == '+' || ch == '-') {
      if (ch == '-' && (i == 0 || s[i - 1] == '(')) {
        push(OperatorItem(kNegate));
      } else {
        popUntilBracket();
        push(OperatorItem(ch));
      }
      ++i;
    } else if (ch == '*' || ch == '/') {
      while (top > 0 && IsMultiplicative(stack[top - 1])) emit(stack[--top]);
      push(OperatorItem(ch));
      ++i;
    } else if (ch == ',') {
      popUntilBracket();  // a "," outside brackets stops at the bottom
      ++i;
    } else {
      // A function name: the check guarantees it is followed by "(", where
      // the scan goes on.
      implicitMultiply(i);
      const MathFunction* f = MatchFunction(std::string_view(s + i, static_cast<size_t>(m_Length - i)));
      if (!f) {
        overflow = true;  // cannot happen after a successful check
        break;
      }
      PostfixItem item;
      item.kind = PostfixItem::kFunction;
      item.function = f->code;
      push(item);
      i += static_cast<int>(f->name.size());
    }
  }
  if (overflow) {
    m_PostfixCount = 0;
    return;
  }
  m_Postfix[m_PostfixCount++] = OperatorItem('#');
}

int CMathString::Calculate() {
  if (m_PostfixCount == 0) return kMathMalformed;
  double values[kMaxValues];
  int n = 0;
  for (int k = 0; k < m_PostfixCount; ++k) {
    const PostfixItem& item = m_Postfix[k];
    if (item.kind == PostfixItem::kNumber) {
      if (n == kMaxValues) return kMathMalformed;
      values[n++] = item.value;
    } else if (item.kind == PostfixItem::kFunction) {
      const int args = kFunctions[static_cast<size_t>(item.function - 1)].args;
      if (n < args) return kMathMalformed;
      double x = values[n - args];
      double y = args == 2 ? values[n - 1] : 0.0;
      double out = 0.0;
      int status = ApplyFunction(item.function, x, y, out);
      if (status != kMathOk) return status;
      n -= args - 1;
      values[n - 1] = out;
    } else if (item.op == '#') {
      if (n != 1) return kMathMalformed;
      m_Result = values[0];
      return kMathOk;
    } else if (item.op == kNegate) {
      if (n < 1) return kMathMalformed;
      values[n - 1] = 0.0 - values[n - 1];
    } else {
      if (n < 2) return kMathMalformed;
      const double b = values[n - 1];
      const double a = values[n - 2];
      double r = 0.0;
      switch (item.op) {
        case '+': r = a + b; break;
        case '-': r = a - b; break;
        case '*': r = a * b; break;
        case '/':
          if (b == 0.0) return kMathDivideByZero;
          r = a / b;
          break;
        default: return kMathMalformed;
      }
      --n;
      values[n - 1] = r;
    }
  }
  return kMathMalformed;  // no end item
}

}  // namespace tiecalc
