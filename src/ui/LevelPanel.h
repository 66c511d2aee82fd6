#pragma once
// The attachment levels (附着道次) of the case, left of the pages: the list,
// the level shown selected, and 添加 / 复制 / 重命名 / 删除 below it.
// Choosing a level shows its inputs; without levels the list is empty and
// the pages are the case, as ever.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace tiecalc {

class CCaseSession;

class CLevelPanel : public QWidget {
  Q_OBJECT
 public:
  static const char* const kTitle;  // "附着道次"
  static const char* const kEmptyHint;

  CLevelPanel(CCaseSession& session, QWidget* parent);
  QListWidget* List() const { return m_list; }
  // 添加, 复制, 重命名, 删除.
  QPushButton* AddButton() const { return m_add; }
  QPushButton* CopyButton() const { return m_copy; }
  QPushButton* RenameButton() const { return m_rename; }
  QPushButton* DeleteButton() const { return m_delete; }
  QLabel* EmptyHint() const { return m_hint; }

  // The buttons' commands: each asks the name and height (删除: whether
  // to) and hands them to the session.
  void OnAdd();
  void OnCopy();
  void OnRename();
  void OnDelete();

 private:
  // The list as the session's book has it.
  void Fill();
  void OnChosen(int row);

  CCaseSession& m_session;
  QListWidget* m_list = nullptr;
  QLabel* m_hint = nullptr;
  QPushButton *m_add = nullptr, *m_copy = nullptr, *m_rename = nullptr, *m_delete = nullptr;
};

}  // namespace tiecalc
