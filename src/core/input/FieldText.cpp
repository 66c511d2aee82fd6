#include "core/input/FieldText.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

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

double EvaluateFieldText(std::string text) {
  const std::string normalised = NormaliseFieldText(std::move(text));
  // The working buffer holds 99 characters and the terminator; a longer text
  // is a failure like any other.
  char buffer[CMathString::kMaxText + 1];
  if (normalised.size() > static_cast<size_t>(CMathString::kMaxText)) return 0.0;
  std::memcpy(buffer, normalised.data(), normalised.size());
  buffer[normalised.size()] = '\0';

  CMathString expression(std::string_view(buffer, normalised.size()));
  if (!expression.CheckSyntax()) return 0.0;
  expression.ToPostfix();
  if (expression.Calculate() != kMathOk) return 0.0;
  return expression.GetResult();
}

}  // namespace tiecalc
