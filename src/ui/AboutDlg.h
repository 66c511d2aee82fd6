#pragma once
// The about box: the program's change log and a way to the manual's section
// on versions and updates.

#include <QDialog>
#include <QString>

#include "platform/dialog/Dialog.h"

namespace tiecalc {

DialogTemplate AboutDlgTemplate();

inline constexpr int kIdChangeLog = 1081;
inline constexpr int kIdCheckUpdate = 1047;

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  static const char* const kTitle;
  // Seven lines, each ended by "\r\n".
  static const char* const kChangeLog;

  explicit CAboutDlg(QWidget* parent = nullptr);

  QWidget* Control(int id) const;

  // "检查更新": the manual's section on versions and updates, in the help window.
  void OpenNotes();

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace tiecalc
