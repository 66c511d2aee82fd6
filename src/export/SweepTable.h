#pragma once
// The θ-sweep table of a force page, cell for cell, from its record: the rod
// forces and components for every whole degree 0..359, then the page's
// inputs and results. θ, the inputs, lengths, angles and forces are number
// cells (θ without decimals, the others with two, rounded as the pages round
// them); the names, the extreme texts ("-728.53/728.53") and the blank
// separators are texts.

#include "export/SheetAppend.h"
#include "pages/ForcePageRecord.h"

namespace tiecalc {

SheetTable SweepTable(const ForcePageRecord& page);

}  // namespace tiecalc
