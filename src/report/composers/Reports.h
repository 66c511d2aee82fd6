#pragma once
// The calculation reports of the four pages, behind their report buttons.
//
// Each report takes the values the page's last calculation stored (it does
// not recalculate), refuses invalid ones with a message box (and the
// reasons) before any dialog, asks before going on from unreadable fields,
// and otherwise writes the document through the save dialog of the desktop
// (RunReport).

#include "pages/FourRodPage.h"
#include "pages/JiaoHe.h"
#include "pages/ThreeRod.h"
#include "platform/dialog/Desktop.h"

namespace tiecalc {

OutputOutcome WriteThreeRodReport(const CThreeRod& page, IDesktop& desktop);
// Both four-rod layouts: one course, their own fragments and parameter lines.
OutputOutcome WriteFourRodReport(const CFourRod& page, IDesktop& desktop);
OutputOutcome WriteFourRodReport(const CFourRod1& page, IDesktop& desktop);
OutputOutcome WriteRodCheckReport(const CJiaoHe& page, IDesktop& desktop);

// Makes the page's report button (1025 on the three-rod page, 1056 on the
// four-rod pages, 1024 on the rod-check page) write its report with the
// page's desktop; the desktop is told how it ended.
void InstallReport(CThreeRod& page);
void InstallReport(CFourRod& page);
void InstallReport(CFourRod1& page);
void InstallReport(CJiaoHe& page);

}  // namespace tiecalc
