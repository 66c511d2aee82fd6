#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "TiecalcVersion.h"

namespace {

// tiecalc's own options are answered on stdout before any window: the
// program runs with a display platform that does not exist, so starting the
// window would fail.
TEST(WindowProgramTest, HelpAndVersionPrintAndExitWithoutAWindow) {
  const QString usage = QStringLiteral("用法：tiecalc [工程文件.tiecalc]");
  const struct {
    QStringList args;
    QString firstLine;
  } rows[] = {
      {{QStringLiteral("--help")}, usage},
      {{QStringLiteral("-h")}, usage},
      {{QStringLiteral("工程.tiecalc"), QStringLiteral("--help")}, usage},
      {{QStringLiteral("--version")}, QStringLiteral("tiecalc ") + QString::fromUtf8(tiecalc::kVersion)},
  };
  for (const auto& row : rows) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-display"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TIECALC_WINDOW_PROGRAM), row.args);
    ASSERT_TRUE(program.waitForFinished(30000)) << row.args.join(' ').toStdString();
    const QString out = QString::fromUtf8(program.readAllStandardOutput()).remove(QLatin1Char('\r'));
    const std::string what = row.args.join(' ').toStdString() + ": " + out.toStdString();
    EXPECT_EQ(QProcess::NormalExit, program.exitStatus()) << what;
    EXPECT_EQ(0, program.exitCode()) << what;
    EXPECT_EQ(row.firstLine, out.section(QLatin1Char('\n'), 0, 0)) << what;
    EXPECT_TRUE(program.readAllStandardError().isEmpty()) << what;
    if (row.firstLine == usage) {
      EXPECT_TRUE(out.contains(QStringLiteral("tiecalc-cli --help"))) << what;
      EXPECT_TRUE(out.endsWith(QStringLiteral("“帮助”菜单。\n"))) << what;
    }
  }
}

}  // namespace
