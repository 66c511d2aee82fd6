// The case in the window: the 文件 menu, the title mark, the question before
// unsaved work is dropped, opening (menu, drop) and the autosave restored,
// the book's settings and levels kept with the case, with a scripted desktop
// answering the questions.

#include <gtest/gtest.h>

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QMimeData>
#include <QTableWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <deque>

#include "QtTestApp.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"
#include "platform/path/Utf8Path.h"
#include "ui/BookDialogs.h"
#include "ui/CaseSession.h"
#include "ui/DialogView.h"
#include "ui/LevelPanel.h"
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
  bool restore = true, confirm = true;
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
  bool AskConfirm(const QString& question) override {
    asked << question;
    return confirm;
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
  CasePages Named() const { return CasePagesOf(dlg->Pages()); }
  // The book settings as the file writes them, the shown level's inputs
  // taken from the pages: equal texts, equal settings.
  std::string BookNow() const {
    CaseState state;
    state.book = CaptureCase(Named(), "three-rod", dlg->Session().Book()).book;
    return WriteCase(state);
  }
  static std::string BookText(const CaseBook& book) {
    CaseState state;
    state.book = book;
    return WriteCase(state);
  }

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
                         Q("工程信息… "), Q("荷载工况… "), Q("杆件截面… "), Q("生成计算书… "), Q("-"), Q("退出 ")}),
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

// Every part of a book object; the level shown (1) holds the pages' inputs.
const char* const kBookCase = R"({"format": "tiecalc-case", "version": 1, "page": "three-rod",
  "pages": {"three-rod": {"A": "450", "R": "80"}},
  "book": {"project": {"name": "某住宅楼", "site": "某市", "crane": "QTZ80", "level": "第二道", "elevation": "45",
                       "author": "甲", "checker": "乙", "approver": "丙", "date": "2026-01-02"},
           "cases": [{"name": "工作状态", "R": "80", "M": "2*150"}, {"name": "非工作状态", "R": "120", "M": "0"}],
           "sections": [{"rods": [1, 3], "inputs": {"form": "1", "A": "1200"}}],
           "levels": [{"name": "第一道", "height": "30.5", "pages": {"three-rod": {"A": "900", "R": "70"}},
                       "cases": [{"name": "独立", "R": "1", "M": "2"}]},
                      {"name": "第二道", "height": "45", "pages": {"three-rod": {"A": "450", "R": "80"}}}],
           "level": 1}})";

TEST_F(CaseSessionTest, TheBookObjectSurvivesSaveAutosaveAndRestoreAndItsEditsMarkTheCase) {
  QFile file(File("书.tiecalc"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kBookCase);
  file.close();
  ASSERT_TRUE(dlg->Session().OpenPath(File("书.tiecalc")));
  CaseBook opened = ParseCase(kBookCase, Named()).book;
  EXPECT_EQ(BookText(opened), BookText(dlg->Session().Book()));
  EXPECT_EQ(BookText(opened), BookText(dlg->Pages().Book()));  // the 计算书 buttons see it
  EXPECT_EQ(Q("450"), Edit(0, CThreeRod::kA)->text());
  ASSERT_TRUE(dlg->Session().Save());
  const CaseBook saved = ReadCaseFile(PathFromUtf8(File("书.tiecalc").toStdString()), Named()).book;
  // The level shown keeps the pages' inputs, every one of them; the rest is
  // the file's, item for item.
  const CasePage* shown = saved.levels.at(1).Find("three-rod");
  ASSERT_TRUE(shown);
  EXPECT_EQ(CapturePage("three-rod", dlg->Pages().ThreeRod()).inputs.size(), shown->inputs.size());
  opened.levels[1].pages = saved.levels[1].pages;
  EXPECT_EQ(BookText(opened), BookText(saved));

  // A change of the settings marks the case; undone, it does not.
  const QString clean = Q("书.tiecalc - ") + title;
  EXPECT_EQ(clean, dlg->windowTitle());
  CaseBook book = dlg->Session().Book();
  book.project.name = "另一楼";
  dlg->Session().SetBook(book);
  EXPECT_EQ(Q("书.tiecalc* - ") + title, dlg->windowTitle());
  EXPECT_EQ("另一楼", dlg->Pages().Book().project.name);
  book.project.name = "某住宅楼";
  dlg->Session().SetBook(book);
  EXPECT_EQ(clean, dlg->windowTitle());

  // The autosave holds the settings and its restore brings them back.
  book.cases.pop_back();
  dlg->Session().SetBook(book);
  const std::string expected = BookNow();
  dlg->Session().WriteAutosave();
  ASSERT_TRUE(QFile::copy(dlg->Session().AutosavePath(),
                          QFileInfo(dlg->Session().AutosavePath()).dir().filePath(Q("autosave-book.tiecalc"))));
  dlg.reset();
  dlg = Window();
  dlg->Session().Start({});
  EXPECT_EQ(expected, BookText(dlg->Session().Book()));
  EXPECT_EQ(expected, BookText(dlg->Pages().Book()));
  EXPECT_TRUE(dlg->Session().IsModified());
}

TEST_F(CaseSessionTest, ChoosingALevelBringsItsInputsAndKeepsTheOthersEdits) {
  const auto A = [&] { return Edit(0, CThreeRod::kA)->text(); };
  const auto F = [&] { return Edit(3, CRodCheckPage::kF)->text(); };
  const auto names = [&] {
    QStringList out;
    for (const CaseLevel& l : dlg->Session().Book().levels) out << Q(l.name.c_str()) + Q("@") + Q(l.height.c_str());
    return out;
  };
  Type(0, CThreeRod::kA, "111");
  EXPECT_EQ(Q("第一道"), dlg->Session().NextLevelName());
  ASSERT_TRUE(dlg->Session().AddLevel(Q("第一道"), Q("30")));  // the pages as they show
  EXPECT_EQ(Q("111"), A());
  EXPECT_EQ(Q("第二道"), dlg->Session().NextLevelName());
  ASSERT_TRUE(dlg->Session().AddLevel(Q("第二道"), Q("45")));  // start texts, chosen
  EXPECT_EQ(Q("0"), A());
  EXPECT_EQ(1, dlg->Session().Book().level);
  Type(0, CThreeRod::kA, "222");
  Type(3, CRodCheckPage::kF, "200");
  ASSERT_TRUE(dlg->Session().ChooseLevel(0));
  EXPECT_EQ(Q("111"), A());
  EXPECT_EQ(Q("200"), F());  // the rod-check page keeps its inputs
  EXPECT_EQ(0, dlg->Pages().Book().level);
  ASSERT_TRUE(dlg->Session().ChooseLevel(1));
  EXPECT_EQ(Q("222"), A());
  EXPECT_EQ(1, dlg->LevelPanel().List()->currentRow());

  // Names refused: empty, taken.
  const struct {
    const char* name;
    int except;
    const char* why;
  } refusals[] = {{" ", -1, "附着道次的名称不能为空。"},
                  {"第一道", 1, "已有名为“第一道”的附着道次，请换一个名称。"},
                  {"第二道", 1, ""}};
  for (const auto& r : refusals) EXPECT_EQ(Q(r.why), dlg->Session().LevelNameRefusal(Q(r.name), r.except)) << r.name;
  EXPECT_FALSE(dlg->Session().RenameLevel(1, Q("第一道"), Q("45")));
  EXPECT_EQ(QStringList{Q("已有名为“第一道”的附着道次，请换一个名称。")}, desktop.errors);

  ASSERT_TRUE(dlg->Session().CopyLevel(Q("第三道"), Q("60")));  // after the one shown, chosen
  ASSERT_TRUE(dlg->Session().RenameLevel(0, Q("首道"), Q("29")));
  EXPECT_EQ((QStringList{Q("首道@29"), Q("第二道@45"), Q("第三道@60")}), names());
  EXPECT_EQ(Q("222"), A());
  EXPECT_EQ(3, dlg->LevelPanel().List()->count());

  // Deleting asks; the shown level's neighbour is shown, the last one
  // leaves the pages as they are.
  desktop.confirm = false;
  EXPECT_FALSE(dlg->Session().DeleteLevel(2));
  desktop.confirm = true;
  Type(0, CThreeRod::kA, "333");
  ASSERT_TRUE(dlg->Session().DeleteLevel(2));
  EXPECT_EQ((QStringList{Q("首道@29"), Q("第二道@45")}), names());
  EXPECT_EQ(Q("222"), A());
  ASSERT_TRUE(dlg->Session().DeleteLevel(0));
  EXPECT_EQ(0, dlg->Session().Book().level);
  EXPECT_EQ(Q("222"), A());
  ASSERT_TRUE(dlg->Session().DeleteLevel(0));
  EXPECT_TRUE(dlg->Session().Book().levels.empty());
  EXPECT_TRUE(dlg->LevelPanel().EmptyHint()->isVisibleTo(&dlg->LevelPanel()));
  EXPECT_EQ(Q("222"), A());
  EXPECT_EQ(Q("200"), F());
}

TEST_F(CaseSessionTest, TheBookDialogsStoreOnOkAndKeepOnCancel) {
  // 工程信息: 日期 starts as today; Cancel keeps, OK stores.
  const auto project = [&](const char* name, bool ok) {
    test::WhenModal(
        [&](QWidget* modal) {
          auto* d = qobject_cast<CProjectDialog*>(modal);
          ASSERT_TRUE(d);
          EXPECT_EQ(QDate::currentDate().toString(Qt::ISODate), d->Field("date")->text());
          d->Field("name")->setText(Q(name));
          ok ? d->accept() : d->reject();
        },
        [&] { dlg->OnProject(); });
  };
  project("不存", false);
  EXPECT_TRUE(dlg->Session().Book().Empty());
  project(" 某住宅楼 ", true);
  EXPECT_EQ("某住宅楼", dlg->Session().Book().project.name);
  EXPECT_EQ(QDate::currentDate().toString(Qt::ISODate).toStdString(), dlg->Pages().Book().project.date);

  // 荷载工况: the two states first; a repeated name, an empty one, an R the
  // reader cannot take are refused.
  CLoadCaseDialog cases(dlg->Session().Book());
  EXPECT_FALSE(cases.OwnCases());
  cases.AddCase();
  cases.AddCase();
  cases.AddCase();
  const auto cell = [&](int r, int c) { return cases.Table()->item(r, c); };
  EXPECT_EQ((QStringList{Q("工作状态"), Q("非工作状态"), Q("工况1")}),
            (QStringList{cell(0, 0)->text(), cell(1, 0)->text(), cell(2, 0)->text()}));
  cases.Table()->setCurrentCell(2, 0);
  cases.DeleteCase();
  const struct {
    int row, column;
    const char* text;
    const char* why;
  } edits[] = {{0, 1, "100kN", "工况“工作状态”的 R “100kN”：数值后不能写单位或字母“kN”，按 0 计算"},
               {0, 1, "2*40", ""},
               {1, 0, "工作状态", "工况名称“工作状态”重复（第 1、2 行），每个工况的名称应不同。"},
               {1, 0, "", "第 2 行的工况名称为空，请填写名称。"},
               {1, 0, "非工作状态", ""},
               {1, 2, "", "工况“非工作状态”的 M 为空。"},
               {1, 2, "300", ""}};
  for (const auto& e : edits) {
    cell(e.row, e.column)->setText(Q(e.text));
    EXPECT_EQ(Q(e.why), cases.Refusal()) << e.text;
  }
  cases.Table()->setCurrentCell(1, 0);
  cases.MoveCase(-1);
  const std::vector<CaseLoadCase> typed = {{"非工作状态", "0", "300"}, {"工作状态", "2*40", "0"}};
  EXPECT_EQ(typed, cases.Book().cases);

  // With levels: the level's own cases where the box is ticked, else the
  // shared ones.
  ASSERT_TRUE(dlg->Session().AddLevel(Q("第一道"), Q("")));
  CaseBook book = dlg->Session().Book();
  book.cases = typed;
  CLoadCaseDialog perLevel(book);
  ASSERT_TRUE(perLevel.OwnCases());
  EXPECT_FALSE(perLevel.OwnCases()->isChecked());
  EXPECT_EQ(2, perLevel.Table()->rowCount());
  perLevel.OwnCases()->setChecked(true);
  perLevel.DeleteCase();
  perLevel.Table()->setCurrentCell(0, 0);
  perLevel.DeleteCase();
  EXPECT_EQ(typed, perLevel.Book().cases);
  EXPECT_EQ((std::vector<CaseLoadCase>{typed[1]}), perLevel.Book().levels[0].cases);
  perLevel.OwnCases()->setChecked(false);
  EXPECT_TRUE(perLevel.Book().levels[0].cases.empty());

  // 杆件截面: the rod-check page as it is, for the rods selected; a rod
  // taken again leaves its group, an emptied group goes.
  Type(3, CRodCheckPage::kA, "1500");
  CRodSectionsDialog sections(dlg->Session().Book(), dlg->Pages().RodCheck());
  const auto select = [&](std::initializer_list<int> rows) {
    sections.Table()->clearSelection();
    for (int r : rows) sections.Table()->selectRow(r);
  };
  sections.Table()->setSelectionMode(QAbstractItemView::MultiSelection);
  select({0, 2});
  sections.TakePageSection();
  select({2});
  sections.TakePageSection();
  select({0});
  sections.BackToPageSection();
  ASSERT_EQ(1u, sections.Book().sections.size());
  EXPECT_EQ(std::vector<int>{3}, sections.Book().sections[0].rods);
  EXPECT_EQ((QStringList{Q("校核页截面"), Q("校核页截面"), Q("实腹式，A=1500 mm²"), Q("校核页截面")}),
            (QStringList{sections.Table()->item(0, 1)->text(), sections.Table()->item(1, 1)->text(),
                         sections.Table()->item(2, 1)->text(), sections.Table()->item(3, 1)->text()}));
}

}  // namespace
}  // namespace tiecalc
