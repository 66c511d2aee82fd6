// Renders an SVG icon as square PNGs, for the icon theme's fixed sizes on
// Linux and the .ico files of Windows. Build-time tool:
//   tiecalc_iconpng SVG SIZE OUT.png
//   tiecalc_iconpng SVG OUT.ico SIZE...   one icon holding every size, each
//                                         entry a PNG (Windows Vista and later)
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <cstdio>

#include "SvgRender.h"

namespace {

// One size, drawn by the diagrams' renderer on a transparent ground.
QByteArray RenderPng(const QString& svg, int size) {
  const tiecalc::SvgRendering r = tiecalc::RenderSvg(svg, 1.0, size, true);
  if (r.image.isNull() || r.image.height() != size) return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  return r.image.save(&buffer, "PNG") ? png : QByteArray();
}

void Append16(QByteArray& out, quint16 v) {
  v = qToLittleEndian(v);
  out.append(reinterpret_cast<const char*>(&v), 2);
}
void Append32(QByteArray& out, quint32 v) {
  v = qToLittleEndian(v);
  out.append(reinterpret_cast<const char*>(&v), 4);
}

// The ICO layout: a 6-byte header, a 16-byte entry per image (width and
// height 0 meaning 256, 32 bits per pixel), then the images.
QByteArray Ico(const QList<int>& sizes, const QList<QByteArray>& pngs) {
  QByteArray ico;
  Append16(ico, 0);
  Append16(ico, 1);
  Append16(ico, quint16(pngs.size()));
  quint32 offset = 6 + 16 * quint32(pngs.size());
  for (int i = 0; i < pngs.size(); ++i) {
    const char side = char(sizes[i] >= 256 ? 0 : sizes[i]);
    ico.append(side).append(side).append('\0').append('\0');
    Append16(ico, 1);
    Append16(ico, 32);
    Append32(ico, quint32(pngs[i].size()));
    Append32(ico, offset);
    offset += quint32(pngs[i].size());
  }
  for (const QByteArray& png : pngs) ico.append(png);
  return ico;
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool ico = argc >= 4 && QByteArray(argv[2]).endsWith(".ico");
  if (argc != 4 && !ico) {
    std::fprintf(stderr, "usage: tiecalc_iconpng SVG SIZE OUT.png\n"
                         "       tiecalc_iconpng SVG OUT.ico SIZE...\n");
    return 2;
  }
  const char* outPath = ico ? argv[2] : argv[3];
  QList<int> sizes;
  if (ico) {
    for (int i = 3; i < argc; ++i) sizes.append(QByteArray(argv[i]).toInt());
  } else {
    sizes.append(QByteArray(argv[2]).toInt());
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString svg = QString::fromLocal8Bit(argv[1]);
  if (std::any_of(sizes.begin(), sizes.end(), [](int s) { return s <= 0 || s > 256; })) {
    std::fprintf(stderr, "tiecalc_iconpng: cannot render %s at the sizes given\n", argv[1]);
    return 1;
  }
  QList<QByteArray> pngs;
  for (int size : sizes) {
    pngs.append(RenderPng(svg, size));
    if (pngs.last().isEmpty()) {
      std::fprintf(stderr, "tiecalc_iconpng: cannot render %s at %d px\n", argv[1], size);
      return 1;
    }
  }
  const QByteArray bytes = ico ? Ico(sizes, pngs) : pngs.first();
  QFile out(QString::fromLocal8Bit(outPath));
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
    std::fprintf(stderr, "tiecalc_iconpng: cannot write %s\n", outPath);
    return 1;
  }
  return 0;
}
