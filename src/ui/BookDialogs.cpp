#include "ui/BookDialogs.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "core/input/FieldText.h"
#include "core/sections/RodSection.h"
#include "pages/RodCheckPage.h"
#include "ui/DialogParts.h"
#include "ui/MainDlg.h"

namespace tiecalc {

namespace {

std::string S(const QString& s) { return s.trimmed().toStdString(); }

const std::string* InputText(const CasePage& page, const char* name) {
  for (const CaseInput& in : page.inputs)
    if (in.name == name) return &in.text;
  return nullptr;
}

}  // namespace

// --- 工程信息 ------------------------------------------------------------------

const char* const CProjectDialog::kTitle = "工程信息";

CProjectDialog::CProjectDialog(const CaseProject& project, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kTitle));
  auto* form = new QFormLayout;
  for (const ProjectField& f : kProjectFields) {
    auto* edit = new QLineEdit(Q(project.*f.text), this);
    edit->setMaxLength(static_cast<int>(kCaseMaxTextLength));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("某某市某某区某某住宅楼工程")));
    form->addRow(QString::fromUtf8(f.label), edit);
    m_fields.push_back(edit);
  }
  if (QLineEdit* date = Field("date"); date->text().isEmpty())
    date->setText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("计算书封面上的工程信息："), this));
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));
}

QLineEdit* CProjectDialog::Field(const char* key) const {
  for (size_t i = 0; i < std::size(kProjectFields); ++i)
    if (std::string_view(kProjectFields[i].key) == key) return m_fields[i];
  return nullptr;
}

CaseProject CProjectDialog::Project() const {
  CaseProject project;
  for (size_t i = 0; i < std::size(kProjectFields); ++i) project.*kProjectFields[i].text = S(m_fields[i]->text());
  return project;
}

// --- 荷载工况 ------------------------------------------------------------------

const char* const CLoadCaseDialog::kTitle = "荷载工况";
const char* const CLoadCaseDialog::kOwnCases = "本道次使用单独的工况";
const char* const CLoadCaseDialog::kNoCaseHint =
    "没有工况时，计算书按力分析页上的 R、M 计算。R、M 与页面输入框一样可填算式。";

CLoadCaseDialog::CLoadCaseDialog(const CaseBook& book, QWidget* parent) : QDialog(parent), m_book(book) {
  setWindowTitle(QString::fromUtf8(kTitle));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(QString::fromUtf8(kNoCaseHint), this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  const CaseLevel* level = m_book.levels.empty() ? nullptr : &m_book.Shown();
  if (level) {
    // A level without cases of its own uses the book's.
    m_own = new QCheckBox(QString::fromUtf8("%1（附着道次“%2”）").arg(QString::fromUtf8(kOwnCases), Q(level->name)),
                          this);
    m_own->setChecked(!level->cases.empty());
    m_own->setToolTip(QStringLiteral("不勾选时，本道次使用各道次共用的工况"));
    layout->addWidget(m_own);
  }
  m_table = new QTableWidget(0, 3, this);
  m_table->setHorizontalHeaderLabels({QStringLiteral("名称"), QStringLiteral("R (kN)"), QStringLiteral("M (kN·m)")});
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_table->verticalHeader()->setVisible(false);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setMinimumWidth(m_table->fontMetrics().horizontalAdvance(QStringLiteral("非工作状态")) * 5);
  Fill(level && !level->cases.empty() ? level->cases : m_book.cases);
  auto* row = new QHBoxLayout;
  row->addWidget(m_table, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(CommandButton("添加", this, [this] { AddCase(); }));
  side->addWidget(CommandButton("删除", this, [this] { DeleteCase(); }));
  side->addWidget(CommandButton("上移", this, [this] { MoveCase(-1); }));
  side->addWidget(CommandButton("下移", this, [this] { MoveCase(1); }));
  side->addStretch();
  row->addLayout(side);
  layout->addLayout(row);
  layout->addWidget(OkCancelButtons(this));
  if (m_own) connect(m_own, &QCheckBox::toggled, this, &CLoadCaseDialog::OnOwnCases);
}

void CLoadCaseDialog::Fill(const std::vector<CaseLoadCase>& cases) {
  m_table->setRowCount(0);
  for (const CaseLoadCase& c : cases) {
    const int r = m_table->rowCount();
    m_table->insertRow(r);
    m_table->setItem(r, kName, new QTableWidgetItem(Q(c.name)));
    m_table->setItem(r, kR, new QTableWidgetItem(Q(c.R)));
    m_table->setItem(r, kM, new QTableWidgetItem(Q(c.M)));
  }
}

std::vector<CaseLoadCase> CLoadCaseDialog::TableCases() const {
  std::vector<CaseLoadCase> cases;
  const auto text = [this](int r, int c) { return m_table->item(r, c) ? S(m_table->item(r, c)->text()) : std::string(); };
  for (int r = 0; r < m_table->rowCount(); ++r) cases.push_back({text(r, kName), text(r, kR), text(r, kM)});
  return cases;
}

void CLoadCaseDialog::OnOwnCases(bool own) {
  // Ticked: the level's cases start as a copy of the shared ones.
  // Unticked: the table holds the shared cases again.
  // m_book.cases keep the shared ones meanwhile.
  if (!own) {
    Fill(m_book.cases);
  } else {
    m_book.cases = TableCases();
  }
}

void CLoadCaseDialog::AddCase() {
  // The two states of a crane first, then numbered cases.
  std::set<QString> taken;
  for (const CaseLoadCase& c : TableCases()) taken.insert(Q(c.name));
  QString name;
  for (const char* candidate : {"工作状态", "非工作状态"})
    if (name.isEmpty() && !taken.count(QString::fromUtf8(candidate))) name = QString::fromUtf8(candidate);
  for (int n = 1; name.isEmpty(); ++n)
    if (!taken.count(QStringLiteral("工况%1").arg(n))) name = QStringLiteral("工况%1").arg(n);
  const int r = m_table->rowCount();
  m_table->insertRow(r);
  m_table->setItem(r, kName, new QTableWidgetItem(name));
  m_table->setItem(r, kR, new QTableWidgetItem(QStringLiteral("0")));
  m_table->setItem(r, kM, new QTableWidgetItem(QStringLiteral("0")));
  m_table->setCurrentCell(r, kR);
}

void CLoadCaseDialog::DeleteCase() {
  const int r = m_table->currentRow();
  if (r >= 0) m_table->removeRow(r);
}

void CLoadCaseDialog::MoveCase(int step) {
  const int r = m_table->currentRow(), to = r + step;
  if (r < 0 || to < 0 || to >= m_table->rowCount()) return;
  for (int c = 0; c < m_table->columnCount(); ++c) {
    QTableWidgetItem* a = m_table->takeItem(r, c);
    m_table->setItem(r, c, m_table->takeItem(to, c));
    m_table->setItem(to, c, a);
  }
  m_table->setCurrentCell(to, m_table->currentColumn());
}

QString CLoadCaseDialog::Refusal() const {
  const std::vector<CaseLoadCase> cases = TableCases();
  for (size_t i = 0; i < cases.size(); ++i) {
    const CaseLoadCase& c = cases[i];
    const QString row = QString::fromUtf8("第 %1 行").arg(i + 1);
    if (c.name.empty()) return row + QString::fromUtf8("的工况名称为空，请填写名称。");
    for (size_t k = 0; k < i; ++k)
      if (cases[k].name == c.name)
        return QString::fromUtf8("工况名称“%1”重复（第 %2、%3 行），每个工况的名称应不同。").arg(Q(c.name)).arg(k + 1).arg(i + 1);
    for (const auto& [what, text] : {std::pair{"R", &c.R}, {"M", &c.M}}) {
      if (text->empty()) return QString::fromUtf8("工况“%1”的 %2 为空。").arg(Q(c.name), QString::fromUtf8(what));
      const FieldCheck check = CheckFieldText(*text);
      if (check.reading != FieldReading::Clean || !std::isfinite(check.value))
        return QString::fromUtf8("工况“%1”的 %2 “%3”：%4")
            .arg(Q(c.name), QString::fromUtf8(what), Q(*text),
                 check.reason.empty() ? QStringLiteral("算式的值溢出或无定义") : Q(check.reason));
    }
    for (const std::string* text : {&c.name, &c.R, &c.M})
      if (Q(*text).size() > static_cast<qsizetype>(kCaseMaxTextLength))
        return QString::fromUtf8("工况“%1”的文字超过 %2 个字符。").arg(Q(c.name)).arg(kCaseMaxTextLength);
  }
  return {};
}

void CLoadCaseDialog::accept() {
  if (const QString why = Refusal(); !why.isEmpty()) {
    QMessageBox::warning(this, QString::fromUtf8(kTitle), why);
    return;
  }
  QDialog::accept();
}

CaseBook CLoadCaseDialog::Book() const {
  CaseBook book = m_book;
  if (m_own && m_own->isChecked()) {
    book.Shown().cases = TableCases();
  } else {
    book.cases = TableCases();
    if (m_own) book.Shown().cases.clear();
  }
  return book;
}

// --- 杆件截面 ------------------------------------------------------------------

const char* const CRodSectionsDialog::kTitle = "杆件截面";
const char* const CRodSectionsDialog::kPageOwn = "校核页截面";
const char* const CRodSectionsDialog::kTakePage = "将校核页当前截面用于所选杆";
const char* const CRodSectionsDialog::kBackToPage = "恢复为校核页截面";

namespace {

// A rod's section in a line: the section's designation where it was picked
// from the library, else the form and A; the page's when none is set.
QString RodSectionText(const CaseRodSection* section) {
  if (!section) return QString::fromUtf8(CRodSectionsDialog::kPageOwn);
  const CasePage& page = section->page;
  if (page.section)
    return Q(DescribeSection(page.section->form, page.section->choice)) +
           (page.section->editedByHand ? QStringLiteral("（已手动修改）") : QString());
  QString text;
  if (const std::string* form = InputText(page, "form")) {
    const int index = std::atoi(form->c_str());
    if (index >= 0 && index <= static_cast<int>(RodForm::FourLimbLaced))
      text = Q(CRodCheckPage::FormName(static_cast<RodForm>(index)));
  }
  if (const std::string* a = InputText(page, "A"))
    text += (text.isEmpty() ? QString() : QStringLiteral("，")) + QStringLiteral("A=") + Q(*a) + QStringLiteral(" mm²");
  return text;
}

}  // namespace

CRodSectionsDialog::CRodSectionsDialog(const CaseBook& book, const CRodCheckPage& rodCheck, QWidget* parent)
    : QDialog(parent), m_book(book), m_rodCheck(rodCheck) {
  setWindowTitle(QString::fromUtf8(kTitle));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(QStringLiteral("计算书中各杆按此处的截面校核；未单独设定的杆用附着杆校核页上的截面。"
                                         "先在校核页上设好截面，再选杆（可多选）按下面的按钮。三杆附着只用杆1～3。"),
                          this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  m_table = new QTableWidget(kRods, 2, this);
  m_table->setHorizontalHeaderLabels({QStringLiteral("杆件"), QStringLiteral("截面")});
  m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  m_table->verticalHeader()->setVisible(false);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_table->setMinimumWidth(m_table->fontMetrics().horizontalAdvance(QStringLiteral("杆件 4∟63×6，外廓400×400，缀条∟40×4（已手动修改）")) + 40);
  Fill();
  layout->addWidget(m_table);
  auto* row = new QHBoxLayout;
  row->addWidget(CommandButton(kTakePage, this, [this] { TakePageSection(); }));
  row->addWidget(CommandButton(kBackToPage, this, [this] { BackToPageSection(); }));
  row->addStretch();
  layout->addLayout(row);
  layout->addWidget(OkCancelButtons(this));
}

void CRodSectionsDialog::Fill() {
  for (int r = 0; r < kRods; ++r) {
    m_table->setItem(r, 0, new QTableWidgetItem(QStringLiteral("杆%1").arg(r + 1)));
    const QString text = RodSectionText(m_book.SectionOf(r + 1));
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    m_table->setItem(r, 1, item);
  }
}

std::vector<int> CRodSectionsDialog::SelectedRods() const {
  std::vector<int> rods;
  for (const QModelIndex& i : m_table->selectionModel()->selectedRows()) rods.push_back(i.row() + 1);
  std::sort(rods.begin(), rods.end());
  return rods;
}

void CRodSectionsDialog::TakePageSection() {
  m_book.SetSection(SelectedRods(), CapturePage(kRodCheckCaseName, m_rodCheck));
  Fill();
}

void CRodSectionsDialog::BackToPageSection() {
  m_book.ClearSections(SelectedRods());
  Fill();
}

// --- 附着道次 ------------------------------------------------------------------

CLevelDialog::CLevelDialog(const QString& title, const QString& name, const QString& height, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  m_name = new QLineEdit(name, this);
  m_name->setMaxLength(static_cast<int>(kCaseMaxTextLength));
  m_height = new QLineEdit(height, this);
  m_height->setMaxLength(static_cast<int>(kCaseMaxTextLength));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("名称"), m_name);
  form->addRow(QStringLiteral("标高 (m)"), m_height);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));
  m_name->selectAll();
}

QString CLevelDialog::Name() const { return m_name->text().trimmed(); }
QString CLevelDialog::Height() const { return m_height->text().trimmed(); }

}  // namespace tiecalc
