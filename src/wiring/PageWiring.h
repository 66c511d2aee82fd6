#pragma once
// The handlers that live outside the pages - the sweep-table export and the
// report behind their buttons - installed on a freshly constructed page,
// before Create(). Every page goes through here right after construction.

#include "pages/FourRodPage.h"
#include "pages/JiaoHe.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

void WirePage(CThreeRod& page);
void WirePage(CFourRod& page);
void WirePage(CFourRod1& page);
void WirePage(CJiaoHe& page);
// What needs the four pages together and the book: the calculation book
// behind the force pages' 计算书 buttons.
void WirePages(CThreeRod& threeRod, CFourRod& fourRodI, CFourRod1& fourRodII, CJiaoHe& rodCheck);

}  // namespace tiecalc
