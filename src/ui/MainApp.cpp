#include "ui/MainApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QTimer>
#include <QTranslator>

#include "ui/CaseSession.h"

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

void CMainApp::LoadChineseTranslations(QApplication& app) {
  // The desktop's own dialogs (the save dialog, the buttons of a message
  // box) speak Chinese like the rest of the program, where Qt's translations
  // are installed, or embedded (Windows); elsewhere they stay as they are.
  auto* translator = new QTranslator(&app);
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  const auto load = [&](const QString& folder) {
    return translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder);
  };
  if (load(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) || load(QStringLiteral(":/translations")))
    app.installTranslator(translator);
  else
    delete translator;
}

int CMainApp::InitInstance(QApplication& app, CMainDlg::PageFactory makePages) {
  SetDialogColours(app);
  LoadChineseTranslations(app);
  CMainDlg dlg(std::move(makePages));
  // Once the window is up: the work a run that ended abnormally left, then
  // a case named on the command line (tiecalc FILE.tiecalc).
  const QStringList files = app.arguments().mid(1);
  QTimer::singleShot(0, &dlg, [&dlg, files] { dlg.Session().Start(files); });
  dlg.exec();
  return 0;
}

}  // namespace tiecalc
