// A section picked from the library typed into the rod-check page.

#include <gtest/gtest.h>

#include "core/input/Format.h"
#include "pages/PageTestSupport.h"
#include "pages/RodCheckPage.h"

namespace tiecalc {
namespace {

using State = CRodCheckPage::SectionState;

struct FormCase {
  int form;
  RodSectionChoice choice;
};

RodSectionChoice Choice(std::string profile, double width, double depth, double bw, double bt, std::string lacing,
                        double spacing) {
  RodSectionChoice c;
  c.profile = std::move(profile), c.width = width, c.depth = depth;
  c.battenWidth = bw, c.battenThickness = bt, c.lacing = std::move(lacing), c.spacing = spacing;
  return c;
}

const FormCase kForms[] = {
    {0, Choice("Φ159×6", 0, 0, 0, 0, "", 0)},
    {1, Choice("[20a", 300, 0, 200, 10, "", 600)},
    {2, Choice("[20a", 300, 0, 0, 0, "∟40×4", 400)},
    {3, Choice("∟63×6", 400, 400, 200, 8, "", 600)},
    {4, Choice("∟63×6", 400, 400, 0, 0, "∟40×4", 400)},
};

const char* const kDerived[] = {"G", "A", "h", "Az", "Imax", "Imin", "I1", "Iz", "delta", "L1", "a"};

// Each form: the page shows the builder's numbers as a document prints
// inputs, the check reads exactly those, and the section applies.
TEST(RodSectionPage, EachFormTypesTheBuildersNumbers) {
  for (const FormCase& f : kForms) {
    Started<CRodCheckPage> s;
    CRodCheckPage& p = s.page;
    ASSERT_TRUE(p.UserSelect(CRodCheckPage::kForm, f.form));
    TypeAll(p, {{"F", "120"}, {"L", "6000"}});
    ASSERT_EQ(p.ApplySection(f.choice), "") << f.form;
    RodSectionChoice withLength = f.choice;
    withLength.L = 6000;
    const BuiltRodSection built = Build(static_cast<RodForm>(f.form), withLength);
    ASSERT_EQ(built.error, "");
    int typed = 0;
    for (const InputDerivation& d : built.derivations) {
      if (d.name == "Ld") continue;
      EXPECT_EQ(Shown(p, d.name), FormatInput(d.value)) << f.form << " " << d.name;
      ++typed;
    }
    EXPECT_GE(typed, f.form == 0 ? 5 : 10) << f.form;
    EXPECT_EQ(p.Data().A, CPage::ReadFieldValue(Shown(p, "A")));
    EXPECT_EQ(Shown(p, "Ld"), "6000");
    EXPECT_EQ(p.StateOfSection(), State::Applied) << f.form;
    EXPECT_NE(p.SectionLine().find("截面：" + DescribeSection(static_cast<RodForm>(f.form), withLength)),
              std::string::npos);
  }
}

TEST(RodSectionPage, HandEditsFormChangesAndRefusals) {
  Started<CRodCheckPage> s;
  CRodCheckPage& p = s.page;
  ASSERT_TRUE(p.UserSelect(CRodCheckPage::kForm, 4));
  TypeAll(p, {{"F", "120"}, {"L", "6000"}});
  EXPECT_EQ(p.SectionLine(), "");
  // A chord the table lacks, and a four-limb rod of channels: refused, the page as it was.
  const std::string before = Shown(p, "A") + Shown(p, "Imax") + p.Message();
  EXPECT_EQ(p.ApplySection(Choice("∟61×6", 400, 400, 0, 0, "∟40×4", 400)), "型钢“∟61×6”不在型钢表中");
  EXPECT_EQ(p.ApplySection(Choice("[20a", 400, 400, 0, 0, "∟40×4", 400)), "四肢格构杆的肢须为等边角钢");
  EXPECT_EQ(Shown(p, "A") + Shown(p, "Imax") + p.Message(), before);
  EXPECT_EQ(p.StateOfSection(), State::None);

  ASSERT_EQ(p.ApplySection(kForms[4].choice), "");
  EXPECT_EQ(p.SectionLine(), "截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400");
  // Typing a field the section filled with its own text changes nothing.
  Type(p, "A", Shown(p, "A"));
  EXPECT_EQ(p.StateOfSection(), State::Applied);
  ASSERT_TRUE(p.UserSelect(CRodCheckPage::kForm, 3));
  EXPECT_EQ(p.StateOfSection(), State::OtherForm);
  EXPECT_EQ(p.SectionLine(), "截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400（为四肢缀条式所选，不适用于当前型式）");
  // Back on its form: the lattice fields were reset by the change of form.
  ASSERT_TRUE(p.UserSelect(CRodCheckPage::kForm, 4));
  EXPECT_EQ(p.StateOfSection(), State::EditedByHand);
  EXPECT_EQ(p.SectionLine(), "截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400（已手动修改）");

  ASSERT_EQ(p.ApplySection(kForms[4].choice), "");
  EXPECT_EQ(p.StateOfSection(), State::Applied);
  Type(p, "Iz", "100000");
  EXPECT_EQ(p.StateOfSection(), State::EditedByHand);
  EXPECT_EQ(p.Section()->choice.profile, "∟63×6");
}

// The rod's weight follows a length typed after the section, as built; once
// the section is edited by hand the length no longer touches G.
TEST(RodSectionPage, WeightFollowsLengthUntilEditedByHand) {
  Started<CRodCheckPage> s;
  CRodCheckPage& p = s.page;
  ASSERT_TRUE(p.UserSelect(CRodCheckPage::kForm, 4));
  TypeAll(p, {{"F", "120"}, {"L", "6000"}});
  ASSERT_EQ(p.ApplySection(kForms[4].choice), "");
  RodSectionChoice longer = kForms[4].choice;
  longer.L = 8000;
  const std::string G8000 = FormatInput(Build(RodForm::FourLimbLaced, longer).inputs.G);
  const std::string G6000 = Shown(p, "G");
  ASSERT_NE(G8000, G6000);
  Type(p, "L", "8000");
  EXPECT_EQ(Shown(p, "G"), G8000);
  EXPECT_EQ(p.Data().G, CPage::ReadFieldValue(G8000));
  EXPECT_EQ(p.StateOfSection(), State::Applied);
  EXPECT_EQ(p.Section()->choice.L, 8000);
  Type(p, "Iz", "100000");
  Type(p, "L", "6000");
  EXPECT_EQ(Shown(p, "G"), G8000);
  EXPECT_EQ(p.StateOfSection(), State::EditedByHand);
}

}  // namespace
}  // namespace tiecalc
