// Windows' drawing (QPainter) against Linux' (cairo and pango): the worked
// examples' charts are laid out alike with the texts measured by either, and
// drawn by both show the same picture - bitmaps of the same size, each ink
// (every rod's colour, the texts' black) in the same pixel columns and rows
// within two pixels, every text inked in its box - and each PNG, read back
// by libpng, is its drawing's bitmap.

#include "chart/ChartData.h"
#include "chart/ChartDrawing.h"

#include <gtest/gtest.h>
#include <png.h>

#include <set>

#include "pages/FourRodPage.h"
#include "pages/PageTestSupport.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

uint32_t Pixel(const ChartBitmap& b, int x, int y) {
  return reinterpret_cast<const uint32_t*>(b.pixels.data() + static_cast<size_t>(y) * b.stride)[x];
}

// Whether pixel p (on white, so its premultiplied word is its colour) is ink
// of colour c covering most of it, antialiased rims included.
bool Inked(uint32_t p, ChartColour c) {
  const int got[3] = {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)}, ink[3] = {c.r, c.g, c.b};
  const int k = int(std::min_element(ink, ink + 3) - ink);  // the channel furthest from white
  const double cover = (255.0 - got[k]) / (255.0 - ink[k]);
  if (cover < 0.6 || cover > 1.1) return false;
  for (int i = 0; i < 3; ++i)
    if (std::abs(255 - cover * (255 - ink[i]) - got[i]) > 24) return false;
  return true;
}

// The columns and rows with ink of c within [x0, x1) x [y0, y1).
std::pair<std::set<int>, std::set<int>> Footprint(const ChartBitmap& b, ChartColour c, int x0 = 0, int y0 = 0,
                                                  int x1 = 1 << 30, int y1 = 1 << 30) {
  std::set<int> columns, rows;
  for (int y = std::max(y0, 0); y < std::min(y1, b.height); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, b.width); ++x)
      if (Inked(Pixel(b, x, y), c)) columns.insert(x), rows.insert(y);
  return {columns, rows};
}

// The first member of either set with none of the other within two pixels;
// -1 when none.
int Stray(const std::set<int>& a, const std::set<int>& b) {
  for (const auto& [from, to] : {std::pair{&a, &b}, std::pair{&b, &a}})
    for (int v : *from)
      if (auto near = to->lower_bound(v - 2); near == to->end() || *near > v + 2) return v;
  return -1;
}

// A PNG read back by libpng as 0xffRRGGBB words; empty when it does not read.
std::vector<uint32_t> Decoded(const std::string& png, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = PNG_FORMAT_BGRA;  // little-endian words 0xAARRGGBB
  std::vector<uint32_t> pixels(PNG_IMAGE_SIZE(image) / 4);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width), height = static_cast<int>(image.height);
  return pixels;
}

// Whether text t has ink of its colour in bitmap b within its box at scale: its width as QPainter measures it, a pixel either side, from its
// size above the baseline to a third of it below.
bool InkedInItsBox(const ChartBitmap& b, double scale, const SceneText& t) {
  const double w = QtChartDrawing().textWidth(t.text, t.size), left = -AnchorShift(t.anchor, w) - 1;
  const double along[2] = {left, left + w + 2}, across[2] = {-t.size, t.size / 3};
  const double x0 = t.at.x + (t.vertical ? across[0] : along[0]), x1 = t.at.x + (t.vertical ? across[1] : along[1]);
  const double y0 = t.at.y + (t.vertical ? -along[1] : across[0]), y1 = t.at.y + (t.vertical ? -along[0] : across[1]);
  return !Footprint(b, t.colour, int(x0 * scale), int(y0 * scale), int(x1 * scale) + 1, int(y1 * scale) + 1).first.empty();
}

TEST(ChartDrawings, QPainterDrawsWhatCairoDraws) {
  Started<CThreeRod> three;
  TypeAll(three.page, kThreeRodExample);
  Started<CFourRodParallelPage> one;
  TypeAll(one.page, kFourRodIExample);
  Started<CFourRodTurnedPage> two;
  TypeAll(two.page, kFourRodIIExample);
  const std::pair<ForceChartData, ChartState> cases[] = {{ChartDataOf(three.page.Record()), {}},
                                                         {ChartDataOf(one.page.Record()), {}},
                                                         {ChartDataOf(two.page.Record()), {}},
                                                         {ChartDataOf(three.page.Record()), {true, "数据错误或不全"}}};
  const ChartDrawing& qt = QtChartDrawing();
  for (const auto& [data, state] : cases) {
    SCOPED_TRACE(std::to_string(data.sweep.rods) + " rods " + state.status);
    // Laid out with the texts measured by pango and by Qt: the plot moves by
    // less than a pixel and a half.
    const ChartScene scene = LayOutForceChart(data, 800, 500, state);
    const ChartScene qtScene = LayOutForceChart(data, 800, 500, state, qt.textWidth);
    EXPECT_NEAR(qtScene.x0, scene.x0, 1.5);
    EXPECT_EQ(qtScene.items.size(), scene.items.size());
    // Then one scene drawn by both. Greys are told from black's antialiased
    // rims by no pixel: they count as black where dark enough.
    std::vector<ChartColour> inks = {{0, 0, 0}};
    for (const SceneItem& item : scene.items)
      if (const auto* p = std::get_if<ScenePath>(&item); p && p->stroke.colour.r != p->stroke.colour.g) inks.push_back(p->stroke.colour);
    for (double scale : {1.0, 2.0}) {
      SCOPED_TRACE(scale);
      const ChartBitmap cairo = DrawChart(scene, scale);
      const ChartBitmap painted = [&] {
        ChartBitmap b;
        qt.draw(scene, scale, b);
        return b;
      }();
      ASSERT_EQ(painted.width, cairo.width);
      ASSERT_EQ(painted.height, cairo.height);
      for (const ChartColour& ink : inks) {
        const auto [cairoColumns, cairoRows] = Footprint(cairo, ink);
        const auto [qtColumns, qtRows] = Footprint(painted, ink);
        const std::string which = std::to_string(ink.r) + "," + std::to_string(ink.g) + "," + std::to_string(ink.b);
        EXPECT_EQ(Stray(cairoColumns, qtColumns), -1) << which << " in a column of one drawing only";
        EXPECT_EQ(Stray(cairoRows, qtRows), -1) << which << " in a row of one drawing only";
      }
      for (const SceneItem& item : scene.items) {
        if (const auto* t = std::get_if<SceneText>(&item)) {
          EXPECT_TRUE(InkedInItsBox(cairo, scale, *t)) << t->text << " by cairo";
          EXPECT_TRUE(InkedInItsBox(painted, scale, *t)) << t->text << " by QPainter";
        }
      }
      // Each PNG is its drawing's bitmap, pixel for pixel.
      for (const auto& [png, bitmap] : {std::pair{ChartPng(scene, scale), &cairo}, std::pair{qt.png(scene, scale), &painted}}) {
        int width = 0, height = 0;
        const std::vector<uint32_t> pixels = Decoded(png, width, height);
        ASSERT_EQ(width, bitmap->width);
        ASSERT_EQ(height, bitmap->height);
        int differing = 0;
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x) differing += pixels[static_cast<size_t>(y * width + x)] != Pixel(*bitmap, x, y);
        EXPECT_EQ(differing, 0);
      }
    }
  }
}

}  // namespace
}  // namespace tiecalc
