#pragma once
// The application: its colours, then the main window run modally.

#include "ui/MainDlg.h"

class QApplication;

namespace tiecalc {

class CMainApp {
 public:
  // Sky-blue dialogs with black text, everywhere in the program. No display
  // name is given to the application: the platform would append it to every
  // window title that does not already end in it, the about box's included.
  static void SetDialogColours(QApplication& app);

  // Qt's own dialogs in Chinese, where its translations are installed.
  static void LoadChineseTranslations(QApplication& app);

  // Runs the main window; returns when it closes.
  int InitInstance(QApplication& app, CMainDlg::PageFactory makePages);
};

}  // namespace tiecalc
