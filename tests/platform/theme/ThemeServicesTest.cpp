#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "platform/theme/FakeThemeControl.h"
#include "platform/theme/ThemeServices.h"

namespace tiecalc {
namespace {

constexpr unsigned V(unsigned major, unsigned minor) { return major * 65536u + minor; }

class ThemeServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fake.Loaded()); }
  CThemeServices Services(unsigned version = V(6, 1)) {
    return CThemeServices(FakeThemeControl::Path(), [version] { return version; });
  }
  FakeThemeControl fake;
  ThemeSurface surface{};
};

TEST_F(ThemeServicesTest, VersionLibraryAndActiveThemeAreAllNeeded) {
  EXPECT_TRUE(Services(V(5, 1)).IsThemeActiveXP());
  EXPECT_TRUE(Services(V(10, 0)).IsThemeActiveXP());
  EXPECT_FALSE(Services(V(5, 0)).IsThemeActiveXP());
  EXPECT_FALSE(Services(V(4, 90)).IsThemeActiveXP());
  fake.Reset(0, 0);
  EXPECT_FALSE(Services().IsThemeActiveXP());
  CThemeServices missing("/nonexistent/UxTheme.dll", [] { return V(6, 1); });
  EXPECT_FALSE(missing.IsThemeActiveXP());
  EXPECT_EQ(kThemeFail, missing.DrawThemePart(surface, 9, 0, "TAB", {0, 0, 4, 4}));
#ifndef _WIN32
  // The library is looked up by its own name by default (none here).
  EXPECT_FALSE(CThemeServices().IsThemeActiveXP());
#endif
}

TEST_F(ThemeServicesTest, VersionIsAskedOnce) {
  int asked = 0;
  CThemeServices s(FakeThemeControl::Path(), [&] {
    ++asked;
    return V(6, 0);
  });
  s.IsThemeActiveXP();
  s.DrawThemePart(surface, 9, 0, "TAB", {0, 0, 4, 4});
  s.IsThemeActiveXP();
  EXPECT_EQ(1, asked);
}

TEST_F(ThemeServicesTest, DrawOpensTheClassAndReturnsTheDrawResult) {
  fake.Reset(1, 0x1234);
  std::uint32_t pixels[16] = {};
  surface = {pixels, 4, 4, 16};
  EXPECT_EQ(0x1234, Services().DrawThemePart(surface, 1, 3, "TAB", {1, 1, 3, 5}));
  ASSERT_EQ(1, fake.Count());
  const FakeThemeCall c = fake.Call(0);
  EXPECT_EQ(std::u16string(u"TAB"), std::u16string(c.className));
  EXPECT_EQ(1, c.part);
  EXPECT_EQ(3, c.state);
  EXPECT_EQ(1, c.rect.left);
  EXPECT_EQ(5, c.rect.bottom);
  EXPECT_EQ(0, c.hadClip);
  EXPECT_EQ(kFakeSelected, pixels[1 * 4 + 1]);
  EXPECT_EQ(0u, pixels[0] & 0x00FFFFFFu);  // outside the rect: as it was (opaque on Windows)
}

TEST_F(ThemeServicesTest, DrawFailsWithoutVersionThemeOrClassName) {
  EXPECT_EQ(kThemeFail, Services(V(5, 0)).DrawThemePart(surface, 9, 0, "TAB", {0, 0, 4, 4}));
  EXPECT_EQ(kThemeFail, Services().DrawThemePart(surface, 9, 0, "", {0, 0, 4, 4}));
  fake.Reset(0, 0);
  EXPECT_EQ(kThemeFail, Services().DrawThemePart(surface, 9, 0, "TAB", {0, 0, 4, 4}));
  EXPECT_EQ(0, fake.Opens());
}


#ifdef _WIN32
// The system's own theme services, on a desktop known to have a theme active
// (scripts/test-windows gives wine's prefix its light theme and says so in
// TIECALC_THEME_ACTIVE): a tab item is drawn by the theme, not left as the
// surface was.
TEST(SystemThemeTest, TheActiveThemeDrawsATabItem) {
  if (!std::getenv("TIECALC_THEME_ACTIVE")) GTEST_SKIP() << "no theme known to be active on this desktop";
  CThemeServices system;
  ASSERT_TRUE(system.IsThemeActiveXP());
  constexpr int w = 60, h = 20;
  std::vector<std::uint32_t> pixels(w * h, 0xFF102030u);
  ThemeSurface surface{pixels.data(), w, h, w * 4};
  ASSERT_EQ(0, system.DrawThemePart(surface, 1 /* tab item */, 1 /* normal */, "TAB", {0, 0, w, h}));
  const std::set<std::uint32_t> colours(pixels.begin(), pixels.end());
  EXPECT_FALSE(colours.count(0xFF102030u) && colours.size() == 1);
  EXPECT_GE(colours.size(), 2u);
  for (std::uint32_t p : pixels) ASSERT_EQ(0xFF000000u, p & 0xFF000000u);  // opaque
}
#endif

}  // namespace
}  // namespace tiecalc
