#pragma once
// The bodies of the page reports, for a document that holds more than one of
// them (the calculation book): each writes exactly what its own report writes
// between the title and the final save.

#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "core/rodcheck/RodCheck.h"
#include "pages/ForcePageRecord.h"
#include "pages/RodCheckPage.h"
#include "report/composers/ReportComposer.h"

namespace tiecalc {

// The reports' chart is drawn at 200 dpi for the text width of the page
// (14.5 cm): sharp in print, and quick enough to encode for a report
// written at once.
inline constexpr double kReportChartDpi = 200.0;

// The force chart of a page's record for its report's figure, at dpi across the text
// width. Drawing it is most of a force report's work, so it is drawn on
// another thread from when this is made: a report makes it before its
// document, and the body takes it where the figure goes. In a build without
// the chart it holds nothing and the reports carry no chart.
class ForceChartFigure {
 public:
  explicit ForceChartFigure(const ForcePageRecord& page, double dpi = kReportChartDpi);
  // The PNG bytes, waiting for them; throws what drawing threw. Once only.
  std::string TakePng();
  double Dpi() const { return m_dpi; }

 private:
  std::future<std::string> m_png;
  double m_dpi;
};

// The force analysis of any of the three layouts.
void ForceReportBody(const ForcePageRecord& page, ForceChartFigure& chart, CReportComposer& r);
// Its first part as a calculation book writes it: the model with its
// sketch, the inputs in a grid (units written kN and kN·m, kept on the line
// of their numbers), the rods' angles and lengths, and the method, up to
// the extremes. Without withMethod the model's and the method's fragments
// are left out (a second level, analysed the same way). afterInputs writes
// what goes after the inputs (the book's plan drawing).
void ForceModelBody(const ForcePageRecord& page, CReportComposer& r, bool withMethod,
                    const std::function<void()>& afterInputs);
// The chart alone, in a centred paragraph (nothing in a build without it).
void ForceChartPicture(ForceChartFigure& chart, CReportComposer& r);
// The section picked from the library as a report names it: the line
// ("截面：4∟63×6，外廓400×400，缀条∟40×4", marked when edited by hand), how
// each input was obtained, and the radius of gyration that follows.
struct ReportSection {
  std::string line;
  std::vector<std::string> derivations;
};
// The page's section while it applies to the form shown (edited by hand or
// not); nullopt otherwise. perRodLengths leaves out what rests on the rod's
// length (G, Ld), for a book whose rods each have their own.
std::optional<ReportSection> ReportSectionOf(const CRodCheckPage& page, bool perRodLengths = false);
// The section's lines, in the body font.
void SectionLines(const ReportSection& section, CReportComposer& r);

// The rod check of a run's record, with the form and grades it ran with, and
// the section it was built from when there is one.
void RodCheckReportBody(const RodCheckData& data, RodForm form, SteelGrade main, SteelGrade lacing,
                        CReportComposer& r, const ReportSection* section = nullptr);

}  // namespace tiecalc
