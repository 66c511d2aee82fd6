// Rendering of the program's SVG diagrams to raster images.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tiecalc {

// The result of rendering one SVG file. When the file cannot be read or
// parsed, image is null and error says why; warnings holds what the SVG
// renderer reported while loading and painting (features it ignored).
struct SvgRendering {
  QImage image;
  QSize declaredSize;  // width and height of the root element, in px
  QString error;
  QStringList warnings;
};

// Renders the SVG at path onto a white image (a transparent one for icons). A scale of 1 gives the size the
// file declares (96 dpi); targetWidth > 0 overrides the scale and keeps the
// aspect ratio. The image records the resolution it was drawn at (96 dpi times
// the scale), so it prints at the drawing's own size.
SvgRendering RenderSvg(const QString& path, double scale = 1.0, int targetWidth = 0, bool transparent = false);

// Puts the renderings side by side, in rows no wider than maxRowWidth, each
// with its caption underneath, on a white sheet.
QImage ContactSheet(const QList<QImage>& images, const QStringList& captions, int maxRowWidth = 2000);

}  // namespace tiecalc
