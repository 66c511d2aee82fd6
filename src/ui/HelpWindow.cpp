#include "ui/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/AppIcon.h"
#include "ui/WindowPlace.h"

namespace tiecalc {

const char* const CHelpWindow::kTitle = "塔机附着计算 使用说明";
const char* const CHelpWindow::kContents = "index.md";
const char* const CHelpWindow::kVersions = "versions.md";

CHelpWindow::CHelpWindow(const QString& manualDir, QWidget* parent) : QWidget(parent, Qt::Window), m_dir(manualDir) {
  setWindowTitle(QString::fromUtf8(kTitle));
  setWindowIcon(AppIcon());
  setAttribute(Qt::WA_DeleteOnClose, false);

  m_browser = new QTextBrowser(this);
  m_browser->setOpenExternalLinks(true);
  if (!m_dir.isEmpty()) m_browser->setSearchPaths({m_dir});
  // The manual is read on the sky blue of the dialogs as plain white paper.
  QPalette paper = m_browser->palette();
  paper.setColor(QPalette::Base, Qt::white);
  m_browser->setPalette(paper);

  auto* contents = new QPushButton(QStringLiteral("目录"), this);
  auto* back = new QPushButton(QStringLiteral("后退"), this);
  auto* forward = new QPushButton(QStringLiteral("前进"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, [this] { Open(QString::fromUtf8(kContents)); });
  connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
  connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(m_browser);

  // A page of the manual beside the window that opened it, inside the screen.
  resize(760, 820);
  PlaceOnShow(*this, [this](const QMargins& frame, const QRect& available) {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    return owner ? Beside(FrameRect(*owner), size(), minimumSize(), frame, available)
                 : CentredOn(size(), frame, available.center());
  });
}

void CHelpWindow::Open(const QString& section) {
  const QString file = m_dir.isEmpty() ? QString() : QDir(m_dir).filePath(section);
  if (file.isEmpty() || !QFileInfo::exists(file)) {
    m_browser->setHtml(QStringLiteral("<p>未找到使用说明 %1。</p><p>使用说明应在程序旁的 manual 文件夹中，"
                                      "或在安装目录的 share/tiecalc/manual 中。</p>")
                           .arg(section.toHtmlEscaped()));
    return;
  }
  m_browser->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
}

QString CHelpWindow::Section() const {
  const QUrl source = m_browser->source();
  return source.isEmpty() ? QString() : QFileInfo(source.toLocalFile()).fileName();
}

QString CHelpWindow::ManualDir() {
  const QDir dir(QCoreApplication::applicationDirPath());
  for (const QString& candidate :
       {dir.filePath(QStringLiteral("manual")), dir.filePath(QStringLiteral("../share/tiecalc/manual"))}) {
    if (QFileInfo::exists(QDir(candidate).filePath(QString::fromUtf8(kContents))))
      return QFileInfo(candidate).canonicalFilePath();
  }
  return {};
}

CHelpWindow* CHelpWindow::Show(QWidget* owner, const QString& section) {
  auto* help = owner ? owner->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
  if (!help) help = new CHelpWindow(ManualDir(), owner);
  help->Open(section);
  help->show();
  help->raise();
  help->activateWindow();
  return help;
}

}  // namespace tiecalc
