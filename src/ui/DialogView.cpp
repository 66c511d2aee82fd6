#include "ui/DialogView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyleOptionFrame>
#include <QSyntaxHighlighter>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

#include "ui/DialogParts.h"

namespace tiecalc {

namespace {

// Captions are written with "\r\n" line ends; widgets break on "\n".
QString Lines(const std::string& s) { return Q(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// The closed height of a drop-down list: the template's height covers the
// opened list as well.
constexpr int kComboDu = 12;

}  // namespace

void SetEditBackground(QWidget* edit, bool readOnly, bool stale) {
  QWidget* parent = edit->parentWidget();
  QPalette palette = parent ? parent->palette() : QApplication::palette(edit);
  if (readOnly) palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  if (stale)
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
      palette.setColor(g, QPalette::Text, kStaleText);
  const QPalette& now = edit->palette();
  if (now.color(QPalette::Base) != palette.color(QPalette::Base) ||
      now.color(QPalette::Active, QPalette::Text) != palette.color(QPalette::Active, QPalette::Text))
    edit->setPalette(palette);
}

void CFieldEdit::SetMark(const QColor& colour) {
  if (colour == m_mark) return;
  m_mark = colour;
  update();
}

void CFieldEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (!m_mark.isValid()) return;
  QPainter p(this);
  p.setPen(QPen(m_mark, 2));
  p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

int EditTextRoom(const QLineEdit* e) {
  QStyleOptionFrame option;
  option.initFrom(e);
  option.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e);
  const QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
  const QMargins m = e->textMargins();
  // The edit keeps 2 pixels free on either side of its text.
  return contents.width() - m.left() - m.right() - 2 * 2;
}

bool TextFitsEdit(const QLineEdit* e) { return e->fontMetrics().horizontalAdvance(e->text()) <= EditTextRoom(e); }

void FitResultFont(QLineEdit* e, const QFont& pageFont) {
  QFont font = pageFont;
  const int room = EditTextRoom(e);
  const double full = pageFont.pointSizeF();
  auto fits = [&] { return QFontMetrics(font, e).horizontalAdvance(e->text()) <= room; };
  if (e->isReadOnly() && !fits()) {
    // Glyph widths do not scale exactly with the size (hinting, whole
    // pixels): start from the proportional size and step down a quarter point.
    const double wide = QFontMetrics(font, e).horizontalAdvance(e->text());
    const double smallest = full * kSmallestResultFont;
    double size = std::max(smallest, std::floor(full * room / wide * 4) / 4);
    font.setPointSizeF(size);
    while (!fits() && size > smallest) {
      size = std::max(smallest, size - 0.25);
      font.setPointSizeF(size);
    }
    for (int stretch = 95; !fits() && stretch >= kNarrowestResultStretch; stretch -= 5) font.setStretch(stretch);
  }
  if (e->font() != font) e->setFont(font);
}

namespace {

// Draws the lines of a verdict in the colour of their tone.
class CToneHighlighter : public QSyntaxHighlighter {
 public:
  CToneHighlighter(QTextDocument* document, const CDialog& dialog, int id)
      : QSyntaxHighlighter(document), m_dialog(dialog), m_id(id) {}

 protected:
  void highlightBlock(const QString& text) override {
    switch (m_dialog.ToneOf(m_id, text.toStdString())) {
      case LineTone::Pass: setFormat(0, static_cast<int>(text.size()), kPassTone); break;
      case LineTone::Fail: setFormat(0, static_cast<int>(text.size()), kFailTone); break;
      case LineTone::Plain: break;
    }
  }

 private:
  const CDialog& m_dialog;
  int m_id;
};

}  // namespace

QString DiagramResource(int bitmap) { return QStringLiteral(":/diagrams/bmp%1").arg(bitmap); }

CPictureBox::CPictureBox(QWidget* parent) : QWidget(parent) {}

void CPictureBox::SetBitmap(int bitmap) {
  if (bitmap == m_bitmap && bitmap != 0) return;
  m_bitmap = bitmap;
  m_renderings.clear();
  if (bitmap != 0) {
    std::vector<std::pair<int, QString>> files;
    const QDir dir(DiagramResource(bitmap));
    for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files))
      files.emplace_back(QFileInfo(name).baseName().toInt(), dir.filePath(name));
    std::sort(files.begin(), files.end());
    for (const auto& [percent, path] : files) m_renderings.emplace_back(path);
    std::erase_if(m_renderings, [](const QImage& image) { return image.isNull(); });
  }
  update();
}

bool CPictureBox::HasDrawing() const { return !m_renderings.empty(); }

void CPictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (m_renderings.empty()) {
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    return;
  }
  QSizeF size = m_renderings.front().size();
  size.scale(QSizeF(width(), height()), Qt::KeepAspectRatio);
  const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height());
  const double devicePixels = size.width() * devicePixelRatioF();
  auto best = std::find_if(m_renderings.begin(), m_renderings.end(),
                           [&](const QImage& image) { return image.width() >= devicePixels - 0.5; });
  const QImage& image = best == m_renderings.end() ? m_renderings.back() : *best;
  p.fillRect(target, Qt::white);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target, image);
}

CDialogView::CDialogView(CDialog& dialog, const QFont& font, QWidget* parent)
    : QWidget(parent), m_dialog(dialog), m_units(font) {
  setFont(font);
  setAutoFillBackground(true);
  m_copy = new QAction(QStringLiteral("复制结果"), this);
  m_copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  m_copy->setShortcutVisibleInContextMenu(true);
  connect(m_copy, &QAction::triggered, this, &CDialogView::CopySummary);
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
  Sync();
}

QString CDialogView::SummaryText() const {
  QString text = m_title + QLatin1Char('\n');
  for (const SummaryRow& row : m_dialog.Summary())
    text += Q(row.label) + QLatin1Char('\t') + Q(row.value) + QLatin1Char('\n');
  return text;
}

void CDialogView::CopySummary() const { QGuiApplication::clipboard()->setText(SummaryText()); }

void CDialogView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(m_copy);
  menu.exec(event->globalPos());
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
        new CToneHighlighter(e->document(), m_dialog, id);
        e->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(e, &QWidget::customContextMenuRequested, this, [this, e](const QPoint& at) {
          std::unique_ptr<QMenu> menu(e->createStandardContextMenu(at));
          menu->addSeparator();
          menu->addAction(m_copy);
          menu->exec(e->viewport()->mapToGlobal(at));
        });
        e->setTabChangesFocus(true);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(e, &QPlainTextEdit::textChanged, this, [this, e, id] {
          if (e->isReadOnly() || e->property("syncing").toBool()) return;
          Forward([&] { m_dialog.UserType(id, e->toPlainText().toStdString()); });
        });
        return e;
      }
      auto* e = new CFieldEdit(this);
      e->setContextMenuPolicy(Qt::CustomContextMenu);
      connect(e, &QWidget::customContextMenuRequested, this, [this, e](const QPoint& at) {
        std::unique_ptr<QMenu> menu(e->createStandardContextMenu());
        menu->addSeparator();
        menu->addAction(m_copy);
        menu->exec(e->mapToGlobal(at));
      });
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
    FitResultFont(e, font());
    ShowLook(id);
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    e->setReadOnly(m_dialog.IsReadOnly(id));
    ShowLook(id);
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
  // The notes and the stale results follow from the whole state: any
  // change can set or clear them on any control.
  std::map<int, std::vector<ControlNote>> notes;
  for (ControlNote& note : m_dialog.Notes()) notes[note.id].push_back(std::move(note));
  const std::vector<int> staleIds = m_dialog.StaleControls();
  std::set<int> stale(staleIds.begin(), staleIds.end());
  std::set<int> changed;
  for (const auto* map : {&notes, &m_notes})
    for (const auto& entry : *map) changed.insert(entry.first);
  for (const std::set<int>* set : {&stale, &m_stale}) changed.insert(set->begin(), set->end());
  m_notes = std::move(notes);
  m_stale = std::move(stale);
  for (int id : changed) ShowLook(id);
}

void CDialogView::ShowLook(int id) {
  QWidget* w = Control(id);
  auto* line = qobject_cast<QLineEdit*>(w);
  auto* text = qobject_cast<QPlainTextEdit*>(w);
  if (!line && !text) return;
  const bool readOnly = line ? line->isReadOnly() : text->isReadOnly();
  SetEditBackground(w, readOnly, m_stale.count(id) != 0);
  // Tab goes from input to input; results take the focus by mouse only,
  // for selecting and copying.
  w->setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);

  QStringList tip;
  QColor mark;
  if (auto it = m_notes.find(id); it != m_notes.end()) {
    for (const ControlNote& note : it->second) {
      tip << Q(note.text);
      // A text that cannot be read outweighs a broken rule.
      if (note.kind == ControlNote::kUnreadable) mark = kUnreadableMark;
      else if (!mark.isValid()) mark = kRuleMark;
    }
  }
  if (auto* field = qobject_cast<CFieldEdit*>(w)) field->SetMark(mark);
  if (const auto own = m_dialog.TooltipText(id)) tip << Q(*own);
  // A value too long for its box shows whole in the tooltip.
  if (line && !TextFitsEdit(line)) tip << line->text();
  const QString joined = tip.join(QLatin1Char('\n'));
  if (w->toolTip() != joined) w->setToolTip(joined);
}

void CDialogView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Sync();
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
