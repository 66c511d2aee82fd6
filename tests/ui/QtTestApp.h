#pragma once
// One QApplication for a test program, with the program's colours, and a way
// to answer the modal box a call is about to open.

#include <QApplication>
#include <QTimer>
#include <functional>

#include "ui/MainApp.h"

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace tiecalc::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "tiecalc-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    CMainApp::SetDialogColours(*a);
    return a;
  }();
  return *app;
}

// Runs `answer` on the first modal window that opens from within `call`.
inline void WhenModal(const std::function<void(QWidget*)>& answer, const std::function<void()>& call) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start();
  call();
}

}  // namespace tiecalc::test
