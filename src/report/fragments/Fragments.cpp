#include "report/fragments/Fragments.h"

#include <algorithm>
#include <utility>
#include <cstring>
#include <iterator>

#include "report/fragments/EmbeddedFiles.h"

namespace tiecalc {

namespace {

using enum FragmentId;
using R = FragmentReport;

constexpr FragmentInfo kFragments[] = {
    {ThreeRodModel, "31.doc", R::ThreeRod},
    {ThreeRodAngles, "32.doc", R::ThreeRod},
    {ThreeRodMethod, "33.doc", R::ThreeRod},
    {FourRodIModel, "41.doc", R::FourRodLayoutI},
    {FourRodIAngles, "42.doc", R::FourRodLayoutI},
    {FourRodILengths, "43.doc", R::FourRodLayoutI},
    {FourRodIMethod, "44.doc", R::FourRodLayoutI},
    {FourRodIIModel, "411.doc", R::FourRodLayoutII},
    {FourRodIIAngles, "412.doc", R::FourRodLayoutII},
    {FourRodIILengths, "413.doc", R::FourRodLayoutII},
    {FourRodIIMethod, "414.doc", R::FourRodLayoutII},
    {RadiusSolidWeb, "sf1.doc", R::RodCheck},
    {LengthFactor, "sf2.doc", R::RodCheck},
    {SlendernessSolidWeb, "sf3.doc", R::RodCheck},
    {SelfWeightMoment, "sf4.doc", R::RodCheck},
    {SectionModulus, "sf5.doc", R::RodCheck},
    {EulerLoadSolidWeb, "sf6.doc", R::RodCheck},
    {OverallStability, "sf7.doc", R::RodCheck},
    {RadiiFourLimbLaced, "st1.doc", R::RodCheck},
    {SlendernessLaced, "st3.doc", R::RodCheck},
    {EulerLoadLattice, "st6.doc", R::RodCheck},
    {LimbStability, "st8.doc", R::RodCheck},
    {LacingCheck, "st9.doc", R::RodCheck},
    {RadiiTwoLimbBattened, "lb1.doc", R::RodCheck},
    {SlendernessBattened, "lb3.doc", R::RodCheck},
    {BattenCheck, "lb9.doc", R::RodCheck},
    {RadiiTwoLimbLaced, "lt1.doc", R::RodCheck},
    {RadiiFourLimbBattened, "sb1.doc", R::RodCheck},
    {BookFourRodIMethod, "b44.doc", R::Book},
    {BookFourRodIIMethod, "b414.doc", R::Book},
    {BookSlendernessLaced, "bst3.doc", R::Book},
    {BookLacingCheck, "bst9.doc", R::Book},
    {BookSlendernessBattened, "blb3.doc", R::Book},
    {BookBattenCheck, "blb9.doc", R::Book},
};

constexpr std::pair<FragmentId, FragmentId> kBookVariants[] = {
    {FourRodIMethod, BookFourRodIMethod},     {FourRodIIMethod, BookFourRodIIMethod},
    {SlendernessLaced, BookSlendernessLaced}, {LacingCheck, BookLacingCheck},
    {SlendernessBattened, BookSlendernessBattened}, {BattenCheck, BookBattenCheck}};

constexpr FragmentId kThreeRod[] = {ThreeRodModel, ThreeRodAngles, ThreeRodMethod};
constexpr FragmentId kFourRodI[] = {FourRodIModel, FourRodIAngles, FourRodILengths, FourRodIMethod};
constexpr FragmentId kFourRodII[] = {FourRodIIModel, FourRodIIAngles, FourRodIILengths, FourRodIIMethod};

// The rod check by form: the radii of gyration and the slenderness of the form,
// the common length factor, moment and modulus, the Euler load and the overall
// stability; the lattice forms add the limb check and their lacing or battens.
constexpr FragmentId kSolidWeb[] = {RadiusSolidWeb,   LengthFactor,      SlendernessSolidWeb, SelfWeightMoment,
                                    SectionModulus,   EulerLoadSolidWeb, OverallStability};
constexpr FragmentId kTwoLimbBattened[] = {RadiiTwoLimbBattened, LengthFactor,     SlendernessBattened,
                                           SelfWeightMoment,     SectionModulus,   EulerLoadLattice,
                                           OverallStability,     LimbStability,    BattenCheck};
constexpr FragmentId kTwoLimbLaced[] = {RadiiTwoLimbLaced, LengthFactor,     SlendernessLaced,
                                        SelfWeightMoment,  SectionModulus,   EulerLoadLattice,
                                        OverallStability,  LimbStability,    LacingCheck};
constexpr FragmentId kFourLimbBattened[] = {RadiiFourLimbBattened, LengthFactor,     SlendernessBattened,
                                            SelfWeightMoment,      SectionModulus,   EulerLoadLattice,
                                            OverallStability,      LimbStability,    BattenCheck};
constexpr FragmentId kFourLimbLaced[] = {RadiiFourLimbLaced, LengthFactor,     SlendernessLaced,
                                         SelfWeightMoment,   SectionModulus,   EulerLoadLattice,
                                         OverallStability,   LimbStability,    LacingCheck};
constexpr std::span<const FragmentId> kRodCheck[] = {kSolidWeb, kTwoLimbBattened, kTwoLimbLaced,
                                                     kFourLimbBattened, kFourLimbLaced};

}  // namespace

std::span<const FragmentInfo> AllFragments() { return kFragments; }

const FragmentInfo* FindFragment(int id) {
  const auto found = std::find_if(std::begin(kFragments), std::end(kFragments),
                                  [id](const FragmentInfo& info) { return static_cast<int>(info.id) == id; });
  return found == std::end(kFragments) ? nullptr : found;
}

std::span<const unsigned char> FragmentPackage(FragmentId id) {
  const FragmentInfo* fragment = FindFragment(static_cast<int>(id));
  if (!fragment) return {};
  for (const EmbeddedFile& file : EmbeddedFragmentFiles())
    if (std::strcmp(file.name, fragment->fileName) == 0) return {file.data, file.size};
  return {};
}

FragmentId BookVariantOf(FragmentId id) {
  for (const auto& [report, book] : kBookVariants)
    if (report == id) return book;
  return id;
}

std::span<const FragmentId> ReportFragments(FragmentReport report, int rodForm) {
  switch (report) {
    case R::ThreeRod:
      return kThreeRod;
    case R::FourRodLayoutI:
      return kFourRodI;
    case R::FourRodLayoutII:
      return kFourRodII;
    case R::RodCheck:
      if (rodForm >= 0 && rodForm < static_cast<int>(std::size(kRodCheck))) return kRodCheck[rodForm];
      return {};
    case R::Book:
      return {};
  }
  return {};
}

}  // namespace tiecalc
