#include "ui/SectionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/input/FieldText.h"
#include "core/sections/SectionGeometry.h"
#include "core/sections/SteelSection.h"
#include "pages/RodCheckPage.h"
#include "ui/DialogParts.h"
#include "ui/WindowPlace.h"

namespace tiecalc {
namespace {

constexpr SectionFamily kFamilies[] = {SectionFamily::EqualAngle, SectionFamily::UnequalAngle,
                                       SectionFamily::Channel,    SectionFamily::IBeam,
                                       SectionFamily::RoundTube,  SectionFamily::HollowSection};

bool IsFourLimb(RodForm form) { return form == RodForm::FourLimbBattened || form == RodForm::FourLimbLaced; }
bool IsTwoLimb(RodForm form) { return form == RodForm::TwoLimbBattened || form == RodForm::TwoLimbLaced; }

// A length in mm: 0.1 mm steps, up to 100 m.
QDoubleSpinBox* LengthBox(double value, QWidget* parent, const char* zeroText = nullptr) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(0, 100000);
  box->setDecimals(1);
  box->setSuffix(QStringLiteral(" mm"));
  if (zeroText) box->setSpecialValueText(QString::fromUtf8(zeroText));
  box->setValue(value);
  return box;
}

}  // namespace

QString SectionFilterKey(const QString& typed) {
  const QString trimmed = typed.trimmed();
  const std::optional<std::string> normal = NormalizeDesignation(trimmed.toStdString());
  QString text = normal ? Q(*normal) : trimmed;
  // A part written so far ("63x") is not yet a designation: its marks
  // still read as the library writes them.
  for (QChar mark : {QChar(u'x'), QChar(u'X'), QChar(u'*')}) text.replace(mark, QChar(u'×'));
  for (int i = 0; i < text.size(); ++i)
    if (text[i].isDigit()) return text.mid(i);
  return {};
}

CSectionPicker::CSectionPicker(QWidget* parent) : QWidget(parent) {
  m_family = new QComboBox(this);
  for (SectionFamily f : kFamilies) m_family->addItem(QString::fromUtf8(FamilyName(f)), static_cast<int>(f));
  m_filter = new QLineEdit(this);
  m_filter->setPlaceholderText(QStringLiteral("输入规格查找，如 63x6"));
  m_filter->setClearButtonEnabled(true);
  m_list = new QListWidget(this);
  m_list->setMinimumHeight(90);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* row = new QHBoxLayout;
  row->addWidget(m_family);
  row->addWidget(m_filter, 1);
  layout->addLayout(row);
  layout->addWidget(m_list);
  connect(m_family, &QComboBox::currentIndexChanged, this, &CSectionPicker::Refill);
  connect(m_filter, &QLineEdit::textChanged, this, [this] {
    // A full designation of another family switches to that family.
    if (const SteelSection* s = FindSection(m_filter->text().toStdString())) {
      const int index = m_family->findData(static_cast<int>(s->family));
      if (index >= 0 && index != m_family->currentIndex()) {
        m_family->setCurrentIndex(index);  // refills
        return;
      }
    }
    Refill();
  });
  connect(m_list, &QListWidget::currentRowChanged, this, &CSectionPicker::Changed);
  Refill();
}

QString CSectionPicker::Designation() const {
  const QListWidgetItem* item = m_list->currentItem();
  return item ? item->text() : QString();
}

void CSectionPicker::Select(const QString& designation) {
  const SteelSection* s = FindSection(designation.toStdString());
  if (!s) return;
  m_filter->clear();
  m_family->setCurrentIndex(m_family->findData(static_cast<int>(s->family)));
  Refill();
  const auto found = m_list->findItems(Q(s->designation), Qt::MatchExactly);
  if (!found.isEmpty()) m_list->setCurrentItem(found.front());
}

void CSectionPicker::Refill() {
  const auto family = static_cast<SectionFamily>(m_family->currentData().toInt());
  const QString key = SectionFilterKey(m_filter->text());
  const SteelSection* exact = FindSection(m_filter->text().toStdString());
  const QString kept = Designation();
  const QSignalBlocker quiet(m_list);
  m_list->clear();
  QListWidgetItem* pick = nullptr;
  for (const SteelSection& s : SectionsOf(family)) {
    const QString name = Q(s.designation);
    if (!key.isEmpty() && !name.contains(key, Qt::CaseInsensitive)) continue;
    auto* item = new QListWidgetItem(name, m_list);
    if (exact == &s || (!pick && name == kept)) pick = item;
  }
  if (!pick && m_list->count() > 0) pick = m_list->item(0);
  if (pick) m_list->setCurrentItem(pick);
  emit Changed();
}

CSectionDrawing::CSectionDrawing(QWidget* parent) : QWidget(parent) {
  setMinimumSize(160, 120);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CSectionDrawing::Show(RodForm form, const RodSectionChoice& choice) {
  m_form = form;
  m_choice = choice;
  update();
}

namespace {

// One profile placed in the section: the outline turned so that it faces
// inwards at side (sx, sy) (−1 left/bottom, +1 right/top, 0 centred), its
// outer edge on the side's line; mirrored when `outward` turns it about.
struct PlacedOutline {
  std::vector<std::vector<Point2>> rings;  // outer first, then the holes
};

PlacedOutline Place(const SectionOutline& outline, int sx, int sy, double halfW, double halfD, bool outward) {
  std::vector<std::vector<Point2>> rings = {outline.outer};
  rings.insert(rings.end(), outline.holes.begin(), outline.holes.end());
  const double mx = sx == 0 ? 1 : (outward ? sx : -sx);
  const double my = sy == 0 ? 1 : -sy;
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  for (auto& ring : rings)
    for (Point2& p : ring) {
      p.x *= mx, p.y *= my;
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  const double dx = sx < 0 ? -halfW - minX : sx > 0 ? halfW - maxX : -(minX + maxX) / 2;
  const double dy = sy < 0 ? -halfD - minY : sy > 0 ? halfD - maxY : -(minY + maxY) / 2;
  for (auto& ring : rings)
    for (Point2& p : ring) p.x += dx, p.y += dy;
  return {std::move(rings)};
}

}  // namespace

void CSectionDrawing::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), palette().base());
  const SteelSection* chord = FindSection(m_choice.profile);
  if (!chord) return;
  const SectionOutline outline = OutlineOf(*chord, 8);
  double ow = 0, od = 0;  // one profile's extent
  {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const Point2& q : outline.outer)
      minX = std::min(minX, q.x), maxX = std::max(maxX, q.x), minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
    ow = maxX - minX, od = maxY - minY;
  }
  // The profiles and the box over them, in mm about the section's centre.
  std::vector<PlacedOutline> placed;
  double W = 0, D = 0;
  const bool pair = m_form == RodForm::SolidWeb && m_choice.pair != PairLayout::Single;
  if (m_form == RodForm::SolidWeb && !pair) {
    W = ow, D = od;
    placed.push_back(Place(outline, 0, 0, 0, 0, false));
  } else if (IsFourLimb(m_form)) {
    W = m_choice.width, D = m_choice.depth > 0 ? m_choice.depth : m_choice.width;
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) placed.push_back(Place(outline, sx, sy, W / 2, D / 2, false));
  } else {
    // Two limbs side by side: a two-limb lattice, or a solid-web pair.
    W = m_choice.width > 0 ? m_choice.width : 2 * ow;
    D = od;
    const bool outward = pair ? m_choice.pair == PairLayout::BackToBack : m_choice.flanges == ChannelFlanges::Outward;
    for (int sx : {-1, 1}) placed.push_back(Place(outline, sx, 0, W / 2, D / 2, outward));
  }
  if (!(W > 0 && D > 0)) return;

  // To scale: the larger side fills the room left beside the dimension lines.
  const QRectF room = QRectF(rect()).adjusted(16, 12, -56, -40);
  const double scale = std::min(room.width() / W, room.height() / D);
  const QPointF centre = room.center();
  const auto at = [&](double x, double y) { return QPointF(centre.x() + x * scale, centre.y() - y * scale); };

  const QRectF box(at(-W / 2, D / 2), at(W / 2, -D / 2));
  if (IsLattice(m_form)) {
    p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    p.drawRect(box);
  }
  QPainterPath steel;
  steel.setFillRule(Qt::OddEvenFill);
  for (const PlacedOutline& o : placed)
    for (const auto& ring : o.rings) {
      QPolygonF poly;
      for (const Point2& q : ring) poly << at(q.x, q.y);
      steel.addPolygon(poly);
      steel.closeSubpath();
    }
  p.setPen(QPen(palette().color(QPalette::Text), 1));
  p.setBrush(QColor(120, 140, 170));
  p.drawPath(steel);

  // The outer sides, below and to the right.
  p.setPen(palette().color(QPalette::Text));
  p.setBrush(Qt::NoBrush);
  const double below = box.bottom() + 12, right = box.right() + 12;
  p.drawLine(QPointF(box.left(), below), QPointF(box.right(), below));
  p.drawLine(QPointF(right, box.top()), QPointF(right, box.bottom()));
  for (double x : {box.left(), box.right()}) p.drawLine(QPointF(x, below - 4), QPointF(x, below + 4));
  for (double y : {box.top(), box.bottom()}) p.drawLine(QPointF(right - 4, y), QPointF(right + 4, y));
  const QString width = QString::number(W, 'g', 6), depth = QString::number(D, 'g', 6);
  p.drawText(QRectF(box.left(), below + 2, box.width(), 20), Qt::AlignHCenter | Qt::AlignTop, width);
  p.drawText(QRectF(right + 6, box.top(), 50, box.height()), Qt::AlignLeft | Qt::AlignVCenter, depth);
}

const char* const CSectionDialog::kTitle = "截面";

CSectionDialog::CSectionDialog(const CRodCheckPage& page, const QString& formName, QWidget* parent)
    : QDialog(parent), m_form(page.Form()) {
  setWindowTitle(QString::fromUtf8(kTitle));
  m_L = EvaluateFieldText(page.GetText(CRodCheckPage::kL));
  const double pageLd = EvaluateFieldText(page.GetText(CRodCheckPage::kLd));

  // The page's own choice where it has one for this form; else a start.
  RodSectionChoice c;
  if (page.Section() && page.Section()->form == m_form) {
    c = page.Section()->choice;
  } else {
    c.profile = IsFourLimb(m_form) ? "∟63×6" : "[20a";
    c.pair = PairLayout::Box;
    c.width = IsFourLimb(m_form) ? 400 : IsTwoLimb(m_form) ? 300 : 0;
    c.depth = c.width;
    c.battenWidth = 200, c.battenThickness = 10, c.spacing = 600;
    c.lacing = "∟40×4";
  }

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("结构型式："), new QLabel(formName, this));
  form->addRow(QStringLiteral("杆长 L："), new QLabel(QString::number(m_L, 'g', 10) + QStringLiteral(" mm（取自页面）"), this));
  m_chord = new CSectionPicker(this);
  m_chord->setObjectName(QStringLiteral("chord"));
  m_chord->Select(Q(c.profile));
  form->addRow(QString::fromUtf8(IsLattice(m_form) ? "主肢：" : "型钢："), m_chord);
  if (m_form == RodForm::SolidWeb) {
    m_pair = new QComboBox(this);
    m_pair->addItems({QStringLiteral("单根"), QStringLiteral("双拼箱形"), QStringLiteral("背靠背")});
    m_pair->setCurrentIndex(static_cast<int>(c.pair));
    form->addRow(QStringLiteral("组合："), m_pair);
  }
  if (IsTwoLimb(m_form)) {
    m_flanges = new QComboBox(this);
    m_flanges->addItems({QStringLiteral("槽钢肢尖向内"), QStringLiteral("槽钢肢尖向外")});
    m_flanges->setCurrentIndex(static_cast<int>(c.flanges));
    form->addRow(QStringLiteral("槽钢朝向："), m_flanges);
  }
  m_width = LengthBox(c.width, this, m_form == RodForm::SolidWeb ? "紧贴" : nullptr);
  form->addRow(QString::fromUtf8(IsFourLimb(m_form) ? "外廓宽：" : "外宽："), m_width);
  if (IsFourLimb(m_form)) {
    m_depth = LengthBox(c.depth > 0 ? c.depth : c.width, this);
    form->addRow(QStringLiteral("外廓高："), m_depth);
  }
  if (IsLattice(m_form)) {
    m_variable = new QCheckBox(QStringLiteral("变截面（两端缩小）"), this);
    m_variable->setChecked(c.endWidth > 0);
    form->addRow(QString(), m_variable);
    m_endWidth = LengthBox(c.endWidth > 0 ? c.endWidth : c.width / 2, this);
    form->addRow(QStringLiteral("端部外宽："), m_endWidth);
    if (IsFourLimb(m_form)) {
      m_endDepth = LengthBox(c.endDepth > 0 ? c.endDepth : c.endWidth > 0 ? c.endWidth : c.width / 2, this);
      form->addRow(QStringLiteral("端部外高："), m_endDepth);
    }
    // The large middle part: the choice's, else the page's where it is
    // shorter than the rod, else half the rod.
    const double Ld = c.Ld > 0 && c.Ld < m_L ? c.Ld : pageLd > 0 && pageLd < m_L ? pageLd : m_L / 2;
    m_Ld = LengthBox(Ld, this);
    form->addRow(QStringLiteral("大截面长度 Ld："), m_Ld);
  }
  if (IsBattened(m_form)) {
    m_battenWidth = LengthBox(c.battenWidth, this);
    m_battenThickness = LengthBox(c.battenThickness, this);
    auto* row = new QHBoxLayout;
    row->addWidget(m_battenWidth);
    row->addWidget(new QLabel(QStringLiteral("×"), this));
    row->addWidget(m_battenThickness);
    form->addRow(QStringLiteral("缀板 宽×厚："), row);
  }
  if (IsLaced(m_form)) {
    m_lacing = new CSectionPicker(this);
    m_lacing->setObjectName(QStringLiteral("lacing"));
    m_lacing->Select(Q(c.lacing.empty() ? std::string("∟40×4") : c.lacing));
    form->addRow(QStringLiteral("缀条："), m_lacing);
    m_angle = new QDoubleSpinBox(this);
    m_angle->setRange(0, 89);
    m_angle->setDecimals(1);
    m_angle->setSuffix(QStringLiteral("°"));
    m_angle->setSpecialValueText(QStringLiteral("按跨距"));
    m_angle->setValue(c.lacingAngle);
    form->addRow(QStringLiteral("缀条与杆轴夹角："), m_angle);
  }
  if (IsLattice(m_form)) {
    m_spacing = LengthBox(c.spacing, this);
    form->addRow(QStringLiteral("缀件跨距 L1："), m_spacing);
  }

  m_drawing = new CSectionDrawing(this);
  m_derivations = new QListWidget(this);
  m_derivations->setMinimumHeight(60);
  m_derivations->setSelectionMode(QAbstractItemView::NoSelection);
  m_derivations->setWordWrap(true);
  m_error = new QLabel(this);
  m_error->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0)"));
  m_error->setWordWrap(true);
  m_buttons = OkCancelButtons(this);

  auto* right = new QVBoxLayout;
  right->addWidget(m_drawing, 2);
  right->addWidget(new QLabel(QStringLiteral("由截面得出的输入："), this));
  right->addWidget(m_derivations, 3);
  right->addWidget(m_error);
  // The settings scroll where the screen is too small for them all.
  auto* settings = new QWidget;
  settings->setLayout(form);
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(settings);
  auto* columns = new QHBoxLayout;
  columns->addWidget(scroll, 1);
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(m_buttons);

  // Every change rebuilds the section.
  for (CSectionPicker* picker : {m_chord, m_lacing})
    if (picker) connect(picker, &CSectionPicker::Changed, this, &CSectionDialog::Recompute);
  for (QComboBox* list : {m_pair, m_flanges})
    if (list) connect(list, &QComboBox::currentIndexChanged, this, &CSectionDialog::Recompute);
  for (QDoubleSpinBox* box : {m_width, m_depth, m_endWidth, m_endDepth, m_Ld, m_battenWidth, m_battenThickness,
                              m_angle, m_spacing})
    if (box) connect(box, &QDoubleSpinBox::valueChanged, this, &CSectionDialog::Recompute);
  if (m_variable) connect(m_variable, &QCheckBox::toggled, this, &CSectionDialog::Recompute);
  Recompute();
  // As large as the settings need without scrolling, over the window that
  // opened it, on its screen and shrunk to it.
  const QSize wanted(settings->sizeHint().width() * 2 + 48,
                     settings->sizeHint().height() + m_buttons->sizeHint().height() + 40);
  PlaceOnShow(*this, [this, wanted](const QMargins& frame, const QRect& available) {
    const QPoint centre = parentWidget() ? parentWidget()->window()->geometry().center() : available.center();
    return CentredOn(wanted.expandedTo(sizeHint()).boundedTo(available.size().shrunkBy(frame)), frame, centre);
  });
}

QPushButton* CSectionDialog::OkButton() const { return m_buttons->button(QDialogButtonBox::Ok); }

RodSectionChoice CSectionDialog::Choice() const {
  RodSectionChoice c;
  const auto value = [](const QDoubleSpinBox* box) { return box ? box->value() : 0.0; };
  c.profile = m_chord->Designation().toStdString();
  if (m_pair) c.pair = static_cast<PairLayout>(m_pair->currentIndex());
  if (m_flanges) c.flanges = static_cast<ChannelFlanges>(m_flanges->currentIndex());
  c.width = value(m_width);
  c.depth = value(m_depth);
  c.L = m_L;
  if (m_variable) {
    const bool variable = m_variable->isChecked();
    c.endWidth = variable ? value(m_endWidth) : 0;
    c.endDepth = variable ? value(m_endDepth) : 0;
    c.Ld = variable ? value(m_Ld) : m_L;
  }
  c.battenWidth = value(m_battenWidth);
  c.battenThickness = value(m_battenThickness);
  if (m_lacing) c.lacing = m_lacing->Designation().toStdString();
  c.lacingAngle = value(m_angle);
  c.spacing = value(m_spacing);
  return c;
}

void CSectionDialog::Recompute() {
  for (QDoubleSpinBox* box : {m_endWidth, m_endDepth, m_Ld})
    if (box) box->setEnabled(m_variable->isChecked());
  if (m_spacing && m_angle) m_spacing->setEnabled(m_angle->value() == 0);
  const RodSectionChoice choice = Choice();
  m_built = Build(m_form, choice);
  m_derivations->clear();
  for (const InputDerivation& d : m_built.derivations) m_derivations->addItem(Q(d.text));
  for (const std::string& note : m_built.notes) m_derivations->addItem(QStringLiteral("注：") + Q(note));
  const bool built = m_built.error.empty();
  m_error->setText(built ? QString() : QStringLiteral("无法建立截面：") + Q(m_built.error));
  m_error->setVisible(!built);
  OkButton()->setEnabled(built);
  m_drawing->Show(m_form, choice);
}

}  // namespace tiecalc
