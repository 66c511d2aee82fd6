#pragma once
// Small pieces the window's dialogs and panels share.

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>
#include <functional>
#include <string>

namespace tiecalc {

// UTF-8 text of the pages and files as Qt's.
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// 确定 and 取消 under a dialog, accepting and rejecting it.
inline QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

// A button that runs onClick, and is not pressed by Enter in a dialog.
inline QPushButton* CommandButton(const char* text, QWidget* parent, std::function<void()> onClick) {
  auto* b = new QPushButton(QString::fromUtf8(text), parent);
  b->setAutoDefault(false);
  QObject::connect(b, &QPushButton::clicked, parent, std::move(onClick));
  return b;
}

}  // namespace tiecalc
