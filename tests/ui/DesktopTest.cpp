#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "QtTestApp.h"
#include "platform/path/Utf8Path.h"
#include "ui/DialogView.h"
#include "ui/QtDesktop.h"

namespace tiecalc {
namespace {

SaveFileRequest SheetRequest() {
  SaveFileRequest r;
  r.defaultExtension = "*.xls";
  r.fileName = "塔机三杆附着";
  r.filter = "EXCEL文档(*.xls)|*.xls|EXCEL文档(*.xlsx)|*.xlsx|";
  r.hideReadOnly = true;
  r.promptOverwrite = false;
  return r;
}

class DesktopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }
};

TEST_F(DesktopTest, SaveDialogTakesNameExtensionFilterAndOverwriteRule) {
  EXPECT_EQ((QStringList{QStringLiteral("EXCEL文档(*.xls)"), QStringLiteral("EXCEL文档(*.xlsx)")}),
            NameFilters(SheetRequest().filter));
  EXPECT_EQ((QStringList{QStringLiteral("Word文档 (*.doc)"), QStringLiteral("所有文件 (*.txt *.csv)")}),
            NameFilters("Word文档|*.doc|所有文件|*.txt;*.csv|"));

  std::unique_ptr<QFileDialog> dialog(CQtDesktop::MakeSaveDialog(SheetRequest(), nullptr));
  EXPECT_EQ(QFileDialog::AcceptSave, dialog->acceptMode());
  EXPECT_EQ(QStringLiteral("xls"), dialog->defaultSuffix());
  EXPECT_EQ(NameFilters(SheetRequest().filter), dialog->nameFilters());
  EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  ASSERT_EQ(1, dialog->selectedFiles().size());
  EXPECT_TRUE(dialog->selectedFiles().front().endsWith(QStringLiteral("/塔机三杆附着.xls")))
      << dialog->selectedFiles().front().toStdString();

  // A name typed without extension takes that of the file type picked.
  dialog->show();
  auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_TRUE(types);
  types->setFocus();
  QTest::keyClick(types, Qt::Key_Down);
  EXPECT_EQ(QStringLiteral("xlsx"), dialog->defaultSuffix());
  QTest::keyClick(types, Qt::Key_Up);
  EXPECT_EQ(QStringLiteral("xls"), dialog->defaultSuffix());
  dialog->hide();

  SaveFileRequest ask = SheetRequest();
  ask.promptOverwrite = true;
  std::unique_ptr<QFileDialog> asking(CQtDesktop::MakeSaveDialog(ask, nullptr));
  EXPECT_FALSE(asking->testOption(QFileDialog::DontConfirmOverwrite));
}

// A page whose button asks for a file, writes it and says so, as the
// export and report commands do.
class CWritingPage : public CDialog {
 public:
  CWritingPage() : CDialog(MakeTemplate()) {
    OnClick(1, [this] {
      const auto path = Desktop()->AskSaveFileName(SheetRequest());
      if (!path) return;
      lastPath = *path;
      std::ofstream(PathFromUtf8(*path)) << "rows";
      Desktop()->ShowMessage("文件输出成功!", MessageIcon::Information);
    });
  }
  std::string lastPath;
  static DialogTemplate MakeTemplate() {
    DialogTemplate t;
    t.width = 100;
    t.height = 40;
    ControlTemplate b;
    b.id = 1;
    b.kind = ControlKind::Button;
    b.caption = "输出结果到文件";
    b.rect = {10, 10, 80, 14};
    t.controls = {b};
    return t;
  }
};

TEST_F(DesktopTest, AButtonReachesTheRealSaveDialogAndMessageBox) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("三杆.xls"));
  CWritingPage page;
  QWidget host;
  CQtDesktop desktop(&host);
  page.SetDesktop(&desktop);
  page.Create();
  CDialogView view(page, WindowFont(10), &host);
  host.show();

  {
    test::ModalAnswers answers({target});
    QTest::mouseClick(qobject_cast<QPushButton*>(view.Control(1)), Qt::LeftButton);
    EXPECT_EQ(2, answers.Filters().size());
    EXPECT_EQ(QStringList{QStringLiteral("文件输出成功!")}, answers.Messages());
    EXPECT_EQ(QList<QMessageBox::Icon>{QMessageBox::Information}, answers.Icons());
  }
  EXPECT_EQ(target, QDir::fromNativeSeparators(QString::fromStdString(page.lastPath)));
  EXPECT_TRUE(QFile::exists(target));

  // The next dialog for a workbook opens in the folder just used; one for
  // another kind of file does not.
  EXPECT_EQ(QDir(dir.path()).canonicalPath(),
            std::unique_ptr<QFileDialog>(CQtDesktop::MakeSaveDialog(SheetRequest(), nullptr))->directory().canonicalPath());
  SaveFileRequest report = SheetRequest();
  report.defaultExtension = "doc";
  EXPECT_NE(QDir(dir.path()).canonicalPath(), QDir(CQtDesktop::LastFolder(report)).canonicalPath());
  EXPECT_NE(QDir::current().canonicalPath(), QDir(CQtDesktop::LastFolder(report)).canonicalPath());

  // A name in a folder that does not exist is refused with a message, and
  // the dialog asks again.
  QFile::remove(target);
  {
    test::ModalAnswers answers({dir.filePath(QStringLiteral("无此文件夹/三杆.xls")), target});
    QTest::mouseClick(qobject_cast<QPushButton*>(view.Control(1)), Qt::LeftButton);
    EXPECT_EQ((QStringList{QStringLiteral("文件夹“") + QDir::toNativeSeparators(dir.filePath(QStringLiteral("无此文件夹"))) +
                               QStringLiteral("”不存在，请选择已有的文件夹。"),
                           QStringLiteral("文件输出成功!")}),
              answers.Messages());
  }
  EXPECT_TRUE(QFile::exists(target));

  // Cancelling writes nothing.
  QFile::remove(target);
  test::WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); },
                  [&] { QTest::mouseClick(qobject_cast<QPushButton*>(view.Control(1)), Qt::LeftButton); });
  EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
}  // namespace tiecalc
