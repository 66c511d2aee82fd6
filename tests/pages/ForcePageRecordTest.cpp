// The record of each force page against what the page shows: the same
// values, the inputs labelled in page order, and no sweep while the inputs
// cannot be calculated.

#include <gtest/gtest.h>

#include "core/input/Format.h"
#include "pages/FourRodPage.h"
#include "pages/PageTestSupport.h"
#include "pages/RodLink.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

template <class TPage>
void ExpectRecordIsWhatThePageShows(const Entries& example, ForceLayout layout, const char* name,
                                    const std::string& labels) {
  Started<TPage> s;
  TypeAll(s.page, example);
  const ForcePageRecord r = s.page.Record();
  SCOPED_TRACE(name);
  EXPECT_EQ(r.layout, layout);
  EXPECT_EQ(r.name, name);
  EXPECT_TRUE(r.valid);
  std::string shownLabels;
  for (const LabelledValue& p : r.parameters) {
    shownLabels += p.label + "(" + p.unit + ") ";
    // Every input as typed, R and M too.
    EXPECT_EQ(p.value, CPage::ReadFieldValue(Shown(s.page, p.label))) << p.label;
  }
  EXPECT_EQ(shownLabels, labels);
  EXPECT_EQ(r.theta, 30.0);
  const char* angles[] = {"alpha", "beta", "gamma", "delta"};
  ASSERT_EQ(r.rods.size(), layout == ForceLayout::ThreeRod ? 3u : 4u);
  for (size_t i = 0; i < r.rods.size(); ++i) {
    const RodRecord& rod = r.rods[i];
    const std::string n = std::to_string(i + 1);
    EXPECT_EQ(rod.angle, ParseDouble(Shown(s.page, angles[i]))) << n;
    EXPECT_EQ(rod.lengthText, Shown(s.page, "L" + n));
    EXPECT_EQ(rod.length, CPage::Round2(ParseDouble(rod.lengthText))) << n;
    EXPECT_EQ(rod.extremes.ForcePair(), Shown(s.page, "F" + n + "m"));
    EXPECT_EQ(rod.extremes.AnglePair(), Shown(s.page, "theta" + n));
    for (size_t k = 0; k < 2; ++k) {
      EXPECT_EQ(rod.extremes.forces[k], ParseDouble(rod.extremes.forceTexts[k])) << n;
      EXPECT_EQ(rod.extremes.angles[k], ParseDouble(rod.extremes.angleTexts[k])) << n;
    }
  }
  ASSERT_EQ(r.sweep.points.size(), 361u);
  EXPECT_EQ(r.sweep.points.back().theta, kChartLastTheta);

  Type(s.page, "A", "-1");
  const ForcePageRecord invalid = s.page.Record();
  EXPECT_FALSE(invalid.valid);
  EXPECT_TRUE(invalid.sweep.points.empty());
  EXPECT_FALSE(RodsOf(invalid));
  // The rods keep the last valid calculation, as the page's fields do.
  EXPECT_EQ(invalid.rods[0].extremes.ForcePair(), r.rods[0].extremes.ForcePair());
}

TEST(ForcePageRecord, EachPageRecordsWhatItShows) {
  const std::string shared = "R(KN) M(KN.m) E1(GPa) E2(GPa) E3(GPa) E4(GPa) S1(mm^2) S2(mm^2) S3(mm^2) S4(mm^2) ";
  ExpectRecordIsWhatThePageShows<CThreeRod>(kThreeRodExample, ForceLayout::ThreeRod, "三杆附着",
                                            "A(mm) B(mm) C(mm) D(mm) X1(mm) X2(mm) X3(mm) H(mm) R(KN) M(KN.m) ");
  ExpectRecordIsWhatThePageShows<CFourRodParallelPage>(
      kFourRodIExample, ForceLayout::FourRodParallel, "四杆附着(一)",
      "A(mm) B(mm) C(mm) D(mm) E(mm) F(mm) X1(mm) X2(mm) X3(mm) X4(mm) Y1(mm) Y2(mm) " + shared);
  ExpectRecordIsWhatThePageShows<CFourRodTurnedPage>(
      kFourRodIIExample, ForceLayout::FourRodTurned, "四杆附着(二)",
      "A(mm) B(mm) C(mm) D(mm) E(mm) F(mm) G(mm) H(mm) X1(mm) X2(mm) X3(mm) X4(mm) Y1(mm) Y2(mm) " + shared);
}

// A typed length goes to the rod-check page as typed, and rounded into the
// sweep and the reports.
TEST(ForcePageRecord, TypedLengthsKeepTheirText) {
  Started<CFourRodParallelPage> s;
  TypeAll(s.page, kFourRodIExample);
  ASSERT_TRUE(s.page.UserClick(CFourRodPage::kManualL));
  Type(s.page, "L1", "5000.004");
  const RodRecord rod = s.page.Record().rods[0];
  EXPECT_EQ(rod.lengthText, "5000.004");
  EXPECT_EQ(rod.length, 5000.0);
}

}  // namespace
}  // namespace tiecalc
