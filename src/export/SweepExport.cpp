#include "export/SweepExport.h"

#include <functional>

#include "core/input/Format.h"
#include "export/SheetWriter.h"
#include "pages/PageSweep.h"

namespace tiecalc {

namespace {

constexpr const char* kInvalidInput = "输入数据错误或不完整!";
constexpr const char* kWritten = "文件输出成功!";
constexpr const char* kThreeRodName = "塔机三杆附着";
constexpr const char* kFourRodIName = "塔机四杆附着一";
constexpr const char* kFourRodIIName = "塔机四杆附着二";

std::vector<std::string> Formatted(std::initializer_list<double> values) {
  std::vector<std::string> out;
  for (double v : values) out.push_back(Format2(v));
  return out;
}

std::vector<std::string> Blanks(size_t count) { return std::vector<std::string>(count, " "); }

// The rows every four-rod table ends with: the lengths and the extreme texts.
void AppendFourRodExtremes(SheetTable& t, const CFourRodPage& page) {
  t.push_back({"L1(mm)", "L2(mm)", "L3(mm)", "L4(mm)", "F1m(KN)", "θ1(°)", "F2m(KN)", "θ2(°)", "F3m(KN)", "θ3(°)",
               "F4m(KN)", "θ4(°)"});
  const FourRodResult& r = page.Result();
  std::vector<std::string> row = Formatted({r.L[0], r.L[1], r.L[2], r.L[3]});
  for (size_t i = 0; i < 4; ++i) {
    row.push_back(r.ForceText[i]);
    row.push_back(r.AngleText[i]);
  }
  t.push_back(row);
}

// The sweep rows of a page: θ ("%d"), the rods' forces, then each rod's two
// components, not rounded before formatting.
void AppendSweepRows(SheetTable& t, const ForceSweep& sweep) {
  const size_t rods = static_cast<size_t>(sweep.rods);
  for (const ForceSweep::Point& p : sweep.points) {
    std::vector<std::string> row{std::to_string(p.theta)};
    for (size_t i = 0; i < rods; ++i) row.push_back(Format2(p.forces.F[i]));
    for (size_t i = 0; i < rods; ++i) {
      row.push_back(Format2(p.forces.Fx[i]));
      row.push_back(Format2(p.forces.Fy[i]));
    }
    t.push_back(row);
  }
}

// Header and 360 rows of a four-rod page, then the separator of nine blanks.
template <typename Page>
SheetTable FourRodSweepRows(const Page& page) {
  SheetTable t;
  t.push_back({"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F4(KN)", "F1x(KN)", "F1y(KN)", "F2x(KN)", "F2y(KN)", "F3x(KN)",
               "F3y(KN)", "F4x(KN)", "F4y(KN)"});
  AppendSweepRows(t, ForceSweepOf(page, kTableLastTheta));
  t.push_back(Blanks(9));
  return t;
}

// The common course of the three exports.
void ExportTable(IDesktop& desktop, bool valid, const std::string& name, const std::function<SheetTable()>& build) {
  if (!valid) {
    desktop.ShowMessage(kInvalidInput, MessageIcon::None);
    return;
  }
  SaveFileRequest request;
  request.defaultExtension = "*.xls";
  request.fileName = name;
  request.filter = "EXCEL文档(*.xls)|*.xls|EXCEL文档(*.xlsx)|*.xlsx|";
  request.hideReadOnly = true;
  request.promptOverwrite = false;
  const std::optional<std::string> path = desktop.AskSaveFileName(request);
  if (!path) return;

  const SheetTable table = build();
  // A text file gets commas between its values; a workbook, the sheet name.
  CSheetWriter writer(*path, CSheetWriter::IsWorkbookPath(*path) ? name : ",", true);
  writer.BeginBatch();
  writer.SetHeaderRow(table.front(), false);
  std::vector<std::string> row;
  for (size_t i = 1; i < table.size(); ++i) {
    row = table[i];
    writer.AppendRow(row, 0, false);
  }
  writer.SaveAll();
  desktop.ShowMessage(kWritten, MessageIcon::None);
}

template <typename Page>
void Install(Page& page, int buttonId) {
  Page* p = &page;
  page.OnClick(buttonId, [p] {
    if (IDesktop* desktop = p->Desktop()) RunSweepExport(*p, *desktop);
  });
}

}  // namespace

SheetTable ThreeRodSweepTable(const CThreeRod& page) {
  const ThreeRodInput in = page.Input();
  const ThreeRodResult& r = page.Result();
  SheetTable t;
  t.push_back({"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F1x(KN)", "F1y(KN)", "F2x(KN)", "F2y(KN)", "F3x(KN)", "F3y(KN)"});
  AppendSweepRows(t, ForceSweepOf(page, kTableLastTheta));
  t.push_back(Blanks(9));
  t.push_back({"A(mm)", "B(mm)", "C(mm)", "D(mm)", "X1(mm)", "X2(mm)", "X3(mm)", "H(mm)", "R(KN)", "M(KN.m)"});
  t.push_back(Formatted({in.A, in.B, in.C, in.D, in.X1, in.X2, in.X3, in.H, in.R, in.M}));
  t.push_back(Blanks(9));
  t.push_back({"α(°)", "β(°)", "γ(°)", "L1(mm)", "L2(mm)", "L3(mm)"});
  t.push_back(Formatted({r.Alpha, r.Beta, r.Gamma, r.L1, r.L2, r.L3}));
  t.push_back(Blanks(9));
  t.push_back({"F1m(KN)", "θ1(°)", "F2m(KN)", "θ2(°)", "F3m(KN)", "θ3(°)"});
  t.push_back({r.F1m, r.Theta1, r.F2m, r.Theta2, r.F3m, r.Theta3});
  return t;
}

SheetTable FourRodSweepTable(const CFourRod& page) {
  SheetTable t = FourRodSweepRows(page);
  const FourRodLayoutI& g = page.Layout();
  const FourRodAngles& a = page.Angles();
  const Rod4 &e = page.E(), &s = page.S();
  t.push_back({"A(mm)", "B(mm)", "C(mm)", "D(mm)", "E(mm)", "F(mm)", "X1(mm)", "X2(mm)", "X3(mm)", "X4(mm)", "Y1(mm)",
               "Y2(mm)", "R(KN)"});
  t.push_back(Formatted({g.A, g.B, g.C, g.D, g.E, g.F, g.X1, g.X2, g.X3, g.X4, g.Y1, g.Y2, page.R()}));
  t.push_back(Blanks(1));
  t.push_back({"M(KN.m)", "E1(GPa)", "E2(GPa)", "E3(GPa)", "E4(GPa)", "S1(mm^2)", "S2(mm^2)", "S3(mm^2)", "S4(mm^2)",
               "α(°)", "β(°)", "γ(°)", "δ(°)"});
  t.push_back(Formatted({page.M(), e[0], e[1], e[2], e[3], s[0], s[1], s[2], s[3], a.Alpha, a.Beta, a.Gamma, a.Delta}));
  t.push_back(Blanks(1));
  AppendFourRodExtremes(t, page);
  return t;
}

SheetTable FourRodSweepTable(const CFourRod1& page) {
  SheetTable t = FourRodSweepRows(page);
  const FourRodLayoutII& g = page.Layout();
  const FourRodAngles& a = page.Angles();
  const Rod4 &e = page.E(), &s = page.S();
  t.push_back({"A(mm)", "B(mm)", "C(mm)", "D(mm)", "E(mm)", "F(mm)", "G(mm)", "H(mm)"});
  t.push_back(Formatted({g.A, g.B, g.C, g.D, g.E, g.F, g.G, g.H}));
  t.push_back(Blanks(1));
  t.push_back({"X1(mm)", "X2(mm)", "X3(mm)", "X4(mm)", "Y1(mm)", "Y2(mm)", "R(KN)", "M(KN.m)"});
  t.push_back(Formatted({g.X1, g.X2, g.X3, g.X4, g.Y1, g.Y2, page.R(), page.M()}));
  t.push_back(Blanks(1));
  t.push_back({"E1(GPa)", "E2(GPa)", "E3(GPa)", "E4(GPa)", "S1(mm^2)", "S2(mm^2)", "S3(mm^2)", "S4(mm^2)", "α(°)", "β(°)",
               "γ(°)", "δ(°)"});
  t.push_back(Formatted({e[0], e[1], e[2], e[3], s[0], s[1], s[2], s[3], a.Alpha, a.Beta, a.Gamma, a.Delta}));
  t.push_back(Blanks(1));
  AppendFourRodExtremes(t, page);
  return t;
}

void RunSweepExport(const CThreeRod& page, IDesktop& desktop) {
  ExportTable(desktop, page.IsInputValid(), kThreeRodName, [&] { return ThreeRodSweepTable(page); });
}

void RunSweepExport(const CFourRod& page, IDesktop& desktop) {
  ExportTable(desktop, page.IsInputValid(), kFourRodIName, [&] { return FourRodSweepTable(page); });
}

void RunSweepExport(const CFourRod1& page, IDesktop& desktop) {
  ExportTable(desktop, page.IsInputValid(), kFourRodIIName, [&] { return FourRodSweepTable(page); });
}

void InstallSweepExport(CThreeRod& page) { Install(page, CThreeRod::kExportButton); }
void InstallSweepExport(CFourRod& page) { Install(page, CFourRodPage::kExportButton); }
void InstallSweepExport(CFourRod1& page) { Install(page, CFourRodPage::kExportButton); }

}  // namespace tiecalc
