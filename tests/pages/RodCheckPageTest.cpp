#include <gtest/gtest.h>

#include "pages/RodCheckPage.h"
#include "pages/PageTestSupport.h"

namespace tiecalc {
namespace {

constexpr const char* kInvalid = "请设定正确参数！";
constexpr const char* NA = "不适用";

void SelectForm(CRodCheckPage& page, int form) { ASSERT_TRUE(page.UserSelect(CRodCheckPage::kForm, form)); }

TEST(RodCheckStart, SolidWebQ235ZerosAndNotApplicableLatticeFields) {
  Started<CRodCheckPage> s;
  CRodCheckPage& p = s.page;
  EXPECT_EQ(p.GetCurSel(CRodCheckPage::kForm), 0);
  ExpectShown(p, {{"form", "实腹式"}, {"main", "Q235"}, {"lacing", "Q235"}, {"k", "1.34"},
                  {"F", "0"}, {"L", "0"}, {"G", "0"}, {"A", "0"}, {"h", "0"}, {"Imax", "0"},
                  {"Imin", "0"}, {"Ld", "0"}, {"mu", "1.00"}, {"lambda", "0"}, {"psi", "1.00"},
                  {"sigma", "0"}});
  for (const char* name : {"Az", "I1", "Iz", "delta", "L1", "a", "lambda1", "lambdaz", "psi1", "psiz",
                           "sigma1", "sigmaz"})
    EXPECT_EQ(Shown(p, name), NA) << name;
  for (const NamedControl& n : p.Names()) {
    const bool editable = n.byIndex || n.name == "main" || n.name == "lacing" || n.name == "F" ||
                          n.name == "L" || n.name == "G" || n.name == "A" || n.name == "h" ||
                          n.name == "Imax" || n.name == "Imin" || n.name == "k";
    if (p.KindOf(n.id) == ControlKind::Edit) {
      EXPECT_EQ(p.IsReadOnly(n.id), !editable) << n.name;
    }
  }
  EXPECT_EQ(p.Status(), "请设定计算参数!");
  // The record keeps the verdict of the checks that ran while the page started.
  EXPECT_EQ(p.Message(), kInvalid);
  EXPECT_EQ(p.GetBitmap(CRodCheckPage::kDiagram), 193);
  EXPECT_EQ(p.TooltipText(CRodCheckPage::kK), "根据GB/T13752-92表19选取");
  EXPECT_EQ(p.TooltipText(CRodCheckPage::kMu), "根据 附着杆大小截面惯性矩比和大截面长度选取");
  EXPECT_EQ(p.TooltipText(CRodCheckPage::kSigmaZ), "单位MPa");
  EXPECT_FALSE(p.TooltipText(CRodCheckPage::kLambda).has_value());
}

TEST(RodCheckStart, TemplateHasTheGivenPositions) {
  CRodCheckPage page;
  const DialogTemplate& t = page.Template();
  EXPECT_EQ(t.width, 345);
  EXPECT_EQ(t.height, 247);
  auto rectOf = [&](int id) {
    for (const ControlTemplate& c : t.controls)
      if (c.id == id) return c.rect;
    return DialogRect{};
  };
  auto same = [](DialogRect a, DialogRect b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
  };
  EXPECT_TRUE(same(rectOf(CRodCheckPage::kForm), {69, 13, 54, 58}));
  EXPECT_TRUE(same(rectOf(CRodCheckPage::ka), {300, 98, 38, 12}));
  EXPECT_TRUE(same(rectOf(CRodCheckPage::kSigmaZ), {300, 148, 38, 12}));
  EXPECT_TRUE(same(rectOf(CRodCheckPage::kMessage), {8, 181, 147, 53}));
  EXPECT_TRUE(same(rectOf(CRodCheckPage::kReportButton), {159, 213, 33, 22}));
  // The diagram's area, less a row at its top for the 轴力取自 list.
  EXPECT_TRUE(same(rectOf(CRodCheckPage::kDiagram), {195, 191, 143, 43}));
  EXPECT_TRUE(same(rectOf(CRodCheckPage::kSource), {230, 177, 108, 150}));
  EXPECT_EQ(page.GetText(CRodCheckPage::kReportButton), "生 成\r\n报 告");
}

TEST(RodCheckSolidWeb, MessageStaysInvalidUntilTheLastNeededField) {
  Started<CRodCheckPage> s;
  const std::string pass = "附着杆整体刚度满足要求！\r\n附着杆整体稳定性满足要求！";
  EXPECT_EQ(TypeAll(s.page, kRodCheckSolidExample), InvalidUntil(6, 7, kInvalid, pass));
  ExpectShown(s.page, {{"mu", "1.00"}, {"lambda", "60.00"}, {"psi", "0.807"}, {"sigma", "31.81"},
                       {"Ld", "6000"}});
  EXPECT_EQ(s.page.Message(), pass);
  EXPECT_DOUBLE_EQ(s.page.Data().M, 2250000.0);

  Type(s.page, "L", "12000");
  EXPECT_EQ(Shown(s.page, "lambda"), "120.00");
  EXPECT_EQ(s.page.Status().rfind("附着杆整体刚度 不 满足要求！\r\n附着杆整体稳定性", 0), 0u);
  EXPECT_EQ(Shown(s.page, "Ld"), "6000");  // a change of L alone leaves the large-section length

  Type(s.page, "F", "0");
  EXPECT_EQ(s.page.Status(), kInvalid);
  EXPECT_EQ(Shown(s.page, "lambda"), "120.00");
}

TEST(RodCheckSolidWeb, TypedBackwardsTheLargeSectionKeepsTheLengthOfItsTime) {
  Started<CRodCheckPage> s;
  const std::string pass = "附着杆整体刚度满足要求！\r\n附着杆整体稳定性满足要求！";
  EXPECT_EQ(TypeAll(s.page, Entries(kRodCheckSolidExample.rbegin(), kRodCheckSolidExample.rend())), InvalidUntil(6, 7, kInvalid, pass));
  ExpectShown(s.page, {{"lambda", "60.00"}, {"psi", "0.807"}, {"sigma", "31.81"}});
  // Imax met Imin while L was still 0; typing L later leaves Ld alone.
  EXPECT_EQ(Shown(s.page, "Ld"), "0");
  EXPECT_TRUE(s.page.IsReadOnly(CRodCheckPage::kLd));
}

TEST(RodCheckLargeSection, LdUnlocksWhileTheSectionsDifferAndCopiesLWhenTheyAgree) {
  Started<CRodCheckPage> s;
  TypeAll(s.page, kRodCheckSolidExample);
  EXPECT_TRUE(s.page.IsReadOnly(CRodCheckPage::kLd));
  Type(s.page, "Imin", "25000000");
  EXPECT_FALSE(s.page.IsReadOnly(CRodCheckPage::kLd));
  EXPECT_EQ(Shown(s.page, "Ld"), "6000");
  EXPECT_EQ(Shown(s.page, "mu"), "1.000");  // Ld / L = 1: from the table, three decimals
  Type(s.page, "Ld", "3000");
  EXPECT_EQ(Shown(s.page, "mu"), "1.020");
  Type(s.page, "Ld", "7200");  // Ld / L = 1.2: outside the table
  EXPECT_EQ(Shown(s.page, "mu"), "-1.000");
  EXPECT_EQ(s.page.Status(), kInvalid);
  Type(s.page, "L", "7000");
  Type(s.page, "Imin", "50000000");
  EXPECT_TRUE(s.page.IsReadOnly(CRodCheckPage::kLd));
  EXPECT_EQ(Shown(s.page, "Ld"), "7000");
  EXPECT_EQ(Shown(s.page, "mu"), "1.00");
  EXPECT_EQ(s.page.Data().Ld, 7000.0);
}

struct FormState {
  const char* az;      // Az, I1, Iz, L1, a
  const char* delta;
  const char* lambda1;  // also sigma1, sigmaz
  const char* lambdaz;
  const char* psi1;
  const char* psiz;
  int bitmap;
};

const FormState kForms[5] = {
    {NA, NA, NA, NA, NA, NA, 193},
    {"0", "0", "0", NA, "1.00", NA, 195},
    {"0", NA, "0", "0", "1.00", "1.00", 196},
    {"0", "0", "0", NA, "1.00", NA, 197},
    {"0", NA, "0", "0", "1.00", "1.00", 198},
};

void ExpectForm(const CRodCheckPage& p, int form) {
  const FormState& f = kForms[form];
  SCOPED_TRACE(form);
  for (const char* name : {"Az", "I1", "Iz", "L1", "a"}) {
    EXPECT_EQ(Shown(p, name), f.az) << name;
    EXPECT_EQ(p.IsReadOnly(Id(p, name)), f.az == NA) << name;
  }
  EXPECT_EQ(Shown(p, "delta"), f.delta);
  EXPECT_EQ(p.IsReadOnly(CRodCheckPage::kDelta), f.delta == NA);
  ExpectShown(p, {{"lambda1", f.lambda1}, {"sigma1", f.lambda1}, {"sigmaz", f.lambda1},
                  {"lambdaz", f.lambdaz}, {"psi1", f.psi1}, {"psiz", f.psiz}});
  EXPECT_EQ(p.GetBitmap(CRodCheckPage::kDiagram), f.bitmap);
  EXPECT_EQ(p.Form(), static_cast<RodForm>(form));
}

TEST(RodCheckForms, EachFormSetsItsFieldsAndDiagramAndBack) {
  Started<CRodCheckPage> s;
  TypeAll(s.page, kRodCheckSolidExample);
  for (int form : {1, 2, 3, 4, 0, 3, 1}) {
    SelectForm(s.page, form);
    ExpectForm(s.page, form);
    // The overall results and the common inputs keep their texts.
    ExpectShown(s.page, {{"lambda", "60.00"}, {"psi", "0.807"}, {"sigma", "31.81"}, {"F", "100"}});
    EXPECT_EQ(s.page.Status(), form == 0 ? "附着杆整体刚度满足要求！\r\n附着杆整体稳定性满足要求！" : kInvalid);
  }
}

TEST(RodCheckForms, FromBattenedToLacedTheThicknessNoLongerApplies) {
  Started<CRodCheckPage> s;
  SelectForm(s.page, 1);
  Type(s.page, "delta", "10");
  SelectForm(s.page, 2);
  ExpectShown(s.page, {{"delta", NA}, {"psiz", "1.00"}, {"lambdaz", "0"}});
  EXPECT_FALSE(s.page.UserType(CRodCheckPage::kDelta, "10"));
}

struct LatticeCase {
  int form;
  bool q345;
  Entries shown;
};

TEST(RodCheckLattice, WorkedExamplesOfTheFourLatticeForms) {
  const LatticeCase cases[] = {
      {1, false, {{"lambda", "54.18"}, {"lambda1", "19.36"}, {"psi", "0.837"}, {"psi1", "0.972"},
                  {"sigma", "53.91"}, {"sigma1", "34.30"}, {"sigmaz", "57.56"}, {"lambdaz", "不适用"}}},
      {2, false, {{"lambda", "51.39"}, {"lambda1", "23.24"}, {"lambdaz", "22.36"}, {"psi", "0.850"},
                  {"psi1", "0.959"}, {"psiz", "0.962"}, {"sigma", "53.22"}, {"sigma1", "34.75"},
                  {"sigmaz", "2.44"}}},
      {3, false, {{"lambda", "52.42"}, {"lambda1", "13.69"}, {"psi", "0.845"}, {"psi1", "0.986"},
                  {"sigma", "53.49"}, {"sigma1", "33.82"}, {"sigmaz", "57.11"}}},
      {4, false, {{"lambda", "51.77"}, {"lambda1", "16.43"}, {"psi", "0.848"}, {"psi1", "0.980"},
                  {"psiz", "0.962"}, {"sigma", "53.32"}, {"sigma1", "34.02"}, {"sigmaz", "2.45"}}},
      {1, true, {{"psi", "0.776"}, {"psi1", "0.959"}, {"sigma", "57.03"}, {"sigma1", "34.77"},
                 {"sigmaz", "73.79"}}},
  };
  for (const LatticeCase& c : cases) {
    SCOPED_TRACE(c.form);
    Started<CRodCheckPage> s;
    SelectForm(s.page, c.form);
    const bool battened = c.form == 1 || c.form == 3;
    TypeAll(s.page, RodCheckLatticeExample(battened));
    if (c.q345) {
      ASSERT_TRUE(s.page.UserSelect(CRodCheckPage::kMainGrade, 1));
    }
    ExpectShown(s.page, c.shown);
    const std::string last = battened ? "附着杆缀板强度满足要求！" : "附着杆缀条稳定性满足要求！";
    EXPECT_EQ(s.page.Status().rfind("附着杆整体刚度满足要求！\r\n附着杆单肢刚度满足要求！", 0), 0u);
    EXPECT_EQ(s.page.Status().substr(s.page.Status().size() - last.size()), last);
    EXPECT_EQ(s.page.Message(), s.page.Status());
    EXPECT_EQ(s.page.Data().form, static_cast<RodForm>(c.form));
    EXPECT_EQ(s.page.MainGrade(), c.q345 ? SteelGrade::Q345 : SteelGrade::Q235);
  }
}

TEST(RodCheckLattice, CommonInputsFirstThenTheFormThenItsOwnInputs) {
  Started<CRodCheckPage> s;
  const Entries all = RodCheckLatticeExample(true);
  const Entries common(all.begin(), all.begin() + 7), own(all.begin() + 7, all.end());
  TypeAll(s.page, common);
  EXPECT_EQ(s.page.Status(), "附着杆整体刚度满足要求！\r\n附着杆整体稳定性满足要求！");  // as a solid web
  SelectForm(s.page, 1);
  const std::vector<std::string> statuses = TypeAll(s.page, own);
  EXPECT_EQ(statuses, InvalidUntil(5, 6, kInvalid, s.page.Message()));
  EXPECT_EQ(s.page.Message().rfind("附着杆整体刚度满足要求！\r\n附着杆单肢刚度满足要求！", 0), 0u);
  ExpectShown(s.page, {{"lambda", "54.18"}, {"lambda1", "19.36"}, {"sigmaz", "57.56"}, {"F", "200"}});
}

TEST(RodCheckLattice, BattenedFormNeedsTheThickness) {
  Started<CRodCheckPage> s;
  SelectForm(s.page, 3);
  Entries e = RodCheckLatticeExample(true);
  e.back().second = "0";
  TypeAll(s.page, e);
  EXPECT_EQ(s.page.Status(), kInvalid);
  Type(s.page, "delta", "10");
  EXPECT_EQ(Shown(s.page, "sigmaz"), "57.11");
}

TEST(RodCheckInvalid, GreyedResultsAreThoseOfTheLastInputsReadAsTyped) {
  // I1 "2460..00" reads as 246: its results are not kept for greying when Iz
  // is then cleared; the results of I1 = 2460 are.
  Started<CRodCheckPage> s;
  s.page.UserSelect(CRodCheckPage::kForm, 2);
  TypeAll(s.page, {{"F", "200"}, {"L", "8000"}, {"G", "800"}, {"A", "6000"}, {"h", "250"}, {"Imax", "150000000"},
                   {"Imin", "150000000"}, {"Az", "1000"}, {"I1", "2460"}, {"Iz", "500000"}, {"L1", "600"}, {"a", "400"}});
  const std::string clean = Shown(s.page, "lambda1");
  Type(s.page, "I1", "2460..00");
  EXPECT_EQ(Shown(s.page, "lambda1"), "2095.29");  // shown, as read, while valid
  Type(s.page, "Iz", "");
  EXPECT_EQ(s.page.Status(), "请设定正确参数！");
  EXPECT_EQ(Shown(s.page, "lambda1"), clean);
  EXPECT_NE(clean, "2095.29");
}

// What a run shows, in the order the page sets it, for records the checks
// filled: every line of the verdict and the decimals of each result.
TEST(RodCheckTexts, ResultsInTheOrderTheyAreSet) {
  const std::string stiff = "附着杆整体刚度满足要求！", stiffFails = "附着杆整体刚度 不 满足要求！";
  const std::string stable = "\r\n附着杆整体稳定性满足要求！";
  const std::string passes = "\r\n附着杆单肢刚度满足要求！" + stable + "\r\n附着杆单肢稳定性满足要求！";
  const std::string allFail = "\r\n附着杆单肢刚度 不 满足要求！\r\n附着杆整体稳定性 不 满足要求！\r\n附着杆单肢稳定性 不 满足要求！";
  RodCheckData solid;
  solid.F = 100, solid.L = solid.Ld = 6000, solid.G = 300, solid.A = 5000, solid.h = 150;
  solid.Imax = solid.Imin = 5.0e7;
  RodCheckData lattice;
  lattice.F = 200, lattice.L = lattice.Ld = 8000, lattice.G = 800, lattice.A = 6000, lattice.h = 250;
  lattice.Imax = lattice.Imin = 1.5e8, lattice.Az = 1000, lattice.I1 = 2.0e6, lattice.Iz = 5.0e5;
  lattice.delta = 10, lattice.L1 = 600, lattice.a = 400;
  RodCheckData failing = lattice;  // every slenderness too high, k < 0: every stress fails
  failing.L = failing.Ld = 20000, failing.L1 = 3400, failing.Iz = 1.0e5, failing.k = -1;
  RodCheckData stepped = solid;
  stepped.Imin = 1.5e7, stepped.Ld = 3000;
  RodCheckData outsideTable = solid;
  outsideTable.Imin = 7.5e7;
  RodCheckData pulled = solid;
  pulled.F = -100;
  RodCheckData buckled = solid;
  buckled.F = 2600;
  RodCheckData invalid = solid;
  invalid.A = 0;
  using Texts = std::vector<std::pair<int, std::string>>;
  using RC = CRodCheckPage;
  const struct {
    RodForm form;
    RodCheckData data;
    Texts texts;
  } cases[] = {
      {RodForm::SolidWeb, solid,
       {{RC::kMu, "1.00"}, {RC::kLambda, "60.00"}, {RC::kPsi, "0.807"}, {RC::kSigma, "31.81"}, {RC::kMessage, stiff + stable}}},
      {RodForm::TwoLimbBattened, lattice,
       {{RC::kMu, "1.00"}, {RC::kLambda, "54.18"}, {RC::kLambda1, "19.36"}, {RC::kPsi, "0.837"}, {RC::kPsi1, "0.972"},
        {RC::kSigma, "53.91"}, {RC::kSigma1, "34.30"}, {RC::kSigmaZ, "57.56"},
        {RC::kMessage, stiff + passes + "\r\n附着杆缀板强度满足要求！"}}},
      {RodForm::TwoLimbLaced, lattice,
       {{RC::kMu, "1.00"}, {RC::kLambda, "51.39"}, {RC::kLambda1, "23.24"}, {RC::kLambdaZ, "22.36"}, {RC::kPsi, "0.850"},
        {RC::kPsi1, "0.959"}, {RC::kPsiZ, "0.962"}, {RC::kSigma, "53.22"}, {RC::kSigma1, "34.75"}, {RC::kSigmaZ, "2.44"},
        {RC::kMessage, stiff + "\r\n附着杆单肢刚度满足要求！\r\n附着杆缀条刚度满足要求！" + stable +
                          "\r\n附着杆单肢稳定性满足要求！\r\n附着杆缀条稳定性满足要求！"}}},
      {RodForm::FourLimbBattened, lattice,
       {{RC::kMu, "1.00"}, {RC::kLambda, "52.42"}, {RC::kLambda1, "13.69"}, {RC::kPsi, "0.845"}, {RC::kPsi1, "0.986"},
        {RC::kSigma, "53.49"}, {RC::kSigma1, "33.82"}, {RC::kSigmaZ, "57.11"},
        {RC::kMessage, stiff + passes + "\r\n附着杆缀板强度满足要求！"}}},
      {RodForm::FourLimbLaced, lattice,
       {{RC::kMu, "1.00"}, {RC::kLambda, "51.77"}, {RC::kLambda1, "16.43"}, {RC::kLambdaZ, "22.36"}, {RC::kPsi, "0.848"},
        {RC::kPsi1, "0.980"}, {RC::kPsiZ, "0.962"}, {RC::kSigma, "53.32"}, {RC::kSigma1, "34.02"}, {RC::kSigmaZ, "2.45"},
        {RC::kMessage, stiff + "\r\n附着杆单肢刚度满足要求！\r\n附着杆缀条刚度满足要求！" + stable +
                          "\r\n附着杆单肢稳定性满足要求！\r\n附着杆缀条稳定性满足要求！"}}},
      {RodForm::TwoLimbBattened, failing,
       {{RC::kMu, "1.00"}, {RC::kLambda, "179.82"}, {RC::kLambda1, "127.81"}, {RC::kPsi, "0.225"}, {RC::kPsi1, "0.398"},
        {RC::kSigma, "229.14"}, {RC::kSigma1, "83.76"}, {RC::kSigmaZ, "6876.49"},
        {RC::kMessage, stiffFails + allFail + "\r\n附着杆缀板强度 不 满足要求！"}}},
      {RodForm::FourLimbLaced, failing,
       {{RC::kMu, "1.00"}, {RC::kLambda, "126.96"}, {RC::kLambda1, "93.11"}, {RC::kLambdaZ, "174.64"},
        {RC::kPsi, "0.402"}, {RC::kPsi1, "0.600"}, {RC::kPsiZ, "0.237"}, {RC::kSigma, "130.10"}, {RC::kSigma1, "55.54"},
        {RC::kSigmaZ, "84.56"},
        {RC::kMessage, stiffFails + "\r\n附着杆单肢刚度 不 满足要求！\r\n附着杆缀条刚度 不 满足要求！" +
                          "\r\n附着杆整体稳定性 不 满足要求！\r\n附着杆单肢稳定性 不 满足要求！\r\n附着杆缀条稳定性 不 满足要求！"}}},
      {RodForm::SolidWeb, stepped,
       {{RC::kMu, "1.040"}, {RC::kLambda, "62.40"}, {RC::kPsi, "0.795"}, {RC::kSigma, "32.22"}, {RC::kMessage, stiff + stable}}},
      {RodForm::SolidWeb, pulled,
       {{RC::kMu, "1.00"}, {RC::kLambda, "60.00"}, {RC::kPsi, "0.807"}, {RC::kSigma, "-18.29"}, {RC::kMessage, stiff}}},
      {RodForm::SolidWeb, buckled,
       {{RC::kMu, "1.00"}, {RC::kLambda, "60.00"}, {RC::kPsi, "0.807"}, {RC::kSigma, "inf"},
        {RC::kMessage, stiff + "\r\n附着杆整体稳定性 不 满足要求！"}}},
      {RodForm::TwoLimbLaced, outsideTable, {{RC::kMu, "-1.000"}, {RC::kMessage, kInvalid}}},
      {RodForm::FourLimbBattened, invalid, {{RC::kMu, "1.00"}, {RC::kMessage, kInvalid}}},
  };
  for (const auto& c : cases) {
    RodCheckData d = c.data;
    CheckRod(d, c.form);
    EXPECT_EQ(CRodCheckPage::ResultTexts(d), c.texts) << static_cast<int>(c.form);
  }
}

}  // namespace
}  // namespace tiecalc
