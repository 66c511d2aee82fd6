// The sweep exports end to end: a page with its inputs typed, the output
// button pressed, the save dialog answered, the workbook read back by xlrd.

#include "export/SweepExport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/input/Format.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"
#include "platform/sheetdb/SheetTestSupport.h"

namespace tiecalc {
namespace {

using testing::FindSheet;
using testing::ReadBack;
using testing::ReadBytes;
using testing::ReadSheet;
using testing::ScratchFolder;
using Row = std::vector<std::string>;

template <typename Page>
struct Fixture {
  CScriptedDesktop desktop;
  Page page;
  Fixture() {
    page.SetDesktop(&desktop);
    InstallSweepExport(page);
    page.Create();
  }
  void Type(const std::vector<std::pair<int, std::string>>& texts) {
    for (const auto& [id, text] : texts) ASSERT_TRUE(page.UserType(id, text)) << id;
  }
  std::vector<ReadSheet> Export(const std::string& path) {
    desktop.QueueSavePath(path);
    page.UserClick(Page::kExportButton);
    return ReadBack(path);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : desktop.Messages()) texts.push_back(m.text);
    return texts;
  }
};

struct ThreeRodFixture : Fixture<CThreeRod> {
  // The worked example of the three-rod frame.
  ThreeRodFixture() {
    using I = CThreeRod;
    Type({{I::kA, "900"}, {I::kB, "900"}, {I::kC, "900"}, {I::kD, "900"}, {I::kX1, "3000"}, {I::kX2, "3000"},
          {I::kX3, "1500"}, {I::kH, "5000"}, {I::kR, "100"}, {I::kM, "200"}, {I::kTheta, "30"}});
  }
};

TEST(ThreeRodSweepExport, TheWorkbookHoldsThe370RowsAsThePageComputedThem) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  ThreeRodFixture f;
  const std::string path = dir.Path("三杆.xls");
  auto sheets = f.Export(path);

  ASSERT_EQ(f.desktop.Requests().size(), 1u);
  const SaveFileRequest& q = f.desktop.Requests()[0];
  EXPECT_EQ(q.defaultExtension, "*.xls");
  EXPECT_EQ(q.fileName, "塔机三杆附着");
  EXPECT_EQ(q.filter, "EXCEL文档(*.xls)|*.xls|EXCEL文档(*.xlsx)|*.xlsx|");
  EXPECT_TRUE(q.hideReadOnly);
  EXPECT_FALSE(q.promptOverwrite);
  EXPECT_EQ(f.Messages(), std::vector<std::string>{"文件输出成功!"});

  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "塔机三杆附着");
  const auto& rows = sheets[0].rows;
  ASSERT_EQ(rows.size(), 370u);
  EXPECT_EQ(rows[0], (Row{"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F1x(KN)", "F1y(KN)", "F2x(KN)", "F2y(KN)", "F3x(KN)",
                          "F3y(KN)"}));
  EXPECT_EQ(rows[31], (Row{"30", "311.42", "-208.23", "-35.54", "141.96", "277.18", "-71.56", "-195.55", "16.20", "-31.63"}));
  const ThreeRodGeometry g = ThreeRodGeometryOf(f.page.Input(), f.page.Angles());
  for (int t = 0; t < 360; ++t) {
    const ThreeRodForces F = ThreeRodForcesAt(g, 100, 200, t);
    ASSERT_EQ(rows[static_cast<size_t>(t) + 1],
              (Row{std::to_string(t), Format2(F.F1), Format2(F.F2), Format2(F.F3), Format2(F.F1x), Format2(F.F1y),
                   Format2(F.F2x), Format2(F.F2y), Format2(F.F3x), Format2(F.F3y)}))
        << "theta " << t;
  }
  EXPECT_EQ(rows[361], Row(9, " "));
  EXPECT_EQ(rows[362], (Row{"A(mm)", "B(mm)", "C(mm)", "D(mm)", "X1(mm)", "X2(mm)", "X3(mm)", "H(mm)", "R(KN)", "M(KN.m)"}));
  EXPECT_EQ(rows[363], (Row{"900.00", "900.00", "900.00", "900.00", "3000.00", "3000.00", "1500.00", "5000.00", "100.00", "200.00"}));
  EXPECT_EQ(rows[364], Row(9, " "));
  EXPECT_EQ(rows[365], (Row{"α(°)", "β(°)", "γ(°)", "L1(mm)", "L2(mm)", "L3(mm)"}));
  EXPECT_EQ(rows[366], (Row{"62.88", "69.90", "62.88", "4606.46", "4365.90", "4606.46"}));
  EXPECT_EQ(rows[367], Row(9, " "));
  EXPECT_EQ(rows[368], (Row{"F1m(KN)", "θ1(°)", "F2m(KN)", "θ2(°)", "F3m(KN)", "θ3(°)"}));
  EXPECT_EQ(rows[369], (Row{"358.77/-358.77", "108.45/288.45", "-473.17/473.17", "180.00/0.00", "-192.48/192.48",
                            "336.80/516.80"}));
}

TEST(ThreeRodSweepExport, WithoutTorqueTheColumnExtremesLieWithinADegreeOfThePagesAngles) {
  ThreeRodFixture f;
  f.Type({{CThreeRod::kM, "0"}});
  const SheetTable t = SweepTable(f.page.Record());
  const std::string texts[3] = {f.page.Result().Theta1, f.page.Result().Theta2, f.page.Result().Theta3};
  for (size_t rod = 0; rod < 3; ++rod) {
    size_t maxAt = 1, minAt = 1;
    for (size_t r = 1; r <= 360; ++r) {
      if (ParseDouble(t[r][rod + 1]) > ParseDouble(t[maxAt][rod + 1])) maxAt = r;
      if (ParseDouble(t[r][rod + 1]) < ParseDouble(t[minAt][rod + 1])) minAt = r;
    }
    const std::string& pair = texts[rod];
    const double a = ParseDouble(pair), b = ParseDouble(pair.substr(pair.find('/') + 1));
    auto near = [](double degree, double angle) {
      double d = std::fmod(std::fabs(degree - angle), 360.0);
      return std::min(d, 360.0 - d) <= 1.0;
    };
    const double hi = static_cast<double>(maxAt - 1), lo = static_cast<double>(minAt - 1);
    EXPECT_TRUE((near(hi, a) && near(lo, b)) || (near(hi, b) && near(lo, a))) << "rod " << rod + 1 << ": " << pair;
  }
}

TEST(ThreeRodSweepExport, InvalidInputsAndACancelledDialogWriteNothing) {
  ScratchFolder dir;
  ThreeRodFixture f;
  f.Type({{CThreeRod::kH, "100"}});  // H below B
  f.desktop.QueueSavePath(dir.Path("x.xls"));
  f.page.UserClick(CThreeRod::kExportButton);
  EXPECT_EQ(f.Messages(), std::vector<std::string>{"输入数据错误或不完整!\n不满足 H>B"});
  EXPECT_TRUE(f.desktop.Requests().empty());

  // Rods 1 and 2 parallel pass the geometric rules but have no finite
  // forces: the page refuses them, and so must the export, or the file
  // would pair the new inputs with the forces of the old ones.
  ThreeRodFixture p;
  p.Type({{CThreeRod::kX3, "900"}});
  p.desktop.QueueSavePath(dir.Path("x.xls"));
  p.page.UserClick(CThreeRod::kExportButton);
  EXPECT_EQ(p.Messages(), std::vector<std::string>{"输入数据错误或不完整!\n杆1与杆2平行"});
  EXPECT_TRUE(p.desktop.Requests().empty());

  ThreeRodFixture g;
  g.page.UserClick(CThreeRod::kExportButton);  // nothing queued: the dialog is cancelled
  EXPECT_EQ(g.desktop.Requests().size(), 1u);
  EXPECT_TRUE(g.Messages().empty());
  EXPECT_TRUE(dir.Names().empty());
}

// A field that does not read as typed: the export asks first, naming it and
// what it counts as, and writes only when the user goes on (取消 is what an
// unanswered question gives). The desktop is told how the export ended.
TEST(ThreeRodSweepExport, UnreadableFieldsAreAskedAboutBeforeTheSaveDialog) {
  ScratchFolder dir;
  for (const bool goOn : {false, true}) {
    ThreeRodFixture f;
    f.Type({{CThreeRod::kM, "300kNm"}, {CThreeRod::kR, "1 00"}});
    f.desktop.AnswerQuestions(goOn);
    f.desktop.QueueSavePath(dir.Path("u.csv"));
    f.page.UserClick(CThreeRod::kExportButton);
    ASSERT_FALSE(f.desktop.Messages().empty());
    EXPECT_EQ(f.desktop.Messages()[0].icon, MessageIcon::Question);
    EXPECT_EQ(f.Messages()[0],
              "以下输入无法按所填内容读出，输出将按所示数值计算：\nR 数字中间有空格，读作 100\n"
              "M 无法识别，按 0 计算\n继续输出吗？");
    EXPECT_EQ(f.desktop.Requests().size(), goOn ? 1u : 0u);
    EXPECT_EQ(f.desktop.Outcomes(),
              std::vector<OutputOutcome>{goOn ? OutputOutcome::Written : OutputOutcome::Cancelled});
    EXPECT_EQ(std::filesystem::exists(dir.Path("u.csv")), goOn);
  }
}

TEST(ThreeRodSweepExport, ASecondAndThirdExportAppendBelowTheOldRowsWithOneBackup) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  ThreeRodFixture f;
  const std::string path = dir.Path("twice.xls");
  const auto first = f.Export(path);
  f.Type({{CThreeRod::kR, "50"}});
  const auto second = f.Export(path);
  ASSERT_EQ(second.size(), 2u);
  const ReadSheet* sheet = FindSheet(second, "塔机三杆附着");
  const ReadSheet* backup = FindSheet(second, "旧文件备份");
  ASSERT_TRUE(sheet && backup);
  EXPECT_EQ(backup->rows, first[0].rows);
  ASSERT_EQ(sheet->rows.size(), 370u + 369u);  // the repeated header is refused
  EXPECT_TRUE(std::equal(first[0].rows.begin(), first[0].rows.end(), sheet->rows.begin()));
  EXPECT_EQ(sheet->rows[370][0], "0");
  EXPECT_EQ(sheet->rows[370 + 362][8], "50.00");

  f.Type({{CThreeRod::kR, "70"}});
  const auto third = f.Export(path);
  ASSERT_EQ(third.size(), 2u);
  EXPECT_EQ(FindSheet(third, "旧文件备份")->rows, first[0].rows);  // made once, then skipped
  ASSERT_EQ(FindSheet(third, "塔机三杆附着")->rows.size(), 370u + 2 * 369u);
  EXPECT_EQ(FindSheet(third, "塔机三杆附着")->rows[370 + 369 + 362][8], "70.00");
  EXPECT_EQ(f.Messages(), std::vector<std::string>(3, "文件输出成功!"));
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"twice.xls"});
}

TEST(ThreeRodSweepExport, ATextPathGetsCommaSeparatedQuotedValuesAndABakCopy) {
  ScratchFolder dir;
  ThreeRodFixture f;
  const std::string path = dir.Path("sweep.csv");
  f.desktop.QueueSavePath(path);
  f.page.UserClick(CThreeRod::kExportButton);
  const std::string first = ReadBytes(path);
  EXPECT_EQ(first.substr(0, first.find("\r\n")), "\"θ角度(°)\",\"F1(KN)\",\"F2(KN)\",\"F3(KN)\",\"F1x(KN)\",\"F1y(KN)\","
                                                "\"F2x(KN)\",\"F2y(KN)\",\"F3x(KN)\",\"F3y(KN)\"");
  EXPECT_NE(first.find("\r\n\"30\",\"311.42\",\"-208.23\",\"-35.54\",\"141.96\",\"277.18\",\"-71.56\",\"-195.55\",\"16.20\",\"-31.63\"\r\n"),
            std::string::npos);
  f.desktop.QueueSavePath(path);
  f.page.UserClick(CThreeRod::kExportButton);
  EXPECT_EQ(ReadBytes(path + ".bak"), first);
  EXPECT_GT(ReadBytes(path).size(), first.size());
}

TEST(ThreeRodSweepExport, AFolderThatCannotBeWrittenEndsTheExportWithItsText) {
  ScratchFolder dir;
  ThreeRodFixture f;
  const std::string path = dir.Path("gone/t.xls");
  f.desktop.QueueSavePath(path);
  f.page.UserClick(CThreeRod::kExportButton);
  ASSERT_EQ(f.desktop.Messages().size(), 1u);
  EXPECT_NE(f.desktop.Messages()[0].text.find(path + "：文件夹不存在"), std::string::npos) << f.desktop.Messages()[0].text;
  EXPECT_EQ(f.desktop.Messages()[0].icon, MessageIcon::Error);
}

TEST(ThreeRodSweepExport, AnXlsxPathIsAWorkbookToo) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  ThreeRodFixture f;
  const auto sheets = f.Export(dir.Path("sweep.xlsx"));
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "塔机三杆附着");
  ASSERT_EQ(sheets[0].rows.size(), 370u);
  EXPECT_EQ(sheets[0].rows[31][1], "311.42");
  EXPECT_EQ(sheets[0].rows[369][5], "336.80/516.80");
  const auto again = f.Export(dir.Path("sweep.xlsx"));
  ASSERT_NE(FindSheet(again, "旧文件备份"), nullptr);
  EXPECT_EQ(FindSheet(again, "塔机三杆附着")->rows.size(), 739u);
}

struct FourRodIFixture : Fixture<CFourRodParallelPage> {
  FourRodIFixture() {
    using I = CFourRodParallelPage;
    Type({{I::kA, "800"}, {I::kB, "800"}, {I::kC, "800"}, {I::kD, "800"}, {I::kE, "800"}, {I::kF, "800"},
          {I::kX1, "3000"}, {I::kX2, "3000"}, {I::kX3, "1200"}, {I::kX4, "1200"}, {I::kY1, "4000"}, {I::kY2, "4000"},
          {I::kE1, "206"}, {I::kE2, "206"}, {I::kE3, "206"}, {I::kE4, "206"},
          {I::kR, "100"}, {I::kM, "300"}, {I::kTheta, "30"}});
  }
};

struct FourRodIIFixture : Fixture<CFourRodTurnedPage> {
  FourRodIIFixture() {
    using I = CFourRodTurnedPage;
    Type({{I::kA, "900"}, {I::kB, "900"}, {I::kC, "300"}, {I::kD, "1000"}, {I::kE, "300"}, {I::kF, "100"},
          {I::kG, "300"}, {I::kH, "1000"}, {I::kX1, "3500"}, {I::kX2, "3500"}, {I::kX3, "1500"}, {I::kX4, "1500"},
          {I::kY1, "4500"}, {I::kY2, "4500"}, {I::kE1, "206"}, {I::kE2, "206"}, {I::kE3, "206"}, {I::kE4, "206"},
          {I::kR, "100"}, {I::kM, "300"}, {I::kTheta, "30"}});
  }
};

const Row kFourRodHeader{"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F4(KN)", "F1x(KN)", "F1y(KN)", "F2x(KN)", "F2y(KN)",
                         "F3x(KN)", "F3y(KN)", "F4x(KN)", "F4y(KN)"};
const Row kExtremeNames{"L1(mm)", "L2(mm)", "L3(mm)", "L4(mm)", "F1m(KN)", "θ1(°)", "F2m(KN)", "θ2(°)", "F3m(KN)", "θ3(°)",
                        "F4m(KN)", "θ4(°)"};

// The 360 sweep rows against the solver prepared with the page's rounded
// lengths; θ written without decimals, every force with two.
void ExpectFourRodSweep(const CFourRodPage& page, const FourRodGeometry& g, const std::vector<Row>& rows) {
  const FourRodCoefficients k = PrepareFourRod(g, page.Result().L, page.E(), page.S());
  for (int t = 0; t < 360; ++t) {
    const FourRodForces F = FourRodForcesAt(k, page.R(), page.M(), t);
    Row expected{std::to_string(t)};
    for (int i = 0; i < 4; ++i) expected.push_back(Format2(F.F[i]));
    for (int i = 0; i < 4; ++i) expected.push_back(Format2(F.Fx[i])), expected.push_back(Format2(F.Fy[i]));
    ASSERT_EQ(rows[static_cast<size_t>(t) + 1], expected) << "theta " << t;
  }
}

TEST(FourRodSweepExport, LayoutOneWorkbookCellForCell) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  FourRodIFixture f;
  const auto sheets = f.Export(dir.Path("四杆一.xls"));
  ASSERT_EQ(f.desktop.Requests().size(), 1u);
  EXPECT_EQ(f.desktop.Requests()[0].fileName, "塔机四杆附着一");
  EXPECT_EQ(f.desktop.Requests()[0].defaultExtension, "*.xls");
  EXPECT_EQ(f.Messages(), std::vector<std::string>{"文件输出成功!"});
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "塔机四杆附着一");
  const auto& rows = sheets[0].rows;
  ASSERT_EQ(rows.size(), 1u + 360u + 1u + 8u);
  EXPECT_EQ(rows[0], kFourRodHeader);
  // At the page's own θ the rounded lengths may move the last decimal only.
  EXPECT_NEAR(ParseDouble(rows[31][1]), 235.57, 0.011);
  EXPECT_NEAR(ParseDouble(rows[31][4]), -215.47, 0.011);
  EXPECT_EQ(rows[360][0], "359");
  ExpectFourRodSweep(f.page, FourRodGeometryOf(f.page.Layout(), f.page.Angles()), rows);
  EXPECT_EQ(rows[361], Row(9, " "));
  EXPECT_EQ(rows[362], (Row{"A(mm)", "B(mm)", "C(mm)", "D(mm)", "E(mm)", "F(mm)", "X1(mm)", "X2(mm)", "X3(mm)", "X4(mm)",
                            "Y1(mm)", "Y2(mm)", "R(KN)"}));
  EXPECT_EQ(rows[363], (Row{"800.00", "800.00", "800.00", "800.00", "800.00", "800.00", "3000.00", "3000.00", "1200.00",
                            "1200.00", "4000.00", "4000.00", "100.00"}));
  EXPECT_EQ(rows[364], Row{" "});
  EXPECT_EQ(rows[365], (Row{"M(KN.m)", "E1(GPa)", "E2(GPa)", "E3(GPa)", "E4(GPa)", "S1(mm^2)", "S2(mm^2)", "S3(mm^2)",
                            "S4(mm^2)", "α(°)", "β(°)", "γ(°)", "δ(°)"}));
  EXPECT_EQ(rows[366], (Row{"300.00", "206.00", "206.00", "206.00", "206.00", "2000.00", "2000.00", "2000.00", "2000.00",
                            "65.38", "72.65", "72.65", "65.38"}));
  EXPECT_EQ(rows[367], Row{" "});
  EXPECT_EQ(rows[368], kExtremeNames);
  EXPECT_EQ(rows[369], (Row{"5279.99", "3352.53", "3352.53", "5279.99", "-728.53/728.53", "-4.27/175.73", "-1185.40/1185.40",
                            "-176.50/3.50", "-1185.40/1185.40", "-3.50/176.50", "-728.53/728.53", "-175.73/4.27"}));
}

TEST(FourRodSweepExport, LayoutTwoWorkbookCellForCell) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  FourRodIIFixture f;
  const auto sheets = f.Export(dir.Path("四杆二.xls"));
  ASSERT_EQ(f.desktop.Requests().size(), 1u);
  EXPECT_EQ(f.desktop.Requests()[0].fileName, "塔机四杆附着二");
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "塔机四杆附着二");
  const auto& rows = sheets[0].rows;
  ASSERT_EQ(rows.size(), 1u + 360u + 1u + 11u);
  EXPECT_EQ(rows[0], kFourRodHeader);
  EXPECT_NEAR(ParseDouble(rows[31][1]), 156.57, 0.011);
  ExpectFourRodSweep(f.page, FourRodGeometryOf(f.page.Layout(), f.page.Angles()), rows);
  EXPECT_EQ(rows[361], Row(9, " "));
  EXPECT_EQ(rows[362], (Row{"A(mm)", "B(mm)", "C(mm)", "D(mm)", "E(mm)", "F(mm)", "G(mm)", "H(mm)"}));
  EXPECT_EQ(rows[363], (Row{"900.00", "900.00", "300.00", "1000.00", "300.00", "100.00", "300.00", "1000.00"}));
  EXPECT_EQ(rows[364], Row{" "});
  EXPECT_EQ(rows[365], (Row{"X1(mm)", "X2(mm)", "X3(mm)", "X4(mm)", "Y1(mm)", "Y2(mm)", "R(KN)", "M(KN.m)"}));
  EXPECT_EQ(rows[366], (Row{"3500.00", "3500.00", "1500.00", "1500.00", "4500.00", "4500.00", "100.00", "300.00"}));
  EXPECT_EQ(rows[367], Row{" "});
  EXPECT_EQ(rows[368], (Row{"E1(GPa)", "E2(GPa)", "E3(GPa)", "E4(GPa)", "S1(mm^2)", "S2(mm^2)", "S3(mm^2)", "S4(mm^2)", "α(°)",
                            "β(°)", "γ(°)", "δ(°)"}));
  EXPECT_EQ(rows[369], (Row{"206.00", "206.00", "206.00", "206.00", "2000.00", "2000.00", "2000.00", "2000.00", "61.56",
                            "64.09", "59.04", "58.24"}));
  EXPECT_EQ(rows[370], Row{" "});
  EXPECT_EQ(rows[371], kExtremeNames);
  EXPECT_EQ(rows[372], (Row{"5458.78", "3891.13", "4081.50", "4939.66", "-156.62/156.62", "-152.87/27.13", "-205.92/205.92",
                            "-146.67/33.33", "-214.60/214.60", "-15.75/164.25", "-184.13/184.13", "-42.67/137.33"}));
}

// Invalid geometry is refused with the rule it breaks, a zero modulus with
// its reason, before any dialog; no "nan" may reach a file.
TEST(FourRodSweepExport, InvalidGeometryAndZeroModuliAreRefused) {
  ScratchFolder dir;
  FourRodIFixture f;
  f.Type({{CFourRodParallelPage::kY1, "100"}});  // Y1 below C
  f.page.UserClick(CFourRodParallelPage::kExportButton);
  EXPECT_EQ(f.Messages(), std::vector<std::string>{"输入数据错误或不完整!\n不满足 Y1>C"});
  EXPECT_TRUE(f.desktop.Requests().empty());

  FourRodIIFixture g;
  g.Type({{CFourRodTurnedPage::kE2, "0"}});
  g.desktop.QueueSavePath(dir.Path("zero.csv"));
  g.page.UserClick(CFourRodTurnedPage::kExportButton);
  EXPECT_EQ(g.Messages(), std::vector<std::string>{"输入数据错误或不完整!\n杆2弹性模量必须大于0"});
  EXPECT_EQ(g.desktop.Outcomes(), std::vector<OutputOutcome>{OutputOutcome::Refused});
  EXPECT_TRUE(dir.Names().empty());
}

// An .xlsx export read back by openpyxl: θ, forces and components as numbers
// with the decimals they were written with, the parameter names as texts, a
// line chart of F1..F4 beside the table, and the rows of an earlier export
// still numbers after an append.
TEST(FourRodSweepExport, AnXlsxWorkbookHoldsNumbersAndALineChartOfTheForces) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  FourRodIFixture f;
  const std::string path = dir.Path("sweep.xlsx");
  f.Export(path);
  f.Export(path);
  const std::string code = R"(
import sys
try:
    import openpyxl
except ImportError:
    print("missing"); sys.exit(0)
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["塔机四杆附着一"]
def cell(r, c):
    x = ws.cell(row=r, column=c)
    return "%s:%s:%s" % (x.data_type, x.value, x.number_format)
print(cell(2, 1), cell(32, 2), cell(32, 6), cell(363, 1), cell(364, 13), cell(370, 5))
print(cell(371, 1), cell(401, 2), cell(401, 6))
print(len(ws._charts), [len(c.series) for c in ws._charts], [c.tagname for c in ws._charts])
)";
  const std::string out = testing::RunPython(code, {path});
  if (out == "missing\n") GTEST_SKIP() << "openpyxl is not installed";
  EXPECT_EQ(out,
            // θ = 0, F1 and F1x at θ = 30, a name, R, an extreme text
            "n:0:0 n:235.57:0.00 n:98.14:0.00 s:A(mm):General n:100:0.00 s:-728.53/728.53:General\n"
            // the second export's rows below the first table, which stays numbers
            "n:0:0 n:235.57:0.00 n:98.14:0.00\n"
            "1 [4] ['lineChart']\n")
      << out;
}

// No text of an export is shown cut: in both formats every column is at
// least as wide as the longest text it shows (numbers as their format shows
// them, a character beyond ASCII as two digits), as the independent readers
// see the widths.
TEST(FourRodSweepExport, EveryColumnIsAsWideAsItsLongestText) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  const std::string code = R"(
import sys
path = sys.argv[1]
def width(t):
    return sum(1 if ord(ch) < 128 else 2 for ch in t)
need, have = {}, {}
if path.endswith('.xls'):
    import xlrd
    s = xlrd.open_workbook(path, formatting_info=True).sheet_by_index(0)
    for r in range(s.nrows):
        for c, v in enumerate(s.row_values(r)):
            need[c] = max(need.get(c, 0), width(str(v)))
    have = {c: i.width / 256 for c, i in s.colinfo_map.items()}
else:
    import openpyxl
    s = openpyxl.load_workbook(path).worksheets[0]
    for row in s.iter_rows():
        for x in row:
            if x.value is None: continue
            f = x.number_format
            t = ('%.' + str(len(f) - 2 if f.startswith('0.') else 0) + 'f') % x.value if x.data_type == 'n' else str(x.value)
            need[x.column - 1] = max(need.get(x.column - 1, 0), width(t))
    for d in s.column_dimensions.values():
        for c in range((d.min or 1) - 1, d.max or d.min or 1):
            have[c] = d.width - 5 / 7
print(' '.join('%d:%s<%d' % (c, have.get(c), n) for c, n in sorted(need.items()) if have.get(c, 0) < n) or 'ok')
)";
  for (const char* name : {"sweep.xls", "sweep.xlsx"}) {
    SCOPED_TRACE(name);
    ScratchFolder dir;
    FourRodIFixture f;
    f.Export(dir.Path(name));
    EXPECT_EQ(testing::RunPython(code, {dir.Path(name)}), "ok\n");
  }
}

}  // namespace
}  // namespace tiecalc
