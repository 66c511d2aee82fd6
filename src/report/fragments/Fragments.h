#pragma once
// The report fragments stored in the program: the fixed parts of every report
// (model figures, derivations with their equations, rod-check headings),
// finished word-processing packages that a report splices in at its
// insertion point.

#include <span>

namespace tiecalc {

// The resource id of a stored fragment.
enum class FragmentId : int {
  ThreeRodModel = 162,          // "31.doc"
  ThreeRodAngles = 163,         // "32.doc"
  ThreeRodMethod = 161,         // "33.doc"
  FourRodIModel = 165,          // "41.doc"
  FourRodIAngles = 166,         // "42.doc"
  FourRodILengths = 167,        // "43.doc"
  FourRodIMethod = 164,         // "44.doc"
  FourRodIIModel = 168,         // "411.doc"
  FourRodIIAngles = 169,        // "412.doc"
  FourRodIILengths = 170,       // "413.doc"
  FourRodIIMethod = 171,        // "414.doc"
  RadiusSolidWeb = 176,         // "sf1.doc"
  LengthFactor = 177,           // "sf2.doc"
  SlendernessSolidWeb = 178,    // "sf3.doc"
  SelfWeightMoment = 179,       // "sf4.doc"
  SectionModulus = 180,         // "sf5.doc"
  EulerLoadSolidWeb = 181,      // "sf6.doc"
  OverallStability = 182,       // "sf7.doc"
  RadiiFourLimbLaced = 183,     // "st1.doc"
  SlendernessLaced = 184,       // "st3.doc"
  EulerLoadLattice = 185,       // "st6.doc"
  LimbStability = 186,          // "st8.doc"
  LacingCheck = 187,            // "st9.doc"
  RadiiTwoLimbBattened = 188,   // "lb1.doc"
  SlendernessBattened = 189,    // "lb3.doc"
  BattenCheck = 190,            // "lb9.doc"
  RadiiTwoLimbLaced = 191,      // "lt1.doc"
  RadiiFourLimbBattened = 192,  // "sb1.doc"
  // The calculation book's wording of some of them (BookVariantOf).
  BookFourRodIMethod = 193,     // "b44.doc"
  BookFourRodIIMethod = 194,    // "b414.doc"
  BookSlendernessLaced = 195,   // "bst3.doc"
  BookLacingCheck = 196,        // "bst9.doc"
  BookSlendernessBattened = 197,  // "blb3.doc"
  BookBattenCheck = 198,        // "blb9.doc"
};

enum class FragmentReport { ThreeRod, FourRodLayoutI, FourRodLayoutII, RodCheck, Book };

struct FragmentInfo {
  FragmentId id;
  const char* fileName;  // the compiled document it is stored from, its name in messages
  FragmentReport usedBy;
};

// All 34 fragments: the reports' 28 and the book's 6.
std::span<const FragmentInfo> AllFragments();

// The fragment of that id, or nullptr.
const FragmentInfo* FindFragment(int id);

// The stored bytes of the fragment's package (a zip); empty for an id
// without a fragment.
std::span<const unsigned char> FragmentPackage(FragmentId id);

// The fragments a report inserts, in insertion order. rodForm selects the
// rod-check report of that form of the rod-check page (0 solid-web,
// 1 two-limb battened, 2 two-limb laced, 3 four-limb battened, 4 four-limb
// laced); another form gives no fragment. The other reports ignore it.
std::span<const FragmentId> ReportFragments(FragmentReport report, int rodForm = 0);

// What the calculation book inserts for a report's fragment: its own
// wording where it has one (the force method's 基本结构, the lacing or
// batten spacing l1 apart from the rods' lengths L1..L4), else the same.
FragmentId BookVariantOf(FragmentId id);

}  // namespace tiecalc
