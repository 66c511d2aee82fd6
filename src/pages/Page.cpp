#include "pages/Page.h"

#include <algorithm>
#include <cstring>

#include "core/input/FieldText.h"
#include "core/input/Format.h"

namespace tiecalc {

CPage::CPage(DialogTemplate tmpl, int statusId, std::vector<NamedControl> names)
    : CDialog(std::move(tmpl)), m_statusId(statusId), m_names(std::move(names)) {}

double CPage::ReadFieldValue(std::string text) { return EvaluateFieldText(std::move(text)); }

double CPage::Round2(double v) { return tiecalc::Round2(v); }

std::string CPage::Format2(double v) { return tiecalc::Format2(v); }

int CPage::IdOf(const std::string& name) const {
  for (const NamedControl& n : m_names)
    if (n.name == name) return n.id;
  return 0;
}

std::vector<std::string> CPage::InvalidReasons() const {
  std::vector<std::string> reasons;
  for (const BrokenRule& rule : BrokenRules())
    if (std::find(reasons.begin(), reasons.end(), rule.Reason()) == reasons.end()) reasons.push_back(rule.Reason());
  return reasons;
}

std::vector<std::pair<int, FieldCheck>> CPage::UnreadableInputs() const {
  std::vector<std::pair<int, FieldCheck>> found;
  for (const NamedControl& n : m_names) {
    if (!n.input || KindOf(n.id) != ControlKind::Edit || IsReadOnly(n.id)) continue;
    FieldCheck check = CheckFieldText(GetText(n.id));
    if (check.reading != FieldReading::Clean) found.emplace_back(n.id, std::move(check));
  }
  return found;
}

std::vector<ControlNote> CPage::Notes() const {
  std::vector<ControlNote> notes;
  for (const auto& [id, check] : UnreadableInputs()) notes.push_back({id, ControlNote::kUnreadable, check.reason});
  if (ShowsInvalidInputs())
    for (const BrokenRule& rule : BrokenRules())
      for (const std::string& field : rule.fields)
        if (const int id = IdOf(field)) notes.push_back({id, ControlNote::kBreaksRule, rule.Reason()});
  return notes;
}

std::vector<int> CPage::StaleControls() const {
  std::vector<int> ids;
  if (!ShowsInvalidInputs()) return ids;
  for (const NamedControl& n : m_names)
    if (!n.input && n.id != m_statusId) ids.push_back(n.id);
  return ids;
}

bool CPage::ShowsWrittenText(int id) const {
  const std::vector<int> stale = StaleControls();
  return std::find(stale.begin(), stale.end(), id) != stale.end();
}

namespace {

// The unit a tooltip gives: "单位(mm)", "(KN)", "单位MPa"; empty for none.
std::string UnitOf(const std::string& tip) {
  if (!tip.empty() && tip.back() == ')') {
    const size_t open = tip.rfind('(');
    if (open != std::string::npos) return tip.substr(open + 1, tip.size() - open - 2);
  }
  const size_t at = tip.rfind("单位");
  return at == std::string::npos ? std::string() : tip.substr(at + std::string("单位").size());
}

std::string WithoutColon(std::string s) {
  for (const char* end : {":", "：", " "})
    while (s.size() >= std::strlen(end) && s.compare(s.size() - std::strlen(end), std::string::npos, end) == 0)
      s.erase(s.size() - std::strlen(end));
  std::erase(s, '\r');
  std::erase(s, '\n');
  return s;
}

}  // namespace

std::vector<SummaryRow> CPage::Summary() const {
  const std::vector<ControlTemplate>& controls = Template().controls;
  // A control's label: the text placed before it in the template.
  auto labelOf = [&](const NamedControl& n) {
    for (size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].id != n.id) continue;
      if (controls[i].kind == ControlKind::CheckBox) return controls[i].caption;
      if (i > 0 && (controls[i - 1].kind == ControlKind::Static || controls[i - 1].kind == ControlKind::GroupBox))
        return WithoutColon(controls[i - 1].caption);
    }
    return n.name;
  };
  std::vector<SummaryRow> rows;
  for (const NamedControl& n : m_names) {
    std::string label = labelOf(n);
    const std::optional<std::string> tip = TooltipText(n.id);
    if (const std::string unit = UnitOf(tip.value_or("")); !unit.empty()) label += "(" + unit + ")";
    if (KindOf(n.id) == ControlKind::CheckBox) {
      rows.push_back({label, GetCheck(n.id) ? "是" : "否"});
      continue;
    }
    // A text of several lines: one row each, the label on the first.
    std::string text = GetText(n.id);
    std::erase(text, '\r');
    size_t start = 0;
    do {
      const size_t end = std::min(text.find('\n', start), text.size());
      rows.push_back({start == 0 ? label : std::string(), text.substr(start, end - start)});
      start = end + 1;
    } while (start < text.size());
  }
  if (IdOf("message") != m_statusId) rows.push_back({"状态", Status()});
  return rows;
}

void CPage::KeepCleanResults() {
  if (ShowsInvalidInputs()) {
    const std::vector<int> stale = StaleControls();
    for (const auto& [id, text] : m_cleanResults)
      if (std::find(stale.begin(), stale.end(), id) != stale.end() && GetText(id) != text) SetText(id, text);
    return;
  }
  if (!UnreadableInputs().empty()) return;
  m_cleanResults.clear();
  for (const NamedControl& n : m_names)
    if (n.id != m_statusId && (!n.input || IsReadOnly(n.id))) m_cleanResults.push_back({n.id, GetText(n.id)});
}

void CPage::BindInput(int id, double& member) {
  OnChange(id, [this, id, &member] {
    member = ReadFieldValue(GetText(id));
    Recalculate();
  });
}

void CPage::ShowBound(int id, double value) { SetText(id, FormatBound(value)); }

void CPage::SetTexts(const std::vector<std::pair<int, std::string>>& texts) {
  for (const auto& [id, text] : texts) SetText(id, text);
}

}  // namespace tiecalc
