#include "pages/FourRodPage.h"

#include <cmath>
#include <string>
#include <type_traits>
#include <utility>

#include "core/analysis/ForceSweep.h"
#include "pages/PageTemplate.h"

namespace tiecalc {

namespace {

using P = CFourRodPage;

// Fields both layouts have.
const FieldDef kR{P::kR, "R", "R:", "R水平力(KN)", true};
const FieldDef kM{P::kM, "M", "M:", "M扭矩(KN.m)", true};
const FieldDef kTheta{P::kTheta, "theta", "θ:", "水平力R角度值(度)", true};
const std::vector<FieldDef> kModulusRow = {
    {P::kE1, "E1", "E1:", "杆1弹性模量>0(GPa)", true},
    {P::kE2, "E2", "E2:", "杆2弹性模量>0(GPa)", true},
    {P::kE3, "E3", "E3:", "杆3弹性模量>0(GPa)", true},
    {P::kE4, "E4", "E4:", "杆4弹性模量>0(GPa)", true}};
const std::vector<FieldDef> kAreaRow = {
    {P::kS1, "S1", "S1:", "杆1截面积>0(mm^2)", true},
    {P::kS2, "S2", "S2:", "杆2截面积>0(mm^2)", true},
    {P::kS3, "S3", "S3:", "杆3截面积>0(mm^2)", true},
    {P::kS4, "S4", "S4:", "杆4截面积>0(mm^2)", true}};

// The L fields are inputs only in manual-length mode.
const std::vector<std::vector<FieldDef>> kOutputRows = {
    {{P::kAlpha, "alpha", "α:", "杆1角度(度)"},
     {P::kBeta, "beta", "β:", "杆2角度(度)"},
     {P::kGamma, "gamma", "γ:", "杆3角度(度)"},
     {P::kDelta, "delta", "δ:", "杆4角度(度)"}},
    {{P::kL1, "L1", "L1:", "杆1长度(mm)", true, true},
     {P::kL2, "L2", "L2:", "杆2长度(mm)", true, true},
     {P::kL3, "L3", "L3:", "杆3长度(mm)", true, true},
     {P::kL4, "L4", "L4:", "杆4长度(mm)", true, true}},
    {{P::kF1, "F1", "F1:", "θ角度时的F1值(KN)"},
     {P::kF2, "F2", "F2:", "θ角度时的F2值(KN)"},
     {P::kF3, "F3", "F3:", "θ角度时的F3值(KN)"},
     {P::kF4, "F4", "F4:", "θ角度时的F4值(KN)"}},
    {{P::kF1x, "F1x", "F1x:", "θ角度时的F1x值(KN)"},
     {P::kF1y, "F1y", "F1y:", "θ角度时的F1y值(KN)"},
     {P::kF2x, "F2x", "F2x:", "θ角度时的F2x值(KN)"},
     {P::kF2y, "F2y", "F2y:", "θ角度时的F2y值(KN)"}},
    {{P::kF3x, "F3x", "F3x:", "θ角度时的F3x值(KN)"},
     {P::kF3y, "F3y", "F3y:", "θ角度时的F3y值(KN)"},
     {P::kF4x, "F4x", "F4x:", "θ角度时的F4x值(KN)"},
     {P::kF4y, "F4y", "F4y:", "θ角度时的F4y值(KN)"}},
};

// Extremes in two columns: each rod's force pair beside its angle pair.
const std::vector<std::vector<FieldDef>> kExtremeRows = {
    {{P::kF1m, "F1m", "F1m:", "F1最大值(KN)"}, {P::kTheta1, "theta1", "θ1:", "F1最大值时的R角度值(度)"}},
    {{P::kF2m, "F2m", "F2m:", "F2最大值(KN)"}, {P::kTheta2, "theta2", "θ2:", "F2最大值时的R角度值(度)"}},
    {{P::kF3m, "F3m", "F3m:", "F3最大值(KN)"}, {P::kTheta3, "theta3", "θ3:", "F3最大值时的R角度值(度)"}},
    {{P::kF4m, "F4m", "F4m:", "F4最大值(KN)"}, {P::kTheta4, "theta4", "θ4:", "F4最大值时的R角度值(度)"}},
};

constexpr int kBoundIds[] = {P::kAlpha, P::kBeta, P::kGamma, P::kDelta, P::kF1,  P::kF2,
                             P::kF3,    P::kF4,   P::kF1x,   P::kF1y,   P::kF2x, P::kF2y,
                             P::kF3x,   P::kF3y,  P::kF4x,   P::kF4y};
constexpr int kLengthIds[] = {P::kL1, P::kL2, P::kL3, P::kL4};
constexpr int kForceTextIds[] = {P::kF1m, P::kF2m, P::kF3m, P::kF4m};
constexpr int kAngleTextIds[] = {P::kTheta1, P::kTheta2, P::kTheta3, P::kTheta4};

// What one layout's page looks like.
struct LayoutLook {
  int templateId = 0;
  int bitmap = 0;
  int fontSize = 10;
  std::vector<std::vector<FieldDef>> inputRows;  // geometry, R, M, θ, E, S
  const char* exportCaption = "";
  const char* reportCaption = "";
  unsigned buttonStyle = kStyleNone;
  DialogRect exportRect, reportRect;  // the buttons at the lower right end of the extremes
  const char* manualCaption = "";
  const char* statusLabel = "";
  bool statusInGroup = false;  // at the lower right of the parameters, after the last input
  const char* note = "";
  std::vector<int> lateStartIds;
};

// Page 349 x 245: the diagram top left with the extremes below it and the two
// buttons at the group's lower right end (room left of them for two more);
// parameters top right with the results below them; the check box, the
// status (unless it sits among the parameters) and the note at the bottom.
// The right-hand groups end at 343, inside the tab's page area of 345. The
// result fields hold "-99999.99", the extremes "-12345.67/12345.67" and
// "-179.55/180.45".
CFourRodPage::LayoutData Build(const LayoutLook& look) {
  CTemplateBuilder b(look.templateId, 349, 245, look.fontSize);
  b.Picture(kStaticId, look.bitmap, {2, 4, 142, 114});

  const int inputRowCount = static_cast<int>(look.inputRows.size());
  FieldGrid grid{150, 12, 47, 13, 16, 30, 12};
  const int inputsBottom = grid.y + (inputRowCount - 1) * grid.rowStep + grid.editHeight;
  b.Group("设定参数", {146, 2, 197, inputsBottom + 3 - 2});
  b.Fields(look.inputRows, grid);
  if (look.statusInGroup) {
    const int row = inputRowCount - 1;
    const int col = static_cast<int>(look.inputRows.back().size());
    DialogRect label = grid.Label(row, col);
    label.width = 20;
    b.Label(look.statusLabel, label);
    b.Static(P::kStatus, "", {label.x + 21, label.y, 342 - (label.x + 21), label.height});
  }

  const int resultsTop = inputsBottom + 8;  // room for the group caption
  const FieldGrid results{149, resultsTop + 10, 48, 13, 14, 33, 12};
  b.Group("输出结果", {146, resultsTop, 197, 10 + 4 * results.rowStep + results.editHeight + 3});
  b.Fields(kOutputRows, results);

  // Each rod's force pair beside its angle pair; the buttons go below, at
  // the right.
  b.Group("输出结果", {2, 120, 142, 89});
  const FieldGrid forces{4, 130, 0, 13, 16, 61, 12};
  const FieldGrid angles{84, 130, 0, 13, 10, 47, 12};
  for (size_t r = 0; r < kExtremeRows.size(); ++r) {
    b.Field(kExtremeRows[r][0], forces, static_cast<int>(r), 0);
    b.Field(kExtremeRows[r][1], angles, static_cast<int>(r), 0);
  }
  b.Button(P::kExportButton, look.exportCaption, look.exportRect, look.buttonStyle);
  b.Button(P::kReportButton, look.reportCaption, look.reportRect, look.buttonStyle);

  b.CheckBox(P::kManualL, look.manualCaption, {6, 213, 90, 10});
  if (!look.statusInGroup) {
    b.Label(look.statusLabel, {150, 213, 26, 10});
    b.Static(P::kStatus, "", {177, 213, 165, 10});
  }
  b.Label(look.note, {4, 228, 341, 12});
  b.Button(P::kBookButton, "计算书", {114, 211, 30, 14});  // below the report button
  // Added after the fixed controls: in the extremes' group, left of the two
  // buttons and below the last extreme row.
  b.Button(P::kChartButton, "受力曲线", {6, 188, 50, 14});

  std::vector<std::vector<FieldDef>> rows = look.inputRows;
  rows.insert(rows.end(), kOutputRows.begin(), kOutputRows.end());
  rows.insert(rows.end(), kExtremeRows.begin(), kExtremeRows.end());
  std::vector<NamedControl> names = NamesOf(rows);
  names.insert(names.begin() + static_cast<long>(NamesOf(look.inputRows).size()),
               NamedControl{"manualL", P::kManualL, true});
  return {b.Take(), std::move(names), look.lateStartIds};
}

CFourRodPage::LayoutData LayoutDataOf(std::type_identity<FourRodLayoutI>) {
  using L = FourRodPageIds<FourRodLayoutI>;
  LayoutLook look;
  look.templateId = L::kTemplateId;
  look.bitmap = L::kDiagramBitmap;
  look.fontSize = 10;
  look.inputRows = {
      {{P::kA, "A", "A:", ">0,单位(mm)", true},
       {P::kB, "B", "B:", "B可为正负值,单位(mm)", true},
       {P::kC, "C", "C:", "C可为正负值,单位(mm)", true},
       {P::kD, "D", "D:", ">0,单位(mm)", true}},
      {{L::kE, "E", "E:", ">0,单位(mm)", true},
       {L::kF, "F", "F:", ">0,单位(mm)", true},
       {P::kX1, "X1", "X1:", ">A,>D,单位(mm)", true},
       {P::kX2, "X2", "X2:", ">A,>D,单位(mm)", true}},
      {{P::kX3, "X3", "X3:", ">=0,<=X1,单位(mm)", true},
       {P::kX4, "X4", "X4:", ">=0,<=X2,单位(mm)", true},
       {P::kY1, "Y1", "Y1:", ">C,单位(mm)", true},
       {P::kY2, "Y2", "Y2:", ">C,单位(mm)", true}},
      {kR, kM, kTheta},
      kModulusRow,
      kAreaRow,
  };
  look.exportCaption = "输 出\r\n结 果";
  look.reportCaption = "生 成\r\n报 告";
  look.buttonStyle = kMultiLine;
  look.exportRect = {90, 184, 24, 22};
  look.reportRect = {116, 184, 24, 22};
  look.manualCaption = "手动修正L";
  look.statusLabel = "状态：";
  look.statusInGroup = false;
  look.note = "附着杆受力正值为拉力,负值为压力；最大值已考虑M正负向,未考虑附着架风载和自重！";
  look.lateStartIds = {P::kD, L::kE, L::kF};
  return Build(look);
}

CFourRodPage::LayoutData LayoutDataOf(std::type_identity<FourRodLayoutII>) {
  using L = FourRodPageIds<FourRodLayoutII>;
  LayoutLook look;
  look.templateId = L::kTemplateId;
  look.bitmap = L::kDiagramBitmap;
  look.fontSize = 9;
  look.inputRows = {
      {{P::kA, "A", "A:", "A>0,单位(mm)", true},
       {P::kB, "B", "B:", "B>0,单位(mm)", true},
       {P::kC, "C", "C:", "C可为正负值,单位(mm)", true},
       {P::kD, "D", "D:", "D＞0,单位(mm)", true}},
      {{L::kE, "E", "E:", "E可为正负值,单位(mm)", true},
       {L::kF, "F", "F:", "F可为正负值,单位(mm)", true},
       {L::kG, "G", "G:", "G可为正负值,单位(mm)", true},
       {L::kH, "H", "H:", "H＞0,单位(mm)", true}},
      {{P::kX1, "X1", "X1:", "X1＞0,单位(mm)", true},
       {P::kX2, "X2", "X2:", "X2＞0,单位(mm)", true},
       {P::kX3, "X3", "X3:", "X3≥0,单位(mm)", true},
       {P::kX4, "X4", "X4:", "X4≥0,单位(mm)", true}},
      {{P::kY1, "Y1", "Y1:", "Y1＞0,单位(mm)", true},
       {P::kY2, "Y2", "Y2:", "Y2＞0,单位(mm)", true},
       kR,
       kM},
      kModulusRow,
      kAreaRow,
      {kTheta},
  };
  look.exportCaption = "输出结果";
  look.reportCaption = "生成报告";
  look.buttonStyle = kStyleNone;  // one-line captions: wider, lower buttons
  look.exportRect = {74, 188, 32, 14};
  look.reportRect = {108, 188, 32, 14};
  look.manualCaption = "手动修正L长度";
  look.statusLabel = "状态:";
  look.statusInGroup = true;
  look.note = "附着杆受力正值为拉力,负值为压力；最大值已考虑M正负向,未考虑附着架风载和自重!";
  look.lateStartIds = {P::kD, L::kE, L::kF, L::kG, L::kH};
  return Build(look);
}

// A geometry input of a layout: its control, its label and the dimension it
// sets.
template <class TLayout>
struct GeometryField {
  int id;
  const char* label;
  double TLayout::*member;
};

std::vector<GeometryField<FourRodLayoutI>> GeometryFields(std::type_identity<FourRodLayoutI>) {
  using G = FourRodLayoutI;
  using L = FourRodPageIds<G>;
  return {{P::kA, "A", &G::A},    {P::kB, "B", &G::B},    {P::kC, "C", &G::C},    {P::kD, "D", &G::D},
          {L::kE, "E", &G::E},    {L::kF, "F", &G::F},    {P::kX1, "X1", &G::X1}, {P::kX2, "X2", &G::X2},
          {P::kX3, "X3", &G::X3}, {P::kX4, "X4", &G::X4}, {P::kY1, "Y1", &G::Y1}, {P::kY2, "Y2", &G::Y2}};
}

std::vector<GeometryField<FourRodLayoutII>> GeometryFields(std::type_identity<FourRodLayoutII>) {
  using G = FourRodLayoutII;
  using L = FourRodPageIds<G>;
  return {{P::kA, "A", &G::A},    {P::kB, "B", &G::B},    {P::kC, "C", &G::C},    {P::kD, "D", &G::D},
          {L::kE, "E", &G::E},    {L::kF, "F", &G::F},    {L::kG, "G", &G::G},    {L::kH, "H", &G::H},
          {P::kX1, "X1", &G::X1}, {P::kX2, "X2", &G::X2}, {P::kX3, "X3", &G::X3}, {P::kX4, "X4", &G::X4},
          {P::kY1, "Y1", &G::Y1}, {P::kY2, "Y2", &G::Y2}};
}

bool AllFinite(const FourRodResult& r) {
  for (size_t i = 0; i < 4; ++i)
    for (double v : {r.L[i], r.Forces.F[i], r.Forces.Fx[i], r.Forces.Fy[i]})
      if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

CFourRodPage::CFourRodPage(LayoutData layout)
    : CForcePage(std::move(layout.tmpl), kStatus, std::move(layout.names), kExportButton, kReportButton),
      m_lateStartIds(std::move(layout.lateStartIds)) {
  m_result.ForceText.fill("0");
  m_result.AngleText.fill("0");
  BindInput(kR, m_R);
  BindInput(kM, m_M);
  BindInput(kTheta, m_Theta);
  for (size_t i = 0; i < 4; ++i) {
    BindInput(kE1 + static_cast<int>(i), m_E[i]);
    BindInput(kS1 + static_cast<int>(i), m_S[i]);
    // The page writes the lengths itself in automatic mode; only typed
    // lengths recalculate.
    OnChange(kLengthIds[i], [this] {
      if (m_ManualL == 1) Recalculate();
    });
  }
  OnClick(kManualL, [this] { OnManualL(); });
}

void CFourRodPage::OnInitDialog() {
  for (int id : kBoundIds) ShowBound(id, 0.0);
  for (int id = kA; id <= kTheta; ++id) SetText(id, "0");
  for (int id = kL1; id <= kF1m; ++id) SetText(id, "0");
  for (int id : {kF2m, kF3m, kF4m, kTheta1, kTheta2, kTheta3, kTheta4}) SetText(id, "0");
  for (int id = kE1; id <= kE4; ++id) SetText(id, "206");
  for (int id = kS1; id <= kS4; ++id) SetText(id, "2000");
  for (int id : m_lateStartIds) SetText(id, "0");
  SetText(kStatus, kStartStatus);
}

void CFourRodPage::OnManualL() {
  m_ManualL = GetCheck(kManualL) ? 1 : 0;
  for (int id : kLengthIds) SetReadOnly(id, m_ManualL == 0);
  Recalculate();
}

Rod4 CFourRodPage::LengthsUsed(const FourRodAngles& a) const {
  if (m_ManualL == 0) return LengthsOf(a);
  Rod4 L{};
  for (size_t i = 0; i < 4; ++i) L[i] = ReadFieldValue(GetText(kLengthIds[i]));
  return L;
}

std::vector<BrokenRule> CFourRodPage::BrokenRules() const {
  std::vector<BrokenRule> broken = LayoutRules();
  const bool layoutHolds = broken.empty();
  const auto add = [&broken](std::vector<BrokenRule> more) {
    broken.insert(broken.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  };
  add(BrokenFourRodLoadRules(m_E, m_S, m_R, m_M, m_Theta));
  // The angles and automatic lengths of a layout that breaks its rule say
  // nothing; typed lengths are judged whatever the layout.
  const FourRodAngles a = AnglesOf();
  if (m_ManualL == 1) add(BrokenFourRodLengthRules(LengthsUsed(a), {{{"L1"}, {"L2"}, {"L3"}, {"L4"}}}));
  if (!layoutHolds) return broken;
  if (m_ManualL == 0) add(BrokenFourRodLengthRules(LengthsOf(a), RunFields()));
  add(ParallelFourRodRules(a));
  if (broken.empty() && !AllFinite(SolveFourRodPage(GeometryOf(a), LengthsUsed(a), m_E, m_S, m_R, m_M, m_Theta)))
    broken.push_back(NonFiniteResultsRule());
  return broken;
}

std::optional<CFourRodPage::Solution> CFourRodPage::Solve() const {
  if (!BrokenRules().empty()) return std::nullopt;
  Solution s;
  s.angles = AnglesOf();
  s.result = SolveFourRodPage(GeometryOf(s.angles), LengthsUsed(s.angles), m_E, m_S, m_R, m_M, m_Theta);
  return s;
}

bool CFourRodPage::IsInputValid() const { return Solve().has_value(); }

ForcePageRecord CFourRodPage::RecordOf(ForceLayout layout, std::string name,
                                       std::vector<LabelledValue> dimensions) const {
  ForcePageRecord record;
  record.layout = layout;
  record.name = std::move(name);
  record.valid = IsInputValid();
  record.parameters = std::move(dimensions);
  record.parameters.push_back({"R", m_R, "KN"});
  record.parameters.push_back({"M", m_M, "KN.m"});
  for (size_t i = 0; i < 4; ++i) record.parameters.push_back({"E" + std::to_string(i + 1), m_E[i], "GPa"});
  for (size_t i = 0; i < 4; ++i) record.parameters.push_back({"S" + std::to_string(i + 1), m_S[i], "mm^2"});
  record.R = m_R;
  record.M = m_M;
  record.theta = m_Theta;
  const double angles[] = {m_angles.Alpha, m_angles.Beta, m_angles.Gamma, m_angles.Delta};
  for (size_t i = 0; i < 4; ++i) {
    RodRecord rod;
    rod.angle = angles[i];
    rod.length = m_result.L[i];
    rod.lengthText = GetText(kLengthIds[i]);
    rod.extremes = ShownExtremes(m_result.ExtremeForces[i], m_result.ExtremeAngles[i]);
    record.rods.push_back(std::move(rod));
  }
  record.sweep = record.valid ? SweepFourRod(PrepareFourRod(GeometryOf(m_angles), m_result.L, m_E, m_S), m_R, m_M,
                                             kChartLastTheta)
                              : ForceSweep{4, {}};
  return record;
}

void CFourRodPage::Recalculate() {
  m_ManualL = GetCheck(kManualL) ? 1 : 0;
  std::optional<Solution> s = Solve();
  if (s) {
    m_angles = s->angles;
    m_result = std::move(s->result);
    ShowResults();
  }
  SetText(kStatus, s ? kSuccessStatus : kInvalidStatus);
  KeepCleanResults();
}

std::vector<int> CFourRodPage::StaleControls() const {
  std::vector<int> ids = CPage::StaleControls();
  if (!ids.empty() && m_ManualL == 0) ids.insert(ids.end(), std::begin(kLengthIds), std::end(kLengthIds));
  return ids;
}

void CFourRodPage::ShowResults() {
  const FourRodForces& f = m_result.Forces;
  const double bound[] = {m_angles.Alpha, m_angles.Beta, m_angles.Gamma, m_angles.Delta,
                          f.F[0],  f.F[1],  f.F[2],  f.F[3],  f.Fx[0], f.Fy[0], f.Fx[1], f.Fy[1],
                          f.Fx[2], f.Fy[2], f.Fx[3], f.Fy[3]};
  for (size_t i = 0; i < std::size(kBoundIds); ++i) ShowBound(kBoundIds[i], bound[i]);
  if (m_ManualL == 0)
    for (size_t i = 0; i < 4; ++i) SetText(kLengthIds[i], Format2(m_result.L[i]));
  for (size_t i = 0; i < 4; ++i) SetText(kForceTextIds[i], m_result.ForceText[i]);
  for (size_t i = 0; i < 4; ++i) SetText(kAngleTextIds[i], m_result.AngleText[i]);
}

template <class TLayout>
CFourRodLayoutPage<TLayout>::CFourRodLayoutPage() : CFourRodPage(LayoutDataOf(std::type_identity<TLayout>{})) {
  for (const GeometryField<TLayout>& f : GeometryFields(std::type_identity<TLayout>{})) BindInput(f.id, m_layout.*f.member);
}

template <class TLayout>
ForcePageRecord CFourRodLayoutPage<TLayout>::Record() const {
  std::vector<LabelledValue> dimensions;
  for (const GeometryField<TLayout>& f : GeometryFields(std::type_identity<TLayout>{}))
    dimensions.push_back({f.label, m_layout.*f.member, "mm"});
  return RecordOf(this->kLayout, this->kName, std::move(dimensions));
}

template class CFourRodLayoutPage<FourRodLayoutI>;
template class CFourRodLayoutPage<FourRodLayoutII>;

}  // namespace tiecalc
