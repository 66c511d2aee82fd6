#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pages/NamedInput.h"
#include "pages/PageTestSupport.h"
#include "wiring/PageSet.h"

namespace tiecalc {
namespace {

// Linked with the bare page set: the quick command-line front's pages have
// the link too.
struct Pages {
  CScriptedDesktop desktop;
  CPageSet set;
  Pages() { set.Create(&desktop); }
  CRodCheckPage& RodCheck() const { return set.RodCheck(); }
  std::string Source() const {
    return NamedText(RodCheck(), *std::find_if(RodCheck().Names().begin(), RodCheck().Names().end(),
                                                [](const NamedControl& n) { return n.name == "source"; }));
  }
  void Choose(const std::string& value) {
    const auto& values = CRodCheckPage::SourceValues();
    RodCheck().UserSelect(CRodCheckPage::kSource,
                          static_cast<int>(std::find(values.begin(), values.end(), value) - values.begin()));
  }
  std::vector<std::string> Marked() const {
    std::vector<std::string> names;
    for (const ControlNote& n : RodCheck().Notes())
      if (n.text.find("轴力取自") == 0) names.push_back(std::to_string(n.id));
    return names;
  }
};

const Entries kSection = {{"F", "100"}, {"L", "6000"}, {"G", "600"}, {"A", "12000"}, {"h", "150"},
                          {"Imax", "100000000"}, {"Imin", "50000000"}, {"Ld", "3000"}};

// While a rod is chosen, F and L are what choosing it afresh on pages in the
// same state gives, and G keeps the section's weight per length (600 kg over
// 6000 mm); its page going invalid keeps them, marked, and the link takes
// up again once it calculates; typing F, L or G makes the list 手动输入.
TEST(RodLink, TheChosenRodIsFollowedUntilFLOrGIsTyped) {
  struct Step {
    const char* what;
    bool onRodCheck;  // typed on the rod-check page, else on the four-rod page
    Entries typed;
    const char* source;  // the list afterwards
    bool follows;        // F and L are the rod's now
    bool marked;         // F, L and G carry the link's note
  };
  const Step steps[] = {
      {"chosen", true, {}, "four-rod-1:2", true, false},
      {"the frame's load changes", false, {{"R", "150"}}, "four-rod-1:2", true, false},
      {"the frame cannot be calculated", false, {{"Y1", "0"}}, "four-rod-1:2", false, true},
      {"it can again, with another geometry", false, {{"Y1", "4500"}}, "four-rod-1:2", true, false},
      {"the large section typed", true, {{"Ld", "2500"}}, "four-rod-1:2", true, false},
      {"F typed by hand", true, {{"F", "5"}}, "manual", false, false},
      {"the frame changes again", false, {{"R", "100"}}, "manual", false, false},
  };
  Pages p;
  TypeAll(p.RodCheck(), kSection);
  TypeAll(p.set.FourRodParallel(), kFourRodIExample);
  p.Choose("four-rod-1:2");
  Entries typedOnFrame = kFourRodIExample;
  std::string lastF = Shown(p.RodCheck(), "F"), lastL = Shown(p.RodCheck(), "L");
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    TypeAll(s.onRodCheck ? static_cast<CPage&>(p.RodCheck()) : p.set.FourRodParallel(), s.typed);
    if (!s.onRodCheck) typedOnFrame.insert(typedOnFrame.end(), s.typed.begin(), s.typed.end());
    EXPECT_EQ(p.Source(), s.source);
    EXPECT_EQ(p.Marked().size(), s.marked ? 3u : 0u);
    if (s.follows) {
      Pages fresh;
      TypeAll(fresh.RodCheck(), kSection);
      TypeAll(fresh.set.FourRodParallel(), typedOnFrame);
      fresh.Choose("four-rod-1:2");
      ExpectShown(p.RodCheck(), {{"F", Shown(fresh.RodCheck(), "F")}, {"L", Shown(fresh.RodCheck(), "L")}});
      const double L = std::stod(Shown(p.RodCheck(), "L"));
      // Exactly: scaling from its own rounded G again at every step drifted.
      char g[32];
      std::snprintf(g, sizeof g, "%.2f", 600 * L / 6000);
      EXPECT_EQ(Shown(p.RodCheck(), "G"), g);
      EXPECT_NE(Shown(p.RodCheck(), "F"), "100");
    } else if (s.typed.empty() || !s.onRodCheck) {
      ExpectShown(p.RodCheck(), {{"F", lastF}, {"L", lastL}});
    }
    lastF = Shown(p.RodCheck(), "F");
    lastL = Shown(p.RodCheck(), "L");
  }
  EXPECT_EQ(lastF, "5");
  EXPECT_TRUE(p.desktop.Messages().empty());

  // A uniform rod's locked Ld is the whole rod, as typing L would leave it
  // after Imax and Imin; a rod of a page not calculated yet is marked.
  Pages uniform;
  TypeAll(uniform.RodCheck(), {{"L", "6000"}, {"Imax", "1e8"}, {"Imin", "1e8"}, {"L", "7000"}});
  uniform.Choose("three-rod:1");
  EXPECT_EQ(uniform.Marked().size(), 3u);
  TypeAll(uniform.set.ThreeRod(), kThreeRodExample);
  EXPECT_EQ(uniform.Marked().size(), 0u);
  EXPECT_NE(Shown(uniform.RodCheck(), "L"), "7000");
  EXPECT_EQ(Shown(uniform.RodCheck(), "Ld"), Shown(uniform.RodCheck(), "L"));
  EXPECT_EQ(uniform.Source(), "three-rod:1");
}

}  // namespace
}  // namespace tiecalc
