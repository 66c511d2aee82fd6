#include "book/BookControls.h"

#include "book/BookDocument.h"

namespace tiecalc {

void InstallCalculationBook(CThreeRod& threeRod, CFourRod& fourRodI, CFourRod1& fourRodII, CJiaoHe& rodCheck) {
  CThreeRod* three = &threeRod;
  CFourRod* one = &fourRodI;
  CFourRod1* two = &fourRodII;
  CJiaoHe* section = &rodCheck;
  threeRod.OnClick(CThreeRod::kBookButton, [three, section] {
    if (IDesktop* desktop = three->Desktop()) WriteCalculationBook(*three, *section, *desktop);
  });
  fourRodI.OnClick(CFourRod::kBookButton, [one, section] {
    if (IDesktop* desktop = one->Desktop()) WriteCalculationBook(*one, *section, *desktop);
  });
  fourRodII.OnClick(CFourRod1::kBookButton, [two, section] {
    if (IDesktop* desktop = two->Desktop()) WriteCalculationBook(*two, *section, *desktop);
  });
}

}  // namespace tiecalc
