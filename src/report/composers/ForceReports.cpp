// The reports of the force-analysis pages: the three-rod frame and both
// four-rod layouts, from the page's record. Inputs are printed as typed (at
// most two decimals, no trailing zeros), angles with two, the lengths
// without decimals, the extreme texts as the page shows them.

#include <array>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "core/input/Format.h"
#include "report/composers/ReportBodies.h"
#include "report/composers/ReportComposer.h"
#include "report/composers/Reports.h"
#include "pages/OutputCheck.h"
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

// The figure's chart, in chart pixels (a 96th of an inch).
constexpr double kFigureWidth = 548, kFigureHeight = 330;

std::future<std::string> DrawChartFigure(const ForcePageRecord& page, double dpi) {
#if TIECALC_HAVE_CHART
  return std::async(std::launch::async | std::launch::deferred, [data = ChartDataOf(page), dpi] {
    return ChartPng(LayOutForceChart(data, kFigureWidth, kFigureHeight), dpi / 96.0);
  });
#else
  (void)page, (void)dpi;
  return {};
#endif
}

// The chart as the figure after the extreme lines: the next free figure
// number of the report, the layout and the loads in the caption.
void ChartFigure(CReportComposer& r, ForceChartFigure& chart, const ForcePageRecord& page, const char* figure) {
#if TIECALC_HAVE_CHART
  ForceChartPicture(chart, r);
  r.Align(Alignment::Center);
  r.TextLine(std::string(figure) + " 各附着杆轴力随θ变化曲线");
  r.TextLine(page.name + Fill("  R=%v KN", page.R) + Fill("  M=%v KN.m", page.M) + Fill("  θ=%.2f°", page.theta));
  r.Align(Alignment::Left);
#else
  (void)r, (void)chart, (void)page, (void)figure;
#endif
}

// Valid inputs, and a sweep the chart can draw.
bool CanReport(const ForcePageRecord& page) { return page.valid && IsDefined(page.sweep); }

// What the layouts' reports differ in.
struct ForceReportShape {
  ReportRequest request;
  FragmentId model, angles;
  std::optional<FragmentId> lengths;  // the lengths' fragment and lines
  FragmentId method;
  // The parameters, line by line: the spaces before each "label=value unit".
  std::vector<std::vector<int>> parameterIndents;
  bool materialNote;  // what E and S stand for, after the parameters
  const char* figure;
};

const ForceReportShape& ShapeOf(ForceLayout layout) {
  static const ForceReportShape kThreeRod = {{"塔机三杆附着分析报告", "塔式起重机三杆附着分析报告"},
                                             F::ThreeRodModel,
                                             F::ThreeRodAngles,
                                             std::nullopt,
                                             F::ThreeRodMethod,
                                             {{2, 5, 5, 5}, {2, 9, 11}, {2, 10, 14}},
                                             false,
                                             "(图三)"};
  static const ForceReportShape kFourRodParallel = {
      {"塔机四杆附着分析报告", "塔式起重机四杆附着分析报告"},
      F::FourRodIModel,
      F::FourRodIAngles,
      F::FourRodILengths,
      F::FourRodIMethod,
      {{2, 4, 4, 4, 4}, {2, 3, 3, 3, 3}, {2, 5, 5, 7}, {2, 5, 5, 5}, {2, 5, 5, 5}},
      true,
      "(图五)"};
  static const ForceReportShape kFourRodTurned = {
      {"塔机四杆附着分析报告", "塔式起重机四杆附着分析报告"},
      F::FourRodIIModel,
      F::FourRodIIAngles,
      F::FourRodIILengths,
      F::FourRodIIMethod,
      {{2, 6, 6, 6}, {2, 6, 6, 6}, {2, 5, 5, 5}, {2, 5, 5, 7}, {2, 5, 5, 5}, {2, 5, 5, 5}},
      true,
      "(图五)"};
  switch (layout) {
    case ForceLayout::ThreeRod: return kThreeRod;
    case ForceLayout::FourRodParallel: return kFourRodParallel;
    case ForceLayout::FourRodTurned: break;
  }
  return kFourRodTurned;
}

// A unit as a calculation book writes it: kN, kN·m, mm².
std::string BookUnit(const std::string& unit) {
  return unit == "KN" ? "kN" : unit == "KN.m" ? "kN·m" : unit == "mm^2" ? "mm²" : unit;
}

// Texts in a borderless grid of columns a row, left-aligned, in 12 points:
// the book's inputs four a row, its angles and lengths one row each.
void Grid(const std::vector<std::string>& texts, size_t columns, CReportComposer& r) {
  std::vector<std::vector<TableCell>> rows;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i % columns == 0) rows.emplace_back(columns, TableCell(""));
    rows.back()[i % columns] = TableCell(texts[i]);
  }
  TableLayout layout;
  layout.borders = false;
  layout.columnAlignment.assign(columns, Alignment::Left);
  r.Table(rows, layout, 12);
}

// The inputs as typed, each "label=value unit" after its spaces.
void ParameterLines(const ForcePageRecord& page, const ForceReportShape& shape, CReportComposer& r) {
  size_t next = 0;
  for (const std::vector<int>& indents : shape.parameterIndents) {
    std::vector<std::string> patterns;
    for (int indent : indents) {
      const LabelledValue& p = page.parameters.at(next + patterns.size());
      patterns.push_back(std::string(static_cast<size_t>(indent), ' ') + p.label + "=%v " + p.unit);
    }
    std::vector<Piece> pieces;
    for (const std::string& pattern : patterns) pieces.push_back({pattern.c_str(), page.parameters[next++].value});
    r.Line(pieces);
  }
}

void Model(const ForcePageRecord& page, const ForceReportShape& shape, CReportComposer& r) {
  static constexpr std::array<const char*, 4> kAngle = {"  α=%.2f°", "  β=%.2f°", "  γ=%.2f°", "  δ=%.2f°"};
  static constexpr std::array<const char*, 4> kLength = {"  L1=%.0f mm", "  L2=%.0f mm", "  L3=%.0f mm",
                                                         "  L4=%.0f mm"};
  r.Fragment(shape.model);
  ParameterLines(page, shape, r);
  if (shape.materialNote) r.TextLine(std::vector<std::string>{"  E:附着杆材料弹性模量", "         S:附着杆主肢截面积"});
  r.Fragment(shape.angles);
  for (size_t i = 0; i < page.rods.size(); ++i) r.Line({{kAngle.at(i), page.rods[i].angle}});
  if (shape.lengths) {
    r.Fragment(*shape.lengths);
    for (size_t i = 0; i < page.rods.size(); ++i) r.Line({{kLength.at(i), page.rods[i].length}});
  }
  r.Fragment(shape.method);
}

void Body(const ForcePageRecord& page, ForceChartFigure& chart, CReportComposer& r) {
  const ForceReportShape& shape = ShapeOf(page.layout);
  Model(page, shape, r);
  for (size_t i = 0; i < page.rods.size(); ++i)
    ExtremeLines(r, static_cast<int>(i), page.rods[i].extremes.ForcePair(), page.rods[i].extremes.AnglePair());
  ChartFigure(r, chart, page, shape.figure);
}

}  // namespace

OutputOutcome WriteForceReport(const CForcePage& page, IDesktop& desktop) {
  const ForcePageRecord record = page.Record();
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page}, CanReport(record), kInvalidInputsRefused, desktop))
    return *stop;
  ForceChartFigure chart(record);
  return RunReport(desktop, ShapeOf(record.layout).request, [&](CReportComposer& r) { Body(record, chart, r); });
}

ForceChartFigure::ForceChartFigure(const ForcePageRecord& page, double dpi)
    : m_png(DrawChartFigure(page, dpi)), m_dpi(dpi) {}

std::string ForceChartFigure::TakePng() { return m_png.get(); }

void ForceReportBody(const ForcePageRecord& page, ForceChartFigure& chart, CReportComposer& r) {
  Body(page, chart, r);
}

void ForceModelBody(const ForcePageRecord& page, CReportComposer& r, bool withMethod,
                    const std::function<void()>& afterInputs) {
  static constexpr std::array<const char*, 4> kAngle = {"α", "β", "γ", "δ"};
  const ForceReportShape& shape = ShapeOf(page.layout);
  if (withMethod) r.Fragment(shape.model);
  std::vector<std::string> inputs;
  for (const LabelledValue& p : page.parameters)
    inputs.push_back(p.label + "=" + WithUnit(FormatInput(p.value), BookUnit(p.unit)));
  Grid(inputs, 4, r);
  if (shape.materialNote) r.TextLine("其中 E 为附着杆材料弹性模量，S 为附着杆主肢截面积。");
  if (afterInputs) afterInputs();
  std::vector<std::string> angles, lengths;
  for (size_t i = 0; i < page.rods.size(); ++i) {
    angles.push_back(std::string(kAngle.at(i)) + " = " + FormatFixed(page.rods[i].angle, 2) + "°");
    lengths.push_back("L" + std::to_string(i + 1) + " = " + WithUnit(FormatFixed(page.rods[i].length, 0), "mm"));
  }
  if (withMethod) r.Fragment(shape.angles);
  else r.TextLine("各附着杆与墙面的夹角：");
  Grid(angles, angles.size(), r);
  if (shape.lengths) {
    if (withMethod) r.Fragment(*shape.lengths);
    else r.TextLine("各附着杆长度：");
    Grid(lengths, lengths.size(), r);
  }
  if (withMethod) r.Fragment(shape.method);
}

void ForceChartPicture(ForceChartFigure& chart, CReportComposer& r) {
#if TIECALC_HAVE_CHART
  // Its place goes in now; the text after it is written while it is drawn.
  const ChartPngFormat format = ChartPngFormatOf(kFigureWidth, kFigureHeight, chart.Dpi() / 96.0);
  r.LatePicture("force_chart", format.width, format.height, format.dotsPerMetre, chart.Dpi(), "各附着杆轴力随θ变化曲线",
                [&chart] { return chart.TakePng(); });
#else
  (void)chart, (void)r;
#endif
}

void InstallReport(CForcePage& page) {
  CForcePage* p = &page;
  page.OnClick(page.ReportButton(), [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return WriteForceReport(*p, *desktop); });
  });
}

}  // namespace tiecalc
