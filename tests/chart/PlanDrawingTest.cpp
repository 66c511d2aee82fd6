// The plan of each force page's layout, read back from its SVG: every rod as
// long as the page computed, at the scale the plan states; every rod's label
// and length; everything inside the picture. A page that cannot be drawn
// gives only a note.

#include "chart/PlanDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <pugixml.hpp>

#include "chart/ChartDrawing.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

using Texts = std::vector<std::pair<std::string, std::string>>;

template <typename Page>
ForcePageRecord RecordOf(const Texts& texts) {
  Page page;
  page.Create();
  for (const auto& [name, text] : texts) EXPECT_TRUE(page.UserType(page.IdOf(name), text)) << name;
  return page.Record();
}

struct PlanCase {
  const char* name;
  ForcePageRecord record;
};

std::vector<PlanCase> Cases() {
  return {
      {"three-rod example", RecordOf<CThreeRod>({{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"},
                                                 {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"}, {"H", "5000"},
                                                 {"R", "100"}, {"M", "200"}, {"theta", "30"}})},
      {"three-rod unsymmetric", RecordOf<CThreeRod>({{"A", "600"}, {"B", "700"}, {"C", "300"}, {"D", "1000"},
                                                     {"X1", "4200"}, {"X2", "2500"}, {"X3", "3000"},
                                                     {"H", "6500"}, {"R", "80"}, {"M", "150"}})},
      {"three-rod near wall", RecordOf<CThreeRod>({{"A", "800"}, {"B", "800"}, {"C", "500"}, {"D", "800"},
                                                   {"X1", "1500"}, {"X2", "6000"}, {"X3", "200"}, {"H", "2100"},
                                                   {"R", "80"}})},
      {"four-rod I example",
       RecordOf<CFourRodParallelPage>({{"A", "800"}, {"B", "800"}, {"C", "800"}, {"D", "800"}, {"E", "800"},
                                       {"F", "800"}, {"X1", "3000"}, {"X2", "3000"}, {"X3", "1200"},
                                       {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"}, {"R", "100"}})},
      {"four-rod I stepped wall",
       RecordOf<CFourRodParallelPage>({{"A", "1000"}, {"B", "-200"}, {"C", "900"}, {"D", "700"}, {"E", "900"},
                                       {"F", "1100"}, {"X1", "4500"}, {"X2", "2600"}, {"X3", "2000"},
                                       {"X4", "600"}, {"Y1", "3500"}, {"Y2", "5200"}, {"R", "100"}})},
      {"four-rod II example",
       RecordOf<CFourRodTurnedPage>({{"A", "900"}, {"B", "900"}, {"C", "300"}, {"D", "1000"}, {"E", "300"},
                                     {"F", "100"}, {"G", "300"}, {"H", "1000"}, {"X1", "3500"}, {"X2", "3500"},
                                     {"X3", "1500"}, {"X4", "1500"}, {"Y1", "4500"}, {"Y2", "4500"}, {"R", "100"}})},
      {"four-rod II anchors crossing",
       RecordOf<CFourRodTurnedPage>({{"A", "1100"}, {"B", "700"}, {"C", "500"}, {"D", "800"}, {"E", "-200"},
                                     {"F", "-600"}, {"G", "400"}, {"H", "900"}, {"X1", "2500"}, {"X2", "5000"},
                                     {"X3", "3500"}, {"X4", "800"}, {"Y1", "6000"}, {"Y2", "6000"}, {"R", "100"}})},
  };
}

constexpr double kWidth = 1200, kHeight = 900, kPrinted = 150;  // 8 units a paper millimetre

// A text's width can be no more than a full em per character, six tenths of
// one for an ASCII character.
double WidthBound(const SceneText& t) {
  double w = 0;
  for (size_t i = 0; i < t.text.size(); ++i) {
    const auto c = static_cast<unsigned char>(t.text[i]);
    if (c < 0x80) w += 0.6 * t.size;
    else if (c >= 0xc0) w += t.size;
  }
  return w;
}

TEST(PlanDrawing, RodsHaveThePageLengthsAtTheStatedScaleWithLabelsInsideThePicture) {
  for (const PlanCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.record.valid);
    const ChartScene scene = LayOutPlanDrawing(c.record, kWidth, kHeight, kPrinted);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(ChartSvg(scene).c_str()));
    const pugi::xml_node svg = doc.child("svg");

    // The stated scale, and every text.
    double scale = 0;
    std::vector<std::string> texts;
    for (pugi::xml_node t : svg.children("text")) {
      texts.push_back(t.child_value());
      std::sscanf(t.child_value(), "比例 1:%lf", &scale);
    }
    ASSERT_GT(scale, 0);
    const double unitsPerMm = kWidth / kPrinted / scale;

    std::vector<double> anchors;  // each rod's wall end across the picture
    for (size_t i = 0; i < c.record.rods.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      const pugi::xml_node rod = svg.find_child_by_attribute("path", "id", ("rod" + n).c_str());
      ASSERT_TRUE(rod) << n;
      double x1, y1, x2, y2;
      ASSERT_EQ(std::sscanf(rod.attribute("d").value(), "M%lf,%lf L%lf,%lf", &x1, &y1, &x2, &y2), 4);
      EXPECT_NEAR(std::hypot(x2 - x1, y2 - y1) / unitsPerMm, c.record.rods[i].length, 0.5) << "杆" << n;
      anchors.push_back(x2 / unitsPerMm);
      const std::string length = "L" + n + "=" + std::to_string(std::lround(c.record.rods[i].length));
      EXPECT_EQ(std::count(texts.begin(), texts.end(), "杆" + n), 1) << n;
      EXPECT_EQ(std::count(texts.begin(), texts.end(), length), 1) << length;
    }
    // The anchors where the dimensions put them: rod 2's X3 from rod 1's,
    // the last rod's X1 + X2 from rod 1's (rod 1 on the left), within the
    // hundredth of a degree the angles are rounded to.
    std::map<std::string, double> in;
    for (const LabelledValue& p : c.record.parameters) in[p.label] = p.value;
    EXPECT_NEAR(anchors[1] - anchors[0], in["X3"], 2);
    EXPECT_NEAR(anchors.back() - anchors[0], in["X1"] + in["X2"], 2);
    for (const char* label : {"塔身", "墙面"})
      EXPECT_EQ(std::count(texts.begin(), texts.end(), label), 1) << label;

    const auto inside = [&](double x, double y) { return x >= 0 && x <= kWidth && y >= 0 && y <= kHeight; };
    for (const SceneItem& item : scene.items) {
      if (const auto* l = std::get_if<SceneLine>(&item)) {
        EXPECT_TRUE(inside(l->from.x, l->from.y) && inside(l->to.x, l->to.y));
      } else if (const auto* p = std::get_if<ScenePath>(&item)) {
        for (const auto& run : p->runs)
          for (const ChartPoint& q : run) EXPECT_TRUE(inside(q.x, q.y)) << p->id;
      } else if (const auto* t = std::get_if<SceneText>(&item)) {
        const double w = WidthBound(*t), shift = AnchorShift(t->anchor, w);
        const double along = t->vertical ? t->at.y : t->at.x;
        EXPECT_TRUE(t->vertical ? inside(t->at.x - t->size, along + shift - w) && inside(t->at.x, along + shift)
                                : inside(along - shift, t->at.y - t->size) && inside(along - shift + w, t->at.y))
            << t->text;
      }
    }
  }
}

// A record the plan cannot draw - inputs invalid, a dimension missing or
// not finite, a picture too small for any scale - gives its note alone.
TEST(PlanDrawing, WhatCannotBeDrawnGivesOnlyANote) {
  ForcePageRecord missing = Cases()[0].record;
  missing.parameters.erase(missing.parameters.begin() + 7);  // H
  ForcePageRecord infinite = Cases()[3].record;
  infinite.parameters[0].value = INFINITY;
  const struct {
    const char* name;
    ForcePageRecord record;
    double height;
    const char* note;
  } cases[] = {
      {"H <= B", RecordOf<CThreeRod>({{"A", "900"}, {"B", "900"}, {"X1", "3000"}, {"X2", "3000"}, {"H", "100"}}),
       kHeight, kPlanNoLayoutNote},
      {"nothing", ForcePageRecord{}, kHeight, kPlanNoLayoutNote},
      {"no H", missing, kHeight, kPlanNoLayoutNote},
      {"A infinite", infinite, kHeight, kPlanNoLayoutNote},
      {"too low for the dimensions", Cases()[3].record, 50, kPlanTooSmallNote},
  };
  for (const auto& c : cases) {
    const ChartScene scene = LayOutPlanDrawing(c.record, kWidth, c.height, kPrinted);
    ASSERT_EQ(scene.items.size(), 1u) << c.name;
    const auto* t = std::get_if<SceneText>(&scene.items[0]);
    ASSERT_TRUE(t) << c.name;
    EXPECT_EQ(t->text, c.note) << c.name;
  }
}

// Printed 150 mm wide at 254 dpi: 1500 pixels.
TEST(PlanDrawing, PngHasThePrintedWidthAtItsDpi) {
  const ChartScene scene = LayOutPlanDrawing(Cases()[0].record, kWidth, kHeight, kPrinted);
  const std::string png = ChartPngPrinted(scene, kPrinted, 254);
  ASSERT_GT(png.size(), 24u);
  const auto byte = [&](size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(png[at])); };
  EXPECT_EQ(byte(18) << 8 | byte(19), 1500u);  // the header's width, big-endian
  EXPECT_EQ(byte(22) << 8 | byte(23), 1125u);
}

}  // namespace
}  // namespace tiecalc
