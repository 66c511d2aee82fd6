// The diagrams render under Qt's SVG module exactly as the window and the
// fragment compiler will render them, and every diagram in use exists.
#include "SvgRender.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cmath>

namespace {

const QString kSource = QStringLiteral(TIECALC_SOURCE_DIR);
const QString kDiagrams = kSource + "/resources/diagrams";

QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "tiecalc_diagrams_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  return app;
}

QStringList SvgFiles() {
  QStringList names = QDir(kDiagrams).entryList({"*.svg"}, QDir::Files, QDir::Name);
  for (QString& n : names) n = kDiagrams + "/" + n;
  return names;
}

QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// The width and height the root element declares, read without Qt's SVG module.
QSize DeclaredSize(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader xml(&f);
  while (xml.readNextStartElement()) {
    if (xml.name() != QLatin1String("svg")) return {};
    bool okW = false, okH = false;
    const int w = xml.attributes().value("width").toInt(&okW);
    const int h = xml.attributes().value("height").toInt(&okH);
    return okW && okH ? QSize(w, h) : QSize();
  }
  return {};
}

int InkPixels(const QImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++ink;
  return ink;
}

bool BorderIsWhite(const QImage& image) {
  const int w = image.width(), h = image.height();
  for (int x = 0; x < w; ++x)
    if (qGray(image.pixel(x, 0)) < 200 || qGray(image.pixel(x, h - 1)) < 200) return false;
  for (int y = 0; y < h; ++y)
    if (qGray(image.pixel(0, y)) < 200 || qGray(image.pixel(w - 1, y)) < 200) return false;
  return true;
}

// Every file: parsed and painted without a complaint of the renderer, at the
// size it declares, with a drawing on it that nothing cuts off at the edges,
// and none of the features the renderer would silently skip.
TEST(Diagrams, EveryFileRendersCleanlyAtItsDeclaredSize) {
  App();
  const QStringList files = SvgFiles();
  ASSERT_FALSE(files.isEmpty());
  const QRegularExpression ignored(R"(<style|<marker|marker-(start|end|mid)|<filter|<foreignObject|\bclass=|dy=|baseline-shift)");
  for (const QString& path : files) {
    SCOPED_TRACE(path.toStdString());
    const tiecalc::SvgRendering r = tiecalc::RenderSvg(path);
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join("\n").toStdString();
    const QSize declared = DeclaredSize(path);
    ASSERT_TRUE(declared.isValid());
    EXPECT_EQ(r.declaredSize, declared);
    EXPECT_EQ(r.image.size(), declared);
    const int ink = InkPixels(r.image);
    EXPECT_GT(ink, declared.width() * declared.height() / 100) << "hardly anything drawn";
    EXPECT_LT(ink, declared.width() * declared.height() / 3) << "mostly black";
    EXPECT_TRUE(BorderIsWhite(r.image)) << "the drawing runs off the picture";
    EXPECT_FALSE(ReadText(path).contains(ignored));
  }
}

// The window loads bmp<id>.svg for each bitmap id of the pages; the fragment
// compiler loads fig_<name>.svg for each [drawing fig_<name>: ...] of the
// fragment sources. Every one of them is here, with a drawing on it.
TEST(Diagrams, EveryDiagramInUseHasItsFile) {
  App();
  QSet<QString> needed;
  for (int id : {135, 143, 149, 193, 195, 196, 197, 198}) needed.insert(QStringLiteral("bmp%1").arg(id));
  for (const char* f : {"fig_threerod_1", "fig_threerod_2", "fig_fourrod1_1", "fig_fourrod1_2", "fig_fourrod1_3",
                        "fig_fourrod1_4", "fig_fourrod2_1", "fig_fourrod2_2", "fig_fourrod2_3", "fig_fourrod2_4"})
    needed.insert(f);
  const QRegularExpression drawing(R"(\[drawing (fig_[A-Za-z0-9_]+))");
  QDirIterator fragments(kSource + "/resources/fragments", {"*.frag"}, QDir::Files, QDirIterator::Subdirectories);
  while (fragments.hasNext()) {
    const QString text = ReadText(fragments.next());
    for (auto it = drawing.globalMatch(text); it.hasNext();) needed.insert(it.next().captured(1));
  }
  const QRegularExpression bitmapIds(R"(k(?:Diagram|Form)Bitmaps?(?:\[\d\])?\s*=\s*\{?([\d,\s]+)\}?;)");
  QDirIterator pages(kSource + "/src/pages", {"*.h", "*.cpp"}, QDir::Files);
  while (pages.hasNext()) {
    const QString text = ReadText(pages.next());
    for (auto it = bitmapIds.globalMatch(text); it.hasNext();)
      for (const QString& id : it.next().captured(1).split(',', Qt::SkipEmptyParts))
        needed.insert("bmp" + id.trimmed());
  }
  for (const QString& name : needed) {
    SCOPED_TRACE(name.toStdString());
    const tiecalc::SvgRendering r = tiecalc::RenderSvg(kDiagrams + "/" + name + ".svg");
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
  }
}

// The three-rod picture of the page fills the picture control of its page
// (128 x 220 dialog units at 1.5 px each) and the rod forms theirs
// (143 x 56): the window keeps the aspect ratio, so a wrong one leaves the
// drawing small inside its box.
TEST(Diagrams, PagePicturesHaveTheAspectOfTheirControls) {
  App();
  const struct {
    const char* file;
    double w, h;
  } controls[] = {{"bmp135", 128, 220}, {"bmp143", 146, 114}, {"bmp149", 146, 114}, {"bmp193", 143, 56},
                  {"bmp195", 143, 56},  {"bmp196", 143, 56},  {"bmp197", 143, 56},  {"bmp198", 143, 56}};
  for (const auto& c : controls) {
    SCOPED_TRACE(c.file);
    const QSize size = DeclaredSize(kDiagrams + "/" + c.file + ".svg");
    ASSERT_TRUE(size.isValid());
    EXPECT_NEAR(double(size.width()) / size.height(), c.w / c.h, 0.02);
    EXPECT_NEAR(size.width(), c.w * 1.5, 2.0);
  }
  for (const QString& path : SvgFiles()) {
    if (!path.contains("/fig_")) continue;
    SCOPED_TRACE(path.toStdString());
    EXPECT_EQ(DeclaredSize(path).width(), 600) << "report figures are 600 px (16 cm at 96 dpi) wide";
    EXPECT_LT(DeclaredSize(path).height(), 900) << "and fit a portrait page";
  }
}

// At a print resolution the picture grows by dpi / 96 and records that
// resolution, so a document shows it at the drawing's own size; a width in
// pixels keeps the aspect ratio.
TEST(Diagrams, PrintResolutionScalesThePictureAndRecordsIt) {
  App();
  const QString path = kDiagrams + "/bmp135.svg";
  const tiecalc::SvgRendering base = tiecalc::RenderSvg(path);
  const tiecalc::SvgRendering print = tiecalc::RenderSvg(path, 200.0 / 96.0);
  ASSERT_FALSE(print.image.isNull());
  EXPECT_EQ(print.image.width(), std::lround(base.declaredSize.width() * 200.0 / 96.0));
  EXPECT_EQ(print.image.height(), std::lround(base.declaredSize.height() * 200.0 / 96.0));
  EXPECT_NEAR(print.image.dotsPerMeterX(), 200 / 0.0254, 1.0);
  EXPECT_NEAR(base.image.dotsPerMeterX(), 96 / 0.0254, 1.0);
  const tiecalc::SvgRendering wide = tiecalc::RenderSvg(path, 1.0, 960);
  EXPECT_EQ(wide.image.width(), 960);
  EXPECT_EQ(wide.image.height(), std::lround(960.0 * base.declaredSize.height() / base.declaredSize.width()));
  EXPECT_FALSE(tiecalc::RenderSvg(kDiagrams + "/no-such.svg").error.isEmpty());
}

// The contact sheet keeps every picture whole and wraps its rows.
TEST(Diagrams, ContactSheetHoldsEveryPictureInRows) {
  App();
  QImage red(300, 100, QImage::Format_RGB32), blue(200, 150, QImage::Format_RGB32);
  red.fill(Qt::red);
  blue.fill(Qt::blue);
  const QImage one = tiecalc::ContactSheet({red, blue}, {"red.svg", "blue.svg"}, 2000);
  const QImage two = tiecalc::ContactSheet({red, blue}, {"red.svg", "blue.svg"}, 400);
  EXPECT_GT(one.width(), 500);
  EXPECT_LT(one.height(), two.height());
  EXPECT_LT(two.width(), 400);
  auto count = [](const QImage& sheet, QRgb colour) {
    int n = 0;
    for (int y = 0; y < sheet.height(); ++y)
      for (int x = 0; x < sheet.width(); ++x) n += sheet.pixel(x, y) == colour;
    return n;
  };
  for (const QImage& sheet : {one, two}) {
    EXPECT_EQ(count(sheet, qRgb(255, 0, 0)), 300 * 100);
    EXPECT_EQ(count(sheet, qRgb(0, 0, 255)), 200 * 150);
  }
}

// The command line: one file to PNG at a resolution, the contact sheet, and
// the refusals.
TEST(Diagrams, CommandLineWritesPngsAndRefusesBadArguments) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto run = [](const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TIECALC_SVG2PNG), args);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  const QString png = dir.filePath("a.png");
  ASSERT_EQ(run({kDiagrams + "/bmp193.svg", png, "--dpi", "192"}), 0);
  QImage image(png);
  EXPECT_EQ(image.size(), QSize(430, 168));
  EXPECT_EQ(run({kDiagrams + "/bmp193.svg", png, "--width", "100"}), 0);
  EXPECT_EQ(QImage(png).width(), 100);
  const QString sheet = dir.filePath("sheet.png");
  EXPECT_EQ(run({"--contact-sheet", sheet, kDiagrams + "/bmp193.svg", kDiagrams + "/bmp195.svg"}), 0);
  EXPECT_GT(QImage(sheet).width(), 2 * 215);
  EXPECT_EQ(run({kDiagrams + "/missing.svg", png}), 1);
  EXPECT_EQ(run({kDiagrams + "/bmp193.svg"}), 2);
  EXPECT_EQ(run({kDiagrams + "/bmp193.svg", png, "--dpi", "x"}), 2);
  EXPECT_EQ(run({kDiagrams + "/bmp193.svg", png, "--dpi", "100", "--width", "50"}), 2);
}

}  // namespace
