#pragma once
// The about box: the program's change log and a way to its notes.

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

  // The notes installed with the program (its README), empty when not found.
  static QString NotesPath();
  // Opens the notes with the desktop's handler for them.
  static void OpenNotes();
};

}  // namespace tiecalc
