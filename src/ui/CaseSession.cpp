#include "ui/CaseSession.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QUuid>
#include <cstring>

#include "pages/RodCheckPage.h"
#include "ui/DialogParts.h"
#include "ui/MainDlg.h"
#include "wiring/PageSet.h"

namespace tiecalc {

namespace {

namespace fs = std::filesystem;

const char* const kNew = "新建";
const char* const kOpen = "打开…";
const char* const kSave = "保存";
const char* const kSaveAs = "另存为…";
const char* const kExit = "退出";
const char* const kRecentKey = "cases/recent";
const char* const kFolderKey = "cases/folder";


fs::path PathOf(const QString& path) {
  const QByteArray utf8 = path.toUtf8();
  return fs::path(reinterpret_cast<const char8_t*>(utf8.constData()));
}

// The program's settings, whatever the application is named.
std::unique_ptr<QSettings> Settings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tiecalc"),
                                     QStringLiteral("tiecalc"));
}

// The book settings as the file writes them: equal texts, equal settings.
std::string BookText(const CaseBook& book) {
  CaseState state;
  state.book = book;
  return WriteCase(state);
}

bool SameInputs(const std::vector<CasePage>& a, const std::vector<CasePage>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].inputs.size() != b[i].inputs.size()) return false;
    for (size_t k = 0; k < a[i].inputs.size(); ++k)
      if (a[i].inputs[k].name != b[i].inputs[k].name || a[i].inputs[k].text != b[i].inputs[k].text) return false;
  }
  return true;
}

// The case file a drag carries, or an empty text.
QString DraggedCase(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return path.endsWith(QString::fromUtf8(kCaseExtension), Qt::CaseInsensitive) ? path : QString();
}

QString AutosaveFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/autosave");
}

QString LockPathOf(const QString& autosave) {
  return autosave.left(autosave.size() - static_cast<qsizetype>(std::strlen(kCaseExtension))) +
         QStringLiteral(".lock");
}

}  // namespace

// --- the desktop's dialogs ------------------------------------------------

const char* const CQtCaseDesktop::kFilter = "塔机附着计算文件 (*.tiecalc)";

std::optional<QString> CQtCaseDesktop::AskOpenPath(const QString& folder) {
  QFileDialog dialog(m_parent, QString::fromUtf8(kOpen), folder, QString::fromUtf8(kFilter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QString> CQtCaseDesktop::AskSavePath(const QString& proposed) {
  QFileDialog dialog(m_parent, QString::fromUtf8(kSaveAs), QFileInfo(proposed).path(), QString::fromUtf8(kFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("tiecalc"));
  dialog.selectFile(QFileInfo(proposed).fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

ICaseDesktop::SaveAnswer CQtCaseDesktop::AskSaveChanges(const QString& question) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(CMainDlg::kTitle), question, QMessageBox::NoButton,
                  m_parent);
  QPushButton* save = box.addButton(QString::fromUtf8("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QString::fromUtf8("不保存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return SaveAnswer::Save;
  if (box.clickedButton() == discard) return SaveAnswer::Discard;
  return SaveAnswer::Cancel;
}

bool CQtCaseDesktop::AskRestore(const QString& question) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(CMainDlg::kTitle), question, QMessageBox::NoButton,
                  m_parent);
  QPushButton* restore = box.addButton(QString::fromUtf8("恢复"), QMessageBox::AcceptRole);
  QPushButton* drop = box.addButton(QString::fromUtf8("不恢复"), QMessageBox::RejectRole);
  box.setDefaultButton(restore);
  box.setEscapeButton(drop);
  box.exec();
  return box.clickedButton() == restore;
}

bool CQtCaseDesktop::AskConfirm(const QString& question) {
  return QMessageBox::question(m_parent, QString::fromUtf8(CMainDlg::kTitle), question,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void CQtCaseDesktop::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(CMainDlg::kTitle), text, QMessageBox::Ok, m_parent);
  box.exec();
}

// --- the case of the window -------------------------------------------------

CCaseSession::CCaseSession(CMainDlg& window)
    : QObject(&window), m_window(window), m_qtDesktop(std::make_unique<CQtCaseDesktop>(&window)),
      m_desktop(m_qtDesktop.get()) {
  QMenu* menu = window.FileMenu();
  const auto add = [&](const char* text, QKeySequence key, auto slot) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  m_new = add(kNew, QKeySequence(Qt::CTRL | Qt::Key_N), [this] { New(); });
  m_open = add(kOpen, QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Open(); });
  m_save = add(kSave, QKeySequence(Qt::CTRL | Qt::Key_S), [this] { Save(); });
  m_saveAs = add(kSaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { SaveAs(); });
  m_recentSeparator = menu->addSeparator();
  for (int i = 0; i < kRecentCount; ++i) {
    QAction* a = menu->addAction(QString());
    connect(a, &QAction::triggered, this, [this, a] { OpenPath(a->data().toString()); });
    m_recent.push_back(a);
  }
  menu->addSeparator();
  m_exit = add(kExit, QKeySequence(), [this] { m_window.accept(); });
  connect(menu, &QMenu::aboutToShow, this, &CCaseSession::FillRecentMenu);
  FillRecentMenu();

  m_autosaveTimer.setSingleShot(true);
  m_autosaveTimer.setInterval(kAutosaveDelayMs);
  connect(&m_autosaveTimer, &QTimer::timeout, this, &CCaseSession::WriteAutosave);
  connect(&window, &CMainDlg::PagesEdited, this, &CCaseSession::OnEdited);
  connect(&window, &CMainDlg::PagesReplaced, this, &CCaseSession::WatchDrops);
  WatchDrops();

  m_clean = Capture().pages;
  m_cleanBook = BookText(Book());
  m_autosavePath = AutosaveFolder() + QStringLiteral("/autosave-") +
                   QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                   QUuid::createUuid().toString(QUuid::Id128).left(8) + QString::fromUtf8(kCaseExtension);
}

CCaseSession::~CCaseSession() {
  // Whatever ends the window normally also ends its autosave; only a run
  // that does not get here leaves one behind.
  m_autosaveTimer.stop();
  RemoveAutosave();
}

CasePages CCaseSession::Named() const { return CasePagesOf(m_window.Pages()); }

CaseState CCaseSession::Capture() const {
  return CaptureCase(Named(), CPageSet::Name(m_window.ShownPage()), Book());
}

QString CCaseSession::Title() const {
  const QString title = QString::fromUtf8(CMainDlg::kTitle);
  if (m_path.isEmpty()) return title;
  return QFileInfo(m_path).fileName() + (m_modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") +
         title;
}

void CCaseSession::UpdateTitle() { m_window.setWindowTitle(Title()); }

void CCaseSession::OnEdited() {
  const CaseState now = Capture();
  m_modified = !SameInputs(now.pages, m_clean) || BookText(now.book) != m_cleanBook;
  UpdateTitle();
  m_autosaveCurrent = false;
  if (!m_autosaveTimer.isActive()) m_autosaveTimer.start();
}

void CCaseSession::SetClean(const QString& path) {
  m_path = path;
  const CaseState now = Capture();
  m_clean = now.pages;
  m_cleanBook = BookText(now.book);
  m_modified = false;
  UpdateTitle();
  m_autosaveTimer.stop();
  RemoveAutosave();
}

void CCaseSession::Show(const CaseState& state) {
  std::unique_ptr<CPageSet> pages = m_window.StartPages();
  ApplyCase(state, CasePagesOf(*pages));
  pages->Book() = state.book;
  m_window.ReplacePages(std::move(pages), std::max(0, CPageSet::IndexOf(state.page)));
  emit BookChanged();
}

const CaseBook& CCaseSession::Book() const { return m_window.Pages().Book(); }

void CCaseSession::SetBook(CaseBook book) {
  m_window.Pages().Book() = std::move(book);
  emit BookChanged();
  OnEdited();
}

// --- the attachment levels ---------------------------------------------------

QString CCaseSession::LevelNameRefusal(const QString& name, int except) const {
  switch (LevelNameProblemOf(Book(), name.trimmed().toStdString(), except)) {
    case LevelNameProblem::Empty: return QString::fromUtf8("附着道次的名称不能为空。");
    case LevelNameProblem::TooLong:
      return QString::fromUtf8("附着道次的名称不能超过 %1 个字符。").arg(kCaseMaxTextLength);
    case LevelNameProblem::Taken:
      return QString::fromUtf8("已有名为“%1”的附着道次，请换一个名称。").arg(name.trimmed());
    case LevelNameProblem::None: break;
  }
  return {};
}

QString CCaseSession::NextLevelName() const {
  static const char* const kDigits[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
  for (int n = 1;; ++n) {
    const QString name = n <= 10 ? QString::fromUtf8("第%1道").arg(QString::fromUtf8(kDigits[n - 1]))
                                 : QString::fromUtf8("第%1道").arg(n);
    if (LevelNameRefusal(name).isEmpty()) return name;
  }
}

bool CCaseSession::ShowLevel(CaseBook book, int index) {
  // The chosen level's force pages, the rod-check page as it is now.
  CaseState state;
  state.page = CPageSet::Name(m_window.ShownPage());
  state.pages = book.levels.at(static_cast<size_t>(index)).pages;
  for (const auto& [name, page] : Named())
    if (dynamic_cast<const CRodCheckPage*>(page)) state.pages.push_back(CapturePage(name, *page));
  book.level = index;
  state.book = std::move(book);
  try {
    Show(state);
  } catch (const CCaseError& e) {
    m_desktop->ShowError(QString::fromUtf8("无法显示附着道次“%1”：%2")
                             .arg(Q(state.book.levels[static_cast<size_t>(index)].name), QString::fromUtf8(e.what())));
    emit BookChanged();  // the level list shows the level still shown
    return false;
  }
  OnEdited();
  return true;
}

bool CCaseSession::ChooseLevel(int index) {
  if (index < 0 || index >= static_cast<int>(Book().levels.size()) || index == Book().level) return false;
  return ShowLevel(Capture().book, index);
}

bool CCaseSession::AddLevel(const QString& name, const QString& height) {
  if (const QString why = LevelNameRefusal(name); !why.isEmpty()) {
    m_desktop->ShowError(why);
    return false;
  }
  CaseState now = Capture();
  CaseLevel level{name.trimmed().toStdString(), height.trimmed().toStdString(), {}, {}};
  if (now.book.levels.empty()) {
    // The work so far becomes the first level: captured as the level shown.
    now.book.levels.push_back(std::move(level));
    now.book.level = 0;
    SetBook(CaptureCase(Named(), now.page, now.book).book);
    return true;
  }
  now.book.levels.push_back(std::move(level));
  const int added = static_cast<int>(now.book.levels.size()) - 1;
  return ShowLevel(std::move(now.book), added);
}

bool CCaseSession::CopyLevel(const QString& name, const QString& height) {
  if (Book().levels.empty()) return false;
  if (const QString why = LevelNameRefusal(name); !why.isEmpty()) {
    m_desktop->ShowError(why);
    return false;
  }
  // The copy holds what the pages show: they stay as they are.
  CaseBook book = Capture().book;
  CaseLevel copy = book.Shown();
  copy.name = name.trimmed().toStdString();
  copy.height = height.trimmed().toStdString();
  book.levels.insert(book.levels.begin() + book.level + 1, std::move(copy));
  ++book.level;
  SetBook(std::move(book));
  return true;
}

bool CCaseSession::RenameLevel(int index, const QString& name, const QString& height) {
  if (index < 0 || index >= static_cast<int>(Book().levels.size())) return false;
  if (const QString why = LevelNameRefusal(name, index); !why.isEmpty()) {
    m_desktop->ShowError(why);
    return false;
  }
  CaseBook book = Book();
  book.levels[static_cast<size_t>(index)].name = name.trimmed().toStdString();
  book.levels[static_cast<size_t>(index)].height = height.trimmed().toStdString();
  SetBook(std::move(book));
  return true;
}

bool CCaseSession::DeleteLevel(int index) {
  if (index < 0 || index >= static_cast<int>(Book().levels.size())) return false;
  const QString name = Q(Book().levels[static_cast<size_t>(index)].name);
  const QString question =
      Book().levels.size() == 1
          ? QString::fromUtf8("删除附着道次“%1”？页面保留当前的输入，工程不再分道次。").arg(name)
          : QString::fromUtf8("删除附着道次“%1”及其输入和工况？").arg(name);
  if (!m_desktop->AskConfirm(question)) return false;
  CaseBook book = Capture().book;
  const bool shown = index == book.level;
  book.levels.erase(book.levels.begin() + index);
  if (book.levels.empty()) {
    book.level = 0;
  } else if (shown) {
    const int neighbour = std::min(index, static_cast<int>(book.levels.size()) - 1);
    return ShowLevel(std::move(book), neighbour);
  } else if (index < book.level) {
    --book.level;
  }
  SetBook(std::move(book));
  return true;
}

bool CCaseSession::MayClose() {
  if (!m_modified) return true;
  const QString question =
      m_path.isEmpty() ? QString::fromUtf8("当前的计算尚未保存。是否保存？")
                       : QString::fromUtf8("“%1”已修改。是否保存？").arg(QFileInfo(m_path).fileName());
  switch (m_desktop->AskSaveChanges(question)) {
    case ICaseDesktop::SaveAnswer::Save: return Save();
    case ICaseDesktop::SaveAnswer::Discard: return true;
    case ICaseDesktop::SaveAnswer::Cancel: break;
  }
  return false;
}

bool CCaseSession::New() {
  if (!MayClose()) return false;
  Show(CaseState{});
  SetClean(QString());
  return true;
}

bool CCaseSession::Open() {
  if (!MayClose()) return false;
  const std::optional<QString> path = m_desktop->AskOpenPath(Settings()->value(kFolderKey).toString());
  return path && Load(*path, false);
}

bool CCaseSession::OpenPath(const QString& path) { return Load(path, true); }

bool CCaseSession::Load(const QString& path, bool askFirst) {
  // The file is read whole first: a refused one changes nothing, and is
  // refused before any question about the work shown.
  CaseState state;
  try {
    state = ReadCaseFile(PathOf(path), Named());
  } catch (const CCaseError& e) {
    if (!QFileInfo::exists(path)) {
      QStringList recent = RecentCases();
      recent.removeAll(QFileInfo(path).absoluteFilePath());
      Settings()->setValue(kRecentKey, recent);
      FillRecentMenu();
    }
    m_desktop->ShowError(QString::fromUtf8(e.what()));
    return false;
  }
  if (askFirst && !MayClose()) return false;
  try {
    Show(state);
  } catch (const CCaseError& e) {
    m_desktop->ShowError(QString::fromUtf8(CaseOpenRefusal(PathOf(path), e.what()).c_str()));
    return false;
  }
  SetClean(path);
  AddRecent(path);
  return true;
}

bool CCaseSession::WriteTo(const QString& path) {
  try {
    SaveCaseFile(PathOf(path), Capture());
  } catch (const CCaseError& e) {
    m_desktop->ShowError(QString::fromUtf8(e.what()));
    return false;
  }
  SetClean(path);
  AddRecent(path);
  return true;
}

bool CCaseSession::Save() {
  if (m_path.isEmpty()) return SaveAs();
  return WriteTo(m_path);
}

bool CCaseSession::SaveAs() {
  QString folder = m_path.isEmpty() ? Settings()->value(kFolderKey).toString() : QFileInfo(m_path).path();
  if (folder.isEmpty()) folder = QDir::currentPath();
  const QString name = m_path.isEmpty() ? QString() : QFileInfo(m_path).fileName();
  std::optional<QString> path = m_desktop->AskSavePath(QDir(folder).filePath(name));
  if (!path || path->isEmpty()) return false;
  if (!path->endsWith(QString::fromUtf8(kCaseExtension), Qt::CaseInsensitive)) *path += QString::fromUtf8(kCaseExtension);
  return WriteTo(*path);
}

QStringList CCaseSession::RecentCases() const { return Settings()->value(kRecentKey).toStringList(); }

void CCaseSession::AddRecent(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList recent = RecentCases();
  recent.removeAll(full);
  recent.prepend(full);
  while (recent.size() > kRecentCount) recent.removeLast();
  auto settings = Settings();
  settings->setValue(kRecentKey, recent);
  settings->setValue(kFolderKey, QFileInfo(full).path());
  FillRecentMenu();
}

void CCaseSession::FillRecentMenu() {
  const QStringList recent = RecentCases();
  const QFontMetrics metrics(m_window.FileMenu()->font());
  for (int i = 0; i < kRecentCount; ++i) {
    QAction* a = m_recent[static_cast<size_t>(i)];
    a->setVisible(i < recent.size());
    if (i >= recent.size()) continue;
    const QString shown = metrics.elidedText(QDir::toNativeSeparators(recent[i]), Qt::ElideMiddle, 480);
    a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    a->setData(recent[i]);
  }
  m_recentSeparator->setVisible(!recent.isEmpty());
}

void CCaseSession::WatchDrops() {
  m_window.setAcceptDrops(true);
  m_window.installEventFilter(this);
  for (QWidget* w : m_window.findChildren<QWidget*>()) w->installEventFilter(this);
}

bool CCaseSession::eventFilter(QObject* watched, QEvent* event) {
  // A case file dragged anywhere onto the window is opened, also over an
  // edit that would otherwise take the file's name as text.
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (DraggedCase(drag->mimeData()).isEmpty()) break;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString path = DraggedCase(drop->mimeData());
      if (path.isEmpty()) break;
      drop->acceptProposedAction();
      // Opened once the drop is over: the questions it may ask are modal.
      QTimer::singleShot(0, this, [this, path] { OpenPath(path); });
      return true;
    }
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

void CCaseSession::WriteAutosave() {
  if (m_autosaveCurrent) return;
  m_autosaveCurrent = true;
  if (!m_modified) {
    RemoveAutosave();
    return;
  }
  // The slot is held by this run while it lives; the next start takes
  // whatever slot nobody holds for the work of a run that ended abnormally.
  if (!m_autosaveLock) {
    QDir().mkpath(AutosaveFolder());
    m_autosaveLock = std::make_unique<QLockFile>(LockPathOf(m_autosavePath));
    m_autosaveLock->setStaleLockTime(0);
    if (!m_autosaveLock->tryLock(0)) {
      m_autosaveLock.reset();
      return;
    }
  }
  CaseState state = Capture();
  state.file = m_path.toStdString();
  try {
    SaveCaseFile(PathOf(m_autosavePath), state);
  } catch (const CCaseError&) {
    // The autosave is a safety net; the work itself is still in the window.
    m_autosaveCurrent = false;
  }
}

void CCaseSession::RemoveAutosave() {
  if (!m_autosaveLock) return;
  QFile::remove(m_autosavePath);
  m_autosaveLock->unlock();
  m_autosaveLock.reset();
  m_autosaveCurrent = true;
}

void CCaseSession::OfferRestore() {
  // Autosaves that no running instance holds: left by runs that ended
  // without closing their window. The newest is offered; none is kept.
  const QFileInfoList files = QDir(AutosaveFolder()).entryInfoList(
      {QStringLiteral("autosave-*") + QString::fromUtf8(kCaseExtension)}, QDir::Files, QDir::Time);
  std::vector<std::unique_ptr<QLockFile>> held;  // released, and their lock files removed, at the end
  QStringList orphans;
  for (const QFileInfo& f : files) {
    auto lock = std::make_unique<QLockFile>(LockPathOf(f.absoluteFilePath()));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) continue;  // its run is still going
    orphans << f.absoluteFilePath();
    held.push_back(std::move(lock));
  }
  if (orphans.isEmpty()) return;
  try {
    const CaseState state = ReadCaseFile(PathOf(orphans.front()), Named());
    const QString file = Q(state.file);
    const QString question =
        QString::fromUtf8("上次运行没有正常结束，留下了未保存的计算（%1，自动保存于 %2）。是否恢复？")
            .arg(file.isEmpty() ? QString::fromUtf8("未命名") : QFileInfo(file).fileName(),
                 QFileInfo(orphans.front()).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    if (m_desktop->AskRestore(question)) {
      Show(state);
      m_path = file;
      m_clean.clear();  // nothing saved holds this state
      m_modified = true;
      UpdateTitle();
      m_autosaveCurrent = false;
      WriteAutosave();
    }
  } catch (const CCaseError& e) {
    m_desktop->ShowError(QString::fromUtf8(e.what()));
  }
  for (const QString& f : orphans) QFile::remove(f);
}

void CCaseSession::Start(const QStringList& files) {
  OfferRestore();
  if (!files.isEmpty()) OpenPath(files.front());
}

}  // namespace tiecalc
