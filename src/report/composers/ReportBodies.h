#pragma once
// The bodies of the page reports, for a document that holds more than one of
// them (the calculation book): each writes exactly what its own report writes
// between the title and the final save.

#include <future>
#include <string>

#include "core/rodcheck/RodCheck.h"
#include "pages/ForcePageRecord.h"
#include "report/composers/ReportComposer.h"

namespace tiecalc {

// The force chart of a page's record for its report's figure, 200 dpi across the text
// width. Drawing it is most of a force report's work, so it is drawn on
// another thread from when this is made: a report makes it before its
// document, and the body takes it where the figure goes. In a build without
// the chart it holds nothing and the reports carry no chart.
class ForceChartFigure {
 public:
  explicit ForceChartFigure(const ForcePageRecord& page);
  // The PNG bytes, waiting for them; throws what drawing threw. Once only.
  std::string TakePng();

 private:
  std::future<std::string> m_png;
};

// The force analysis of any of the three layouts.
void ForceReportBody(const ForcePageRecord& page, ForceChartFigure& chart, CReportComposer& r);
// The rod check of a run's record, with the form and grades it ran with.
void RodCheckReportBody(const RodCheckData& data, RodForm form, SteelGrade main, SteelGrade lacing,
                        CReportComposer& r);

}  // namespace tiecalc
