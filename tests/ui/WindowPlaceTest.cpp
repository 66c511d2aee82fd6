#include <gtest/gtest.h>

#include "ui/WindowPlace.h"

namespace tiecalc {
namespace {

// Windows' frame (borders of 8, title bar of 31 device-independent pixels at
// every scale) and taskbar (40 at the bottom); the main window and the chart
// window at their own sizes, which do not change with the scale.
constexpr QMargins kFrame(8, 31, 8, 8);
constexpr int kTaskbar = 40;
constexpr QSize kMain(711, 538), kMainMinimum(300, 200), kChart(660, 460), kChartMinimum(372, 290);

QRect Outer(const QRect& client) { return client.marginsAdded(kFrame); }
QRect ChartBeside(const QRect& main, const QRect& available) {
  return Beside(Outer(main), kChart, kChartMinimum, kFrame, available);
}

// The laptop and desktop screens engineers have, at the scales Windows uses.
TEST(WindowPlace, EveryWindowWithItsTitleBarInsideTheScreenAtEveryScale) {
  for (const QSize screen : {QSize(1280, 720), QSize(1366, 768), QSize(1920, 1080)})
    for (const double scale : {1.0, 1.25, 1.5, 2.0}) {
      const QRect available(0, 0, qRound(screen.width() / scale), qRound(screen.height() / scale) - kTaskbar);
      const QSize room = available.size().shrunkBy(kFrame);
      SCOPED_TRACE(testing::Message() << screen.width() << "x" << screen.height() << " at " << scale);
      const QRect main = FitFrame(CentredOn(kMain, kFrame, available.center()), kFrame, available, kMainMinimum);
      EXPECT_TRUE(available.contains(Outer(main)));
      EXPECT_EQ(kMain.boundedTo(room), main.size());
      EXPECT_LE((Outer(main).center() - available.center()).manhattanLength(), 2);
      const QRect chart = FitFrame(ChartBeside(main, available), kFrame, available);
      EXPECT_TRUE(available.contains(Outer(chart)));
      EXPECT_EQ(std::min(kChart.height(), room.height()), chart.height());
      EXPECT_GE(chart.width(), std::min(kChartMinimum.width(), room.width()));
      // Over the main window only where neither side has room for it.
      const int sideRoom = std::max(available.right() - Outer(main).right(), Outer(main).left() - available.left());
      if (sideRoom >= kChartMinimum.width() + 16 + 8) EXPECT_FALSE(Outer(chart).intersects(Outer(main)));
    }
}

TEST(WindowPlace, WorkedPlacements) {
  // 200 % on 1920x1080: the main window fills the height below the title
  // bar, which stays on the screen.
  const QRect at200(0, 0, 960, 500);
  EXPECT_EQ(QRect(124, 31, 711, 461), FitFrame(CentredOn(kMain, kFrame, at200.center()), kFrame, at200));
  // 1366x768: the chart, with less room on either side than its smallest
  // width, lies over the main window's right part, whole (not from x = 1040
  // to 1700).
  const QRect laptop(0, 0, 1366, 728), main(319, 60, 711, 538);
  EXPECT_EQ(QRect(698, 60, 660, 460), FitFrame(ChartBeside(main, laptop), kFrame, laptop));
  // 1920x1080: beside on the right, narrowed to the room there; on the left
  // of a window at the right; at its own size where it fits.
  const QRect desktop(0, 0, 1920, 1040), centred(604, 220, 711, 538);
  EXPECT_EQ(QRect(1339, 220, 573, 460), ChartBeside(centred, desktop));
  EXPECT_EQ(QRect(516, 220, 660, 460), ChartBeside(centred.translated(596, 0), desktop));
  EXPECT_EQ(QRect(1339, 220, 660, 460), ChartBeside(centred, QRect(0, 0, 2560, 1400)));
  // Too large to shrink into the area: the title bar and the left border stay in.
  EXPECT_EQ(QRect(8, 31, 700, 400), FitFrame(QRect(100, -100, 700, 400), kFrame, QRect(0, 0, 640, 320), {700, 400}));
}

}  // namespace
}  // namespace tiecalc
