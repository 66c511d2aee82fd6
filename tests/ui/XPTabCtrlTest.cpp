#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QTest>

#include "QtTestApp.h"
#include "platform/theme/FakeThemeControl.h"
#include "ui/DialogUnits.h"
#include "ui/XPTabCtrl.h"

namespace tiecalc {
namespace {

constexpr unsigned V(unsigned major, unsigned minor) { return major * 65536u + minor; }

class XPTabCtrlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }
  void SetUp() override { ASSERT_TRUE(fake.Loaded()); }

  std::unique_ptr<CXPTabCtrl> Make(unsigned version = V(6, 1), std::string library = FakeThemeControl::Path()) {
    auto tab = std::make_unique<CXPTabCtrl>(nullptr, CThemeServices(std::move(library), [version] { return version; }));
    tab->setFont(WindowFont(10));
    tab->resize(500, 200);
    for (int i = 0; i < 4; ++i) tab->InsertItem(i, QStringLiteral(" 四 杆 附 着 (%1) ").arg(i));
    tab->SetCurSel(1);
    QCursor::setPos(5000, 5000);
    return tab;
  }
  // Paints the control once and keeps what it drew.
  QImage Paint(CXPTabCtrl& tab) {
    fake.Reset(active, 0);
    return tab.grab().toImage();
  }
  static QColor C(std::uint32_t argb) { return QColor::fromRgba(argb); }

  FakeThemeControl fake;
  int active = 1;
};

TEST_F(XPTabCtrlTest, ThemedPaneThenItemsThenTheSelectedOneEnlarged) {
  auto tab = Make();
  const QImage image = Paint(*tab);
  ASSERT_EQ(5, fake.Count());
  const QRect display = tab->DisplayRect();
  const FakeThemeCall pane = fake.Call(0);
  EXPECT_EQ(std::u16string(u"TAB"), std::u16string(pane.className));
  EXPECT_EQ(CXPTabCtrl::kPartPane, pane.part);
  EXPECT_EQ(0, pane.state);
  EXPECT_EQ(500, pane.surfaceWidth);
  EXPECT_EQ(200 - (display.top() - 2), pane.surfaceHeight);
  // Unselected items in index order, the selected one last.
  const int order[] = {0, 2, 3};
  for (int k = 0; k < 3; ++k) {
    const FakeThemeCall item = fake.Call(1 + k);
    EXPECT_EQ(CXPTabCtrl::kPartItem, item.part);
    EXPECT_EQ(CXPTabCtrl::kStateNormal, item.state);
    EXPECT_EQ(tab->GetItemRect(order[k]).size(), QSize(item.surfaceWidth, item.surfaceHeight));
  }
  const FakeThemeCall selected = fake.Call(4);
  const QRect item1 = tab->GetItemRect(1);
  EXPECT_EQ(CXPTabCtrl::kStateSelected, selected.state);
  // 2 larger on every side, then 1 shorter at the bottom; drawn 1 taller.
  EXPECT_EQ(item1.width() + 4, selected.surfaceWidth);
  EXPECT_EQ(item1.height() + 3, selected.surfaceHeight);
  EXPECT_EQ(selected.surfaceHeight + 1, selected.rect.bottom);

  // What reached the screen: the selected item over its neighbours.
  EXPECT_EQ(C(kFakeSelected), image.pixelColor(item1.left() - 1, item1.center().y()));
  EXPECT_EQ(C(kFakeSelected), image.pixelColor(item1.right() + 2, item1.top()));
  EXPECT_EQ(C(kFakeNormal), image.pixelColor(item1.left() - 3, item1.center().y()));
  EXPECT_EQ(C(kFakeNormal), image.pixelColor(tab->GetItemRect(3).center().x(), tab->GetItemRect(3).top() + 1));
  EXPECT_EQ(C(kFakePane), image.pixelColor(250, 150));
  // The captions are written by the control itself.
  int textPixels = 0;
  for (int x = item1.left(); x <= item1.right(); ++x)
    for (int y = item1.top(); y <= item1.bottom(); ++y)
      if (image.pixelColor(x, y) != C(kFakeSelected)) ++textPixels;
  EXPECT_GT(textPixels, 20);
}

TEST_F(XPTabCtrlTest, TheItemUnderTheMouseIsHot) {
  auto tab = Make();
  tab->show();
  const QPoint over = tab->mapToGlobal(tab->GetItemRect(2).center());
  QCursor::setPos(over);
  if (QCursor::pos() != over) GTEST_SKIP() << "the platform does not move the pointer";
  Paint(*tab);
  ASSERT_EQ(5, fake.Count());
  EXPECT_EQ(CXPTabCtrl::kStateNormal, fake.Call(1).state);
  EXPECT_EQ(CXPTabCtrl::kStateHot, fake.Call(2).state);
  EXPECT_EQ(CXPTabCtrl::kStateSelected, fake.Call(4).state);
}

TEST_F(XPTabCtrlTest, WithoutThemeOldSystemOrLibraryTheStripPaintsAsStandard) {
  struct Case {
    const char* what;
    unsigned version;
    std::string library;
    int active;
  };
  const Case cases[] = {{"no active theme", V(6, 1), FakeThemeControl::Path(), 0},
                        {"version 5.0", V(5, 0), FakeThemeControl::Path(), 1},
                        {"no theme library", V(6, 1), "/nonexistent/UxTheme.dll", 1}};
  for (const Case& c : cases) {
    auto tab = Make(c.version, c.library);
    active = c.active;
    const QImage image = Paint(*tab);
    EXPECT_EQ(0, fake.Count()) << c.what;
    EXPECT_NE(C(kFakePane), image.pixelColor(250, 150)) << c.what;
    EXPECT_NE(C(kFakeSelected), image.pixelColor(tab->GetItemRect(1).center())) << c.what;
  }
}

TEST_F(XPTabCtrlTest, TheStandardStripShowsWhenItHasTheKeyboard) {
  auto tab = Make(V(5, 0));
  tab->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(tab.get()));
  // Focus cues show once the keyboard has been used in the window.
  tab->setFocus(Qt::TabFocusReason);
  tab->setAttribute(Qt::WA_KeyboardFocusChange);
  ASSERT_TRUE(tab->hasFocus());
  const QImage focused = Paint(*tab);
  tab->clearFocus();
  const QImage unfocused = Paint(*tab);
  const QRect selected = tab->GetItemRect(1);
  EXPECT_NE(focused.copy(selected), unfocused.copy(selected));
  // Only the selected item shows it.
  EXPECT_EQ(focused.copy(tab->GetItemRect(3)), unfocused.copy(tab->GetItemRect(3)));
}

TEST_F(XPTabCtrlTest, OrientationAndPaneEdgeFollowTheStyle) {
  auto tab = Make();
  Paint(*tab);
  EXPECT_EQ(0, tab->Orientation());
  tab->SetStyle(CXPTabCtrl::kStyleBottom);
  Paint(*tab);
  EXPECT_EQ(1, tab->Orientation());
  ASSERT_GE(fake.Count(), 1);
  // Pane from the top to 3 below the display area.
  EXPECT_EQ(tab->DisplayRect().bottom() + 3 + 1, fake.Call(0).surfaceHeight);
  EXPECT_EQ(500, fake.Call(0).surfaceWidth);
  tab->SetStyle(CXPTabCtrl::kStyleVertical);
  Paint(*tab);
  EXPECT_EQ(2, tab->Orientation());
  EXPECT_EQ(500 - (tab->DisplayRect().left() - 1), fake.Call(0).surfaceWidth);
  // Items of a left strip are 1 wider.
  EXPECT_EQ(tab->GetItemRect(0).width() + 1, fake.Call(1).surfaceWidth);
  tab->SetStyle(CXPTabCtrl::kStyleVertical | CXPTabCtrl::kStyleBottom);
  Paint(*tab);
  EXPECT_EQ(3, tab->Orientation());
  EXPECT_EQ(tab->DisplayRect().right() + 3 + 1, fake.Call(0).surfaceWidth);
}

TEST_F(XPTabCtrlTest, ItemTextPlacementAndEllipsis) {
  auto tab = Make();
  const QRect item(0, 0, 120, 25);
  // Unselected, top strip: 6 in (then 2 back), 2 + 3 down (then 1 up), 3 off the right.
  auto t = tab->LayoutItemText(0, item, 0);
  EXPECT_EQ(QRect(QPoint(4, 4), QPoint(114, 25)), t.rect);
  t = tab->LayoutItemText(0, item, CXPTabCtrl::kSelected);
  EXPECT_EQ(QRect(QPoint(4, 4), QPoint(114, 24)), t.rect);
  t = tab->LayoutItemText(0, item, CXPTabCtrl::kBottomRight);
  EXPECT_EQ(QRect(QPoint(0, 2), QPoint(113, 25)), t.rect);
  EXPECT_EQ(tab->GetItemText(0), t.text);

  tab->SetItemWidth(40);
  t = tab->LayoutItemText(2, tab->GetItemRect(2), 0);
  EXPECT_TRUE(t.text.endsWith(QChar(0x2026))) << t.text.toStdString();
  EXPECT_LE(tab->fontMetrics().horizontalAdvance(t.text), t.rect.width());
  // An ampersand is no mnemonic.
  tab->InsertItem(4, QStringLiteral("A&B"));
  EXPECT_EQ(QStringLiteral("A&B"), tab->LayoutItemText(4, QRect(0, 0, 200, 25), 0).text);
}

}  // namespace
}  // namespace tiecalc
