#include <gtest/gtest.h>

#include <filesystem>

#include "book/Book.h"
#include "case/CaseFile.h"
#include "pages/NamedInput.h"
#include "pages/PageTestSupport.h"
#include "platform/word/TempFolder.h"
#include "wiring/PageSet.h"

namespace tiecalc {
namespace {

const Entries& kFourRodI = kFourRodIExample;
const Entries kSection = {{"F", "100"}, {"L", "6000"}, {"G", "600"}, {"A", "12000"}, {"h", "150"},
                          {"Imax", "100000000"}, {"Imin", "50000000"}, {"Ld", "3000"}};

struct Pages {
  CScriptedDesktop desktop;
  CPageSet set;
  Pages() { set.Create(&desktop); }
  int Choice(const std::string& value) const {
    const auto& values = CRodCheckPage::SourceValues();
    return static_cast<int>(std::find(values.begin(), values.end(), value) - values.begin());
  }
};

TEST(BookControls, TheChoiceRoundTripsThroughACaseAsTheInputSource) {
  Pages saved;
  TypeAll(saved.set.FourRodParallel(), kFourRodI);
  TypeAll(saved.set.RodCheck(), kSection);
  ASSERT_TRUE(saved.set.RodCheck().UserSelect(CRodCheckPage::kSource, saved.Choice("four-rod-1:2")));
  const std::string text = WriteCase(CaptureCase(CasePagesOf(saved.set), "rod-check"));
  EXPECT_NE(text.find(R"("source": "four-rod-1:2")"), std::string::npos) << text;

  Pages opened;
  ApplyCase(ParseCase(text, CasePagesOf(opened.set)), CasePagesOf(opened.set));
  for (const NamedControl& n : saved.set.RodCheck().Names())
    EXPECT_EQ(NamedText(opened.set.RodCheck(), n), NamedText(saved.set.RodCheck(), n)) << n.name;
  EXPECT_TRUE(opened.desktop.Messages().empty());

  // A case from before the list, or a fresh page: 手动输入.
  Pages fresh;
  ApplyCase(ParseCase(R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"F": "5"}}})",
                      CasePagesOf(fresh.set)),
            CasePagesOf(fresh.set));
  EXPECT_EQ(fresh.set.RodCheck().GetCurSel(CRodCheckPage::kSource), 0);
  EXPECT_NE(WriteCase(CaptureCase(CasePagesOf(fresh.set), "")).find(R"("source": "manual")"), std::string::npos);
  EXPECT_THROW(ParseCase(R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"source": "rod:9"}}})",
                         CasePagesOf(fresh.set)),
               CCaseError);
}

TEST(BookControls, EachForcePagesBookButtonWritesTheBookOfItsLayout) {
  TempFolder folder;
  Pages p;
  // Refusals first: the button of an uncalculated layout, then a section missing.
  EXPECT_TRUE(p.set.FourRodParallel().UserClick(CFourRodPage::kBookButton));
  TypeAll(p.set.FourRodParallel(), kFourRodI);
  EXPECT_TRUE(p.set.FourRodParallel().UserClick(CFourRodPage::kBookButton));
  TypeAll(p.set.RodCheck(), kSection);
  p.desktop.QueueSavePath(folder.Path("book.doc"));
  EXPECT_TRUE(p.set.FourRodParallel().UserClick(CFourRodPage::kBookButton));
  EXPECT_TRUE(p.set.ThreeRod().UserClick(CThreeRod::kBookButton));
  EXPECT_TRUE(p.set.FourRodTurned().UserClick(CFourRodPage::kBookButton));
  std::vector<std::string> messages;
  for (const auto& m : p.desktop.Messages()) messages.push_back(m.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"请先完成附着杆内力计算!", "请先在附着杆校核页设定杆件截面参数!",
                                                "报告文件输出成功!", "请先完成附着杆内力计算!",
                                                "请先完成附着杆内力计算!"}));
  ASSERT_EQ(p.desktop.Requests().size(), 1u);
  EXPECT_EQ(p.desktop.Requests()[0].fileName, "计算书");
  EXPECT_TRUE(std::filesystem::exists(folder.Path("book.doc")));
}

}  // namespace
}  // namespace tiecalc
