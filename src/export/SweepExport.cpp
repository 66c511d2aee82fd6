#include "export/SweepExport.h"

#include <functional>
#include <utility>

#include "core/input/Format.h"
#include "export/SheetWriter.h"
#include "pages/OutputCheck.h"
#include "pages/PageSweep.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/sheetdb/SheetConnection.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc {

namespace {

constexpr const char* kWritten = "文件输出成功!";
constexpr const char* kThreeRodName = "塔机三杆附着";
constexpr const char* kFourRodIName = "塔机四杆附着一";
constexpr const char* kFourRodIIName = "塔机四杆附着二";

// The messages of a failed export; the fixed ones above stay as they are.
constexpr const char* kUndefinedValue = "计算结果中有无穷大或无定义的数值，表格没有写入。";
constexpr const char* kCannotExport = "表格无法导出到";
constexpr const char* kSheetFull =
    "表格没有写入：工作簿 %p 中的工作表“%s”已满（一张工作表最多 65536 行），文件保持原样。"
    "请导出到一个新的工作簿，或另存为 .xlsx 文件。";
constexpr const char* kHeaderRefused =
    "表格没有写入：工作簿 %p 中已有的工作表“%s”的表头无法写回（列名含有“]”、列名只差大小写、"
    "空列名与其他列重名、超过 256 列，或少于这次的列数），文件保持原样。请导出到一个新的工作簿。";
constexpr const char* kNotWritten = "表格没有写入文件 %p，文件保持原样。请换一个文件夹或文件名再试。";

// An existing sheet is dropped and created anew under the header it was
// read with; that header is what a sheet writer can fail to take back.
std::string NotWrittenMessage(const std::string& path, const std::string& sheet, bool existingSheet,
                              const std::string& detail) {
  std::string text =
      file::FillMark(file::FillMark(existingSheet ? kHeaderRefused : kNotWritten, "%p", path), "%s", sheet);
  return file::WithDetail(std::move(text), detail);
}

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

// The number of rods of a sweep table: its header's "F1(KN)", "F2(KN)", ...
int32_t RodsOf(const std::vector<std::string>& header) {
  int32_t rods = 0;
  while (static_cast<size_t>(rods) + 1 < header.size() &&
         header[static_cast<size_t>(rods) + 1] == "F" + std::to_string(rods + 1) + "(KN)")
    ++rods;
  return rods;
}

// A value the sweep could not calculate shows as "nan" or "inf" ("-nan",
// "-inf"); no such text goes into a file.
bool HasUndefinedValue(const SheetTable& table) {
  for (const std::vector<std::string>& row : table)
    for (const std::string& cell : row)
      if (cell.find("nan") != std::string::npos || cell.find("inf") != std::string::npos) return true;
  return false;
}

// The common course of the three exports.
OutputOutcome ExportTable(IDesktop& desktop, const CPage& page, bool valid, const std::string& name,
                          const std::function<SheetTable()>& build) {
  if (const std::optional<OutputOutcome> stop = CheckBeforeOutput({&page}, valid, kInvalidInputsRefused, desktop))
    return *stop;
  const SheetTable table = build();
  if (HasUndefinedValue(table)) {
    desktop.ShowMessage(InvalidInputsRefusal(page, kInvalidInputsRefused) + "\n" + kUndefinedValue, MessageIcon::None);
    return OutputOutcome::Refused;
  }
  SaveFileRequest request;
  request.defaultExtension = "*.xls";
  request.fileName = name;
  request.filter = "EXCEL文档(*.xls)|*.xls|EXCEL文档(*.xlsx)|*.xlsx|";
  request.hideReadOnly = true;
  request.promptOverwrite = false;
  const std::optional<std::string> path = desktop.AskSaveFileName(request);
  if (!path) return OutputOutcome::Cancelled;

  const bool workbook = CSheetWriter::IsWorkbookPath(*path);
  try {
    // Read, change and replace under one lock, so that concurrent exports
    // into one file each add their rows.
    file::CFileLock lock(*path);
    file::RemoveStaleTemporaries(*path);
    // The backup sheet and the new rows reach the file in one replacement,
    // at Commit, or not at all.
    auto session = std::make_shared<CWorkbookSession>();
    // A text file gets commas between its values; a workbook, the sheet name.
    CSheetWriter writer(*path, workbook ? name : ",", true,
                        workbook ? std::make_unique<CSheetConnection>(session) : nullptr);
    const bool existingSheet = workbook && !writer.Rows().empty();
    writer.BeginBatch();
    writer.SetHeaderRow(table.front(), false);  // false for a sheet that has the header already
    // A workbook also gets a line chart of the rods' forces against θ over
    // the rows of this sweep (old rows of the sheet stay above them).
    const int32_t first = writer.TotalRows() + 1;
    writer.RequestLineChart(first, first + kTableLastTheta, RodsOf(table.front()));
    std::vector<std::string> row;
    bool written = true;
    for (size_t i = 1; i < table.size() && written; ++i) {
      row = table[i];
      written = writer.AppendRow(row, 0, false);
    }
    if (written && workbook && writer.Rows().size() > sheetdb::kMaxRows) {
      desktop.ShowMessage(file::FillMark(file::FillMark(kSheetFull, "%s", name), "%p", *path),
                          MessageIcon::Error);
      return OutputOutcome::Failed;
    }
    if (!written || !writer.SaveAll()) {
      desktop.ShowMessage(NotWrittenMessage(*path, name, existingSheet, writer.LastError()), MessageIcon::Error);
      return OutputOutcome::Failed;
    }
    session->Commit();
  } catch (const file::CFileError& e) {
    desktop.ShowMessage(file::FileMessage(kCannotExport, e), MessageIcon::Error);
    return OutputOutcome::Failed;
  }
  desktop.ShowMessage(kWritten, MessageIcon::None);
  return OutputOutcome::Written;
}

template <typename Page>
void Install(Page& page, int buttonId) {
  Page* p = &page;
  page.OnClick(buttonId, [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return RunSweepExport(*p, *desktop); });
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

SheetTable FourRodSweepTable(const CFourRodParallelPage& page) {
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

SheetTable FourRodSweepTable(const CFourRodTurnedPage& page) {
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

OutputOutcome RunSweepExport(const CThreeRod& page, IDesktop& desktop) {
  return ExportTable(desktop, page, page.IsInputValid(), kThreeRodName, [&] { return ThreeRodSweepTable(page); });
}

OutputOutcome RunSweepExport(const CFourRodParallelPage& page, IDesktop& desktop) {
  return ExportTable(desktop, page, page.IsInputValid(), kFourRodIName, [&] { return FourRodSweepTable(page); });
}

OutputOutcome RunSweepExport(const CFourRodTurnedPage& page, IDesktop& desktop) {
  return ExportTable(desktop, page, page.IsInputValid(), kFourRodIIName, [&] { return FourRodSweepTable(page); });
}

void InstallSweepExport(CThreeRod& page) { Install(page, CThreeRod::kExportButton); }
void InstallSweepExport(CFourRodParallelPage& page) { Install(page, CFourRodPage::kExportButton); }
void InstallSweepExport(CFourRodTurnedPage& page) { Install(page, CFourRodPage::kExportButton); }

}  // namespace tiecalc
