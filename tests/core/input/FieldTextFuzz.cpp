// libFuzzer target for the field reader: any byte string, however long or
// malformed, must be read without a crash or an out-of-bounds access, and the
// reader's own rules must hold for it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/input/FieldText.h"
#include "core/input/MathString.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tiecalc;
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::string normalised = NormaliseFieldText(text);
  Require(normalised.size() <= text.size());
  Require(normalised.find(' ') == std::string::npos);
  for (char ch : normalised) Require(!(ch >= 'A' && ch <= 'Z') && ch != 'x');
  Require(NormaliseFieldText(normalised) == normalised);

  const double value = EvaluateFieldText(text);
  if (normalised.size() > static_cast<size_t>(CMathString::kMaxText)) Require(value == 0.0);

  // The evaluator on the raw bytes, also past its 99 characters.
  CMathString direct(std::string_view(text).substr(0, 128));
  if (direct.CheckSyntax()) {
    Require(text.size() <= static_cast<size_t>(CMathString::kMaxText));
    direct.ToPostfix();
    const int status = direct.Calculate();
    Require(status >= kMathMalformed && status <= kMathSqrtDomain);
    if (status == kMathOk && text == normalised) {
      const double r = direct.GetResult();
      Require(r == value || (std::isnan(r) && std::isnan(value)));
    }
  }
  return 0;
}
