// The reports of the force-analysis pages: the three-rod frame and both
// four-rod layouts. Inputs are printed as typed (at most two decimals, no
// trailing zeros), angles with two, the lengths without decimals, the
// extreme texts as the page shows them.

#include <array>
#include <future>
#include <string>

#include "core/analysis/ThreeRod.h"
#include "report/composers/ReportBodies.h"
#include "report/composers/ReportComposer.h"
#include "report/composers/Reports.h"
#include "pages/OutputCheck.h"
#include "pages/PageSweep.h"
#if TIECALC_HAVE_CHART
#include "chart/ChartData.h"
#endif

namespace tiecalc {

namespace {

using F = FragmentId;


// The extreme force of rod i and the directions of R where it occurs.
void ExtremeLines(CReportComposer& r, int rod, const std::string& force, const std::string& angles) {
  static constexpr std::array<const char*, 4> kForce = {"附着杆1极值F1m为：%s KN", "附着杆2极值F2m为：%s KN",
                                                        "附着杆3极值F3m为：%s KN", "附着杆4极值F4m为：%s KN"};
  static constexpr std::array<const char*, 4> kAngle = {
      "附着杆1极值对应的角度值θ1为：%s°", "附着杆2极值对应的角度值θ2为：%s°", "附着杆3极值对应的角度值θ3为：%s°",
      "附着杆4极值对应的角度值θ4为：%s°"};
  r.TextLine(Fill(kForce[rod], force));
  r.TextLine(Fill(kAngle[rod], angles));
}

// The chart is drawn at 200 dpi for the text width of the page (14.5 cm):
// sharp in print, and quick enough to encode for a report written at once.
constexpr double kChartDpi = 200.0;

template <typename Page>
std::future<std::string> DrawChartFigure(const Page& page) {
#if TIECALC_HAVE_CHART
  return std::async(std::launch::async | std::launch::deferred, [data = ChartDataOf(page)] {
    return ChartPng(LayOutForceChart(data, 548, 330), kChartDpi / 96.0);
  });
#else
  (void)page;
  return {};
#endif
}

// The chart as the figure after the extreme lines: the next free figure
// number of the report, the layout and the loads in the caption.
template <typename Page>
void ChartFigure(CReportComposer& r, ForceChartFigure& chart, const Page& page, const char* figure, double R,
                 double M, double theta) {
#if TIECALC_HAVE_CHART
  r.Picture("force_chart", chart.TakePng(), kChartDpi, "各附着杆轴力随θ变化曲线");
  r.Align(Alignment::Center);
  r.TextLine(std::string(figure) + " 各附着杆轴力随θ变化曲线");
  r.TextLine(std::string(ChartLayoutName(page)) + Fill("  R=%v KN", R) + Fill("  M=%v KN.m", M) +
             Fill("  θ=%.2f°", theta));
  r.Align(Alignment::Left);
#else
  (void)r, (void)chart, (void)page, (void)figure, (void)R, (void)M, (void)theta;
#endif
}

// Valid inputs, and a sweep the chart can draw.
template <typename Page>
bool CanReport(const Page& page) {
  return page.IsInputValid() && IsDefined(ForceSweepOf(page, kChartLastTheta));
}

// ---- three rods -----------------------------------------------------------

constexpr ReportRequest kThreeRodRequest = {"塔机三杆附着分析报告", "塔式起重机三杆附着分析报告"};

void ThreeRodBody(const CThreeRod& page, ForceChartFigure& chart, CReportComposer& r) {
  const ThreeRodInput in = page.Input();
  const ThreeRodResult& res = page.Result();
  r.Fragment(F::ThreeRodModel);
  r.Line({{"  A=%v mm", in.A}, {"     B=%v mm", in.B}, {"     C=%v mm", in.C}, {"     D=%v mm", in.D}});
  r.Line({{"  X1=%v mm", in.X1}, {"         X2=%v mm", in.X2}, {"           X3=%v mm", in.X3}});
  r.Line({{"  H=%v mm", in.H}, {"          R=%v KN", in.R}, {"              M=%v KN.m", in.M}});
  r.Fragment(F::ThreeRodAngles);
  r.Line({{"  α=%.2f°", res.Alpha}});
  r.Line({{"  β=%.2f°", res.Beta}});
  r.Line({{"  γ=%.2f°", res.Gamma}});
  r.Fragment(F::ThreeRodMethod);
  ExtremeLines(r, 0, res.F1m, res.Theta1);
  ExtremeLines(r, 1, res.F2m, res.Theta2);
  ExtremeLines(r, 2, res.F3m, res.Theta3);
  ChartFigure(r, chart, page, "(图三)", in.R, in.M, in.Theta);
}

// ---- four rods -------------------------------------------------------------

constexpr ReportRequest kFourRodRequest = {"塔机四杆附着分析报告", "塔式起重机四杆附着分析报告"};

// What the two layouts' reports differ in.
struct FourRodLayoutReport {
  std::array<FragmentId, 4> fragments;  // model, angles, lengths, method
  std::vector<std::vector<Piece>> geometryLines;
};

FourRodLayoutReport LayoutReport(const CFourRod& page) {
  const FourRodLayoutI& g = page.Layout();
  return {{F::FourRodIModel, F::FourRodIAngles, F::FourRodILengths, F::FourRodIMethod},
          {{{"  A=%v mm", g.A}, {"    B=%v mm", g.B}, {"    C=%v mm", g.C}, {"    D=%v mm", g.D},
            {"    E=%v mm", g.E}},
           {{"  F=%v mm", g.F}, {"   X1=%v mm", g.X1}, {"   X2=%v mm", g.X2}, {"   X3=%v mm", g.X3},
            {"   X4=%v mm", g.X4}}}};
}

FourRodLayoutReport LayoutReport(const CFourRod1& page) {
  const FourRodLayoutII& g = page.Layout();
  return {{F::FourRodIIModel, F::FourRodIIAngles, F::FourRodIILengths, F::FourRodIIMethod},
          {{{"  A=%v mm", g.A}, {"      B=%v mm", g.B}, {"      C=%v mm", g.C}, {"      D=%v mm", g.D}},
           {{"  E=%v mm", g.E}, {"      F=%v mm", g.F}, {"      G=%v mm", g.G}, {"      H=%v mm", g.H}},
           {{"  X1=%v mm", g.X1}, {"     X2=%v mm", g.X2}, {"     X3=%v mm", g.X3},
            {"     X4=%v mm", g.X4}}}};
}

// Y1, Y2 and the layout-independent parameters.
template <typename Layout>
void CommonParameterLines(const CFourRodPage& page, const Layout& g, CReportComposer& r) {
  const Rod4& E = page.E();
  const Rod4& S = page.S();
  r.Line({{"  Y1=%v mm", g.Y1}, {"     Y2=%v mm", g.Y2}, {"     R=%v KN", page.R()},
          {"       M=%v KN.m", page.M()}});
  r.Line({{"  E1=%v GPa", E[0]}, {"     E2=%v GPa", E[1]}, {"     E3=%v GPa", E[2]}, {"     E4=%v GPa", E[3]}});
  r.Line({{"  S1=%v mm^2", S[0]}, {"     S2=%v mm^2", S[1]}, {"     S3=%v mm^2", S[2]}, {"     S4=%v mm^2", S[3]}});
  r.TextLine(std::vector<std::string>{"  E:附着杆材料弹性模量", "         S:附着杆主肢截面积"});
}

template <typename Page>
void FourRodBody(const Page& page, ForceChartFigure& chart, CReportComposer& r) {
  const FourRodLayoutReport layout = LayoutReport(page);
  const FourRodAngles& a = page.Angles();
  const FourRodResult& res = page.Result();
  r.Fragment(layout.fragments[0]);
  for (const std::vector<Piece>& line : layout.geometryLines) r.Line(line);
  CommonParameterLines(page, page.Layout(), r);
  r.Fragment(layout.fragments[1]);
  r.Line({{"  α=%.2f°", a.Alpha}});
  r.Line({{"  β=%.2f°", a.Beta}});
  r.Line({{"  γ=%.2f°", a.Gamma}});
  r.Line({{"  δ=%.2f°", a.Delta}});
  r.Fragment(layout.fragments[2]);
  r.Line({{"  L1=%.0f mm", res.L[0]}});
  r.Line({{"  L2=%.0f mm", res.L[1]}});
  r.Line({{"  L3=%.0f mm", res.L[2]}});
  r.Line({{"  L4=%.0f mm", res.L[3]}});
  r.Fragment(layout.fragments[3]);
  for (int i = 0; i < 4; ++i) ExtremeLines(r, i, res.ForceText[i], res.AngleText[i]);
  ChartFigure(r, chart, page, "(图五)", page.R(), page.M(), page.Theta());
}

template <typename Page>
OutputOutcome FourRodReport(const Page& page, IDesktop& desktop) {
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page}, CanReport(page), kInvalidInputsRefused, desktop))
    return *stop;
  ForceChartFigure chart(page);
  return RunReport(desktop, kFourRodRequest, [&](CReportComposer& r) { FourRodBody(page, chart, r); });
}

}  // namespace

OutputOutcome WriteThreeRodReport(const CThreeRod& page, IDesktop& desktop) {
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page}, CanReport(page), kInvalidInputsRefused, desktop))
    return *stop;
  ForceChartFigure chart(page);
  return RunReport(desktop, kThreeRodRequest, [&](CReportComposer& r) { ThreeRodBody(page, chart, r); });
}

OutputOutcome WriteFourRodReport(const CFourRod& page, IDesktop& desktop) { return FourRodReport(page, desktop); }

OutputOutcome WriteFourRodReport(const CFourRod1& page, IDesktop& desktop) { return FourRodReport(page, desktop); }

ForceChartFigure::ForceChartFigure(const CThreeRod& page) : m_png(DrawChartFigure(page)) {}
ForceChartFigure::ForceChartFigure(const CFourRod& page) : m_png(DrawChartFigure(page)) {}
ForceChartFigure::ForceChartFigure(const CFourRod1& page) : m_png(DrawChartFigure(page)) {}

std::string ForceChartFigure::TakePng() { return m_png.get(); }

void ThreeRodReportBody(const CThreeRod& page, ForceChartFigure& chart, CReportComposer& r) {
  ThreeRodBody(page, chart, r);
}
void FourRodReportBody(const CFourRod& page, ForceChartFigure& chart, CReportComposer& r) {
  FourRodBody(page, chart, r);
}
void FourRodReportBody(const CFourRod1& page, ForceChartFigure& chart, CReportComposer& r) {
  FourRodBody(page, chart, r);
}

void InstallReport(CThreeRod& page) {
  CThreeRod* p = &page;
  page.OnClick(CThreeRod::kReportButton, [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return WriteThreeRodReport(*p, *desktop); });
  });
}

void InstallReport(CFourRod& page) {
  CFourRod* p = &page;
  page.OnClick(CFourRod::kReportButton, [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return WriteFourRodReport(*p, *desktop); });
  });
}

void InstallReport(CFourRod1& page) {
  CFourRod1* p = &page;
  page.OnClick(CFourRod1::kReportButton, [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return WriteFourRodReport(*p, *desktop); });
  });
}

}  // namespace tiecalc
