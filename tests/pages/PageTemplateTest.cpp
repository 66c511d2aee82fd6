#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

// The rectangle a control takes on the page: a drop-down list's template
// height includes its dropped list, closed it is one line high.
DialogRect Footprint(const ControlTemplate& c) {
  DialogRect r = c.rect;
  if (c.kind == ControlKind::ComboBox) r.height = 12;
  return r;
}

bool Overlap(const DialogRect& a, const DialogRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const DialogRect& inner, const DialogRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

std::string Describe(const ControlTemplate& c) {
  return std::to_string(c.id) + " \"" + c.caption + "\" at " + std::to_string(c.rect.x) + "," +
         std::to_string(c.rect.y);
}

void ExpectTidyLayout(const CPage& page) {
  const DialogTemplate& t = page.Template();
  SCOPED_TRACE(t.id);
  const DialogRect whole{0, 0, t.width, t.height};
  const auto& cs = t.controls;
  for (size_t i = 0; i < cs.size(); ++i) {
    EXPECT_TRUE(Inside(Footprint(cs[i]), whole)) << Describe(cs[i]);
    EXPECT_GT(cs[i].rect.width, 0) << Describe(cs[i]);
    for (size_t j = i + 1; j < cs.size(); ++j) {
      const bool groupI = cs[i].kind == ControlKind::GroupBox, groupJ = cs[j].kind == ControlKind::GroupBox;
      const DialogRect a = Footprint(cs[i]), b = Footprint(cs[j]);
      if (groupI != groupJ) {
        // A control lies wholly inside a group box or wholly outside it.
        const DialogRect& group = groupI ? a : b;
        const DialogRect& other = groupI ? b : a;
        EXPECT_TRUE(Inside(other, group) || !Overlap(other, group)) << Describe(cs[i]) << " / " << Describe(cs[j]);
      } else {
        EXPECT_FALSE(Overlap(a, b)) << Describe(cs[i]) << " / " << Describe(cs[j]);
      }
    }
  }
  // Every name is unique and names a control of the template.
  std::set<std::string> names;
  for (const NamedControl& n : page.Names()) {
    EXPECT_TRUE(names.insert(n.name).second) << n.name;
    EXPECT_TRUE(page.HasControl(n.id)) << n.name;
  }
}

TEST(PageTemplates, EveryControlIsInsideItsPageAndOverlapsNoOther) {
  ExpectTidyLayout(CThreeRod());
  ExpectTidyLayout(CFourRodParallelPage());
  ExpectTidyLayout(CFourRodTurnedPage());
  ExpectTidyLayout(CRodCheckPage());
}

TEST(PageTemplates, EveryEditOfTheForcePagesHasATooltip) {
  const std::unique_ptr<CPage> pages[] = {std::make_unique<CThreeRod>(), std::make_unique<CFourRodParallelPage>(),
                                          std::make_unique<CFourRodTurnedPage>()};
  for (const auto& page : pages) {
    for (const NamedControl& n : page->Names()) {
      if (page->KindOf(n.id) != ControlKind::Edit) continue;
      EXPECT_TRUE(page->TooltipText(n.id).has_value()) << page->Template().id << " " << n.name;
    }
  }
}

}  // namespace
}  // namespace tiecalc
