#pragma once
// The force chart of a page: its sweep (θ = 0..360, the sweep of the
// exports) and its extremes as the page shows them. Only for a page whose
// inputs are valid (IsInputValid); the caller keeps the last such chart.

#include <optional>

#include "chart/ForceChart.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

ForceChartData ChartDataOf(const CThreeRod& page);
ForceChartData ChartDataOf(const CFourRodParallelPage& page);
ForceChartData ChartDataOf(const CFourRodTurnedPage& page);

// The data of a force page whose inputs are valid and whose sweep is
// defined throughout; nothing for invalid inputs, for a force the sweep
// cannot calculate (nan, inf) and for the rod-check page.
std::optional<ForceChartData> ValidChartDataOf(const CPage& page);

// The layout's name as its report calls it ("三杆附着", "四杆附着(一)", ...).
const char* ChartLayoutName(const CPage& page);

}  // namespace tiecalc
