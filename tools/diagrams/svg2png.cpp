// tiecalc-svg2png IN.svg OUT.png [--dpi N | --width PX] [--transparent]
// tiecalc-svg2png --contact-sheet OUT.png [--dpi N] IN1.svg IN2.svg ...
//
// Renders SVG diagrams to PNG on a white background (--transparent: none, for
// icons). --dpi gives the print resolution (96 is the drawing's declared
// size), --width a pixel width.
#include "SvgRender.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

int Usage() {
  std::fputs(
      "usage: tiecalc-svg2png IN.svg OUT.png [--dpi N | --width PX] [--transparent]\n"
      "       tiecalc-svg2png --contact-sheet OUT.png [--dpi N] IN1.svg IN2.svg ...\n",
      stderr);
  return 2;
}

void Report(const tiecalc::SvgRendering& r, const QString& path) {
  for (const QString& w : r.warnings)
    std::fprintf(stderr, "%s: warning: %s\n", qPrintable(path), qPrintable(w));
  if (!r.error.isEmpty()) std::fprintf(stderr, "tiecalc-svg2png: %s\n", qPrintable(r.error));
}

bool ParsePositive(const QString& text, double& value) {
  bool ok = false;
  value = text.toDouble(&ok);
  return ok && value > 0.0 && value < 1e5;
}

}  // namespace

int main(int argc, char** argv) {
  // Text needs a font database, which needs a GUI application; no window is
  // ever shown, so the offscreen platform does.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);

  // Options first: --dpi N, --width PX; the rest are positional.
  double dpi = 0.0, width = 0.0;
  bool contactSheet = false, transparent = false;
  QStringList paths;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--contact-sheet") {
      contactSheet = true;
    } else if (a == "--transparent") {
      transparent = true;
    } else if (a == "--dpi" || a == "--width") {
      if (i + 1 >= args.size() || !ParsePositive(args[i + 1], a == "--dpi" ? dpi : width)) return Usage();
      ++i;
    } else if (a.startsWith("--")) {
      return Usage();
    } else {
      paths.append(a);
    }
  }
  if (dpi > 0.0 && width > 0.0) return Usage();
  const double scale = dpi > 0.0 ? dpi / 96.0 : 1.0;

  if (!contactSheet) {
    if (paths.size() != 2) return Usage();
    const tiecalc::SvgRendering r = tiecalc::RenderSvg(paths[0], scale, int(width), transparent);
    Report(r, paths[0]);
    if (r.image.isNull()) return 1;
    if (!r.image.save(paths[1], "PNG")) {
      std::fprintf(stderr, "tiecalc-svg2png: cannot write %s\n", qPrintable(paths[1]));
      return 1;
    }
    return 0;
  }

  if (paths.size() < 2 || width > 0.0) return Usage();
  const QString out = paths.takeFirst();
  QList<QImage> images;
  QStringList captions;
  int failures = 0;
  for (const QString& path : paths) {
    const tiecalc::SvgRendering r = tiecalc::RenderSvg(path, scale);
    Report(r, path);
    if (r.image.isNull()) {
      ++failures;
      continue;
    }
    images.append(r.image);
    captions.append(QStringLiteral("%1  (%2×%3)")
                        .arg(QFileInfo(path).fileName())
                        .arg(r.declaredSize.width())
                        .arg(r.declaredSize.height()));
  }
  if (images.isEmpty()) return 1;
  if (!tiecalc::ContactSheet(images, captions, int(2000 * scale)).save(out, "PNG")) {
    std::fprintf(stderr, "tiecalc-svg2png: cannot write %s\n", qPrintable(out));
    return 1;
  }
  return failures == 0 ? 0 : 1;
}
