#pragma once
// The handlers that live outside the pages - the sweep-table export and the
// report behind their buttons - installed on a freshly constructed page,
// before Create(). Every page goes through here right after construction.

#include "case/CaseFile.h"
#include "pages/ForcePage.h"
#include "pages/RodCheckPage.h"

namespace tiecalc {

void WirePage(CForcePage& page);
void WirePage(CRodCheckPage& page);
// What needs the four pages together and the book: the calculation book
// behind the force pages' 计算书 buttons.
void WirePages(CForcePage& threeRod, CForcePage& fourRodI, CForcePage& fourRodII, CRodCheckPage& rodCheck,
               const CaseBook& book);

}  // namespace tiecalc
