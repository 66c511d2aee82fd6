// The three-rod and four-rod reports: the whole document of the worked
// examples read back, refusals and cancelling.

#include <algorithm>
#include <tuple>

#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"
#include "report/composers/ReportTestSupport.h"
#include "report/composers/Reports.h"

namespace tiecalc {
namespace {

const Entries kThreeRodExample = {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"},
                                  {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"}, {"H", "5000"},
                                  {"R", "100"}, {"M", "200"}, {"theta", "30"}};

const Entries kLayoutIExample = {{"A", "800"}, {"B", "800"}, {"C", "800"}, {"D", "800"}, {"E", "800"},
                                 {"F", "800"}, {"X1", "3000"}, {"X2", "3000"}, {"X3", "1200"},
                                 {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"}, {"R", "100"},
                                 {"M", "300"}, {"theta", "30"}};

const Entries kLayoutIIExample = {{"A", "900"}, {"B", "900"}, {"C", "300"}, {"D", "1000"}, {"E", "300"},
                                  {"F", "100"}, {"G", "300"}, {"H", "1000"}, {"X1", "3500"},
                                  {"X2", "3500"}, {"X3", "1500"}, {"X4", "1500"}, {"Y1", "4500"},
                                  {"Y2", "4500"}, {"R", "100"}, {"M", "300"}, {"theta", "30"}};

// The six or eight result lines of the extreme texts.
std::vector<std::string> ExtremeLines(const std::vector<std::pair<std::string, std::string>>& rods) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < rods.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    lines.push_back("附着杆" + n + "极值F" + n + "m为：" + rods[i].first + " KN");
    lines.push_back("附着杆" + n + "极值对应的角度值θ" + n + "为：" + rods[i].second + "°");
  }
  return lines;
}

class ForceReports : public ReportTest {};

TEST_F(ForceReports, ThreeRodExampleWholeCourse) {
  Started<CThreeRod> s;
  TypeAll(s.page, kThreeRodExample);
  const std::string path = Out("three.doc");
  s.desktop.QueueSavePath(path);
  WriteForceReport(s.page, s.desktop);

  ASSERT_EQ(s.desktop.Requests().size(), 1u);
  const SaveFileRequest& r = s.desktop.Requests()[0];
  EXPECT_EQ(r.defaultExtension, "*.doc");
  EXPECT_EQ(r.fileName, "塔机三杆附着分析报告");
  EXPECT_EQ(r.filter, "WORD文档(*.doc)|*.doc|");
  EXPECT_TRUE(r.hideReadOnly);
  EXPECT_FALSE(r.promptOverwrite);

  ExpectedDocument e(*this, "塔式起重机三杆附着分析报告");
  e.Insert("31.doc")
      .Line({"  A=900 mm", "     B=900 mm", "     C=900 mm", "     D=900 mm"})
      .Line({"  X1=3000 mm", "         X2=3000 mm", "           X3=1500 mm"})
      .Line({"  H=5000 mm", "          R=100 KN", "              M=200 KN.m"})
      .Insert("32.doc")
      .Lines({"  α=62.88°", "  β=69.90°", "  γ=62.88°"})
      .Insert("33.doc")
      .Lines(ExtremeLines({{"358.77/-358.77", "108.45/288.45"},
                           {"-473.17/473.17", "180.00/0.00"},
                           {"-192.48/192.48", "336.80/516.80"}}))
      .Chart("(图三)", "三杆附着  R=100 KN  M=200 KN.m  θ=30.00°");

  ASSERT_EQ(s.desktop.Messages().size(), 1u);
  EXPECT_EQ(s.desktop.Messages()[0].text, "报告文件输出成功!");
  EXPECT_EQ(OutNames(), std::vector<std::string>{"three.doc"});
  EXPECT_TRUE(TmpNames().empty());
  const std::vector<std::string> doc = ReadBack(path);
  const std::vector<std::string> expected = e.End();
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ExpectSameLines(doc, expected);
}

// Inputs print as typed, up to two decimals, so that a checker reproduces
// the results from the document; the chart's caption too. Read back by
// python-docx.
TEST_F(ForceReports, InputsArePrintedAsTypedUpToTwoDecimals) {
  Started<CThreeRod> s;
  TypeAll(s.page, kThreeRodExample);
  for (const auto& [name, text] : Entries{{"A", "1000.5"}, {"R", "150.6"}, {"M", "300.456"}, {"X3", "1499.999"}})
    Type(s.page, name, text);
  s.desktop.QueueSavePath(Out("r.doc"));
  WriteForceReport(s.page, s.desktop);
  const std::vector<std::string> p = ReadBack(Out("r.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  const std::string all = Joined(p);
  for (const char* line : {"  A=1000.5 mm     B=900 mm", "X3=1500 mm", "R=150.6 KN              M=300.46 KN.m",
                           "三杆附着  R=150.6 KN  M=300.46 KN.m  θ=30.00°"})
    EXPECT_NE(all.find(line), std::string::npos) << line << "\n" << all;
}

// Layout I and layout II differ in their fragments and geometry lines only.
TEST_F(ForceReports, FourRodLayoutIExampleWholeCourse) {
  Started<CFourRodParallelPage> s;
  TypeAll(s.page, kLayoutIExample);
  const std::string path = Out("four1.doc");
  s.desktop.QueueSavePath(path);
  WriteForceReport(s.page, s.desktop);

  ASSERT_EQ(s.desktop.Requests().size(), 1u);
  EXPECT_EQ(s.desktop.Requests()[0].fileName, "塔机四杆附着分析报告");
  EXPECT_EQ(s.desktop.Requests()[0].filter, "WORD文档(*.doc)|*.doc|");
  ExpectedDocument e(*this, "塔式起重机四杆附着分析报告");
  e.Insert("41.doc")
      .Line({"  A=800 mm", "    B=800 mm", "    C=800 mm", "    D=800 mm", "    E=800 mm"})
      .Line({"  F=800 mm", "   X1=3000 mm", "   X2=3000 mm", "   X3=1200 mm", "   X4=1200 mm"})
      .Line({"  Y1=4000 mm", "     Y2=4000 mm", "     R=100 KN", "       M=300 KN.m"})
      .Line({"  E1=206 GPa", "     E2=206 GPa", "     E3=206 GPa", "     E4=206 GPa"})
      .Line({"  S1=2000 mm^2", "     S2=2000 mm^2", "     S3=2000 mm^2", "     S4=2000 mm^2"})
      .Line({"  E:附着杆材料弹性模量", "         S:附着杆主肢截面积"})
      .Insert("42.doc")
      .Lines({"  α=65.38°", "  β=72.65°", "  γ=72.65°", "  δ=65.38°"})
      .Insert("43.doc")
      .Lines({"  L1=5280 mm", "  L2=3353 mm", "  L3=3353 mm", "  L4=5280 mm"})
      .Insert("44.doc")
      .Lines(ExtremeLines({{"-728.53/728.53", "-4.27/175.73"},
                           {"-1185.40/1185.40", "-176.50/3.50"},
                           {"-1185.40/1185.40", "-3.50/176.50"},
                           {"-728.53/728.53", "-175.73/4.27"}}))
      .Chart("(图五)", "四杆附着(一)  R=100 KN  M=300 KN.m  θ=30.00°");
  ASSERT_EQ(s.desktop.Messages().size(), 1u);
  EXPECT_EQ(s.desktop.Messages()[0].text, "报告文件输出成功!");
  EXPECT_TRUE(TmpNames().empty());
  const std::vector<std::string> doc = ReadBack(path);
  const std::vector<std::string> expected = e.End();
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ExpectSameLines(doc, expected);
}

TEST_F(ForceReports, FourRodLayoutIIExampleWholeCourse) {
  Started<CFourRodTurnedPage> s;
  TypeAll(s.page, kLayoutIIExample);
  const std::string path = Out("four2.doc");
  s.desktop.QueueSavePath(path);
  WriteForceReport(s.page, s.desktop);

  ExpectedDocument e(*this, "塔式起重机四杆附着分析报告");
  e.Insert("411.doc")
      .Line({"  A=900 mm", "      B=900 mm", "      C=300 mm", "      D=1000 mm"})
      .Line({"  E=300 mm", "      F=100 mm", "      G=300 mm", "      H=1000 mm"})
      .Line({"  X1=3500 mm", "     X2=3500 mm", "     X3=1500 mm", "     X4=1500 mm"})
      .Line({"  Y1=4500 mm", "     Y2=4500 mm", "     R=100 KN", "       M=300 KN.m"})
      .Line({"  E1=206 GPa", "     E2=206 GPa", "     E3=206 GPa", "     E4=206 GPa"})
      .Line({"  S1=2000 mm^2", "     S2=2000 mm^2", "     S3=2000 mm^2", "     S4=2000 mm^2"})
      .Line({"  E:附着杆材料弹性模量", "         S:附着杆主肢截面积"})
      .Insert("412.doc")
      .Lines({"  α=61.56°", "  β=64.09°", "  γ=59.04°", "  δ=58.24°"})
      .Insert("413.doc")
      .Lines({"  L1=5459 mm", "  L2=3891 mm", "  L3=4082 mm", "  L4=4940 mm"})
      .Insert("414.doc")
      .Lines(ExtremeLines({{"-156.62/156.62", "-152.87/27.13"},
                           {"-205.92/205.92", "-146.67/33.33"},
                           {"-214.60/214.60", "-15.75/164.25"},
                           {"-184.13/184.13", "-42.67/137.33"}}))
      .Chart("(图五)", "四杆附着(二)  R=100 KN  M=300 KN.m  θ=30.00°");
  ASSERT_EQ(s.desktop.Messages().size(), 1u);
  EXPECT_EQ(s.desktop.Messages()[0].text, "报告文件输出成功!");
  const std::vector<std::string> doc = ReadBack(path);
  const std::vector<std::string> expected = e.End();
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ExpectSameLines(doc, expected);
}

TEST_F(ForceReports, InvalidInputsAreRefusedBeforeAnyDialog) {
  Started<CThreeRod> three;
  Started<CFourRodParallelPage> fourI;
  Started<CFourRodTurnedPage> fourII;
  TypeAll(three.page, kThreeRodExample);
  Type(three.page, "H", "800");  // H below B
  for (CScriptedDesktop* d : {&three.desktop, &fourI.desktop, &fourII.desktop}) d->QueueSavePath(Out("x.doc"));
  WriteForceReport(three.page, three.desktop);
  WriteForceReport(fourI.page, fourI.desktop);
  WriteForceReport(fourII.page, fourII.desktop);
  for (CScriptedDesktop* d : {&three.desktop, &fourI.desktop, &fourII.desktop}) {
    EXPECT_TRUE(d->Requests().empty());
    ASSERT_EQ(d->Messages().size(), 1u);
    EXPECT_EQ(d->Messages()[0].text.rfind("输入数据错误或不完整!", 0), 0u);
    EXPECT_EQ(d->Messages()[0].icon, MessageIcon::None);
  }
  // With the reason the field is marked with.
  EXPECT_EQ(three.desktop.Messages()[0].text, "输入数据错误或不完整!\n不满足 H>B");
  EXPECT_TRUE(OutNames().empty());
}

TEST_F(ForceReports, CancelledDialogStartsNothing) {
  Started<CFourRodParallelPage> s;
  TypeAll(s.page, kLayoutIExample);
  EXPECT_EQ(WriteForceReport(s.page, s.desktop), OutputOutcome::Cancelled);  // no path queued
  EXPECT_EQ(s.desktop.Requests().size(), 1u);
  EXPECT_TRUE(s.desktop.Messages().empty());
  EXPECT_TRUE(OutNames().empty());
  EXPECT_TRUE(TmpNames().empty());
}

// The installed button writes the report with the page's own desktop.
TEST_F(ForceReports, ReportButtonsOfTheForcePages) {
  Started<CThreeRod> three;
  Started<CFourRodParallelPage> fourI;
  Started<CFourRodTurnedPage> fourII;
  InstallReport(three.page);
  InstallReport(fourI.page);
  InstallReport(fourII.page);
  TypeAll(three.page, kThreeRodExample);
  TypeAll(fourI.page, kLayoutIExample);
  TypeAll(fourII.page, kLayoutIIExample);
  three.desktop.QueueSavePath(Out("3.doc"));
  fourI.desktop.QueueSavePath(Out("4a.doc"));
  fourII.desktop.QueueSavePath(Out("4b.doc"));
  EXPECT_TRUE(three.page.UserClick(1025));
  EXPECT_TRUE(fourI.page.UserClick(1056));
  EXPECT_TRUE(fourII.page.UserClick(1056));
  for (CScriptedDesktop* d : {&three.desktop, &fourI.desktop, &fourII.desktop}) {
    ASSERT_EQ(d->Messages().size(), 1u);
    EXPECT_EQ(d->Messages()[0].text, "报告文件输出成功!");
  }
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"3.doc", "4a.doc", "4b.doc"}));
  EXPECT_TRUE(TmpNames().empty());
}

// ---- read back by python-docx ----------------------------------------------

TEST_F(ForceReports, ThreeRodDocumentReadsBackInOrder) {
  Started<CThreeRod> s;
  TypeAll(s.page, kThreeRodExample);
  const std::string path = Out("three.docx.doc");
  s.desktop.QueueSavePath(path);
  WriteForceReport(s.page, s.desktop);
  const std::vector<std::string> p = ReadBack(path);
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ASSERT_GE(p.size(), 10u);
  EXPECT_EQ(p[0], "center|1|25|塔式起重机三杆附着分析报告");
  // What follows in order: fragment texts and typed lines.
  const std::vector<std::string> order = {
      "三杆式附着的计算模型",
      "(图一)",
      "|  A=900 mm     B=900 mm     C=900 mm     D=900 mm",
      "|  H=5000 mm          R=100 KN              M=200 KN.m",
      "求解各附着杆角度值",
      "|  α=62.88°",
      "|  γ=62.88°",
      "对Q点取矩",
      "求得各附着杆内力极值及对应的θ角度值如下：",
      "|附着杆1极值F1m为：358.77/-358.77 KN",
      "|附着杆3极值对应的角度值θ3为：336.80/516.80°",
  };
  size_t at = 1;
  for (const std::string& want : order) {
    const auto found = std::find_if(p.begin() + at, p.end(), [&](const std::string& line) {
      return want.front() == '|' ? line.ends_with(want) : line.find(want) != std::string::npos;
    });
    ASSERT_NE(found, p.end()) << "not found in order: " << want << "\n" << Joined(p);
    at = static_cast<size_t>(found - p.begin()) + 1;
  }
  EXPECT_TRUE(LastText(p).ends_with(kThreeRodExampleLastLine)) << LastText(p);
}

TEST_F(ForceReports, FourRodDocumentsCarryTheirLayoutsFragments) {
  Started<CFourRodParallelPage> one;
  Started<CFourRodTurnedPage> two;
  TypeAll(one.page, kLayoutIExample);
  TypeAll(two.page, kLayoutIIExample);
  one.desktop.QueueSavePath(Out("1.doc"));
  two.desktop.QueueSavePath(Out("2.doc"));
  WriteForceReport(one.page, one.desktop);
  WriteForceReport(two.page, two.desktop);
  const std::vector<std::string> a = ReadBack(Out("1.doc"));
  const std::vector<std::string> b = ReadBack(Out("2.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_EQ(a[0], "center|1|25|塔式起重机四杆附着分析报告");
  EXPECT_EQ(b[0], a[0]);
  const auto has = [](const std::vector<std::string>& doc, const std::string& text) {
    return std::any_of(doc.begin(), doc.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  EXPECT_TRUE(has(a, "四杆式附着的分析模型"));
  EXPECT_TRUE(has(a, "  α=65.38°"));
  EXPECT_TRUE(has(a, "附着杆1极值F1m为：-728.53/728.53 KN"));
  EXPECT_TRUE(has(b, "  E=300 mm      F=100 mm      G=300 mm      H=1000 mm"));
  EXPECT_FALSE(has(a, "G=300 mm"));
  // The layout II method words one sentence differently.
  EXPECT_TRUE(has(b, "同时存在于1、3象限或2、4象限，故"));
  EXPECT_FALSE(has(a, "同时存在于1、3象限或2、4象限，故"));
}

#if TIECALC_HAVE_CHART
// The force chart as the figure after the extreme lines of each force report:
// a picture as wide as the text, of at least 200 dpi there, with its caption
// below it.
TEST_F(ForceReports, ForceReportsCarryTheChartFigure) {
  Started<CThreeRod> three;
  Started<CFourRodParallelPage> one;
  TypeAll(three.page, kThreeRodExample);
  TypeAll(one.page, kLayoutIExample);
  three.desktop.QueueSavePath(Out("3.doc"));
  one.desktop.QueueSavePath(Out("1.doc"));
  WriteForceReport(three.page, three.desktop);
  WriteForceReport(one.page, one.desktop);
  const std::vector<std::string> a = Figures(Out("3.doc"));
  const std::vector<std::string> b = Figures(Out("1.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  for (const auto& [figures, count, caption] :
       {std::tuple{a, 3u, "(图三) 各附着杆轴力随θ变化曲线"}, std::tuple{b, 5u, "(图五) 各附着杆轴力随θ变化曲线"}}) {
    ASSERT_EQ(figures.size(), count) << Joined(figures);  // the fragments' figures, then the chart
    const std::string& chart = figures.back();
    EXPECT_EQ(chart.rfind("force_chart|", 0), 0u) << chart;
    double width = 0, dpi = 0;
    ASSERT_EQ(std::sscanf(chart.c_str(), "force_chart|%lf|%lf|", &width, &dpi), 2) << chart;
    EXPECT_NEAR(width, 14.5, 0.3);
    EXPECT_GE(dpi, 200);
    EXPECT_TRUE(chart.ends_with(std::string("|") + caption)) << chart;
  }
}
#endif

}  // namespace
}  // namespace tiecalc
