#include "SvgRender.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace tiecalc {
namespace {

// The SVG module reports unsupported or malformed content through Qt's message
// handler; collect what it says while one file is rendered.
QMutex g_captureMutex;
QStringList* g_captured = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void CaptureMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (g_captured && type != QtDebugMsg && type != QtInfoMsg) {
    g_captured->append(message);
    return;
  }
  if (g_previousHandler) g_previousHandler(type, context, message);
}

class MessageCapture {
 public:
  explicit MessageCapture(QStringList* sink) : m_lock(&g_captureMutex) {
    g_captured = sink;
    g_previousHandler = qInstallMessageHandler(CaptureMessage);
  }
  ~MessageCapture() {
    qInstallMessageHandler(g_previousHandler);
    g_captured = nullptr;
  }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

 private:
  QMutexLocker<QMutex> m_lock;
};

constexpr double kInchesPerMetre = 39.37007874;

}  // namespace

SvgRendering RenderSvg(const QString& path, double scale, int targetWidth, bool transparent) {
  SvgRendering out;
  MessageCapture capture(&out.warnings);
  if (!QFileInfo(path).isFile()) {
    out.error = QStringLiteral("no such file: %1").arg(path);
    return out;
  }
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) {
    out.error = QStringLiteral("not a valid SVG document: %1").arg(path);
    return out;
  }
  out.declaredSize = renderer.defaultSize();
  if (out.declaredSize.isEmpty()) {
    out.error = QStringLiteral("no width and height declared: %1").arg(path);
    return out;
  }
  if (targetWidth > 0) scale = double(targetWidth) / out.declaredSize.width();
  if (!(scale > 0.0) || !std::isfinite(scale)) {
    out.error = QStringLiteral("bad scale");
    return out;
  }
  const QSize pixels(std::max(1, int(std::lround(out.declaredSize.width() * scale))),
                     std::max(1, int(std::lround(out.declaredSize.height() * scale))));
  QImage image(pixels, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  image.fill(transparent ? Qt::transparent : Qt::white);
  const int dotsPerMetre = int(std::lround(96.0 * scale * kInchesPerMetre));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
  painter.end();
  out.image = image;
  return out;
}

QImage ContactSheet(const QList<QImage>& images, const QStringList& captions, int maxRowWidth) {
  constexpr int kGap = 24;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  const QFontMetrics metrics(font);
  const int captionHeight = metrics.height() + 6;

  // Lay the cells out in rows first, then paint them.
  struct Cell {
    QPoint at;
    int index;
  };
  QList<Cell> cells;
  int x = kGap, y = kGap, rowHeight = 0, sheetWidth = 0;
  for (int i = 0; i < images.size(); ++i) {
    const int width = std::max(images[i].width(), metrics.horizontalAdvance(captions.value(i)));
    if (x > kGap && x + width > maxRowWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    cells.append({QPoint(x, y), i});
    x += width + kGap;
    sheetWidth = std::max(sheetWidth, x);
    rowHeight = std::max(rowHeight, images[i].height() + captionHeight);
  }
  const int sheetHeight = y + rowHeight + kGap;

  QImage sheet(std::max(sheetWidth, 1), std::max(sheetHeight, 1), QImage::Format_RGB32);
  sheet.fill(QColor(0xd8, 0xd8, 0xd8));
  QPainter painter(&sheet);
  painter.setFont(font);
  for (const Cell& cell : cells) {
    const QImage& image = images[cell.index];
    painter.drawImage(cell.at, image);
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawRect(QRect(cell.at, image.size()).adjusted(-1, -1, 0, 0));
    painter.setPen(Qt::black);
    painter.drawText(QPoint(cell.at.x(), cell.at.y() + image.height() + metrics.ascent() + 4),
                     captions.value(cell.index));
  }
  painter.end();
  return sheet;
}

}  // namespace tiecalc
