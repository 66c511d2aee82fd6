#include "ui/LevelPanel.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/BookDialogs.h"
#include "ui/CaseSession.h"
#include "ui/DialogParts.h"

namespace tiecalc {

const char* const CLevelPanel::kTitle = "附着道次";
const char* const CLevelPanel::kEmptyHint = "未分道次。按“添加”把当前页面作为第一道。";

CLevelPanel::CLevelPanel(CCaseSession& session, QWidget* parent) : QWidget(parent), m_session(session) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  layout->addWidget(new QLabel(QString::fromUtf8(kTitle), this));
  m_list = new QListWidget(this);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  // A name longer than the column ends in "…"; its tooltip has it whole.
  m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_list->setTextElideMode(Qt::ElideRight);
  m_list->setToolTip(QStringLiteral("单击一道，页面换为该道次的输入；双击修改名称和标高"));
  layout->addWidget(m_list, 1);
  // Inside the empty list, where the levels would be.
  m_hint = new QLabel(QString::fromUtf8(kEmptyHint), m_list->viewport());
  m_hint->setWordWrap(true);
  m_hint->setForegroundRole(QPalette::PlaceholderText);
  auto* inside = new QVBoxLayout(m_list->viewport());
  inside->setContentsMargins(3, 3, 3, 3);
  inside->addWidget(m_hint);
  inside->addStretch();
  // One under another: the column stays narrow.
  const auto button = [&](const char* text, void (CLevelPanel::*onClick)()) {
    QPushButton* b = CommandButton(text, this, [this, onClick] { (this->*onClick)(); });
    b->setMinimumWidth(0);
    layout->addWidget(b);
    return b;
  };
  button("添加", &CLevelPanel::OnAdd);
  m_copy = button("复制", &CLevelPanel::OnCopy);
  m_rename = button("重命名", &CLevelPanel::OnRename);
  m_delete = button("删除", &CLevelPanel::OnDelete);
  connect(m_list, &QListWidget::currentRowChanged, this, &CLevelPanel::OnChosen);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &CLevelPanel::OnRename);
  connect(&m_session, &CCaseSession::BookChanged, this, &CLevelPanel::Fill);
  Fill();
}

void CLevelPanel::Fill() {
  const CaseBook& book = m_session.Book();
  const QSignalBlocker quiet(m_list);
  m_list->clear();
  for (const CaseLevel& level : book.levels) {
    const QString name = QString::fromStdString(level.name), height = QString::fromStdString(level.height);
    // The height on a line of its own: the column is narrow.
    auto* item = new QListWidgetItem(height.isEmpty() ? name : name + QStringLiteral("\n") + height + QStringLiteral(" m"));
    item->setToolTip(height.isEmpty() ? name : QStringLiteral("%1，标高 %2 m").arg(name, height));
    m_list->addItem(item);
  }
  if (!book.levels.empty()) m_list->setCurrentRow(book.level);
  m_hint->setVisible(book.levels.empty());
  for (QPushButton* b : {m_copy, m_rename, m_delete}) b->setEnabled(!book.levels.empty());
}

void CLevelPanel::OnChosen(int row) {
  if (row < 0 || row == m_session.Book().level) return;
  m_session.ChooseLevel(row);
}

void CLevelPanel::OnAdd() {
  CLevelDialog dialog(QStringLiteral("添加附着道次"), m_session.NextLevelName(), QString(), window());
  if (dialog.exec() == QDialog::Accepted) m_session.AddLevel(dialog.Name(), dialog.Height());
}

void CLevelPanel::OnCopy() {
  const CaseBook& book = m_session.Book();
  if (book.levels.empty()) return;
  CLevelDialog dialog(QStringLiteral("复制附着道次"), m_session.NextLevelName(),
                      QString::fromStdString(book.Shown().height), window());
  if (dialog.exec() == QDialog::Accepted) m_session.CopyLevel(dialog.Name(), dialog.Height());
}

void CLevelPanel::OnRename() {
  const CaseBook& book = m_session.Book();
  const int row = m_list->currentRow();
  if (row < 0 || row >= static_cast<int>(book.levels.size())) return;
  const CaseLevel& level = book.levels[static_cast<size_t>(row)];
  CLevelDialog dialog(QStringLiteral("重命名附着道次"), QString::fromStdString(level.name),
                      QString::fromStdString(level.height), window());
  if (dialog.exec() == QDialog::Accepted) m_session.RenameLevel(row, dialog.Name(), dialog.Height());
}

void CLevelPanel::OnDelete() {
  const int row = m_list->currentRow();
  if (row >= 0) m_session.DeleteLevel(row);
}

}  // namespace tiecalc
