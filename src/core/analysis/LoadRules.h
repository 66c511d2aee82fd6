#pragma once
// The load of a force page: R, M and θ may take any value but an infinite
// one or no number at all (an expression out of range reads as such).

#include <cmath>
#include <vector>

#include "core/input/FieldText.h"

namespace tiecalc {

inline void AddNonFiniteLoadRules(std::vector<BrokenRule>& broken, double R, double M, double theta) {
  const std::pair<const char*, double> loads[] = {{"R", R}, {"M", M}, {"theta", theta}};
  for (const auto& [name, v] : loads)
    if (!std::isfinite(v)) broken.push_back({"数值有限", {name}});
}

}  // namespace tiecalc
