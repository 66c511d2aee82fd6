// The rod-check report: the inputs of the form, the method fragments with
// the stored results between them, and the verdicts, each repeated on the
// stored values and typed green when it passes, red when it fails.

#include <cmath>
#include <string>

#include "report/composers/ReportBodies.h"
#include "report/composers/ReportComposer.h"
#include "report/composers/Reports.h"
#include "core/input/Format.h"
#include "pages/OutputCheck.h"

namespace tiecalc {

namespace {

using F = FragmentId;

constexpr ReportRequest kRodCheckRequest = {"塔机附着杆校核报告", "塔式起重机附着杆校核报告"};

// A verdict's two lines and the empty paragraphs around the one written.
struct Verdict {
  const char* pass;
  const char* fail;
  int before;
  int after;
};

// Types the passing line in green or the failing one in red; neither when
// the value passes no test (a zero slenderness, a zero or negative stress).
void WriteVerdict(CReportComposer& r, bool passes, bool fails, const Verdict& v, const std::string& pass,
                  const std::string& fail) {
  if (!passes && !fails) return;
  r.BodyFont(passes ? kTextGreen : kTextRed);
  r.Paragraphs(v.before);
  r.TextLine(passes ? pass : fail);
  r.Paragraphs(v.after);
}

void WriteVerdict(CReportComposer& r, bool passes, bool fails, const Verdict& v) {
  WriteVerdict(r, passes, fails, v, v.pass, v.fail);
}

// Slenderness below 120.
void OverallStiffness(CReportComposer& r, double lambda, const Verdict& v) {
  const double a = std::fabs(lambda);
  WriteVerdict(r, a > 0 && a < 120, a >= 120, v);
}

// A stress against the allowable stress of its grade: the report writes the
// limit as the yield stress over k ("σ<235/1.34"), a calculation book as its
// value ("σ<[σ] = 175.37 MPa").
struct StressVerdict {
  const char* symbol;  // σ, σ1, σz
  const char* holds;   // the line after the limit
  const char* fails;
};

void Stress(CReportComposer& r, double sigma, SteelGrade grade, double k, const StressVerdict& v) {
  const double allowable = AllowableStress(grade, k);
  const std::string limit = r.BookStyle() ? "[σ] = " + WithUnit(FormatFixed(allowable, 2), "MPa")
                                          : (grade == SteelGrade::Q345 ? "345/" : "235/") + FormatFixed(k, 2);
  WriteVerdict(r, sigma > 0 && sigma < allowable, sigma >= allowable, {nullptr, nullptr, 1, 0},
               std::string(v.symbol) + "<" + limit + "\r\n" + v.holds,
               std::string(v.symbol) + "≥" + limit + "\r\n" + v.fails);
}

constexpr StressVerdict kOverallStability = {"σ", "附着杆整体稳定性满足要求！", "附着杆整体稳定性 不 满足要求！"};
constexpr StressVerdict kLimbStability = {"σ1", "附着杆主弦单肢稳定性满足要求！", "附着杆主弦单肢稳定性 不 满足要求！"};
constexpr StressVerdict kBattenStress = {"σz", "附着杆缀板满足要求！", "附着杆缀板 不 满足要求！"};
constexpr StressVerdict kLacingStress = {"σz", "附着杆缀条满足要求！", "附着杆缀条 不 满足要求！"};

// ---- solid web -----------------------------------------------------------

constexpr Verdict kSolidStiffness = {"附着杆长细比<120，整体刚度满足要求！", "附着杆长细比>=120，整体刚度 不 满足要求！", 1,
                                     1};

void SolidWebBody(const RodCheckData& d, SteelGrade main, CReportComposer& r, const ReportSection* section) {
  r.TextLine("附着杆结构形式：实腹式");
  r.TextLine("附着杆材质： " + CRodCheckPage::GradeName(main));
  if (section) SectionLines(*section, r);
  r.Line({{"附着杆轴向载荷：F=%.2f（kN）", d.F}});
  r.Line({{"附着杆长度：L=%v（mm）", d.L}});
  r.Line({{"附着杆总重量：G=%.2f（kg）", d.G}});
  r.Line({{"附着杆大截面总截面积：A=%.2f（mm^2）", d.A}});
  r.Line({{"附着杆最大截面主肢X轴总惯性矩：Imax=%.2f（mm^4）", d.Imax}});
  r.Line({{"附着杆最小截面主肢X轴总惯性矩：Imin=%.2f（mm^4）", d.Imin}});
  r.Line({{"材料安全系数：k=%.2f", d.k}});
  r.Fragment(F::RadiusSolidWeb);
  r.Line({{"r=%.2f", d.r}});
  r.Fragment(F::LengthFactor);
  r.Line({{"μ=%.3f", d.mu}});
  r.Fragment(F::SlendernessSolidWeb);
  r.Line({{"λ=%.2f", d.lambda}});
  OverallStiffness(r, d.lambda, kSolidStiffness);
  r.BodyFont();
  r.Line({{"查表得附着杆受压稳定系数：ψ=%.3f", d.psi}});
  r.Fragment(F::SelfWeightMoment);
  r.Line({{"M=%.2f（N.mm）", d.M}});
  r.Line({{"附着杆截面远点至弱轴距离h=%.2f（mm）", d.h}});
  r.Fragment(F::SectionModulus);
  r.Line({{"W=%.2f（mm^3）", d.W}});
  r.Fragment(F::EulerLoadSolidWeb);
  r.Line({{"Fe=%.2f（N）", d.Fe}});
  r.Fragment(F::OverallStability);
  r.Line({{"σ=%.2f（MPa）", d.sigma}});
  Stress(r, d.sigma, main, d.k, kOverallStability);
}

// ---- lattice forms -------------------------------------------------------

// What battens and lacing bars are called and how they are checked.
struct Members {
  bool laced;           // lacing bars (radius, slenderness and stiffness of their own) or battens
  const char* grade;    // "附着杆缀板材质： " and the grade follows
  const char* spacing;  // L1; a calculation book calls it l1 (spacingInBook), apart from the rods' L1..L4
  const char* spacingInBook;
  const char* side;     // a
  const char* area;     // Az
  const char* thickness;  // δ, battens only
  const char* inertia;  // Iz
  FragmentId slenderness;
  FragmentId check;
  const StressVerdict* stress;
};

constexpr Members kBattens = {false,
                              "附着杆缀板材质： ",
                              "缀板跨距L1=%.2f（mm）",
                              "缀板跨距l1=%.2f（mm）",
                              "附着杆缀板面边长a=%.2f（mm）",
                              "附着杆缀板截面积：Az=%.2f（mm^2）",
                              "附着杆缀板厚度：δ=%.2f（mm）",
                              "缀板面惯性矩：Iz=%.2f（mm^4）",
                              F::SlendernessBattened,
                              F::BattenCheck,
                              &kBattenStress};
constexpr Members kLacing = {true,
                             "附着杆缀条材质： ",
                             "缀条跨距L1=%.2f（mm）",
                             "缀条跨距l1=%.2f（mm）",
                             "附着杆缀条面边长a=%.2f（mm）",
                             "附着杆缀条截面积：Az=%.2f（mm^2）",
                             nullptr,
                             "缀条弱轴惯性矩：Iz=%.2f（mm^4）",
                             F::SlendernessLaced,
                             F::LacingCheck,
                             &kLacingStress};

// The single limb passes below limbFactor times the overall slenderness
// and, on battened rods, below 40.
struct LatticeForm {
  const char* formLine;
  const Members* members;
  FragmentId radii;
  Verdict overallStiffness;
  Verdict limbStiffness;
  double limbFactor;
  bool limbBelow40;
};

constexpr const char* kStiffPassAscii = "附着杆长细比<120,整体刚度满足要求！";
constexpr const char* kStiffFailAscii = "附着杆长细比>=120,整体刚度 不 满足要求！";
constexpr const char* kStiffPass = "附着杆长细比<120，整体刚度满足要求！";
constexpr const char* kStiffFail = "附着杆长细比>=120，整体刚度 不 满足要求！";
constexpr const char* kLimbPass07 = "附着杆主弦单肢长细比<0.7倍整体长细比，主弦单肢刚度满足要求！";

// Forms 1 to 4 of the form list.
const LatticeForm kLatticeForms[] = {
    {"附着杆结构形式：两肢缀板式", &kBattens, F::RadiiTwoLimbBattened, {kStiffPassAscii, kStiffFailAscii, 1, 1},
     {"附着杆主弦单肢长细比<0.5倍整体长细比,且<40，主弦单肢刚度满足要求！",
      "附着杆主弦单肢长细比>=0.5倍整体长细比或>=40，主弦单肢刚度 不 满足要求！", 0, 1},
     0.5, true},
    {"附着杆结构形式：两肢缀条式", &kLacing, F::RadiiTwoLimbLaced, {kStiffPass, kStiffFail, 1, 0},
     {kLimbPass07, "附着杆主弦单肢长细比>=0.7倍整体长细比,主弦单肢刚度 不 满足要求！", 0, 0}, 0.7, false},
    {"附着杆结构形式：四肢缀板式", &kBattens, F::RadiiFourLimbBattened, {kStiffPassAscii, kStiffFailAscii, 1, 0},
     {"附着杆主弦单肢长细比<0.5倍整体长细比，且<40，主弦单肢刚度满足要求！",
      "附着杆主弦单肢长细比>=0.5倍整体长细比，或>=40，主弦单肢刚度 不 满足要求！", 0, 1},
     0.5, true},
    {"附着杆结构形式：四肢缀条式", &kLacing, F::RadiiFourLimbLaced, {kStiffPass, kStiffFail, 1, 0},
     {kLimbPass07, "附着杆主弦单肢长细比>=0.7倍整体长细比，主弦单肢刚度 不 满足要求！", 0, 0}, 0.7, false},
};

constexpr Verdict kLacingStiffness = {"附着杆缀条长细比<120，缀条刚度满足要求！", "附着杆缀条长细比>=120，缀条刚度 不 满足要求！",
                                      0, 1};

void LatticeBody(const RodCheckData& d, const LatticeForm& form, SteelGrade main, SteelGrade lacingGrade,
                 CReportComposer& r, const ReportSection* section) {
  const Members& m = *form.members;
  const bool laced = m.laced;
  r.TextLine(form.formLine);
  r.TextLine("附着杆主肢材质： " + CRodCheckPage::GradeName(main));
  r.TextLine(m.grade + CRodCheckPage::GradeName(lacingGrade));
  if (section) SectionLines(*section, r);
  r.Line({{"附着杆轴向载荷：F=%.2f（kN）", d.F}});
  r.Line({{"附着杆长度：L=%v（mm）", d.L}});
  r.Line({{r.BookStyle() ? m.spacingInBook : m.spacing, d.L1}});
  r.Line({{m.side, d.a}});
  r.Line({{"附着杆总重量：G=%.2f（kg）", d.G}});
  r.Line({{"附着杆大截面主肢总截面积：A=%.2f（mm^2）", d.A}});
  r.Line({{m.area, d.Az}});
  if (m.thickness) r.Line({{m.thickness, d.delta}});
  r.Line({{"附着杆最大截面主肢X轴总惯性矩：Imax=%.2f（mm^4）", d.Imax}});
  r.Line({{"附着杆最小截面主肢X轴总惯性矩：Imin=%.2f（mm^4）", d.Imin}});
  r.Line({{"主弦单肢弱轴惯性矩：I1=%.2f（mm^4）", d.I1}});
  r.Line({{m.inertia, d.Iz}});
  r.Line({{"材料安全系数：k=%.2f", d.k}});

  r.Fragment(form.radii);
  r.Line({{"r=%.2f", d.r}});
  r.Line({{"r1=%.2f", d.r1}});
  if (laced) r.Line({{"rz=%.2f", d.rz}});
  r.Fragment(F::LengthFactor);
  r.Line({{"μ=%.3f", d.mu}});
  r.Fragment(m.slenderness);
  r.Line({{"λ1=%.2f", d.lambda1}});
  if (laced) r.Line({{"λz=%.2f", d.lambdaZ}});
  r.Line({{"λ换=%.2f", d.lambda}});

  OverallStiffness(r, d.lambda, form.overallStiffness);
  const double limb = std::fabs(d.lambda1);
  const double limit = form.limbFactor * std::fabs(d.lambda);
  WriteVerdict(r, limb > 0 && limb < limit && (!form.limbBelow40 || limb < 40),
               limb >= limit || (form.limbBelow40 && limb >= 40), form.limbStiffness);
  if (laced) OverallStiffness(r, d.lambdaZ, kLacingStiffness);
  r.BodyFont();

  r.Line({{"查表得附着杆整体受压稳定系数：ψ=%.3f", d.psi}});
  r.Line({{"查表得附着杆主弦单肢受压稳定系数：ψ1=%.3f", d.psi1}});
  if (laced) r.Line({{"查表得附着杆缀条受压稳定系数：ψz=%.3f", d.psiZ}});
  r.Fragment(F::SelfWeightMoment);
  r.Line({{"M=%.2f（N.mm）", d.M}});
  r.Line({{"附着杆截面远点至弱轴距离h=%.2f（mm）", d.h}});
  r.Fragment(F::SectionModulus);
  r.Line({{"W=%.2f（mm^3）", d.W}});
  r.Fragment(F::EulerLoadLattice);
  r.Line({{"Fe=%.2f（N）", d.Fe}});
  r.Fragment(F::OverallStability);
  r.Line({{"σ=%.2f（MPa）", d.sigma}});
  Stress(r, d.sigma, main, d.k, kOverallStability);
  r.BodyFont();
  r.Fragment(F::LimbStability);
  r.Line({{"σ1=%.2f（MPa）", d.sigma1}});
  Stress(r, d.sigma1, main, d.k, kLimbStability);
  r.BodyFont();
  r.Fragment(m.check);
  r.Line({{"σz=%.2f（MPa）", d.sigmaZ}});
  Stress(r, d.sigmaZ, lacingGrade, d.k, *m.stress);
}

}  // namespace

OutputOutcome WriteRodCheckReport(const CRodCheckPage& page, IDesktop& desktop) {
  const RodCheckData& data = page.Data();
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page}, data.verdict.inputValid, CRodCheckPage::kInvalidInput, desktop))
    return *stop;
  // The form and the grades as the lists show them.
  const RodForm form = page.Form();
  const SteelGrade main = page.MainGrade();
  const SteelGrade lacing = page.LacingGrade();
  const std::optional<ReportSection> section = ReportSectionOf(page);
  return RunReport(desktop, kRodCheckRequest, [&](CReportComposer& r) {
    RodCheckReportBody(data, form, main, lacing, r, section ? &*section : nullptr);
  });
}

std::optional<ReportSection> ReportSectionOf(const CRodCheckPage& page, bool perRodLengths) {
  const CRodCheckPage::SectionState state = page.StateOfSection();
  if (state != CRodCheckPage::SectionState::Applied && state != CRodCheckPage::SectionState::EditedByHand)
    return std::nullopt;
  const BuiltRodSection& built = page.Section()->built;
  ReportSection out{page.SectionLine(), {}};
  double A = 0, Imax = 0;
  for (const InputDerivation& d : built.derivations) {
    if (d.name == "A") A = d.value;
    if (d.name == "Imax") Imax = d.value;
    if (perRodLengths && (d.name == "G" || d.name == "Ld")) continue;
    out.derivations.push_back(d.text);
    if (d.name == "Imax" && A > 0)
      out.derivations.push_back("i = √(Imax/A) = √(" + FormatInput(Imax) + "/" + FormatInput(A) +
                                ") = " + FormatInput(std::sqrt(Imax / A)) + " mm");
  }
  for (const std::string& note : built.notes) out.derivations.push_back("注：" + note);
  return out;
}

void SectionLines(const ReportSection& section, CReportComposer& r) {
  r.TextLine(section.line);
  for (const std::string& d : section.derivations) r.TextLine(d);
}

void RodCheckReportBody(const RodCheckData& data, RodForm form, SteelGrade main, SteelGrade lacing,
                        CReportComposer& r, const ReportSection* section) {
  if (form == RodForm::SolidWeb)
    SolidWebBody(data, main, r, section);
  else
    LatticeBody(data, kLatticeForms[static_cast<int>(form) - 1], main, lacing, r, section);
}

void InstallReport(CRodCheckPage& page) {
  CRodCheckPage* p = &page;
  page.OnClick(CRodCheckPage::kReportButton, [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return WriteRodCheckReport(*p, *desktop); });
  });
}

}  // namespace tiecalc
