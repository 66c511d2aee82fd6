#include "book/BookControls.h"

#include "book/BookDocument.h"

namespace tiecalc {

void InstallCalculationBook(CForcePage& page, CRodCheckPage& rodCheck) {
  CForcePage* forces = &page;
  CRodCheckPage* section = &rodCheck;
  page.OnClick(CForcePage::kBookButton, [forces, section] {
    if (IDesktop* desktop = forces->Desktop()) WriteCalculationBook(*forces, *section, *desktop);
  });
}

}  // namespace tiecalc
