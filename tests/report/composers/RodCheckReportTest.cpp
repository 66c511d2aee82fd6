// The rod-check report of each of the five forms: the whole document of the
// worked examples read back, the verdict groups in their colours, the
// refusal of an unchecked page.

#include <algorithm>

#include "pages/RodCheckPage.h"
#include "report/composers/ReportTestSupport.h"
#include "report/composers/Reports.h"

namespace tiecalc {
namespace {

// A page with a form chosen and the entries typed.
struct CheckedPage : Started<CRodCheckPage> {
  CheckedPage(int form, const Entries& entries, int mainGrade = 0) {
    EXPECT_TRUE(page.UserSelect(CRodCheckPage::kForm, form));
    EXPECT_TRUE(page.UserSelect(CRodCheckPage::kMainGrade, mainGrade));
    TypeAll(page, entries);
  }
};

class RodCheckReport : public ReportTest {
 protected:
  // Writes the report of the page into name and returns it as read back.
  std::vector<std::string> Write(CheckedPage& s, const std::string& name) {
    s.desktop.QueueSavePath(Out(name));
    WriteRodCheckReport(s.page, s.desktop);
    return ReadBack(Out(name));
  }
};

#define SKIP_WITHOUT_READER() \
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here"

TEST_F(RodCheckReport, SolidWebExampleWholeCourse) {
  CheckedPage s(0, kRodCheckSolidExample);
  const std::vector<std::string> doc = Write(s, "solid.doc");

  ASSERT_EQ(s.desktop.Requests().size(), 1u);
  const SaveFileRequest& r = s.desktop.Requests()[0];
  EXPECT_EQ(r.fileName, "塔机附着杆校核报告");
  EXPECT_EQ(r.defaultExtension, "*.doc");
  EXPECT_EQ(r.filter, "WORD文档(*.doc)|*.doc|");
  EXPECT_TRUE(r.hideReadOnly);
  EXPECT_FALSE(r.promptOverwrite);

  ExpectedDocument e(*this, "塔式起重机附着杆校核报告");
  e.Lines({"附着杆结构形式：实腹式", "附着杆材质： Q235", "附着杆轴向载荷：F=100.00（kN）", "附着杆长度：L=6000（mm）",
           "附着杆总重量：G=300.00（kg）", "附着杆大截面总截面积：A=5000.00（mm^2）",
           "附着杆最大截面主肢X轴总惯性矩：Imax=50000000.00（mm^4）",
           "附着杆最小截面主肢X轴总惯性矩：Imin=50000000.00（mm^4）", "材料安全系数：k=1.34"})
      .Insert("sf1.doc").Lines({"r=100.00"})
      .Insert("sf2.doc").Lines({"μ=1.000"})
      .Insert("sf3.doc").Lines({"λ=60.00"})
      .Verdict(kGreen, 1, "附着杆长细比<120，整体刚度满足要求！", 1)
      .Font(14, kBlack)
      .Lines({"查表得附着杆受压稳定系数：ψ=0.807"})
      .Insert("sf4.doc").Lines({"M=2250000.00（N.mm）", "附着杆截面远点至弱轴距离h=150.00（mm）"})
      .Insert("sf5.doc").Lines({"W=333333.33（mm^3）"})
      .Insert("sf6.doc").Lines({"Fe=2820941.11（N）"})
      .Insert("sf7.doc").Lines({"σ=31.81（MPa）"})
      .Verdict(kGreen, 1, "σ<235/1.34\r\n附着杆整体稳定性满足要求！", 0);
  const std::vector<std::string> expected = e.End();
  SKIP_WITHOUT_READER();
  ExpectSameLines(doc, expected);
  ASSERT_EQ(s.desktop.Messages().size(), 1u);
  EXPECT_EQ(s.desktop.Messages()[0].text, "报告文件输出成功!");
  EXPECT_TRUE(TmpNames().empty());
}

// What the lattice forms print, form by form.
struct LatticeCase {
  int form;
  const char* formLine;
  const char* radii;
  const char* slenderness;
  const char* check;
  std::vector<std::string> radiiLines;
  std::vector<std::string> slendernessLines;
  // Expected verdict lines of the stiffness groups: text, before, after.
  std::vector<std::tuple<std::string, int, int>> stiffness;
  std::vector<std::string> psiLines;
  const char* fe;
  const char* sigma;
  const char* sigma1;
  const char* sigmaZ;
};

// A lattice report of the worked example (Q235 throughout, every verdict
// passing).
std::vector<std::string> LatticeExpected(ReportTest& reader, const LatticeCase& c) {
  const bool battened = c.form == 1 || c.form == 3;
  const std::string member = battened ? "缀板" : "缀条";
  ExpectedDocument e(reader, "塔式起重机附着杆校核报告");
  e.Lines({c.formLine, "附着杆主肢材质： Q235", "附着杆" + member + "材质： Q235", "附着杆轴向载荷：F=200.00（kN）",
           "附着杆长度：L=8000（mm）", member + "跨距L1=600.00（mm）", "附着杆" + member + "面边长a=400.00（mm）",
           "附着杆总重量：G=800.00（kg）", "附着杆大截面主肢总截面积：A=6000.00（mm^2）",
           "附着杆" + member + "截面积：Az=1000.00（mm^2）"});
  if (battened) e.Lines({"附着杆缀板厚度：δ=10.00（mm）"});
  e.Lines({"附着杆最大截面主肢X轴总惯性矩：Imax=150000000.00（mm^4）",
           "附着杆最小截面主肢X轴总惯性矩：Imin=150000000.00（mm^4）", "主弦单肢弱轴惯性矩：I1=2000000.00（mm^4）",
           battened ? "缀板面惯性矩：Iz=500000.00（mm^4）" : "缀条弱轴惯性矩：Iz=500000.00（mm^4）", "材料安全系数：k=1.34"});
  e.Insert(c.radii).Lines(c.radiiLines);
  e.Insert("sf2.doc").Lines({"μ=1.000"});
  e.Insert(c.slenderness).Lines(c.slendernessLines);
  for (const auto& [text, before, after] : c.stiffness) e.Verdict(kGreen, before, text, after);
  e.Font(14, kBlack).Lines(c.psiLines);
  e.Insert("sf4.doc").Lines({"M=8000000.00（N.mm）", "附着杆截面远点至弱轴距离h=250.00（mm）"});
  e.Insert("sf5.doc").Lines({"W=600000.00（mm^3）"});
  e.Insert("st6.doc").Lines({c.fe});
  e.Insert("sf7.doc").Lines({c.sigma}).Verdict(kGreen, 1, "σ<235/1.34\r\n附着杆整体稳定性满足要求！", 0).Font(14, kBlack);
  e.Insert("st8.doc").Lines({c.sigma1}).Verdict(kGreen, 1, "σ1<235/1.34\r\n附着杆主弦单肢稳定性满足要求！", 0).Font(14, kBlack);
  e.Insert(c.check).Lines({c.sigmaZ}).Verdict(kGreen, 1, "σz<235/1.34\r\n附着杆" + member + "满足要求！", 0);
  return e.End();
}

const std::vector<LatticeCase> kLatticeCases = {
    {1, "附着杆结构形式：两肢缀板式", "lb1.doc", "lb3.doc", "lb9.doc", {"r=158.11", "r1=25.82"},
     {"λ1=19.36", "λ换=54.18"},
     {{"附着杆长细比<120,整体刚度满足要求！", 1, 1},
      {"附着杆主弦单肢长细比<0.5倍整体长细比,且<40，主弦单肢刚度满足要求！", 0, 1}},
     {"查表得附着杆整体受压稳定系数：ψ=0.837", "查表得附着杆主弦单肢受压稳定系数：ψ1=0.972"}, "Fe=4152117.75（N）",
     "σ=53.91（MPa）", "σ1=34.30（MPa）", "σz=57.56（MPa）"},
    {2, "附着杆结构形式：两肢缀条式", "lt1.doc", "st3.doc", "st9.doc", {"r=158.11", "r1=25.82", "rz=22.36"},
     {"λ1=23.24", "λz=22.36", "λ换=51.39"},
     {{"附着杆长细比<120，整体刚度满足要求！", 1, 0},
      {"附着杆主弦单肢长细比<0.7倍整体长细比，主弦单肢刚度满足要求！", 0, 0},
      {"附着杆缀条长细比<120，缀条刚度满足要求！", 0, 1}},
     {"查表得附着杆整体受压稳定系数：ψ=0.850", "查表得附着杆主弦单肢受压稳定系数：ψ1=0.959",
      "查表得附着杆缀条受压稳定系数：ψz=0.962"},
     "Fe=4614337.60（N）", "σ=53.22（MPa）", "σ1=34.75（MPa）", "σz=2.44（MPa）"},
    {3, "附着杆结构形式：四肢缀板式", "sb1.doc", "lb3.doc", "lb9.doc", {"r=158.11", "r1=36.51"},
     {"λ1=13.69", "λ换=52.42"},
     {{"附着杆长细比<120,整体刚度满足要求！", 1, 0},
      {"附着杆主弦单肢长细比<0.5倍整体长细比，且<40，主弦单肢刚度满足要求！", 0, 1}},
     {"查表得附着杆整体受压稳定系数：ψ=0.845", "查表得附着杆主弦单肢受压稳定系数：ψ1=0.986"}, "Fe=4435474.29（N）",
     "σ=53.49（MPa）", "σ1=33.82（MPa）", "σz=57.11（MPa）"},
    {4, "附着杆结构形式：四肢缀条式", "st1.doc", "st3.doc", "st9.doc", {"r=158.11", "r1=36.51", "rz=22.36"},
     {"λ1=16.43", "λz=22.36", "λ换=51.77"},
     {{"附着杆长细比<120，整体刚度满足要求！", 1, 0},
      {"附着杆主弦单肢长细比<0.7倍整体长细比，主弦单肢刚度满足要求！", 0, 0},
      {"附着杆缀条长细比<120，缀条刚度满足要求！", 0, 1}},
     {"查表得附着杆整体受压稳定系数：ψ=0.848", "查表得附着杆主弦单肢受压稳定系数：ψ1=0.980",
      "查表得附着杆缀条受压稳定系数：ψz=0.962"},
     "Fe=4547188.66（N）", "σ=53.32（MPa）", "σ1=34.02（MPa）", "σz=2.45（MPa）"},
};

TEST_F(RodCheckReport, LatticeExamplesWholeCourse) {
  for (const LatticeCase& c : kLatticeCases) {
    SCOPED_TRACE("form " + std::to_string(c.form));
    CheckedPage s(c.form, RodCheckLatticeExample(c.form == 1 || c.form == 3));
    const std::string name = "form" + std::to_string(c.form) + ".doc";
    const std::vector<std::string> doc = Write(s, name);
    const std::vector<std::string> expected = LatticeExpected(*this, c);
    SKIP_WITHOUT_READER();
    ExpectSameLines(doc, expected);
    ASSERT_EQ(s.desktop.Messages().size(), 1u);
    EXPECT_EQ(s.desktop.Messages()[0].text, "报告文件输出成功!");
  }
  EXPECT_TRUE(TmpNames().empty());
}

// The coloured lines of a document read back: "green TEXT" or "red TEXT".
std::vector<std::string> VerdictsOf(const std::vector<std::string>& doc) {
  std::vector<std::string> out;
  for (const std::string& line : doc) {
    for (const auto& [mark, name] : {std::pair{"{00FF00:", "green "}, std::pair{"{FF0000:", "red "}}) {
      const size_t at = line.find(mark);
      if (at != std::string::npos) out.push_back(name + line.substr(at + 8, line.rfind('}') - at - 8));
    }
  }
  return out;
}

bool Has(const std::vector<std::string>& doc, const std::string& text) {
  return std::any_of(doc.begin(), doc.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

TEST_F(RodCheckReport, FailingGroupsWriteTheirRedLineOnly) {
  {
    SCOPED_TRACE("Q345 solid web under a heavy load, k = 1.5");
    Entries heavy = kRodCheckSolidExample;
    heavy[0].second = "2000";
    heavy.push_back({"k", "1.5"});
    CheckedPage s(0, heavy, 1);
    const std::vector<std::string> doc = Write(s, "q345.doc");
    SKIP_WITHOUT_READER();
    EXPECT_TRUE(Has(doc, "left|0|14|附着杆材质： Q345"));
    EXPECT_EQ(VerdictsOf(doc), (std::vector<std::string>{"green 附着杆长细比<120，整体刚度满足要求！", "red σ≥345/1.50",
                                                         "red 附着杆整体稳定性 不 满足要求！"}));
  }
  {
    SCOPED_TRACE("battened, limbs spaced 1400 mm: λ1 ≥ 40");
    Entries wide = RodCheckLatticeExample(true);
    wide[10].second = "1400";
    CheckedPage s(1, wide);
    EXPECT_EQ(VerdictsOf(Write(s, "wide.doc")).at(1),
              "red 附着杆主弦单肢长细比>=0.5倍整体长细比或>=40，主弦单肢刚度 不 满足要求！");
  }
  {
    SCOPED_TRACE("four-limb battened, battens wider than their spacing: λ1 < 0 is judged by its size");
    Entries narrow = RodCheckLatticeExample(true);
    narrow[10].second = "50";
    CheckedPage s(3, narrow);
    const std::vector<std::string> doc = Write(s, "narrow.doc");
    EXPECT_TRUE(Has(doc, "left|0|14|λ1=-1.37"));
    EXPECT_EQ(VerdictsOf(doc).at(1), "green 附着杆主弦单肢长细比<0.5倍整体长细比，且<40，主弦单肢刚度满足要求！");
  }
  {
    SCOPED_TRACE("laced, slender lacing bars and Q345 lacing");
    Entries slender = RodCheckLatticeExample(false);
    slender[9].second = "20000";  // Iz: rz = 4.47, λz = 111.8
    slender[1].second = "30000";  // L: λ换 ≥ 120
    CheckedPage s(4, slender);
    ASSERT_TRUE(s.page.UserSelect(CRodCheckPage::kLacingGrade, 1));
    const std::vector<std::string> v = VerdictsOf(Write(s, "slender.doc"));
    ASSERT_GE(v.size(), 4u);
    EXPECT_EQ(v[0], "red 附着杆长细比>=120，整体刚度 不 满足要求！");
    EXPECT_EQ(v[2], "green 附着杆缀条长细比<120，缀条刚度满足要求！");
    EXPECT_EQ(std::vector<std::string>(v.end() - 2, v.end()),
              (std::vector<std::string>{"green σz<345/1.34", "green 附着杆缀条满足要求！"}));
  }
}

TEST_F(RodCheckReport, UncheckedPageIsRefusedBeforeAnyDialog) {
  Started<CRodCheckPage> s;  // right after start: the start-up checks found zeros
  s.desktop.QueueSavePath(Out("x.doc"));
  InstallReport(s.page);
  EXPECT_TRUE(s.page.UserClick(1024));
  EXPECT_TRUE(s.desktop.Requests().empty());
  ASSERT_EQ(s.desktop.Messages().size(), 1u);
  EXPECT_EQ(s.desktop.Messages()[0].text, "请设定正确参数！");
  EXPECT_EQ(s.desktop.Messages()[0].icon, MessageIcon::None);
  // A form change resets the lattice inputs, so its check is invalid again.
  TypeAll(s.page, kRodCheckSolidExample);
  ASSERT_TRUE(s.page.UserSelect(CRodCheckPage::kForm, 2));
  EXPECT_TRUE(s.page.UserClick(1024));
  EXPECT_EQ(s.desktop.Messages().size(), 2u);
  EXPECT_TRUE(s.desktop.Requests().empty());
  EXPECT_TRUE(OutNames().empty());
}

TEST_F(RodCheckReport, ReportButtonWritesWithThePagesDesktop) {
  CheckedPage s(2, RodCheckLatticeExample(false));
  InstallReport(s.page);
  s.desktop.QueueSavePath(Out("button.doc"));
  EXPECT_TRUE(s.page.UserClick(1024));
  ASSERT_EQ(s.desktop.Messages().size(), 1u);
  EXPECT_EQ(s.desktop.Messages()[0].text, "报告文件输出成功!");
  EXPECT_EQ(OutNames(), std::vector<std::string>{"button.doc"});
  EXPECT_TRUE(TmpNames().empty());
}

// ---- read back by python-docx ----------------------------------------------

TEST_F(RodCheckReport, DocumentsReadBackWithColouredVerdicts) {
  CheckedPage solid(0, kRodCheckSolidExample);
  solid.desktop.QueueSavePath(Out("solid.doc"));
  WriteRodCheckReport(solid.page, solid.desktop);
  Entries heavy = kRodCheckSolidExample;
  heavy[0].second = "2000";
  CheckedPage failing(0, heavy, 1);
  failing.desktop.QueueSavePath(Out("q345.doc"));
  WriteRodCheckReport(failing.page, failing.desktop);
  CheckedPage laced(4, RodCheckLatticeExample(false));
  laced.desktop.QueueSavePath(Out("laced.doc"));
  WriteRodCheckReport(laced.page, laced.desktop);

  const std::vector<std::string> a = ReadBack(Out("solid.doc"));
  const std::vector<std::string> b = ReadBack(Out("q345.doc"));
  const std::vector<std::string> c = ReadBack(Out("laced.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ASSERT_GT(a.size(), 20u);
  EXPECT_EQ(a[0], "center|1|25|塔式起重机附着杆校核报告");
  EXPECT_EQ(a[1], "left|0|14|附着杆结构形式：实腹式");
  EXPECT_EQ(a[2], "left|0|14|附着杆材质： Q235");
  // Fragment text, then the typed value, in order.
  const auto at = [](const std::vector<std::string>& doc, const std::string& text) {
    return std::find_if(doc.begin(), doc.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }) -
           doc.begin();
  };
  EXPECT_LT(at(a, "附着杆整体惯性半径："), at(a, "|r=100.00"));
  EXPECT_LT(at(a, "|r=100.00"), at(a, "附着杆结构长细比："));
  EXPECT_LT(at(a, "1、附着杆整体稳定性验算："), at(a, "σ=31.81（MPa）"));
  EXPECT_TRUE(Has(a, "|{00FF00:附着杆长细比<120，整体刚度满足要求！}"));
  EXPECT_TRUE(Has(a, "{00FF00:σ<235/1.34"));
  EXPECT_LT(at(a, "{00FF00:附着杆长细比<120"), at(a, "查表得附着杆受压稳定系数：ψ=0.807"));

  EXPECT_TRUE(Has(b, "附着杆材质： Q345"));
  EXPECT_TRUE(Has(b, "{FF0000:σ≥345/1.34"));
  EXPECT_TRUE(Has(b, "{FF0000:附着杆整体稳定性 不 满足要求！}"));
  EXPECT_FALSE(Has(b, "附着杆整体稳定性满足要求"));

  EXPECT_TRUE(Has(c, "附着杆结构形式：四肢缀条式"));
  EXPECT_TRUE(Has(c, "3、附着杆缀条稳定性校核"));
  EXPECT_TRUE(Has(c, "{00FF00:附着杆缀条满足要求！}"));
  EXPECT_LT(at(c, "2、附着杆主弦单肢稳定性验算："), at(c, "σ1=34.02（MPa）"));
  // After a verdict the body is black again.
  EXPECT_TRUE(Has(c, "left|0|14|查表得附着杆整体受压稳定系数：ψ=0.848"));
}

// A section from the library: named after the grades with its derivations
// and i, once; edited by hand, marked; on another form, left out.
TEST_F(RodCheckReport, SectionNamedWithItsDerivations) {
  RodSectionChoice choice;
  choice.profile = "L63x6", choice.width = 400, choice.depth = 400, choice.lacing = "L40x4", choice.spacing = 400;
  CheckedPage s(4, {{"F", "120"}, {"L", "6000"}});
  ASSERT_EQ(s.page.ApplySection(choice), "");
  const std::vector<std::string> doc = Write(s, "section.doc");
  TypeAll(s.page, {{"Iz", "20000"}});
  const std::vector<std::string> edited = Write(s, "edited.doc");
  ASSERT_TRUE(s.page.UserSelect(CRodCheckPage::kForm, 3));
  TypeAll(s.page, {{"delta", "8"}, {"Az", "1600"}, {"Iz", "8533333"}, {"I1", "112000"}, {"L1", "600"}, {"a", "400"}});
  const std::vector<std::string> other = Write(s, "other.doc");
  SKIP_WITHOUT_READER();
  const std::vector<std::string> expected = {
      "left|0|14|附着杆缀条材质： Q235",
      "left|0|14|截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400",
      "left|0|14|A = 4×728.8 = 2915.2 mm²",
      "left|0|14|h = 400/2 = 200 mm",
      "left|0|14|Imax = 4×(271200 + 728.8×(400/2−17.8)²) = 97860227.97 mm⁴",
      "left|0|14|i = √(Imax/A) = √(97860227.97/2915.2) = 183.22 mm",
      "left|0|14|Imin = Imax = 97860227.97 mm⁴（等截面）",
  };
  const auto start = std::find(doc.begin(), doc.end(), expected[0]);
  ASSERT_NE(start, doc.end());
  EXPECT_EQ(std::vector<std::string>(start, start + expected.size()), expected);
  EXPECT_EQ(std::count_if(doc.begin(), doc.end(), [](const std::string& l) { return l.find("截面：") != std::string::npos; }), 1);
  EXPECT_TRUE(Has(edited, "left|0|14|截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400（已手动修改）"));
  EXPECT_FALSE(Has(other, "截面："));
  EXPECT_FALSE(Has(other, "mm²"));
}

}  // namespace
}  // namespace tiecalc
