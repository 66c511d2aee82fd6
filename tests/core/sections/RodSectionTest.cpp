#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/rodcheck/RodCheck.h"
#include "core/sections/RodSection.h"

namespace tiecalc {
namespace {

// The expected inputs of each case, worked by hand from the table figures
// (mm, mm², mm⁴, kg) as the comments show. No published example builds these
// sections from the same tables, so the cases are independent hand
// calculations.
struct Expected {
  double A, h, Imax, Imin, Ld, G, Az, I1, Iz, delta, L1, a;
};

void ExpectInputs(const BuiltRodSection& built, const Expected& e, const char* name) {
  ASSERT_EQ(built.error, "") << name;
  const RodSectionInputs& in = built.inputs;
  const std::pair<double, double> pairs[] = {{in.A, e.A},   {in.h, e.h},   {in.Imax, e.Imax}, {in.Imin, e.Imin},
                                             {in.Ld, e.Ld}, {in.G, e.G},   {in.Az, e.Az},     {in.I1, e.I1},
                                             {in.Iz, e.Iz}, {in.delta, e.delta}, {in.L1, e.L1}, {in.a, e.a}};
  const char* names[] = {"A", "h", "Imax", "Imin", "Ld", "G", "Az", "I1", "Iz", "delta", "L1", "a"};
  for (int i = 0; i < 12; ++i)
    EXPECT_NEAR(pairs[i].first, pairs[i].second, 1e-6 * std::fmax(1.0, std::fabs(pairs[i].second)))
        << name << " " << names[i];
}

TEST(RodSection, EachFormAgainstAHandCalculation) {
  RodSectionChoice tube;  // Φ159×6 tube, 6 m
  tube.profile = "Φ159×6";
  tube.L = 6000;
  // A = π(159² − 147²)/4; Imax = π(159⁴ − 147⁴)/64 about any diameter; h = 79.5;
  // G = 22.639 kg/m × 6 m.
  ExpectInputs(Build(RodForm::SolidWeb, tube),
               {2883.98206, 79.5, 8451869.91, 8451869.91, 6000, 135.835555, 0, 0, 0, 0, 0, 0}, "tube");

  RodSectionChoice box;  // two [20a toe to toe, flange tips touching: 146 mm wide
  box.profile = "[20a";
  box.pair = PairLayout::Box;
  box.L = 6000;
  // c = 146/2 − 20.1 = 52.9; across the pair 2(1280000 + 2883·52.9²) = 18695632 <
  // 2·Ix = 35600000, so X is the axis across: h = 73. G = 2 × 22.6 × 6.
  ExpectInputs(Build(RodForm::SolidWeb, box), {5766, 73, 18695632.06, 18695632.06, 6000, 271.2, 0, 0, 0, 0, 0, 0},
               "box");

  RodSectionChoice battened;  // [20a flanges inward, 400 wide, battens 200×10 at 800, 8 m
  battened.profile = "C20a";
  battened.width = 400;
  battened.L = 8000;
  battened.battenWidth = 200;
  battened.battenThickness = 10;
  battened.spacing = 800;
  // c = 200 − 20.1 = 179.9; Imax = 2(1280000 + 2883·179.9²) = 189170881.66;
  // Az = 2000; Iz = 10·200³/12; G = 2·22.6·8 + 2 faces·11 battens·200·10·400·7.85e-6
  // = 361.6 + 138.16.
  ExpectInputs(Build(RodForm::TwoLimbBattened, battened),
               {5766, 200, 189170881.66, 189170881.66, 8000, 499.76, 2000, 1280000, 6666666.667, 10, 800, 400},
               "two-limb battened");

  RodSectionChoice laced = battened;  // the same, laced with ∟50×5 at 45°, 300 wide at the ends
  laced.lacing = "L50x5";
  laced.lacingAngle = 45;
  laced.endWidth = 300;
  laced.Ld = 4000;
  // L1 = 2·400/tan 45° = 800; Imin = 2(1280000 + 2883·(150 − 20.1)²) = 99855541.66;
  // mean face width (4000·400 + 4000·(400 + 300)/2)/8000 = 375; lacing 2 faces × 2 bars ×
  // 10 panels × √(400² + 375²) × 3.770/1000 = 82.683; Az = 480.3, Iz = Iy0 = 46400.
  ExpectInputs(Build(RodForm::TwoLimbLaced, laced),
               {5766, 200, 189170881.66, 99855541.66, 4000, 361.6 + 82.682555, 480.3, 1280000, 46400, 0, 800, 400},
               "two-limb laced, variable");

  RodSectionChoice four;  // four ∟63×6, 400 × 500 over the backs, battens 150×8 at 600, 10 m
  four.profile = "63x6";
  four.width = 500;
  four.depth = 400;
  four.L = 10000;
  four.battenWidth = 150;
  four.battenThickness = 8;
  four.spacing = 600;
  // About the axis across the 400 side: 4(271200 + 728.8·(200 − 17.8)²) = 97860227.97 <
  // 4(271200 + 728.8·(250 − 17.8)²) = 158263171.97, so h = 200 and a = 400.
  // G = 4·5.721·10 + 17 levels·150·8·7.85e-6·(2·400 + 2·500) = 228.84 + 288.252.
  ExpectInputs(Build(RodForm::FourLimbBattened, four),
               {2915.2, 200, 97860227.968, 97860227.968, 10000, 517.092, 1200, 112000, 2250000, 8, 600, 400},
               "four-limb battened");

  RodSectionChoice fourLaced = four;  // laced with ∟40×4 at 800
  fourLaced.lacing = "∟40×4";
  fourLaced.spacing = 800;
  // 12.5 panels, 2 bars each, 2 faces of 400 (bars √(400² + 400²)) and 2 of 500
  // (√(400² + 500²)), 2.422 kg/m: 146.046; Az = 308.6, Iz = Iy0 = 19100.
  ExpectInputs(Build(RodForm::FourLimbLaced, fourLaced),
               {2915.2, 200, 97860227.968, 97860227.968, 10000, 228.84 + 146.046339, 308.6, 112000, 19100, 0, 800, 400},
               "four-limb laced");
}

TEST(RodSection, DerivationsShowTheirNumbers) {
  RodSectionChoice four;
  four.profile = "∟63×6";
  four.width = four.depth = 400;
  four.L = 10000;
  four.battenWidth = 150;
  four.battenThickness = 8;
  four.spacing = 600;
  const BuiltRodSection built = Build(RodForm::FourLimbBattened, four);
  ASSERT_EQ(built.error, "");
  const std::pair<const char*, const char*> texts[] = {
      {"A", "A = 4×728.8 = 2915.2 mm²"},
      {"h", "h = 400/2 = 200 mm"},
      {"Imax", "Imax = 4×(271200 + 728.8×(400/2−17.8)²) = 97860227.97 mm⁴"},
      {"Imin", "Imin = Imax = 97860227.97 mm⁴（等截面）"},
      {"I1", "I1 = Iy0 = 112000 mm⁴（∟63×6）"},
      {"Az", "Az = 150×8 = 1200 mm²"},
      {"Iz", "Iz = 8×150³/12 = 2250000 mm⁴"},
  };
  for (const auto& [name, text] : texts) {
    bool found = false;
    for (const InputDerivation& d : built.derivations)
      if (d.name == name) {
        EXPECT_EQ(d.text, text);
        found = true;
      }
    EXPECT_TRUE(found) << name;
  }
  EXPECT_EQ(built.derivations.size(), 12u);
}

TEST(RodSection, RefusesWhatCannotBeBuilt) {
  const struct {
    RodForm form;
    const char* profile;
    PairLayout pair;
    double width, endWidth, Ld;
    const char* error;
  } cases[] = {
      {RodForm::SolidWeb, "L63x9", PairLayout::Single, 0, 0, 0, "型钢“L63x9”不在型钢表中"},
      {RodForm::SolidWeb, "I25a", PairLayout::BackToBack, 0, 0, 0, "工字钢不能背靠背合成"},
      {RodForm::SolidWeb, "[20a", PairLayout::Box, 140, 0, 0, "外宽小于两根型钢的宽度之和 146 mm"},
      {RodForm::SolidWeb, "Φ159×6", PairLayout::Single, 0, 120, 3000, "单根型钢的实腹杆没有端部外宽"},
      {RodForm::TwoLimbBattened, "∟63×6", PairLayout::Single, 400, 0, 0, "两肢格构杆的肢须为槽钢或工字钢"},
      {RodForm::TwoLimbBattened, "[20a", PairLayout::Single, 400, 300, 0, "变截面杆的大截面长度Ld须在0与L之间"},
      {RodForm::FourLimbBattened, "[20a", PairLayout::Single, 400, 0, 0, "四肢格构杆的肢须为等边角钢"},
  };
  for (const auto& c : cases) {
    RodSectionChoice choice;
    choice.profile = c.profile;
    choice.pair = c.pair;
    choice.width = c.width;
    choice.depth = c.width;
    choice.endWidth = c.endWidth;
    choice.Ld = c.Ld;
    choice.L = 6000;
    choice.battenWidth = 150;
    choice.battenThickness = 8;
    choice.spacing = 600;
    const BuiltRodSection built = Build(c.form, choice);
    EXPECT_EQ(built.error, c.error) << c.profile;
    EXPECT_TRUE(built.derivations.empty()) << c.profile;
    EXPECT_EQ(built.inputs.A, 0) << c.profile;
  }
}

// Built inputs go into the check as they are: a sound rod passes every line.
TEST(RodSection, BuiltInputsRunTheCheck) {
  RodSectionChoice battened;
  battened.profile = "[20a";
  battened.width = 400;
  battened.L = 8000;
  battened.battenWidth = 200;
  battened.battenThickness = 10;
  battened.spacing = 600;
  const BuiltRodSection built = Build(RodForm::TwoLimbBattened, battened);
  ASSERT_EQ(built.error, "");
  ASSERT_EQ(built.notes.size(), 1u);  // the real axis (2·Ix) is the weaker
  RodCheckData data;
  data.F = 200;
  data.L = 8000;
  ApplyTo(built.inputs, RodForm::TwoLimbBattened, data);
  EXPECT_EQ(data.form, RodForm::TwoLimbBattened);
  CheckTwoLimbBattened(data);
  constexpr CheckOutcome H = CheckOutcome::Holds;
  EXPECT_EQ(data.verdict, (RodCheckVerdict{true, H, H, CheckOutcome::NotJudged, H, H, H}));
}

}  // namespace
}  // namespace tiecalc
