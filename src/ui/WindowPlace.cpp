#include "ui/WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tiecalc {

QRect FitFrame(const QRect& client, const QMargins& frame, const QRect& available, const QSize& minimum) {
  const QSize size = client.size().boundedTo(available.size().shrunkBy(frame)).expandedTo(minimum);
  QRect outer = QRect(client.topLeft(), size).marginsAdded(frame);
  // Right and bottom first: where the window is too large, top and left win.
  outer.moveRight(std::min(outer.right(), available.right()));
  outer.moveBottom(std::min(outer.bottom(), available.bottom()));
  outer.moveLeft(std::max(outer.left(), available.left()));
  outer.moveTop(std::max(outer.top(), available.top()));
  return outer.marginsRemoved(frame);
}

QRect CentredOn(const QSize& client, const QMargins& frame, const QPoint& centre) {
  QRect outer(QPoint(), client.grownBy(frame));
  outer.moveCenter(centre);
  return outer.marginsRemoved(frame);
}

QRect Beside(const QRect& owner, const QSize& client, const QSize& minimum, const QMargins& frame,
             const QRect& available) {
  constexpr int kGap = 8;
  // The client widths there is room for on either side.
  const int across = frame.left() + frame.right();
  const int rightRoom = available.right() - owner.right() - kGap - across;
  const int leftRoom = owner.left() - kGap - across - available.left();
  const bool right = rightRoom >= client.width() || (leftRoom < client.width() && rightRoom >= leftRoom);
  const int room = right ? rightRoom : leftRoom;
  QSize size = client;
  if (room < client.width() && room >= minimum.width()) size.setWidth(room);
  const int left = right ? owner.right() + 1 + kGap + frame.left() : owner.left() - kGap - frame.right() - size.width();
  return {QPoint(left, owner.top() + frame.top()), size};
}

namespace {

bool FrameKnown(const QWidget& window) { return window.frameGeometry() != window.geometry(); }

}  // namespace

QMargins FrameOf(const QWidget& window) {
  if (!FrameKnown(window)) return kTypicalFrame;
  const QRect outer = window.frameGeometry(), inner = window.geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

QRect FrameRect(const QWidget& window) { return window.geometry().marginsAdded(FrameOf(window)); }

void PlaceWindow(QWidget& window, const WantedPlace& wanted) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  const QMargins frame = FrameOf(window);
  window.setGeometry(FitFrame(wanted(frame, available), frame, available, window.minimumSize()));
}

namespace {

// Watches a window's shows, and its moves and resizes until the platform
// reports its frame.
class CPlacer : public QObject {
 public:
  CPlacer(QWidget& window, WantedPlace wanted) : QObject(&window), m_window(window), m_wanted(std::move(wanted)) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && !event->spontaneous()) {
      m_placedWith = FrameOf(m_window);
      m_waiting = !FrameKnown(m_window);
      PlaceWindow(m_window, m_wanted);
    } else if (m_waiting && (type == QEvent::Move || type == QEvent::Resize) && FrameKnown(m_window)) {
      m_waiting = false;
      if (FrameOf(m_window) != m_placedWith) PlaceWindow(m_window, m_wanted);
    }
    return false;
  }

 private:
  QWidget& m_window;
  WantedPlace m_wanted;
  QMargins m_placedWith;
  bool m_waiting = false;
};

}  // namespace

void PlaceOnShow(QWidget& window, WantedPlace wanted) { new CPlacer(window, std::move(wanted)); }

}  // namespace tiecalc
