#include "ui/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace tiecalc {

QFont WindowFont(int pointSize) {
  QFont font;
  // A Chinese Windows has 宋体 and 微软雅黑 (by their Chinese or English
  // names); Linux desktops the CJK fonts after them.
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                    QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Source Han Serif SC"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("AR PL UMing CN")});
  font.setPointSize(pointSize);
  return font;
}

namespace {
int MulDiv(int value, int numerator, int denominator) {
  const long long p = static_cast<long long>(value) * numerator;
  return static_cast<int>((p >= 0 ? p + denominator / 2 : p - denominator / 2) / denominator);
}
}  // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
  const QFontMetrics fm(font);
  const int width = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_baseX = (width / 26 + 1) / 2;
  m_baseY = fm.height();
}

int CDialogUnits::X(int du) const { return MulDiv(du, m_baseX, 4); }
int CDialogUnits::Y(int du) const { return MulDiv(du, m_baseY, 8); }

QRect CDialogUnits::Rect(const DialogRect& r) const {
  const int left = X(r.x), top = Y(r.y);
  return QRect(left, top, X(r.x + r.width) - left, Y(r.y + r.height) - top);
}

}  // namespace tiecalc
