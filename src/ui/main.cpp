#include <QApplication>

#include "ui/MainApp.h"
#include "ui/Pages.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tiecalc::CMainApp theApp;
  return theApp.InitInstance(app, &tiecalc::MakePages);
}
