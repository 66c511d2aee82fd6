#pragma once
// Dialog units to pixels, the way the dialog manager converts them: from the
// average width of the window font's letters and the font's height.

#include <QFont>
#include <QRect>

#include "platform/dialog/Dialog.h"

namespace tiecalc {

// A control of a window's own layout.
inline ControlTemplate MakeControl(int id, ControlKind kind, const char* caption, DialogRect rect,
                                   unsigned style = kStyleNone) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.caption = caption;
  c.rect = rect;
  c.style = style;
  return c;
}

// The window font: 宋体 where it exists, else a CJK serif or sans.
QFont WindowFont(int pointSize);

class CDialogUnits {
 public:
  explicit CDialogUnits(const QFont& font);

  int X(int du) const;  // du * average char width / 4, rounded
  int Y(int du) const;  // du * char height / 8, rounded
  QRect Rect(const DialogRect& r) const;
  QRect Rect(int x, int y, int width, int height) const { return Rect(DialogRect{x, y, width, height}); }

  int BaseX() const { return m_baseX; }
  int BaseY() const { return m_baseY; }

 private:
  int m_baseX;
  int m_baseY;
};

}  // namespace tiecalc
