#pragma once
// The force chart window: a non-modal window beside the main window with the
// chart of the force page shown. It follows the page switches and every
// change of the page's inputs; while the inputs are invalid it keeps the
// page's last valid curves, greyed, under the page's status. It can be
// resized, and copies or saves the chart as it shows it (PNG or SVG); the
// greyed curves of invalid inputs are not saved (the refusal says why), and
// a chart from unreadable fields only when the user goes on.

#include <QWidget>
#include <array>
#include <optional>

#include "chart/ForceChart.h"

class QPushButton;

namespace tiecalc {

class CMainDlg;
class CPage;

// The chart itself, drawn by the chart module at the screen's resolution.
class CChartCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit CChartCanvas(QWidget* parent = nullptr);
  // No data: the canvas shows `note` alone.
  void SetChart(const std::optional<ForceChartData>& data, const ChartState& state, const QString& note = {});
  bool HasChart() const { return m_data.has_value(); }
  // The scene at the canvas's size, as shown.
  ChartScene Scene() const;
  // The picture as shown, at the screen's resolution.
  QImage Image() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<ForceChartData> m_data;
  ChartState m_state;
  ChartBitmap m_bitmap;
  QString m_note;
};

class CChartWindow : public QWidget {
  Q_OBJECT
 public:
  static const char* const kTitle;
  static const char* const kCopyCaption;
  static const char* const kSaveCaption;

  explicit CChartWindow(CMainDlg& main);

  // Shows the window beside the main window, inside the screen (raised if
  // it is open already).
  void Open();
  // Draws the chart of the page shown now.
  void Refresh();

  CChartCanvas& Canvas() const { return *m_canvas; }
  QPushButton* CopyButton() const { return m_copy; }
  QPushButton* SaveButton() const { return m_save; }

  void OnCopy();
  void OnSave();

 private:
  CMainDlg& m_main;
  CChartCanvas* m_canvas = nullptr;
  QPushButton* m_copy = nullptr;
  QPushButton* m_save = nullptr;
  // The last valid chart of each force page.
  std::array<std::optional<ForceChartData>, 3> m_last;
};

}  // namespace tiecalc
