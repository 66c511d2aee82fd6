#pragma once
// The four pages of the main window, in page order, with the export and
// report handlers behind their buttons: the same page set the command-line
// tool uses.

#include <memory>

#include "wiring/PageSet.h"

namespace tiecalc {

std::unique_ptr<CPageSet> MakePages();

}  // namespace tiecalc
