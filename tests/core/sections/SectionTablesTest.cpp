#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/sections/SectionGeometry.h"
#include "core/sections/SteelSection.h"

namespace tiecalc {
namespace {

// A table file of the source tree, read here on its own: rows of printed texts
// by column name.
std::vector<std::map<std::string, std::string>> ReadSourceTable(const std::string& name) {
  std::ifstream in(std::string(TIECALC_SOURCE_DIR) + "/resources/sections/" + name);
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<std::string> header;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
    if (header.empty()) {
      header = cells;
      continue;
    }
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < cells.size() && i < header.size(); ++i) row[header[i]] = cells[i];
    rows.push_back(row);
  }
  return rows;
}

// Half a unit in the last printed digit: what the table's own rounding allows.
double HalfUnit(const std::string& printed) {
  const auto point = printed.find('.');
  return point == std::string::npos ? 0.5 : 0.5 * std::pow(10.0, -static_cast<double>(printed.size() - point - 1));
}

// Figures of the printed tables that disagree with their own sections'
// outlines beyond 1 %, found by this walk and left as printed. "Copies agree":
// the public copies of the table named in the file's header print the same
// figure, so it is the table's and stays; "the table's": no copy prints the
// column, but figures of the row that copies do print, or that come from it
// by formula, follow from this one and not from the outline's (a figure typed
// wrong here would stand alone); "unchecked": neither. In the rows marked
// "consistent" the figures follow each other (i = √(I/A), W = I/c) but not the
// outline; in the others a single figure is off.
const std::map<std::string, std::set<std::string>> kFiguresInDoubt = {
    {"∟36×5", {"Wy0"}},                  // unchecked: 1.00 against 1.09 from its own Iy0 and z0
    {"∟180×18", {"Iy0", "Wy0"}},         // the table's: Iy0 = 2Ix − Ix0 = 762.01 with its Ix 1875.12 ([J]),
                                         // 6.00 below the outline's; the outline: 774.0
    {"∟70×45×4", {"Iu"}},                // the table's: iu 0.98 and tanα 0.410 follow from 4.40, not 4.47
    {"∟75×50×5", {"Iu"}},                // the table's: iu 1.10 and tanα 0.435 follow from 7.41, not 7.32
    {"[6.3", {"z0", "Wy"}},              // copies agree: z0 1.36 against 1.39
    {"[6.5", {"Iy", "z0"}},              // unchecked, consistent: z0 1.38 against 1.40, Wy = Iy/(b − z0)
    {"[25b", {"Ix", "ix", "Wx"}},        // copies agree, consistent: 3530 against 3620
    {"[25c", {"Ix", "ix", "Wx", "z0", "Wy"}},  // copies agree, consistent: 3690 against 3880
    {"[28c", {"Iy", "z0"}},              // copies agree
    {"[30a", {"z0"}},                    // unchecked, consistent: Wy = 260/(8.5 − 2.17) = 41.1 as printed
    {"[32a", {"Ix", "Wx"}},              // copies agree, consistent: 7600 against 7511
    {"[32b", {"Ix"}},                    // copies agree
    {"[32c", {"Ix", "Iy", "iy", "z0", "Wy"}},  // copies agree
    {"I25b", {"Iy", "iy", "Wy"}},        // copies agree, consistent: Iy 309 against 297
    {"I28b", {"Iy", "iy", "Wy"}},        // copies agree, consistent: Iy 379 against 364
    {"I50c", {"Wx"}},                    // copies agree: 2080 printed, 50600/25 = 2024
    {"I56b", {"Iy", "iy", "Wy"}},        // copies agree, consistent: Iy 1490 against 1424
    {"I56c", {"Iy", "iy", "Wy"}},        // copies agree, consistent: Iy 1560 against 1485
    {"I63b", {"Iy", "Wy"}},              // copies agree, consistent: Iy 1810 against 1771
    {"I63c", {"Iy", "iy", "Wy"}},        // copies agree, consistent: Iy 1920 against 1842
};

struct Walk {
  int rows = 0;
  std::vector<std::string> failures;     // figures off, not in doubt
  std::set<std::string> doubtsSeen;      // "row:column" of the figures in doubt that are off

  // printed against calc: within 1 % plus the printing's rounding.
  void Check(const std::string& row, const std::string& column, const std::string& printed, double calc,
             double share = 0.01) {
    const double value = std::stod(printed);
    const bool off = std::fabs(value - calc) > share * std::fabs(calc) + HalfUnit(printed);
    const auto doubt = kFiguresInDoubt.find(row);
    const bool inDoubt = doubt != kFiguresInDoubt.end() && doubt->second.count(column);
    if (off && inDoubt) doubtsSeen.insert(row + ":" + column);
    if (off && !inDoubt) failures.push_back(row + " " + column + " " + printed + " ≠ " + std::to_string(calc));
  }
};

// The outline of a row's section and its properties in cm units.
AreaProperties OutlineProperties(const SteelSection& s) {
  const SectionOutline o = OutlineOf(s, 96);
  AreaProperties p = PropertiesOf(o.outer, o.holes);
  p.A /= 100, p.cx /= 10, p.cy /= 10, p.Ixx /= 1e4, p.Iyy /= 1e4, p.Imajor /= 1e4, p.Iminor /= 1e4;
  return p;
}

const SteelSection& Section(const std::map<std::string, std::string>& row) {
  const SteelSection* s = FindSection(row.at("designation"));
  if (!s) throw std::runtime_error("not in the library: " + row.at("designation"));
  return *s;
}

// The area by the standard's formulas (mm²): angles d(B + b − d) + 0.215(r² − 2r1²),
// channels hd + 2t(b − d) + 0.349(r² − r1²), I-beams hd + 2t(b − d) + 0.615(r² − r1²).
double StandardArea(const SteelSection& s) {
  switch (s.family) {
    case SectionFamily::EqualAngle: return s.d * (2 * s.h - s.d) + 0.215 * (s.r * s.r - 2 * s.r1 * s.r1);
    case SectionFamily::UnequalAngle: return s.d * (s.h + s.b - s.d) + 0.215 * (s.r * s.r - 2 * s.r1 * s.r1);
    case SectionFamily::Channel: return s.h * s.d + 2 * s.t * (s.b - s.d) + 0.349 * (s.r * s.r - s.r1 * s.r1);
    default: return s.h * s.d + 2 * s.t * (s.b - s.d) + 0.615 * (s.r * s.r - s.r1 * s.r1);
  }
}

// Area, mass and centroid of any row.
void CheckCommon(Walk& walk, const std::string& name, const std::map<std::string, std::string>& row,
                 const SteelSection& s, const AreaProperties& p) {
  ++walk.rows;
  EXPECT_EQ(s.A, std::stod(row.at("A"))) << name << ": the library holds another area than the file";
  walk.Check(name, "A", row.at("A"), p.A);
  walk.Check(name, "A", row.at("A"), StandardArea(s) / 100);
  walk.Check(name, "m", row.at("m"), 0.785 * std::stod(row.at("A")), 0.005);
  // Angles print A and m to the third decimal: a digit typed wrong hides in the
  // 1 % above, not here.
  if (s.family == SectionFamily::EqualAngle || s.family == SectionFamily::UnequalAngle) {
    EXPECT_NEAR(std::stod(row.at("m")), 0.785 * s.A, 0.001) << name;
    EXPECT_NEAR(s.A, StandardArea(s) / 100, 0.01) << name;
  }
}

TEST(SectionTables, EveryRowFollowsFromItsDimensions) {
  Walk walk;
  for (const auto& row : ReadSourceTable("equal_angles.csv")) {
    const SteelSection& s = Section(row);
    const AreaProperties p = OutlineProperties(s);
    const std::string& n = s.designation;
    CheckCommon(walk, n, row, s, p);
    walk.Check(n, "Ix", row.at("Ix"), p.Ixx);
    walk.Check(n, "Ix0", row.at("Ix0"), p.Imajor);
    walk.Check(n, "Iy0", row.at("Iy0"), p.Iminor);
    walk.Check(n, "z0", row.at("z0"), p.cx);
    walk.Check(n, "ix", row.at("ix"), std::sqrt(p.Ixx / p.A));
    walk.Check(n, "ix0", row.at("ix0"), std::sqrt(p.Imajor / p.A));
    walk.Check(n, "iy0", row.at("iy0"), std::sqrt(p.Iminor / p.A));
    walk.Check(n, "Wx", row.at("Wx"), p.Ixx / (s.h / 10 - p.cx));
    walk.Check(n, "Wx0", row.at("Wx0"), p.Imajor / (s.h / 10 / std::sqrt(2.0)));
    walk.Check(n, "Wy0", row.at("Wy0"), p.Iminor / (p.cx * std::sqrt(2.0)));
  }
  for (const auto& row : ReadSourceTable("unequal_angles.csv")) {
    const SteelSection& s = Section(row);
    const AreaProperties p = OutlineProperties(s);
    const std::string& n = s.designation;
    CheckCommon(walk, n, row, s, p);
    walk.Check(n, "Ix", row.at("Ix"), p.Ixx);
    walk.Check(n, "Iy", row.at("Iy"), p.Iyy);
    walk.Check(n, "Iu", row.at("Iu"), p.Iminor);
    walk.Check(n, "tanα", row.at("tanα"), p.minorSlope);
    walk.Check(n, "x0", row.at("x0"), p.cx);
    walk.Check(n, "y0", row.at("y0"), p.cy);
    walk.Check(n, "ix", row.at("ix"), std::sqrt(p.Ixx / p.A));
    walk.Check(n, "iy", row.at("iy"), std::sqrt(p.Iyy / p.A));
    walk.Check(n, "iu", row.at("iu"), std::sqrt(p.Iminor / p.A));
    walk.Check(n, "Wx", row.at("Wx"), p.Ixx / (s.h / 10 - p.cy));
    walk.Check(n, "Wy", row.at("Wy"), p.Iyy / (s.b / 10 - p.cx));
  }
  for (const char* file : {"channels.csv", "i_beams.csv"}) {
    for (const auto& row : ReadSourceTable(file)) {
      const SteelSection& s = Section(row);
      const AreaProperties p = OutlineProperties(s);
      const std::string& n = s.designation;
      const bool channel = s.family == SectionFamily::Channel;
      CheckCommon(walk, n, row, s, p);
      walk.Check(n, "Ix", row.at("Ix"), p.Ixx);
      walk.Check(n, "Iy", row.at("Iy"), p.Iyy);
      walk.Check(n, "ix", row.at("ix"), std::sqrt(p.Ixx / p.A));
      walk.Check(n, "iy", row.at("iy"), std::sqrt(p.Iyy / p.A));
      walk.Check(n, "Wx", row.at("Wx"), p.Ixx / (s.h / 20));
      walk.Check(n, "Wy", row.at("Wy"), p.Iyy / (channel ? s.b / 10 - p.cx : s.b / 20));
      if (channel) walk.Check(n, "z0", row.at("z0"), p.cx);
    }
  }
  EXPECT_EQ(walk.rows, 115 + 71 + 41 + 45);
  std::string failures;
  for (const auto& f : walk.failures) failures += f + "\n";
  EXPECT_EQ(failures, "");
  // Every figure in doubt is still off: the list holds nothing that a
  // correction of the table has made right.
  std::set<std::string> listed;
  for (const auto& [row, columns] : kFiguresInDoubt)
    for (const auto& column : columns) listed.insert(row + ":" + column);
  EXPECT_EQ(walk.doubtsSeen, listed);
}

// Figures of an angle's row that follow from one another whatever its
// outline: Ix0 + Iy0 = 2Ix (the sum is the same about any two perpendicular
// axes); tan²α = (Iy − Iu)/(Ix − Iu) (with Iv = Ix + Iy − Iu, the u axis
// turned α from y); i = √(I/A). Exact before rounding, so a printed figure
// off by more than the rounding of those it comes from is mistyped, or
// printed so.
TEST(SectionTables, AnglesPrintedFiguresFollowFromOneAnother) {
  // Rows that break these as printed here, left so: "unchecked" where no copy
  // prints the column.
  const std::set<std::string> kBreaking = {
      "∟63×8",        // Ix 34.46 (in [J] and [D]) against (54.56 + 14.33)/2 = 34.445; the outline: 34.446
      "∟90×56×6",     // Iu 12.90 and iu 1.23 agree; tanα 0.384 is the outline's (Iu 12.82); unchecked
      "∟100×63×7",    // tanα 0.394, from the figures and the outline alike 0.393; unchecked
      "∟160×100×16",  // Iu 182.57 (iu 2.16 agrees); tanα 0.382 is the outline's (Iu 181.57); unchecked
  };
  auto unit = [](const std::string& printed) { return 2 * HalfUnit(printed); };
  auto v = [](const std::map<std::string, std::string>& row, const char* column) { return std::stod(row.at(column)); };
  std::set<std::string> breaking;
  int radii = 0;
  for (const char* file : {"equal_angles.csv", "unequal_angles.csv"}) {
    const bool equal = std::string(file) == "equal_angles.csv";
    for (const auto& row : ReadSourceTable(file)) {
      const std::string& n = row.at("designation");
      const double A = v(row, "A");
      for (const auto& [i, I] : equal ? std::vector<std::pair<const char*, const char*>>{{"ix", "Ix"}, {"ix0", "Ix0"}, {"iy0", "Iy0"}}
                                      : std::vector<std::pair<const char*, const char*>>{{"ix", "Ix"}, {"iy", "Iy"}, {"iu", "Iu"}}) {
        EXPECT_NEAR(v(row, i), std::sqrt(v(row, I) / A), unit(row.at(i)) + 1e-9) << n << " " << i;
        ++radii;
      }
      if (equal) {
        const double rounding = HalfUnit(row.at("Ix0")) + HalfUnit(row.at("Iy0")) + 2 * HalfUnit(row.at("Ix"));
        if (std::fabs(v(row, "Ix0") + v(row, "Iy0") - 2 * v(row, "Ix")) > rounding + 1e-9) breaking.insert(n);
        continue;
      }
      // tanα moves with each second moment by what its rounding allows.
      auto tanAlpha = [](double Ix, double Iy, double Iu) { return std::sqrt((Iy - Iu) / (Ix - Iu)); };
      const double Ix = v(row, "Ix"), Iy = v(row, "Iy"), Iu = v(row, "Iu"), tan = tanAlpha(Ix, Iy, Iu);
      const double rounding = HalfUnit(row.at("tanα")) +
                              std::fabs(tanAlpha(Ix + HalfUnit(row.at("Ix")), Iy, Iu) - tan) +
                              std::fabs(tanAlpha(Ix, Iy + HalfUnit(row.at("Iy")), Iu) - tan) +
                              std::fabs(tanAlpha(Ix, Iy, Iu + HalfUnit(row.at("Iu"))) - tan);
      if (std::fabs(v(row, "tanα") - tan) > rounding) breaking.insert(n);
    }
  }
  EXPECT_EQ(radii, 3 * (115 + 71));
  EXPECT_EQ(breaking, kBreaking);
}

TEST(SectionTables, FamiliesHoldTheirRowsInTableOrder) {
  const struct {
    SectionFamily family;
    size_t rows;
    const char* first;
    const char* last;
  } cases[] = {
      {SectionFamily::EqualAngle, 115, "∟20×3", "∟250×35"},
      {SectionFamily::UnequalAngle, 71, "∟25×16×3", "∟200×125×18"},
      {SectionFamily::Channel, 41, "[5", "[40c"},
      {SectionFamily::IBeam, 45, "I10", "I63c"},
      {SectionFamily::RoundTube, 51, "Φ76×4", "Φ406.4×10"},
      {SectionFamily::HollowSection, 34, "□60×3", "□300×200×12"},
  };
  for (const auto& c : cases) {
    const auto& all = SectionsOf(c.family);
    ASSERT_EQ(all.size(), c.rows) << FamilyName(c.family);
    EXPECT_EQ(all.front().designation, c.first);
    EXPECT_EQ(all.back().designation, c.last);
    for (const SteelSection& s : all) EXPECT_EQ(s.family, c.family) << s.designation;
  }
}

// Tubes and hollow sections are computed: against hand calculations, and the
// hollow sections' closed-form area against their outline's.
TEST(SectionTables, TubesAndHollowSectionsByHand) {
  // Φ159×6: A = π(159² − 147²)/4 = 2883.98 mm², I = π(159⁴ − 147⁴)/64 = 8451870 mm⁴,
  // i = √(I/A) = 54.135 mm, W = I/79.5 = 106313 mm³, m = 0.785·28.84 = 22.639 kg/m.
  const SteelSection* tube = FindSection("D159x6");
  ASSERT_NE(tube, nullptr);
  EXPECT_NEAR(tube->A, 28.8398, 1e-4);
  EXPECT_NEAR(tube->Ix, 845.187, 1e-3);
  EXPECT_NEAR(tube->ix, 5.4135, 1e-4);
  EXPECT_NEAR(tube->Wx, 106.313, 1e-3);
  EXPECT_NEAR(tube->m, 22.639, 1e-3);
  EXPECT_EQ(tube->kind, "无缝");
  // □200×10, R = 20, r = 10: A = 2·10·(400 − 20) − (4 − π)(400 − 100) = 7342.48 mm².
  // I = (200⁴ − 180⁴)/12 less what the rounded corners take off: by the outline.
  for (const SteelSection& s : SectionsOf(SectionFamily::HollowSection)) {
    const double closed = 2 * s.d * (s.h + s.b - 2 * s.d) - (4 - 3.14159265358979) * (s.r * s.r - s.r1 * s.r1);
    EXPECT_NEAR(s.A * 100, closed, 1e-3 * closed) << s.designation;
    EXPECT_NEAR(s.m, 0.785 * s.A, 1e-9) << s.designation;
  }
  const SteelSection* box = FindSection("SHS200x10");
  ASSERT_NE(box, nullptr);
  EXPECT_NEAR(box->A, 73.4248, 1e-3);
  // I of the sharp-cornered box (200⁴ − 180⁴)/12 = 45853333 mm⁴, less the four
  // outer corner spandrels ((1 − π/4)·20² = 85.84 mm², centroid 0.2234·20 from the
  // corner: 95.53 mm off the axis) plus the four inner ones (21.46 mm² at 87.77 mm):
  // 45853333 − 4·85.84·95.53² + 4·21.46·87.77² = 43380900 mm⁴ (the spandrels'
  // own moments, under 1 cm⁴ together, neglected).
  EXPECT_NEAR(box->Ix, 4338.1, 2.0);
  EXPECT_NEAR(box->Ix, box->Iy, 1e-9 * box->Ix);
  const SteelSection* rect = FindSection("RHS200x100x8");
  ASSERT_NE(rect, nullptr);
  EXPECT_GT(rect->Ix, 2.5 * rect->Iy);  // the 200 mm depth is the strong one
  EXPECT_EQ(rect->LeastAxis(), std::string("y"));
  EXPECT_DOUBLE_EQ(rect->LeastAxisExtreme(), 50);
}

}  // namespace
}  // namespace tiecalc
