#pragma once
// The θ-sweep tables of the force-analysis pages and the exports behind
// their output buttons: the rod forces and components for every whole
// degree 0..359, then the page's inputs and results, written as one sheet
// (or, for a path that is not a workbook, as comma-delimited text).
//
// The exports take the values the page's last calculation stored, from its
// record; they do not recalculate.

#include <string>
#include <vector>

#include "pages/ForcePage.h"
#include "platform/dialog/Desktop.h"

namespace tiecalc {

// Rows of texts, the header first.
using SheetTable = std::vector<std::vector<std::string>>;

// The table of a page's record, cell for cell.
SheetTable SweepTable(const ForcePageRecord& page);

// One export: the checks before any output (invalid inputs refused with
// their reasons, unreadable fields asked about), the save dialog through
// desktop, the table written by CSheetWriter, the success message; what
// became of it is returned. A table holding a value the sweep could not
// calculate is refused. Failures of the workbook engine (CSheetDbError)
// leave as exceptions.
OutputOutcome RunSweepExport(const CForcePage& page, IDesktop& desktop);

// Makes the page's output button (1024 on the three-rod page, 1047 on the
// four-rod pages) run the export with the page's desktop, which is told
// how it ended.
void InstallSweepExport(CForcePage& page);

}  // namespace tiecalc
