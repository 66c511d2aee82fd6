#pragma once
// The calculation book in the pages: the 计算书 button of each force page
// writes the book of its layout with the rod-check page's section.

#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

// Installs the buttons on pages constructed and not created yet; the pages
// must outlive each other's handlers (they live together in the page set).
void InstallCalculationBook(CThreeRod& threeRod, CFourRodParallelPage& fourRodI, CFourRodTurnedPage& fourRodII, CRodCheckPage& rodCheck);

}  // namespace tiecalc
