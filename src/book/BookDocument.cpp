#include "book/BookDocument.h"

#include "pages/OutputCheck.h"
#include "report/composers/ReportBodies.h"
#include "report/composers/ReportComposer.h"

namespace tiecalc {

namespace {

constexpr ReportRequest kBookRequest = {kBookFileName, kBookTitle};
constexpr const char* kNotComputed = "—";
constexpr double kTableSize = 9;  // eight columns across the text width

void SummaryTable(const BookLevel& book, CReportComposer& r) {
  std::vector<std::vector<std::string>> cells = {
      {"杆件", "L (mm)", "Fmax (kN)", "Fmin (kN)", "λ", "σ (MPa)", "σt (MPa)", "结论"}};
  for (const BookRod& rod : book.rods) {
    // A check that could not run leaves earlier results on the page; the
    // summary does not repeat them.
    const bool v = rod.valid;
    cells.push_back({"杆" + std::to_string(rod.rod), rod.texts.L, rod.texts.Fmax, rod.texts.Fmin,
                     v ? rod.Field("lambda") : kNotComputed, v ? rod.Field("sigma") : kNotComputed,
                     rod.tension ? rod.tension->sigmaText : kNotComputed,
                     !v ? CRodCheckPage::kInvalidInput : rod.passes ? "满足要求" : "不 满足要求"});
  }
  r.Table(cells, kTableSize);
  r.Paragraphs(1);
}

void TensionLines(const BookRod& rod, CReportComposer& r) {
  if (!rod.tension) return;
  const TensionLine& t = *rod.tension;
  r.BodyFont();
  r.TextLine(Fill("附着杆最大拉力：Fmax=%s（kN）", rod.texts.Fmax));
  r.Line({{"附着杆受拉应力：σt=Fmax×1000/A=%.2f（MPa）", t.sigma}});
  if (t.message.empty()) return;
  r.BodyFont(t.passes ? kTextGreen : kTextRed);
  r.TextLine(t.message);
  r.BodyFont();
}

void RodChecks(const CalculationBook& all, const BookLevel& book, const std::optional<ReportSection>& section,
               CReportComposer& r) {
  // The section once, before the rods that share it.
  if (section) {
    r.BodyFont();
    SectionLines(*section, r);
  }
  for (const BookRod& rod : book.rods) {
    r.Heading("附着杆" + std::to_string(rod.rod) + "校核");
    if (rod.valid) {
      RodCheckReportBody(rod.data, rod.data.form, rod.data.mainGrade, rod.data.lacingGrade, r);
    } else {
      r.Line({{"附着杆轴向载荷：F=%.2f（kN）", rod.data.F}});
      r.BodyFont(kTextRed);
      r.TextLine(CRodCheckPage::kInvalidInput);
    }
    TensionLines(rod, r);
    r.BodyFont();
  }
  r.Paragraphs(1);
  r.BodyFont(all.verdict == kBookAllRodsPass ? kTextGreen : kTextRed);
  r.TextLine(all.verdict);
}

}  // namespace

OutputOutcome WriteCalculationBook(const CForcePage& page, const CRodCheckPage& section, const CaseBook& settings,
                                   IDesktop& desktop) {
  return WriteCalculationBook(page, section, settings, ComputeBook(page, section, settings), desktop);
}

OutputOutcome WriteCalculationBook(const CForcePage& page, const CRodCheckPage& section, IDesktop& desktop) {
  return WriteCalculationBook(page, section, CaseBook{}, desktop);
}

OutputOutcome WriteCalculationBook(const CForcePage& page, const CRodCheckPage& section, const CaseBook& settings,
                                   const CalculationBook& book, IDesktop& desktop) {
  const ForcePageRecord record = page.Record();
  if (book.Refused() || !IsDefined(record.sweep)) {
    // A sweep with forces that are not numbers has no chart to show.
    desktop.ShowMessage(book.Refused() ? book.refusal : InvalidInputsRefusal(page, kBookNeedsForces),
                        MessageIcon::None);
    return OutputOutcome::Refused;
  }
  // The book rests on both pages' inputs.
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page, &section}, true, "", desktop, book.unreadable))
    return *stop;
  ForceChartFigure chart(record);
  const std::optional<ReportSection> rodSection = ReportSectionOf(section, true);
  return RunReport(desktop, kBookRequest, [&](CReportComposer& r) {
    SummaryTable(book.levels.front(), r);
    ForceReportBody(record, chart, r);
    r.BodyFont();
    RodChecks(book, book.levels.front(), rodSection, r);
  });
}

}  // namespace tiecalc
