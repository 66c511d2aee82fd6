#include "book/BookControls.h"

#include "book/BookDocument.h"

namespace tiecalc {

void InstallCalculationBook(CThreeRod& threeRod, CFourRodParallelPage& fourRodI, CFourRodTurnedPage& fourRodII, CRodCheckPage& rodCheck) {
  CThreeRod* three = &threeRod;
  CFourRodParallelPage* one = &fourRodI;
  CFourRodTurnedPage* two = &fourRodII;
  CRodCheckPage* section = &rodCheck;
  threeRod.OnClick(CThreeRod::kBookButton, [three, section] {
    if (IDesktop* desktop = three->Desktop()) WriteCalculationBook(*three, *section, *desktop);
  });
  fourRodI.OnClick(CFourRodParallelPage::kBookButton, [one, section] {
    if (IDesktop* desktop = one->Desktop()) WriteCalculationBook(*one, *section, *desktop);
  });
  fourRodII.OnClick(CFourRodTurnedPage::kBookButton, [two, section] {
    if (IDesktop* desktop = two->Desktop()) WriteCalculationBook(*two, *section, *desktop);
  });
}

}  // namespace tiecalc
