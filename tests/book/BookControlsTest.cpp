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
    const auto& values = CJiaoHe::SourceValues();
    return static_cast<int>(std::find(values.begin(), values.end(), value) - values.begin());
  }
};

TEST(BookControls, TheListStartsManualAndTypesTheChosenRodAsTheBookDoes) {
  Pages p;
  CJiaoHe& rodCheck = p.set.JiaoHe();
  EXPECT_EQ(rodCheck.GetCurSel(CJiaoHe::kSource), 0);
  EXPECT_EQ(CJiaoHe::SourceItems().size(), CJiaoHe::SourceValues().size());
  EXPECT_EQ(CJiaoHe::SourceItems()[p.Choice("four-rod-1:2")], "四杆附着(一) 杆2");

  // A layout not calculated yet: refused, the list back at 手动输入.
  TypeAll(rodCheck, kSection);
  ASSERT_TRUE(rodCheck.UserSelect(CJiaoHe::kSource, p.Choice("three-rod:2")));
  EXPECT_EQ(rodCheck.GetCurSel(CJiaoHe::kSource), 0);
  ASSERT_EQ(p.desktop.Messages().size(), 1u);
  EXPECT_EQ(p.desktop.Messages()[0].text, "请先完成附着杆内力计算!");
  EXPECT_EQ(Shown(rodCheck, "F"), "100");

  TypeAll(p.set.FourRod(), kFourRodI);
  const RodTexts expected = TextsForRod(RodsOf(p.set.FourRod())->at(1), rodCheck);
  ASSERT_TRUE(rodCheck.UserSelect(CJiaoHe::kSource, p.Choice("four-rod-1:2")));
  ExpectShown(rodCheck, {{"F", "1185.40"}, {"L", "3352.53"}, {"G", expected.G}, {"Ld", *expected.Ld}});
  EXPECT_EQ(expected.G, "335.25");  // 600·3352.53/6000
  // Choosing the same rod again changes nothing; 手动输入 leaves the texts.
  ASSERT_TRUE(rodCheck.UserSelect(CJiaoHe::kSource, 0));
  ASSERT_TRUE(rodCheck.UserSelect(CJiaoHe::kSource, p.Choice("four-rod-1:2")));
  ExpectShown(rodCheck, {{"F", "1185.40"}, {"L", "3352.53"}, {"G", "335.25"}, {"Ld", *expected.Ld}});
  EXPECT_EQ(p.desktop.Messages().size(), 1u);
}

TEST(BookControls, TheChoiceRoundTripsThroughACaseAsTheInputSource) {
  Pages saved;
  TypeAll(saved.set.FourRod(), kFourRodI);
  TypeAll(saved.set.JiaoHe(), kSection);
  ASSERT_TRUE(saved.set.JiaoHe().UserSelect(CJiaoHe::kSource, saved.Choice("four-rod-1:2")));
  const std::string text = WriteCase(CaptureCase(CasePagesOf(saved.set), "rod-check"));
  EXPECT_NE(text.find(R"("source": "four-rod-1:2")"), std::string::npos) << text;

  Pages opened;
  ApplyCase(ParseCase(text, CasePagesOf(opened.set)), CasePagesOf(opened.set));
  for (const NamedControl& n : saved.set.JiaoHe().Names())
    EXPECT_EQ(NamedText(opened.set.JiaoHe(), n), NamedText(saved.set.JiaoHe(), n)) << n.name;
  EXPECT_TRUE(opened.desktop.Messages().empty());

  // A case from before the list, or a fresh page: 手动输入.
  Pages fresh;
  ApplyCase(ParseCase(R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"F": "5"}}})",
                      CasePagesOf(fresh.set)),
            CasePagesOf(fresh.set));
  EXPECT_EQ(fresh.set.JiaoHe().GetCurSel(CJiaoHe::kSource), 0);
  EXPECT_NE(WriteCase(CaptureCase(CasePagesOf(fresh.set), "")).find(R"("source": "manual")"), std::string::npos);
  EXPECT_THROW(ParseCase(R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"source": "rod:9"}}})",
                         CasePagesOf(fresh.set)),
               CCaseError);
}

TEST(BookControls, EachForcePagesBookButtonWritesTheBookOfItsLayout) {
  TempFolder folder;
  Pages p;
  // Refusals first: the button of an uncalculated layout, then a section missing.
  EXPECT_TRUE(p.set.FourRod().UserClick(CFourRodPage::kBookButton));
  TypeAll(p.set.FourRod(), kFourRodI);
  EXPECT_TRUE(p.set.FourRod().UserClick(CFourRodPage::kBookButton));
  TypeAll(p.set.JiaoHe(), kSection);
  p.desktop.QueueSavePath(folder.Path("book.doc"));
  EXPECT_TRUE(p.set.FourRod().UserClick(CFourRodPage::kBookButton));
  EXPECT_TRUE(p.set.ThreeRod().UserClick(CThreeRod::kBookButton));
  EXPECT_TRUE(p.set.FourRod1().UserClick(CFourRodPage::kBookButton));
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
