#include "pages/Page.h"

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
