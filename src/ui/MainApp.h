#pragma once
// The application: its colours, then the main window run modally.

#include "ui/MainDlg.h"

class QApplication;

namespace tiecalc {

class CMainApp {
 public:
  // Sky-blue dialogs with black text, everywhere in the program.
  static void SetDialogColours(QApplication& app);

  // Runs the main window; returns when it closes.
  int InitInstance(QApplication& app, CMainDlg::PageFactory makePages);
};

}  // namespace tiecalc
