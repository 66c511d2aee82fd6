#pragma once
// The bodies of the page reports, for a document that holds more than one of
// them (the calculation book): each writes exactly what its own report writes
// between the title and the final save.

#include "core/rodcheck/RodCheck.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"
#include "report/composers/ReportComposer.h"

namespace tiecalc {

void ThreeRodReportBody(const CThreeRod& page, CReportComposer& r);
void FourRodReportBody(const CFourRod& page, CReportComposer& r);
void FourRodReportBody(const CFourRod1& page, CReportComposer& r);
// The rod check of a run's record, with the form and grades it ran with.
void RodCheckReportBody(const RodCheckData& data, RodForm form, SteelGrade main, SteelGrade lacing,
                        CReportComposer& r);

}  // namespace tiecalc
