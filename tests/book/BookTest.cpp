#include "book/Book.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/input/Format.h"
#include "pages/FourRodPage.h"
#include "pages/PageTestSupport.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

const Entries& kThreeRod = kThreeRodExample;
const Entries& kFourRodI = kFourRodIExample;
const Entries& kFourRodII = kFourRodIIExample;

// A section per form: the solid web is non-uniform (half its length in the
// large section), the lattice forms are uniform.
Entries Section(int form) {
  if (form == 0)
    return {{"F", "100"}, {"L", "6000"}, {"G", "600"}, {"A", "5000"}, {"h", "150"},
            {"Imax", "50000000"}, {"Imin", "25000000"}, {"Ld", "3000"}};
  Entries e = {{"F", "200"}, {"L", "8000"}, {"G", "800"}, {"A", "6000"}, {"h", "250"},
               {"Imax", "150000000"}, {"Imin", "150000000"}, {"Az", "1000"}, {"I1", "2000000"},
               {"Iz", "500000"}, {"L1", "600"}, {"a", "400"}};
  if (form == 1 || form == 3) e.push_back({"delta", "10"});
  return e;
}

void SetUpSection(CRodCheckPage& page, int form, const Entries& extra = {}) {
  if (form != 0) {
    ASSERT_TRUE(page.UserSelect(CRodCheckPage::kForm, form));
  }
  TypeAll(page, Section(form));
  TypeAll(page, extra);
}

std::vector<std::pair<std::string, std::string>> AllTexts(const CPage& p) {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const NamedControl& n : p.Names()) texts.emplace_back(n.name, p.GetText(n.id));
  return texts;
}

template <class TPage>
void ExpectBookEqualsHandTyping(const Entries& layout, size_t rodCount) {
  for (int form = 0; form < 5; ++form) {
    SCOPED_TRACE("form " + std::to_string(form));
    Started<TPage> forces;
    TypeAll(forces.page, layout);
    Started<CRodCheckPage> section;
    SetUpSection(section.page, form);
    const auto before = AllTexts(section.page);

    const CalculationBook book = ComputeBook(forces.page, section.page);
    ASSERT_FALSE(book.Refused()) << book.refusal;
    ASSERT_EQ(book.levels.front().rods.size(), rodCount);
    EXPECT_EQ(AllTexts(section.page), before);  // the page itself is left alone

    for (const BookRod& rod : book.levels.front().rods) {
      SCOPED_TRACE("rod " + std::to_string(rod.rod));
      // The pair as the force page shows it, and the compression typed.
      const std::string pair = Shown(forces.page, "F" + std::to_string(rod.rod) + "m");
      EXPECT_TRUE(pair == rod.texts.Fmax + "/" + rod.texts.Fmin || pair == rod.texts.Fmin + "/" + rod.texts.Fmax);
      EXPECT_GE(ParseDouble(rod.texts.Fmax), ParseDouble(rod.texts.Fmin));
      EXPECT_EQ(rod.texts.L, Shown(forces.page, "L" + std::to_string(rod.rod)));
      EXPECT_EQ(rod.texts.Ld.has_value(), form == 0);

      Started<CRodCheckPage> hand;
      SetUpSection(hand.page, form);
      Type(hand.page, "F", rod.texts.F);
      Type(hand.page, "L", rod.texts.L);
      Type(hand.page, "G", rod.texts.G);
      if (rod.texts.Ld) Type(hand.page, "Ld", *rod.texts.Ld);
      for (const NamedControl& n : hand.page.Names()) {
        if (!n.input) {
          EXPECT_EQ(rod.Field(n.name), hand.page.GetText(n.id)) << n.name;
        }
      }
      EXPECT_EQ(rod.data.verdict, hand.page.Data().verdict);
      EXPECT_EQ(rod.data.sigma, hand.page.Data().sigma);
      EXPECT_TRUE(rod.valid);
    }
  }
}

TEST(BookRods, EachRodIsTheRodCheckPageTypedByHandForEveryLayoutAndForm) {
  ExpectBookEqualsHandTyping<CThreeRod>(kThreeRod, 3);
  ExpectBookEqualsHandTyping<CFourRodParallelPage>(kFourRodI, 4);
  ExpectBookEqualsHandTyping<CFourRodTurnedPage>(kFourRodII, 4);
}

TEST(BookRods, TextsOfAWorkedRod) {
  Started<CThreeRod> forces;
  TypeAll(forces.page, kThreeRod);
  Started<CRodCheckPage> section;
  SetUpSection(section.page, 0);
  const CalculationBook book = ComputeBook(forces.page, section.page);
  ASSERT_EQ(book.levels.front().rods.size(), 3u);
  // F1m "358.77/-358.77", L1 "4606.46"; G = 600·4606.46/6000, Ld = 3000·4606.46/6000.
  const RodTexts& t = book.levels.front().rods[0].texts;
  EXPECT_EQ(t.Fmax, "358.77");
  EXPECT_EQ(t.Fmin, "-358.77");
  EXPECT_EQ(t.F, "358.77");
  EXPECT_EQ(t.L, "4606.46");
  EXPECT_EQ(t.G, "460.65");
  EXPECT_EQ(t.Ld, "2303.23");
  // F2m "-473.17/473.17": the larger comes first whatever the page's order.
  EXPECT_EQ(book.levels.front().rods[1].texts.Fmax, "473.17");
  EXPECT_EQ(book.levels.front().rods[1].texts.F, "473.17");
}

// A rod as a force page shows it: its extreme pair "a/b" and its length.
RodRecord Rod(const std::string& pair, const std::string& length) {
  RodRecord rod;
  const size_t slash = pair.find('/');
  rod.extremes.forceTexts = {pair.substr(0, slash), pair.substr(slash + 1)};
  for (size_t k = 0; k < 2; ++k) rod.extremes.forces[k] = ParseDouble(rod.extremes.forceTexts[k]);
  rod.lengthText = length;
  rod.length = ParseDouble(length);
  return rod;
}

// A uniform solid-web section that carries 100 kN with ease and not 2000 kN.
CalculationBook BookOf(const std::vector<RodRecord>& rods, const Entries& sectionChanges = {}) {
  Started<CRodCheckPage> section;
  TypeAll(section.page, {{"F", "100"}, {"L", "6000"}, {"G", "300"}, {"A", "5000"}, {"h", "150"},
                         {"Imax", "50000000"}, {"Imin", "50000000"}});
  TypeAll(section.page, sectionChanges);
  return ComputeBook(rods, section.page);
}

TEST(BookTension, LineAtTheAllowableStress) {
  // k = 1: [σ] = 235 MPa; A = 1000 mm², so σt = Fmax in MPa.
  const struct {
    const char* pair;
    const char* grade;  // main grade index
    bool present;
    const char* sigma;
    const char* message;
  } cases[] = {
      {"234.99/-10", "0", true, "234.99", kTensionOk},
      {"235/-10", "0", true, "235.00", kTensionFails},
      {"-10/235.01", "0", true, "235.01", kTensionFails},
      {"300/-10", "1", true, "300.00", kTensionOk},  // Q345: [σ] = 345
      {"0.00/-10", "0", false, "", ""},
      {"-5/-10", "0", false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pair);
    Started<CRodCheckPage> section;
    ASSERT_TRUE(section.page.UserSelect(CRodCheckPage::kMainGrade, c.grade[0] - '0'));
    TypeAll(section.page, {{"F", "10"}, {"L", "1000"}, {"G", "10"}, {"A", "1000"}, {"h", "50"},
                           {"Imax", "10000000"}, {"Imin", "10000000"}, {"k", "1"}});
    const CalculationBook book = ComputeBook(std::vector<RodRecord>{Rod(c.pair, "1000")}, section.page);
    ASSERT_EQ(book.levels.front().rods.size(), 1u);
    const BookRod& rod = book.levels.front().rods[0];
    ASSERT_EQ(rod.tension.has_value(), c.present);
    if (!c.present) continue;
    EXPECT_EQ(rod.tension->sigmaText, c.sigma);
    EXPECT_EQ(rod.tension->message, c.message);
    EXPECT_EQ(rod.passes, c.message == std::string(kTensionOk));
  }
}

TEST(BookVerdict, NamesTheRodsThatFailOrCannotBeChecked) {
  const RodRecord ok = Rod("100/-100", "6000");
  const RodRecord crushed = Rod("100/-2000", "6000");
  const RodRecord pulledApart = Rod("5000/-100", "6000");  // σt = 1000 MPa
  const RodRecord neverPressed = Rod("100/0.00", "6000");  // F = 0: the check cannot run

  CalculationBook all = BookOf({ok, ok, ok});
  EXPECT_EQ(all.Status(), "全部附着杆满足要求！");
  for (const BookRod& rod : all.levels.front().rods) EXPECT_TRUE(rod.passes);

  CalculationBook one = BookOf({ok, crushed, ok, ok});
  EXPECT_EQ(one.Status(), "附着杆 2 不 满足要求！\n杆2 整体稳定性：σ = 527.47 MPa ≥ [σ] = 175.37 MPa");
  EXPECT_EQ(one.levels.front().rods[1].data.verdict.overallStability, CheckOutcome::Fails);
  EXPECT_TRUE(one.levels.front().rods[1].valid);

  CalculationBook three = BookOf({pulledApart, ok, neverPressed});
  EXPECT_EQ(three.Status(),
            "附着杆 1、3 不 满足要求！\n杆1 受拉强度：σt = 1000.00 MPa ≥ [σ] = 175.37 MPa\n杆3 校核输入：请设定正确参数！");
  EXPECT_TRUE(three.levels.front().rods[0].valid);
  EXPECT_FALSE(three.levels.front().rods[2].valid);
  EXPECT_EQ(three.levels.front().rods[2].texts.F, "0.00");
  EXPECT_EQ(three.levels.front().rods[2].Field("message"), "请设定正确参数！");
}

TEST(BookRefusals, ForcesFirstThenTheSection) {
  Started<CThreeRod> noForces;
  Started<CFourRodParallelPage> forces;
  TypeAll(forces.page, kFourRodI);
  Started<CRodCheckPage> noSection;
  Started<CRodCheckPage> section;
  SetUpSection(section.page, 0);

  const struct {
    CalculationBook book;
    const char* refusal;
  } cases[] = {
      {ComputeBook(noForces.page, section.page), "请先完成附着杆内力计算!"},
      {ComputeBook(noForces.page, noSection.page), "请先完成附着杆内力计算!"},
      {ComputeBook(forces.page, noSection.page), "请先在附着杆校核页设定杆件截面参数!"},
      // A section the check refuses (A = 0) after it was valid once.
      {BookOf({Rod("100/-100", "6000")}, {{"A", "0"}}), "请先在附着杆校核页设定杆件截面参数!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.book.Status(), c.refusal);
    EXPECT_TRUE(c.book.levels.empty());
  }
}

}  // namespace
}  // namespace tiecalc

namespace tiecalc {
namespace {

// The load cases, rod sections and levels of a case's book settings: each
// case's forces are those of the force page typed with its R and M; each rod
// is checked on its envelope with its own section, as typed by hand.
TEST(BookSettings, CasesSectionsAndLevelsAreThePagesTypedByHand) {
  Started<CFourRodParallelPage> forces;
  TypeAll(forces.page, kFourRodI);
  Started<CRodCheckPage> section;
  SetUpSection(section.page, 0);
  Started<CRodCheckPage> lattice;  // rods 2 and 4
  SetUpSection(lattice.page, 4);

  CaseBook settings;
  settings.cases = {{"工作状态", "100", "300"}, {"非工作状态", "2*70", "0"}, {"顶升", "60", "-350"}};
  settings.sections.push_back({{2, 4}, CapturePage("rod-check", lattice.page)});
  // Two levels: the page shown, and one whose frame sits further from the wall.
  Entries further = kFourRodI;
  for (auto& [name, text] : further)
    if (name == "Y1" || name == "Y2") text = "5200";
  Started<CFourRodParallelPage> furtherPage;
  TypeAll(furtherPage.page, further);
  settings.levels = {{"第一道", "30.5", {CapturePage("four-rod-1", forces.page)}, {}},
                     {"第二道", "45", {CapturePage("four-rod-1", furtherPage.page)}, {settings.cases[1]}}};

  const CalculationBook book = ComputeBook(forces.page, section.page, settings);
  ASSERT_FALSE(book.Refused()) << book.refusal;
  ASSERT_EQ(book.levels.size(), 2u);
  const struct {
    const Entries* inputs;
    std::vector<CaseLoadCase> cases;
  } levels[] = {{&kFourRodI, settings.cases}, {&further, {settings.cases[1]}}};
  for (size_t l = 0; l < 2; ++l) {
    SCOPED_TRACE("level " + std::to_string(l));
    const BookLevel& level = book.levels[l];
    ASSERT_EQ(level.cases.size(), levels[l].cases.size());
    std::vector<double> Fmax(4, -1e300), Fmin(4, 1e300);
    for (size_t c = 0; c < level.cases.size(); ++c) {
      Started<CFourRodParallelPage> byHand;
      TypeAll(byHand.page, *levels[l].inputs);
      TypeAll(byHand.page, {{"R", levels[l].cases[c].R}, {"M", levels[l].cases[c].M}});
      EXPECT_EQ(level.cases[c].name, levels[l].cases[c].name);
      for (int r = 0; r < 4; ++r) {
        const CaseRodForces& f = level.cases[c].rods[static_cast<size_t>(r)];
        const std::string pair = Shown(byHand.page, "F" + std::to_string(r + 1) + "m");
        EXPECT_TRUE(pair == f.FmaxText + "/" + f.FminText || pair == f.FminText + "/" + f.FmaxText) << pair;
        Fmax[static_cast<size_t>(r)] = std::max(Fmax[static_cast<size_t>(r)], f.Fmax);
        Fmin[static_cast<size_t>(r)] = std::min(Fmin[static_cast<size_t>(r)], f.Fmin);
      }
    }
    for (const BookRod& rod : level.rods) {
      SCOPED_TRACE("rod " + std::to_string(rod.rod));
      const size_t r = static_cast<size_t>(rod.rod - 1);
      EXPECT_EQ(rod.texts.FmaxValue, Fmax[r]);
      EXPECT_EQ(rod.texts.FminValue, Fmin[r]);
      const bool own = rod.rod % 2 == 0;
      EXPECT_EQ(rod.section, own ? 0 : -1);
      Started<CRodCheckPage> hand;
      SetUpSection(hand.page, own ? 4 : 0);
      TypeAll(hand.page, {{"F", rod.texts.F}, {"L", rod.texts.L}, {"G", rod.texts.G}});
      if (rod.texts.Ld) Type(hand.page, "Ld", *rod.texts.Ld);
      EXPECT_EQ(rod.data.verdict, hand.page.Data().verdict);
      EXPECT_EQ(rod.Field("sigma"), hand.page.GetText(CRodCheckPage::kSigma));
      // The wall reaction of the envelope: the force split by the rod's angle.
      const RodWallReaction& w = level.reactions[r];
      EXPECT_NEAR(std::hypot(w.compression.normal, w.compression.parallel), std::abs(Fmin[r]), 1e-9);
      EXPECT_EQ(w.compression.caseName, rod.compressionCase);
    }
  }
  // Each level's own pages: the further frame gives longer rods.
  EXPECT_GT(ParseDouble(book.levels[1].rods[0].texts.L), ParseDouble(book.levels[0].rods[0].texts.L));
}

TEST(BookSettings, RefusesACaseOrASectionThatCannotBeCalculated) {
  Started<CFourRodParallelPage> forces;
  TypeAll(forces.page, kFourRodI);
  Started<CRodCheckPage> section;
  SetUpSection(section.page, 0);
  Started<CRodCheckPage> empty;
  const struct {
    CaseBook settings;
    const char* refusalStart;
  } cases[] = {
      // A level whose own inputs cannot be calculated (its frame on the wall).
      {{{}, {}, {}, {{"第一道", "", {}, {}}, {"第二道", "", {{"four-rod-1", {{"Y1", "0"}}, {}}}, {}}}, 0},
       "第二道：请先完成附着杆内力计算!"},
      {{{}, {}, {{{1}, CapturePage("rod-check", empty.page)}}, {}, 0}, "请先在附着杆校核页设定杆件截面参数!\n附着杆 1 "},
  };
  for (const auto& c : cases) {
    const CalculationBook book = ComputeBook(forces.page, section.page, c.settings);
    EXPECT_EQ(book.refusal.rfind(c.refusalStart, 0), 0u) << book.refusal;
    EXPECT_TRUE(book.levels.empty());
  }
  // A case's text that does not read as typed is named, with its case, for
  // the question before the document.
  const CalculationBook typo = ComputeBook(forces.page, section.page, {{}, {{"工作状态", "1O0", "0"}}, {}, {}, 0});
  EXPECT_FALSE(typo.Refused());
  EXPECT_EQ(typo.unreadable, std::vector<std::string>{"工况“工作状态”：R 无法识别，按 0 计算"});
}

}  // namespace
}  // namespace tiecalc
