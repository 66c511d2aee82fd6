#pragma once
// The calculation reports of the four pages, behind their report buttons.
//
// Each report takes the values the page's last calculation stored (it does
// not recalculate), refuses invalid ones with a message box (and the
// reasons) before any dialog, asks before going on from unreadable fields,
// and otherwise writes the document through the save dialog of the desktop
// (RunReport).

#include "pages/ForcePage.h"
#include "pages/RodCheckPage.h"
#include "platform/dialog/Desktop.h"

namespace tiecalc {

// The three force layouts: one course, each layout's own fragments and
// parameter lines.
OutputOutcome WriteForceReport(const CForcePage& page, IDesktop& desktop);
OutputOutcome WriteRodCheckReport(const CRodCheckPage& page, IDesktop& desktop);

// Makes the page's report button (1025 on the three-rod page, 1056 on the
// four-rod pages, 1024 on the rod-check page) write its report with the
// page's desktop; the desktop is told how it ended.
void InstallReport(CForcePage& page);
void InstallReport(CRodCheckPage& page);

}  // namespace tiecalc
