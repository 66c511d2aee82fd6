#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QClipboard>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QFileInfo>
#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QListWidget>
#include <QJsonObject>
#include <QProcess>
#include <map>
#include <QUrl>

#include "QtTestApp.h"
#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/ThreeRod.h"
#include "ui/AboutDlg.h"
#if TIECALC_HAVE_CHART
#include "ui/ChartWindow.h"
#endif
#include "ui/DialogView.h"
#include "ui/HelpWindow.h"
#include "ui/MainDlg.h"
#include "ui/SectionDialog.h"
#include "ui/Pages.h"
#include "ui/WindowPlace.h"
#include "ui/XPTabCtrl.h"

namespace tiecalc {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

// The width an edit has for its text: inside its frame and text margins.
int TextRoom(QLineEdit* e) {
  QStyleOptionFrame option;
  option.initFrom(e);
  option.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e);
  const QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
  const QMargins m = e->textMargins();
  return contents.width() - m.left() - m.right() - 2 * 2;  // the edit keeps 2 px each side free
}

// The worked examples, by the pages' short names.
const std::vector<std::vector<std::pair<const char*, const char*>>> kExamples = {
    {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"}, {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"},
     {"H", "5000"}, {"R", "100"}, {"M", "200"}, {"theta", "30"}},
    {{"A", "800"}, {"B", "800"}, {"C", "800"}, {"D", "800"}, {"E", "800"}, {"F", "800"}, {"X1", "3000"},
     {"X2", "3000"}, {"X3", "1200"}, {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"}, {"R", "100"}, {"M", "300"},
     {"theta", "30"}},
    {{"A", "900"}, {"B", "900"}, {"C", "300"}, {"D", "1000"}, {"E", "300"}, {"F", "100"}, {"G", "300"},
     {"H", "1000"}, {"X1", "3500"}, {"X2", "3500"}, {"X3", "1500"}, {"X4", "1500"}, {"Y1", "4500"},
     {"Y2", "4500"}, {"R", "100"}, {"M", "300"}, {"theta", "30"}},
    {{"form", "1"}, {"F", "200"}, {"L", "8000"}, {"G", "800"}, {"A", "6000"}, {"h", "250"}, {"Imax", "150000000"},
     {"Imin", "150000000"}, {"Az", "1000"}, {"I1", "2000000"}, {"Iz", "500000"}, {"delta", "10"}, {"L1", "600"},
     {"a", "400"}}};

class MainDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }
  void SetUp() override {
    dlg = std::make_unique<CMainDlg>(&MakePages);
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  }
  QLineEdit* Edit(int page, int id) const { return qobject_cast<QLineEdit*>(dlg->PageView(page).Control(id)); }
  void Type(int page, int id, const char* text) {
    QLineEdit* e = Edit(page, id);
    e->selectAll();
    const QString typed = Q(text);
    if (typed.toLatin1() == typed.toUtf8()) {
      QTest::keyClicks(e, typed);
    } else {  // typed with an input method: the text comes in one event
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
      QApplication::sendEvent(e, &key);
    }
  }
  std::vector<bool> Shown() const {
    std::vector<bool> out;
    for (int i = 0; i < dlg->PageCount(); ++i) out.push_back(dlg->PageView(i).isVisible());
    return out;
  }
  void ClickTab(int index) {
    QTest::mouseClick(&dlg->Tab(), Qt::LeftButton, {}, dlg->Tab().GetItemRect(index).center());
    QApplication::processEvents();  // the page's scroll area settles
  }
  // The worked example of a page typed in, as an engineer would.
  void TypeExample(int page) {
    const auto& names = static_cast<const CPage&>(dlg->Page(page));
    for (const auto& [name, text] : kExamples[static_cast<size_t>(page)]) {
      QWidget* w = dlg->PageView(page).Control(names.IdOf(name));
      ASSERT_TRUE(w) << name;
      if (auto* list = qobject_cast<QComboBox*>(w)) {
        emit list->activated(std::atoi(text));
      } else {
        Type(page, names.IdOf(name), text);
      }
    }
  }
  std::unique_ptr<CMainDlg> dlg;
};

TEST_F(MainDlgTest, StartsWithTitleCaptionsPageZeroAndTheSwitchOff) {
  EXPECT_EQ(Q("岱衡塔机附着计算V2.2"), dlg->windowTitle());
  const CXPTabCtrl& tab = dlg->Tab();
  ASSERT_EQ(4, tab.GetItemCount());
  EXPECT_EQ(Q(" 三 杆 附 着 "), tab.GetItemText(0));
  EXPECT_EQ(Q(" 四 杆 附 着 (一) "), tab.GetItemText(1));
  EXPECT_EQ(Q(" 四 杆 附 着 (二) "), tab.GetItemText(2));
  EXPECT_EQ(Q(" 附 着 杆 校 核 "), tab.GetItemText(3));
  EXPECT_EQ(0, tab.GetCurSel());
  EXPECT_EQ((std::vector<bool>{true, false, false, false}), Shown());
  EXPECT_EQ(Q("置  顶"), dlg->Button(kIdTopMost)->text());
  EXPECT_EQ(Q("关  于"), dlg->Button(kIdAbout)->text());
  EXPECT_EQ(Q("退  出"), dlg->Button(kIdExit)->text());
  EXPECT_TRUE(dlg->Button(kIdAbout)->isDefault());
  EXPECT_FALSE(dlg->IsTopMost());
  EXPECT_FALSE(dlg->windowIcon().isNull());
  // The pages in order, each after its start sequence.
  EXPECT_EQ(140, dlg->Page(0).Template().id);
  EXPECT_EQ(141, dlg->Page(1).Template().id);
  EXPECT_EQ(142, dlg->Page(2).Template().id);
  EXPECT_EQ(143, dlg->Page(3).Template().id);
  auto* status = qobject_cast<QLabel*>(dlg->PageView(0).Control(CThreeRod::kStatus));
  ASSERT_TRUE(status);
  EXPECT_EQ(Q("请设定参数!"), status->text());
  EXPECT_EQ(Q("0"), Edit(0, CThreeRod::kA)->text());
  auto* message = qobject_cast<QPlainTextEdit*>(dlg->PageView(3).Control(CRodCheckPage::kMessage));
  ASSERT_TRUE(message);
  EXPECT_EQ(Q("请设定计算参数!"), message->toPlainText());
  // Every tooltip of the pages' tables is on its control, and only those.
  int tips = 0;
  for (int page = 0; page < dlg->PageCount(); ++page)
    for (const ControlTemplate& c : dlg->Page(page).Template().controls) {
      if (c.id == kStaticId) continue;
      EXPECT_EQ(Q(c.tooltip.c_str()), dlg->PageView(page).Control(c.id)->toolTip()) << c.id;
      tips += !c.tooltip.empty();
    }
  EXPECT_GT(tips, 80);
  EXPECT_EQ(Q("F!=0,单位(kN)"), dlg->PageView(3).Control(CRodCheckPage::kF)->toolTip());
  // The main window's background is the program's sky blue.
  EXPECT_EQ(QColor(135, 206, 235), dlg->palette().color(QPalette::Window));
}

TEST_F(MainDlgTest, TheProgramRunsItsWindowModallyWithTheTitlesAsWritten) {
  bool ran = false;
  test::WhenModal(
      [&](QWidget* modal) {
        auto* main = qobject_cast<CMainDlg*>(modal);
        ASSERT_TRUE(main);
        ran = true;
        EXPECT_EQ(Q("岱衡塔机附着计算V2.2"), main->windowTitle());
        EXPECT_EQ(QColor(135, 206, 235), main->palette().color(QPalette::Window));
        EXPECT_EQ(QColor(Qt::black), main->palette().color(QPalette::WindowText));
        // The save dialog and the buttons of message boxes speak Chinese too.
        EXPECT_EQ(Q("确定"), QCoreApplication::translate("QPlatformTheme", "OK"));
        // The platform appends a display name given to the application to
        // every window title that does not already end in it.
        const QString shownName = QGuiApplication::applicationDisplayName();
        if (shownName != QCoreApplication::applicationName()) {
          for (const char* t : {CMainDlg::kTitle, CAboutDlg::kTitle}) {
            EXPECT_TRUE(Q(t).endsWith(shownName)) << t << " would show as \"" << t << " — "
                                                   << shownName.toStdString() << "\"";
          }
        }
        QTest::mouseClick(main->Button(kIdExit), Qt::LeftButton);
      },
      [&] { EXPECT_EQ(0, CMainApp().InitInstance(test::App(), &MakePages)); });
  EXPECT_TRUE(ran);
}

TEST_F(MainDlgTest, SwitchingTabsShowsOnePageAndKeepsContents) {
  Type(0, CThreeRod::kA, "2*450");
  ClickTab(2);
  EXPECT_EQ(2, dlg->Tab().GetCurSel());
  EXPECT_EQ((std::vector<bool>{false, false, true, false}), Shown());
  ClickTab(3);
  EXPECT_EQ((std::vector<bool>{false, false, false, true}), Shown());
  ClickTab(0);
  EXPECT_EQ((std::vector<bool>{true, false, false, false}), Shown());
  EXPECT_EQ(Q("2*450"), Edit(0, CThreeRod::kA)->text());
  EXPECT_EQ("2*450", dlg->Page(0).GetText(CThreeRod::kA));
  // No selection shows the three-rod page.
  ClickTab(1);
  dlg->Tab().SetCurSel(-1);
  dlg->OnTabSelChange();
  EXPECT_EQ((std::vector<bool>{true, false, false, false}), Shown());
  // Tab leads from the strip into the page shown.
  dlg->Tab().setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(Edit(0, CThreeRod::kA), QApplication::focusWidget());
  // The arrow keys move along the strip.
  dlg->Tab().SetCurSel(0);
  dlg->Tab().setFocus();
  QTest::keyClick(&dlg->Tab(), Qt::Key_Right);
  EXPECT_EQ((std::vector<bool>{false, true, false, false}), Shown());
}

// A page changed while hidden shows it when its tab comes up: the rod-check
// page follows the rod chosen in 轴力取自 while the frame is typed.
TEST_F(MainDlgTest, TheRodCheckTabShowsTheChosenRodTypedMeanwhile) {
  ClickTab(3);
  emit qobject_cast<QComboBox*>(dlg->PageView(3).Control(CRodCheckPage::kSource))->activated(5);  // 四杆附着(一) 杆2
  ClickTab(1);
  TypeExample(1);
  ClickTab(3);
  EXPECT_EQ(Q("1185.40"), Edit(3, CRodCheckPage::kF)->text());
  EXPECT_EQ(Q("3352.53"), Edit(3, CRodCheckPage::kL)->text());
}

TEST_F(MainDlgTest, TheOnTopSwitchTwiceReturnsToTheStart) {
  const QRect place = dlg->geometry();
  QTest::mouseClick(dlg->Button(kIdTopMost), Qt::LeftButton);
  EXPECT_TRUE(dlg->IsTopMost());
  EXPECT_EQ(Q("不置顶"), dlg->Button(kIdTopMost)->text());
  EXPECT_TRUE(dlg->isVisible());
  QTest::mouseClick(dlg->Button(kIdTopMost), Qt::LeftButton);
  EXPECT_FALSE(dlg->IsTopMost());
  EXPECT_EQ(Q("置  顶"), dlg->Button(kIdTopMost)->text());
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(place.size(), dlg->geometry().size());
}

TEST_F(MainDlgTest, TheOnTopSwitchDoesNotEndTheRunningWindow) {
  dlg->hide();
  std::vector<bool> running;
  QTimer::singleShot(50, [&] {
    QTest::mouseClick(dlg->Button(kIdTopMost), Qt::LeftButton);
    QTimer::singleShot(50, [&] {
      running.push_back(dlg->isVisible() && dlg->IsTopMost());
      QTest::mouseClick(dlg->Button(kIdTopMost), Qt::LeftButton);
      QTimer::singleShot(50, [&] {
        running.push_back(dlg->isVisible() && !dlg->IsTopMost());
        QTest::mouseClick(dlg->Button(kIdExit), Qt::LeftButton);
      });
    });
  });
  // Bound to the window: the guard must not fire into a later test.
  QTimer::singleShot(5000, dlg.get(), [&] { dlg->reject(); });
  EXPECT_EQ(QDialog::Accepted, dlg->exec());
  EXPECT_EQ((std::vector<bool>{true, true}), running);
}

TEST_F(MainDlgTest, EscNeverEndsTheWindowAndExitDoes) {
  dlg->hide();
  std::vector<bool> visibleAfterEsc;
  QTimer::singleShot(50, [&] {
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    QTest::keyClick(dlg->Button(kIdTopMost), Qt::Key_Escape);
    visibleAfterEsc.push_back(dlg->isVisible());
    QTest::mouseClick(dlg->Button(kIdExit), Qt::LeftButton);
  });
  EXPECT_EQ(QDialog::Accepted, dlg->exec());
  EXPECT_EQ(std::vector<bool>{true}, visibleAfterEsc);
}

TEST_F(MainDlgTest, EnterAndEscInAPageNeitherCloseNorPressAnything) {
  for (int page = 0; page < 4; ++page) {
    ClickTab(page);
    for (QWidget* w : dlg->PageView(page).Widgets()) {
      if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w)) continue;
      w->setFocus();
      for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(w, key);
    }
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->PageView(page).isVisible());
    // The about box (the default button) did not open.
    EXPECT_EQ(nullptr, QApplication::activeModalWidget());
  }
  EXPECT_EQ(Q("请设定参数!"), qobject_cast<QLabel*>(dlg->PageView(0).Control(CThreeRod::kStatus))->text());
}

// What a control's text needs to be read whole.
bool TextFits(QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  auto widest = [&](const QString& text) {
    int width = 0;
    for (const QString& line : text.split(u'\n')) width = std::max(width, fm.horizontalAdvance(line));
    return width;
  };
  if (auto* l = qobject_cast<QLabel*>(w))
    return l->wordWrap() ? l->heightForWidth(l->width()) <= l->height() : widest(l->text()) <= l->width();
  if (auto* b = qobject_cast<QPushButton*>(w))
    return widest(b->text()) + 4 <= b->width() && fm.height() * (b->text().count(u'\n') + 1) <= b->height();
  if (auto* c = qobject_cast<QCheckBox*>(w)) return c->sizeHint().width() <= c->width();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return fm.height() + 2 <= e->height();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return widest(g->title()) + 16 <= g->width();
  return true;
}

TEST_F(MainDlgTest, EveryControlIsOnItsPageWholeAndApart) {
  for (int page = 0; page < dlg->PageCount(); ++page) {
    ClickTab(page);
    const CDialogView& view = dlg->PageView(page);
    const QRect pageRect = view.rect();
    // The page lies on the tab control below its strip, whole at the
    // window's natural size: nothing to scroll.
    const QScrollArea* area = dlg->PageArea(page);
    EXPECT_TRUE(dlg->Tab().rect().adjusted(-2, 0, 0, 0).contains(area->geometry())) << page;
    EXPECT_GE(area->geometry().top(), dlg->Tab().GetItemRect(0).bottom()) << page;
    if (dlg->size() == dlg->NaturalSize()) {  // a small screen scrolls instead
      EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << page;
      EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << page;
    }
    const DialogTemplate& t = view.Dialog().Template();
    ASSERT_EQ(t.controls.size(), view.Widgets().size());
    for (size_t i = 0; i < t.controls.size(); ++i) {
      QWidget* w = view.Widgets()[i];
      const std::string what = std::to_string(t.id) + " control " + std::to_string(t.controls[i].id) + " \"" +
                               t.controls[i].caption + "\"";
      EXPECT_TRUE(w->isVisible()) << what;
      EXPECT_TRUE(pageRect.contains(w->geometry())) << what;
      EXPECT_TRUE(TextFits(w)) << what << " clips its text";
      if (qobject_cast<QGroupBox*>(w)) continue;
      for (size_t j = i + 1; j < t.controls.size(); ++j) {
        QWidget* other = view.Widgets()[j];
        if (qobject_cast<QGroupBox*>(other)) continue;
        EXPECT_FALSE(w->geometry().intersects(other->geometry()))
            << what << " overlaps control " << t.controls[j].id << " \"" << t.controls[j].caption << "\"";
      }
    }
  }
  // The main window's own controls.
  EXPECT_TRUE(TextFits(dlg->InfoLabel()));
  for (int id : {kIdTopMost, kIdAbout, kIdExit}) EXPECT_TRUE(TextFits(dlg->Button(id))) << id;
}

TEST_F(MainDlgTest, TheThreeRodExampleTypedShowsItsResults) {
  const std::vector<std::pair<int, const char*>> inputs = {
      {CThreeRod::kA, "900"},  {CThreeRod::kB, "900"},  {CThreeRod::kC, "900"},   {CThreeRod::kD, "900"},
      {CThreeRod::kX1, "3000"}, {CThreeRod::kX2, "3000"}, {CThreeRod::kX3, "1500"}, {CThreeRod::kH, "5000"},
      {CThreeRod::kR, "100"},  {CThreeRod::kM, "200"},  {CThreeRod::kTheta, "30"}};
  auto* status = qobject_cast<QLabel*>(dlg->PageView(0).Control(CThreeRod::kStatus));
  // The geometry is complete with H; R, M and θ may be 0.
  for (size_t i = 0; i < inputs.size(); ++i) {
    Type(0, inputs[i].first, inputs[i].second);
    EXPECT_EQ(Q(inputs[i].first == CThreeRod::kH || i > 7 ? "数据计算成功" : "数据错误或不全"), status->text()) << i;
  }
  EXPECT_EQ(Q("数据计算成功"), status->text());
  const std::vector<std::pair<int, const char*>> results = {
      {CThreeRod::kAlpha, "62.88"},   {CThreeRod::kBeta, "69.9"},     {CThreeRod::kGamma, "62.88"},
      {CThreeRod::kL1, "4606.46"},    {CThreeRod::kL2, "4365.9"},     {CThreeRod::kL3, "4606.46"},
      {CThreeRod::kF1, "311.42"},     {CThreeRod::kF2, "-208.23"},    {CThreeRod::kF3, "-35.54"},
      {CThreeRod::kF1x, "141.96"},    {CThreeRod::kF1y, "277.18"},    {CThreeRod::kF3x, "16.2"},
      {CThreeRod::kF1m, "358.77/-358.77"}, {CThreeRod::kTheta1, "108.45/288.45"},
      {CThreeRod::kF2m, "-473.17/473.17"}, {CThreeRod::kTheta3, "336.80/516.80"}};
  for (const auto& [id, text] : results) EXPECT_EQ(Q(text), Edit(0, id)->text()) << id;
  // An invalid value afterwards changes only the status.
  Type(0, CThreeRod::kH, "800");
  EXPECT_EQ(Q("数据错误或不全"), status->text());
  EXPECT_EQ(Q("311.42"), Edit(0, CThreeRod::kF1)->text());
}

TEST_F(MainDlgTest, ExportAndReportButtonsReachTheSaveDialogAndWriteTheFiles) {
  const std::vector<std::pair<int, const char*>> inputs = {
      {CThreeRod::kA, "900"},  {CThreeRod::kB, "900"},  {CThreeRod::kC, "900"},   {CThreeRod::kD, "900"},
      {CThreeRod::kX1, "3000"}, {CThreeRod::kX2, "3000"}, {CThreeRod::kX3, "1500"}, {CThreeRod::kH, "5000"},
      {CThreeRod::kR, "100"},  {CThreeRod::kM, "200"},  {CThreeRod::kTheta, "30"}};
  for (const auto& [id, text] : inputs) Type(0, id, text);
  QTemporaryDir dir;
  const QString sheet = dir.filePath(QStringLiteral("三杆附着.xls"));
  const QString report = dir.filePath(QStringLiteral("三杆附着报告.doc"));
  auto* exportButton = qobject_cast<QPushButton*>(dlg->PageView(0).Control(CThreeRod::kExportButton));
  auto* reportButton = qobject_cast<QPushButton*>(dlg->PageView(0).Control(CThreeRod::kReportButton));
  ASSERT_TRUE(exportButton && reportButton);
  {
    test::ModalAnswers answers({sheet});
    QTest::mouseClick(exportButton, Qt::LeftButton);
    EXPECT_EQ(QStringList{Q("文件输出成功!")}, answers.Messages());
    EXPECT_TRUE(answers.Filters().join(u'|').contains(QStringLiteral("*.xls")));
  }
  EXPECT_GT(QFileInfo(sheet).size(), 0);
  {
    test::ModalAnswers answers({report});
    QTest::mouseClick(reportButton, Qt::LeftButton);
    EXPECT_EQ(QStringList{Q("报告文件输出成功!")}, answers.Messages());
  }
  EXPECT_GT(QFileInfo(report).size(), 0);
  EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MainDlgTest, TheBookMenuItemActsOnTheForcePageShownOrTheLastOneShown) {
  QAction* book = nullptr;
  for (QAction* a : dlg->FileMenu()->actions())
    if (a->text() == Q("生成计算书…")) book = a;
  ASSERT_NE(book, nullptr);
  // The three-rod layout calculated, the section not set: the book of the
  // three-rod page asks for the section, the empty layout I for its forces.
  const std::vector<std::pair<int, const char*>> inputs = {
      {CThreeRod::kA, "900"},  {CThreeRod::kB, "900"},  {CThreeRod::kC, "900"},   {CThreeRod::kD, "900"},
      {CThreeRod::kX1, "3000"}, {CThreeRod::kX2, "3000"}, {CThreeRod::kX3, "1500"}, {CThreeRod::kH, "5000"},
      {CThreeRod::kR, "100"},  {CThreeRod::kM, "200"},  {CThreeRod::kTheta, "30"}};
  for (const auto& [id, text] : inputs) Type(0, id, text);
  const struct {
    std::vector<int> tabs;
    const char* message;
  } cases[] = {
      {{0}, "请先在附着杆校核页设定杆件截面参数!"},
      {{0, 3}, "请先在附着杆校核页设定杆件截面参数!"},
      {{1, 3}, "请先完成附着杆内力计算!"},
      {{2}, "请先完成附着杆内力计算!"},
  };
  for (const auto& c : cases) {
    for (int tab : c.tabs) ClickTab(tab);
    test::ModalAnswers answers({});
    book->trigger();
    EXPECT_EQ(QStringList{Q(c.message)}, answers.Messages()) << c.tabs.front();
  }
  EXPECT_EQ(dlg->LastForcePage(), 2);
  // The pages' own buttons: each force page has its 计算书.
  for (int page = 0; page < 3; ++page)
    EXPECT_EQ(Q("计算书"), qobject_cast<QPushButton*>(dlg->PageView(page).Control(CThreeRod::kBookButton))->text());
}

TEST_F(MainDlgTest, EachPageRendersToAnImageForReview) {
  const QDir out(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens"));
  QDir().mkpath(out.path());
  for (int page = 0; page < dlg->PageCount(); ++page) {
    ClickTab(page);
    const QImage start = dlg->grab().toImage();
    ASSERT_FALSE(start.isNull());
    EXPECT_TRUE(start.save(out.filePath(QStringLiteral("page%1-start.png").arg(page))));
    // The page's own background, just below the strip, is sky blue.
    const QPoint probe = dlg->PageView(page).mapTo(dlg.get(), QPoint(dlg->PageView(page).width() - 3, 2));
    EXPECT_EQ(QColor(135, 206, 235), start.pixelColor(probe)) << page;

    TypeExample(page);
    EXPECT_TRUE(dlg->grab().save(out.filePath(QStringLiteral("page%1-example.png").arg(page))));
  }
  EXPECT_EQ(Q("235.57"), Edit(1, CFourRodPage::kF1)->text());
  EXPECT_EQ(Q("156.57"), Edit(2, CFourRodPage::kF1)->text());
  EXPECT_EQ(Q("54.18"), Edit(3, CRodCheckPage::kLambda)->text());
  // The diagrams are drawn, not empty frames.
  EXPECT_TRUE(qobject_cast<CPictureBox*>(dlg->PageView(0).Control(CThreeRod::kDiagram))->HasDrawing());
  EXPECT_EQ(195, qobject_cast<CPictureBox*>(dlg->PageView(3).Control(CRodCheckPage::kDiagram))->Bitmap());
  EXPECT_TRUE(qobject_cast<CPictureBox*>(dlg->PageView(3).Control(CRodCheckPage::kDiagram))->HasDrawing());
  CAboutDlg about(dlg.get());
  about.show();
  EXPECT_TRUE(about.grab().save(out.filePath(QStringLiteral("about.png"))));
}

TEST_F(MainDlgTest, TheWorkedExamplesShowEveryValueWhole) {
  for (int page = 0; page < dlg->PageCount(); ++page) {
    ClickTab(page);
    TypeExample(page);
    // Every value shows whole, and at least its start shows.
    for (QWidget* w : dlg->PageView(page).Widgets()) {
      auto* e = qobject_cast<QLineEdit*>(w);
      if (!e) continue;
      EXPECT_LE(e->fontMetrics().horizontalAdvance(e->text()), TextRoom(e))
          << page << ": \"" << e->text().toStdString() << "\" does not fit: "
          << e->fontMetrics().horizontalAdvance(e->text()) << " px in " << TextRoom(e);
      if (e->isReadOnly()) {
        EXPECT_EQ(0, e->cursorPosition()) << e->text().toStdString();
      }
    }
  }
}

// The longest text a result can show, by kind of field, for any value of
// magnitude below 10^9 (kN, mm, MPa): the rounded value as "%.15g" or "%.2f",
// the extreme pairs as "%.2f/%.2f"; the angle pairs stay within -180..540,
// the rods' angles (atan2 of the layout) within -180..180.
QString LongestText(const std::string& name) {
  if (name == "message") return {};
  if (name == "alpha" || name == "beta" || name == "gamma" || name == "delta") return Q("-180.00");
  if (name.rfind("theta", 0) == 0 && name.size() > 5) return Q("-179.55/180.45");
  if (name.size() == 3 && name[0] == 'F' && name[2] == 'm') return Q("-999999999.99/-999999999.99");
  return Q("-999999999.99");
}

TEST_F(MainDlgTest, TheLargestValuesShowWhole) {
  // The worked examples under loads 10^5 times too large, and a rod far
  // too long: every result the pages compute shows whole.
  const std::vector<std::vector<std::pair<const char*, const char*>>> large = {
      {{"R", "-10000000"}, {"M", "20000000"}},
      {{"R", "10000000"}, {"M", "-30000000"}},
      {{"R", "-10000000"}, {"M", "30000000"}},
      {{"F", "200000000"}, {"L", "800000000"}, {"G", "80000000"}}};
  for (int page = 0; page < dlg->PageCount(); ++page) {
    ClickTab(page);
    TypeExample(page);
    const CPage& p = dlg->Page(page);
    for (const auto& [name, text] : large[static_cast<size_t>(page)]) Type(page, p.IdOf(name), text);
    for (QWidget* w : dlg->PageView(page).Widgets())
      if (auto* e = qobject_cast<QLineEdit*>(w); e && e->isReadOnly())
        EXPECT_TRUE(TextFitsEdit(e)) << page << ": \"" << e->text().toStdString() << "\"";
    QDir().mkpath(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens"));
    dlg->grab().save(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens/page%1-largest-at-%2x.png")
                         .arg(page)
                         .arg(dlg->devicePixelRatio()));
  }
  // 10^5 times the worked example's 358.77/-358.77, R reversed.
  EXPECT_EQ(Q("-35876988.27/35876988.27"), Edit(0, CThreeRod::kF1m)->text());
  // The longest text of each result, at the page's scale.
  for (int page = 0; page < dlg->PageCount(); ++page) {
    ClickTab(page);
    CPage& p = dlg->Page(page);
    for (const NamedControl& n : p.Names()) {
      auto* e = Edit(page, n.id);
      if (n.input || !e || LongestText(n.name).isEmpty()) continue;
      p.SetText(n.id, LongestText(n.name).toStdString());
      dlg->PageView(page).Sync();
      EXPECT_TRUE(TextFitsEdit(e)) << page << " " << n.name;
      EXPECT_FALSE(e->toolTip().contains(e->text())) << n.name;
      // A short text again: the page's own font, not the last one shrunk to.
      p.SetText(n.id, "1");
      dlg->PageView(page).Sync();
      EXPECT_EQ(dlg->PageView(page).font(), e->font()) << n.name;
    }
  }
  // A text that cannot fit even in the smallest, narrowest font shows whole in the
  // tooltip, after its own.
  dlg->Page(0).SetText(CThreeRod::kF1, "-12345678901234567890123456789012345678.90");
  dlg->PageView(0).Sync();
  EXPECT_EQ(Q("θ角度时的F1值(KN)\n-12345678901234567890123456789012345678.90"), Edit(0, CThreeRod::kF1)->toolTip());
  // An input keeps the page's font and scrolls.
  Type(0, CThreeRod::kR, "1000000000+2000000000+3000000000");
  EXPECT_EQ(dlg->PageView(0).font(), Edit(0, CThreeRod::kR)->font());
}

TEST_F(MainDlgTest, ATypoIsMarkedWhereItWasMade) {
  TypeExample(0);
  auto* r = qobject_cast<CFieldEdit*>(Edit(0, CThreeRod::kR));
  ASSERT_TRUE(r);
  const struct {
    const char* text;
    const char* reason;  // empty: clean
  } cases[] = {
      {"100kN", "数值后不能写单位或字母“kN”，按 0 计算"},
      {"1OO", "字母 O 不是数字 0，按 0 计算"},
      {"1.5.2", "数字中有多个小数点，读作 0.17"},
      {"12 34", "数字中间有空格，读作 1234"},
      {"１００", "全角数字“１００”无法识别，请用半角数字，按 0 计算"},
      {"2e3", "不支持指数写法“2e3”，按 0 计算"},
      {"100", ""},
      {"2*50", ""},
  };
  Type(0, CThreeRod::kR, "1OO");
  QDir().mkpath(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens"));
  dlg->grab().save(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens/typo-marked.png"));
  for (const auto& c : cases) {
    Type(0, CThreeRod::kR, c.text);
    if (*c.reason) {
      EXPECT_EQ(kUnreadableMark, r->Mark()) << c.text;
      EXPECT_EQ(Q(c.reason) + Q("\nR水平力(KN)"), r->toolTip()) << c.text;
      // The outline is drawn on the field's edge.
      EXPECT_EQ(kUnreadableMark, r->grab().toImage().pixelColor(r->width() / 2, 1)) << c.text;
    } else {
      EXPECT_FALSE(r->Mark().isValid()) << c.text;
      EXPECT_EQ(Q("R水平力(KN)"), r->toolTip()) << c.text;
    }
  }
}

TEST_F(MainDlgTest, InvalidInputsMarkTheirRuleAndGreyTheOldResults) {
  TypeExample(0);
  auto text = [](QLineEdit* e) { return e->palette().color(QPalette::Active, QPalette::Text); };
  const QColor normal = text(Edit(0, CThreeRod::kF1));
  const QColor greyed = kStaleText;
  ASSERT_NE(normal, greyed);
  Type(0, CThreeRod::kH, "800");
  EXPECT_EQ(Q("数据错误或不全"), qobject_cast<QLabel*>(dlg->PageView(0).Control(CThreeRod::kStatus))->text());
  for (int id : {CThreeRod::kH, CThreeRod::kB}) {
    EXPECT_EQ(kRuleMark, qobject_cast<CFieldEdit*>(Edit(0, id))->Mark());
    EXPECT_TRUE(Edit(0, id)->toolTip().startsWith(Q("不满足 H>B\n"))) << id;
  }
  EXPECT_FALSE(qobject_cast<CFieldEdit*>(Edit(0, CThreeRod::kA))->Mark().isValid());
  // The results of the last valid inputs stay, greyed; inputs are not.
  EXPECT_EQ(Q("311.42"), Edit(0, CThreeRod::kF1)->text());
  QDir().mkpath(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens"));
  dlg->grab().save(QStringLiteral(TIECALC_BINARY_DIR "/ui-screens/greyed-results.png"));
  for (int id : {CThreeRod::kF1, CThreeRod::kL1, CThreeRod::kF1m}) EXPECT_EQ(greyed, text(Edit(0, id))) << id;
  EXPECT_EQ(normal, text(Edit(0, CThreeRod::kA)));
  Type(0, CThreeRod::kH, "5000");
  EXPECT_FALSE(qobject_cast<CFieldEdit*>(Edit(0, CThreeRod::kH))->Mark().isValid());
  EXPECT_EQ(normal, text(Edit(0, CThreeRod::kF1)));

  // The rod check greys its results while its message refuses the inputs,
  // and colours its verdict lines.
  ClickTab(3);
  TypeExample(3);
  auto* message = qobject_cast<QPlainTextEdit*>(dlg->PageView(3).Control(CRodCheckPage::kMessage));
  EXPECT_EQ(normal, text(Edit(3, CRodCheckPage::kLambda)));
  Type(3, CRodCheckPage::kL, "40000");  // too slender: the stiffness fails
  auto tones = [&] {
    std::vector<std::pair<QString, QColor>> out;
    for (QTextBlock b = message->document()->begin(); b.isValid(); b = b.next()) {
      const auto formats = b.layout()->formats();
      out.push_back({b.text(), formats.isEmpty() ? QColor() : formats.front().format.foreground().color()});
    }
    return out;
  };
  int fails = 0, passes = 0;
  for (const auto& [line, colour] : tones()) {
    const bool fail = line.contains(Q(" 不 满足要求"));
    EXPECT_EQ(fail ? kFailTone : kPassTone, colour) << line.toStdString();
    (fail ? fails : passes) += 1;
  }
  EXPECT_GT(fails, 0);
  EXPECT_GT(passes, 0);
  Type(3, CRodCheckPage::kA, "0");
  EXPECT_EQ(Q("请设定正确参数！"), message->toPlainText());
  EXPECT_EQ(greyed, text(Edit(3, CRodCheckPage::kLambda)));
  EXPECT_EQ(normal, text(Edit(3, CRodCheckPage::kMu)));
  EXPECT_TRUE(Edit(3, CRodCheckPage::kA)->toolTip().startsWith(Q("不满足 A>0\n")));
}

TEST_F(MainDlgTest, KeysSwitchPagesAndTabSkipsTheResults) {
  const std::vector<std::pair<QKeyCombination, int>> steps = {
      {Qt::CTRL | Qt::Key_Tab, 1},        {Qt::CTRL | Qt::Key_PageDown, 2}, {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 1},
      {Qt::CTRL | Qt::Key_PageUp, 0},     {Qt::CTRL | Qt::Key_PageUp, 3},   {Qt::CTRL | Qt::Key_Tab, 0}};
  Edit(0, CThreeRod::kA)->setFocus();
  for (const auto& [key, page] : steps) {
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    EXPECT_EQ(page, dlg->Tab().GetCurSel());
    EXPECT_EQ(page, dlg->ShownPage());
  }
  // From the first input, Tab runs through the inputs to the buttons.
  Edit(0, CThreeRod::kA)->setFocus();
  // The template id of a page control, -1 for anything else.
  auto idOf = [&](QWidget* w) {
    const auto& widgets = dlg->PageView(0).Widgets();
    const auto at = std::find(widgets.begin(), widgets.end(), w);
    return at == widgets.end() ? -1 : dlg->Page(0).Template().controls[static_cast<size_t>(at - widgets.begin())].id;
  };
  std::vector<int> ids;
  for (int i = 0; i < 13; ++i) {
    ids.push_back(idOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  using I = CThreeRod;
  EXPECT_EQ((std::vector<int>{I::kA, I::kB, I::kC, I::kD, I::kX1, I::kX2, I::kX3, I::kH, I::kR, I::kM, I::kTheta,
                              I::kExportButton, I::kReportButton}),
            ids);
  // Past the page's own buttons, the window's.
  for (int i = 0; i < 5 && dlg->PageView(0).isAncestorOf(QApplication::focusWidget()); ++i)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(dlg->Button(kIdTopMost), QApplication::focusWidget());
}

TEST_F(MainDlgTest, CopiesThePageAsTwoColumns) {
  TypeExample(0);
  QTest::keyClick(Edit(0, CThreeRod::kA), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Q("三杆附着\n"
              "A(mm)\t900\nB(mm)\t900\nC(mm)\t900\nD(mm)\t900\nX1(mm)\t3000\nX2(mm)\t3000\nX3(mm)\t1500\n"
              "H(mm)\t5000\nR(KN)\t100\nM(KN.m)\t200\nθ(度)\t30\n"
              "α(度)\t62.88\nβ(度)\t69.9\nγ(度)\t62.88\nL1(mm)\t4606.46\nL2(mm)\t4365.9\nL3(mm)\t4606.46\n"
              "F1(KN)\t311.42\nF2(KN)\t-208.23\nF3(KN)\t-35.54\nF1x(KN)\t141.96\nF2x(KN)\t-71.56\nF3x(KN)\t16.2\n"
              "F1y(KN)\t277.18\nF2y(KN)\t-195.55\nF3y(KN)\t-31.63\n"
              "F1m(KN)\t358.77/-358.77\nF2m(KN)\t-473.17/473.17\nF3m(KN)\t-192.48/192.48\n"
              "θ1(度)\t108.45/288.45\nθ2(度)\t180.00/0.00\nθ3(度)\t336.80/516.80\n"
              "状态\t数据计算成功\n"),
            QGuiApplication::clipboard()->text());
  // The rod check's verdict goes line by line; the context menu offers the same.
  ClickTab(3);
  TypeExample(3);
  dlg->PageView(3).CopyAction()->trigger();
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith(Q("附着杆校核\n附着杆结构型式\t两肢缀板式\n"))) << copied.toStdString();
  EXPECT_TRUE(copied.contains(Q("\n附着杆校核结果\t附着杆整体刚度满足要求！\n\t附着杆单肢刚度满足要求！\n")))
      << copied.toStdString();
  EXPECT_TRUE(copied.contains(Q("\n整体计算应力(MPa)\t"))) << copied.toStdString();
}

// The frame of a window (as the platform reports it, else as its placement
// assumed it) inside the screen's available area: title bar and borders.
void ExpectOnItsScreen(const QWidget& w) {
  const QRect outer = FrameRect(w), available = w.screen()->availableGeometry();
  EXPECT_TRUE(available.contains(outer)) << w.metaObject()->className() << " at " << outer.x() << "," << outer.y()
                                         << " " << outer.width() << "x" << outer.height();
}

// Run on every screen and scale (tests/ui/CMakeLists.txt), the screenshots
// kept in the build's ui-screens folder.
TEST_F(MainDlgTest, TheWindowFitsItsScreenCentredWithEveryControlReachable) {
  const QRect available = dlg->screen()->availableGeometry();
  const QRect outer = FrameRect(*dlg);
  ExpectOnItsScreen(*dlg);
  EXPECT_LE(std::abs(outer.center().x() - available.center().x()), 1);
  EXPECT_LE(std::abs(outer.center().y() - available.center().y()), 1);
  // The room there is is used before anything scrolls.
  const QSize natural = dlg->NaturalSize(), room = available.size().shrunkBy(FrameOf(*dlg));
  const bool small = natural.height() > room.height() || natural.width() > room.width();
  EXPECT_EQ(natural.boundedTo(room), dlg->size().boundedTo(natural));
  // The bottom row stays in the window, apart from the pages.
  for (QWidget* w : {static_cast<QWidget*>(dlg->Button(kIdTopMost)), static_cast<QWidget*>(dlg->Button(kIdAbout)),
                     static_cast<QWidget*>(dlg->Button(kIdExit)), static_cast<QWidget*>(dlg->InfoLabel())}) {
    EXPECT_TRUE(dlg->rect().contains(w->geometry())) << w->geometry().y() << " in " << dlg->height();
    EXPECT_FALSE(w->geometry().intersects(dlg->Tab().geometry()));
  }
  EXPECT_FALSE(dlg->Button(kIdTopMost)->geometry().intersects(dlg->InfoLabel()->geometry()));
  const QString shots = QStringLiteral(TIECALC_BINARY_DIR "/ui-screens/");
  // The screens are named by their size (tests/ui/screens).
  const QString name = dlg->screen()->name().isEmpty() ? QStringLiteral("default") : dlg->screen()->name();
  const QString screen = QStringLiteral("%1-at-%2x").arg(name).arg(dlg->devicePixelRatio());
  QDir().mkpath(shots);
  // Every control of every page scrolls into sight; a page that scrolls
  // down keeps its width beside the scroll bar where the screen has room.
  for (int page = 0; page < dlg->PageCount(); ++page) {
    ClickTab(page);
    QScrollArea* area = dlg->PageArea(page);
    EXPECT_EQ(small, area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible()) << page;
    if (natural.width() + area->verticalScrollBar()->sizeHint().width() <= room.width())
      EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << page;
    dlg->grab().save(shots + QStringLiteral("window-%1-page%2.png").arg(screen).arg(page));
    for (QWidget* w : dlg->PageView(page).Widgets()) {
      if (qobject_cast<QGroupBox*>(w)) continue;
      // Scrolled to the whole control (ensureWidgetVisible would bring an
      // edit's text cursor only into sight).
      const QRect r = w->geometry();
      area->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 1, r.height() / 2 + 1);
      const QRect shown(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
      // Whole where it can be; a diagram taller than the area at least in part.
      const QRect port = area->viewport()->rect();
      const bool fits = w->width() <= port.width() && w->height() <= port.height();
      EXPECT_TRUE(fits ? port.contains(shown) : port.intersects(shown)) << page;
    }
  }
#if TIECALC_HAVE_CHART
  // The chart window beside the main window where there is room for it,
  // else over it; whole on the screen, shrunk to it where it is larger.
  ClickTab(0);
  TypeExample(0);
  dlg->OnChart();
  CChartWindow* chart = dlg->ChartWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
  ExpectOnItsScreen(*chart);
  const QRect chartOuter = FrameRect(*chart);
  EXPECT_EQ(std::min(460, room.height()), chart->height());
  const int side = std::max(available.right() - outer.right(), outer.left() - available.left());
  if (side >= chart->minimumWidth() + 30) EXPECT_FALSE(chartOuter.intersects(outer));
  chart->grab().save(shots + QStringLiteral("chart-%1.png").arg(screen));
#endif
  // The manual beside it too, and the about box over it.
  dlg->OnManual();
  auto* help = dlg->findChild<CHelpWindow*>();
  ASSERT_TRUE(help && QTest::qWaitForWindowExposed(help));
  ExpectOnItsScreen(*help);
  bool about = false;
  test::WhenModal(
      [&](QWidget* box) {
        about = true;
        ExpectOnItsScreen(*box);
        for (QWidget* c : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
          EXPECT_TRUE(box->rect().contains(c->geometry())) << c->metaObject()->className();
        box->grab().save(shots + QStringLiteral("about-%1.png").arg(screen));
        static_cast<QDialog*>(box)->accept();
      },
      [&] { dlg->OnAbout(); });
  EXPECT_TRUE(about);
  // Larger than natural: the pages keep their size, nothing scrolls.
  dlg->resize(dlg->NaturalSize() + QSize(200, 100));
  QApplication::processEvents();
  EXPECT_FALSE(dlg->PageArea(dlg->ShownPage())->verticalScrollBar()->isVisible());
  EXPECT_LT(dlg->height() - dlg->Button(kIdExit)->geometry().bottom(), 16);
}

TEST_F(MainDlgTest, AboutBoxShowsTheLogAndOpensTheNotes) {
  QString title, log;
  QColor logBase;
  test::WhenModal(
      [&](QWidget* modal) {
        auto* about = qobject_cast<CAboutDlg*>(modal);
        ASSERT_TRUE(about);
        title = about->windowTitle();
        log = qobject_cast<QPlainTextEdit*>(about->Control(kIdChangeLog))->toPlainText();
        logBase = about->Control(kIdChangeLog)->palette().color(QPalette::Base);
        // 检查更新 opens the manual's section on versions and updates, in a
        // help window of the box (usable while the box is modal).
        QTest::mouseClick(qobject_cast<QPushButton*>(about->Control(kIdCheckUpdate)), Qt::LeftButton);
        auto* help = about->findChild<CHelpWindow*>();
        ASSERT_TRUE(help);
        EXPECT_EQ(QStringLiteral("versions.md"), help->Section());
        EXPECT_TRUE(help->isVisible());
        help->Open(QStringLiteral("index.md"));
        // Enter on the focused button presses it, not the default one.
        about->Control(kIdCheckUpdate)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(about->Control(kIdCheckUpdate), Qt::Key_Return);
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(QStringLiteral("versions.md"), help->Section());
        EXPECT_EQ(1, about->findChildren<CHelpWindow*>().size());
        QTest::mouseClick(qobject_cast<QPushButton*>(about->Control(1)), Qt::LeftButton);
      },
      [&] { QTest::mouseClick(dlg->Button(kIdAbout), Qt::LeftButton); });
  EXPECT_EQ(Q("岱衡塔机附着计算V2.2（2013.11.13）"), title);
  // Seven lines, the last one ended too.
  EXPECT_EQ(QString::fromUtf8(CAboutDlg::kChangeLog).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), log);
  EXPECT_EQ(QColor(135, 206, 235), logBase);
  const QStringList lines = log.split(u'\n');
  ASSERT_EQ(8, lines.size());
  EXPECT_EQ(QString(), lines[7]);
  EXPECT_EQ(Q("V2.2更新内容(2013.11.17):"), lines[0]);
  EXPECT_EQ(Q("1、修正附着杆校核中变截面修正系数偶尔出错问题。"), lines[1]);
  EXPECT_EQ(Q("2、修正Q345材质稳定系数读取错误问题。"), lines[4]);
  EXPECT_EQ(Q("1、增加附着杆校核功能。"), lines[6]);
  EXPECT_EQ(7, QString::fromUtf8(CAboutDlg::kChangeLog).count(QStringLiteral("\r\n")));
  EXPECT_TRUE(QString::fromUtf8(CAboutDlg::kChangeLog).endsWith(QStringLiteral("\r\n")));
  EXPECT_EQ(nullptr, QApplication::activeModalWidget());
}

#if TIECALC_HAVE_CHART
// Pixels of exactly a rod's colour in a screenshot: the cores of its curve.
int PixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) count += qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])) == colour;
  }
  return count;
}

// 受力曲线 opens the chart window on the screen; it shows one curve
// per rod of the page shown, follows the typing and the page switches, and
// greys the last valid curves while the inputs are invalid.
TEST_F(MainDlgTest, ChartWindowOpensOnTheScreenAndShowsEveryRodsCurve) {
  const QRgb rods[] = {qRgb(0x0b, 0x3c, 0x8c), qRgb(0xd5, 0x5e, 0x00), qRgb(0x00, 0x8c, 0x5a), qRgb(0xa8, 0x2c, 0x8c)};
  const auto curvesShown = [&] {
    const QImage shot = dlg->ChartWindow()->Canvas().grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("TIECALC_SCREENSHOTS"))
      dlg->ChartWindow()->grab().save(QString::fromUtf8(qgetenv("TIECALC_SCREENSHOTS")) + "/chart-" +
                                      QString::number(dlg->ShownPage()) + ".png");
    int n = 0;
    for (QRgb c : rods) n += PixelsOf(shot, c) > 100;
    return n;
  };
  // F4 stands for the button, on the force pages only.
  QApplication::setActiveWindow(dlg.get());
  ClickTab(3);
  QTest::keyClick(Edit(3, CRodCheckPage::kA), Qt::Key_F4);
  EXPECT_FALSE(dlg->ChartWindow());
  ClickTab(0);
  TypeExample(0);
  auto* button = qobject_cast<QPushButton*>(dlg->PageView(0).Control(CThreeRod::kChartButton));
  ASSERT_TRUE(button);
  EXPECT_EQ(Q("受力曲线"), button->text());
  QTest::mouseClick(button, Qt::LeftButton);
  CChartWindow* chart = dlg->ChartWindow();
  ASSERT_TRUE(chart);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
  EXPECT_FALSE(chart->isModal());
  EXPECT_TRUE(dlg->screen()->availableGeometry().contains(chart->frameGeometry()));
  EXPECT_EQ(Q("复制图片"), chart->CopyButton()->text());
  EXPECT_EQ(Q("保存图片…"), chart->SaveButton()->text());
  EXPECT_EQ(curvesShown(), 3);

  // Every keystroke: an invalid H greys the curves under the status.
  Type(0, CThreeRod::kH, "1");
  EXPECT_EQ(curvesShown(), 0);
  if (qEnvironmentVariableIsSet("TIECALC_SCREENSHOTS"))
    chart->grab().save(QString::fromUtf8(qgetenv("TIECALC_SCREENSHOTS")) + "/chart-greyed.png");
  Type(0, CThreeRod::kH, "5000");
  EXPECT_EQ(curvesShown(), 3);

  ClickTab(1);
  TypeExample(1);
  EXPECT_EQ(curvesShown(), 4);
  chart->resize(900, 600);
  QTest::qWait(20);
  EXPECT_EQ(chart->Canvas().Scene().width, chart->Canvas().width());
  EXPECT_EQ(curvesShown(), 4);
  chart->close();
  QApplication::setActiveWindow(dlg.get());
  QTest::keyClick(Edit(1, CFourRodPage::kA), Qt::Key_F4);
  EXPECT_TRUE(chart->isVisible());
}
#endif

}  // namespace
}  // namespace tiecalc


namespace tiecalc {
namespace {

// The rod-check page's texts, by name (the lists left out: the command
// line names their choice, not their text).
std::map<std::string, QString> RodCheckTexts(const CMainDlg& dlg) {
  std::map<std::string, QString> texts;
  for (const NamedControl& n : dlg.Page(3).Names())
    if (dlg.Page(3).KindOf(n.id) != ControlKind::ComboBox) texts[n.name] = Q(dlg.Page(3).GetText(n.id).c_str());
  return texts;
}

// Picks a section in the window's dialog: `pick` sets it, then OK or Cancel.
void PickSection(CMainDlg& dlg, const std::function<void(CSectionDialog&)>& pick, bool ok) {
  bool opened = false;
  test::WhenModal(
      [&](QWidget* modal) {
        auto* dialog = qobject_cast<CSectionDialog*>(modal);
        ASSERT_TRUE(dialog);
        opened = true;
        pick(*dialog);
        if (ok) QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        else dialog->reject();
      },
      [&] { QTest::mouseClick(dlg.SectionButton(), Qt::LeftButton); });
  EXPECT_TRUE(opened);
}

TEST_F(MainDlgTest, ASectionPickedInTheWindowGivesThePageTheCommandLineGives) {
  ClickTab(3);
  emit qobject_cast<QComboBox*>(dlg->PageView(3).Control(CRodCheckPage::kForm))->activated(4);
  Type(3, CRodCheckPage::kL, "8000");
  Type(3, CRodCheckPage::kF, "200");
  PickSection(*dlg, [](CSectionDialog& d) {
    // The filter finds the section however it is written.
    for (const char* typed : {"63x6", "L63x6", "∟63×6", "l63*6"}) {
      d.Chord()->Filter()->setText(Q(typed));
      EXPECT_EQ(Q("∟63×6"), d.Chord()->Designation()) << typed;
    }
    d.Chord()->Filter()->setText(Q("63x"));  // a part typed so far narrows the list
    for (int i = 0; i < d.Chord()->List()->count(); ++i)
      EXPECT_TRUE(d.Chord()->List()->item(i)->text().startsWith(Q("∟63×"))) << i;
    d.Chord()->Filter()->setText(Q("[20a"));  // another family's designation switches the family
    EXPECT_EQ(Q("[20a"), d.Chord()->Designation());
    d.Chord()->Filter()->setText(Q("63x6"));
    EXPECT_EQ(Q("∟63×6"), d.Chord()->Designation());
    d.Lacing()->Filter()->setText(Q("40x4"));
    // A section that cannot be built says why, and OK waits.
    d.Width()->setValue(0);
    EXPECT_FALSE(d.OkButton()->isEnabled());
    EXPECT_TRUE(d.Error()->isVisible());
    EXPECT_TRUE(d.Error()->text().startsWith(Q("无法建立截面："))) << d.Error()->text().toStdString();
    d.Width()->setValue(400);
    d.Depth()->setValue(400);
    d.Spacing()->setValue(400);
    EXPECT_TRUE(d.OkButton()->isEnabled());
    ASSERT_GT(d.Derivations()->count(), 0);
    EXPECT_EQ(Q("A = 4×728.8 = 2915.2 mm²"), d.Derivations()->item(0)->text());
  }, true);

  QProcess cli;
  cli.start(QStringLiteral(TIECALC_CLI), {Q("rod-check"), Q("form=4"), Q("L=8000"), Q("F=200"), Q("chord=L63x6"),
                                          Q("width=400"), Q("web=L40x4"), Q("webspacing=400")});
  ASSERT_TRUE(cli.waitForFinished(20000));
  const QJsonObject fields = QJsonDocument::fromJson(cli.readAllStandardOutput()).object()[Q("fields")].toObject();
  const auto shown = RodCheckTexts(*dlg);
  ASSERT_GT(shown.size(), 20u);
  for (const auto& [name, text] : shown) EXPECT_EQ(fields[Q(name.c_str())].toString(), text) << name;
  EXPECT_EQ(Q("2915.2"), Edit(3, CRodCheckPage::kA)->text());  // the view shows it
  EXPECT_EQ(Q("截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400"), dlg->SectionLabel()->toolTip());

  // Reopened, the dialog shows the page's choice; Cancel changes nothing.
  PickSection(*dlg, [](CSectionDialog& d) {
    EXPECT_EQ(Q("∟63×6"), d.Chord()->Designation());
    EXPECT_EQ(Q("∟40×4"), d.Lacing()->Designation());
    EXPECT_EQ(400, d.Width()->value());
    d.Chord()->Filter()->setText(Q("75x8"));
    d.Width()->setValue(500);
  }, false);
  EXPECT_EQ(shown, RodCheckTexts(*dlg));
  EXPECT_EQ(Q("截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400"), dlg->SectionLabel()->toolTip());

  // A hand edit of a field the section typed shows in the line.
  Type(3, CRodCheckPage::kA, "3000");
  EXPECT_TRUE(dlg->SectionLabel()->toolTip().endsWith(Q("（已手动修改）"))) << dlg->SectionLabel()->toolTip().toStdString();
  EXPECT_TRUE(dlg->SectionLabel()->text().startsWith(Q("截面：4∟63×6")));
}

TEST_F(MainDlgTest, TheSectionButtonAndLineAreWholeOnTheRodCheckPageApartFromItsControls) {
  ClickTab(3);
  const CDialogView& view = dlg->PageView(3);
  const std::vector<QWidget*> added = {dlg->SectionButton(), dlg->SectionLabel()};
  EXPECT_FALSE(added[0]->geometry().intersects(added[1]->geometry()));
  for (QWidget* w : added) {
    ASSERT_EQ(&view, w->parentWidget());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(view.rect().contains(w->geometry()));
    EXPECT_TRUE(dlg->Page(3).Template().controls.size() == view.Widgets().size());
    for (QWidget* control : view.Widgets())
      if (!qobject_cast<QGroupBox*>(control))
        EXPECT_FALSE(w->geometry().intersects(control->geometry())) << control->metaObject()->className();
  }
  EXPECT_TRUE(TextFits(dlg->SectionButton()));
  EXPECT_LE(dlg->SectionLabel()->fontMetrics().height(), dlg->SectionLabel()->height());
  // The dialog on its screen, and the page with a section, for review.
  const QString shots = QStringLiteral(TIECALC_BINARY_DIR "/ui-screens/");
  const QString screen = QStringLiteral("%1-at-%2x").arg(dlg->screen()->name()).arg(dlg->devicePixelRatio());
  QDir().mkpath(shots);
  emit qobject_cast<QComboBox*>(view.Control(CRodCheckPage::kForm))->activated(2);
  Type(3, CRodCheckPage::kL, "6000");
  PickSection(*dlg, [&](CSectionDialog& d) {
    ExpectOnItsScreen(d);
    d.grab().save(shots + QStringLiteral("section-dialog-%1.png").arg(screen));
  }, true);
  EXPECT_FALSE(dlg->SectionLabel()->text().isEmpty());
  dlg->PageArea(3)->ensureWidgetVisible(dlg->SectionButton());
  dlg->grab().save(shots + QStringLiteral("section-page-%1.png").arg(screen));
}

}  // namespace
}  // namespace tiecalc
