#include "ui/MainApp.h"

#include <QApplication>
#include <QPalette>

namespace tiecalc {

void CMainApp::SetDialogColours(QApplication& app) {
  QPalette palette = app.palette();
  const QColor sky(135, 206, 235);
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(g, QPalette::Window, sky);
    palette.setColor(g, QPalette::WindowText, Qt::black);
  }
  app.setPalette(palette);
}

int CMainApp::InitInstance(QApplication& app, CMainDlg::PageFactory makePages) {
  SetDialogColours(app);
  CMainDlg dlg(std::move(makePages));
  dlg.exec();
  return 0;
}

}  // namespace tiecalc
