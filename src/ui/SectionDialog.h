#pragma once
// "截面": picks the rod-check page's section from the steel library for the
// form the page shows. The user picks the chord (or the solid-web profile),
// the outer sides and the battens or lacing; the dialog draws the section to
// scale and lists the inputs it gives with their derivations, rebuilt on
// every change. It only builds a choice: the caller applies it to the page.

#include <QDialog>
#include <QString>

#include "core/sections/RodSection.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tiecalc {

class CRodCheckPage;

// A family list, a filter line and the designations of the family that
// match it. Typing "63x6", "L63x6" or "∟63×6" shows and selects ∟63×6; a
// designation of another family switches the family.
class CSectionPicker : public QWidget {
  Q_OBJECT
 public:
  explicit CSectionPicker(QWidget* parent = nullptr);
  QString Designation() const;  // empty: nothing selected
  void Select(const QString& designation);
  QLineEdit* Filter() const { return m_filter; }
  QListWidget* List() const { return m_list; }
  QComboBox* Family() const { return m_family; }

 signals:
  void Changed();

 private:
  void Refill();

  QComboBox* m_family = nullptr;
  QLineEdit* m_filter = nullptr;
  QListWidget* m_list = nullptr;
};

// The part of a filter text that finds designations: the text as engineers
// write it, from its first digit on ("L63x6" -> "63×6"); empty for a text
// without digits (everything matches).
QString SectionFilterKey(const QString& typed);

// The section drawn to scale from the built choice, with its outer sides.
class CSectionDrawing : public QWidget {
  Q_OBJECT
 public:
  explicit CSectionDrawing(QWidget* parent = nullptr);
  void Show(RodForm form, const RodSectionChoice& choice);
  QSize sizeHint() const override { return {260, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RodForm m_form = RodForm::SolidWeb;
  RodSectionChoice m_choice;
};

class CSectionDialog : public QDialog {
  Q_OBJECT
 public:
  static const char* const kTitle;  // "截面"
  // formName: the page's form as its list shows it.
  CSectionDialog(const CRodCheckPage& page, const QString& formName, QWidget* parent = nullptr);

  // The choice as set now, complete (the page's L, Ld as the dialog shows it).
  RodSectionChoice Choice() const;
  const BuiltRodSection& Built() const { return m_built; }
  QPushButton* OkButton() const;

  CSectionPicker* Chord() const { return m_chord; }
  CSectionPicker* Lacing() const { return m_lacing; }
  QDoubleSpinBox* Width() const { return m_width; }
  QDoubleSpinBox* Depth() const { return m_depth; }
  QDoubleSpinBox* Spacing() const { return m_spacing; }
  QListWidget* Derivations() const { return m_derivations; }
  QLabel* Error() const { return m_error; }

 private:
  void Recompute();

  RodForm m_form;
  double m_L = 0;
  CSectionPicker* m_chord = nullptr;
  QComboBox* m_pair = nullptr;
  QComboBox* m_flanges = nullptr;
  QDoubleSpinBox* m_width = nullptr;
  QDoubleSpinBox* m_depth = nullptr;
  QCheckBox* m_variable = nullptr;
  QDoubleSpinBox* m_endWidth = nullptr;
  QDoubleSpinBox* m_endDepth = nullptr;
  QDoubleSpinBox* m_Ld = nullptr;
  QDoubleSpinBox* m_battenWidth = nullptr;
  QDoubleSpinBox* m_battenThickness = nullptr;
  CSectionPicker* m_lacing = nullptr;
  QDoubleSpinBox* m_angle = nullptr;
  QDoubleSpinBox* m_spacing = nullptr;
  CSectionDrawing* m_drawing = nullptr;
  QListWidget* m_derivations = nullptr;
  QLabel* m_error = nullptr;
  QDialogButtonBox* m_buttons = nullptr;
  BuiltRodSection m_built;
};

}  // namespace tiecalc
