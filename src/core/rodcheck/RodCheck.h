#pragma once
// The checks of an attachment rod: stiffness (slenderness), overall stability
// under the axial force plus the bending of its own weight, and for lattice
// rods the single limb between battens or lacing points and the battens or
// lacing themselves. The checks take numbers and return the texts the
// rod-check page shows; they never touch a window.

#include <vector>

#include "core/input/FieldText.h"
#include "core/rodcheck/DesignTables.h"

namespace tiecalc {

// How a value fared in one check: it held, it failed, or it passed neither
// test (a zero slenderness, a zero or negative stress), which gives no verdict.
enum class CheckOutcome : unsigned char { NotJudged, Holds, Fails };

// What one run found. Inputs that cannot be checked give no outcomes; a form
// leaves the checks it does not make NotJudged.
struct RodCheckVerdict {
  bool inputValid = false;
  CheckOutcome overallStiffness = CheckOutcome::NotJudged;  // λ (λ换) < 120
  CheckOutcome limbStiffness = CheckOutcome::NotJudged;     // λ1 (lattice forms)
  CheckOutcome lacingStiffness = CheckOutcome::NotJudged;   // λz < 120 (laced forms)
  CheckOutcome overallStability = CheckOutcome::NotJudged;  // σ < [σ] of the main grade
  CheckOutcome limbStability = CheckOutcome::NotJudged;     // σ1 < [σ] of the main grade (lattice forms)
  // σz < [σ] of the lacing grade: the battens' strength or the lacing bars'
  // stability (lattice forms)
  CheckOutcome lacingMembers = CheckOutcome::NotJudged;

  // Some check failed (a valid run only).
  bool AnyFails() const;
  bool operator==(const RodCheckVerdict&) const = default;
};

// The record of one rod check: filled by the page (inputs, selections), by the
// checks (results, verdict) and read by the rod-check report.
struct RodCheckData {
  // Inputs (mm, kN, kg, mm², mm⁴).
  double F = 0.0;      // axial load, kN; positive presses the rod
  double L = 0.0;      // rod length
  double G = 0.0;      // rod weight, kg
  double A = 0.0;      // total area of the main limbs of the large section
  double h = 0.0;      // extreme point of the large section to the X axis
  double Imax = 0.0;   // large section about the X axis
  double Imin = 0.0;   // small section about the X axis
  double Ld = 0.0;     // length of the large section
  double k = 1.34;     // material safety factor
  double Az = 0.0;     // one batten or one lacing bar (lattice forms)
  double I1 = 0.0;     // one chord limb about its weak axis (lattice forms)
  double Iz = 0.0;     // batten about its y axis, or lacing bar weak axis
  double delta = 0.0;  // batten thickness (battened forms)
  double L1 = 0.0;     // batten or lacing spacing (lattice forms)
  double a = 0.0;      // side of the batten or lacing face (lattice forms)

  // Selections. A check sets form to its own form when it runs.
  RodForm form = RodForm::SolidWeb;
  SteelGrade mainGrade = SteelGrade::Q235;
  SteelGrade lacingGrade = SteelGrade::Q235;

  // Results of the last run. For lattice forms lambda is the converted
  // slenderness λ换. Results a form does not compute keep their old values.
  double mu = 1.0;       // length factor
  double r = 0.0;        // overall radius of gyration, mm
  double r1 = 0.0;       // single-limb radius, mm
  double rz = 0.0;       // lacing-bar radius, mm
  double lambda = 0.0;   // overall (converted) slenderness
  double lambda1 = 0.0;  // single-limb slenderness
  double lambdaZ = 0.0;  // lacing-bar slenderness
  double psi = 1.0;      // overall stability coefficient
  double psi1 = 1.0;     // single-limb stability coefficient
  double psiZ = 1.0;     // lacing-bar stability coefficient
  double M = 0.0;        // self-weight moment, N·mm
  double W = 0.0;        // section modulus, mm³
  double Fe = 0.0;       // Euler load, N
  double sigma = 0.0;    // overall stress, MPa
  double sigma1 = 0.0;   // single-limb stress, MPa
  double sigmaZ = 0.0;   // batten or lacing stress, MPa
  RodCheckVerdict verdict;
};

// The conditions under which the check of form refuses the inputs of data
// (after a run, which sets data.mu), each with the inputs it involves; empty
// exactly when the run found the inputs valid.
std::vector<BrokenRule> BrokenRodCheckRules(const RodCheckData& data, RodForm form);

// The allowable stress of a grade: 235 / k or 345 / k, MPa.
double AllowableStress(SteelGrade grade, double k);

// The five checks. Each sets data.form, μ and the verdict; on valid inputs
// also the results of its form. On invalid inputs the other results keep
// their previous values.
void CheckSolidWeb(RodCheckData& data);
void CheckTwoLimbBattened(RodCheckData& data);
void CheckTwoLimbLaced(RodCheckData& data);
void CheckFourLimbBattened(RodCheckData& data);
void CheckFourLimbLaced(RodCheckData& data);
// The check of form.
void CheckRod(RodCheckData& data, RodForm form);

}  // namespace tiecalc
