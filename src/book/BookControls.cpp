#include "book/BookControls.h"

#include "book/BookDocument.h"

namespace tiecalc {

void InstallCalculationBook(CForcePage& page, CRodCheckPage& rodCheck, const CaseBook& settings) {
  CForcePage* forces = &page;
  CRodCheckPage* section = &rodCheck;
  const CaseBook* book = &settings;
  page.OnClick(CForcePage::kBookButton, [forces, section, book] {
    if (IDesktop* desktop = forces->Desktop()) WriteCalculationBook(*forces, *section, *book, *desktop);
  });
}

}  // namespace tiecalc
