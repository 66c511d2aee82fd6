#pragma once
// The steel sections a rod is made of: hot-rolled angles, channels and
// I-beams as their standard tables list them, round tubes and square or
// rectangular hollow sections computed from their dimensions. The tables are
// compiled into the program (resources/sections/*.csv, read once on first use).
//
// Designations are kept as engineers write them: ∟63×6, ∟100×63×8, [20b,
// I25a, Φ159×6, □200×10, □200×100×8. FindSection also takes them typed in
// ASCII or with other marks, case and blanks ignored:
//   equal angle      ∟63×6, ∠63×6, L63x6, 63x6, L63x63x6, L63*6
//   unequal angle    ∟100×63×8, L100x63x8, 100x63x8
//   channel          [20b, C20b, 槽20b, [20B
//   I-beam           I25a, 工25a, i25a
//   round tube       Φ159×6, φ159x6, D159x6, P159x6
//   hollow section   □200×10, 口200x10, SHS200x10, □200×200×10 (square);
//                    □200×100×8, RHS200x100x8 (rectangular)
// "×", "x", "X" and "*" all separate the numbers.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tiecalc {

enum class SectionFamily {
  EqualAngle,    // 热轧等边角钢
  UnequalAngle,  // 热轧不等边角钢
  Channel,       // 热轧槽钢
  IBeam,         // 热轧工字钢
  RoundTube,     // 圆钢管
  HollowSection  // 方矩形钢管
};

// One section. Dimensions in mm, properties in the tables' units: A cm²,
// I cm⁴, i cm, W cm³, centroid distances cm, m kg/m. A property the family
// does not have is 0.
struct SteelSection {
  SectionFamily family = SectionFamily::EqualAngle;
  std::string designation;  // as engineers write it
  std::string kind;         // round tubes: 无缝 (seamless) or 焊接 (welded)

  // Dimensions (mm).
  double h = 0;   // depth; long leg B of an unequal angle; leg b of an equal
                  // angle; outer diameter of a tube; outer depth of a hollow section
  double b = 0;   // flange width; short leg; outer width of a hollow section
  double d = 0;   // web, leg or wall thickness
  double t = 0;   // mean flange thickness (channel, I-beam)
  double r = 0;   // root radius; outer corner radius of a hollow section
  double r1 = 0;  // toe radius (d/3 for angles); inner corner radius of a hollow section

  double A = 0;  // area
  double m = 0;  // mass per metre

  // Axes: x and y through the centroid, x the strong axis of channels and
  // I-beams and perpendicular to the long leg of an unequal angle (parallel to
  // a leg of an equal angle, where Iy = Ix); x0 and y0 the principal axes of an
  // equal angle (x0 the major); u the minor principal axis of an unequal angle.
  double Ix = 0, ix = 0, Wx = 0;
  double Iy = 0, iy = 0, Wy = 0;
  double Ix0 = 0, ix0 = 0, Wx0 = 0;
  double Iy0 = 0, iy0 = 0, Wy0 = 0;
  double Iu = 0, iu = 0, Wu = 0;
  double tanAlpha = 0;  // unequal angle: slope of the u axis to the y axis
  // Centroid: z0 from the back of a leg (equal angle) or of the web
  // (channel); x0 from the back of the long leg and y0 from the back of the
  // short leg (unequal angle).
  double z0 = 0, x0 = 0, y0 = 0;

  // The least second moment (cm⁴) and the axis it is about, as the tables name
  // it: y0, u, y, or x/y of a hollow section.
  double LeastI() const;
  // The radius of gyration (cm) about that axis, as the table prints it.
  double LeastRadius() const;
  const char* LeastAxis() const;
  // The distance (mm) from the axis of LeastI to the farthest fibre.
  double LeastAxisExtreme() const;
};

// Every section of a family, in the order of its table.
const std::vector<SteelSection>& SectionsOf(SectionFamily family);

// The section a designation names (see above), or nullptr.
const SteelSection* FindSection(std::string_view designation);

// A designation written as engineers write it ("L63x6" -> "∟63×6"), or
// nullopt when the text names no section form at all. The section itself need
// not exist.
std::optional<std::string> NormalizeDesignation(std::string_view text);

// The standard a section's table follows: "GB/T 706" for the rolled
// profiles, the tube standards by kind, "GB/T 6728" for hollow sections.
const char* SectionStandard(const SteelSection& section);

// The family's name as a table title says it ("热轧等边角钢").
const char* FamilyName(SectionFamily family);

// The tables as they are compiled in: one CSV text per family (for the loader
// and for tests that compare it with the files of the source tree).
std::string_view EmbeddedTable(SectionFamily family);

}  // namespace tiecalc
