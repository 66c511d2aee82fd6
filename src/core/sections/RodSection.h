#pragma once
// Builds the section inputs of the rod check (A, h, Imax, Imin, Ld, G and for
// lattice rods Az, I1, Iz, δ, L1, a) from steel sections of the library and a
// few dimensions, each with the calculation that gives it, for reports.
//
// Units are the rod check's: mm, mm², mm⁴, kg. X is the axis the check
// works about: the weak axis of a solid-web section, the axis across the
// battens or lacing (the virtual axis) of a lattice. h is the farthest fibre
// from X, a the outer side of the section perpendicular to X (the face whose
// battens or lacing carry the shear of buckling about X).
//
// A rod whose section is larger over a middle part of length Ld than towards
// its ends takes the ends' outer width in endWidth (and endDepth); Imin is
// then the section at the ends about the same axis. The rod's weight G counts
// the chords over the whole length and the battens or lacing over the faces,
// whose width falls linearly from the middle part to the ends.

#include <string>
#include <vector>

#include "core/rodcheck/DesignTables.h"
#include "core/rodcheck/RodCheck.h"

namespace tiecalc {

// How two profiles of a solid-web rod are joined.
enum class PairLayout {
  Single,      // one profile alone
  Box,         // two channels toe to toe, or two I-beams side by side, welded into a box
  BackToBack,  // two channels web to web
};

// Where the flanges of the two channels of a two-limb lattice point.
enum class ChannelFlanges { Inward, Outward };

struct RodSectionChoice {
  std::string profile;  // the solid-web profile, or the chord of every limb
  PairLayout pair = PairLayout::Single;              // solid web
  ChannelFlanges flanges = ChannelFlanges::Inward;   // two-limb channels
  // Outer sides of the large section (mm). Two profiles and two-limb
  // lattices: the width across both (over the outermost fibres, 0 for a
  // solid-web pair: as tight as they go). Four-limb: width × depth over the
  // backs of the angles.
  double width = 0;
  double depth = 0;
  double endWidth = 0;  // variable section: the sides at the ends (0: as the middle)
  double endDepth = 0;
  double L = 0;   // rod length
  double Ld = 0;  // variable section: length of the large middle part
  // Battens: plates of battenWidth (along the rod) × battenThickness at the
  // spacing L1 (centre to centre), across every face.
  double battenWidth = 0;
  double battenThickness = 0;
  double spacing = 0;  // L1 of battens; of lacing unless lacingAngle is given
  // Lacing: V-pattern bars of a library section; a positive lacingAngle (°,
  // between a bar and the rod's axis) sets the spacing L1 = 2a / tan(angle).
  std::string lacing;
  double lacingAngle = 0;
};

struct RodSectionInputs {
  double A = 0, h = 0, Imax = 0, Imin = 0, Ld = 0, G = 0;
  double Az = 0, I1 = 0, Iz = 0, delta = 0, L1 = 0, a = 0;
};

// How one input was obtained: "A = 2×2883 = 5766 mm²".
struct InputDerivation {
  std::string name;  // as the check names the input: A, h, Imax, …, delta, L1, a
  double value = 0;
  std::string text;
};

struct BuiltRodSection {
  RodSectionInputs inputs;
  std::vector<InputDerivation> derivations;  // in the order of RodSectionInputs
  std::vector<std::string> notes;            // what the check does not look at
  std::string error;                         // why nothing was built; empty when built
};

BuiltRodSection Build(RodForm form, const RodSectionChoice& choice);

// The section in a line, as engineers name it: "4∟63×6，外廓400×400，缀条∟40×4",
// "2[20b，箱形，外宽200", "2[20a，外宽300，缀板-200×10，L1=600".
std::string DescribeSection(RodForm form, const RodSectionChoice& choice);

// The built inputs in the check's record, the form set.
void ApplyTo(const RodSectionInputs& inputs, RodForm form, RodCheckData& data);

}  // namespace tiecalc
