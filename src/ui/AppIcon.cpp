#include "ui/AppIcon.h"

#include <QPixmap>

namespace tiecalc {

// Drawn at build time from icon128.svg at each size a desktop asks for.
QIcon AppIcon() {
  static const QIcon icon = [] {
    QIcon out;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) out.addPixmap(QPixmap(QStringLiteral(":/icon/%1.png").arg(size)));
    return out;
  }();
  return icon;
}

}  // namespace tiecalc
