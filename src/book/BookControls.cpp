#include "book/BookControls.h"

#include "book/BookDocument.h"

namespace tiecalc {

void TakeChosenRod(const CThreeRod& threeRod, const CFourRod& fourRodI, const CFourRod1& fourRodII,
                   CJiaoHe& rodCheck) {
  const int choice = rodCheck.GetCurSel(CJiaoHe::kSource);
  if (choice <= 0) return;
  // The list: 手动输入, three rods of the three-rod page, four of each
  // four-rod page.
  const int index = choice - 1;
  const std::optional<std::vector<LayoutRod>> rods =
      index < 3 ? RodsOf(threeRod) : index < 7 ? RodsOf(fourRodI) : RodsOf(fourRodII);
  const int rod = index < 3 ? index : (index - 3) % 4;
  if (!rods || rod >= static_cast<int>(rods->size())) {
    rodCheck.SetCurSel(CJiaoHe::kSource, 0);
    if (IDesktop* desktop = rodCheck.Desktop()) desktop->ShowMessage(kBookNeedsForces, MessageIcon::None);
    return;
  }
  TypeRodTexts(rodCheck, TextsForRod((*rods)[static_cast<size_t>(rod)], rodCheck));
}

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
  rodCheck.OnSelChange(CJiaoHe::kSource, [three, one, two, section] { TakeChosenRod(*three, *one, *two, *section); });
}

}  // namespace tiecalc
