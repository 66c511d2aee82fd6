#pragma once
// Four-rod attachment frame: once statically indeterminate, solved by the
// force method.
//
// Frame: origin at the mast centre (where M acts), x along the building face
// towards rods 1 and 2, y towards the building. Rod i runs from its
// tower-side point T_i to the building; rod 1 at the angle alpha and rod 2 at
// beta from +x towards +y, rod 3 at gamma and rod 4 at delta from -x towards
// +y. Rods 3 and 4 are described in the mirrored coordinate x' = -x.
//
// Rods 1 and 2 are extended to their intersection P, rods 3 and 4 to Q. The
// base structure (redundant removed) is solved once under the loads and once
// under a unit redundant; the redundant follows from zero displacement along
// it, by virtual work with the flexibilities L_i / (E_i * S_i) of the real
// rods. Nothing is checked: degenerate geometry (parallel rods, P and Q on one
// vertical, ...) gives non-finite numbers.

#include <array>
#include <string>

namespace tiecalc {

using Rod4 = std::array<double, 4>;

// Rod angles in degrees, rounded to two decimals by the page.
struct FourRodAngles {
  double Alpha = 0.0;
  double Beta = 0.0;
  double Gamma = 0.0;
  double Delta = 0.0;
};

// Angles and tower-side points: T1, T2 in the x frame, T3, T4 mirrored.
struct FourRodGeometry {
  FourRodAngles Angles;
  double t1x = 0.0, t1y = 0.0;
  double t2x = 0.0, t2y = 0.0;
  double t3x = 0.0, t3y = 0.0;  // t3x is x' = -x
  double t4x = 0.0, t4y = 0.0;  // t4x is x' = -x
};

// The theta-independent part of the solution. Rod i's force is
//   F_i = (m[i] * M * 1000 + cos(theta) * c[i] * R + sin(theta) * s[i] * R) / W.
struct FourRodCoefficients {
  double yP = 0.0, xP = 0.0;  // rods 1 and 2 meet at P (x frame)
  double yQ = 0.0, xQ = 0.0;  // rods 3 and 4 meet at Q (xQ is x')
  double W = 0.0;             // xP + xQ
  Rod4 s{}, c{}, m{};         // final coefficients of R sin, R cos, M * 1000
  Rod4 ux{}, uy{};            // unit vector of each rod, tower to building (components)
};

// Rod forces (kN) and the components of F_i * u_i.
struct FourRodForces {
  Rod4 F{};
  Rod4 Fx{};
  Rod4 Fy{};
};

// The two extreme forces of one rod over every direction of R and either
// sense of M, and the directions phi, phi + 180 at which they occur.
struct FourRodExtreme {
  double First = 0.0;
  double Second = 0.0;
  double Phi = 0.0;       // degrees, -180..180
  double PhiOpposite = 0.0;
  std::string ForceText;  // "%.2f/%.2f" of First, Second
  std::string AngleText;  // "%.2f/%.2f" of Phi, PhiOpposite
};

// Coefficients from the geometry and the real lengths L (mm), moduli E (GPa)
// and section areas S (mm^2). The caller guarantees E_i > 0 and S_i > 0.
FourRodCoefficients PrepareFourRod(const FourRodGeometry& g, const Rod4& L, const Rod4& E, const Rod4& S);

// Forces for R (kN) in the direction theta (degrees) and M (kN*m); cheap, for
// the 360-row sweep.
FourRodForces FourRodForcesAt(const FourRodCoefficients& k, double R, double M, double theta);

// The extremes of the four rods.
std::array<FourRodExtreme, 4> FourRodExtremes(const FourRodCoefficients& k, double R, double M);

}  // namespace tiecalc
