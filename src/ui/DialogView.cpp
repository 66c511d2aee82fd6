#include "ui/DialogView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <exception>

namespace tiecalc {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Captions are written with "\r\n" line ends; widgets break on "\n".
QString Lines(const std::string& s) { return Q(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// The closed height of a drop-down list: the template's height covers the
// opened list as well.
constexpr int kComboDu = 12;

}  // namespace

void SetEditBackground(QWidget* edit, bool readOnly) {
  QWidget* parent = edit->parentWidget();
  QPalette palette = parent ? parent->palette() : QApplication::palette(edit);
  if (readOnly) palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  if (edit->palette().color(QPalette::Base) != palette.color(QPalette::Base)) edit->setPalette(palette);
}

QString DiagramResource(int bitmap) { return QStringLiteral(":/diagrams/bmp%1.svg").arg(bitmap); }

CPictureBox::CPictureBox(QWidget* parent) : QWidget(parent), m_renderer(new QSvgRenderer(this)) {}

void CPictureBox::SetBitmap(int bitmap) {
  if (bitmap == m_bitmap && bitmap != 0) return;
  m_bitmap = bitmap;
  const QString path = DiagramResource(bitmap);
  if (bitmap == 0 || !QFile::exists(path) || !m_renderer->load(path)) m_renderer->load(QByteArray());
  update();
}

bool CPictureBox::HasDrawing() const { return m_renderer->isValid(); }

void CPictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_renderer->isValid()) {
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    return;
  }
  QSizeF size = m_renderer->defaultSize();
  size.scale(QSizeF(width(), height()), Qt::KeepAspectRatio);
  const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height());
  p.fillRect(target, Qt::white);
  m_renderer->render(&p, target);
}

CDialogView::CDialogView(CDialog& dialog, const QFont& font, QWidget* parent)
    : QWidget(parent), m_dialog(dialog), m_units(font) {
  setFont(font);
  setAutoFillBackground(true);
  const DialogTemplate& t = dialog.Template();
  resize(m_units.X(t.width), m_units.Y(t.height));
  for (const ControlTemplate& c : t.controls) {
    QWidget* w = Build(c);
    QRect r = m_units.Rect(c.rect);
    if (c.kind == ControlKind::ComboBox) r.setHeight(std::min(r.height(), m_units.Y(kComboDu)));
    w->setGeometry(r);
    const auto tip = dialog.TooltipText(c.id);
    if (c.id != kStaticId && tip) w->setToolTip(Q(*tip));
    m_widgets.push_back(w);
    if (c.id != kStaticId) m_byId[c.id] = w;
  }
  // Frames stay behind what they enclose.
  for (QWidget* w : m_widgets)
    if (qobject_cast<QGroupBox*>(w)) w->lower();
  for (const auto& [id, w] : m_byId) Show(id);
  dialog.TakeChanges();
}

QWidget* CDialogView::Control(int id) const {
  auto it = m_byId.find(id);
  return it == m_byId.end() ? nullptr : it->second;
}

template <class Action>
void CDialogView::Forward(Action action) {
  // The dialog shows a handler's failure itself; this keeps anything else
  // from leaving an event handler.
  try {
    action();
  } catch (const std::exception& e) {
    if (IDesktop* desktop = m_dialog.Desktop()) desktop->ShowMessage(e.what(), MessageIcon::Error);
  }
  Sync();
}

QWidget* CDialogView::Build(const ControlTemplate& c) {
  const int id = c.id;
  const Qt::Alignment align = (c.style & kCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
  switch (c.kind) {
    case ControlKind::Edit: {
      if (c.style & kMultiLine) {
        auto* e = new QPlainTextEdit(this);
        e->setTabChangesFocus(true);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(e, &QPlainTextEdit::textChanged, this, [this, e, id] {
          if (e->isReadOnly() || e->property("syncing").toBool()) return;
          Forward([&] { m_dialog.UserType(id, e->toPlainText().toStdString()); });
        });
        return e;
      }
      auto* e = new QLineEdit(this);
      e->setAlignment(align | Qt::AlignVCenter);
      // textEdited comes from the user only, so the mirrored texts do not fire twice.
      connect(e, &QLineEdit::textEdited, this,
              [this, id](const QString& text) { Forward([&] { m_dialog.UserType(id, text.toStdString()); }); });
      return e;
    }
    case ControlKind::Static: {
      auto* l = new QLabel(Lines(c.caption), this);
      l->setWordWrap(true);
      l->setAlignment(align | Qt::AlignTop);
      l->setTextFormat(Qt::PlainText);
      return l;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(Q(c.caption), this);
    case ControlKind::Button: {
      auto* b = new QPushButton(Lines(c.caption), this);
      b->setAutoDefault(false);
      connect(b, &QPushButton::clicked, this, [this, id] { Forward([&] { m_dialog.UserClick(id); }); });
      return b;
    }
    case ControlKind::ComboBox: {
      auto* cb = new QComboBox(this);
      for (const std::string& item : c.items) cb->addItem(Q(item));
      // Picking the item already shown is no change of selection.
      connect(cb, &QComboBox::activated, this, [this, id](int index) {
        if (index != m_dialog.GetCurSel(id)) Forward([&] { m_dialog.UserSelect(id, index); });
      });
      return cb;
    }
    case ControlKind::CheckBox: {
      auto* cb = new QCheckBox(Q(c.caption), this);
      connect(cb, &QCheckBox::clicked, this, [this, id] { Forward([&] { m_dialog.UserClick(id); }); });
      return cb;
    }
    case ControlKind::Picture: {
      auto* p = new CPictureBox(this);
      p->SetBitmap(c.bitmap);
      return p;
    }
  }
  return new QWidget(this);
}

void CDialogView::Show(int id) {
  QWidget* w = Control(id);
  if (!w) return;
  const QString text = Q(m_dialog.GetText(id));
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    if (e->text() != text && !e->hasFocus()) {
      e->setText(text);
      e->setCursorPosition(0);  // a text too long for its box shows its start
    } else if (e->text() != text) {
      e->setText(text);
    }
    e->setReadOnly(m_dialog.IsReadOnly(id));
    SetEditBackground(e, e->isReadOnly());
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    e->setReadOnly(m_dialog.IsReadOnly(id));
    SetEditBackground(e, e->isReadOnly());
    const QString lines = Lines(m_dialog.GetText(id));
    if (e->toPlainText() != lines) {
      e->setProperty("syncing", true);
      e->setPlainText(lines);
      e->setProperty("syncing", false);
    }
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(Lines(m_dialog.GetText(id)));
  } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
    cb->setCurrentIndex(m_dialog.GetCurSel(id));
  } else if (auto* cb = qobject_cast<QCheckBox*>(w)) {
    cb->setChecked(m_dialog.GetCheck(id));
  } else if (auto* b = qobject_cast<QPushButton*>(w)) {
    b->setText(Lines(m_dialog.GetText(id)));
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(text);
  } else if (auto* p = qobject_cast<CPictureBox*>(w)) {
    p->SetBitmap(m_dialog.GetBitmap(id));
  }
}

void CDialogView::Sync() {
  for (int id : m_dialog.TakeChanges()) Show(id);
}

void CDialogView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace tiecalc
