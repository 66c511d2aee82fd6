// The chart drawn by QPainter on a QImage, its texts measured by
// QFontMetricsF: Windows' drawing (ChartDrawing.h). The same scene in the
// same pixels as the cairo drawing's, with the same kind of fonts.

#include "chart/ChartDrawing.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <mutex>
#include <stdexcept>

namespace tiecalc {

namespace {

// Qt measures and draws texts only in a program with a QGuiApplication. The
// window has its own; a program without one (tiecalc-cli.exe, the tests)
// gets one at its first chart, kept for its run, on a platform that needs no
// display: Windows' own (it opens no window unless asked), offscreen elsewhere.
void NeedGuiApplication() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (QCoreApplication::instance()) return;
#ifdef _WIN32
    static char platform[] = "windows";
#else
    static char platform[] = "offscreen";
#endif
    static char name[] = "tiecalc", option[] = "-platform";
    static char* argv[] = {name, option, platform, nullptr};
    static int argc = 3;
    new QGuiApplication(argc, argv);
  });
}

// The chart's fonts: cairo's families (CairoDrawing.cpp) in the order a
// Chinese Windows has them, the pixel sizes of the scene (whole pixels),
// unhinted, so that texts measure alike at every scale, and smoothed in grey
// as cairo's are, not in colour for one kind of screen.
QFont ChartFont(double size) {
  QFont font;
  font.setFamilies({"Microsoft YaHei", "SimSun", "Noto Sans CJK SC", "Source Han Sans SC"});
  font.setStyleHint(QFont::SansSerif, QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

double TextWidth(const std::string& text, double size) {
  NeedGuiApplication();
  return QFontMetricsF(ChartFont(size)).horizontalAdvance(QString::fromStdString(text));
}

QColor Colour(ChartColour c) { return QColor(c.r, c.g, c.b); }

QPen Pen(const ChartStroke& s) {
  QPen pen(Colour(s.colour), s.width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
  if (!s.dash.empty()) {
    // Qt counts dashes in pen widths, the scene in pixels.
    QList<qreal> dash;
    for (double d : s.dash) dash.append(d / s.width);
    pen.setDashPattern(dash);
  }
  return pen;
}

struct Drawer {
  QPainter& p;

  void operator()(const SceneLine& l) const {
    p.setPen(Pen(l.stroke));
    p.drawLine(QPointF(l.from.x, l.from.y), QPointF(l.to.x, l.to.y));
  }
  void operator()(const ScenePath& path) const {
    QPainterPath curve;
    for (const auto& run : path.runs)
      for (size_t k = 0; k < run.size(); ++k)
        if (k == 0)
          curve.moveTo(run[k].x, run[k].y);
        else
          curve.lineTo(run[k].x, run[k].y);
    p.strokePath(curve, Pen(path.stroke));
  }
  void operator()(const SceneMark& m) const {
    p.setPen(Pen({kChartWhite, 1.0, {}}));
    p.setBrush(Colour(m.colour));
    const std::vector<ChartPoint> outline = MarkOutline(m);
    if (outline.empty()) {
      p.drawEllipse(QPointF(m.at.x, m.at.y), m.size, m.size);
    } else {
      QPolygonF polygon;
      for (const ChartPoint& c : outline) polygon << QPointF(c.x, c.y);
      p.drawPolygon(polygon);
    }
  }
  void operator()(const SceneText& t) const {
    const QString text = QString::fromStdString(t.text);
    p.save();
    p.translate(t.at.x, t.at.y);
    if (t.vertical) p.rotate(-90);
    p.setFont(ChartFont(t.size));
    p.setPen(Colour(t.colour));
    p.drawText(QPointF(-AnchorShift(t.anchor, TextWidth(t.text, t.size)), 0), text);
    p.restore();
  }
  void operator()(const SceneRect& r) const {
    const QRectF rect(r.at.x, r.at.y, r.width, r.height);
    if (r.opacity > 0) {
      QColor fill = Colour(r.fill);
      fill.setAlphaF(static_cast<float>(r.opacity));
      p.fillRect(rect, fill);
    }
    if (r.outline) {
      p.setPen(Pen({kChartAxis, 1.0, {}}));
      p.setBrush(Qt::NoBrush);
      p.drawRect(rect);
    }
  }
};

// Draws the scene at scale over the whole image, the ground first.
void Paint(QImage& image, const ChartScene& scene, double scale) {
  if (image.isNull()) throw std::runtime_error("无法绘制受力曲线: 图像过大");
  NeedGuiApplication();
  image.fill(Colour(kChartWhite));
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  const Drawer draw{painter};
  for (const SceneItem& item : scene.items) std::visit(draw, item);
}

void Draw(const ChartScene& scene, double scale, ChartBitmap& bitmap) {
  // Into the bitmap's own storage, which the window keeps from one redraw to
  // the next; QImage's ARGB32_Premultiplied is the bitmap's word.
  bitmap.width = DevicePixels(scene.width, scale);
  bitmap.height = DevicePixels(scene.height, scale);
  bitmap.stride = bitmap.width * 4;
  bitmap.pixels.resize(static_cast<size_t>(bitmap.stride) * static_cast<size_t>(bitmap.height));
  QImage image(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.stride, QImage::Format_ARGB32_Premultiplied);
  Paint(image, scene, scale);
}

std::string Png(const ChartScene& scene, double scale) {
  // Opaque on white: RGB32 is written as 8-bit RGB, as the cairo drawing
  // writes it. Qt writes the image's resolution too: the true one, a chart
  // pixel being a 96th of an inch (a report sizes its figure by it).
  QImage image(DevicePixels(scene.width, scale), DevicePixels(scene.height, scale), QImage::Format_RGB32);
  const int dotsPerMetre = QtPngDotsPerMetre(scale);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  Paint(image, scene, scale);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw std::runtime_error("无法生成受力曲线图片");
  return bytes.toStdString();
}

}  // namespace

const ChartDrawing& QtChartDrawing() {
  static const ChartDrawing table{&TextWidth, &Draw, &Png};
  return table;
}

}  // namespace tiecalc
