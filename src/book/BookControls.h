#pragma once
// The calculation book in the pages: the 计算书 button of each force page
// writes the book of its layout with the rod-check page's section and the
// case's book settings.

#include "case/CaseFile.h"
#include "pages/ForcePage.h"
#include "pages/RodCheckPage.h"

namespace tiecalc {

// Installs the button on a force page constructed and not created yet; the
// pages must outlive each other's handlers (they live together in the page
// set).
void InstallCalculationBook(CForcePage& page, CRodCheckPage& rodCheck, const CaseBook& settings);

}  // namespace tiecalc
