#include "book/BookDocument.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"
#include "report/composers/ReportTestSupport.h"
#include "report/composers/Reports.h"

namespace tiecalc {
namespace {

const Entries& kFourRodI = kFourRodIExample;
const Entries kSection = {{"F", "100"}, {"L", "6000"}, {"G", "600"}, {"A", "12000"}, {"h", "150"},
                          {"Imax", "100000000"}, {"Imin", "100000000"}};

using Lines = std::vector<std::string>;

class BookDocument : public ReportTest {
 protected:
  // The document in body order, as tests/book/read_book.py prints it.
  Lines Read(const std::string& path) { return RunReader("book/read_book.py", path); }
  // A page report's body: the lines between its title and its footer.
  Lines Body(const std::string& path) {
    Lines lines = Read(path);
    std::erase_if(lines, [](const std::string& l) { return l.rfind("footer|", 0) == 0; });
    if (!lines.empty()) lines.erase(lines.begin());
    while (!lines.empty() && lines.back() == "p|0||") lines.pop_back();
    return lines;
  }
};

// Where lines occurs in doc as one run of consecutive lines, from at.
size_t Find(const Lines& doc, const Lines& lines, size_t at = 0) {
  auto it = std::search(doc.begin() + static_cast<long>(at), doc.end(), lines.begin(), lines.end());
  return it == doc.end() ? std::string::npos : static_cast<size_t>(it - doc.begin());
}

TEST_F(BookDocument, FourRodBookHoldsTheForceReportAndEachRodsCheckReport) {
  Started<CFourRodParallelPage> forces;
  TypeAll(forces.page, kFourRodI);
  Started<CRodCheckPage> section;
  TypeAll(section.page, kSection);
  forces.desktop.QueueSavePath(Out("book.doc"));
  WriteCalculationBook(forces.page, section.page, forces.desktop);
  ASSERT_EQ(forces.desktop.Messages().size(), 1u);
  EXPECT_EQ(forces.desktop.Messages()[0].text, "报告文件输出成功!");
  ASSERT_EQ(forces.desktop.Requests().size(), 1u);
  EXPECT_EQ(forces.desktop.Requests()[0].fileName, "计算书");
  EXPECT_EQ(forces.desktop.Requests()[0].defaultExtension, "*.doc");
  const CalculationBook book = ComputeBook(forces.page, section.page);

  const Lines doc = Read(Out("book.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ASSERT_FALSE(doc.empty());
  EXPECT_EQ(doc[0], "p|1|25|塔式起重机附着计算书");

  // The summary: a head and one row per rod.
  Lines rows;
  std::copy_if(doc.begin(), doc.end(), std::back_inserter(rows), [](const std::string& l) { return l.rfind("row|", 0) == 0; });
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], "row|杆件|L (mm)|Fmax (kN)|Fmin (kN)|λ|σ (MPa)|σt (MPa)|结论");
  EXPECT_EQ(rows[2], "row|杆2|3352.53|1185.40|-1185.40|" + book.levels.front().rods[1].Field("lambda") + "|" +
                         book.levels.front().rods[1].Field("sigma") + "|98.78|" + (book.levels.front().rods[1].passes ? "满足要求" : "不 满足要求"));

  // The force analysis exactly as the page's report writes it.
  forces.desktop.QueueSavePath(Out("forces.doc"));
  WriteForceReport(forces.page, forces.desktop);
  const size_t analysis = Find(doc, Body(Out("forces.doc")));
  ASSERT_NE(analysis, std::string::npos);
  EXPECT_NE(Find(doc, {"p|0|14|附着杆1极值F1m为：-728.53/728.53 KN"}), std::string::npos);

  // Each rod: its heading, the rod-check report typed with its texts, its
  // tension line; the headings in order after the analysis.
  size_t at = analysis;
  for (const BookRod& rod : book.levels.front().rods) {
    const std::string n = std::to_string(rod.rod);
    at = Find(doc, {"p|1|16|附着杆" + n + "校核"}, at);
    ASSERT_NE(at, std::string::npos) << "heading of rod " << n;
    Started<CRodCheckPage> hand;
    TypeAll(hand.page, kSection);
    TypeAll(hand.page, {{"F", rod.texts.F}, {"L", rod.texts.L}, {"G", rod.texts.G}});
    hand.desktop.QueueSavePath(Out("rod" + n + ".doc"));
    WriteRodCheckReport(hand.page, hand.desktop);
    Lines expected = Body(Out("rod" + n + ".doc"));
    expected.push_back("p|0|14|附着杆最大拉力：Fmax=" + rod.texts.Fmax + "（kN）");
    EXPECT_EQ(Find(doc, expected, at), at + 1) << "rod " << n;
  }
  EXPECT_NE(Find(doc, {"p|0|14|附着杆受拉应力：σt=Fmax×1000/A=98.78（MPa）", "p|0|14|{00FF00:附着杆受拉强度满足要求！}"}),
            std::string::npos);
  const std::string verdict = book.verdict == "全部附着杆满足要求！" ? "{00FF00:" + book.verdict + "}" : "{FF0000:" + book.verdict + "}";
  // The verdict ends the text: nothing typed after it, not even the
  // formatting placeholder.
  const auto last = std::find_if(doc.rbegin(), doc.rend(), [](const std::string& l) {
    return l.rfind("footer|", 0) != 0 && l.rfind("p|0||", 0) != 0;
  });
  ASSERT_NE(last, doc.rend());
  EXPECT_EQ(*last, "p|0|14|" + verdict);
  EXPECT_GT(static_cast<size_t>(doc.rend() - last), at);
  EXPECT_EQ(doc.back(), "footer|PAGE");
}

TEST_F(BookDocument, ARefusalShowsItsMessageAndAsksForNoPath) {
  Started<CThreeRod> forces;
  Started<CRodCheckPage> section;
  WriteCalculationBook(forces.page, section.page, forces.desktop);
  TypeAll(forces.page, {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"}, {"X1", "3000"}, {"X2", "3000"},
                        {"X3", "1500"}, {"H", "5000"}, {"R", "100"}, {"M", "200"}, {"theta", "30"}});
  WriteCalculationBook(forces.page, section.page, forces.desktop);
  ASSERT_EQ(forces.desktop.Messages().size(), 2u);
  EXPECT_EQ(forces.desktop.Messages()[0].text, "请先完成附着杆内力计算!");
  EXPECT_EQ(forces.desktop.Messages()[1].text, "请先在附着杆校核页设定杆件截面参数!");
  EXPECT_TRUE(forces.desktop.Requests().empty());
  EXPECT_TRUE(OutNames().empty());
}

// A section from the library is named once, before the first rod's heading,
// without what each rod's length sets (G, Ld).
TEST_F(BookDocument, TheSectionIsNamedOnceBeforeTheRods) {
  Started<CFourRodParallelPage> forces;
  TypeAll(forces.page, kFourRodI);
  Started<CRodCheckPage> section;
  TypeAll(section.page, {{"F", "100"}, {"L", "6000"}});
  RodSectionChoice choice;
  choice.profile = "Φ323.9×10";
  ASSERT_EQ(section.page.ApplySection(choice), "");
  forces.desktop.QueueSavePath(Out("book.doc"));
  WriteCalculationBook(forces.page, section.page, forces.desktop);
  const Lines doc = Read(Out("book.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  const size_t named = Find(doc, {"p|0|14|截面：Φ323.9×10"});
  ASSERT_NE(named, std::string::npos);
  EXPECT_LT(named, Find(doc, {"p|1|16|附着杆1校核"}));
  EXPECT_EQ(std::count_if(doc.begin(), doc.end(), [](const std::string& l) { return l.find("截面：") != std::string::npos; }), 1);
  EXPECT_EQ(std::count_if(doc.begin(), doc.end(), [](const std::string& l) { return l.find("G = ") != std::string::npos; }), 0);
  EXPECT_EQ(Find(doc, {"p|0|14|" + section.page.Section()->built.derivations[0].text}), named + 1);
}

}  // namespace
}  // namespace tiecalc
