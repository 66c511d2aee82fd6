#pragma once
// One view for every page: the widgets of a headless dialog's template,
// placed from dialog units, with the user's actions forwarded to the dialog
// and the dialog's changes mirrored back. The view computes nothing itself.

#include <QImage>
#include <QLineEdit>
#include <QWidget>
#include <map>
#include <set>
#include <vector>

#include "platform/dialog/Dialog.h"
#include "ui/DialogUnits.h"

class QAction;

namespace tiecalc {

class CDialogView : public QWidget {
  Q_OBJECT
 public:
  CDialogView(CDialog& dialog, const QFont& font, QWidget* parent = nullptr);

  CDialog& Dialog() const { return m_dialog; }
  const CDialogUnits& Units() const { return m_units; }

  // The widget of an addressable control (nullptr for none).
  QWidget* Control(int id) const;
  // Every widget in template order, labels and frames included.
  const std::vector<QWidget*>& Widgets() const { return m_widgets; }

  // Shows what the dialog changed since the last call, then the dialog's
  // notes on its inputs and which results are stale.
  void Sync();

  // The page's name, first line of its summary.
  void SetTitle(const QString& title) { m_title = title; }
  // The name, then one "label<TAB>value" line for each row of the
  // dialog's summary.
  QString SummaryText() const;
  // "复制结果": the summary to the clipboard.
  QAction* CopyAction() const { return m_copy; }
  void CopySummary() const;

 protected:
  // Enter and Esc are not the page's keys: they neither close nor press anything.
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Another page may have changed this one while it was hidden (the
  // rod-check page follows the rod chosen in 轴力取自).
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* Build(const ControlTemplate& control);
  void Show(int id);
  // The look of an edit: background, greyed when stale, the mark and the
  // tooltip of a note, Tab stops on inputs only.
  void ShowLook(int id);
  template <class Action>
  void Forward(Action action);

  CDialog& m_dialog;
  CDialogUnits m_units;
  std::vector<QWidget*> m_widgets;
  std::map<int, QWidget*> m_byId;
  std::map<int, std::vector<ControlNote>> m_notes;
  std::set<int> m_stale;
  QString m_title;
  QAction* m_copy = nullptr;
};

// A one-line edit that can carry a coloured outline: the mark of an input
// the page has a note on.
class CFieldEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
  void SetMark(const QColor& colour);  // an invalid colour: no mark
  QColor Mark() const { return m_mark; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor m_mark;
};

// The colours of the marks and of the verdict lines.
inline const QColor kUnreadableMark(220, 0, 0);
inline const QColor kRuleMark(230, 120, 0);
// The text of results left over from the last valid inputs: a mid grey that
// stands apart from the black of current results and stays legible on the
// sky-blue read-only fields (the platform's disabled grey nearly vanishes
// there).
inline const QColor kStaleText(100, 100, 100);
inline const QColor kFailTone(200, 0, 0);
inline const QColor kPassTone(0, 100, 0);

// The width an edit has for its text: inside its frame and text margins.
int EditTextRoom(const QLineEdit* edit);
// Is the whole of an edit's text inside its box?
bool TextFitsEdit(const QLineEdit* edit);

// A result shows its whole text: where the text is wider than the box, the
// box's font is made smaller, down to this share of the page's font, then
// narrower, down to this stretch (GDI draws small fonts at whole pixel sizes
// and whole-pixel advances, so the last step in size can be a pixel short);
// a text wider still shows its start, and whole in the tooltip.
inline constexpr double kSmallestResultFont = 0.6;
inline constexpr int kNarrowestResultStretch = 85;  // percent of the normal width
// The font of a read-only edit, sized as above; an input keeps the page's
// font and scrolls.
void FitResultFont(QLineEdit* edit, const QFont& pageFont);

// The diagram of a bitmap id (resources ":/diagrams/bmpNNN/PERCENT.png", the
// drawing at PERCENT % of its own size), drawn to fit its box with its
// proportions kept, from the smallest rendering at least as large as the box
// on the screen; an empty frame where it is missing.
class CPictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit CPictureBox(QWidget* parent = nullptr);
  void SetBitmap(int bitmap);
  int Bitmap() const { return m_bitmap; }
  bool HasDrawing() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_bitmap = 0;
  std::vector<QImage> m_renderings;  // smallest first; the first is at 100 %
};

// The folder of a diagram's renderings.
QString DiagramResource(int bitmap);

// A read-only edit is drawn as the static texts are, on the dialog's
// background; an editable one on the base colour of input fields. A stale
// one has the greyed text of a disabled control.
void SetEditBackground(QWidget* edit, bool readOnly, bool stale = false);

}  // namespace tiecalc
