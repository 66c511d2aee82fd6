#pragma once
// The desktop of the window: real save-file dialogs and message boxes.

#include <QString>
#include <QStringList>

#include "platform/dialog/Desktop.h"

class QFileDialog;
class QWidget;

namespace tiecalc {

// "EXCEL文档(*.xls)|*.xls|" -> {"EXCEL文档(*.xls)"} with the patterns the
// dialog filters by; a text that does not name its pattern gets it appended.
QStringList NameFilters(const std::string& filter);

class CQtDesktop : public IDesktop {
 public:

  explicit CQtDesktop(QWidget* parent = nullptr) : m_parent(parent) {}
  void SetParent(QWidget* parent) { m_parent = parent; }

  std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override;
  // A message box captioned with the program's name.
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  // A question box with 继续 and 取消, 取消 the default (and Esc).
  bool Confirm(const std::string& text) override;

  // The configured dialog, not yet shown. It opens in the folder last used
  // for files of the request's kind (its default extension), remembered
  // across runs in the user's settings of the program, else in the
  // documents folder.
  static QFileDialog* MakeSaveDialog(const SaveFileRequest& request, QWidget* parent);
  static QString LastFolder(const SaveFileRequest& request);
  static void RememberFolder(const SaveFileRequest& request, const QString& folder);

 private:
  QWidget* m_parent;
};

}  // namespace tiecalc
