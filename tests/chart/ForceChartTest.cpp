// The force chart against the sweep table the export writes, and against the
// extremes the page shows; the SVG read back by an XML reader.

#include "chart/ChartData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <pugixml.hpp>
#include <sstream>

#include "export/SweepExport.h"
#include "pages/FourRodPage.h"
#include "pages/ThreeRod.h"

namespace tiecalc {
namespace {

// The worked examples of the three force pages.
template <typename Page>
struct Example {
  Page page;
  explicit Example(const std::vector<std::pair<std::string, std::string>>& texts) {
    page.Create();
    for (const auto& [name, text] : texts) EXPECT_TRUE(page.UserType(page.IdOf(name), text)) << name;
  }
};

const std::vector<std::pair<std::string, std::string>> kThreeRod = {
    {"A", "900"},  {"B", "900"},  {"C", "900"},  {"D", "900"}, {"X1", "3000"}, {"X2", "3000"},
    {"X3", "1500"}, {"H", "5000"}, {"R", "100"}, {"M", "200"}, {"theta", "30"}};
const std::vector<std::pair<std::string, std::string>> kFourRodI = {
    {"A", "800"},   {"B", "800"},   {"C", "800"},   {"D", "800"},   {"E", "800"}, {"F", "800"},
    {"X1", "3000"}, {"X2", "3000"}, {"X3", "1200"}, {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"},
    {"R", "100"},   {"M", "300"},   {"theta", "-30"}};
const std::vector<std::pair<std::string, std::string>> kFourRodII = {
    {"A", "900"},   {"B", "900"},   {"C", "300"},   {"D", "1000"},  {"E", "300"},  {"F", "100"},
    {"G", "300"},   {"H", "1000"},  {"X1", "3500"}, {"X2", "3500"}, {"X3", "1500"}, {"X4", "1500"},
    {"Y1", "4500"}, {"Y2", "4500"}, {"R", "100"},   {"M", "300"},   {"theta", "30"}};

// Each rod's curve read back from the SVG as forces, through the scene's
// axis scale: rod label -> 361 forces.
std::map<std::string, std::vector<double>> CurvesOfSvg(const std::string& svg, const ChartScene& scene) {
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(svg.c_str()));
  std::map<std::string, std::vector<double>> curves;
  for (pugi::xml_node path : doc.child("svg").children("path")) {
    std::vector<double>& forces = curves[path.child_value("title")];
    std::istringstream d(path.attribute("d").value());
    std::string step;
    int theta = 0;
    while (d >> step) {
      double x = 0, y = 0;
      EXPECT_EQ(std::sscanf(step.c_str() + 1, "%lf,%lf", &x, &y), 2) << step;
      EXPECT_NEAR(x, scene.x0 + theta++ * scene.sx, 0.006);
      forces.push_back((scene.y0 - y) / scene.sy);
    }
  }
  return curves;
}

template <typename Page>
void ExpectChartOfSweepTable(const Page& page, const SheetTable& table, int rods) {
  const ForceChartData data = ChartDataOf(page.Record());
  const ChartScene scene = LayOutForceChart(data, 800, 500);
  const auto curves = CurvesOfSvg(ChartSvg(scene), scene);
  ASSERT_EQ(curves.size(), static_cast<size_t>(rods));
  // Half a hundredth in the table, half a hundredth of a pixel in the SVG.
  const double tolerance = 0.005 + 0.006 / scene.sy;
  for (int rod = 0; rod < rods; ++rod) {
    const std::vector<double>& curve = curves.at(RodLabel(rod));
    ASSERT_EQ(curve.size(), 361u);
    for (int theta = 0; theta < 360; ++theta)
      ASSERT_NEAR(curve[static_cast<size_t>(theta)], std::stod(table[static_cast<size_t>(theta) + 1][static_cast<size_t>(rod) + 1]), tolerance)
          << RodLabel(rod) << " at " << theta;
    EXPECT_NEAR(curve[360], curve[0], tolerance) << "the circle closes";
  }
}

TEST(ForceChart, CurvesAreTheSweepTableAtEveryWholeDegree) {
  Example<CThreeRod> three(kThreeRod);
  ExpectChartOfSweepTable(three.page, SweepTable(three.page.Record()), 3);
  Example<CFourRodParallelPage> one(kFourRodI);
  ExpectChartOfSweepTable(one.page, SweepTable(one.page.Record()), 4);
  Example<CFourRodTurnedPage> two(kFourRodII);
  ExpectChartOfSweepTable(two.page, SweepTable(two.page.Record()), 4);
}

// Each extreme of the page is a mark at (θ mod 360, F) with its value as a
// label beside it.
TEST(ForceChart, ExtremesAreMarkedAtThePageValues) {
  Example<CThreeRod> three(kThreeRod);
  Example<CFourRodTurnedPage> two(kFourRodII);
  struct Case {
    const CPage* page;
    int rod;
    std::vector<std::pair<double, double>> marks;  // θ drawn, F
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {&three.page, 0, {{108.45, 358.77}, {288.45, -358.77}}, {"358.77", "-358.77"}},
      {&three.page, 2, {{336.80, -192.48}, {156.80, 192.48}}, {"-192.48", "192.48"}},  // 516.80 = 156.80
      {&two.page, 3, {{317.33, 0}, {137.33, 0}}, {}},  // -42.67 = 317.33; forces from the page below
  };
  for (const Case& c : cases) {
    const std::optional<ForceChartData> data = ValidChartDataOf(*c.page);
    ASSERT_TRUE(data);
    const ChartScene scene = LayOutForceChart(*data, 800, 500);
    const std::vector<ChartExtreme>& extremes = data->extremes.at(static_cast<size_t>(c.rod));
    ASSERT_EQ(extremes.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
      const double force = c.labels.empty() ? extremes[k].force : c.marks[k].second;
      if (!c.labels.empty()) {
        EXPECT_EQ(extremes[k].label, c.labels[k]);
      }
      const ChartPoint expected{scene.x0 + c.marks[k].first * scene.sx, scene.y0 - force * scene.sy};
      bool marked = false, labelled = false;
      for (const SceneItem& item : scene.items) {
        if (auto* m = std::get_if<SceneMark>(&item))
          marked = marked || (std::fabs(m->at.x - expected.x) < 1e-6 && std::fabs(m->at.y - expected.y) < 1e-6);
        if (auto* t = std::get_if<SceneText>(&item))
          labelled = labelled || (t->text == extremes[k].label && std::fabs(t->at.x - expected.x) < 60);
      }
      EXPECT_TRUE(marked) << RodLabel(c.rod) << " " << k;
      EXPECT_TRUE(labelled) << RodLabel(c.rod) << " " << extremes[k].label;
    }
  }
  // The four-rod page's texts, as the page shows them.
  EXPECT_EQ(two.page.GetText(CFourRodPage::kTheta4), "-42.67/137.33");
}

TEST(ForceChart, InvalidInputsGiveNoChartAndGreyedCurvesShowTheStatus) {
  Example<CThreeRod> three(kThreeRod);
  const ForceChartData last = *ValidChartDataOf(three.page);
  ASSERT_TRUE(three.page.UserType(CThreeRod::kH, "100"));  // H <= B
  EXPECT_FALSE(ValidChartDataOf(three.page));

  const ChartScene greyed = LayOutForceChart(last, 640, 400, {true, three.page.Status()});
  int curves = 0, statusTexts = 0;
  for (const SceneItem& item : greyed.items) {
    if (auto* p = std::get_if<ScenePath>(&item)) {
      ++curves;
      EXPECT_EQ(p->stroke.colour, (ChartColour{0xb4, 0xb4, 0xb4}));
    }
    if (auto* t = std::get_if<SceneText>(&item)) statusTexts += t->text == "数据错误或不全";
  }
  EXPECT_EQ(curves, 3);
  EXPECT_EQ(statusTexts, 1);
}

TEST(ForceChart, BitmapsAreDrawnAtTheirScale) {
  Example<CThreeRod> three(kThreeRod);
  const ChartScene scene = LayOutForceChart(ChartDataOf(three.page.Record()), 640, 400);
  const ChartBitmap bitmap = DrawChart(scene, 2.0);
  EXPECT_EQ(bitmap.width, 1280);
  EXPECT_EQ(bitmap.height, 800);
  const std::string png = ChartPng(scene, 1.0);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // Width and height of the header, big-endian.
  auto word = [&](size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(word(16), 640);
  EXPECT_EQ(word(20), 400);
  // A picture too large to draw fails with the chart's message, thrown from
  // the drawing (a module with a C++ runtime of its own on Linux) and caught
  // here as the reports catch it.
  try {
    ChartPng(scene, 1e6);
    ADD_FAILURE() << "a 640-million-pixel-wide chart was drawn";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "无法绘制受力曲线: 图像过大");
  }
}

}  // namespace
}  // namespace tiecalc
