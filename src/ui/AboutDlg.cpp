#include "ui/AboutDlg.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "ui/AppIcon.h"
#include "ui/DialogUnits.h"
#include "ui/DialogView.h"
#include "ui/HelpWindow.h"
#include "ui/WindowPlace.h"

namespace tiecalc {

const char* const CAboutDlg::kTitle = "岱衡塔机附着计算V2.2（2013.11.13）";
const char* const CAboutDlg::kChangeLog =
    "V2.2更新内容(2013.11.17):\r\n"
    "1、修正附着杆校核中变截面修正系数偶尔出错问题。\r\n"
    "V2.1更新内容(2013.11.8):\r\n"
    "1、修正附着杆校核中变截面修正系数部分情况出错问题；\r\n"
    "2、修正Q345材质稳定系数读取错误问题。\r\n"
    "V2.0更新内容(2013.10.28):\r\n"
    "1、增加附着杆校核功能。\r\n";

namespace {
constexpr int kIdIcon = 2000;  // the icon has no id of its own
constexpr int kIdLogLabel = 2001;
// Dialog units the log can give up on a low screen: four lines stay.
constexpr int kLogGivesUp = 48;
}  // namespace

DialogTemplate AboutDlgTemplate() {
  DialogTemplate t;
  t.id = 100;
  t.title = CAboutDlg::kTitle;
  t.width = 261;
  t.height = 187;
  t.fontName = "宋体";
  t.fontSize = 9;
  t.controls = {
      MakeControl(kIdIcon, ControlKind::Picture, "", {2, 16, 20, 20}),
      MakeControl(kIdLogLabel, ControlKind::Static, "更  新  日  志", {2, 80, 15, 36}, kCentred),
      MakeControl(kIdChangeLog, ControlKind::Edit, "", {15, 55, 244, 83}, kReadOnly | kMultiLine),
      MakeControl(kIdCheckUpdate, ControlKind::Button, "检查更新", {206, 11, 45, 13}),
      MakeControl(1, ControlKind::Button, "确 定", {207, 164, 52, 21}),
  };
  return t;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  const DialogTemplate t = AboutDlgTemplate();
  const QFont font = WindowFont(t.fontSize);
  setFont(font);
  const CDialogUnits units(font);
  setFixedSize(units.X(t.width), units.Y(t.height));
  setWindowTitle(QString::fromUtf8(kTitle));

  for (const ControlTemplate& c : t.controls) {
    QWidget* w = nullptr;
    const QRect r = units.Rect(c.rect);
    switch (c.kind) {
      case ControlKind::Picture: {
        auto* icon = new QLabel(this);
        icon->setPixmap(AppIcon().pixmap(r.size()));
        w = icon;
        break;
      }
      case ControlKind::Static: {
        auto* label = new QLabel(QString::fromUtf8(c.caption), this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        w = label;
        break;
      }
      case ControlKind::Edit: {
        auto* log = new QPlainTextEdit(this);
        log->setReadOnly(true);
        SetEditBackground(log, true);
        log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        w = log;
        break;
      }
      default: {
        auto* b = new QPushButton(QString::fromUtf8(c.caption), this);
        // Enter presses the button that has the focus, else "确 定".
        b->setAutoDefault(true);
        b->setDefault(c.id == 1);
        if (c.id == 1) connect(b, &QPushButton::clicked, this, &QDialog::accept);
        if (c.id == kIdCheckUpdate) connect(b, &QPushButton::clicked, this, &CAboutDlg::OpenNotes);
        w = b;
      }
    }
    w->setGeometry(r);
    w->setProperty("controlId", c.id);
  }
  // The log is kept with Windows line ends; the edit breaks lines on "\n".
  // The last line is ended too, so the edit holds an empty line after it.
  auto* log = static_cast<QPlainTextEdit*>(Control(kIdChangeLog));
  log->setPlainText(QString::fromUtf8(kChangeLog).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  // Centred on the window that opened it, inside the screen; on a screen too
  // low for it (a small laptop at 200 %), the log gives up what is missing.
  const int full = height(), lowest = full - units.Y(kLogGivesUp);
  PlaceOnShow(*this, [this, full, lowest](const QMargins& frame, const QRect& available) {
    setFixedHeight(std::clamp(available.height() - frame.top() - frame.bottom(), lowest, full));
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    return CentredOn(size(), frame, owner ? FrameRect(*owner).center() : available.center());
  });
}

void CAboutDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The height given up comes off the log; what lies below it moves up, the
  // label beside it half as far.
  const DialogTemplate t = AboutDlgTemplate();
  const CDialogUnits units(font());
  const int dy = height() - units.Y(t.height);
  int logBottom = 0;
  for (const ControlTemplate& c : t.controls)
    if (c.id == kIdChangeLog) logBottom = units.Rect(c.rect).bottom();
  for (const ControlTemplate& c : t.controls) {
    QRect r = units.Rect(c.rect);
    if (c.id == kIdChangeLog)
      r.setBottom(r.bottom() + dy);
    else if (c.id == kIdLogLabel)
      r.translate(0, dy / 2);
    else if (r.top() > logBottom)
      r.translate(0, dy);
    if (QWidget* w = Control(c.id)) w->setGeometry(r);  // none yet while the box is built
  }
}

QWidget* CAboutDlg::Control(int id) const {
  for (QObject* o : children())
    if (auto* w = qobject_cast<QWidget*>(o); w && w->property("controlId").toInt() == id) return w;
  return nullptr;
}

void CAboutDlg::OpenNotes() {
  // Owned by the box, the help window can be read while the box is open.
  CHelpWindow::Show(this, QString::fromUtf8(CHelpWindow::kVersions));
}

}  // namespace tiecalc
