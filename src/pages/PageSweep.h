#pragma once
// The θ-sweep of a force page as its last valid calculation left it: the
// geometry of the stored (rounded) angles, on the four-rod pages the stored
// rounded lengths, and the page's R and M. The export's table and the force
// chart both come from here. A sweep is made only from a page whose inputs
// are valid (so its numbers are finite and are those the page shows); of any
// other page it has no points.

#include "core/analysis/ForceSweep.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

// The sweep tables stop at 359°, the chart closes the circle at 360°.
inline constexpr int kTableLastTheta = 359;
inline constexpr int kChartLastTheta = 360;

ForceSweep ForceSweepOf(const CThreeRod& page, int lastTheta);
ForceSweep ForceSweepOf(const CFourRodParallelPage& page, int lastTheta);
ForceSweep ForceSweepOf(const CFourRodTurnedPage& page, int lastTheta);

}  // namespace tiecalc
