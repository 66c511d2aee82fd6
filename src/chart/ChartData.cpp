#include "chart/ChartData.h"

#include "pages/ForcePage.h"

namespace tiecalc {

ForceChartData ChartDataOf(const ForcePageRecord& page) {
  ForceChartData data;
  data.sweep = page.sweep;
  // Each rod's two extremes, marked at their values as the page shows them.
  for (const RodRecord& rod : page.rods) {
    std::vector<ChartExtreme>& marks = data.extremes.emplace_back();
    if (!page.valid) continue;
    for (size_t k = 0; k < 2; ++k)
      marks.push_back({rod.extremes.angles[k], rod.extremes.forces[k], rod.extremes.forceTexts[k]});
  }
  data.theta = page.theta;
  return data;
}

std::optional<ForceChartData> ValidChartDataOf(const CPage& page) {
  const auto* forcePage = dynamic_cast<const CForcePage*>(&page);
  if (!forcePage) return std::nullopt;
  const ForcePageRecord record = forcePage->Record();
  if (!record.valid || !IsDefined(record.sweep)) return std::nullopt;  // no curve through "nan" or "inf"
  return ChartDataOf(record);
}

}  // namespace tiecalc
