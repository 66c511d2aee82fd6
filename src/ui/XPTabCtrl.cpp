#include "ui/XPTabCtrl.h"

#include <QCursor>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace tiecalc {

namespace {
constexpr int kStripMargin = 2;  // free pixels before the first item and above the strip
constexpr int kPadX = 6, kPadY = 3;
}  // namespace

CXPTabCtrl::CXPTabCtrl(QWidget* parent, CThemeServices theme) : QWidget(parent), m_theme(std::move(theme)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CXPTabCtrl::InsertItem(int index, const QString& text) {
  index = std::clamp(index, 0, GetItemCount());
  m_items.insert(m_items.begin() + index, text);
  if (m_curSel >= index) ++m_curSel;
  update();
}

QString CXPTabCtrl::GetItemText(int index) const {
  return index >= 0 && index < GetItemCount() ? m_items[static_cast<size_t>(index)] : QString();
}

void CXPTabCtrl::SetCurSel(int index) {
  m_curSel = (index >= 0 && index < GetItemCount()) ? index : -1;
  update();
}

void CXPTabCtrl::SetStyle(unsigned style) {
  m_style = style;
  update();
}

void CXPTabCtrl::SetItemWidth(int width) {
  m_itemWidth = width;
  update();
}

int CXPTabCtrl::StripThickness() const { return fontMetrics().height() + 2 * kPadY; }

int CXPTabCtrl::ItemExtent(int index) const {
  if (m_itemWidth > 0) return m_itemWidth;
  return fontMetrics().horizontalAdvance(GetItemText(index)) + 2 * kPadX;
}

QRect CXPTabCtrl::GetItemRect(int index) const {
  if (index < 0 || index >= GetItemCount()) return {};
  const bool vertical = m_style & kStyleVertical;
  const bool far = m_style & kStyleBottom;
  const int thick = StripThickness();
  int along = kStripMargin;
  for (int i = 0; i < index; ++i) along += vertical ? thick + 2 * kPadX : ItemExtent(i);
  if (vertical) {
    const int x = far ? width() - kStripMargin - ItemExtent(index) : kStripMargin;
    return QRect(x, along, ItemExtent(index), thick + 2 * kPadX);
  }
  const int y = far ? height() - kStripMargin - thick : kStripMargin;
  return QRect(along, y, ItemExtent(index), thick);
}

int CXPTabCtrl::HitTest(QPoint pos) const {
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItemRect(i).contains(pos)) return i;
  return -1;
}

QRect CXPTabCtrl::DisplayRect() const {
  QRect r = rect().adjusted(4, 4, -4, -4);
  if (GetItemCount() == 0) return r;
  const QRect item = GetItemRect(0);
  const bool vertical = m_style & kStyleVertical;
  const bool far = m_style & kStyleBottom;
  if (!vertical && !far) r.setTop(item.bottom() + 1 + 2);
  if (!vertical && far) r.setBottom(item.top() - 1 - 2);
  if (vertical && !far) r.setLeft(kStripMargin + item.width() + 2);
  if (vertical && far) r.setRight(width() - 1 - kStripMargin - item.width() - 2);
  return r;
}

void CXPTabCtrl::Select(int index) {
  if (index < 0 || index >= GetItemCount() || index == m_curSel) return;
  SetCurSel(index);
  emit SelectionChanged();
}

void CXPTabCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Select(HitTest(event->position().toPoint()));
  QWidget::mousePressEvent(event);
}

void CXPTabCtrl::keyPressEvent(QKeyEvent* event) {
  const bool vertical = m_style & kStyleVertical;
  const int back = vertical ? Qt::Key_Up : Qt::Key_Left;
  const int forward = vertical ? Qt::Key_Down : Qt::Key_Right;
  if (event->key() == back && m_curSel > 0) return Select(m_curSel - 1);
  if (event->key() == forward && m_curSel + 1 < GetItemCount()) return Select(m_curSel + 1);
  QWidget::keyPressEvent(event);
}

void CXPTabCtrl::paintEvent(QPaintEvent*) {
  if (!m_useTheme) return PaintStandard();
  m_orientation = (m_style & kStyleBottom) ? 1 : 0;
  if (m_style & kStyleVertical) m_orientation = (m_style & kStyleBottom) ? 3 : 2;
  if (!m_theme.IsThemeActiveXP()) return PaintStandard();
  PaintThemed();
}

void CXPTabCtrl::PaintStandard() {
  QStylePainter p(this);
  const bool vertical = m_style & kStyleVertical;
  const bool far = m_style & kStyleBottom;
  const QTabBar::Shape shape = vertical ? (far ? QTabBar::RoundedEast : QTabBar::RoundedWest)
                                        : (far ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.shape = shape;
  frame.rect = DisplayRect().adjusted(-2, -2, 2, 2);
  p.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
  auto drawTab = [&](int i) {
    QStyleOptionTab tab;
    tab.initFrom(this);
    tab.shape = shape;
    tab.rect = GetItemRect(i);
    if (i == m_curSel) tab.state |= QStyle::State_Selected;
    tab.position = QStyleOptionTab::Middle;
    p.drawControl(QStyle::CE_TabBarTabShape, tab);
    const QRect text = tab.rect.adjusted(3, 0, -3, 0);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(GetItemText(i), Qt::ElideRight, text.width()));
  };
  for (int i = 0; i < GetItemCount(); ++i)
    if (i != m_curSel) drawTab(i);
  if (m_curSel < 0) return;
  drawTab(m_curSel);
  // The keyboard is on the strip: the arrow keys move the selection.
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = GetItemRect(m_curSel).adjusted(3, 3, -3, -3);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

void CXPTabCtrl::PaintThemed() {
  QPainter p(this);
  const QRect client = rect();
  QRect pane = client;
  const QRect display = DisplayRect();
  switch (m_orientation) {
    case 0: pane.setTop(display.top() - 2); break;
    case 1: pane.setBottom(display.bottom() + 3); break;
    case 2: pane.setLeft(display.left() - 1); break;
    default: pane.setRight(display.right() + 3); break;
  }
  int base = 0;
  if (m_orientation == 1 || m_orientation == 3) base += kBottomRight;
  if (m_orientation == 2 || m_orientation == 3) base += kVertical;

  DrawThemedPart(p, -1, pane, base + kPane);
  if (GetItemCount() == 0) return;

  const int hot = HitTest(mapFromGlobal(QCursor::pos()));
  const int selected = m_curSel;
  for (int i = 0; i < GetItemCount(); ++i) {
    if (i == selected) continue;
    QRect r = GetItemRect(i);
    if (m_orientation == 2) r.adjust(0, 0, 1, 0);
    DrawThemedPart(p, i, r, i == hot ? base + kHot : base);
  }
  if (selected >= 0) {
    QRect r = GetItemRect(selected).adjusted(-2, -2, 2, 2);
    if (m_orientation == 0) r.adjust(0, 0, 0, -1);
    DrawThemedPart(p, selected, r, base + kSelected);
  }
}

void CXPTabCtrl::DrawThemedPart(QPainter& target, int index, QRect rect, int flags) {
  const int w = rect.width(), h = rect.height();
  if (w <= 0 || h <= 0) return;
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(palette().color(QPalette::Window));

  const bool selected = flags & kSelected;
  ThemeRect work{0, 0, w, h};
  if (selected) work.bottom += 1;
  int part = kPartPane, state = 0;
  if (!(flags & kPane)) {
    part = kPartItem;
    state = selected ? kStateSelected : (flags & kHot) ? kStateHot : kStateNormal;
  }
  ThemeSurface surface{reinterpret_cast<std::uint32_t*>(image.bits()), w, h, static_cast<int>(image.bytesPerLine())};
  m_theme.DrawThemePart(surface, part, state, "TAB", work);

  if (index >= 0) {
    if (selected) work.bottom -= 1;
    QPainter p(&image);
    DrawItemText(p, index, QRect(QPoint(work.left, work.top), QPoint(work.right - 1, work.bottom - 1)), flags);
  }
  target.setCompositionMode(QPainter::CompositionMode_Source);
  target.drawImage(rect.topLeft(), image);
  target.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

CXPTabCtrl::ItemText CXPTabCtrl::LayoutItemText(int index, QRect rect, int flags) const {
  const bool far = flags & kBottomRight;
  const bool selected = flags & kSelected;
  // Edges as the rectangle's left, top, right, bottom (right and bottom exclusive).
  int left = rect.left(), top = rect.top(), right = rect.right() + 1, bottom = rect.bottom() + 1;
  left += far ? 3 : 6;
  top += 2 + (far ? 1 : 0) + (selected ? 1 : 0) + (!selected && !far ? 3 : 0);
  bottom += selected ? -1 : 2;
  // No images on the items: the text moves 2 to the left instead.
  left -= 2;
  right -= 2;

  ItemText out;
  out.text = GetItemText(index).left(127);
  if (out.text.isEmpty()) {
    out.rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return out;
  }
  right -= 3;
  out.text = fontMetrics().elidedText(out.text, Qt::ElideRight, std::max(0, right - left));
  const int dx = far ? -1 : 0, dy = selected ? 1 : -1;
  out.rect = QRect(QPoint(left + dx, top + dy), QPoint(right - 1 + dx, bottom - 1 + dy));
  return out;
}

void CXPTabCtrl::DrawItemText(QPainter& p, int index, QRect rect, int flags) {
  const ItemText t = LayoutItemText(index, rect, flags);
  if (t.text.isEmpty()) return;
  p.setFont(font());
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(t.rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, t.text);
}

}  // namespace tiecalc
