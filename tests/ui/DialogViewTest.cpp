#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "QtTestApp.h"
#include "ui/DialogView.h"
#include "ui/QtDesktop.h"

namespace tiecalc {
namespace {

const QColor kSky(135, 206, 235);

enum : int { kIn = 10, kOut = 11, kLog = 12, kList = 13, kTick = 14, kGo = 15, kPic = 16, kFail = 17 };

ControlTemplate Ctl(int id, ControlKind kind, DialogRect r, const char* caption = "", unsigned style = kStyleNone) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.rect = r;
  c.caption = caption;
  c.style = style;
  return c;
}

// A small page: one input that doubles into a read-only output, a log of
// what the handlers saw, a list, a check box, buttons and a picture.
class CSmallPage : public CDialog {
 public:
  CSmallPage() : CDialog(MakeTemplate()) {
    OnChange(kIn, [this] {
      ++inputChanges;
      SetText(kOut, GetText(kIn) + GetText(kIn));
      SetReadOnly(kOut, GetText(kIn) == "lock");
    });
    OnChange(kOut, [this] { ++outputChanges; });
    OnSelChange(kList, [this] {
      ++selections;
      SetBitmap(kPic, GetCurSel(kList) == 1 ? 135 : 1);
    });
    OnClick(kTick, [this] { SetText(kLog, GetCheck(kTick) ? "on\r\nticked" : "off"); });
    OnClick(kGo, [this] { ++clicks; });
    OnClick(kFail, [] { throw std::runtime_error("工作簿无法打开"); });
  }
  static DialogTemplate MakeTemplate() {
    DialogTemplate t;
    t.id = 900;
    t.width = 200;
    t.height = 120;
    ControlTemplate in = Ctl(kIn, ControlKind::Edit, {40, 10, 50, 12});
    in.tooltip = ">0,单位(mm)";
    ControlTemplate list = Ctl(kList, ControlKind::ComboBox, {40, 30, 50, 58});
    list.items = {"实腹式", "两肢缀板式"};
    ControlTemplate pic = Ctl(kPic, ControlKind::Picture, {100, 60, 90, 50});
    pic.bitmap = 1;
    t.controls = {Ctl(kStaticId, ControlKind::GroupBox, {2, 2, 196, 116}, "设定参数"),
                  Ctl(kStaticId, ControlKind::Static, {8, 12, 30, 9}, "A:"),
                  in,
                  Ctl(kOut, ControlKind::Edit, {100, 10, 50, 12}, "", kReadOnly),
                  list,
                  Ctl(kTick, ControlKind::CheckBox, {100, 30, 60, 10}, "手动"),
                  Ctl(kGo, ControlKind::Button, {8, 60, 33, 22}, "生 成\r\n报 告", kMultiLine),
                  Ctl(kFail, ControlKind::Button, {50, 60, 40, 14}, "输出"),
                  Ctl(kLog, ControlKind::Edit, {8, 90, 80, 25}, "", kReadOnly | kMultiLine),
                  pic};
    return t;
  }
  int inputChanges = 0, outputChanges = 0, selections = 0, clicks = 0;
};

class DialogViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }
  void SetUp() override {
    page.Create();
    view = new CDialogView(page, WindowFont(10), &host);
    host.resize(view->size());
    host.show();
  }
  template <class W>
  W* Get(int id) {
    return qobject_cast<W*>(view->Control(id));
  }
  CSmallPage page;
  QDialog host;
  CDialogView* view = nullptr;
};

TEST_F(DialogViewTest, PlacesControlsFromDialogUnitsOfTheFont) {
  const CDialogUnits& u = view->Units();
  const QFontMetrics fm(WindowFont(10));
  EXPECT_EQ(fm.height(), u.BaseY());
  EXPECT_GT(u.BaseX(), 3);
  EXPECT_EQ(QRect(u.X(40), u.Y(10), u.X(90) - u.X(40), u.Y(22) - u.Y(10)), view->Control(kIn)->geometry());
  EXPECT_EQ(QSize(u.X(200), u.Y(120)), view->size());
  // A drop-down list is as high as an edit; its template height covers the open list.
  EXPECT_EQ(u.Y(12), view->Control(kList)->height());
  // The frame is behind the controls it encloses.
  EXPECT_TRUE(qobject_cast<QGroupBox*>(view->children().front()));
  EXPECT_EQ(QStringLiteral("生 成\n报 告"), Get<QPushButton>(kGo)->text());
  EXPECT_EQ(QStringLiteral(">0,单位(mm)"), view->Control(kIn)->toolTip());
  EXPECT_TRUE(view->Control(kOut)->toolTip().isEmpty());
}

TEST_F(DialogViewTest, TypingIsForwardedOnceAndResultsMirrored) {
  QLineEdit* in = Get<QLineEdit>(kIn);
  QTest::keyClicks(in, "ab");
  EXPECT_EQ("ab", page.GetText(kIn));
  EXPECT_EQ(2, page.inputChanges);
  EXPECT_EQ(2, page.outputChanges);  // the page's own SetText, not the mirror
  EXPECT_EQ(QStringLiteral("abab"), Get<QLineEdit>(kOut)->text());
  // The page unlocked its output; the view follows, on an input's white.
  EXPECT_FALSE(Get<QLineEdit>(kOut)->isReadOnly());
  EXPECT_NE(kSky, Get<QLineEdit>(kOut)->palette().color(QPalette::Base));

  in->clear();
  QTest::keyClicks(in, "lock");
  EXPECT_TRUE(Get<QLineEdit>(kOut)->isReadOnly());
  // Read-only fields are drawn on the dialog's sky blue, as static texts are.
  EXPECT_EQ(kSky, Get<QLineEdit>(kOut)->palette().color(QPalette::Base));
  EXPECT_EQ(kSky, Get<QPlainTextEdit>(kLog)->palette().color(QPalette::Base));
  EXPECT_NE(kSky, in->palette().color(QPalette::Base));
  EXPECT_EQ(QStringLiteral("locklock"), Get<QLineEdit>(kOut)->text());
  // A read-only field takes no typing.
  QTest::keyClicks(Get<QLineEdit>(kOut), "x");
  EXPECT_EQ("locklock", page.GetText(kOut));
  // Code setting a text shows it after Sync and fires nothing in the view.
  const int before = page.inputChanges;
  page.SetText(kOut, "12.5");
  view->Sync();
  EXPECT_EQ(QStringLiteral("12.5"), Get<QLineEdit>(kOut)->text());
  EXPECT_EQ(before, page.inputChanges);
}

TEST_F(DialogViewTest, ListsCheckBoxesButtonsAndPictures) {
  QComboBox* list = Get<QComboBox>(kList);
  EXPECT_EQ(2, list->count());
  EXPECT_EQ(QStringLiteral("两肢缀板式"), list->itemText(1));
  emit list->activated(1);
  EXPECT_EQ(1, page.GetCurSel(kList));
  EXPECT_EQ(1, page.selections);
  emit list->activated(1);  // the item already shown
  EXPECT_EQ(1, page.selections);
  auto* pic = Get<CPictureBox>(kPic);
  EXPECT_EQ(135, pic->Bitmap());
  EXPECT_EQ(QFile::exists(DiagramResource(135)), pic->HasDrawing());
  emit list->activated(0);
  EXPECT_EQ(1, pic->Bitmap());
  EXPECT_FALSE(pic->HasDrawing());  // no diagram 1: an empty frame

  QTest::mouseClick(Get<QCheckBox>(kTick), Qt::LeftButton, {}, QPoint(4, Get<QCheckBox>(kTick)->height() / 2));
  EXPECT_TRUE(page.GetCheck(kTick));
  EXPECT_TRUE(Get<QCheckBox>(kTick)->isChecked());
  EXPECT_EQ(QStringLiteral("on\nticked"), Get<QPlainTextEdit>(kLog)->toPlainText());
  QTest::mouseClick(Get<QCheckBox>(kTick), Qt::LeftButton, {}, QPoint(4, Get<QCheckBox>(kTick)->height() / 2));
  EXPECT_FALSE(page.GetCheck(kTick));
  EXPECT_EQ(QStringLiteral("off"), Get<QPlainTextEdit>(kLog)->toPlainText());

  QTest::mouseClick(Get<QPushButton>(kGo), Qt::LeftButton);
  EXPECT_EQ(1, page.clicks);
}

TEST_F(DialogViewTest, EnterAndEscInAPageDoNothing) {
  auto* defaultButton = new QPushButton("default", &host);
  defaultButton->setDefault(true);
  int defaults = 0;
  QObject::connect(defaultButton, &QPushButton::clicked, [&] { ++defaults; });
  host.show();
  for (int id : {kIn, kGo, kList}) {
    QWidget* w = view->Control(id);
    w->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(w, key);
  }
  EXPECT_TRUE(host.isVisible());
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(0, defaults);
  EXPECT_EQ(0, page.clicks);
}

TEST_F(DialogViewTest, AFailingCommandIsShownAndTheViewGoesOn) {
  CQtDesktop desktop(&host);
  page.SetDesktop(&desktop);
  QString shown, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  test::WhenModal(
      [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box);
        shown = box->text();
        title = box->windowTitle();
        icon = box->icon();
        box->accept();
      },
      [&] { QTest::mouseClick(Get<QPushButton>(kFail), Qt::LeftButton); });
  EXPECT_EQ(QStringLiteral("工作簿无法打开"), shown);
  EXPECT_EQ(QStringLiteral("岱衡塔机附着计算V2.2"), title);
  EXPECT_EQ(QMessageBox::Critical, icon);
  QTest::keyClicks(Get<QLineEdit>(kIn), "7");
  EXPECT_EQ(QStringLiteral("77"), Get<QLineEdit>(kOut)->text());
}

}  // namespace
}  // namespace tiecalc
