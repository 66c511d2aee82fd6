#pragma once
// One view for every page: the widgets of a headless dialog's template,
// placed from dialog units, with the user's actions forwarded to the dialog
// and the dialog's changes mirrored back. The view computes nothing itself.

#include <QWidget>
#include <map>

#include "platform/dialog/Dialog.h"
#include "ui/DialogUnits.h"

class QSvgRenderer;

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

  // Shows what the dialog changed since the last call.
  void Sync();

 protected:
  // Enter and Esc are not the page's keys: they neither close nor press anything.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* Build(const ControlTemplate& control);
  void Show(int id);
  template <class Action>
  void Forward(Action action);

  CDialog& m_dialog;
  CDialogUnits m_units;
  std::vector<QWidget*> m_widgets;
  std::map<int, QWidget*> m_byId;
};

// The diagram of a bitmap id (resource ":/diagrams/bmpNNN.svg"), drawn to fit
// its box with its proportions kept; an empty frame where it is missing.
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
  QSvgRenderer* m_renderer = nullptr;
};

QString DiagramResource(int bitmap);

// A read-only edit is drawn as the static texts are, on the dialog's
// background; an editable one on the base colour of input fields.
void SetEditBackground(QWidget* edit, bool readOnly);

}  // namespace tiecalc
