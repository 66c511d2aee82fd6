#pragma once
// The calculation reports of the four pages, behind their report buttons.
//
// Each report takes the values the page's last calculation stored (it does
// not recalculate), refuses invalid ones with a message box (and the
// reasons) before any dialog, asks before going on from unreadable fields,
// and otherwise writes the document through the save dialog of the
// desktop and the document engine registry answers with (the embedded one
// by default).

#include <memory>

#include "pages/ForcePage.h"
#include "pages/RodCheckPage.h"
#include "platform/dialog/Desktop.h"
#include "platform/word/WordEngine.h"

namespace tiecalc {

inline std::shared_ptr<IWordClassRegistry> DefaultWordRegistry() { return std::make_shared<CEmbeddedWordRegistry>(); }

// The three force layouts: one course, each layout's own fragments and
// parameter lines.
OutputOutcome WriteForceReport(const CForcePage& page, IDesktop& desktop,
                               std::shared_ptr<IWordClassRegistry> registry = DefaultWordRegistry());
OutputOutcome WriteRodCheckReport(const CRodCheckPage& page, IDesktop& desktop,
                                  std::shared_ptr<IWordClassRegistry> registry = DefaultWordRegistry());

// Makes the page's report button (1025 on the three-rod page, 1056 on the
// four-rod pages, 1024 on the rod-check page) write its report with the
// page's desktop and the embedded engine; the desktop is told how it ended.
void InstallReport(CForcePage& page);
void InstallReport(CRodCheckPage& page);

}  // namespace tiecalc
