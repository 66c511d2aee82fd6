#include "cli/PageWiring.h"

namespace tiecalc {

// ---------------------------------------------------------------------------
// WIRING: the export and report handlers are installed here, e.g.
//   InstallSweepExport(page);   (button 1024 / 1047)
//   InstallReport(page);        (button 1025 / 1056 / rod check 1024)
// Until they are, a click on those buttons does nothing.
// ---------------------------------------------------------------------------

void WirePage(CThreeRod& page) { (void)page; }

void WirePage(CFourRod& page) { (void)page; }

void WirePage(CFourRod1& page) { (void)page; }

void WirePage(CJiaoHe& page) { (void)page; }

}  // namespace tiecalc
