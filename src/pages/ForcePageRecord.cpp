#include "pages/ForcePageRecord.h"

#include "core/input/Format.h"

namespace tiecalc {

RodExtremes ShownExtremes(const std::array<double, 2>& forces, const std::array<double, 2>& angles) {
  RodExtremes e;
  for (size_t k = 0; k < 2; ++k) {
    e.forces[k] = Round2(forces[k]);
    e.angles[k] = Round2(angles[k]);
    e.forceTexts[k] = Format2(forces[k]);
    e.angleTexts[k] = Format2(angles[k]);
  }
  return e;
}

}  // namespace tiecalc
