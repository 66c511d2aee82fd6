#include "pages/PageSweep.h"

namespace tiecalc {

namespace {

template <typename Page>
ForceSweep FourRodSweepOf(const Page& page, int lastTheta) {
  if (!page.IsInputValid()) return {4, {}};
  const FourRodCoefficients k =
      PrepareFourRod(FourRodGeometryOf(page.Layout(), page.Angles()), page.Result().L, page.E(), page.S());
  return SweepFourRod(k, page.R(), page.M(), lastTheta);
}

}  // namespace

ForceSweep ForceSweepOf(const CThreeRod& page, int lastTheta) {
  if (!page.IsInputValid()) return {3, {}};
  const ThreeRodInput in = page.Input();
  return SweepThreeRod(ThreeRodGeometryOf(in, page.Angles()), in.R, in.M, lastTheta);
}

ForceSweep ForceSweepOf(const CFourRodParallelPage& page, int lastTheta) { return FourRodSweepOf(page, lastTheta); }
ForceSweep ForceSweepOf(const CFourRodTurnedPage& page, int lastTheta) { return FourRodSweepOf(page, lastTheta); }

}  // namespace tiecalc
