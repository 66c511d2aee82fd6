#pragma once
// One QApplication for a test program, with the program's colours, and a way
// to answer the modal box a call is about to open.

#include <QApplication>
#include <QColor>
#include <QTemporaryDir>
#include <QTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "ui/MainApp.h"

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QColor& c, std::ostream* os) { *os << c.name(QColor::HexArgb).toStdString(); }

namespace tiecalc::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "tiecalc-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    // The window keeps settings (recent cases) and autosaves in the user's
    // folders: here, in folders of the test's own, never the machine's.
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    // Qt's own file dialog, which the tests answer, also where the system
    // has one (Windows).
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    auto* a = new QApplication(argc, argv);
    // The style the tests were written against on every system: Windows'
    // own animates state changes, so a painting would depend on timing.
    QApplication::setStyle(QStringLiteral("Fusion"));
    CMainApp::SetDialogColours(*a);
    // The settings the program remembers go to a folder of the test run.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
#ifdef _WIN32
    // Those kept in the registry (the recent cases) cannot be sent elsewhere:
    // each test program starts without them (under wine, in the tests' own
    // prefix).
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tiecalc"), QStringLiteral("tiecalc")).clear();
#endif
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

// While alive, answers the save dialogs with the paths queued (typed into
// the name field, as a user would) and confirms every message box,
// recording its text.
class ModalAnswers {
 public:
  explicit ModalAnswers(QStringList paths) : m_paths(std::move(paths)) {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
    m_timer.start();
  }
  const QStringList& Messages() const { return m_messages; }
  const QList<QMessageBox::Icon>& Icons() const { return m_icons; }
  const QStringList& Filters() const { return m_filters; }

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      if (files->property("answered").toBool()) return;
      files->setProperty("answered", true);
      m_filters = files->nameFilters();
      QTest::qWait(50);  // the dialog settles on its proposed name first
      auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (m_paths.isEmpty() || !name) return static_cast<QDialog*>(files)->reject();
      name->setText(m_paths.takeFirst());
      static_cast<QDialog*>(files)->accept();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      m_messages << box->text();
      m_icons << box->icon();
      box->accept();
    }
  }
  QTimer m_timer;
  QStringList m_paths, m_messages, m_filters;
  QList<QMessageBox::Icon> m_icons;
};

}  // namespace tiecalc::test
