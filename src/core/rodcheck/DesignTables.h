#pragma once
// Design tables of the rod check: the stability coefficient of axially
// compressed class-b sections, and the length factor of a rod whose section
// is larger over a middle part than towards its ends.

namespace tiecalc {

enum class SteelGrade { Q235 = 0, Q345 = 1 };

// By the index of the form list.
enum class RodForm {
  SolidWeb = 0,          // 实腹式
  TwoLimbBattened = 1,   // 两肢缀板式
  TwoLimbLaced = 2,      // 两肢缀条式
  FourLimbBattened = 3,  // 四肢缀板式
  FourLimbLaced = 4,     // 四肢缀条式
};

inline bool IsLattice(RodForm f) { return f != RodForm::SolidWeb; }
inline bool IsBattened(RodForm f) { return f == RodForm::TwoLimbBattened || f == RodForm::FourLimbBattened; }
inline bool IsLaced(RodForm f) { return f == RodForm::TwoLimbLaced || f == RodForm::FourLimbLaced; }

// ψ of class-b sections for λ = 0..250 (entries 251..299 are 0).
extern const double kPsiTableB[300];

// μ by q = Imin/Imax (rows 0, 0.1, 0.2, 0.4, 0.6, 0.8, 1.0) and p = Ld/L
// (columns 0, 0.2, 0.4, 0.6, 0.8), row by row.
extern const double kMuTableSolid[35];
extern const double kMuTableTwoLimb[35];
extern const double kMuTableFourLimb[35];

// ψ for slenderness lambda; a Q345 member is looked up at λ·1.21165.
// Outside the table (below 0, from 251 on, not a number) the result is 1.0.
double LookupPsi(SteelGrade grade, double lambda);

// μ of a stepped rod of the given form: at least 1.0 for ratios inside 0..1,
// -1.0 as an error mark when Imin/Imax or Ld/L lies outside 0..1 or is not a
// number. Callers take μ = 1.0 without a lookup when Imax = Imin.
double LookupMu(RodForm form, double L, double Ld, double Imax, double Imin);

}  // namespace tiecalc
