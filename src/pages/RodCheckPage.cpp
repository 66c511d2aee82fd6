#include "pages/RodCheckPage.h"

#include <algorithm>

#include "core/input/Format.h"
#include "pages/PageTemplate.h"

namespace tiecalc {

namespace {

using RC = CRodCheckPage;

// One control of the parameter area: the label sits left of it on the same
// line, from the end of the control before it.
struct ParamControl {
  int id;
  ControlKind kind;
  const char* name;
  const char* label;
  DialogRect rect;
  const char* tooltip;
  unsigned style;
  bool input;
};

constexpr unsigned RO = kReadOnly;

// Positions in dialog units, row by row, left to right.
const std::vector<ParamControl> kParams = {
    {RC::kForm, ControlKind::ComboBox, "form", "附着杆结构型式:", {69, 13, 54, 58}, "", 0, true},
    {RC::kMainGrade, ControlKind::ComboBox, "main", "主肢材质:", {177, 13, 45, 33}, "", 0, true},
    {RC::kLacingGrade, ControlKind::ComboBox, "lacing", "缀板(条)材质:", {293, 13, 45, 31}, "", 0, true},
    {RC::kF, ControlKind::Edit, "F", "附着杆轴向载荷:", {69, 30, 53, 12}, "F!=0,单位(kN)", 0, true},
    {RC::kL, ControlKind::Edit, "L", "附着杆长度：", {177, 30, 53, 12}, "L>0,单位(mm)", 0, true},
    {RC::kG, ControlKind::Edit, "G", "附着杆重量:", {285, 30, 53, 12}, "G>=0,单位(kg)", 0, true},
    {RC::kA, ControlKind::Edit, "A", "大截面主肢总截面积:", {81, 47, 41, 12}, "A>0,单位(mm^2)", 0, true},
    {RC::kh, ControlKind::Edit, "h", "大截面远点至X轴距离:", {201, 47, 38, 12}, "h>0,单位(mm)", 0, true},
    {RC::kAz, ControlKind::Edit, "Az", "单个缀件截面积:", {300, 47, 38, 12}, "缀条或缀板截面积Az>0,单位(mm^2)", 0, true},
    {RC::kImax, ControlKind::Edit, "Imax", "大截面主肢X轴惯性矩:", {85, 63, 44, 12},
     "附着杆大截面弱轴惯性矩Imax>0,单位(mm^4)", 0, true},
    {RC::kImin, ControlKind::Edit, "Imin", "小截面主肢X轴惯性矩:", {210, 63, 44, 12},
     "附着杆小截面弱轴惯性矩Imin>0,单位(mm^4)", 0, true},
    {RC::kLd, ControlKind::Edit, "Ld", "大截面长度:", {300, 63, 38, 12}, "大截面的长度,单位(mm)", RO, true},
    {RC::kI1, ControlKind::Edit, "I1", "主弦单肢弱轴惯性矩:", {81, 80, 45, 12},
     "附着杆主弦单肢弱轴惯性矩I1>0,单位(mm^4)", 0, true},
    {RC::kIz, ControlKind::Edit, "Iz", "缀板y轴(缀条弱轴)惯性矩:", {220, 80, 45, 12},
     "缀板截面y轴或缀条弱轴惯性矩Iz>0,单位(mm^4)", 0, true},
    {RC::kDelta, ControlKind::Edit, "delta", "缀板厚度:", {304, 80, 34, 12}, "δ>0,单位(mm)", 0, true},
    {RC::kMu, ControlKind::Edit, "mu", "变截面结构计算长度系数:", {98, 97, 38, 12},
     "根据 附着杆大小截面惯性矩比和大截面长度选取", RO, false},
    {RC::kL1, ControlKind::Edit, "L1", "缀板(条)跨距:", {193, 97, 38, 12}, "L1>0,单位(mm)", 0, true},
    {RC::ka, ControlKind::Edit, "a", "杆截面缀件面边长:", {300, 98, 38, 12}, "缀板或缀条面最大截面边长a>0,单位(mm)", 0, true},
    {RC::kLambda, ControlKind::Edit, "lambda", "整体(换算)长细比:", {76, 114, 38, 12}, "", RO, false},
    {RC::kPsi, ControlKind::Edit, "psi", "整体轴压稳定系数:", {193, 114, 38, 12}, "根据 整体长细比 按b类截面选取", RO, false},
    {RC::kSigma, ControlKind::Edit, "sigma", "整体计算应力:", {300, 114, 38, 12}, "单位MPa", RO, false},
    {RC::kLambda1, ControlKind::Edit, "lambda1", "主弦单肢长细比:", {69, 131, 38, 12}, "", RO, false},
    {RC::kPsi1, ControlKind::Edit, "psi1", "主弦单肢轴压稳定系数:", {193, 131, 38, 12},
     "根据 主弦单肢长细比 按b类截面选取", RO, false},
    {RC::kSigma1, ControlKind::Edit, "sigma1", "主弦单肢计算应力:", {300, 131, 38, 12}, "单位MPa", RO, false},
    {RC::kLambdaZ, ControlKind::Edit, "lambdaz", "缀条长细比:", {69, 147, 38, 12}, "", RO, false},
    {RC::kPsiZ, ControlKind::Edit, "psiz", "缀条轴压稳定系数:", {193, 147, 38, 12}, "根据 缀条长细比 按b类截面选取", RO, false},
    {RC::kSigmaZ, ControlKind::Edit, "sigmaz", "缀板(条)计算应力:", {300, 148, 38, 12}, "单位MPa", RO, false},
};

const std::vector<std::string> kFormItems = {"实腹式", "两肢缀板式", "两肢缀条式", "四肢缀板式", "四肢缀条式"};
const std::vector<std::string> kGradeItems = {"Q235", "Q345"};

// Page 345 x 247: the parameters and results above, the verdict, the safety
// factor, the report button and the form's diagram below.
DialogTemplate BuildTemplate() {
  CTemplateBuilder b(RC::kTemplateId, 345, 247, 10);
  b.Group("附着杆参数设定", {2, 2, 341, 165});
  int left = 6, rowY = -1;
  for (const ParamControl& p : kParams) {
    if (p.rect.y > rowY + 2) left = 6;  // a new row
    rowY = p.rect.y;
    b.Label(p.label, {left, p.rect.y + 2, p.rect.x - 1 - left, 10});
    if (p.kind == ControlKind::ComboBox) {
      b.Combo(p.id, p.id == RC::kForm ? kFormItems : kGradeItems, p.rect);
    } else {
      b.Edit(p.id, p.rect, p.tooltip, p.style);
    }
    left = p.rect.x + p.rect.width + 2;
  }
  b.Group("附着杆校核结果", {2, 171, 341, 67});
  b.Edit(RC::kMessage, {8, 181, 147, 53}, "", kMultiLine | kReadOnly);
  b.Label("材料许用安全系数", {159, 180, 32, 17}, kCentred);
  b.Edit(RC::kK, {159, 199, 33, 13}, "根据GB/T13752-92表19选取", kCentred);
  b.Button(RC::kReportButton, "生 成\r\n报 告", {159, 213, 33, 22}, kMultiLine);
  // The diagram gives the top of its area to the 轴力取自 list; it keeps its
  // proportions, a little smaller.
  b.Picture(RC::kDiagram, RC::kFormBitmaps[0], {195, 191, 143, 43}, kCentred);
  b.Static(RC::kSourceLabel, "轴力取自:", {195, 179, 34, 10});
  b.Combo(RC::kSource, CRodCheckPage::SourceItems(), {230, 177, 108, 150});
  return b.Take();
}

std::vector<NamedControl> PageNames() {
  std::vector<NamedControl> names;
  for (bool input : {true, false}) {
    for (const ParamControl& p : kParams)
      if (p.input == input) names.push_back({p.name, p.id, p.input, p.id == RC::kForm});
    if (input) {
      names.push_back({"k", RC::kK, true});
      names.push_back({"source", RC::kSource, true, false, &CRodCheckPage::SourceValues(), true});
    }
  }
  names.push_back({"message", RC::kMessage, false});
  return names;
}

// Form-dependent controls: their text for each form; an input is editable
// exactly when it applies to the form.
struct FormRow {
  int id;
  bool input;
  const char* text[5];
};

constexpr const char* NA = CRodCheckPage::kNotApplicable;

const FormRow kFormTable[] = {
    {RC::kAz, true, {NA, "0", "0", "0", "0"}},
    {RC::kI1, true, {NA, "0", "0", "0", "0"}},
    {RC::kIz, true, {NA, "0", "0", "0", "0"}},
    {RC::kDelta, true, {NA, "0", NA, "0", NA}},
    {RC::kL1, true, {NA, "0", "0", "0", "0"}},
    {RC::ka, true, {NA, "0", "0", "0", "0"}},
    {RC::kLambda1, false, {NA, "0", "0", "0", "0"}},
    {RC::kLambdaZ, false, {NA, NA, "0", NA, "0"}},
    {RC::kPsi1, false, {NA, "1.00", "1.00", "1.00", "1.00"}},
    {RC::kPsiZ, false, {NA, NA, "1.00", NA, "1.00"}},
    {RC::kSigma1, false, {NA, "0", "0", "0", "0"}},
    {RC::kSigmaZ, false, {NA, "0", "0", "0", "0"}},
};

// The page's field of each input the section builder derives, in page order.
struct SectionField {
  const char* name;
  int id;
};
const SectionField kSectionFields[] = {
    {"G", RC::kG},       {"A", RC::kA},     {"h", RC::kh},   {"Az", RC::kAz},        {"Imax", RC::kImax},
    {"Imin", RC::kImin}, {"Ld", RC::kLd},   {"I1", RC::kI1}, {"Iz", RC::kIz},        {"delta", RC::kDelta},
    {"L1", RC::kL1},     {"a", RC::ka},
};

// The text a derived input is typed as, or nullptr when the section did not
// derive it.
const InputDerivation* DerivationOf(const BuiltRodSection& built, const char* name) {
  for (const InputDerivation& d : built.derivations)
    if (d.name == name) return &d;
  return nullptr;
}


// One verdict line: what it says when its check holds and when it fails.
struct VerdictLine {
  CheckOutcome outcome;
  const char* holds;
  const char* fails;
};

}  // namespace

std::string CRodCheckPage::MessageOf(const RodCheckVerdict& v, RodForm form) {
  if (!v.inputValid) return kInvalidInput;
  const bool battened = IsBattened(form);
  const VerdictLine lines[] = {
      {v.overallStiffness, "附着杆整体刚度满足要求！", "附着杆整体刚度 不 满足要求！"},
      {v.limbStiffness, "\r\n附着杆单肢刚度满足要求！", "\r\n附着杆单肢刚度 不 满足要求！"},
      {v.lacingStiffness, "\r\n附着杆缀条刚度满足要求！", "\r\n附着杆缀条刚度 不 满足要求！"},
      {v.overallStability, "\r\n附着杆整体稳定性满足要求！", "\r\n附着杆整体稳定性 不 满足要求！"},
      {v.limbStability, "\r\n附着杆单肢稳定性满足要求！", "\r\n附着杆单肢稳定性 不 满足要求！"},
      {v.lacingMembers, battened ? "\r\n附着杆缀板强度满足要求！" : "\r\n附着杆缀条稳定性满足要求！",
       battened ? "\r\n附着杆缀板强度 不 满足要求！" : "\r\n附着杆缀条稳定性 不 满足要求！"},
  };
  std::string message;
  for (const VerdictLine& line : lines)
    if (line.outcome != CheckOutcome::NotJudged) message += line.outcome == CheckOutcome::Holds ? line.holds : line.fails;
  return message;
}

std::vector<std::pair<int, std::string>> CRodCheckPage::ResultTexts(const RodCheckData& d) {
  std::vector<std::pair<int, std::string>> texts;
  const auto show = [&texts](int id, double value, int decimals) {
    texts.emplace_back(id, FormatDecimals(value, decimals));
  };
  // μ from the table has three decimals, that of a uniform rod two.
  show(kMu, d.mu, d.Imax != d.Imin ? 3 : 2);
  if (d.verdict.inputValid) {
    const bool lattice = IsLattice(d.form), laced = IsLaced(d.form);
    show(kLambda, d.lambda, 2);
    if (lattice) show(kLambda1, d.lambda1, 2);
    if (laced) show(kLambdaZ, d.lambdaZ, 2);
    show(kPsi, d.psi, 3);
    if (lattice) show(kPsi1, d.psi1, 3);
    if (laced) show(kPsiZ, d.psiZ, 3);
    show(kSigma, d.sigma, 2);
    if (lattice) {
      show(kSigma1, d.sigma1, 2);
      show(kSigmaZ, d.sigmaZ, 2);
    }
  }
  texts.emplace_back(kMessage, MessageOf(d.verdict, d.form));
  return texts;
}

const std::string& CRodCheckPage::FormName(RodForm form) { return kFormItems.at(static_cast<size_t>(form)); }
const std::string& CRodCheckPage::GradeName(SteelGrade grade) { return kGradeItems.at(static_cast<size_t>(grade)); }

const std::vector<std::string>& CRodCheckPage::SourceItems() {
  static const std::vector<std::string> items = {
      "手动输入",          "三杆附着 杆1",     "三杆附着 杆2",     "三杆附着 杆3",
      "四杆附着(一) 杆1", "四杆附着(一) 杆2", "四杆附着(一) 杆3", "四杆附着(一) 杆4",
      "四杆附着(二) 杆1", "四杆附着(二) 杆2", "四杆附着(二) 杆3", "四杆附着(二) 杆4"};
  return items;
}

const std::vector<std::string>& CRodCheckPage::SourceValues() {
  static const std::vector<std::string> values = {
      "manual",       "three-rod:1",  "three-rod:2",  "three-rod:3",  "four-rod-1:1", "four-rod-1:2",
      "four-rod-1:3", "four-rod-1:4", "four-rod-2:1", "four-rod-2:2", "four-rod-2:3", "four-rod-2:4"};
  return values;
}

CRodCheckPage::CRodCheckPage() : CPage(BuildTemplate(), kMessage, PageNames()) {
  // Each change also looks whether the section picked is still as typed.
  // A new length first weighs the section again, while it is as built.
  OnChange(kL, [this] {
    SectionFollowsLength();
    RunCurrentCheck();
    NoteSectionEdits();
  });
  for (int id : {kF, kG, kA, kh, kAz, kI1, kIz, kDelta, kL1, ka, kLd, kK})
    OnChange(id, [this] {
      RunCurrentCheck();
      NoteSectionEdits();
    });
  for (int id : {kImax, kImin})
    OnChange(id, [this] {
      SyncLargeSectionLength();
      RunCurrentCheck();
      NoteSectionEdits();
    });
  OnSelChange(kForm, [this] { ChangeForm(); });
  OnSelChange(kMainGrade, [this] { RunCurrentCheck(); });
  OnSelChange(kLacingGrade, [this] { RunCurrentCheck(); });
}

RodForm CRodCheckPage::Form() const { return static_cast<RodForm>(std::clamp(GetCurSel(kForm), 0, 4)); }
SteelGrade CRodCheckPage::MainGrade() const {
  return GetCurSel(kMainGrade) == 1 ? SteelGrade::Q345 : SteelGrade::Q235;
}
SteelGrade CRodCheckPage::LacingGrade() const {
  return GetCurSel(kLacingGrade) == 1 ? SteelGrade::Q345 : SteelGrade::Q235;
}

void CRodCheckPage::InitPage() {
  for (int id : {kForm, kMainGrade, kLacingGrade, kSource}) SetCurSel(id, 0);
  SetTexts({{kK, "1.34"}, {kF, "0"}, {kL, "0"}, {kG, "0"}, {kA, "0"}, {kh, "0"}, {kImax, "0"},
            {kImin, "0"}});
  SetTexts({{kMu, "1.00"}, {kLambda, "0"}, {kPsi, "1.00"}, {kSigma, "0"}});
  for (int id : {kAz, kI1, kIz, kDelta, kL1, ka, kLambda1, kLambdaZ, kPsi1, kPsiZ, kSigma1, kSigmaZ})
    SetText(id, kNotApplicable);
  for (int id : {kAz, kI1, kIz, kDelta, kL1, ka, kPsi1, kPsiZ}) SetReadOnly(id, true);
  // Only the shown text changes: the record keeps the verdict of the last
  // check run, which found the zero inputs invalid.
  SetText(kMessage, kStartMessage);
  SetBitmap(kDiagram, kFormBitmaps[0]);
}

void CRodCheckPage::ChangeForm() {
  const int form = static_cast<int>(Form());
  ForgetCleanResults();  // those of the form before
  for (const FormRow& row : kFormTable) {
    SetText(row.id, row.text[form]);
    if (row.input) SetReadOnly(row.id, row.text[form] == std::string(kNotApplicable));
  }
  RunCurrentCheck();
  SetBitmap(kDiagram, kFormBitmaps[form]);
  NoteSectionEdits();
}

std::string CRodCheckPage::ApplySection(const RodSectionChoice& given) {
  RodSectionChoice choice = given;
  if (!(choice.L > 0)) choice.L = ReadFieldValue(GetText(kL));
  if (!(choice.Ld > 0)) choice.Ld = ReadFieldValue(GetText(kLd));
  const RodForm form = Form();
  // A four-limb rod given one side is square, at the ends too.
  if (form == RodForm::FourLimbBattened || form == RodForm::FourLimbLaced) {
    if (!(choice.depth > 0)) choice.depth = choice.width;
    if (!(choice.endDepth > 0)) choice.endDepth = choice.endWidth;
  }
  BuiltRodSection built = Build(form, choice);
  if (!built.error.empty()) return built.error;
  TypeSection(built);
  m_section = ChosenSection{std::move(choice), form, std::move(built), false};
  return "";
}

void CRodCheckPage::TypeSection(const BuiltRodSection& built) {
  m_applyingSection = true;
  for (const SectionField& f : kSectionFields) {
    const InputDerivation* d = DerivationOf(built, f.name);
    const std::string text = d ? FormatInput(d->value) : "";
    // A uniform rod's Ld is the page's own copy of L, written as Imin is typed.
    if (d && GetText(f.id) != text && !IsReadOnly(f.id)) UserType(f.id, text);
  }
  m_applyingSection = false;
}

void CRodCheckPage::SectionFollowsLength() {
  if (m_applyingSection || StateOfSection() != SectionState::Applied) return;
  RodSectionChoice choice = m_section->choice;
  choice.L = ReadFieldValue(GetText(kL));
  if (choice.L == m_section->choice.L) return;
  // A length the section cannot take (none yet, or shorter than a variable
  // rod's large part) leaves the inputs of the last one it could.
  BuiltRodSection built = Build(m_section->form, choice);
  if (!built.error.empty()) return;
  TypeSection(built);
  m_section->choice = std::move(choice);
  m_section->built = std::move(built);
}

std::string CRodCheckPage::RestoreSection(const RodSectionChoice& choice, RodForm form, bool editedByHand) {
  BuiltRodSection built = Build(form, choice);
  if (!built.error.empty()) return built.error;
  m_section = ChosenSection{choice, form, std::move(built), editedByHand};
  return "";
}

void CRodCheckPage::NoteSectionEdits() {
  if (!m_section || m_applyingSection || m_section->editedByHand || m_section->form != Form()) return;
  for (const SectionField& f : kSectionFields)
    if (const InputDerivation* d = DerivationOf(m_section->built, f.name);
        d && !IsReadOnly(f.id) && GetText(f.id) != FormatInput(d->value)) {
      m_section->editedByHand = true;
      return;
    }
}

CRodCheckPage::SectionState CRodCheckPage::StateOfSection() const {
  if (!m_section) return SectionState::None;
  if (m_section->form != Form()) return SectionState::OtherForm;
  return m_section->editedByHand ? SectionState::EditedByHand : SectionState::Applied;
}

std::string CRodCheckPage::SectionLine() const {
  if (!m_section) return "";
  std::string line = "截面：" + DescribeSection(m_section->form, m_section->choice);
  switch (StateOfSection()) {
    case SectionState::EditedByHand: line += "（已手动修改）"; break;
    case SectionState::OtherForm:
      line += "（为" + kFormItems[static_cast<int>(m_section->form)] + "所选，不适用于当前型式）";
      break;
    default: break;
  }
  return line;
}

void CRodCheckPage::SyncLargeSectionLength() {
  const double L = ReadFieldValue(GetText(kL));
  const double Imax = ReadFieldValue(GetText(kImax));
  const double Imin = ReadFieldValue(GetText(kImin));
  if (Imax == Imin) {
    // A uniform rod: the large section runs the whole length.
    m_data.Ld = L;
    SetText(kLd, GetText(kL));
    SetReadOnly(kLd, true);
  } else {
    SetReadOnly(kLd, false);
  }
}

std::vector<ControlNote> CRodCheckPage::Notes() const {
  std::vector<ControlNote> notes = CPage::Notes();
  if (!m_sourceNote.empty())
    for (int id : {kF, kL, kG}) notes.push_back({id, ControlNote::kBreaksRule, m_sourceNote});
  return notes;
}

std::vector<int> CRodCheckPage::StaleControls() const {
  std::vector<int> ids = CPage::StaleControls();
  std::erase(ids, kMu);
  return ids;
}

LineTone CRodCheckPage::ToneOf(int id, const std::string& line) const {
  if (id != kMessage) return LineTone::Plain;
  if (line.find(" 不 满足要求") != std::string::npos) return LineTone::Fail;
  if (line.find("满足要求") != std::string::npos) return LineTone::Pass;
  return LineTone::Plain;
}

void CRodCheckPage::RunCurrentCheck() {
  RodCheckData& d = m_data;
  const RodForm form = Form();
  d.form = form;
  d.mainGrade = MainGrade();
  d.lacingGrade = LacingGrade();
  auto read = [this](int id) { return ReadFieldValue(GetText(id)); };
  d.F = read(kF);
  d.L = read(kL);
  d.G = read(kG);
  d.A = read(kA);
  d.h = read(kh);
  d.Imax = read(kImax);
  d.Imin = read(kImin);
  d.Ld = read(kLd);
  d.k = read(kK);
  if (IsLattice(form)) {
    d.Az = read(kAz);
    d.I1 = read(kI1);
    d.Iz = read(kIz);
    d.L1 = read(kL1);
    d.a = read(ka);
    if (IsBattened(form)) d.delta = read(kDelta);
  }
  CheckRod(d, form);
  for (const auto& [id, text] : ResultTexts(d)) SetText(id, text);
  KeepCleanResults();
}

}  // namespace tiecalc
