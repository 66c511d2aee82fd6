#include "ui/ChartWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/ChartData.h"
#include "pages/OutputCheck.h"
#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "ui/MainDlg.h"
#include "ui/WindowPlace.h"
#include "ui/XPTabCtrl.h"

namespace tiecalc {

namespace {

// cairo's ARGB32 is Qt's premultiplied ARGB32, word for word; the image
// refers to the bitmap's storage.
QImage ImageOf(ChartBitmap& bitmap, double scale) {
  QImage image(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.stride, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  return image;
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         QString::fromStdString(text.substr(text.size() - end.size())).compare(QString::fromStdString(end),
                                                                               Qt::CaseInsensitive) == 0;
}

}  // namespace

// ---- canvas ----------------------------------------------------------------

CChartCanvas::CChartCanvas(QWidget* parent) : QWidget(parent) {
  setMinimumSize(360, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CChartCanvas::SetChart(const std::optional<ForceChartData>& data, const ChartState& state, const QString& note) {
  m_data = data;
  m_state = state;
  m_note = note;
  update();
}

ChartScene CChartCanvas::Scene() const {
  return m_data ? LayOutForceChart(*m_data, width(), height(), m_state) : ChartScene{};
}

QImage CChartCanvas::Image() const {
  ChartBitmap bitmap;
  DrawChart(Scene(), devicePixelRatioF(), bitmap);
  return ImageOf(bitmap, devicePixelRatioF()).copy();
}

void CChartCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!m_data) {
    painter.fillRect(rect(), Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, m_note);
    return;
  }
  // Redrawn on every keystroke into the same bitmap.
  DrawChart(Scene(), devicePixelRatioF(), m_bitmap);
  painter.drawImage(QPoint(0, 0), ImageOf(m_bitmap, devicePixelRatioF()));
}

// ---- window ----------------------------------------------------------------

const char* const CChartWindow::kTitle = "受力曲线";
const char* const CChartWindow::kCopyCaption = "复制图片";
const char* const CChartWindow::kSaveCaption = "保存图片…";

CChartWindow::CChartWindow(CMainDlg& main) : QWidget(&main, Qt::Window), m_main(main) {
  setWindowTitle(QString::fromUtf8(kTitle));
  setWindowIcon(main.windowIcon());
  m_canvas = new CChartCanvas(this);
  m_copy = new QPushButton(QString::fromUtf8(kCopyCaption), this);
  m_save = new QPushButton(QString::fromUtf8(kSaveCaption), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_copy);
  buttons->addWidget(m_save);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(m_canvas, 1);
  layout->addLayout(buttons);
  resize(660, 460);
  connect(m_copy, &QPushButton::clicked, this, &CChartWindow::OnCopy);
  connect(m_save, &QPushButton::clicked, this, &CChartWindow::OnSave);
  // After the main window has switched the page shown.
  connect(&main.Tab(), &CXPTabCtrl::SelectionChanged, this, &CChartWindow::Refresh);
  PlaceOnShow(*this, [this](const QMargins& frame, const QRect& available) {
    return Beside(FrameRect(m_main), size(), minimumSize(), frame, available);
  });
}

void CChartWindow::Open() {
  Refresh();
  show();
  raise();
}

void CChartWindow::Refresh() {
  const int index = m_main.ShownPage();
  const CPage& page = m_main.Page(index);
  if (index >= static_cast<int>(m_last.size())) {
    m_canvas->SetChart(std::nullopt, {}, QString::fromUtf8("本页无受力曲线"));
    return;
  }
  std::optional<ForceChartData>& last = m_last[static_cast<size_t>(index)];
  if (std::optional<ForceChartData> data = ValidChartDataOf(page)) {
    last = std::move(data);
    m_canvas->SetChart(last, {});
  } else {
    m_canvas->SetChart(last, {true, page.Status()}, QString::fromStdString(page.Status()));
  }
}

void CChartWindow::OnCopy() {
  if (m_canvas->HasChart()) QApplication::clipboard()->setImage(m_canvas->Image());
}

void CChartWindow::OnSave() {
  const int index = m_main.ShownPage();
  if (index >= static_cast<int>(m_last.size())) return;
  // The greyed curves of invalid inputs are shown, never saved; a chart
  // from unreadable fields is saved only when the user goes on.
  const CPage& page = m_main.Page(index);
  IDesktop& desktop = m_main.Desktop();
  if (CheckBeforeOutput({&page}, ValidChartDataOf(page).has_value(), kInvalidInputsRefused, desktop)) return;
  if (!m_canvas->HasChart()) return;
  SaveFileRequest request;
  request.defaultExtension = "*.png";
  request.fileName = "受力曲线";
  request.filter = "PNG图片(*.png)|*.png|SVG图片(*.svg)|*.svg|";
  request.hideReadOnly = true;
  request.promptOverwrite = true;
  std::optional<std::string> path = desktop.AskSaveFileName(request);
  if (!path) return;
  const bool svg = EndsWithNoCase(*path, ".svg");
  if (!svg && !EndsWithNoCase(*path, ".png")) *path += ".png";
  const ChartScene scene = m_canvas->Scene();
  try {
    file::WriteFileAtomically(*path, svg ? ChartSvg(scene) : ChartPng(scene, std::max(2.0, devicePixelRatioF())));
  } catch (const file::CFileError& e) {
    desktop.ShowMessage(std::string("图片保存失败!\n") + file::FileMessage("无法写入图片", e), MessageIcon::Error);
  } catch (const std::exception& e) {
    desktop.ShowMessage(std::string("图片保存失败!\n") + e.what(), MessageIcon::Error);
  }
}

}  // namespace tiecalc
