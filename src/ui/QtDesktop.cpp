#include "ui/QtDesktop.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

#include "ui/MainDlg.h"

namespace tiecalc {

QStringList NameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(u'|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts[i].trimmed();
    const QString pattern = parts[i + 1].trimmed();
    if (text.isEmpty() && pattern.isEmpty()) continue;
    // The dialog reads the patterns from the last "(...)" of the text.
    if (!text.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')')))
      text += QStringLiteral(" (") + QString(pattern).replace(u';', u' ') + QLatin1Char(')');
    out << text;
  }
  return out;
}

QFileDialog* CQtDesktop::MakeSaveDialog(const SaveFileRequest& request, QWidget* parent) {
  auto* dialog = new QFileDialog(parent);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
  // The dialogs here have no read-only box to show.
  dialog->setOption(QFileDialog::ReadOnly, false);
  QString suffix = QString::fromStdString(request.defaultExtension);
  while (suffix.startsWith(u'*') || suffix.startsWith(u'.')) suffix.remove(0, 1);
  dialog->setDefaultSuffix(suffix);
  const QStringList filters = NameFilters(request.filter);
  if (!filters.isEmpty()) dialog->setNameFilters(filters);
  // A name typed without extension takes that of the file type chosen.
  QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([^*?;() ]+)\\)$"));
    const QRegularExpressionMatch m = single.match(filter);
    if (m.hasMatch()) dialog->setDefaultSuffix(m.captured(1));
  });
  dialog->setDirectory(LastFolder(request));
  dialog->selectFile(QString::fromStdString(request.fileName));
  return dialog;
}

namespace {

// The user's settings of the program ("tiecalc/tiecalc.ini" under the
// user's configuration folder).
std::unique_ptr<QSettings> Settings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tiecalc"),
                                     QStringLiteral("tiecalc"));
}

// Files are of one kind when they share the default extension.
QString FolderKey(const SaveFileRequest& request) {
  QString kind = QString::fromStdString(request.defaultExtension).toLower();
  while (kind.startsWith(u'*') || kind.startsWith(u'.')) kind.remove(0, 1);
  return QStringLiteral("saveFolders/") + (kind.isEmpty() ? QStringLiteral("other") : kind);
}

}  // namespace

QString CQtDesktop::LastFolder(const SaveFileRequest& request) {
  const QString last = Settings()->value(FolderKey(request)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void CQtDesktop::RememberFolder(const SaveFileRequest& request, const QString& folder) {
  Settings()->setValue(FolderKey(request), folder);
}

std::optional<std::string> CQtDesktop::AskSaveFileName(const SaveFileRequest& request) {
  SaveFileRequest ask = request;
  for (;;) {
    std::unique_ptr<QFileDialog> dialog(MakeSaveDialog(ask, m_parent));
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    const QFileInfo chosen(files.front());
    if (chosen.absoluteDir().exists()) {
      RememberFolder(request, chosen.absolutePath());
      return QDir::toNativeSeparators(chosen.absoluteFilePath()).toStdString();
    }
    // A name in a folder that does not exist: say so, and ask again with
    // the name kept.
    ShowMessage("文件夹“" + QDir::toNativeSeparators(chosen.absolutePath()).toStdString() +
                    "”不存在，请选择已有的文件夹。",
                MessageIcon::Exclamation);
    ask.fileName = chosen.fileName().toStdString();
  }
}

void CQtDesktop::ShowMessage(const std::string& text, MessageIcon icon) {
  QMessageBox::Icon qicon = QMessageBox::NoIcon;
  switch (icon) {
    case MessageIcon::None: qicon = QMessageBox::NoIcon; break;
    case MessageIcon::Exclamation: qicon = QMessageBox::Warning; break;
    case MessageIcon::Information: qicon = QMessageBox::Information; break;
    case MessageIcon::Error: qicon = QMessageBox::Critical; break;
    case MessageIcon::Question: qicon = QMessageBox::Question; break;
  }
  QMessageBox box(qicon, QString::fromUtf8(CMainDlg::kTitle), QString::fromStdString(text), QMessageBox::Ok, m_parent);
  box.exec();
}

bool CQtDesktop::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(CMainDlg::kTitle), QString::fromStdString(text),
                  QMessageBox::NoButton, m_parent);
  QPushButton* goOn = box.addButton(QString::fromUtf8("继续"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == goOn;
}

}  // namespace tiecalc
