#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tiecalc
