#include <gtest/gtest.h>

#include "wiring/PageSet.h"

namespace tiecalc {
namespace {

// The pages in tab order, each found by its short name, each with its
// export and report behind the buttons: a press answers through the desktop
// (the message on invalid input, or the save dialog), as in the window.
TEST(PageSet, PagesInTabOrderByNameAndWired) {
  struct Row {
    const char* name;
    int templateId;
    int exportButton, reportButton;  // 0: none
  };
  const Row rows[] = {
      {"three-rod", CThreeRod::kTemplateId, CThreeRod::kExportButton, CThreeRod::kReportButton},
      {"four-rod-1", CFourRodParallelPage::kTemplateId, CFourRodPage::kExportButton, CFourRodPage::kReportButton},
      {"four-rod-2", CFourRodTurnedPage::kTemplateId, CFourRodPage::kExportButton, CFourRodPage::kReportButton},
      {"rod-check", CRodCheckPage::kTemplateId, 0, CRodCheckPage::kReportButton},
  };
  CScriptedDesktop desktop;
  CPageSet pages;
  pages.Create(&desktop);
  ASSERT_EQ(4, pages.Count());
  for (int i = 0; i < 4; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.name);
    EXPECT_STREQ(r.name, CPageSet::Name(i));
    EXPECT_EQ(i, CPageSet::IndexOf(r.name));
    EXPECT_EQ(&pages.Page(i), pages.Find(r.name));
    EXPECT_EQ(r.templateId, pages.Page(i).Template().id);
    EXPECT_TRUE(pages.Page(i).IsCreated());
    EXPECT_EQ(&desktop, pages.Page(i).Desktop());
    for (int button : {r.exportButton, r.reportButton}) {
      if (!button) continue;
      const size_t before = desktop.Messages().size() + desktop.Requests().size();
      pages.Page(i).UserClick(button);
      EXPECT_EQ(before + 1, desktop.Messages().size() + desktop.Requests().size()) << button;
    }
  }
  EXPECT_EQ(&pages.ThreeRod(), &pages.Page(0));
  EXPECT_EQ(&pages.RodCheck(), &pages.Page(3));
  for (const char* unknown : {"", "Three-rod", "rod-check ", "eval"}) {
    EXPECT_EQ(-1, CPageSet::IndexOf(unknown)) << unknown;
    EXPECT_EQ(nullptr, pages.Find(unknown)) << unknown;
  }
}

}  // namespace
}  // namespace tiecalc
