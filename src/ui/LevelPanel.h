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
  QLabel* EmptyHint() const { return m_hint; }

 private:
  // The buttons' commands (添加, 复制, 重命名, 删除): each asks the name and
  // height (删除: whether to) and hands them to the session.
  void OnAdd();
  void OnCopy();
  void OnRename();
  void OnDelete();
  // The list as the session's book has it.
  void Fill();
  void OnChosen(int row);

  CCaseSession& m_session;
  QListWidget* m_list = nullptr;
  QLabel* m_hint = nullptr;
  QPushButton *m_copy = nullptr, *m_rename = nullptr, *m_delete = nullptr;  // need a level
};

}  // namespace tiecalc
