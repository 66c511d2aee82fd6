#include <gtest/gtest.h>

#include "pages/PageTestSupport.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

const Entries kExampleResults = {
    {"alpha", "62.88"}, {"beta", "69.9"}, {"gamma", "62.88"},
    {"L1", "4606.46"}, {"L2", "4365.9"}, {"L3", "4606.46"},
    {"F1", "311.42"}, {"F2", "-208.23"}, {"F3", "-35.54"},
    {"F1x", "141.96"}, {"F1y", "277.18"}, {"F2x", "-71.56"}, {"F2y", "-195.55"},
    {"F3x", "16.2"}, {"F3y", "-31.63"},
    {"F1m", "358.77/-358.77"}, {"theta1", "108.45/288.45"},
    {"F2m", "-473.17/473.17"}, {"theta2", "180.00/0.00"},
    {"F3m", "-192.48/192.48"}, {"theta3", "336.80/516.80"},
};

const Entries kExampleInputs = {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"},
                                {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"}, {"H", "5000"},
                                {"R", "100"}, {"M", "200"}, {"theta", "30"}};

TEST(ThreeRodStart, EveryFieldShowsZeroAndTheStatusAsksForParameters) {
  Started<CThreeRod> s;
  for (const NamedControl& n : s.page.Names()) {
    EXPECT_EQ(s.page.GetText(n.id), "0") << n.name;
    EXPECT_EQ(s.page.IsReadOnly(n.id), !n.input) << n.name;
  }
  EXPECT_EQ(s.page.Names().size(), 32u);
  EXPECT_EQ(s.page.Status(), "请设定参数!");
  EXPECT_EQ(s.page.GetBitmap(CThreeRod::kDiagram), 135);
  EXPECT_TRUE(s.desktop.Messages().empty());
}

TEST(ThreeRodStart, TooltipsAndTemplate) {
  CThreeRod page;
  EXPECT_EQ(page.Template().id, 140);
  EXPECT_EQ(page.Template().width, 349);
  EXPECT_EQ(page.Template().height, 245);
  EXPECT_EQ(page.TooltipText(CThreeRod::kX3), ">=0,<=L1+L2,单位(mm)");
  EXPECT_EQ(page.TooltipText(CThreeRod::kC), ">=0,<=2A,单位(mm)");
  EXPECT_EQ(page.TooltipText(CThreeRod::kF1x), "θ角度时F1x值(KN)");
  EXPECT_EQ(page.TooltipText(CThreeRod::kF1), "θ角度时的F1值(KN)");
  EXPECT_EQ(page.TooltipText(CThreeRod::kTheta3), "F3最大值时的R角度值(度)");
  EXPECT_FALSE(page.TooltipText(CThreeRod::kStatus).has_value());
  EXPECT_EQ(page.GetText(CThreeRod::kExportButton), "输出结果到文件");
  EXPECT_EQ(page.GetText(CThreeRod::kReportButton), "生成报告文件");
}

TEST(ThreeRodExample, TypedInOrderBecomesValidWithH) {
  Started<CThreeRod> s;
  EXPECT_EQ(TypeAll(s.page, kExampleInputs), InvalidUntil(7, 11, "数据错误或不全", "数据计算成功"));
  ExpectShown(s.page, kExampleResults);
  EXPECT_EQ(s.page.Result().Alpha, 62.88);
  EXPECT_EQ(s.page.Input().X3, 1500.0);
}

TEST(ThreeRodExample, TypedBackwardsBecomesValidOnlyWithTheLastField) {
  Started<CThreeRod> s;
  const Entries backwards(kExampleInputs.rbegin(), kExampleInputs.rend());
  EXPECT_EQ(TypeAll(s.page, backwards), InvalidUntil(10, 11, "数据错误或不全", "数据计算成功"));
  ExpectShown(s.page, kExampleResults);
}

TEST(ThreeRodExample, ExpressionsAndFullWidthSymbolsReadAsTheirValue) {
  Started<CThreeRod> s;
  Entries typed = kExampleInputs;
  typed[0].second = "2*450";
  typed[4].second = "（1000＋500）×2";
  TypeAll(s.page, typed);
  ExpectShown(s.page, kExampleResults);
  EXPECT_EQ(Shown(s.page, "A"), "2*450");
}

TEST(ThreeRodInvalid, AnInvalidValueChangesOnlyTheStatus) {
  Started<CThreeRod> s;
  TypeAll(s.page, kExampleInputs);
  Type(s.page, "H", "800");  // H below B
  EXPECT_EQ(s.page.Status(), "数据错误或不全");
  ExpectShown(s.page, kExampleResults);
  EXPECT_EQ(s.page.Result().Forces.F1, 311.42);
  Type(s.page, "X1", "abc");  // unreadable: counts as 0
  EXPECT_EQ(s.page.Status(), "数据错误或不全");
  Type(s.page, "X1", "3000");
  Type(s.page, "H", "5000");
  EXPECT_EQ(s.page.Status(), "数据计算成功");
}

TEST(ThreeRodInvalid, ParallelRodsAreNotShownAsASuccess) {
  // X3 = 900 makes rods 1 and 2 parallel: P lies at infinity.
  Started<CThreeRod> s;
  TypeAll(s.page, kExampleInputs);
  EXPECT_TRUE(s.page.IsInputValid());
  Type(s.page, "X3", "900");
  EXPECT_EQ(s.page.Status(), "数据错误或不全");
  ExpectShown(s.page, kExampleResults);
  // The export and the report must refuse it too: the shown results belong
  // to X3 = 1500.
  EXPECT_TRUE(IsThreeRodInputValid(s.page.Input()));
  EXPECT_FALSE(s.page.IsInputValid());
  Type(s.page, "X3", "1500");
  EXPECT_TRUE(s.page.IsInputValid());
  Type(s.page, "H", "800");
  EXPECT_FALSE(s.page.IsInputValid());
}

TEST(ThreeRodInvalid, FramesThatCannotCarryEveryLoadAreMarkedAndKeepTheLastResults) {
  const struct {
    Entries typed;  // after the worked example
    std::vector<std::string> marked;
    std::string reason;
  } cases[] = {
      // Rod 2 vertical through the point where rods 1 and 3 meet.
      {{{"X3", "3000"}, {"M", "300"}}, {"X1", "X2", "X3"}, "三根杆的轴线交于一点"},
      {{{"X3", "900"}}, {"X3", "A", "C", "D"}, "杆1与杆2平行"},
  };
  for (const auto& c : cases) {
    Started<CThreeRod> s;
    TypeAll(s.page, kExampleInputs);
    TypeAll(s.page, c.typed);
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(s.page.Status(), "数据错误或不全");
    EXPECT_FALSE(s.page.IsInputValid());
    Marks marks;
    for (const std::string& name : c.marked) marks.push_back({name, c.reason});
    EXPECT_EQ(RuleMarks(s.page), marks);
    EXPECT_EQ(s.page.InvalidReasons(), std::vector<std::string>{c.reason});
    ExpectShown(s.page, kExampleResults);
    EXPECT_TRUE(s.page.Record().sweep.points.empty());
  }
}

TEST(ThreeRodExample, PerpendicularRodStillComputes) {
  Started<CThreeRod> s;
  Entries typed = kExampleInputs;
  typed[4].second = "900";  // X1 = A
  TypeAll(s.page, typed);
  EXPECT_EQ(s.page.Status(), "数据计算成功");
  ExpectShown(s.page, {{"alpha", "90"}, {"L1", "4100"}, {"F1", "86.74"}, {"F2", "187.31"}, {"F3", "-249.51"}});
}

}  // namespace
}  // namespace tiecalc
