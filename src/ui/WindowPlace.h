#pragma once
// Where a top-level window goes. Every window is placed with its frame (title
// bar and borders) inside the available area of its screen (the taskbar
// excluded), and shrunk to that area where it is larger. The platform reports
// the frame once the window exists (on X11 only after the window manager has
// framed it, after the window is shown): until then a typical frame is
// assumed, and the window is placed once more when the real one is known.

#include <QMargins>
#include <QRect>
#include <functional>

class QWidget;

namespace tiecalc {

// The frame assumed while the platform reports none: a title bar and borders
// as Windows draws them, in device-independent pixels (the same at any scale).
inline constexpr QMargins kTypicalFrame(8, 31, 8, 8);

// The client rectangle (frame excluded) of a window that wants `client`, with
// `frame` round it: shrunk to the room in `available` (never below `minimum`)
// and moved the least that puts its frame inside. A window that cannot shrink
// enough sticks out at the right and the bottom: its title bar stays in.
QRect FitFrame(const QRect& client, const QMargins& frame, const QRect& available, const QSize& minimum = {});

// The client rectangle of size `client` whose frame is centred on `centre`.
QRect CentredOn(const QSize& client, const QMargins& frame, const QPoint& centre);

// The client rectangle of a window of size `client` beside the frame
// `owner`, top edges level, a small gap between: to the right where it fits
// there, else to the left where it fits there, else on the side with more
// room, narrowed to that room down to `minimum`; narrower still, FitFrame
// moves it over the owner, into the available area.
QRect Beside(const QRect& owner, const QSize& client, const QSize& minimum, const QMargins& frame,
             const QRect& available);

// The window's frame as the platform reports it, else kTypicalFrame.
QMargins FrameOf(const QWidget& window);
// The window's rectangle with that frame.
QRect FrameRect(const QWidget& window);

// The client rectangle a window wants, given its frame and the available
// area of its screen; FitFrame then fits it in.
using WantedPlace = std::function<QRect(const QMargins& frame, const QRect& available)>;

// Places the window now, by FitFrame, with its minimum size.
void PlaceWindow(QWidget& window, const WantedPlace& wanted);

// Places the window each time it is shown (not when it comes back from
// being minimised), and once more when the platform first reports a frame
// other than the one it was placed with.
void PlaceOnShow(QWidget& window, WantedPlace wanted);

}  // namespace tiecalc
