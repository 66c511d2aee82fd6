#pragma once
// The main window's tab control: a strip of items over a pane, pages placed
// on it by its owner. Where the desktop runs a visual theme the control draws
// itself with the theme's "TAB" parts, each part through an off-screen image
// copied in one block; otherwise it paints in the standard way.

#include <QString>
#include <QWidget>
#include <vector>

#include "platform/theme/ThemeServices.h"

namespace tiecalc {

class CXPTabCtrl : public QWidget {
  Q_OBJECT
 public:
  // Window style bits of the strip's side.
  static constexpr unsigned kStyleBottom = 0x0002;    // bottom, or right when vertical
  static constexpr unsigned kStyleVertical = 0x0080;  // left or right

  // Flags of a part to draw.
  static constexpr int kPane = 1, kSelected = 2, kHot = 4, kBottomRight = 8, kVertical = 16;

  // Theme parts and states of the class "TAB".
  static constexpr int kPartItem = 1, kPartPane = 9;
  static constexpr int kStateNormal = 1, kStateHot = 2, kStateSelected = 3;

  explicit CXPTabCtrl(QWidget* parent = nullptr, CThemeServices theme = CThemeServices());

  void InsertItem(int index, const QString& text);
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  QString GetItemText(int index) const;
  int GetCurSel() const { return m_curSel; }
  // Selects without notifying, as code selecting an item does; -1 selects none.
  void SetCurSel(int index);

  void SetStyle(unsigned style);
  unsigned Style() const { return m_style; }
  // Every item this many pixels wide (0: as wide as its text needs).
  void SetItemWidth(int width);

  QRect GetItemRect(int index) const;
  int HitTest(QPoint pos) const;  // -1: no item there
  // The client rectangle reduced to the area where pages go.
  QRect DisplayRect() const;

  int Orientation() const { return m_orientation; }  // 0 top, 1 bottom, 2 left, 3 right

  // Where the text of an item goes and what of it fits, for an item drawn on
  // `rect` with `flags`.
  struct ItemText {
    QRect rect;
    QString text;
  };
  ItemText LayoutItemText(int index, QRect rect, int flags) const;

 signals:
  // The user selected another item.
  void SelectionChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int StripThickness() const;
  int ItemExtent(int index) const;
  void PaintStandard();
  void PaintThemed();
  void DrawThemedPart(class QPainter& target, int index, QRect rect, int flags);
  void DrawItemText(class QPainter& p, int index, QRect rect, int flags);
  void Select(int index);

  std::vector<QString> m_items;
  int m_curSel = -1;
  unsigned m_style = 0;
  int m_itemWidth = 0;
  int m_orientation = 1;
  bool m_useTheme = true;
  CThemeServices m_theme;
};

}  // namespace tiecalc
