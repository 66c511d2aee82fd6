#pragma once
// The checks of an attachment rod: stiffness (slenderness), overall stability
// under the axial force plus the bending of its own weight, and for lattice
// rods the single limb between battens or lacing points and the battens or
// lacing themselves. The checks take numbers and return the texts the
// rod-check page shows; they never touch a window.

#include <string>
#include <vector>

#include "core/input/FieldText.h"
#include "core/rodcheck/DesignTables.h"

namespace tiecalc {

// The record of one rod check: filled by the page (inputs, selections), by the
// checks (results, message) and read by the rod-check report.
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
  std::string message;   // verdict lines, or kRodCheckInvalidInput
};

// The message of a run whose inputs cannot be checked.
inline constexpr const char* kRodCheckInvalidInput = "请设定正确参数！";

// Output controls of the rod-check page.
struct RodCheckId {
  static constexpr int kMu = 1011;
  static constexpr int kLambda = 1076;
  static constexpr int kPsi = 1073;
  static constexpr int kSigma = 1070;
  static constexpr int kLambda1 = 1075;
  static constexpr int kPsi1 = 1072;
  static constexpr int kSigma1 = 1069;
  static constexpr int kLambdaZ = 1074;
  static constexpr int kPsiZ = 1071;
  static constexpr int kSigmaZ = 1068;
  static constexpr int kMessage = 1077;
};

// One output control and the text it receives.
struct ShownText {
  int controlId = 0;
  std::string text;
  bool operator==(const ShownText&) const = default;
};

// What one run shows: the texts in the order they are set, the message
// (RodCheckId::kMessage) always last. Controls not listed keep their texts.
struct RodCheckDisplay {
  std::vector<ShownText> texts;

  // The text set into controlId, or nullptr when the run leaves it alone.
  const std::string* Find(int controlId) const;
  // The message text (the last entry).
  const std::string& Message() const;
};

// The conditions under which the check of form refuses the inputs of data
// (after a run, which sets data.mu), each with the inputs it involves; empty
// exactly when the run's message is not kRodCheckInvalidInput.
std::vector<BrokenRule> BrokenRodCheckRules(const RodCheckData& data, RodForm form);

// The allowable stress of a grade: 235 / k or 345 / k, MPa.
double AllowableStress(SteelGrade grade, double k);

// The five checks. Each fills the results and the message of data and returns
// the texts to show. On invalid inputs only μ and the message are shown and the
// other results of data keep their previous values.
RodCheckDisplay CheckSolidWeb(RodCheckData& data);
RodCheckDisplay CheckTwoLimbBattened(RodCheckData& data);
RodCheckDisplay CheckTwoLimbLaced(RodCheckData& data);
RodCheckDisplay CheckFourLimbBattened(RodCheckData& data);
RodCheckDisplay CheckFourLimbLaced(RodCheckData& data);

}  // namespace tiecalc
