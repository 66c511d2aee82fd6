#include <gtest/gtest.h>

#include "pages/FourRodPage.h"
#include "pages/PageTestSupport.h"

namespace tiecalc {
namespace {

constexpr const char* kInvalid = "输入数据错误或不完整!";
constexpr const char* kSuccess = "数据计算成功!";

const Entries kExampleI = {{"A", "800"}, {"B", "800"}, {"C", "800"}, {"D", "800"}, {"E", "800"},
                           {"F", "800"}, {"X1", "3000"}, {"X2", "3000"}, {"X3", "1200"},
                           {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"}, {"R", "100"},
                           {"M", "300"}, {"theta", "30"}};

const Entries kResultsI = {
    {"alpha", "65.38"}, {"beta", "72.65"}, {"gamma", "72.65"}, {"delta", "65.38"},
    {"L1", "5279.99"}, {"L2", "3352.53"}, {"L3", "3352.53"}, {"L4", "5279.99"},
    {"F1", "235.57"}, {"F2", "-153.23"}, {"F3", "186.47"}, {"F4", "-215.47"},
    {"F1x", "98.14"}, {"F1y", "214.16"}, {"F2x", "-45.69"}, {"F2y", "-146.26"},
    {"F3x", "-55.61"}, {"F3y", "177.99"}, {"F4x", "89.77"}, {"F4y", "-195.88"},
    {"F1m", "-728.53/728.53"}, {"F2m", "-1185.40/1185.40"}, {"F3m", "-1185.40/1185.40"},
    {"F4m", "-728.53/728.53"}, {"theta1", "-4.27/175.73"}, {"theta2", "-176.50/3.50"},
    {"theta3", "-3.50/176.50"}, {"theta4", "-175.73/4.27"},
};

const Entries kExampleII = {{"A", "900"}, {"B", "900"}, {"C", "300"}, {"D", "1000"}, {"E", "300"},
                            {"F", "100"}, {"G", "300"}, {"H", "1000"}, {"X1", "3500"},
                            {"X2", "3500"}, {"X3", "1500"}, {"X4", "1500"}, {"Y1", "4500"},
                            {"Y2", "4500"}, {"R", "100"}, {"M", "300"}, {"theta", "30"}};

const Entries kResultsII = {
    {"alpha", "61.56"}, {"beta", "64.09"}, {"gamma", "59.04"}, {"delta", "58.24"},
    {"L1", "5458.78"}, {"L2", "3891.13"}, {"L3", "4081.50"}, {"L4", "4939.66"},
    {"F1", "156.57"}, {"F2", "-44.03"}, {"F3", "92.38"}, {"F4", "-149.7"},
    {"F1x", "74.57"}, {"F1y", "137.68"}, {"F2x", "-19.24"}, {"F2y", "-39.61"},
    {"F3x", "-47.52"}, {"F3y", "79.21"}, {"F4x", "78.8"}, {"F4y", "-127.29"},
    {"F1m", "-156.62/156.62"}, {"F2m", "-205.92/205.92"}, {"F3m", "-214.60/214.60"},
    {"F4m", "-184.13/184.13"}, {"theta1", "-152.87/27.13"}, {"theta2", "-146.67/33.33"},
    {"theta3", "-15.75/164.25"}, {"theta4", "-42.67/137.33"},
};

template <class TPage>
void ExpectStartState(const Started<TPage>& s, size_t inputCount) {
  size_t inputs = 0;
  for (const NamedControl& n : s.page.Names()) {
    if (n.name == "manualL") {
      EXPECT_FALSE(s.page.GetCheck(n.id));
      ++inputs;
      continue;
    }
    const char n0 = n.name[0];
    const bool modulus = n.name.size() == 2 && (n0 == 'E' || n0 == 'S') && isdigit(n.name[1]);
    const std::string expected = !modulus ? "0" : n0 == 'E' ? "206" : "2000";
    EXPECT_EQ(s.page.GetText(n.id), expected) << n.name;
    const bool length = n.name.size() == 2 && n0 == 'L';
    EXPECT_EQ(s.page.IsReadOnly(n.id), !n.input || length) << n.name;
    inputs += n.input;
  }
  EXPECT_EQ(inputs, inputCount);
  EXPECT_EQ(s.page.Status(), "请设定计算参数!");
  EXPECT_FALSE(s.page.ManualL());
}

TEST(FourRodStart, LayoutIStartsWithZerosDefaultModuliAndAreas) {
  Started<CFourRodParallelPage> s;
  ExpectStartState(s, 15 + 8 + 1 + 4);
  EXPECT_EQ(s.page.S()[3], 2000.0);
  EXPECT_EQ(s.page.E()[0], 206.0);
}

TEST(FourRodStart, LayoutIIAddsGAndH) {
  Started<CFourRodTurnedPage> s;
  ExpectStartState(s, 17 + 8 + 1 + 4);
  EXPECT_EQ(Shown(s.page, "G"), "0");
  EXPECT_EQ(Shown(s.page, "H"), "0");
}

TEST(FourRodStart, TemplatesDifferInData) {
  CFourRodParallelPage one;
  CFourRodTurnedPage two;
  EXPECT_EQ(one.Template().id, 141);
  EXPECT_EQ(two.Template().id, 142);
  EXPECT_EQ(one.Template().fontSize, 10);
  EXPECT_EQ(two.Template().fontSize, 9);
  EXPECT_TRUE(one.HasControl(1036));
  EXPECT_FALSE(two.HasControl(1036));
  EXPECT_TRUE(two.HasControl(1061));
  EXPECT_EQ(one.GetText(CFourRodPage::kExportButton), "输 出\r\n结 果");
  EXPECT_EQ(two.GetText(CFourRodPage::kExportButton), "输出结果");
  EXPECT_EQ(one.GetText(CFourRodPage::kManualL), "手动修正L");
  EXPECT_EQ(two.GetText(CFourRodPage::kManualL), "手动修正L长度");
  EXPECT_EQ(one.TooltipText(CFourRodPage::kX1), ">A,>D,单位(mm)");
  EXPECT_EQ(two.TooltipText(CFourRodPage::kX1), "X1＞0,单位(mm)");
  EXPECT_EQ(two.TooltipText(CFourRodPage::kD), "D＞0,单位(mm)");
  EXPECT_EQ(two.TooltipText(CFourRodTurnedPage::kH), "H＞0,单位(mm)");
  EXPECT_EQ(one.TooltipText(CFourRodPage::kF4y), "θ角度时的F4y值(KN)");
  EXPECT_EQ(one.TooltipText(CFourRodPage::kS3), "杆3截面积>0(mm^2)");
  EXPECT_EQ(one.TooltipText(CFourRodPage::kTheta4), "F4最大值时的R角度值(度)");
}

TEST(FourRodExample, LayoutITypedInOrderBecomesValidWithY2) {
  Started<CFourRodParallelPage> s;
  EXPECT_EQ(TypeAll(s.page, kExampleI), InvalidUntil(11, 15, kInvalid, kSuccess));
  ExpectShown(s.page, kResultsI);
  EXPECT_EQ(s.page.Result().L[0], 5279.99);
  EXPECT_EQ(s.page.Angles().Beta, 72.65);
}

TEST(FourRodExample, LayoutITypedBackwardsBecomesValidWithA) {
  Started<CFourRodParallelPage> s;
  const Entries backwards(kExampleI.rbegin(), kExampleI.rend());
  EXPECT_EQ(TypeAll(s.page, backwards), InvalidUntil(14, 15, kInvalid, kSuccess));
  ExpectShown(s.page, kResultsI);
}

TEST(FourRodExample, LayoutIIBothOrders) {
  Started<CFourRodTurnedPage> forwards;
  // Valid once Y2 is typed: C, E, F, G, H may be anything.
  EXPECT_EQ(TypeAll(forwards.page, kExampleII), InvalidUntil(13, 17, kInvalid, kSuccess));
  ExpectShown(forwards.page, kResultsII);
  Started<CFourRodTurnedPage> backwards;
  EXPECT_EQ(TypeAll(backwards.page, Entries(kExampleII.rbegin(), kExampleII.rend())),
            InvalidUntil(16, 17, kInvalid, kSuccess));
  ExpectShown(backwards.page, kResultsII);
}

TEST(FourRodValidity, LayoutIBoundaries) {
  Started<CFourRodParallelPage> s;
  TypeAll(s.page, kExampleI);
  Type(s.page, "X3", "0");
  Type(s.page, "X1", "800");  // X1 = A, but also = D
  EXPECT_EQ(s.page.Status(), kInvalid);
  Type(s.page, "D", "700");  // X1 = A passes when X1 > D
  EXPECT_EQ(s.page.Status(), kSuccess);
  Type(s.page, "D", "800");
  Type(s.page, "X1", "3000");
  Type(s.page, "X3", "3000");  // X3 = X1 passes
  EXPECT_EQ(s.page.Status(), kSuccess);
  const std::string shownF1 = Shown(s.page, "F1");
  Type(s.page, "X3", "3000.01");
  EXPECT_EQ(s.page.Status(), kInvalid);
  EXPECT_EQ(Shown(s.page, "F1"), shownF1);  // results stay
  Type(s.page, "X3", "0");
  EXPECT_EQ(s.page.Status(), kSuccess);
  Type(s.page, "B", "-100");  // B may be negative
  EXPECT_EQ(s.page.Status(), kSuccess);
}

TEST(FourRodValidity, LayoutIIStrictlyPositiveDimensions) {
  for (const char* name : {"A", "B", "D", "X1", "X2", "Y1", "Y2"}) {
    Started<CFourRodTurnedPage> s;
    TypeAll(s.page, kExampleII);
    Type(s.page, name, "0");
    EXPECT_EQ(s.page.Status(), kInvalid) << name;
    ExpectShown(s.page, kResultsII);
  }
  Started<CFourRodTurnedPage> s;
  TypeAll(s.page, kExampleII);
  for (const char* name : {"C", "E", "F", "G", "H"}) {
    Type(s.page, name, "-50");
    EXPECT_EQ(s.page.Status(), kSuccess) << name;
  }
  Type(s.page, "X3", "0");
  Type(s.page, "X4", "4000");  // X4 beyond X2 is not tested on this layout
  EXPECT_EQ(s.page.Status(), kSuccess);
}

// Inputs typed after a worked example that leave the frame without a
// solution: the page says so, marks the inputs with the reason, keeps the
// results of the example and makes nothing from them.
struct UnsolvableCase {
  bool layoutII;
  Entries typed;  // "manualL" ticks the box
  Marks marks;
};

const UnsolvableCase kUnsolvable[] = {
    {false, {{"S2", "0"}}, {{"S2", "杆2截面积必须大于0"}}},
    {false, {{"E1", "-206"}, {"S4", "-1"}}, {{"E1", "杆1弹性模量必须大于0"}, {"S4", "杆4截面积必须大于0"}}},
    {false, {{"E3", "pow(10,400)"}}, {{"E3", "杆3弹性模量必须大于0"}}},  // out of range: infinite
    {false, {{"manualL", ""}, {"L1", "-5000"}}, {{"L1", "杆1长度必须大于0"}}},
    {false, {{"manualL", ""}, {"L3", "0"}}, {{"L3", "杆3长度必须大于0"}}},
    // Rod 2 runs 1466.67 along the wall over 3200: rod 1's 65.38°.
    {false, {{"X3", "733.33"}}, {{"X1", "杆1与杆2平行"}, {"X3", "杆1与杆2平行"}}},
    // The far frame edge on the wall line: rods 1 and 4 have no run towards the wall.
    {false,
     {{"B", "-4000"}},
     {{"Y1", "杆1长度必须大于0"}, {"B", "杆1长度必须大于0"}, {"Y2", "杆4长度必须大于0"}, {"B", "杆4长度必须大于0"}}},
    // Rod 2's anchor level with its frame point: a rod of no length (L2 = -0.00).
    {true, {{"D", "4500"}, {"X1", "1000"}, {"X4", "1144"}}, {{"Y1", "杆2长度必须大于0"}, {"D", "杆2长度必须大于0"}}},
    {true, {{"X4", "1433.33"}}, {{"X2", "杆3与杆4平行"}, {"X4", "杆3与杆4平行"}}},  // rod 4's 58.24°
    {true, {{"R", "pow(10,400)"}}, {{"R", "不满足 数值有限"}}},
};

template <class TPage>
void ExpectUnsolvable(const UnsolvableCase& c, const Entries& example, const Entries& results) {
  Started<TPage> s;
  TypeAll(s.page, example);
  for (const auto& [name, text] : c.typed)
    name == "manualL" ? (void)s.page.UserClick(CFourRodPage::kManualL) : Type(s.page, name, text);
  EXPECT_EQ(s.page.Status(), kInvalid);
  EXPECT_FALSE(s.page.IsInputValid());
  EXPECT_EQ(RuleMarks(s.page), c.marks);
  std::vector<std::string> reasons;
  for (const auto& [name, reason] : c.marks)
    if (reasons.empty() || reasons.back() != reason) reasons.push_back(reason);
  EXPECT_EQ(s.page.InvalidReasons(), reasons);
  Entries kept = results;
  if (s.page.ManualL()) std::erase_if(kept, [](const auto& e) { return e.first[0] == 'L'; });
  ExpectShown(s.page, kept);
  EXPECT_TRUE(s.page.Record().sweep.points.empty());
}

TEST(FourRodValidity, UnsolvableFramesAreInvalidMarkedAndKeepTheLastResults) {
  for (const UnsolvableCase& c : kUnsolvable) {
    SCOPED_TRACE(c.typed.back().first + "=" + c.typed.back().second);
    if (c.layoutII)
      ExpectUnsolvable<CFourRodTurnedPage>(c, kExampleII, kResultsII);
    else
      ExpectUnsolvable<CFourRodParallelPage>(c, kExampleI, kResultsI);
  }
}

TEST(FourRodManualLength, TypedLengthIsUsedAndKeptUntilUnticked) {
  Started<CFourRodParallelPage> s;
  TypeAll(s.page, kExampleI);
  EXPECT_FALSE(s.page.UserType(CFourRodPage::kL1, "5000"));  // read-only in automatic mode
  ASSERT_TRUE(s.page.UserClick(CFourRodPage::kManualL));
  EXPECT_TRUE(s.page.ManualL());
  for (const char* name : {"L1", "L2", "L3", "L4"}) EXPECT_FALSE(s.page.IsReadOnly(Id(s.page, name)));
  ExpectShown(s.page, kResultsI);  // the lengths last shown are kept, and give the same forces

  Type(s.page, "L1", "5000");
  EXPECT_EQ(s.page.Status(), kSuccess);
  EXPECT_EQ(Shown(s.page, "L1"), "5000");
  EXPECT_EQ(s.page.Result().L[0], 5000.0);
  // The other rods are read from the shown (rounded) lengths.
  const FourRodResult expected =
      SolveFourRodPage(FourRodGeometryOf(s.page.Layout(), s.page.Angles()), {5000, 3352.53, 3352.53, 5279.99},
                       s.page.E(), s.page.S(), 100, 300, 30);
  EXPECT_EQ(s.page.Result().Forces.F, expected.Forces.F);
  EXPECT_NE(Shown(s.page, "F1"), "235.57");

  Type(s.page, "L1", "2*2500");  // an expression, read but not rewritten
  EXPECT_EQ(Shown(s.page, "L1"), "2*2500");
  EXPECT_EQ(s.page.Result().L[0], 5000.0);

  ASSERT_TRUE(s.page.UserClick(CFourRodPage::kManualL));
  EXPECT_FALSE(s.page.ManualL());
  EXPECT_TRUE(s.page.IsReadOnly(CFourRodPage::kL1));
  ExpectShown(s.page, kResultsI);
}

}  // namespace
}  // namespace tiecalc
