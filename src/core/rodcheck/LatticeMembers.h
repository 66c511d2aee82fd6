#pragma once
// The battens and lacing of a lattice rod: the lateral force the rod passes to
// them and what it does to one batten or one lacing bar. Parts of the lattice
// checks, kept apart so that their intermediate values can be looked at.

#include "core/rodcheck/DesignTables.h"

namespace tiecalc {

// Lateral (shear) force of a rod of total limb area A under overall stress
// sigma, N: A·σ/85, times sqrt(345/235) for Q345 limbs.
double LateralForce(double A, double sigma, SteelGrade mainGrade);

// One batten under the lateral force V.
struct BattenStress {
  double T = 0.0;       // shear of one batten, N
  double Mb = 0.0;      // its moment, N·mm
  double Wb = 0.0;      // its section modulus, mm³
  double sigmaB = 0.0;  // bending stress, MPa
  double tau = 0.0;     // shear stress, MPa
  double sigmaZ = 0.0;  // combined stress, MPa
};
BattenStress BattenStresses(double V, double L1, double a, double Az, double Iz, double delta);

// Length of one bar of a V lacing of panel length L1 across a face of side a.
double LacingBarLength(double L1, double a);

// Axial force of one lacing bar of length ld under the lateral force V, N.
double LacingBarForce(double V, double ld, double a);

}  // namespace tiecalc
