#pragma once
// The main window: the tab control with the four pages, the attachment
// levels left of it, the always-on-top switch, the about box and the exit
// button.

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dialog/Dialog.h"
#include "platform/theme/ThemeServices.h"
#include "ui/QtDesktop.h"
#include "wiring/PageSet.h"

class QLabel;
class QScrollArea;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tiecalc {

class CCaseSession;
class CChartWindow;
class CDialogView;
class CLevelPanel;
class CXPTabCtrl;

// The main window's layout; the ids are those of its controls.
DialogTemplate MainDlgTemplate();

inline constexpr int kIdTab = 1026;
inline constexpr int kIdTopMost = 1024;
inline constexpr int kIdAbout = 1025;
inline constexpr int kIdExit = 1;

class CMainDlg : public QDialog {
  Q_OBJECT
 public:
  // Makes the pages in page order; they are created and shown by the window.
  using PageFactory = std::function<std::unique_ptr<CPageSet>()>;

  static const char* const kTitle;
  static const char* const kTopMostOff;  // caption while not on top
  static const char* const kTopMostOn;
  static const char* const kInfoText;
  static const char* const kTabCaptions[4];
  // The about entry appended to the system menu, and its command.
  static const char* const kAboutMenuText;
  static constexpr unsigned kIdAboutCommand = 16;
  static const char* const kFileMenuText;  // "文件"
  // The manual's section of each page, in page order, that F1 opens.
  static const char* const kPageSections[4];
  // The 帮助 menu, after 文件: the manual's contents, and the about box.
  static const char* const kHelpMenuText;    // "帮助"
  static const char* const kManualItemText;  // "使用说明 (F1)"
  static const char* const kAboutItemText;   // "关于"
  static const char* const kBookMenuText;  // "生成计算书…"
  // The book's settings, before 生成计算书….
  static const char* const kProjectMenuText;   // "工程信息…"
  static const char* const kCasesMenuText;     // "荷载工况…"
  static const char* const kSectionsMenuText;  // "杆件截面…"
  // The width of the levels' list left of the tabs and the gap after it
  // (dialog units): the window is that much wider than its template.
  static constexpr int kLevelPanelWidth = 46;
  static constexpr int kLevelPanelGap = 3;

  explicit CMainDlg(PageFactory makePages, CThemeServices theme = CThemeServices(), QWidget* parent = nullptr);
  ~CMainDlg() override;

  // The one field reader of the program; every page reads through it.
  static double EvaluateFieldText(const std::string& text);

  CXPTabCtrl& Tab() const { return *m_tab; }
  int PageCount() const { return static_cast<int>(m_views.size()); }
  CDialogView& PageView(int index) const { return *m_views.at(static_cast<size_t>(index)); }
  CPage& Page(int index) const { return m_pages->Page(index); }
  CPageSet& Pages() const { return *m_pages; }
  // The index of the page shown.
  int ShownPage() const;
  // The menu bar above the tabs, its 文件 menu, and the case kept in the
  // window (file name, changes, autosave).
  QMenuBar* MenuBar() const { return m_menuBar; }
  QMenu* FileMenu() const { return m_fileMenu; }
  CCaseSession& Session() const { return *m_session; }
  CLevelPanel& LevelPanel() const { return *m_levels; }

  // Four pages started afresh, as the window starts them (not shown yet).
  std::unique_ptr<CPageSet> StartPages();
  // Shows pages (from StartPages, then filled) in place of the current ones,
  // with shownPage selected.
  void ReplacePages(std::unique_ptr<CPageSet> pages, int shownPage);
  QPushButton* Button(int id) const;
  QLabel* InfoLabel() const { return m_info; }
  CQtDesktop& Desktop() { return m_desktop; }
  bool IsTopMost() const;
  // The force chart window, once a "受力曲线" button has opened it.
  CChartWindow* ChartWindow() const { return m_chart; }
  void OnChart();
  // The rod-check page's "截面..." button and, beside it, the page's section
  // line (SectionLine); nullptr without a rod-check page.
  QPushButton* SectionButton() const { return m_sectionButton; }
  QLabel* SectionLabel() const { return m_sectionLabel; }
  // Opens the section dialog for the rod-check page; OK applies its choice
  // through the page, Cancel leaves the page as it was.
  void OnSection();

  // Shows the page of the tab selection; any selection but 1, 2 or 3 shows page 0.
  void OnTabSelChange();
  // The calculation book of the force page shown, or of the last one shown
  // (the 计算书 button of that page).
  void OnBook();
  // The book's settings dialogs: OK stores into the case's book, Cancel
  // leaves it as it was.
  void OnProject();
  void OnLoadCases();
  void OnRodSections();
  int LastForcePage() const { return m_lastForcePage; }
  // The next or previous page, round the end (Ctrl+Tab, Ctrl+PgDn; with
  // Shift, Ctrl+PgUp).
  void StepPage(int step);
  // The scroll area a page is shown in, inside the tab's page area.
  QScrollArea* PageArea(int index) const { return m_areas.at(static_cast<size_t>(index)); }
  // The size of the template with the menu bar: the window's size where
  // the screen allows.
  QSize NaturalSize() const;
  // The size the window asks for on a screen whose available area leaves
  // `room` inside the frame: the natural size, widened (heightened) by the
  // pages' scroll bar where they scroll down (across), so that the bar
  // covers nothing. It opens that size, shrunk to the room, centred.
  QSize WantedSize(const QSize& room) const;
  void OnTopMost();
  void OnAbout();
  // F1: the manual at the section of the page shown.
  void OnHelp();
  // 帮助 > 使用说明: the manual's contents.
  void OnManual();

  // Every way of closing the window comes here; unsaved work is offered
  // for saving first, and the window stays open when that is cancelled.
  void done(int result) override;

 signals:
  // The user changed an input of a page (typed, picked, ticked).
  void PagesEdited();
  // New pages are shown (a case opened, 新建).
  void PagesReplaced();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The about entry of the system menu, where the platform has one.
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  void PlacePages();
  void CreateViews();
  void CreateMenuBar();
  void AddHelpMenu();
  // The controls for the window's size: the tab control takes what the menu
  // bar and the bottom row (note and buttons, right-aligned) leave.
  void Relayout();
  void SetUpKeys();
  // The section button and line on the rod-check page's view.
  void AddSectionControls(CDialogView& view);
  void ShowSectionLine();
  void AddAboutToSystemMenu();

  CQtDesktop m_desktop;
  CXPTabCtrl* m_tab = nullptr;
  QLabel* m_info = nullptr;
  std::vector<QPushButton*> m_buttons;
  PageFactory m_makePages;
  std::unique_ptr<CPageSet> m_pages;
  QMenuBar* m_menuBar = nullptr;
  QMenu* m_fileMenu = nullptr;
  CCaseSession* m_session = nullptr;
  CLevelPanel* m_levels = nullptr;
  std::vector<CDialogView*> m_views;
  CChartWindow* m_chart = nullptr;
  int m_lastForcePage = 0;
  std::vector<QScrollArea*> m_areas;  // each holds its view
  QPushButton* m_sectionButton = nullptr;  // children of the rod-check view
  QLabel* m_sectionLabel = nullptr;
};

}  // namespace tiecalc
