#pragma once
// The θ-sweep tables of the force pages, cell for cell, from the values a
// page's last calculation left: the rod forces and components for every
// whole degree 0..359, then the page's inputs and results. θ, the inputs,
// lengths, angles and forces are number cells (θ without decimals, the
// others with two, rounded as the pages round them); the names, the extreme
// texts ("-728.53/728.53") and the blank separators are texts.

#include "core/analysis/ForceSweep.h"
#include "core/analysis/FourRodLayout.h"
#include "core/analysis/ThreeRod.h"
#include "export/SheetAppend.h"

namespace tiecalc {

SheetTable ThreeRodSweepTable(const ForceSweep& sweep, const ThreeRodInput& in, const ThreeRodResult& result);

// What a four-rod table shows besides the sweep and the layout.
struct FourRodTableValues {
  FourRodAngles angles;
  Rod4 E{}, S{};  // GPa, mm²
  double R = 0, M = 0;
  FourRodResult result;
};

SheetTable FourRodSweepTable(const ForceSweep& sweep, const FourRodLayoutI& layout, const FourRodTableValues& values);
SheetTable FourRodSweepTable(const ForceSweep& sweep, const FourRodLayoutII& layout, const FourRodTableValues& values);

}  // namespace tiecalc
