#include "export/SweepExport.h"

#include <functional>
#include <utility>

#include "pages/OutputCheck.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/sheetdb/SheetDbError.h"

namespace tiecalc {

namespace {

constexpr const char* kWritten = "文件输出成功!";

// The sheet of each layout, and the name the save dialog proposes.
const char* SheetNameOf(ForceLayout layout) {
  switch (layout) {
    case ForceLayout::ThreeRod: return "塔机三杆附着";
    case ForceLayout::FourRodParallel: return "塔机四杆附着一";
    case ForceLayout::FourRodTurned: break;
  }
  return "塔机四杆附着二";
}

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

// A table the file did not take; the existing sheet's header is what a
// workbook can fail to take back.
std::string NotWrittenMessage(const std::string& path, const std::string& sheet, bool existingSheet,
                              const std::string& detail) {
  std::string text =
      file::FillMark(file::FillMark(existingSheet ? kHeaderRefused : kNotWritten, "%p", path), "%s", sheet);
  return file::WithDetail(std::move(text), detail);
}

// A value the sweep could not calculate shows as "nan" or "inf" ("-nan",
// "-inf"); no such text goes into a file.
bool HasUndefinedValue(const SheetTable& table) {
  for (const auto& row : table)
    for (const sheetdb::Cell& cell : row)
      if (cell.text.find("nan") != std::string::npos || cell.text.find("inf") != std::string::npos) return true;
  return false;
}

// Adds the table to the file at path; why it did not, in the message
// shown, or nothing. A workbook also gets a line chart of the rods' forces
// against θ over the sweep's rows.
std::string AddTable(const std::string& path, const std::string& sheet, const SheetTable& table, size_t rods) {
  try {
    if (sheetdb::IsWorkbookPath(path))
      AppendToWorkbook(path, sheet, table, {1, 1 + kTableLastTheta, rods});
    else
      AppendToTextFile(path, table);
  } catch (const file::CFileError& e) {  // the text file
    return NotWrittenMessage(path, sheet, false, file::WhyInWords(e));
  } catch (const CSheetRefusal& e) {
    return e.GetKind() == CSheetRefusal::Kind::Full ? file::FillMark(file::FillMark(kSheetFull, "%s", sheet), "%p", path)
                                                     : NotWrittenMessage(path, sheet, e.ExistingSheet(), e.what());
  } catch (const CSheetDbError& e) {
    return e.what();  // the workbook engine's own message
  }
  return {};
}

// The common course of the three exports.
OutputOutcome ExportTable(IDesktop& desktop, const CPage& page, bool valid, const std::string& name, size_t rods,
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

  std::string failure;
  try {
    // Read, change and replace under one lock, so that concurrent exports
    // into one file each add their rows.
    file::CFileLock lock(*path);
    file::RemoveStaleTemporaries(*path);
    failure = AddTable(*path, name, table, rods);
  } catch (const file::CFileError& e) {
    failure = file::FileMessage(kCannotExport, e);
  }
  if (!failure.empty()) {
    desktop.ShowMessage(failure, MessageIcon::Error);
    return OutputOutcome::Failed;
  }
  desktop.ShowMessage(kWritten, MessageIcon::None);
  return OutputOutcome::Written;
}

}  // namespace

OutputOutcome RunSweepExport(const CForcePage& page, IDesktop& desktop) {
  const ForcePageRecord record = page.Record();
  return ExportTable(desktop, page, record.valid, SheetNameOf(record.layout), record.rods.size(),
                     [&] { return SweepTable(record); });
}

void InstallSweepExport(CForcePage& page) {
  CForcePage* p = &page;
  page.OnClick(page.ExportButton(), [p] {
    if (IDesktop* desktop = p->Desktop()) RecordOutput(*desktop, [&] { return RunSweepExport(*p, *desktop); });
  });
}

}  // namespace tiecalc
