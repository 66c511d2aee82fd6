#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/rodcheck/DesignTables.h"

namespace tiecalc {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Class-b stability coefficient from its closed form (Perry type, imperfection
// factors 0.65 / 0.965 / 0.300), fy = 235 MPa, E = 206000 MPa.
double ClassBCoefficient(double lambda) {
  const double pi = 3.14159265358979323846;
  const double ln = lambda / pi * std::sqrt(235.0 / 206000.0);
  if (ln <= 0.215) return 1 - 0.65 * ln * ln;
  const double s = 0.965 + 0.300 * ln + ln * ln;
  return (s - std::sqrt(s * s - 4 * ln * ln)) / (2 * ln * ln);
}

TEST(PsiTable, EveryEntryAgreesWithTheClosedForm) {
  std::string beyond;
  for (int lambda = 0; lambda <= 250; ++lambda) {
    const double diff = kPsiTableB[lambda] - ClassBCoefficient(lambda);
    if (std::fabs(diff) > 0.0015)
      beyond += " " + std::to_string(lambda) + ":" + std::to_string(diff);
  }
  EXPECT_EQ(beyond, "") << "entries off the closed form by more than 0.0015";
}

TEST(PsiTable, FallsMonotonicallyAndEndsInZeros) {
  EXPECT_EQ(kPsiTableB[0], 1.0);
  EXPECT_EQ(kPsiTableB[250], 0.123);
  for (int i = 1; i <= 250; ++i) EXPECT_LE(kPsiTableB[i], kPsiTableB[i - 1]) << i;
  for (int i = 251; i < 300; ++i) EXPECT_EQ(kPsiTableB[i], 0.0) << i;
}

// Sums of the printed tables in their last digits, plain and weighted by the
// position of each entry: a mistyped digit changes the first, two entries
// swapped change the second.
struct Checksum {
  long long sum = 0;
  long long weighted = 0;
};
Checksum InLastDigits(const double* table, int count, double scale) {
  Checksum c;
  for (int i = 0; i < count; ++i) {
    const long long units = std::llround(table[i] * scale);
    EXPECT_NEAR(table[i] * scale, static_cast<double>(units), 1e-9) << i << " has more digits";
    c.sum += units;
    c.weighted += i * units;
  }
  return c;
}

TEST(PsiTable, MatchesThePrintedTableDigitForDigit) {
  const Checksum c = InLastDigits(kPsiTableB, 251, 1000);
  EXPECT_EQ(c.sum, 124067);
  EXPECT_EQ(c.weighted, 10109707);
}

TEST(MuTables, MatchThePrintedTablesDigitForDigit) {
  const Checksum solid = InLastDigits(kMuTableSolid, 35, 100);
  EXPECT_EQ(solid.sum, 3812);
  EXPECT_EQ(solid.weighted, 61617);
  const Checksum twoLimb = InLastDigits(kMuTableTwoLimb, 35, 100);
  EXPECT_EQ(twoLimb.sum, 3682);
  EXPECT_EQ(twoLimb.weighted, 61015);
  const Checksum fourLimb = InLastDigits(kMuTableFourLimb, 35, 100);
  EXPECT_EQ(fourLimb.sum, 3759);
  EXPECT_EQ(fourLimb.weighted, 61403);
}

TEST(LookupPsi, InterpolatesWithinTheTable) {
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, 0), 1.0);
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, 120), 0.437);
  EXPECT_NEAR(LookupPsi(SteelGrade::Q235, 45.5), 0.876, 1e-12);
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, 250), 0.123);
  EXPECT_NEAR(LookupPsi(SteelGrade::Q235, 250.5), 0.0615, 1e-12);
  for (int i = 0; i <= 250; ++i) EXPECT_EQ(LookupPsi(SteelGrade::Q235, i), kPsiTableB[i]);
}

TEST(LookupPsi, Q345ScalesTheSlenderness) {
  // 100 · 1.21165 = 121.165: 0.432 - 0.006 · 0.165.
  EXPECT_NEAR(LookupPsi(SteelGrade::Q345, 100), 0.43101, 1e-12);
  EXPECT_EQ(LookupPsi(SteelGrade::Q345, 0), 1.0);
  EXPECT_NEAR(LookupPsi(SteelGrade::Q345, 50), LookupPsi(SteelGrade::Q235, 60.5825), 1e-12);
}

TEST(LookupPsi, OutsideTheTableGivesOne) {
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, 251), 1.0);
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, 1e6), 1.0);
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, -0.5), 1.0);
  EXPECT_EQ(LookupPsi(SteelGrade::Q345, -3), 1.0);
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, kNaN), 1.0);
  EXPECT_EQ(LookupPsi(SteelGrade::Q235, std::numeric_limits<double>::infinity()), 1.0);
  // 207.2 · 1.21165 = 251.05...: off the table for Q345 only.
  EXPECT_EQ(LookupPsi(SteelGrade::Q345, 207.2), 1.0);
  EXPECT_LT(LookupPsi(SteelGrade::Q235, 207.2), 0.2);
}

const double kRowQ[7] = {0, 0.1, 0.2, 0.4, 0.6, 0.8, 1.0};
const double kColumnP[5] = {0, 0.2, 0.4, 0.6, 0.8};

struct FormTable {
  RodForm form;
  const double* table;
};
const FormTable kForms[] = {
    {RodForm::SolidWeb, kMuTableSolid},
    {RodForm::TwoLimbBattened, kMuTableTwoLimb},
    {RodForm::TwoLimbLaced, kMuTableTwoLimb},
    {RodForm::FourLimbBattened, kMuTableFourLimb},
    {RodForm::FourLimbLaced, kMuTableFourLimb},
};

// μ at q = Imin/Imax and p = Ld/L.
double Mu(RodForm form, double q, double p) { return LookupMu(form, 1000, p * 1000, 1, q); }

TEST(LookupMu, HitsEveryTableNodeOfItsForm) {
  for (const FormTable& f : kForms)
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(Mu(f.form, kRowQ[i], kColumnP[j]), f.table[i * 5 + j], 1e-12)
            << static_cast<int>(f.form) << " q " << kRowQ[i] << " p " << kColumnP[j];
}

TEST(LookupMu, IsContinuousAcrossIntervalBoundaries) {
  // A wrong step (0.2 taken for the first two rows, or the other way) would
  // break the surface at the row boundaries.
  const double eps = 1e-9;
  for (const FormTable& f : kForms) {
    for (int i = 1; i < 6; ++i)
      for (double p : {0.1, 0.3, 0.5, 0.7})
        EXPECT_NEAR(Mu(f.form, kRowQ[i] - eps, p), Mu(f.form, kRowQ[i], p), 1e-6)
            << "q " << kRowQ[i] << " p " << p;
    for (int j = 1; j < 4; ++j)
      for (double q : {0.05, 0.15, 0.3, 0.5, 0.7, 0.9})
        EXPECT_NEAR(Mu(f.form, q, kColumnP[j] - eps), Mu(f.form, q, kColumnP[j]), 1e-6)
            << "q " << q << " p " << kColumnP[j];
    // Towards the far edges the surface meets the 1.0 given there.
    EXPECT_NEAR(Mu(f.form, 0.3, 0.8 - eps), 1.0, 1e-6);
    EXPECT_NEAR(Mu(f.form, 1.0 - eps, 0.3), 1.0, 1e-6);
  }
}

TEST(LookupMu, InterpolatesBilinearlyInTheFormsTable) {
  // a = 1.06 at p = 0.4, b = 1.02 at p = 0.6, taken at the midpoint.
  EXPECT_NEAR(LookupMu(RodForm::SolidWeb, 8000, 4000, 1.5e8, 4.5e7), 1.04, 1e-12);
  EXPECT_NEAR(LookupMu(RodForm::TwoLimbBattened, 8000, 4000, 1.5e8, 4.5e7), 1.0275, 1e-12);
  EXPECT_NEAR(LookupMu(RodForm::FourLimbLaced, 8000, 4000, 1.5e8, 4.5e7), 1.035, 1e-12);
  // Inside one cell: 1.40 + (1.27 - 1.40)/0.1·0.05 = 1.335 and 1.235 at p = 0.2,
  // a quarter of the way.
  EXPECT_NEAR(Mu(RodForm::SolidWeb, 0.15, 0.05), 1.335 + (1.235 - 1.335) * 0.25, 1e-12);
}

TEST(LookupMu, FarEdgesGiveOne) {
  for (const FormTable& f : kForms) {
    for (double q : {0.0, 0.05, 0.5, 0.99, 1.0})
      for (double p : {0.8, 0.9, 1.0}) EXPECT_EQ(Mu(f.form, q, p), 1.0) << q << " " << p;
    for (double p : {0.0, 0.3, 0.79}) EXPECT_EQ(Mu(f.form, 1.0, p), 1.0) << p;
  }
}

TEST(LookupMu, RatiosOutsideZeroToOneGiveTheErrorMark) {
  for (const FormTable& f : kForms) {
    EXPECT_EQ(Mu(f.form, 0.5, 1.2), -1.0);
    EXPECT_EQ(Mu(f.form, 1.0001, 0.5), -1.0);  // Imin greater than Imax
    EXPECT_EQ(Mu(f.form, -0.1, 0.5), -1.0);
    EXPECT_EQ(Mu(f.form, 0.5, -0.1), -1.0);
    EXPECT_EQ(LookupMu(f.form, 1000, 500, 0, 5), -1.0);    // Imax = 0: q infinite
    EXPECT_EQ(LookupMu(f.form, 0, 0, 5, 1), -1.0);         // L = Ld = 0: p not a number
    EXPECT_EQ(LookupMu(f.form, 0, 500, 5, 1), -1.0);       // L = 0: p infinite
    EXPECT_EQ(LookupMu(f.form, 1000, kNaN, 5, 1), -1.0);
  }
}

}  // namespace
}  // namespace tiecalc
