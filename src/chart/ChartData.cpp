#include "chart/ChartData.h"

#include <charconv>
#include <string_view>

#include "pages/PageSweep.h"

namespace tiecalc {

namespace {

bool ParseNumber(std::string_view text, double& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// The two marks of an extreme pair "F1/F2" at the directions "θ1/θ2" (the
// texts of the page's extreme fields); none when the page shows no pair.
std::vector<ChartExtreme> Extremes(const std::string& forces, const std::string& angles) {
  const size_t fs = forces.find('/'), as = angles.find('/');
  if (fs == std::string::npos || as == std::string::npos) return {};
  const std::string_view f(forces), a(angles);
  ChartExtreme first, second;
  if (!ParseNumber(f.substr(0, fs), first.force) || !ParseNumber(f.substr(fs + 1), second.force) ||
      !ParseNumber(a.substr(0, as), first.theta) || !ParseNumber(a.substr(as + 1), second.theta))
    return {};
  first.label = forces.substr(0, fs);
  second.label = forces.substr(fs + 1);
  return {first, second};
}

template <typename Page>
ForceChartData FourRodData(const Page& page) {
  ForceChartData data;
  data.sweep = ForceSweepOf(page, kChartLastTheta);
  for (size_t i = 0; i < 4; ++i)
    data.extremes.push_back(Extremes(page.Result().ForceText[i], page.Result().AngleText[i]));
  data.theta = page.Theta();
  return data;
}

}  // namespace

ForceChartData ChartDataOf(const CThreeRod& page) {
  ForceChartData data;
  data.sweep = ForceSweepOf(page, kChartLastTheta);
  const ThreeRodResult& r = page.Result();
  data.extremes = {Extremes(r.F1m, r.Theta1), Extremes(r.F2m, r.Theta2), Extremes(r.F3m, r.Theta3)};
  data.theta = page.Input().Theta;
  return data;
}

ForceChartData ChartDataOf(const CFourRodParallelPage& page) { return FourRodData(page); }
ForceChartData ChartDataOf(const CFourRodTurnedPage& page) { return FourRodData(page); }

namespace {

template <typename Page>
std::optional<ForceChartData> DefinedChartDataOf(const Page& page) {
  if (!page.IsInputValid()) return std::nullopt;
  ForceChartData data = ChartDataOf(page);
  if (!IsDefined(data.sweep)) return std::nullopt;  // no curve through "nan" or "inf"
  return data;
}

}  // namespace

std::optional<ForceChartData> ValidChartDataOf(const CPage& page) {
  if (auto* p = dynamic_cast<const CThreeRod*>(&page)) return DefinedChartDataOf(*p);
  if (auto* p = dynamic_cast<const CFourRodParallelPage*>(&page)) return DefinedChartDataOf(*p);
  if (auto* p = dynamic_cast<const CFourRodTurnedPage*>(&page)) return DefinedChartDataOf(*p);
  return std::nullopt;
}

const char* ChartLayoutName(const CPage& page) {
  if (dynamic_cast<const CThreeRod*>(&page)) return "三杆附着";
  if (dynamic_cast<const CFourRodParallelPage*>(&page)) return "四杆附着(一)";
  if (dynamic_cast<const CFourRodTurnedPage*>(&page)) return "四杆附着(二)";
  return "";
}

}  // namespace tiecalc
