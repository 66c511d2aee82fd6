#pragma once
// The exports behind the force pages' output buttons: the page's θ-sweep
// table (SweepTable.h) added to one sheet of a workbook (or, for a path that
// is not a workbook, to a comma-separated text file; SheetAppend.h).
//
// The exports take the values the page's last calculation stored, from its
// record; they do not recalculate.

#include "export/SweepTable.h"
#include "pages/ForcePage.h"
#include "platform/dialog/Desktop.h"

namespace tiecalc {

// One export: the checks before any output (invalid inputs refused with
// their reasons, unreadable fields asked about), the save dialog through
// desktop, the table added to the file under the file's lock, the message
// of success or of why not; what became of it is returned. A table holding
// a value the sweep could not calculate is refused.
OutputOutcome RunSweepExport(const CForcePage& page, IDesktop& desktop);

// Makes the page's output button (1024 on the three-rod page, 1047 on the
// four-rod pages) run the export with the page's desktop, which is told
// how it ended.
void InstallSweepExport(CForcePage& page);

}  // namespace tiecalc
