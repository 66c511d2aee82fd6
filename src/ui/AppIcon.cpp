#include "ui/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tiecalc {

QIcon AppIcon() {
  static const QIcon icon = [] {
    QIcon out;
    QSvgRenderer svg(QStringLiteral(":/tiecalc/icon128.svg"));
    for (int size : {16, 24, 32, 48, 64, 128}) {
      QPixmap pixmap(size, size);
      pixmap.fill(Qt::transparent);
      QPainter p(&pixmap);
      svg.render(&p);
      p.end();
      out.addPixmap(pixmap);
    }
    return out;
  }();
  return icon;
}

}  // namespace tiecalc
