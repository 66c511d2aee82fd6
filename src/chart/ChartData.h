#pragma once
// The force chart of a page: its record's sweep (θ = 0..360, the sweep of
// the exports) and its extremes as the page shows them. Only for a page
// whose inputs are valid; the caller keeps the last such chart.

#include <optional>

#include "chart/ForceChart.h"
#include "pages/ForcePageRecord.h"
#include "pages/Page.h"

namespace tiecalc {

ForceChartData ChartDataOf(const ForcePageRecord& page);

// The data of a force page whose inputs are valid and whose sweep is
// defined throughout; nothing for invalid inputs, for a force the sweep
// cannot calculate (nan, inf) and for the rod-check page.
std::optional<ForceChartData> ValidChartDataOf(const CPage& page);

}  // namespace tiecalc
