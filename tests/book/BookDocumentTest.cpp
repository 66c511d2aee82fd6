#include "book/BookDocument.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/input/Format.h"

#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"
#include "report/composers/ReportTestSupport.h"
#include "report/composers/Reports.h"

namespace tiecalc {
namespace {

const Entries& kFourRodI = kFourRodIExample;
const Entries kSection = {{"F", "100"}, {"L", "6000"}, {"G", "600"}, {"A", "12000"}, {"h", "150"},
                          {"Imax", "100000000"}, {"Imin", "100000000"}};

const Entries kLattice = {{"F", "200"}, {"L", "8000"}, {"G", "800"}, {"A", "6000"}, {"h", "250"},
                          {"Imax", "150000000"}, {"Imin", "150000000"}, {"Az", "1000"}, {"I1", "2000000"},
                          {"Iz", "500000"}, {"L1", "600"}, {"a", "400"}};

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

// A report's lines as the book prints them: the verdict colours legible in
// grey, the spacing of battens or lacing named l1, [σ] as its value.
Lines InBookStyle(Lines lines) {
  for (std::string& l : lines) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"{00FF00:", "{006100:"},
                                   {"{FF0000:", "{C00000:"},
                                   {"跨距L1", "跨距l1"},
                                   {"235/1.34", "[σ] = 175.37\u00A0MPa"}})
      for (size_t at = l.find(from); at != std::string::npos; at = l.find(from, at)) l.replace(at, from.size(), to);
  }
  return lines;
}

// A four-rod book of two load cases, the inner rods with a section of their
// own: the cover, the numbered parts, the tables, each section's derivation
// once as the rod-check report writes it, the wall reactions, the verdict.
TEST_F(BookDocument, TwoCasesAndTwoSectionsInNumberedParts) {
  Started<CFourRodParallelPage> forces;
  TypeAll(forces.page, kFourRodI);
  Started<CRodCheckPage> section;
  TypeAll(section.page, kSection);
  Started<CRodCheckPage> lattice;
  ASSERT_TRUE(lattice.page.UserSelect(CRodCheckPage::kForm, 4));
  TypeAll(lattice.page, kLattice);
  CaseBook settings;
  settings.project.name = "滨江花园 3# 住宅楼";
  settings.project.crane = "QTZ80";
  settings.project.author = "张工";
  settings.project.date = "2026-12-11";
  settings.cases = {{"工作状态", "100", "300"}, {"非工作状态", "150", "0"}};
  settings.sections.push_back({{2, 3}, CapturePage("rod-check", lattice.page)});
  forces.desktop.QueueSavePath(Out("book.doc"));
  WriteCalculationBook(forces.page, section.page, settings, forces.desktop);
  ASSERT_EQ(forces.desktop.Messages().size(), 1u);
  EXPECT_EQ(forces.desktop.Messages()[0].text, "报告文件输出成功!");
  EXPECT_EQ(forces.desktop.Requests().at(0).fileName, "计算书");
  const CalculationBook book = ComputeBook(forces.page, section.page, settings);
  const BookLevel& level = book.levels.at(0);

  const Lines doc = Read(Out("book.doc"));
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ASSERT_FALSE(doc.empty());
  EXPECT_EQ(doc[0], "p|1|25|塔式起重机附着计算书");
  const Lines cover = {"row|工程名称：|滨江花园 3# 住宅楼", "row|工程地点：|", "row|塔机型号：|QTZ80"};
  EXPECT_NE(Find(doc, cover), std::string::npos);
  EXPECT_NE(Find(doc, {"row|编制：|张工", "row|校核：|", "row|审核：|", "row|日期：|2026-12-11"}), std::string::npos);

  Lines headings;
  std::copy_if(doc.begin(), doc.end(), std::back_inserter(headings), [](const std::string& l) { return l.rfind("h|", 0) == 0; });
  const Lines expectedHeadings = {"h|1|编制依据",      "h|1|计算结论",   "h|1|荷载工况",       "h|1|杆件截面",
                                  "h|2|截面1：实腹式", "h|2|截面2：四肢缀条式", "h|1|附着受力分析", "h|2|附着布置",
                                  "h|2|附着杆内力",    "h|2|附着杆校核", "h|3|杆1（截面1）",   "h|3|杆2（截面2）",
                                  "h|3|杆3（截面2）",  "h|3|杆4（截面1）", "h|2|附着点反力",  "h|1|结论"};
  EXPECT_EQ(headings, expectedHeadings);

  // The summary row of rod 2 and the load cases.
  const BookRod& rod2 = level.rods[1];
  EXPECT_NE(Find(doc, {"row|杆2|截面2|" + rod2.texts.L + "|" + rod2.texts.F + "|" + rod2.texts.Fmax + "|" +
                       rod2.Field("lambda") + "|" + FormatFixed(rod2.Utilisation(), 2) + "|" +
                       (rod2.passes ? "满足" : "不满足")}),
            std::string::npos);
  EXPECT_NE(Find(doc, {"row|工况|R (kN)|M (kN·m)", "row|工作状态|100|300", "row|非工作状态|150|0"}), std::string::npos);

  // The derivation of each section once, under its first rod, exactly as
  // the rod-check report writes it for that rod; the other rods refer to it.
  for (const int n : {1, 2}) {
    const BookRod& rod = level.rods[static_cast<size_t>(n - 1)];
    Started<CRodCheckPage> hand;
    if (n == 2) ASSERT_TRUE(hand.page.UserSelect(CRodCheckPage::kForm, 4));
    TypeAll(hand.page, n == 1 ? kSection : kLattice);
    TypeAll(hand.page, {{"F", rod.texts.F}, {"L", rod.texts.L}, {"G", rod.texts.G}});
    hand.desktop.QueueSavePath(Out("rod" + std::to_string(n) + ".doc"));
    WriteRodCheckReport(hand.page, hand.desktop);
    const size_t heading = Find(doc, {"h|3|杆" + std::to_string(n) + "（截面" + std::to_string(n) + "）"});
    ASSERT_NE(heading, std::string::npos);
    EXPECT_NE(Find(doc, InBookStyle(Body(Out("rod" + std::to_string(n) + ".doc"))), heading), std::string::npos)
        << "rod " << n;
  }
  EXPECT_NE(Find(doc, {"p|0|14|计算公式与过程同杆2，上表为本杆的数值。"}), std::string::npos);
  EXPECT_NE(Find(doc, {"p|0|14|计算公式与过程同杆1，上表为本杆的数值。"}), std::string::npos);

  // The wall reaction of rod 1's envelope, and the verdict last.
  const RodWallReaction& w = level.reactions[0];
  EXPECT_NE(Find(doc, {"row|杆1|" + FormatFixed(w.angle, 2) + "°|包络|最大拉力|" + FormatFixed(w.tension.F, 2) + "|" +
                       FormatFixed(w.tension.normal, 2) + "|" + FormatFixed(w.tension.parallel, 2)}),
            std::string::npos);
  const auto last = std::find_if(doc.rbegin(), doc.rend(), [](const std::string& l) {
    return l.rfind("footer|", 0) != 0 && l.rfind("p|0||", 0) != 0;
  });
  ASSERT_NE(last, doc.rend());
  EXPECT_EQ(last->substr(0, 15), book.verdict == kBookAllRodsPass ? "p|0|14|{006100:" : "p|0|14|{C00000:");
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

// A section from the library is named in its part's heading and derived
// there once, before the rods, without what each rod's length sets (G, Ld).
TEST_F(BookDocument, TheSectionIsNamedAndDerivedOnceBeforeTheRods) {
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
  const size_t named = Find(doc, {"h|2|截面1：实腹式，Φ323.9×10"});
  ASSERT_NE(named, std::string::npos);
  const std::string first = "p|0|14|    " + section.page.Section()->built.derivations[0].text;
  EXPECT_EQ(std::count(doc.begin(), doc.end(), first), 1);
  EXPECT_LT(named, Find(doc, {first}));
  EXPECT_LT(Find(doc, {first}), Find(doc, {"h|3|杆1（截面1）"}));
  EXPECT_EQ(std::count_if(doc.begin(), doc.end(), [](const std::string& l) { return l.find("G = ") != std::string::npos; }), 0);
}

}  // namespace
}  // namespace tiecalc
