#include "ui/MainDlg.h"

#if TIECALC_HAVE_CHART
#include "ui/ChartWindow.h"
#endif

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QWindow>

#include "core/input/FieldText.h"
#include "pages/RodCheckPage.h"
#include "ui/AboutDlg.h"
#include "ui/AppIcon.h"
#include "ui/BookDialogs.h"
#include "ui/CaseSession.h"
#include "ui/DialogUnits.h"
#include "ui/DialogView.h"
#include "ui/HelpWindow.h"
#include "ui/LevelPanel.h"
#include "ui/SectionDialog.h"
#include "ui/WindowPlace.h"
#include "ui/XPTabCtrl.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#endif

namespace tiecalc {

const char* const CMainDlg::kTitle = "岱衡塔机附着计算V2.2";
const char* const CMainDlg::kTopMostOff = "置  顶";
const char* const CMainDlg::kTopMostOn = "不置顶";
const char* const CMainDlg::kInfoText = "各输入框可填算式，改动即时计算；鼠标停留显示提示。";
const char* const CMainDlg::kTabCaptions[4] = {" 三 杆 附 着 ", " 四 杆 附 着 (一) ", " 四 杆 附 着 (二) ",
                                               " 附 着 杆 校 核 "};
const char* const CMainDlg::kAboutMenuText = "关于 岱衡塔机附着计算(&A)...";
const char* const CMainDlg::kFileMenuText = "文件";
const char* const CMainDlg::kPageSections[4] = {"three-rod.md", "four-rod-1.md", "four-rod-2.md", "rod-check.md"};
const char* const CMainDlg::kHelpMenuText = "帮助";
const char* const CMainDlg::kManualItemText = "使用说明 (F1)";
const char* const CMainDlg::kAboutItemText = "关于";
const char* const CMainDlg::kBookMenuText = "生成计算书…";
const char* const CMainDlg::kProjectMenuText = "工程信息…";
const char* const CMainDlg::kCasesMenuText = "荷载工况…";
const char* const CMainDlg::kSectionsMenuText = "杆件截面…";

DialogTemplate MainDlgTemplate() {
  DialogTemplate t;
  t.id = 102;
  t.title = CMainDlg::kTitle;
  t.width = 347;
  t.height = 274;
  t.fontName = "宋体";
  t.fontSize = 10;
  t.controls = {
      MakeControl(kIdTab, ControlKind::Static, "", {1, 1, 345, 252}),
      MakeControl(kIdTopMost, ControlKind::Button, CMainDlg::kTopMostOff, {201, 258, 42, 14}),
      MakeControl(kIdAbout, ControlKind::Button, "关  于", {251, 258, 42, 14}),
      MakeControl(kIdExit, ControlKind::Button, "退  出", {301, 258, 42, 14}),
      MakeControl(kStaticId, ControlKind::Static, CMainDlg::kInfoText, {2, 260, 191, 9}),
  };
  return t;
}

double CMainDlg::EvaluateFieldText(const std::string& text) { return tiecalc::EvaluateFieldText(text); }

CMainDlg::CMainDlg(PageFactory makePages, CThemeServices theme, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_desktop(this) {
  const DialogTemplate t = MainDlgTemplate();
  const QFont font = WindowFont(t.fontSize);
  setFont(font);
  const CDialogUnits units(font);
  // Resizable: on a small screen the pages scroll inside the tab area.
  resize(units.X(t.width), units.Y(t.height));
  setMinimumSize(units.X(160), units.Y(110));
  setSizeGripEnabled(true);
  setWindowIcon(AppIcon());

  for (const ControlTemplate& c : t.controls) {
    const QRect r = units.Rect(c.rect);
    if (c.id == kIdTab) {
      m_tab = new CXPTabCtrl(this, std::move(theme));
      m_tab->setGeometry(r);
    } else if (c.kind == ControlKind::Button) {
      auto* b = new QPushButton(QString::fromUtf8(c.caption), this);
      b->setProperty("controlId", c.id);
      b->setGeometry(r);
      m_buttons.push_back(b);
    } else {
      m_info = new QLabel(QString::fromUtf8(c.caption), this);
      m_info->setGeometry(r);
    }
  }
  Button(kIdAbout)->setDefault(true);
  connect(Button(kIdTopMost), &QPushButton::clicked, this, &CMainDlg::OnTopMost);
  connect(Button(kIdAbout), &QPushButton::clicked, this, &CMainDlg::OnAbout);
  connect(Button(kIdExit), &QPushButton::clicked, this, &QDialog::accept);
  connect(m_tab, &CXPTabCtrl::SelectionChanged, this, &CMainDlg::OnTabSelChange);

  // Initialisation, in this order: title, tab items, pages made, pages
  // created (each runs its start sequence), placed, page 0 shown.
  setWindowTitle(QString::fromUtf8(kTitle));
  for (int i = 0; i < 4; ++i) m_tab->InsertItem(i, QString::fromUtf8(kTabCaptions[i]));
  m_tab->SetCurSel(0);
  m_makePages = std::move(makePages);
  m_pages = m_makePages();
  CreateViews();
#if TIECALC_HAVE_CHART
  // The chart window follows every change the user makes.
  connect(this, &CMainDlg::PagesEdited, this, [this] {
    if (m_chart) m_chart->Refresh();
  });
#endif
  CreateMenuBar();
  AddHelpMenu();
  SetUpKeys();
  AddAboutToSystemMenu();
  // F1 opens the page's own section; the menu item names the key but opens
  // the contents, so it carries no shortcut of its own.
  new QShortcut(QKeySequence(Qt::Key_F1), this, this, &CMainDlg::OnHelp);
  PlaceOnShow(*this, [this](const QMargins& frame, const QRect& available) {
    return CentredOn(WantedSize(available.size().shrunkBy(frame)), frame, available.center());
  });
}

void CMainDlg::AddHelpMenu() {
  QMenu* help = m_menuBar->addMenu(QString::fromUtf8(kHelpMenuText));
  help->addAction(QString::fromUtf8(kManualItemText), this, &CMainDlg::OnManual);
  help->addAction(QString::fromUtf8(kAboutItemText), this, &CMainDlg::OnAbout);
}

void CMainDlg::CreateViews() {
  m_sectionButton = nullptr;
  m_sectionLabel = nullptr;
  for (int i = 0; i < m_pages->Count(); ++i) {
    CPage& page = m_pages->Page(i);
    if (!page.IsCreated()) {
      page.SetDesktop(&m_desktop);
      page.Create();
    }
    auto* area = new QScrollArea(m_tab);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setBackgroundRole(QPalette::Window);
    area->viewport()->setBackgroundRole(QPalette::Window);
    auto* view = new CDialogView(page, WindowFont(page.Template().fontSize));
    view->SetTitle(QString::fromUtf8(kTabCaptions[i]).remove(u' '));
    // The page fills the area; it scrolls only where the area is smaller
    // than what its controls cover.
    QRect used;
    for (QWidget* w : view->Widgets()) used |= w->geometry();
    view->setMinimumSize(used.right() + 1, used.bottom() + 1);
    area->setWidgetResizable(true);
    area->setWidget(view);
    m_views.push_back(view);
    m_areas.push_back(area);
#if TIECALC_HAVE_CHART
    // The force pages' "受力曲线" opens the chart window.
    if (i < 3) page.OnClick(CForcePage::kChartButton, [this] { OnChart(); });
#endif
    if (dynamic_cast<CRodCheckPage*>(&page)) AddSectionControls(*view);
    // What the user changes on a page, after the page has taken it.
    for (QWidget* w : m_views.back()->Widgets()) {
      if (auto* e = qobject_cast<QLineEdit*>(w)) connect(e, &QLineEdit::textEdited, this, &CMainDlg::PagesEdited);
      if (auto* e = qobject_cast<QPlainTextEdit*>(w)) connect(e, &QPlainTextEdit::textChanged, this, &CMainDlg::PagesEdited);
      if (auto* c = qobject_cast<QComboBox*>(w)) connect(c, &QComboBox::activated, this, &CMainDlg::PagesEdited);
      if (auto* c = qobject_cast<QCheckBox*>(w)) connect(c, &QCheckBox::clicked, this, &CMainDlg::PagesEdited);
    }
  }
  ShowSectionLine();
  Relayout();
  OnTabSelChange();
  // Tab goes from the strip through the inputs of the page shown, then to
  // the buttons; results are in the chain for the mouse only.
  QWidget* previous = m_tab;
  for (CDialogView* v : m_views)
    for (QWidget* w : v->Widgets())
      if (w->focusPolicy() != Qt::NoFocus) {
        setTabOrder(previous, w);
        previous = w;
      }
  for (QPushButton* b : m_buttons) {
    setTabOrder(previous, b);
    previous = b;
  }
}

// The band between the two frames of the rod-check page, right of the
// results frame's title, is free: the button sits there, the line beside it
// up to the 轴力取自 list's column (dialog units).
constexpr DialogRect kSectionButtonRect{56, 169, 36, 11};
constexpr DialogRect kSectionLineRect{95, 169, 133, 9};

void CMainDlg::AddSectionControls(CDialogView& view) {
  m_sectionButton = new QPushButton(QStringLiteral("截面..."), &view);
  m_sectionButton->setGeometry(view.Units().Rect(kSectionButtonRect));
  m_sectionButton->setToolTip(QStringLiteral("从型钢库选取截面，算出 A、h、Imax、Imin、Ld、G 及缀件参数"));
  connect(m_sectionButton, &QPushButton::clicked, this, &CMainDlg::OnSection);
  m_sectionLabel = new QLabel(&view);
  m_sectionLabel->setGeometry(view.Units().Rect(kSectionLineRect));
  connect(this, &CMainDlg::PagesEdited, this, &CMainDlg::ShowSectionLine);
}

void CMainDlg::ShowSectionLine() {
  if (!m_sectionLabel) return;
  const auto& page = static_cast<const CRodCheckPage&>(static_cast<CDialogView*>(m_sectionLabel->parentWidget())->Dialog());
  // A line longer than its room ends in "…"; the tooltip has it whole.
  const QString line = QString::fromStdString(page.SectionLine());
  m_sectionLabel->setText(m_sectionLabel->fontMetrics().elidedText(line, Qt::ElideRight, m_sectionLabel->width()));
  m_sectionLabel->setToolTip(line);
}

void CMainDlg::OnSection() {
  if (!m_sectionButton) return;
  auto* view = static_cast<CDialogView*>(m_sectionButton->parentWidget());
  auto& page = static_cast<CRodCheckPage&>(view->Dialog());
  const auto* form = qobject_cast<QComboBox*>(view->Control(CRodCheckPage::kForm));
  CSectionDialog dialog(page, form ? form->currentText() : QString(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string why = page.ApplySection(dialog.Choice());
  view->Sync();
  if (!why.empty()) m_desktop.ShowMessage(why, MessageIcon::Error);
  emit PagesEdited();
}

void CMainDlg::ReplacePages(std::unique_ptr<CPageSet> pages, int shownPage) {
  // The views refer to the pages: they go first, with their areas.
  for (QScrollArea* area : m_areas) delete area;
  m_areas.clear();
  m_views.clear();
  m_pages = std::move(pages);
  m_tab->SetCurSel(shownPage);
  CreateViews();
  emit PagesReplaced();
}

std::unique_ptr<CPageSet> CMainDlg::StartPages() {
  auto pages = m_makePages();
  for (int i = 0; i < pages->Count(); ++i) {
    pages->Page(i).SetDesktop(&m_desktop);
    pages->Page(i).Create();
  }
  return pages;
}

int CMainDlg::ShownPage() const {
  const int sel = m_tab->GetCurSel();
  return (sel >= 1 && sel <= 3 && sel < PageCount()) ? sel : 0;
}

void CMainDlg::CreateMenuBar() {
  // The menu bar sits above the tab control, which with everything below
  // it moves down by its height.
  m_menuBar = new QMenuBar(this);
  m_fileMenu = m_menuBar->addMenu(QString::fromUtf8(kFileMenuText));
  resize(NaturalSize());
  Relayout();
  m_session = new CCaseSession(*this);
  m_levels = new CLevelPanel(*m_session, this);
  resize(NaturalSize());
  Relayout();
  // The calculation book, its settings first, after the case commands, in
  // a group of its own.
  QAction* before = nullptr;
  for (QAction* a : m_fileMenu->actions())
    if (a->isSeparator()) {
      before = a;
      break;
    }
  m_fileMenu->insertSeparator(before);
  const auto add = [&](const char* text, void (CMainDlg::*slot)()) {
    QAction* a = new QAction(QString::fromUtf8(text), m_fileMenu);
    connect(a, &QAction::triggered, this, slot);
    m_fileMenu->insertAction(before, a);
  };
  add(kProjectMenuText, &CMainDlg::OnProject);
  add(kCasesMenuText, &CMainDlg::OnLoadCases);
  add(kSectionsMenuText, &CMainDlg::OnRodSections);
  add(kBookMenuText, &CMainDlg::OnBook);
}

void CMainDlg::OnProject() {
  CProjectDialog dialog(m_session->Book().project, this);
  if (dialog.exec() != QDialog::Accepted) return;
  CaseBook book = m_session->Book();
  book.project = dialog.Project();
  m_session->SetBook(std::move(book));
}

void CMainDlg::OnLoadCases() {
  CLoadCaseDialog dialog(m_session->Book(), this);
  if (dialog.exec() == QDialog::Accepted) m_session->SetBook(dialog.Book());
}

void CMainDlg::OnRodSections() {
  CRodSectionsDialog dialog(m_session->Book(), m_pages->RodCheck(), this);
  if (dialog.exec() == QDialog::Accepted) m_session->SetBook(dialog.Book());
}

void CMainDlg::OnBook() {
  Page(m_lastForcePage).UserClick(CForcePage::kBookButton);
}

void CMainDlg::done(int result) {
  // However the window is closed (退出, the close box, the menu), unsaved
  // work is offered for saving first.
  if (m_session && !m_session->MayClose()) return;
  QDialog::done(result);
}

void CMainDlg::AddAboutToSystemMenu() {
#ifdef _WIN32
  // A separator, then the about entry, at the end of the window's menu.
  HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
  const std::wstring text = QString::fromUtf8(kAboutMenuText).toStdWString();
  if (menu && !text.empty()) {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kIdAboutCommand, text.c_str());
  }
#endif
  // Elsewhere the window manager owns the window menu: nothing to add.
}

bool CMainDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
#ifdef _WIN32
  // The low four bits of a system command are the system's own.
  const MSG* msg = static_cast<const MSG*>(message);
  if (eventType == "windows_generic_MSG" && msg->message == WM_SYSCOMMAND &&
      (static_cast<unsigned>(msg->wParam) & 0xFFF0u) == kIdAboutCommand) {
    OnAbout();
    *result = 0;
    return true;
  }
#endif
  return QDialog::nativeEvent(eventType, message, result);
}

CMainDlg::~CMainDlg() {
  delete m_session;
  m_session = nullptr;
  // The views refer to the pages: they go first, with their areas.
  for (QScrollArea* area : m_areas) delete area;
}

QPushButton* CMainDlg::Button(int id) const {
  for (QPushButton* b : m_buttons)
    if (b->property("controlId").toInt() == id) return b;
  return nullptr;
}

void CMainDlg::SetUpKeys() {
  auto onKeys = [this](std::initializer_list<QKeySequence> keys, auto action) {
    for (const QKeySequence& key : keys) connect(new QShortcut(key, this), &QShortcut::activated, this, action);
  };
  onKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, [this] { StepPage(1); });
  onKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
         [this] { StepPage(-1); });
  onKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, [this] { PageView(ShownPage()).CopySummary(); });
  // On a force page, as its "受力曲线" button.
  onKeys({QKeySequence(Qt::Key_F4)}, [this] {
    if (ShownPage() <= 2) OnChart();
  });
  // A control reached with the keyboard scrolls into sight.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (QScrollArea* area : m_areas)
      if (now && area->widget() && area->widget()->isAncestorOf(now)) area->ensureWidgetVisible(now, 4, 4);
  });
}

void CMainDlg::StepPage(int step) {
  const int count = PageCount();
  if (count == 0) return;
  QWidget* focus = QApplication::focusWidget();
  const bool inPage = focus && m_areas[static_cast<size_t>(ShownPage())]->isAncestorOf(focus);
  m_tab->SetCurSel(((ShownPage() + step) % count + count) % count);
  OnTabSelChange();
  // Focus that was in the page left goes to the first input of the new one.
  if (inPage) {
    for (QWidget* w : PageView(ShownPage()).Widgets())
      if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) {
        w->setFocus(Qt::TabFocusReason);
        return;
      }
    m_tab->setFocus(Qt::TabFocusReason);
  }
}

QSize CMainDlg::NaturalSize() const {
  const DialogTemplate t = MainDlgTemplate();
  const CDialogUnits units(font());
  const int levels = m_levels ? units.X(kLevelPanelWidth + kLevelPanelGap) : 0;
  return {units.X(t.width) + levels, units.Y(t.height) + (m_menuBar ? m_menuBar->sizeHint().height() : 0)};
}

QSize CMainDlg::WantedSize(const QSize& room) const {
  const QSize natural = NaturalSize();
  const QScrollArea* area = m_areas.empty() ? nullptr : m_areas.front();
  const int barWidth = area ? area->verticalScrollBar()->sizeHint().width() : 0;
  const int barHeight = area ? area->horizontalScrollBar()->sizeHint().height() : 0;
  bool down = natural.height() > room.height();
  const bool across = natural.width() + (down ? barWidth : 0) > room.width();
  down = down || natural.height() + (across ? barHeight : 0) > room.height();
  return natural + QSize(down ? barWidth : 0, across ? barHeight : 0);
}

void CMainDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Relayout();
}

void CMainDlg::Relayout() {
  if (!m_tab) return;
  const DialogTemplate t = MainDlgTemplate();
  const CDialogUnits units(font());
  // The menu bar on top moves everything of the template down by its height.
  const int top = m_menuBar ? m_menuBar->sizeHint().height() : 0;
  if (m_menuBar) m_menuBar->setGeometry(0, 0, width(), top);
  const QSize natural = NaturalSize();
  const int dx = width() - natural.width(), dy = height() - natural.height();
  int buttonsLeft = width();
  for (QPushButton* b : m_buttons)
    for (const ControlTemplate& c : t.controls)
      if (c.id == b->property("controlId").toInt()) {
        b->setGeometry(units.Rect(c.rect).translated(dx, top + dy));
        buttonsLeft = std::min(buttonsLeft, b->x());
      }
  // The note keeps its line left of the buttons, and breaks into more
  // lines upwards where the window is narrow.
  int extra = 0;
  for (const ControlTemplate& c : t.controls) {
    if (c.id == kIdTab || c.kind == ControlKind::Button) continue;
    const QRect r = units.Rect(c.rect);
    QRect note = r.translated(0, top + dy);
    note.setWidth(std::max(units.X(20), std::min(r.width(), buttonsLeft - units.X(4) - r.left())));
    m_info->setWordWrap(note.width() < r.width());
    const int needed = m_info->wordWrap() ? m_info->heightForWidth(note.width()) : r.height();
    extra = std::max(0, needed - r.height());
    note.setTop(note.top() - extra);
    m_info->setGeometry(note);
  }
  // The levels' list takes a column of its own left of the tab control,
  // as high as it; the pages keep their size.
  const int levels = m_levels ? units.X(kLevelPanelWidth + kLevelPanelGap) : 0;
  for (const ControlTemplate& c : t.controls)
    if (c.id == kIdTab) {
      const QRect r = units.Rect(c.rect);
      const int height = std::max(0, r.height() + dy - extra);
      m_tab->setGeometry(r.x() + levels, r.y() + top, std::max(0, r.width() + dx), height);
      if (m_levels) m_levels->setGeometry(r.x() + units.X(1), r.y() + top, units.X(kLevelPanelWidth), height);
    }
  PlacePages();
}

void CMainDlg::PlacePages() {
  // The pages cover the tab control's client area below the strip, reaching
  // 2 pixels past its left edge.
  QRect r = m_tab->rect();
  const int stripBottom = m_tab->GetItemCount() ? m_tab->GetItemRect(0).bottom() + 1 : 0;
  r.setTop(std::max(20, stripBottom));
  r.setLeft(r.left() - 2);
  for (QScrollArea* area : m_areas) area->setGeometry(r);
}

void CMainDlg::OnTabSelChange() {
  const int shown = ShownPage();
  if (shown <= 2) m_lastForcePage = shown;
  for (int i = 0; i < PageCount(); ++i) m_areas[static_cast<size_t>(i)]->setVisible(i == shown);
}

void CMainDlg::OnChart() {
#if TIECALC_HAVE_CHART
  if (!m_chart) m_chart = new CChartWindow(*this);
  m_chart->Open();
#endif
}

bool CMainDlg::IsTopMost() const {
  const QWindow* window = windowHandle();
  return (window ? window->flags() : windowFlags()).testFlag(Qt::WindowStaysOnTopHint);
}

void CMainDlg::OnTopMost() {
  QPushButton* b = Button(kIdTopMost);
  const bool toTop = b->text() == QString::fromUtf8(kTopMostOff);
  // Changed on the native window: changing the widget's flags would hide
  // and re-show it, and hiding a running dialog ends it.
  if (QWindow* window = windowHandle())
    window->setFlag(Qt::WindowStaysOnTopHint, toTop);
  else
    setWindowFlag(Qt::WindowStaysOnTopHint, toTop);
  b->setText(QString::fromUtf8(toTop ? kTopMostOn : kTopMostOff));
}

void CMainDlg::OnAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CMainDlg::OnHelp() { CHelpWindow::Show(this, QString::fromUtf8(kPageSections[ShownPage()])); }

void CMainDlg::OnManual() { CHelpWindow::Show(this, QString::fromUtf8(CHelpWindow::kContents)); }

void CMainDlg::keyPressEvent(QKeyEvent* event) {
  // Esc never closes the main window.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace tiecalc
