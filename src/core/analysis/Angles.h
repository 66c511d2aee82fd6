#pragma once
// Degrees and radians as the force models convert them: with the constant
// 3.1416 in both directions, so an angle survives the round trip.

namespace tiecalc {

inline constexpr double kModelPi = 3.1416;

// x degrees in radians: (x * 3.1416) / 180.
inline double Rad(double degrees) { return (degrees * kModelPi) / 180.0; }

// y radians in degrees: (y * 180) / 3.1416.
inline double Deg(double radians) { return (radians * 180.0) / kModelPi; }

}  // namespace tiecalc
