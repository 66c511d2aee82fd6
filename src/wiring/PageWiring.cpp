#include "wiring/PageWiring.h"

#include "book/BookControls.h"
#include "export/SweepExport.h"
#include "report/composers/Reports.h"

namespace tiecalc {

// The pages know nothing of workbooks and documents: the sweep export and
// the report behind their buttons are installed here, once per page, by the
// window and the command-line tool alike.

void WirePage(CThreeRod& page) {
  InstallSweepExport(page);
  InstallReport(page);
}

void WirePage(CFourRodParallelPage& page) {
  InstallSweepExport(page);
  InstallReport(page);
}

void WirePage(CFourRodTurnedPage& page) {
  InstallSweepExport(page);
  InstallReport(page);
}

void WirePage(CRodCheckPage& page) { InstallReport(page); }

void WirePages(CThreeRod& threeRod, CFourRodParallelPage& fourRodI, CFourRodTurnedPage& fourRodII, CRodCheckPage& rodCheck) {
  InstallCalculationBook(threeRod, fourRodI, fourRodII, rodCheck);
}

}  // namespace tiecalc
