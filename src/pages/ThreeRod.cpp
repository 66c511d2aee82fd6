#include "pages/ThreeRod.h"

#include <cmath>

#include "core/analysis/ForceSweep.h"
#include "core/input/Format.h"

#include "pages/PageTemplate.h"

namespace tiecalc {

namespace {

using I = CThreeRod;

// Inputs in four rows, the status in the last row's free cell.
const std::vector<std::vector<FieldDef>> kInputRows = {
    {{I::kA, "A", "A:", ">0,单位(mm)", true},
     {I::kB, "B", "B:", ">0,单位(mm)", true},
     {I::kC, "C", "C:", ">=0,<=2A,单位(mm)", true}},
    {{I::kD, "D", "D:", ">0,单位(mm)", true},
     {I::kX1, "X1", "X1:", ">0,单位(mm)", true},
     {I::kX2, "X2", "X2:", ">0,单位(mm)", true}},
    {{I::kX3, "X3", "X3:", ">=0,<=L1+L2,单位(mm)", true},
     {I::kH, "H", "H:", ">B,单位(mm)", true},
     {I::kR, "R", "R:", "R水平力(KN)", true}},
    {{I::kM, "M", "M:", "M扭矩(KN.m)", true},
     {I::kTheta, "theta", "θ:", "水平力R角度值(度)", true}},
};

const std::vector<std::vector<FieldDef>> kOutputRows = {
    {{I::kAlpha, "alpha", "α:", "杆1角度(度)"},
     {I::kBeta, "beta", "β:", "杆2角度(度)"},
     {I::kGamma, "gamma", "γ:", "杆3角度(度)"}},
    {{I::kL1, "L1", "L1:", "杆1长度(mm)"},
     {I::kL2, "L2", "L2:", "杆2长度(mm)"},
     {I::kL3, "L3", "L3:", "杆3长度(mm)"}},
    {{I::kF1, "F1", "F1:", "θ角度时的F1值(KN)"},
     {I::kF2, "F2", "F2:", "θ角度时的F2值(KN)"},
     {I::kF3, "F3", "F3:", "θ角度时的F3值(KN)"}},
    {{I::kF1x, "F1x", "F1x:", "θ角度时F1x值(KN)"},
     {I::kF2x, "F2x", "F2x:", "θ角度时F2x值(KN)"},
     {I::kF3x, "F3x", "F3x:", "θ角度时F3x值(KN)"}},
    {{I::kF1y, "F1y", "F1y:", "θ角度时F1y值(KN)"},
     {I::kF2y, "F2y", "F2y:", "θ角度时F2y值(KN)"},
     {I::kF3y, "F3y", "F3y:", "θ角度时F3y值(KN)"}},
    {{I::kF1m, "F1m", "F1m:", "F1最大值(KN)"},
     {I::kF2m, "F2m", "F2m:", "F2最大值(KN)"},
     {I::kF3m, "F3m", "F3m:", "F3最大值(KN)"}},
    {{I::kTheta1, "theta1", "θ1:", "F1最大值时的R角度值(度)"},
     {I::kTheta2, "theta2", "θ2:", "F2最大值时的R角度值(度)"},
     {I::kTheta3, "theta3", "θ3:", "F3最大值时的R角度值(度)"}},
};

// Page 349 x 245: the diagram on the left, inputs top right, results below.
DialogTemplate BuildTemplate() {
  CTemplateBuilder b(I::kTemplateId, 349, 245, 10);
  b.Picture(I::kDiagram, I::kDiagramBitmap, {4, 6, 128, 220});

  FieldGrid grid{140, 13, 68, 14, 16, 48, 12};
  b.Group("设定参数", {136, 2, 209, 70});
  b.Fields(kInputRows, grid);
  b.Static(I::kStatus, "", {grid.Label(3, 2).x, grid.Label(3, 2).y, 65, 10});

  // Angles, lengths, forces and components in three columns; below them
  // each rod's extreme force pair beside its angle pair, wide enough for
  // "-12345.67/12345.67" and "-179.55/180.45". Right of the extremes room
  // is left for two more buttons.
  grid.y = 88;
  b.Group("输出结果", {136, 77, 209, 142});
  const std::vector<std::vector<FieldDef>> singles(kOutputRows.begin(), kOutputRows.end() - 2);
  b.Fields(singles, grid);
  const int extremesTop = grid.y + static_cast<int>(singles.size()) * grid.rowStep;
  const FieldGrid forces{140, extremesTop, 0, 14, 16, 66, 12};
  const FieldGrid angles{225, extremesTop, 0, 14, 12, 52, 12};
  for (size_t rod = 0; rod < 3; ++rod) b.Field(kOutputRows[singles.size()][rod], forces, static_cast<int>(rod), 0);
  for (size_t rod = 0; rod < 3; ++rod) b.Field(kOutputRows[singles.size() + 1][rod], angles, static_cast<int>(rod), 0);
  b.Button(I::kExportButton, "输出结果到文件", {140, 201, 98, 14});
  b.Button(I::kReportButton, "生成报告文件", {242, 201, 99, 14});

  b.Label("附着杆受力正值为拉力,负值为压力；最大值已考虑M正负向,未考虑附着架风载和自重！", {4, 229, 341, 12});
  // Right of the extremes, in the room left for the pages' own buttons.
  b.Button(I::kBookButton, "计算书", {290, 158, 51, 14});
  b.Button(I::kChartButton, "受力曲线", {290, 172, 51, 14});
  return b.Take();
}

std::vector<NamedControl> PageNames() {
  std::vector<std::vector<FieldDef>> rows = kInputRows;
  rows.insert(rows.end(), kOutputRows.begin(), kOutputRows.end());
  return NamesOf(rows);
}

bool AllFinite(const ThreeRodResult& r) {
  const ThreeRodForces& f = r.Forces;
  for (double v : {r.Alpha, r.Beta, r.Gamma, r.L1, r.L2, r.L3, f.F1, f.F2, f.F3, f.F1x, f.F1y, f.F2x,
                   f.F2y, f.F3x, f.F3y})
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

CThreeRod::CThreeRod() : CForcePage(BuildTemplate(), kStatus, PageNames(), kExportButton, kReportButton) {
  m_result.F1m = m_result.F2m = m_result.F3m = "0";
  m_result.Theta1 = m_result.Theta2 = m_result.Theta3 = "0";
  for (auto [id, member] : {std::pair{kA, &m_A}, {kB, &m_B}, {kC, &m_C}, {kD, &m_D}, {kX1, &m_X1},
                            {kX2, &m_X2}, {kX3, &m_X3}, {kH, &m_H}, {kR, &m_R}, {kM, &m_M},
                            {kTheta, &m_Theta}})
    BindInput(id, *member);
}

ThreeRodInput CThreeRod::Input() const {
  return {m_A, m_B, m_C, m_D, m_X1, m_X2, m_X3, m_H, m_R, m_M, m_Theta};
}

void CThreeRod::OnInitDialog() {
  ShowResults();  // the bound doubles, all 0
  SetTexts({{kA, "0"}, {kB, "0"}, {kX1, "0"}, {kX2, "0"}, {kH, "0"}, {kR, "0"}, {kM, "0"},
            {kTheta, "0"}, {kC, "0"}, {kX3, "0"}, {kF1m, "0"}, {kTheta1, "0"}, {kF2m, "0"},
            {kTheta2, "0"}, {kF3m, "0"}, {kTheta3, "0"}, {kD, "0"}});
  SetText(kStatus, kStartStatus);
  // The report writer needs no per-thread initialisation here.
}

std::vector<BrokenRule> CThreeRod::BrokenRules() const {
  const ThreeRodInput in = Input();
  std::vector<BrokenRule> broken = BrokenThreeRodRules(in);
  // Dimensions the rule lets through can still place the rods so that they
  // cannot carry every load.
  if (broken.empty()) broken = DegenerateThreeRodRules(in, ThreeRodGeometryOf(in, ThreeRodAnglesOf(in)));
  if (broken.empty() && !AllFinite(*SolveThreeRod(in))) broken.push_back(NonFiniteResultsRule());
  return broken;
}

std::optional<ThreeRodResult> CThreeRod::Solve() const {
  if (!BrokenRules().empty()) return std::nullopt;
  return SolveThreeRod(Input());
}

bool CThreeRod::IsInputValid() const { return Solve().has_value(); }

ForcePageRecord CThreeRod::Record() const {
  ForcePageRecord record;
  record.layout = ForceLayout::ThreeRod;
  record.name = "三杆附着";
  record.valid = IsInputValid();
  const ThreeRodInput in = Input();
  record.parameters = {{"A", in.A, "mm"}, {"B", in.B, "mm"},  {"C", in.C, "mm"}, {"D", in.D, "mm"},
                       {"X1", in.X1, "mm"}, {"X2", in.X2, "mm"}, {"X3", in.X3, "mm"}, {"H", in.H, "mm"},
                       {"R", in.R, "KN"}, {"M", in.M, "KN.m"}};
  record.R = in.R;
  record.M = in.M;
  record.theta = in.Theta;
  const double angles[] = {m_result.Alpha, m_result.Beta, m_result.Gamma};
  const double lengths[] = {m_result.L1, m_result.L2, m_result.L3};
  const int lengthIds[] = {kL1, kL2, kL3};
  for (size_t i = 0; i < 3; ++i) {
    RodRecord rod;
    rod.angle = angles[i];
    rod.length = lengths[i];
    rod.lengthText = GetText(lengthIds[i]);
    rod.extremes = ShownExtremes(m_result.ExtremeForces[i], m_result.ExtremeAngles[i]);
    record.rods.push_back(std::move(rod));
  }
  record.sweep = record.valid ? SweepThreeRod(ThreeRodGeometryOf(in, Angles()), in.R, in.M, kChartLastTheta)
                              : ForceSweep{3, {}};
  return record;
}

void CThreeRod::Recalculate() {
  std::optional<ThreeRodResult> r = Solve();
  if (r) {
    m_result = std::move(*r);
    ShowResults();
    ShowTexts();
  }
  SetText(kStatus, r ? kSuccessStatus : kInvalidStatus);
  KeepCleanResults();
}

void CThreeRod::ShowResults() {
  const ThreeRodForces& f = m_result.Forces;
  for (auto [id, v] : {std::pair{kAlpha, m_result.Alpha}, {kBeta, m_result.Beta}, {kGamma, m_result.Gamma},
                       {kF1, f.F1}, {kF2, f.F2}, {kF3, f.F3}, {kF1x, f.F1x}, {kF1y, f.F1y},
                       {kF2x, f.F2x}, {kF2y, f.F2y}, {kF3x, f.F3x}, {kF3y, f.F3y}, {kL1, m_result.L1},
                       {kL2, m_result.L2}, {kL3, m_result.L3}})
    ShowBound(id, v);
}

void CThreeRod::ShowTexts() {
  SetTexts({{kF1m, m_result.F1m}, {kTheta1, m_result.Theta1}, {kF2m, m_result.F2m},
            {kTheta2, m_result.Theta2}, {kF3m, m_result.F3m}, {kTheta3, m_result.Theta3}});
}

}  // namespace tiecalc
