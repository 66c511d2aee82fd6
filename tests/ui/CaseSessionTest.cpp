// The case in the window: the 文件 menu, the title mark, the question before
// unsaved work is dropped, opening (menu, drop) and the autosave restored,
// with a scripted desktop answering the questions.

#include <gtest/gtest.h>

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <deque>

#include "QtTestApp.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"
#include "ui/CaseSession.h"
#include "ui/DialogView.h"
#include "ui/MainDlg.h"
#include "ui/Pages.h"
#include "ui/XPTabCtrl.h"

namespace tiecalc {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

class ScriptedCaseDesktop : public ICaseDesktop {
 public:
  std::deque<std::optional<QString>> paths;
  std::deque<SaveAnswer> answers;
  bool restore = true;
  QStringList asked, errors;

  std::optional<QString> AskOpenPath(const QString&) override { return Next(); }
  std::optional<QString> AskSavePath(const QString&) override { return Next(); }
  SaveAnswer AskSaveChanges(const QString& question) override {
    asked << question;
    const SaveAnswer a = answers.empty() ? SaveAnswer::Cancel : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
  bool AskRestore(const QString& question) override {
    asked << question;
    return restore;
  }
  void ShowError(const QString& text) override { errors << text; }

 private:
  std::optional<QString> Next() {
    if (paths.empty()) return std::nullopt;
    auto p = paths.front();
    paths.pop_front();
    return p;
  }
};

class CaseSessionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }
  void SetUp() override { dlg = Window(); }
  std::unique_ptr<CMainDlg> Window() {
    auto w = std::make_unique<CMainDlg>(&MakePages);
    w->Session().SetDesktop(&desktop);
    w->show();
    return w;
  }
  QLineEdit* Edit(int page, int id) const { return qobject_cast<QLineEdit*>(dlg->PageView(page).Control(id)); }
  void Type(int page, int id, const char* text) {
    QLineEdit* e = Edit(page, id);
    e->selectAll();
    QTest::keyClicks(e, Q(text));
  }
  QString File(const char* name) const { return dir.filePath(Q(name)); }

  QTemporaryDir dir;
  ScriptedCaseDesktop desktop;
  std::unique_ptr<CMainDlg> dlg;
  const QString title = Q("岱衡塔机附着计算V2.2");
};

TEST_F(CaseSessionTest, FileMenuAboveThePagesWithItsItemsAndKeys) {
  ASSERT_TRUE(dlg->MenuBar());
  EXPECT_EQ(Q("文件"), dlg->FileMenu()->title());
  QStringList items;
  for (QAction* a : dlg->FileMenu()->actions())
    if (a->isVisible()) items << (a->isSeparator() ? Q("-") : a->text() + Q(" ") + a->shortcut().toString());
  EXPECT_EQ((QStringList{Q("新建 Ctrl+N"), Q("打开… Ctrl+O"), Q("保存 Ctrl+S"), Q("另存为… Ctrl+Shift+S"), Q("-"),
                         Q("生成计算书… "), Q("-"), Q("退出 ")}),
            items);
  // The tabs start below the menu bar, which spans the window.
  EXPECT_GE(dlg->Tab().y(), dlg->MenuBar()->height());
  EXPECT_EQ(dlg->width(), dlg->MenuBar()->width());
  EXPECT_EQ(title, dlg->windowTitle());
}

TEST_F(CaseSessionTest, SaveMarksChangesInTheTitleAndAsksBeforeDroppingThem) {
  Type(0, CThreeRod::kA, "2*450");
  EXPECT_EQ(title, dlg->windowTitle());  // no case yet: the title as ever
  desktop.paths = {File("工程A")};
  dlg->Session().SaveAction()->trigger();
  EXPECT_EQ(File("工程A.tiecalc"), dlg->Session().Path());
  EXPECT_EQ(Q("工程A.tiecalc - ") + title, dlg->windowTitle());
  EXPECT_EQ(QStringList{QFileInfo(File("工程A.tiecalc")).absoluteFilePath()}, dlg->Session().RecentCases());

  Type(0, CThreeRod::kB, "900");
  EXPECT_EQ(Q("工程A.tiecalc* - ") + title, dlg->windowTitle());
  Type(0, CThreeRod::kB, "0");  // back to what is saved
  EXPECT_EQ(Q("工程A.tiecalc - ") + title, dlg->windowTitle());
  Type(0, CThreeRod::kB, "900");

  // 新建: cancelled, then not saved.
  desktop.answers = {ICaseDesktop::SaveAnswer::Cancel, ICaseDesktop::SaveAnswer::Discard};
  dlg->Session().NewAction()->trigger();
  EXPECT_EQ(Q("900"), Edit(0, CThreeRod::kB)->text());
  EXPECT_EQ(QStringList{Q("“工程A.tiecalc”已修改。是否保存？")}, desktop.asked);
  dlg->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
  QTest::keyClick(Edit(0, CThreeRod::kB), Qt::Key_N, Qt::ControlModifier);  // from the field being typed in
  EXPECT_EQ(Q("0"), Edit(0, CThreeRod::kB)->text());
  EXPECT_EQ(Q("0"), Edit(0, CThreeRod::kA)->text());
  EXPECT_EQ(title, dlg->windowTitle());

  // Opening the case again; closing with changes saves them when asked to.
  desktop.paths = {File("工程A.tiecalc")};
  dlg->Session().OpenAction()->trigger();
  EXPECT_EQ(Q("2*450"), Edit(0, CThreeRod::kA)->text());
  EXPECT_EQ(Q("0"), Edit(0, CThreeRod::kB)->text());
  Type(0, CThreeRod::kH, "5000");
  desktop.answers = {ICaseDesktop::SaveAnswer::Cancel, ICaseDesktop::SaveAnswer::Save};
  dlg->close();
  EXPECT_TRUE(dlg->isVisible());
  QTest::mouseClick(dlg->Button(kIdExit), Qt::LeftButton);
  EXPECT_FALSE(dlg->isVisible());
  dlg = Window();
  dlg->Session().OpenPath(File("工程A.tiecalc"));
  EXPECT_EQ(Q("5000"), Edit(0, CThreeRod::kH)->text());
  EXPECT_EQ(Q("工程A.tiecalc - ") + title, dlg->windowTitle());
}

TEST_F(CaseSessionTest, OpeningShowsTheCasePageAndARefusedFileChangesNothing) {
  QFile good(File("杆.tiecalc"));
  ASSERT_TRUE(good.open(QIODevice::WriteOnly));
  good.write(R"({"format": "tiecalc-case", "version": 1, "page": "rod-check",
                 "pages": {"rod-check": {"form": "1", "F": "200", "delta": 10}}})");
  good.close();
  QFile bad(File("坏.tiecalc"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(R"({"format": "tiecalc-case", "version": 9})");
  bad.close();

  Type(0, CThreeRod::kA, "900");
  desktop.answers = {ICaseDesktop::SaveAnswer::Discard};
  EXPECT_FALSE(dlg->Session().OpenPath(File("坏.tiecalc")));  // refused before anything is asked
  ASSERT_EQ(1, desktop.errors.size());
  EXPECT_TRUE(desktop.errors[0].startsWith(Q("无法打开计算文件 “") + File("坏.tiecalc") + Q("”：文件版本 9")))
      << desktop.errors[0].toStdString();
  EXPECT_EQ(Q("900"), Edit(0, CThreeRod::kA)->text());
  EXPECT_TRUE(desktop.asked.isEmpty());

  // Dropped onto a field of the window.
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(File("杆.tiecalc"))});
  QLineEdit* target = Edit(0, CThreeRod::kB);
  QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  QTest::qWait(20);
  EXPECT_EQ(Q("0"), Edit(0, CThreeRod::kB)->text());  // the file's name was not typed in
  EXPECT_EQ(3, dlg->ShownPage());
  EXPECT_TRUE(dlg->PageView(3).isVisible());
  EXPECT_EQ(Q("200"), qobject_cast<QLineEdit*>(dlg->PageView(3).Control(CRodCheckPage::kF))->text());
  EXPECT_EQ(Q("10"), qobject_cast<QLineEdit*>(dlg->PageView(3).Control(CRodCheckPage::kDelta))->text());
  EXPECT_EQ(Q("0"), Edit(0, CThreeRod::kA)->text());
  EXPECT_EQ(Q("杆.tiecalc - ") + title, dlg->windowTitle());
  EXPECT_EQ(1, desktop.asked.size());
}

TEST_F(CaseSessionTest, WorkLeftByARunThatEndedAbnormallyIsOfferedAtStart) {
  Type(0, CThreeRod::kA, "2*450");
  Type(0, CThreeRod::kX1, "abc");
  const QString autosave = dlg->Session().AutosavePath();
  EXPECT_TRUE(autosave.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
  QTest::qWait(CCaseSession::kAutosaveDelayMs + 300);
  ASSERT_TRUE(QFile::exists(autosave));
  // What a crash leaves: the autosave, with no run holding it.
  const QString left = QFileInfo(autosave).dir().filePath(Q("autosave-crashed.tiecalc"));
  ASSERT_TRUE(QFile::copy(autosave, left));
  dlg.reset();
  EXPECT_FALSE(QFile::exists(autosave));  // a normal end removes its own

  dlg = Window();
  dlg->Session().Start({});
  ASSERT_EQ(1, desktop.asked.size());
  EXPECT_TRUE(desktop.asked[0].startsWith(Q("上次运行没有正常结束，留下了未保存的计算（未命名，自动保存于 ")));
  EXPECT_EQ(Q("2*450"), Edit(0, CThreeRod::kA)->text());
  EXPECT_EQ(Q("abc"), Edit(0, CThreeRod::kX1)->text());
  EXPECT_TRUE(dlg->Session().IsModified());
  EXPECT_FALSE(QFile::exists(left));

  // Nothing is offered twice, and an unsaved restored state is asked about.
  dlg.reset();
  desktop.asked.clear();
  dlg = Window();
  dlg->Session().Start({});
  EXPECT_TRUE(desktop.asked.isEmpty());
}

}  // namespace
}  // namespace tiecalc
