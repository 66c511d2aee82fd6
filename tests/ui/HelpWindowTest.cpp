// The manual in the help window: F1 opens the section of the page shown, the
// Markdown is rendered (headings and tables, not their marks), and every link
// of the manual leads to one of its files or pictures.
#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextTable>
#include <QUrl>

#include "QtTestApp.h"
#include "ui/HelpWindow.h"
#include "ui/MainDlg.h"
#include "ui/Pages.h"
#include "ui/XPTabCtrl.h"

namespace tiecalc {
namespace {

const QString kSource = QStringLiteral(TIECALC_SOURCE_DIR "/docs/manual");

TEST(HelpWindowTest, F1OpensTheSectionOfThePageShown) {
  test::App();
  CMainDlg dlg(&MakePages);
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  const char* headings[] = {"三杆附着", "四杆附着(一)", "四杆附着(二)", "附着杆校核"};
  for (int page = 0; page < 4; ++page) {
    dlg.Tab().SetCurSel(page);
    dlg.OnTabSelChange();
    QTest::keyClick(&dlg, Qt::Key_F1);
    auto* help = dlg.findChild<CHelpWindow*>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(QString::fromUtf8(CMainDlg::kPageSections[page]), help->Section());
    const QString text = help->Browser()->toPlainText();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(headings[page]))) << text.left(40).toStdString();
  }
  // One help window, reused.
  EXPECT_EQ(1, dlg.findChildren<CHelpWindow*>().size());
}

TEST(HelpWindowTest, TheHelpMenuFollowsTheFileMenu) {
  test::App();
  CMainDlg dlg(&MakePages);
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  const QList<QAction*> menus = dlg.MenuBar()->actions();
  ASSERT_EQ(2, menus.size());
  EXPECT_EQ(QStringLiteral("文件"), menus[0]->text());
  EXPECT_EQ(QStringLiteral("帮助"), menus[1]->text());
  const QList<QAction*> items = menus[1]->menu()->actions();
  ASSERT_EQ(2, items.size());
  EXPECT_EQ(QStringLiteral("使用说明 (F1)"), items[0]->text());
  EXPECT_EQ(QStringLiteral("关于"), items[1]->text());
  items[0]->trigger();
  auto* help = dlg.findChild<CHelpWindow*>();
  ASSERT_TRUE(help);
  EXPECT_EQ(QStringLiteral("index.md"), help->Section());
  EXPECT_TRUE(help->Browser()->toPlainText().startsWith(QStringLiteral("塔机附着计算 使用说明")));
  QString title;
  test::WhenModal(
      [&](QWidget* modal) {
        title = modal->windowTitle();
        modal->close();
      },
      [&] { items[1]->trigger(); });
  EXPECT_EQ(QStringLiteral("岱衡塔机附着计算V2.2（2013.11.13）"), title);
}

TEST(HelpWindowTest, RendersTheMarkdownOfEverySection) {
  test::App();
  CHelpWindow help(kSource);
  for (const QString& file : QDir(kSource).entryList({QStringLiteral("*.md")})) {
    help.Open(file);
    EXPECT_EQ(file, help.Section());
    const QString text = help.Browser()->toPlainText();
    EXPECT_FALSE(text.isEmpty()) << file.toStdString();
    EXPECT_FALSE(text.startsWith(u'#')) << file.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("|---|"))) << file.toStdString();
  }
  help.Open(QStringLiteral("three-rod.md"));
  int tables = 0;
  for (QTextFrame* f : help.Browser()->document()->rootFrame()->childFrames()) tables += qobject_cast<QTextTable*>(f) != nullptr;
  EXPECT_EQ(2, tables);  // the inputs and the results
  // A link followed from the contents (resolved as a click resolves it) is
  // read as Markdown too.
  help.Open(QStringLiteral("index.md"));
  help.Browser()->setSource(help.Browser()->source().resolved(QUrl(QStringLiteral("window.md"))));
  EXPECT_EQ(QStringLiteral("window.md"), help.Section());
  EXPECT_TRUE(help.Browser()->toPlainText().startsWith(QStringLiteral("窗口与操作")));
  help.Open(QStringLiteral("no-such-section.md"));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("未找到使用说明")));
}

TEST(HelpWindowTest, EveryLinkOfTheManualLeadsToItsFiles) {
  const QDir dir(kSource);
  const QStringList pictures = {QStringLiteral("images/three-rod.png"), QStringLiteral("images/four-rod-1.png"),
                                QStringLiteral("images/four-rod-2.png"), QStringLiteral("images/rod-check.png")};
  const QRegularExpression link(QStringLiteral(R"(\]\(([^)#\s]+)(#[^)]*)?\))"));
  int links = 0;
  for (const QString& file : dir.entryList({QStringLiteral("*.md")})) {
    QFile f(dir.filePath(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (auto m = link.globalMatch(text); m.hasNext(); ++links) {
      const QString target = m.next().captured(1);
      EXPECT_TRUE(dir.exists(target) || pictures.contains(target)) << file.toStdString() << ": " << target.toStdString();
    }
  }
  EXPECT_GT(links, 40);
  // Every page's section exists.
  for (const char* section : CMainDlg::kPageSections) EXPECT_TRUE(dir.exists(QString::fromUtf8(section))) << section;
}

}  // namespace
}  // namespace tiecalc
