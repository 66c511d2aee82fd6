#include "export/SweepExport.h"

#include <functional>
#include <utility>

#include "core/input/Format.h"
#include "export/SheetWriter.h"
#include "pages/OutputCheck.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/sheetdb/SheetConnection.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc {

namespace {

constexpr const char* kWritten = "文件输出成功!";

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

std::vector<std::string> Blanks(size_t count) { return std::vector<std::string>(count, " "); }

// What the layouts' tables differ in after the sweep rows: the sheet's name,
// how many of the inputs go in each row (a header and a row of values), the
// blanks after each such pair, and whether the rods' angles follow the
// inputs (the lengths then go with the extremes) or have a row of their own
// with the lengths.
struct SheetShape {
  const char* sheetName;
  std::vector<size_t> parameterRows;
  size_t separator;
  bool anglesWithParameters;
};

const SheetShape& ShapeOf(ForceLayout layout) {
  static const SheetShape kThreeRod = {"塔机三杆附着", {10}, 9, false};
  static const SheetShape kFourRodParallel = {"塔机四杆附着一", {13, 13}, 1, true};
  static const SheetShape kFourRodTurned = {"塔机四杆附着二", {8, 8, 12}, 1, true};
  switch (layout) {
    case ForceLayout::ThreeRod: return kThreeRod;
    case ForceLayout::FourRodParallel: return kFourRodParallel;
    case ForceLayout::FourRodTurned: break;
  }
  return kFourRodTurned;
}

// A header cell "label(unit)" above each value, "%.2f".
void AppendLabelled(SheetTable& t, const std::vector<LabelledValue>& cells) {
  std::vector<std::string> header, row;
  for (const LabelledValue& c : cells) {
    header.push_back(c.label + "(" + c.unit + ")");
    row.push_back(Format2(c.value));
  }
  t.push_back(header);
  t.push_back(row);
}

// The sweep rows of a page: θ ("%d"), the rods' forces, then each rod's two
// components, not rounded before formatting; the table stops at 359°.
void AppendSweepRows(SheetTable& t, const ForceSweep& sweep) {
  const size_t rods = static_cast<size_t>(sweep.rods);
  std::vector<std::string> header{"θ角度(°)"};
  for (size_t i = 1; i <= rods; ++i) header.push_back("F" + std::to_string(i) + "(KN)");
  for (size_t i = 1; i <= rods; ++i)
    for (const char* axis : {"x", "y"}) header.push_back("F" + std::to_string(i) + axis + "(KN)");
  t.push_back(header);
  for (const ForceSweep::Point& p : sweep.points) {
    if (p.theta > kTableLastTheta) break;
    std::vector<std::string> row{std::to_string(p.theta)};
    for (size_t i = 0; i < rods; ++i) row.push_back(Format2(p.forces.F[i]));
    for (size_t i = 0; i < rods; ++i) {
      row.push_back(Format2(p.forces.Fx[i]));
      row.push_back(Format2(p.forces.Fy[i]));
    }
    t.push_back(row);
  }
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

}  // namespace

SheetTable SweepTable(const ForcePageRecord& page) {
  static constexpr const char* kAngles[] = {"α", "β", "γ", "δ"};
  const SheetShape& shape = ShapeOf(page.layout);
  SheetTable t;
  AppendSweepRows(t, page.sweep);
  t.push_back(Blanks(9));

  std::vector<LabelledValue> inputs = page.parameters;
  if (shape.anglesWithParameters)
    for (size_t i = 0; i < page.rods.size(); ++i) inputs.push_back({kAngles[i], page.rods[i].angle, "°"});
  size_t next = 0;
  for (size_t count : shape.parameterRows) {
    AppendLabelled(t, std::vector<LabelledValue>(inputs.begin() + static_cast<long>(next),
                                                 inputs.begin() + static_cast<long>(next + count)));
    next += count;
    t.push_back(Blanks(shape.separator));
  }

  // The rods' angles (unless they went with the inputs) and lengths, then
  // the extremes as the page shows them: in the same row as the lengths
  // when the angles went with the inputs, else in a row of their own.
  std::vector<LabelledValue> rods;
  if (!shape.anglesWithParameters)
    for (size_t i = 0; i < page.rods.size(); ++i) rods.push_back({kAngles[i], page.rods[i].angle, "°"});
  for (size_t i = 0; i < page.rods.size(); ++i)
    rods.push_back({"L" + std::to_string(i + 1), page.rods[i].length, "mm"});
  AppendLabelled(t, rods);
  if (!shape.anglesWithParameters) {
    t.push_back(Blanks(shape.separator));
    t.push_back({});
    t.push_back({});
  }
  std::vector<std::string>& header = t[t.size() - 2];
  std::vector<std::string>& row = t.back();
  for (size_t i = 0; i < page.rods.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    header.push_back("F" + n + "m(KN)");
    header.push_back("θ" + n + "(°)");
    row.push_back(page.rods[i].extremes.ForcePair());
    row.push_back(page.rods[i].extremes.AnglePair());
  }
  return t;
}

OutputOutcome RunSweepExport(const CForcePage& page, IDesktop& desktop) {
  const ForcePageRecord record = page.Record();
  return ExportTable(desktop, page, record.valid, ShapeOf(record.layout).sheetName,
                     [&] { return SweepTable(record); });
}

void InstallSweepExport(CForcePage& page) {
  CForcePage* p = &page;
  page.OnClick(page.ExportButton(), [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return RunSweepExport(*p, *desktop); });
  });
}

}  // namespace tiecalc
