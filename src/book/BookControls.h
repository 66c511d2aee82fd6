#pragma once
// The calculation book in the pages: the 计算书 button of each force page
// writes the book of its layout with the rod-check page's section, and the
// rod-check page's 轴力取自 list types a chosen rod's compression, length and
// weight (and a non-uniform rod's large-section length) as the book does.

#include "pages/FourRodPage.h"
#include "pages/JiaoHe.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

// Installs both on pages constructed and not created yet; the pages must
// outlive each other's handlers (they live together in the page set).
void InstallCalculationBook(CThreeRod& threeRod, CFourRod& fourRodI, CFourRod1& fourRodII, CJiaoHe& rodCheck);

// Types the rod the 轴力取自 list shows into the rod-check page. Nothing
// when the list shows 手动输入; a force page that cannot be calculated is
// refused with a message box and the list goes back to 手动输入.
void TakeChosenRod(const CThreeRod& threeRod, const CFourRod& fourRodI, const CFourRod1& fourRodII,
                   CJiaoHe& rodCheck);

}  // namespace tiecalc
