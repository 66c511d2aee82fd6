#pragma once
// The case kept in the main window: the 文件 menu (新建, 打开…, 保存,
// 另存为…, the five most recent cases, 退出), the file name and the change
// mark in the title, the question before unsaved work is dropped, opening a
// case named on the command line or dropped onto the window, and the
// autosave that a run which did not end normally leaves for the next start.

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
  // Brings a case into pages started afresh and shows them.
  void Show(const CaseState& state);
  void WatchDrops();
  void OfferRestore();
  void RemoveAutosave();

  CMainDlg& m_window;
  std::unique_ptr<CQtCaseDesktop> m_qtDesktop;
  ICaseDesktop* m_desktop;
  QString m_path;
  std::vector<CasePage> m_clean;  // the inputs as last opened or saved
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
