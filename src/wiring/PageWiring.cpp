#include "wiring/PageWiring.h"

#include "book/BookControls.h"
#include "export/SweepExport.h"
#include "report/composers/Reports.h"

namespace tiecalc {

// The pages know nothing of workbooks and documents: the sweep export and
// the report behind their buttons are installed here, once per page, by the
// window and the command-line tool alike.

void WirePage(CForcePage& page) {
  InstallSweepExport(page);
  InstallReport(page);
}

void WirePage(CRodCheckPage& page) { InstallReport(page); }

void WirePages(CForcePage& threeRod, CForcePage& fourRodI, CForcePage& fourRodII, CRodCheckPage& rodCheck,
               const CaseBook& book) {
  for (CForcePage* page : {&threeRod, &fourRodI, &fourRodII}) InstallCalculationBook(*page, rodCheck, book);
}

}  // namespace tiecalc
