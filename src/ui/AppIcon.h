#pragma once
#include <QIcon>

namespace tiecalc {
// The program's icon, drawn from its SVG at the usual sizes.
QIcon AppIcon();
}  // namespace tiecalc
