#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "TiecalcVersion.h"
#include "ui/MainApp.h"
#include "ui/Pages.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool Asked(int argc, char* argv[], std::initializer_list<const char*> options) {
  for (int i = 1; i < argc; ++i)
    for (const char* option : options)
      if (std::strcmp(argv[i], option) == 0) return true;
  return false;
}

// What the window program takes, and where the batch tool is: installed
// beside this program.
void PrintUsage(const QString& folder) {
  const QString cli = QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("tiecalc-cli")));
  const QString text = QStringLiteral(
                           "用法：tiecalc [工程文件.tiecalc]\n"
                           "  打开计算窗口；给出工程文件时，窗口打开后即载入该文件。\n"
                           "  -h, --help    显示本用法后退出\n"
                           "  --version     显示版本号后退出\n"
                           "不开窗口的命令行计算（批量计算、输出文件）请用同一文件夹中的命令行程序：\n"
                           "  %1\n"
                           "其用法见 tiecalc-cli --help；使用说明见窗口的“帮助”菜单。\n")
                           .arg(cli);
  std::fputs(text.toUtf8().constData(), stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);  // what the program prints is UTF-8
#endif
  // Answered before the window starts, so that they need no display.
  if (Asked(argc, argv, {"--help", "-h"})) {
    const QCoreApplication core(argc, argv);  // for the program's folder only
    PrintUsage(QCoreApplication::applicationDirPath());
    return 0;
  }
  if (Asked(argc, argv, {"--version"})) {
    std::printf("tiecalc %s\n", tiecalc::kVersion);
    return 0;
  }
  QApplication app(argc, argv);
  tiecalc::CMainApp theApp;
  return theApp.InitInstance(app, &tiecalc::MakePages);
}
