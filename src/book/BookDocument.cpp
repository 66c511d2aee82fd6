#include "book/BookDocument.h"

#include <cmath>
#include <ctime>
#include <future>
#include <map>
#include <memory>
#include <set>

#include "core/input/Format.h"
#include "core/sections/SteelSection.h"
#include "pages/OutputCheck.h"
#include "report/composers/ReportBodies.h"
#include "report/composers/ReportComposer.h"
#if TIECALC_HAVE_CHART
#include "chart/PlanDrawing.h"
#endif

namespace tiecalc {

namespace {

constexpr ReportRequest kBookRequest = {kBookFileName, kBookTitle};
constexpr double kTableSize = 10.5;  // 五号: nine columns across the text width
constexpr const char* kNotComputed = "—";
constexpr const char* kHolds = "满足";
constexpr const char* kFails = "不满足";

// ---- texts ---------------------------------------------------------------------

std::string Fixed(double v) { return FormatFixedNoMinusZero(v, 2); }

// A direction of R as the book writes it: 0° to 360°.
std::string Direction(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360.0;
  if (a >= 359.995) a = 0;
  return Fixed(a) + "°";
}

std::string RodName(int rod) { return "杆" + std::to_string(rod); }

// A section's text with the spacing of its battens or lacing named l1, as
// the book names it, apart from the rods' lengths L1..L4.
std::string SpacingNamed(std::string text) {
  for (const char* spacing : {"L1=", "L1 ="})
    for (size_t at = text.find(spacing); at != std::string::npos; at = text.find(spacing, at + 1)) text[at] = 'l';
  return text;
}

std::string RodList(const std::vector<int>& rods) {
  std::string s;
  for (int r : rods) s += (s.empty() ? "" : "、") + RodName(r);
  return s;
}

// Today as the cover writes a date: 2026-12-11.
std::string Today() {
  const std::time_t now = std::time(nullptr);
  char text[16] = "";
  if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d", local);
  return text;
}

RunFormat Coloured(uint32_t colour, bool bold = false) {
  RunFormat f;
  f.color = colour;
  if (bold) f.bold = true;
  return f;
}

TableCell VerdictCell(CheckOutcome outcome) {
  if (outcome == CheckOutcome::NotJudged) return TableCell(kNotComputed);
  return outcome == CheckOutcome::Holds ? TableCell(kHolds, Coloured(kTextDarkGreen))
                                        : TableCell(kFails, Coloured(kTextDarkRed, true));
}

TableCell VerdictCell(bool passes) { return VerdictCell(passes ? CheckOutcome::Holds : CheckOutcome::Fails); }

TableLayout DataTable(std::vector<int> widths) {
  TableLayout layout;
  layout.headerRows = 1;
  layout.keepRowsWhole = true;
  layout.columnWidths = std::move(widths);
  layout.centred = true;
  layout.centreVertically = true;
  layout.columnAlignment.assign(layout.columnWidths.size(), Alignment::Center);
  return layout;
}

std::vector<TableCell> HeaderRow(std::initializer_list<const char*> texts) {
  std::vector<TableCell> row;
  for (const char* t : texts) row.emplace_back(t, Coloured(kTextBlack, true));
  return row;
}

void Caption(CReportComposer& r, const std::string& text) {
  r.Align(Alignment::Center);
  r.TextLine(text);
  r.Align(Alignment::Left);
}

// ---- what the book rests on ------------------------------------------------------

// The sections of the book: the rod-check page's and each rod section of the
// settings, numbered in the order the rods first use them.
struct BookSection {
  int index = -1;  // into CaseBook::sections; -1 the rod-check page's
  int number = 0;  // 截面1, 截面2, ...
  const CRodCheckPage* page = nullptr;
  std::vector<int> rods;  // the rods of the first level that use it
  std::string heading;    // where its full derivation is: "杆1（第一道）"
  bool derived = false;   // its full derivation is written
};

struct BookSections {
  std::vector<BookSection> list;

  BookSection& Of(int index) {
    for (BookSection& s : list)
      if (s.index == index) return s;
    throw std::logic_error("a rod's section is not in the book");
  }
};

BookSections SectionsOf(const CalculationBook& book, const CRodCheckPage& main) {
  BookSections out;
  for (const BookLevel& level : book.levels)
    for (const BookRod& rod : level.rods) {
      bool known = false;
      for (BookSection& s : out.list)
        if (s.index == rod.section) {
          known = true;
          if (&level == &book.levels.front()) s.rods.push_back(rod.rod);
        }
      if (known) continue;
      BookSection s;
      s.index = rod.section;
      s.number = static_cast<int>(out.list.size()) + 1;
      s.page = rod.section < 0 ? &main : book.sectionPages.at(static_cast<size_t>(rod.section)).get();
      if (&level == &book.levels.front()) s.rods.push_back(rod.rod);
      out.list.push_back(std::move(s));
    }
  return out;
}

std::string SectionName(const BookSection& s) {
  const RodCheckData& d = s.page->Data();
  std::string name = "截面" + std::to_string(s.number) + "：" + CRodCheckPage::FormName(d.form);
  if (const auto& chosen = s.page->Section(); chosen && !chosen->editedByHand && chosen->form == d.form)
    name += "，" + SpacingNamed(DescribeSection(chosen->form, chosen->choice));
  return name;
}

// The standards whose rules the book applies, with their editions: the
// allowable stress and the length factor of the crane code, the stability
// factor of the steel code, and the tables of the sections taken from the
// library.
std::vector<std::string> Standards(const BookSections& sections) {
  std::vector<std::string> lines = {
      "塔式起重机使用说明书：附着载荷（水平力 R 与扭矩 M）及附着要求；",
      "GB/T 13752-1992《塔式起重机设计规范》：材料许用安全系数 k（表 19）、变截面杆件计算长度系数 μ；",
      "GB 50017-2017《钢结构设计标准》：轴心受压构件稳定系数 ψ（b 类截面，按 λ√(fy/235) 查表）；"};
  static const std::map<std::string, std::string> kEditions = {
      {"GB/T 706", "GB/T 706-2016《热轧型钢》"},
      {"GB/T 17395", "GB/T 17395-2008《无缝钢管尺寸、外形、重量及允许偏差》"},
      {"GB/T 3091", "GB/T 3091-2015《低压流体输送用焊接钢管》"},
      {"GB/T 6728", "GB/T 6728-2017《结构用冷弯空心型钢》"}};
  std::set<std::string> used;
  for (const BookSection& s : sections.list)
    if (const auto& chosen = s.page->Section())
      for (const std::string& designation : {chosen->choice.profile, chosen->choice.lacing})
        if (const SteelSection* steel = FindSection(designation)) used.insert(SectionStandard(*steel));
  for (const auto& [standard, title] : kEditions)
    if (used.count(standard)) lines.push_back(title + "：截面尺寸与截面特性；");
  // The list ends its last line with a full stop.
  lines.back().replace(lines.back().size() - std::string("；").size(), std::string::npos, "。");
  return lines;
}

// ---- the parts --------------------------------------------------------------------

void Cover(const CaseProject& project, const std::string& levels, const std::string& heights, CReportComposer& r) {
  r.Paragraphs(2);
  std::vector<std::vector<TableCell>> rows;
  const auto row = [&rows](const char* label, const std::string& value) {
    TableCell cell(value);
    cell.underlined = true;
    rows.push_back({TableCell(std::string(label) + "："), cell});
  };
  row("工程名称", project.name);
  row("工程地点", project.site);
  row("塔机型号", project.crane);
  row("附着道次", project.level.empty() ? levels : project.level);
  row("附着点标高", project.elevation.empty() ? heights : project.elevation);
  TableLayout layout;
  layout.borders = false;
  layout.centred = true;
  layout.columnWidths = {2000, 5000};
  layout.columnAlignment = {Alignment::Right, Alignment::Left};
  r.Spacing(6, 6);
  r.Table(rows, layout, 14);
  r.Paragraphs(3);

  rows.clear();
  row("编制", project.author);
  row("校核", project.checker);
  row("审核", project.approver);
  row("日期", project.date.empty() ? Today() : project.date);
  r.Table(rows, layout, 14);
  r.Spacing(0, 0);
}

void Basis(const BookSections& sections, CReportComposer& r) {
  r.NumberedHeading(1, "编制依据");
  const std::vector<std::string> lines = Standards(sections);
  for (size_t i = 0; i < lines.size(); ++i) r.TextLine(std::to_string(i + 1) + ". " + lines[i]);
}

// The failing checks of a rod in words, each with its numbers.
std::string Reasons(const BookRod& rod) {
  std::string s;
  for (const FailingCheck& f : rod.failing) s += (s.empty() ? "" : "；") + f.Text();
  return s;
}

// A level's failing rods and their reasons, named with the level.
void LevelFailures(const BookLevel& level, CReportComposer& r) {
  r.TextLine((level.name.empty() ? "" : level.name + "：") + "附着杆 " + FailingRods(level) + " 不满足要求。");
  for (const BookRod& rod : level.rods)
    if (!rod.passes) r.TextLine("    " + RodName(rod.rod) + " " + Reasons(rod));
}

void VerdictLines(const CalculationBook& book, CReportComposer& r) {
  const bool passes = book.verdict == kBookAllRodsPass;
  r.BodyFont(passes ? kTextDarkGreen : kTextDarkRed);
  for (const BookLevel& level : book.levels)
    if (!level.passes) LevelFailures(level, r);
  if (passes) r.TextLine(std::string(kBookAllRodsPass));
  r.BodyFont();
}

// The verdict of one level, at the end of its chapter.
void LevelVerdict(const BookLevel& level, CReportComposer& r) {
  r.BodyFont(level.passes ? kTextDarkGreen : kTextDarkRed);
  if (level.passes)
    r.TextLine((level.name.empty() ? "" : level.name + "：") + kBookAllRodsPass);
  else
    LevelFailures(level, r);
  r.BodyFont();
}

void Summary(const CalculationBook& book, BookSections& sections, CReportComposer& r) {
  r.NumberedHeading(1, "计算结论");
  const bool levels = book.levels.size() > 1;
  std::vector<std::vector<TableCell>> rows;
  rows.push_back(levels ? HeaderRow({"道次", "杆件", "截面", "L (mm)", "最大压力 (kN)", "最大拉力 (kN)", "λ",
                                     "σ/[σ]", "结论"})
                        : HeaderRow({"杆件", "截面", "L (mm)", "最大压力 (kN)", "最大拉力 (kN)", "λ", "σ/[σ]",
                                     "结论"}));
  for (const BookLevel& level : book.levels)
    for (const BookRod& rod : level.rods) {
      std::vector<TableCell> row;
      if (levels) row.emplace_back(level.name);
      row.emplace_back(RodName(rod.rod));
      row.emplace_back("截面" + std::to_string(sections.Of(rod.section).number));
      row.emplace_back(rod.texts.L);
      row.emplace_back(rod.texts.F);
      row.emplace_back(rod.texts.FmaxValue > 0 ? rod.texts.Fmax : kNotComputed);
      row.emplace_back(rod.valid ? rod.Field("lambda") : kNotComputed);
      row.emplace_back(rod.valid && std::isfinite(rod.Utilisation()) ? Fixed(rod.Utilisation()) : kNotComputed);
      row.push_back(VerdictCell(rod.passes));
      rows.push_back(std::move(row));
    }
  std::vector<int> widths = {700, 1300, 1200, 1500, 1500, 900, 900, 1000};
  if (levels) widths.insert(widths.begin(), 1000);
  r.KeepWithNext();
  r.TextLine("各附着杆校核结果汇总如下（压力、拉力为各工况的包络值）：");
  r.Table(rows, DataTable(widths), kTableSize);
  VerdictLines(book, r);
}

void LoadCases(const CalculationBook& book, CReportComposer& r) {
  bool any = false;
  for (const BookLevel& level : book.levels)
    for (const BookCase& c : level.cases) any = any || !c.name.empty();
  if (!any) return;
  r.NumberedHeading(1, "荷载工况");
  r.TextLine("附着载荷取自塔机使用说明书，R 为作用于附着框的水平力，M 为扭矩；R 的方向 θ 取 0°～360° 全部方向，"
             "M 取两个转向。");
  const bool levels = book.levels.size() > 1;
  std::vector<std::vector<TableCell>> rows;
  rows.push_back(levels ? HeaderRow({"道次", "工况", "R (kN)", "M (kN·m)"}) : HeaderRow({"工况", "R (kN)", "M (kN·m)"}));
  for (const BookLevel& level : book.levels)
    for (const BookCase& c : level.cases) {
      std::vector<TableCell> row;
      if (levels) row.emplace_back(level.name);
      row.emplace_back(c.name.empty() ? "力分析页荷载" : c.name);
      row.emplace_back(FormatInput(c.record.R));
      row.emplace_back(FormatInput(c.record.M));
      rows.push_back(std::move(row));
    }
  r.Table(rows, DataTable(levels ? std::vector<int>{1800, 2200, 1800, 1800} : std::vector<int>{2600, 2000, 2000}),
          kTableSize);
}

void SectionParts(BookSections& sections, CReportComposer& r) {
  r.NumberedHeading(1, "杆件截面");
  for (const BookSection& s : sections.list) {
    r.NumberedHeading(2, SectionName(s));
    const RodCheckData& d = s.page->Data();
    r.TextLine("用于：" + (s.rods.empty() ? std::string("—") : RodList(s.rods)) + "；主肢材质 " +
               CRodCheckPage::GradeName(d.mainGrade) +
               (IsLattice(d.form) ? "，缀件材质 " + CRodCheckPage::GradeName(d.lacingGrade) : std::string()) +
               "，材料许用安全系数 k = " + FormatInput(d.k) + "。");
    std::vector<std::vector<TableCell>> rows = {HeaderRow({"参数", "数值", "说明"})};
    const auto add = [&rows](const char* name, double value, const char* unit, const char* meaning) {
      rows.push_back({TableCell(name), TableCell(WithUnit(FormatInput(value), unit)), TableCell(meaning)});
    };
    add("A", d.A, "mm²", "主肢总截面积（大截面）");
    add("h", d.h, "mm", "大截面最外点至 X 轴的距离");
    add("Imax", d.Imax, "mm⁴", "大截面对 X 轴的惯性矩");
    add("Imin", d.Imin, "mm⁴", "小截面对 X 轴的惯性矩");
    if (IsLattice(d.form)) {
      add("Az", d.Az, "mm²", IsBattened(d.form) ? "一块缀板的截面积" : "一根缀条的截面积");
      add("I1", d.I1, "mm⁴", "主弦单肢对弱轴的惯性矩");
      add("Iz", d.Iz, "mm⁴", IsBattened(d.form) ? "缀板对 y 轴的惯性矩" : "缀条对弱轴的惯性矩");
      if (IsBattened(d.form)) add("δ", d.delta, "mm", "缀板厚度");
      add("l1", d.L1, "mm", IsBattened(d.form) ? "缀板跨距（页面中的 L1）" : "缀条跨距（页面中的 L1）");
      add("a", d.a, "mm", "缀件面截面边长");
    }
    r.Table(rows, DataTable({1400, 2600, 4600}), kTableSize);
    if (const std::optional<ReportSection> derivation = ReportSectionOf(*s.page, true)) {
      r.TextLine("截面特性由型钢表计算：");
      for (const std::string& line : derivation->derivations) r.TextLine("    " + SpacingNamed(line));
    }
  }
}

// ---- one level -------------------------------------------------------------------

struct LevelFigures {
  std::vector<std::unique_ptr<ForceChartFigure>> charts;  // one per case
  std::future<std::string> plan;  // PNG of the plan drawing; none without the chart module
};

// The book's figures: a chart for every case and a plan for every level,
// 150 dpi across the text width (14.5 cm), sharp in print.
constexpr double kFigureDpi = 150.0;
constexpr double kPlanDpi = kFigureDpi;
constexpr double kPlanWidth = 145.0;  // mm
constexpr double kPlanSceneWidth = 548, kPlanSceneHeight = 400;  // chart units

std::future<std::string> DrawPlan(const ForcePageRecord& record) {
#if TIECALC_HAVE_CHART
  return std::async(std::launch::async | std::launch::deferred, [record] {
    return ChartPngPrinted(LayOutPlanDrawing(record, kPlanSceneWidth, kPlanSceneHeight, kPlanWidth), kPlanWidth,
                           kPlanDpi);
  });
#else
  (void)record;
  return {};
#endif
}

// The plan's place in the level's chapter: it goes in at once, and the
// chapter goes on while the plan is drawn.
void PlanPicture(std::future<std::string>& plan, CReportComposer& r) {
#if TIECALC_HAVE_CHART
  if (!plan.valid()) return;
  const ChartPngFormat format = ChartPngFormatOf(kPlanSceneWidth, kPlanSceneHeight,
                                                 PrintedScale(kPlanSceneWidth, kPlanWidth, kPlanDpi));
  r.LatePicture("plan_drawing", format.width, format.height, format.dotsPerMetre, kPlanDpi, "附着平面布置图",
                [&plan] { return plan.get(); });
  Caption(r, "图 附着平面布置图（按比例）");
#else
  (void)plan, (void)r;
#endif
}

std::string LevelTitle(const BookLevel& level) {
  if (level.name.empty()) return "附着受力分析";
  return level.name + "附着" + (level.height.empty() ? "" : "（标高 " + level.height + " m）");
}

void Forces(const BookLevel& level, LevelFigures& figures, CReportComposer& r) {
  r.NumberedHeading(2, "附着杆内力");
  for (size_t c = 0; c < level.cases.size(); ++c) {
    const BookCase& bc = level.cases[c];
    const ForcePageRecord& rec = bc.record;
    const std::string name = bc.name.empty() ? "" : "工况“" + bc.name + "”：";
    r.KeepWithNext();
    r.TextLine(name + "R = " + WithUnit(FormatInput(rec.R), "kN") + "，M = " + WithUnit(FormatInput(rec.M), "kN·m") +
               "，θ 取 0°～360°，各杆轴力极值（拉为正）：");
    std::vector<std::vector<TableCell>> rows = {
        HeaderRow({"杆件", "最大拉力 (kN)", "R 的方向 θ", "最大压力 (kN)", "R 的方向 θ"})};
    for (size_t i = 0; i < rec.rods.size(); ++i) {
      const RodExtremes& e = rec.rods[i].extremes;
      const size_t larger = e.Larger();
      rows.push_back({TableCell(RodName(static_cast<int>(i) + 1)), TableCell(e.forceTexts[larger]),
                      TableCell(Direction(e.angles[larger])), TableCell(e.forceTexts[1 - larger]),
                      TableCell(Direction(e.angles[1 - larger]))});
    }
    r.Table(rows, DataTable({1400, 1900, 1700, 1900, 1700}), kTableSize);
    ForceChartPicture(*figures.charts[c], r);
    Caption(r, "图 " + (bc.name.empty() ? std::string() : bc.name + " ") + "各附着杆轴力随 θ 变化曲线");
  }
  if (level.cases.size() < 2) return;
  r.KeepWithNext();
  r.TextLine("各工况的包络（每根杆的最大拉力与最大压力及其工况）：");
  std::vector<std::vector<TableCell>> rows = {HeaderRow({"杆件", "最大拉力 (kN)", "工况", "最大压力 (kN)", "工况"})};
  for (const BookRod& rod : level.rods)
    rows.push_back({TableCell(RodName(rod.rod)), TableCell(rod.texts.Fmax), TableCell(rod.tensionCase),
                    TableCell(rod.texts.Fmin), TableCell(rod.compressionCase)});
  r.Table(rows, DataTable({1400, 1900, 1700, 1900, 1700}), kTableSize);
}

// A rod's check in one table: what governs it, every check with its value,
// its limit and its verdict.
void RodTable(const BookRod& rod, CReportComposer& r) {
  const RodCheckData& d = rod.data;
  const bool lattice = IsLattice(d.form), laced = IsLaced(d.form);
  const double mainAllowable = AllowableStress(d.mainGrade, d.k);
  const RodCheckVerdict& v = d.verdict;
  std::vector<std::vector<TableCell>> rows = {HeaderRow({"项目", "计算值", "限值", "结论"})};
  const auto row = [&rows](const std::string& item, const std::string& value, const std::string& limit,
                           TableCell verdict) {
    rows.push_back({TableCell(item), TableCell(value), TableCell(limit), std::move(verdict)});
  };
  const std::string compressionCase = rod.compressionCase.empty() ? "" : "（" + rod.compressionCase + "）";
  row("控制压力 F", WithUnit(rod.texts.F, "kN") + compressionCase, kNotComputed, TableCell(kNotComputed));
  row("杆长 L", WithUnit(rod.texts.L, "mm"), kNotComputed, TableCell(kNotComputed));
  if (!rod.valid) {
    row("校核输入", CRodCheckPage::kInvalidInput, kNotComputed, VerdictCell(false));
  } else {
    row("计算长度系数 μ", rod.Field("mu"), kNotComputed, TableCell(kNotComputed));
    row(lattice ? "换算长细比 λ换" : "长细比 λ", rod.Field("lambda"), "[λ] = 120", VerdictCell(v.overallStiffness));
    if (lattice) {
      const std::string limit = laced ? "0.7·λ换 = " + Fixed(0.7 * d.lambda)
                                      : "min(40, 0.5·λ换) = " + Fixed(std::min(40.0, 0.5 * d.lambda));
      row("单肢长细比 λ1", rod.Field("lambda1"), limit, VerdictCell(v.limbStiffness));
    }
    if (laced) row("缀条长细比 λz", rod.Field("lambdaz"), "[λ] = 120", VerdictCell(v.lacingStiffness));
    row("稳定系数 ψ", rod.Field("psi"), kNotComputed, TableCell(kNotComputed));
    const std::string allowable = "[σ] = " + WithUnit(Fixed(mainAllowable), "MPa");
    row("整体稳定 σ", WithUnit(rod.Field("sigma"), "MPa") + "（σ/[σ] = " + Fixed(rod.Utilisation()) + "）", allowable,
        VerdictCell(v.overallStability));
    if (lattice) {
      row("单肢稳定 σ1", WithUnit(rod.Field("sigma1"), "MPa"), allowable, VerdictCell(v.limbStability));
      row(IsBattened(d.form) ? "缀板强度 σz" : "缀条稳定 σz", WithUnit(rod.Field("sigmaz"), "MPa"),
          "[σ] = " + WithUnit(Fixed(AllowableStress(d.lacingGrade, d.k)), "MPa"), VerdictCell(v.lacingMembers));
    }
  }
  if (rod.tension) {
    const std::string tensionCase = rod.tensionCase.empty() ? "" : "，" + rod.tensionCase;
    row("受拉强度 σt", WithUnit(rod.tension->sigmaText, "MPa") + "（Fmax = " + WithUnit(rod.texts.Fmax, "kN") +
                          tensionCase + "）",
        "[σ] = " + WithUnit(Fixed(mainAllowable), "MPa"),
        rod.tension->message.empty() ? TableCell(kNotComputed) : VerdictCell(rod.tension->passes));
  }
  r.Table(rows, DataTable({2300, 3000, 2300, 1000}), kTableSize);
}

void TensionLines(const BookRod& rod, CReportComposer& r) {
  if (!rod.tension) return;
  const TensionLine& t = *rod.tension;
  r.BodyFont();
  r.TextLine(Fill("附着杆最大拉力：Fmax=%s（kN）", rod.texts.Fmax));
  r.Line({{"附着杆受拉应力：σt=Fmax×1000/A=%.2f（MPa）", t.sigma}});
  if (t.message.empty()) return;
  r.BodyFont(t.passes ? kTextDarkGreen : kTextDarkRed);
  r.TextLine(t.message);
  r.BodyFont();
}

void RodChecks(const BookLevel& level, BookSections& sections, CReportComposer& r) {
  r.NumberedHeading(2, "附着杆校核");
  for (const BookRod& rod : level.rods) {
    r.NumberedHeading(3, RodName(rod.rod) + "（截面" + std::to_string(sections.Of(rod.section).number) + "）");
    RodTable(rod, r);
    if (!rod.passes && !rod.failing.empty()) {
      r.BodyFont(kTextDarkRed);
      r.TextLine("不满足：" + Reasons(rod) + "。");
      r.BodyFont();
    }
    BookSection& section = sections.Of(rod.section);
    const std::string here = RodName(rod.rod) + (level.name.empty() ? "" : "（" + level.name + "）");
    if (section.derived || !rod.valid) {
      if (section.derived) r.TextLine("计算公式与过程同" + section.heading + "，上表为本杆的数值。");
      continue;
    }
    section.derived = true;
    section.heading = here;
    // The section's own derivation is in its part already.
    r.TextLine("计算过程：");
    RodCheckReportBody(rod.data, rod.data.form, rod.data.mainGrade, rod.data.lacingGrade, r);
    TensionLines(rod, r);
    r.BodyFont();
  }
}

void WallReactions(const BookLevel& level, CReportComposer& r) {
  r.NumberedHeading(2, "附着点反力");
  r.TextLine("附着杆对墙上附着点的作用力：F 为杆的轴力（拉为正），N = F·sinα 垂直于墙面（正值拉离墙面，"
             "负值压向墙面），V = F·cosα 沿墙面，α 为杆与墙面的夹角；供复核预埋件及结构构件之用。");
  const bool cases = level.cases.size() > 1 || !level.cases.front().name.empty();
  std::vector<std::vector<TableCell>> rows = {
      HeaderRow({"杆件", "α", "工况", "受力", "F (kN)", "N (kN)", "V (kN)"})};
  const auto row = [&rows](const RodWallReaction& w, TableCell loadCase, const char* state, const WallForce& f) {
    rows.push_back({TableCell(RodName(w.rod)), TableCell(Fixed(w.angle) + "°"), std::move(loadCase), TableCell(state),
                    TableCell(Fixed(f.F)), TableCell(Fixed(f.normal)), TableCell(Fixed(f.parallel))});
  };
  for (const RodWallReaction& w : level.reactions) {
    if (cases)
      for (size_t c = 0; c < w.cases.size(); ++c) {
        const std::string name = level.cases[c].name.empty() ? "—" : level.cases[c].name;
        row(w, TableCell(name), "最大拉力", w.cases[c].first);
        row(w, TableCell(name), "最大压力", w.cases[c].second);
      }
    const TableCell envelope("包络", Coloured(kTextBlack, true));
    row(w, envelope, "最大拉力", w.tension);
    row(w, envelope, "最大压力", w.compression);
  }
  r.Table(rows, DataTable({900, 1100, 1500, 1200, 1250, 1250, 1250}), kTableSize);
}

void Level(const BookLevel& level, LevelFigures& figures, BookSections& sections, bool first, CReportComposer& r) {
  r.NumberedHeading(1, LevelTitle(level));
  r.NumberedHeading(2, "附着布置");
  if (!first) r.TextLine("计算模型与分析方法同第一道附着，以下为本道的参数与结果。");
  ForceModelBody(level.record, r, first, [&] { PlanPicture(figures.plan, r); });
  Forces(level, figures, r);
  RodChecks(level, sections, r);
  WallReactions(level, r);
  // Several levels: each chapter ends with its own verdict.
  if (!level.name.empty()) LevelVerdict(level, r);
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
  bool drawable = !book.Refused();
  for (const BookLevel& level : book.levels)
    for (const BookCase& c : level.cases) drawable = drawable && IsDefined(c.record.sweep);
  if (!drawable) {
    // A sweep with forces that are not numbers has no chart to show.
    desktop.ShowMessage(book.Refused() ? book.refusal : InvalidInputsRefusal(page, kBookNeedsForces),
                        MessageIcon::None);
    return OutputOutcome::Refused;
  }
  // The book rests on both pages' inputs, and on those of its cases and levels.
  if (const std::optional<OutputOutcome> stop =
          CheckBeforeOutput({&page, &section}, true, "", desktop, book.unreadable))
    return *stop;
  // Every chart is drawn on its own thread from here, while the document is
  // typed.
  std::vector<LevelFigures> figures(book.levels.size());
  for (size_t l = 0; l < book.levels.size(); ++l)
    for (const BookCase& c : book.levels[l].cases)
      figures[l].charts.push_back(std::make_unique<ForceChartFigure>(c.record, kFigureDpi));
  for (size_t l = 0; l < book.levels.size(); ++l) figures[l].plan = DrawPlan(book.levels[l].record);
  BookSections sections = SectionsOf(book, section);
  // Without their own texts, the cover's level and height are the levels'.
  std::string levels, heights;
  for (const BookLevel& level : book.levels) {
    if (!level.name.empty()) levels += (levels.empty() ? "" : "、") + level.name;
    if (!level.height.empty()) heights += (heights.empty() ? "" : "、") + level.height + " m";
  }
  return RunReport(desktop, kBookRequest, [&](CReportComposer& r) {
    r.UseBookStyle();
    Cover(settings.project, levels, heights, r);
    r.PageBreak();
    // The parts follow the contents on their page: a break there would
    // leave most of a page empty.
    r.TableOfContents();
    Basis(sections, r);
    Summary(book, sections, r);
    LoadCases(book, r);
    SectionParts(sections, r);
    for (size_t l = 0; l < book.levels.size(); ++l) Level(book.levels[l], figures[l], sections, l == 0, r);
    r.NumberedHeading(1, "结论");
    VerdictLines(book, r);
  });
}

}  // namespace tiecalc
