#pragma once
// The handlers that live outside the pages - the sweep-table export and the
// report behind their buttons - installed on a freshly constructed page,
// before Create(). Every page goes through here right after construction.

#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

void WirePage(CThreeRod& page);
void WirePage(CFourRodParallelPage& page);
void WirePage(CFourRodTurnedPage& page);
void WirePage(CRodCheckPage& page);
// What needs the four pages together and the book: the calculation book
// behind the force pages' 计算书 buttons.
void WirePages(CThreeRod& threeRod, CFourRodParallelPage& fourRodI, CFourRodTurnedPage& fourRodII, CRodCheckPage& rodCheck);

}  // namespace tiecalc
