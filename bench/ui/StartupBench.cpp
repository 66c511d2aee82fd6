// Time from process start to the main window on screen, and peak memory.
// Runs the program's own start-up and closes the window once it has been
// painted; run it on a display (xvfb-run -a ...).

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include "ui/MainApp.h"
#include "ui/MainDlg.h"
#include "ui/Pages.h"

namespace {

// Seconds since the process started, from the kernel's record of its start.
double SinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  unsigned long long startTicks = 0;
  for (int i = 3; i <= 22 && fields >> field; ++i)
    if (i == 22) startTicks = std::stoull(field);
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return now.tv_sec + now.tv_nsec / 1e9 - static_cast<double>(startTicks) / sysconf(_SC_CLK_TCK);
}

class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done && event->type() == QEvent::Paint) {
      if (auto* dlg = qobject_cast<tiecalc::CMainDlg*>(watched)) {
        done = true;
        shownAfter = SinceProcessStart();
        shownAfterMain = sinceMain.elapsed() / 1000.0;
        QTimer::singleShot(0, dlg, [dlg] { dlg->done(0); });
      }
    }
    return false;
  }
  QElapsedTimer sinceMain;
  bool done = false;
  double shownAfter = 0, shownAfterMain = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  FirstPaint probe;
  probe.sinceMain.start();
  QApplication app(argc, argv);
  app.installEventFilter(&probe);
  tiecalc::CMainApp theApp;
  theApp.InitInstance(app, &tiecalc::MakePages);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("{\"shown\": %s, \"seconds_from_process_start\": %.3f, \"seconds_from_main\": %.3f, "
              "\"peak_rss_mb\": %.1f}\n",
              probe.done ? "true" : "false", probe.shownAfter, probe.shownAfterMain, usage.ru_maxrss / 1024.0);
  return probe.done ? 0 : 1;
}
