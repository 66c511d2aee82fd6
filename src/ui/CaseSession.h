#pragma once
// The case kept in the main window: the 文件 menu (新建, 打开…, 保存,
// 另存为…, the five most recent cases, 退出), the file name and the change
// mark in the title, the question before unsaved work is dropped, opening a
// case named on the command line or dropped onto the window, the autosave
// that a run which did not end normally leaves for the next start, and the
// calculation book's settings kept with the case (project, load cases, rod
// sections, attachment levels), the levels' own inputs swapped in and out of
// the pages as the user chooses a level.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>

#include "case/CaseFile.h"

class QAction;
class QMenu;
class QWidget;

namespace tiecalc {

class CMainDlg;

// What the case commands ask of the user. The window answers with Qt's
// dialogs; tests answer with a script.
class ICaseDesktop {
 public:
  enum class SaveAnswer { Save, Discard, Cancel };
  virtual ~ICaseDesktop() = default;
  virtual std::optional<QString> AskOpenPath(const QString& folder) = 0;
  // proposed: a full path (folder and name) to start from.
  virtual std::optional<QString> AskSavePath(const QString& proposed) = 0;
  virtual SaveAnswer AskSaveChanges(const QString& question) = 0;
  virtual bool AskRestore(const QString& question) = 0;
  // A yes/no question before something is dropped (a level deleted).
  virtual bool AskConfirm(const QString& question) = 0;
  virtual void ShowError(const QString& text) = 0;
};

class CQtCaseDesktop : public ICaseDesktop {
 public:
  static const char* const kFilter;  // "塔机附着计算文件 (*.tiecalc)"
  explicit CQtCaseDesktop(QWidget* parent) : m_parent(parent) {}
  std::optional<QString> AskOpenPath(const QString& folder) override;
  std::optional<QString> AskSavePath(const QString& proposed) override;
  SaveAnswer AskSaveChanges(const QString& question) override;
  bool AskRestore(const QString& question) override;
  bool AskConfirm(const QString& question) override;
  void ShowError(const QString& text) override;

 private:
  QWidget* m_parent;
};

class CCaseSession : public QObject {
  Q_OBJECT
 public:
  static constexpr int kRecentCount = 5;
  static constexpr int kAutosaveDelayMs = 1000;

  explicit CCaseSession(CMainDlg& window);
  ~CCaseSession() override;

  // Tests answer the questions themselves.
  void SetDesktop(ICaseDesktop* desktop) { m_desktop = desktop; }

  // At start: offers to restore what a run that did not end normally left,
  // then opens the case files named (the command line).
  void Start(const QStringList& files);

  // The menu's commands; each returns whether it was carried out.
  bool New();
  bool Open();
  bool OpenPath(const QString& path);
  bool Save();
  bool SaveAs();
  // Unsaved work saved or dropped as the user answers; false: cancelled.
  bool MayClose();

  const QString& Path() const { return m_path; }
  bool IsModified() const { return m_modified; }
  QString Title() const;
  QStringList RecentCases() const;
  QString AutosavePath() const { return m_autosavePath; }
  // Writes the autosave now, when there are changes it does not hold yet.
  void WriteAutosave();

  QAction* NewAction() const { return m_new; }
  QAction* OpenAction() const { return m_open; }
  QAction* SaveAction() const { return m_save; }
  QAction* SaveAsAction() const { return m_saveAs; }
  QAction* ExitAction() const { return m_exit; }

  // The calculation book's settings of the case, as the pages' 计算书
  // buttons have them. The level shown keeps the inputs it had when it was
  // last left; the pages show its current ones.
  const CaseBook& Book() const;
  // New settings (from the book's dialogs): kept, handed to the pages'
  // 计算书 buttons, and the case marked changed where they differ from
  // those last opened or saved.
  void SetBook(CaseBook book);

  // The attachment levels. Each returns whether it was carried out; a
  // refused name is told through the desktop. Choosing a level keeps the
  // force pages' inputs in the level left and brings the chosen level's
  // into the pages (the rod-check page keeps its own).
  bool ChooseLevel(int index);
  // The first level takes the pages as they show; a later one starts from
  // the pages' start texts, and is chosen.
  bool AddLevel(const QString& name, const QString& height);
  // A copy of the level shown, placed after it and chosen.
  bool CopyLevel(const QString& name, const QString& height);
  bool RenameLevel(int index, const QString& name, const QString& height);
  // Asks first. The shown level's neighbour is then shown; without levels
  // left, the pages keep what they show.
  bool DeleteLevel(int index);
  // Why a level cannot be named so (empty, too long, taken by another
  // level than `except`), or an empty text.
  QString LevelNameRefusal(const QString& name, int except = -1) const;
  // A name for a new level: 第一道, 第二道, ... not taken yet.
  QString NextLevelName() const;

 signals:
  // The book settings changed (a dialog, a level chosen, a case opened).
  void BookChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CasePages Named() const;
  CaseState Capture() const;
  void OnEdited();
  void SetClean(const QString& path);
  void UpdateTitle();
  void AddRecent(const QString& path);
  void FillRecentMenu();
  bool WriteTo(const QString& path);
  bool Load(const QString& path, bool askFirst);
  // Brings a case into pages started afresh and shows them, with its book.
  void Show(const CaseState& state);
  // Shows level `index` of book (the shown level's inputs already kept).
  bool ShowLevel(CaseBook book, int index);
  void WatchDrops();
  void OfferRestore();
  void RemoveAutosave();

  CMainDlg& m_window;
  std::unique_ptr<CQtCaseDesktop> m_qtDesktop;
  ICaseDesktop* m_desktop;
  QString m_path;
  std::vector<CasePage> m_clean;  // the inputs as last opened or saved
  std::string m_cleanBook;  // the book settings as last opened or saved, as written
  bool m_modified = false;
  QTimer m_autosaveTimer;
  QString m_autosavePath;
  std::unique_ptr<QLockFile> m_autosaveLock;
  bool m_autosaveCurrent = true;  // the autosave (or its absence) holds the state
  QMenu* m_recentMenuAnchor = nullptr;
  QAction *m_new = nullptr, *m_open = nullptr, *m_save = nullptr, *m_saveAs = nullptr, *m_exit = nullptr;
  QAction* m_recentSeparator = nullptr;
  std::vector<QAction*> m_recent;
};

}  // namespace tiecalc
